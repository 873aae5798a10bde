// Text-line files: the reader and writer, lines, and blocks of lines with their count.
#include "cadlib/text_lines.h"

#include "host/sys/file_read.h"
#include "host/sys/number_text.h"

namespace {

constexpr std::string_view kBlockSeparator = "\r\n";

// The room N gives for characters: N - 1, none below 2.
std::size_t charactersFor(int N) { return N < 2 ? 0 : static_cast<std::size_t>(N) - 1; }

bool isLineEnd(char c) { return c == '\r' || c == '\n'; }

// The length of the UTF-8 character that starts with byte `lead` (1 for a byte that starts none: the text is
// valid UTF-8, so that does not happen).
std::size_t utf8Length(unsigned char lead) {
    if (lead >= 0xF0) return 4;
    if (lead >= 0xE0) return 3;
    if (lead >= 0xC0) return 2;
    return 1;
}

// Windows text mode: CR LF read as LF.
std::string textModeLineEnds(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        out.push_back(text[i]);
    }
    return out;
}

}  // namespace

bool TextLineReader::open(const std::filesystem::path& path, std::string* error) {
    open_ = false;
    path_ = path;
    host::sys::FileBytes content = host::sys::readFileBytes(path, host::sys::kMaxTextFileBytes);
    if (content.status != host::sys::FileReadStatus::Read) {
        if (error) *error = content.status == host::sys::FileReadStatus::Missing
                                ? "cannot read " + path.string() + ": no such file"
                                : content.error;
        return false;
    }
    if (content.bytes.find('\0') != std::string::npos) {
        if (error) *error = "cannot read " + path.string() + ": it holds a NUL byte, so it is no text file";
        return false;
    }
    text_ = textModeLineEnds(host::sys::decodeText(content.bytes, &encoding_));
    position_ = 0;
    open_ = true;
    return true;
}

std::optional<std::string> TextLineReader::readPiece(std::size_t maxCharacters) {
    if (!open_ || maxCharacters == 0 || position_ >= text_.size()) return std::nullopt;
    const std::size_t start = position_;
    std::size_t characters = 0;
    while (position_ < text_.size() && characters < maxCharacters) {
        const char c = text_[position_];
        position_ += utf8Length(static_cast<unsigned char>(c));
        ++characters;
        if (c == '\n') break;
    }
    if (position_ > text_.size()) position_ = text_.size();
    return text_.substr(start, position_ - start);
}

bool TextLineWriter::open(std::string* error) { return file_.open(error); }

void TextLineWriter::write(std::string_view text) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\n') continue;
        file_.write(text.substr(start, i - start));
        file_.write("\r\n");
        start = i + 1;
    }
    file_.write(text.substr(start));
}

bool TextLineWriter::commit(std::string* error) { return file_.commit(error); }

void WriteTextLine(std::string_view text, TextLineWriter& file) {
    file.write(text);
    file.write("\n");
}

int ReadTextLine(std::string& text, TextLineReader& file, int N) {
    std::optional<std::string> piece = file.readPiece(charactersFor(N));
    if (!piece) return 0;
    std::string& line = *piece;
    const std::size_t length = line.size();
    if (length >= 1 && isLineEnd(line[length - 1])) line.resize(length - 1);
    if (length >= 2 && isLineEnd(line[length - 2])) line.resize(length - 2);
    text = std::move(line);
    return 1;
}

int WriteTextBlock(std::string_view text, TextLineWriter& file) {
    std::string joined;
    int count = 1;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.substr(i, kBlockSeparator.size()) == kBlockSeparator) {
            joined.push_back('\n');
            ++count;
            ++i;
        } else if (text[i] == '\n') {
            joined.push_back('\n');
            ++count;
        } else {
            joined.push_back(text[i]);
        }
    }
    file.write(std::to_string(count) + "\n" + joined + "\n");
    return count;
}

int ReadTextBlock(std::string& text, TextLineReader& file, int N) {
    const std::size_t room = charactersFor(N);
    const std::optional<std::string> countLine = file.readPiece(room);
    const std::int64_t declared = countLine ? host::sys::parseLeadingInteger(*countLine).value : 0;
    text.clear();
    int read = 0;
    for (std::int64_t i = 0; i < declared; ++i) {
        std::optional<std::string> piece = file.readPiece(room);
        if (!piece) break;
        if (!piece->empty() && isLineEnd(piece->back())) piece->pop_back();
        if (i > 0) text += kBlockSeparator;
        text += *piece;
        ++read;
    }
    return read;
}
