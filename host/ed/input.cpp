// Input sources: script files and texts, the terminal, and the one source of the run.
#include "host/ed/input.h"

#include <unistd.h>

#include <iostream>

#include "host/ed/command_frames.h"
#include "host/sys/encoding.h"
#include "host/sys/file_read.h"
#include "host/sys/text_case.h"

namespace host::ed {
namespace {

// The terminal keeps this many lines of history; older ones are dropped.
constexpr std::size_t kMaxHistory = 1000;
constexpr std::string_view kCommentStart = ";;";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

std::unique_ptr<InputSource>& currentInput() {
    static std::unique_ptr<InputSource> source = ScriptInput::fromLines({}, "<no input>");
    return source;
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

}  // namespace

bool isCancelToken(std::string_view line) {
    const std::string_view t = trimmed(line);
    return t == kCancelToken || sys::equalsNoCase(t, kCancelTokenAlt) || sys::equalsNoCase(t, "^c") || t == "\x1b";
}

std::optional<std::string_view> optionalAnswer(std::string_view line) {
    constexpr std::string_view kWord = "optional";
    const std::string_view t = trimmed(line);
    if (t.size() <= kWord.size() || !sys::equalsNoCase(t.substr(0, kWord.size()), kWord)) return std::nullopt;
    if (t[kWord.size()] != ' ' && t[kWord.size()] != '\t') return std::nullopt;
    return trimmed(t.substr(kWord.size()));
}

bool isOptionalBoxAnswer(std::string_view line) {
    const auto answer = optionalAnswer(line);
    if (!answer) return false;
    constexpr std::string_view kBox = "msgbox";
    return answer->size() > kBox.size() && sys::equalsNoCase(answer->substr(0, kBox.size()), kBox) &&
           ((*answer)[kBox.size()] == ' ' || (*answer)[kBox.size()] == '\t');
}

InputSource& input() {
    return *currentInput();
}

void setInput(std::unique_ptr<InputSource> source) {
    currentInput() = source ? std::move(source) : ScriptInput::fromLines({}, "<no input>");
    // A new source has not ended, and nothing typed for the old one answers it.
    detail::inputEnd() = {};
    detail::scriptStop().clear();
    detail::pendingWords().clear();
}

// ---- ScriptInput

std::unique_ptr<ScriptInput> ScriptInput::fromFile(const std::string& path, std::string* error) {
    const sys::FileBytes file = sys::readFileBytes(path, kMaxScriptBytes);
    auto fail = [&](std::string why) -> std::unique_ptr<ScriptInput> {
        if (error) *error = std::move(why);
        return nullptr;
    };
    if (file.status == sys::FileReadStatus::Missing) return fail("cannot read " + path + ": no such file");
    if (file.status != sys::FileReadStatus::Read) return fail(file.error);

    std::string_view bytes = file.bytes;
    if (bytes.starts_with(kUtf8Bom)) bytes.remove_prefix(kUtf8Bom.size());
    // A script typed in a Cyrillic Windows editor may be CP1251; everything in memory is UTF-8.
    const std::string text = sys::isValidUtf8(bytes) ? std::string(bytes) : sys::cp1251ToUtf8(bytes);

    auto script = std::unique_ptr<ScriptInput>(new ScriptInput);
    script->name_ = path;
    std::size_t number = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string_view line(text.data() + start, end - start);
        ++number;
        if (line.ends_with('\r')) line.remove_suffix(1);
        if (line.find('\0') != std::string_view::npos)
            return fail(path + ", line " + std::to_string(number) + ": a NUL byte: this is not a script (text)");
        if (!line.starts_with(kCommentStart)) script->lines_.push_back({std::string(line), number});
        start = end + 1;
    }
    return script;
}

std::unique_ptr<ScriptInput> ScriptInput::fromLines(std::vector<std::string> lines, std::string name) {
    auto script = std::unique_ptr<ScriptInput>(new ScriptInput);
    script->name_ = std::move(name);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!lines[i].starts_with(kCommentStart)) script->lines_.push_back({std::move(lines[i]), i + 1});
    }
    return script;
}

std::optional<std::string> ScriptInput::readLine(std::string_view) {
    if (next_ >= lines_.size()) return std::nullopt;
    lastLine_ = lines_[next_].number;
    return lines_[next_++].text;
}

std::optional<std::string> ScriptInput::takeTypedKey() {
    if (next_ >= lines_.size() || !isTypedKeyLine(lines_[next_].text)) return std::nullopt;
    return readLine({});
}

std::string ScriptInput::position() const {
    if (lastLine_ == 0) return name_ + ", before its first line";
    return name_ + ", line " + std::to_string(lastLine_);
}

std::size_t ScriptInput::remaining() const {
    return lines_.size() - next_;
}

// ---- TerminalInput

TerminalInput::TerminalInput(std::istream& in, bool showsTyping) : in_(in), showsTyping_(showsTyping) {}

std::unique_ptr<TerminalInput> TerminalInput::standardInput() {
    return std::make_unique<TerminalInput>(std::cin, ::isatty(STDIN_FILENO) == 1);
}

std::optional<std::string> TerminalInput::takeTypedKey() {
    if (typedAhead_) return std::nullopt;
    std::streambuf* buffer = in_.rdbuf();
    if (!buffer || buffer->in_avail() <= 0) return std::nullopt;
    std::optional<std::string> line = readLine({});
    if (line && isTypedKeyLine(*line)) return line;
    typedAhead_ = std::move(line);
    return std::nullopt;
}

std::optional<std::string> TerminalInput::readLine(std::string_view) {
    if (typedAhead_) {
        std::optional<std::string> line = std::move(typedAhead_);
        typedAhead_.reset();
        return line;
    }
    std::string line;
    if (!std::getline(in_, line)) {
        if (line.empty()) return std::nullopt;  // end of input; a last line without its Enter still counts
    }
    if (line.ends_with('\r')) line.pop_back();
    if (!sys::isValidUtf8(line)) line = sys::repairUtf8(line);
    if (history_.size() == kMaxHistory) history_.erase(history_.begin());
    history_.push_back(line);
    ++linesRead_;
    return line;
}

std::string TerminalInput::position() const {
    return "standard input, line " + std::to_string(linesRead_);
}

bool isTypedKeyLine(std::string_view line) {
    const std::string_view t = trimmed(line);
    return t == "+" || t == "-" || isCancelToken(t);
}

}  // namespace host::ed
