// The groups of an ASCII DXF text: pairs of lines (code, value), each value checked against its code's kind.
#include "host/dxf/dxf_tokenizer.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "host/dxf/dxf_limits.h"
#include "host/dxf/dxf_numbers.h"

namespace host::dxf {

namespace {

constexpr std::string_view kBinarySentinel = "AutoCAD Binary DXF";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kNulInFile = "NUL byte in the file (is it a binary file?)";

// A value quoted in a message: short, and without bytes that would garble a terminal.
std::string quoted(std::string_view v) {
    constexpr std::size_t kMaxShown = 40;
    std::string out = "'";
    for (std::size_t i = 0; i < v.size() && i < kMaxShown; ++i) {
        const unsigned char c = static_cast<unsigned char>(v[i]);
        out.push_back(c < 0x20 || c == 0x7F ? '?' : char(c));
    }
    if (v.size() > kMaxShown) out += "...";
    out += "'";
    return out;
}

bool isHexText(std::string_view v) {
    for (char c : v)
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'))) return false;
    return true;
}

std::string kindName(GroupKind k) {
    switch (k) {
    case GroupKind::Real: return "a real number";
    case GroupKind::Int16: return "a 16-bit integer";
    case GroupKind::Int32: return "a 32-bit integer";
    case GroupKind::Int64: return "a 64-bit integer";
    case GroupKind::Bool: return "a 16-bit integer (0 or 1)";
    case GroupKind::Handle: return "a handle (1-16 hexadecimal digits)";
    case GroupKind::Binary: return "binary data (pairs of hexadecimal digits)";
    case GroupKind::String: break;
    }
    return "text";
}

}  // namespace

Tokenizer::Tokenizer(std::string_view text, std::string source) : text_(text), source_(std::move(source)) {
    if (text_.substr(0, kBinarySentinel.size()) == kBinarySentinel) {
        fail(1, "binary DXF is not supported; save the drawing as ASCII DXF");
        return;
    }
    if (text_.substr(0, kUtf8Bom.size()) == kUtf8Bom) pos_ = kUtf8Bom.size();
    // One scan for NUL bytes up front; a line read that holds one fails. What follows EOF (some writers end the
    // file with a NUL or Ctrl-Z) is never read.
    if (const void* nul = std::memchr(text_.data(), 0, text_.size()))
        nulAt_ = std::size_t(static_cast<const char*>(nul) - text_.data());
    // Old Macintosh files end their lines with a lone CR: the first line end decides.
    const std::size_t end = text_.find_first_of("\r\n", pos_);
    if (end != std::string_view::npos && text_[end] == '\r' && (end + 1 == text_.size() || text_[end + 1] != '\n'))
        lineEnd_ = '\r';
}

std::string Tokenizer::message(std::size_t line, std::string_view what) const {
    std::string m = source_;
    m += ", line ";
    m += std::to_string(line);
    m += ": ";
    m += what;
    return m;
}

TokenResult Tokenizer::fail(std::size_t line, std::string_view what) {
    if (!failed_) error_ = message(line, what);
    failed_ = true;
    return TokenResult::Error;
}

Tokenizer::LineResult Tokenizer::readLine(std::string_view& line) {
    if (pos_ >= text_.size()) return LineResult::End;
    const char* start = text_.data() + pos_;
    const std::size_t rest = text_.size() - pos_;
    const std::size_t window = std::min(rest, limits::kMaxLineBytes + 2);  // room for CR LF after a full line
    const void* nl = std::memchr(start, lineEnd_, window);
    std::size_t len;
    if (nl) {
        len = std::size_t(static_cast<const char*>(nl) - start);
        pos_ += len + 1;
    } else {
        if (window < rest) return LineResult::TooLong;
        len = rest;
        pos_ = text_.size();
    }
    if (nulAt_ >= std::size_t(start - text_.data()) && nulAt_ < pos_) return LineResult::Nul;
    if (lineEnd_ == '\n' && len > 0 && start[len - 1] == '\r') --len;
    if (len > limits::kMaxLineBytes) return LineResult::TooLong;
    line = std::string_view(start, len);
    ++line_;
    return LineResult::Line;
}

void Tokenizer::pushBack(const Group& group) {
    pushed_ = group;
    hasPushed_ = true;
}

TokenResult Tokenizer::next(Group& g) {
    if (failed_) return TokenResult::Error;
    if (hasPushed_) {
        g = pushed_;
        hasPushed_ = false;
        return TokenResult::Group;
    }
    const std::size_t codeLine = line_;
    std::string_view codeText;
    switch (readLine(codeText)) {
    case LineResult::End: return TokenResult::End;
    case LineResult::TooLong:
        return fail(codeLine, "line longer than " + std::to_string(limits::kMaxLineBytes) + " bytes");
    case LineResult::Nul: return fail(codeLine, kNulInFile);
    case LineResult::Line: break;
    }
    const auto code = parseInteger(codeText, std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    if (!code) {
        if (trimSpaces(codeText).empty() && pos_ >= text_.size()) return TokenResult::End;  // a final empty line
        return fail(codeLine, "group code " + quoted(codeText) + " is not a whole number");
    }
    const auto kind = groupKindOf(int(*code));
    if (!kind) return fail(codeLine, "group code " + std::to_string(*code) + " is not a DXF group code");
    g.code = int(*code);
    g.kind = *kind;
    g.line = codeLine;
    switch (readLine(g.text)) {
    case LineResult::End:
        return fail(codeLine, "the file ends after group code " + std::to_string(g.code) + " (its value is missing)");
    case LineResult::TooLong:
        return fail(codeLine + 1, "line longer than " + std::to_string(limits::kMaxLineBytes) + " bytes");
    case LineResult::Nul: return fail(codeLine + 1, kNulInFile);
    case LineResult::Line: break;
    }
    if (!parseValue(g)) {
        return fail(codeLine + 1, quoted(g.text) + " is not " + kindName(g.kind) + " (value of group code " +
                                      std::to_string(g.code) + ")");
    }
    return TokenResult::Group;
}

bool Tokenizer::parseValue(Group& g) {
    switch (g.kind) {
    case GroupKind::String: return true;
    case GroupKind::Real: {
        const auto v = parseReal(g.text);
        if (!v) return false;
        g.real = *v;
        g.text = trimSpaces(g.text);
        return true;
    }
    case GroupKind::Int16:
    case GroupKind::Bool: {
        const auto v = parseInteger(g.text, -32768, 32767);
        if (!v) return false;
        g.integer = g.kind == GroupKind::Bool ? (*v != 0) : *v;
        g.text = trimSpaces(g.text);
        return true;
    }
    case GroupKind::Int32: {
        const auto v = parseInteger(g.text, std::numeric_limits<std::int32_t>::min(),
                                    std::numeric_limits<std::int32_t>::max());
        if (!v) return false;
        g.integer = *v;
        g.text = trimSpaces(g.text);
        return true;
    }
    case GroupKind::Int64: {
        const auto v = parseInteger(g.text, std::numeric_limits<std::int64_t>::min(),
                                    std::numeric_limits<std::int64_t>::max());
        if (!v) return false;
        g.integer = *v;
        g.text = trimSpaces(g.text);
        return true;
    }
    case GroupKind::Handle: {
        const auto v = parseHex(g.text);
        // Text where a handle belongs stays text (kind String), and the reader refuses it wherever it must be a
        // handle: group 5 is a block name in the DIMSTYLE records of R12 files, and some writers put a record's
        // name into DIMSTYLE's references (340 and on). An empty value is no handle either: the reader drops an
        // empty reference and gives an object whose own handle is empty a new one.
        const std::string_view t = trimSpaces(g.text);
        if (!v && (t.empty() || !isHexText(t))) {
            g.kind = GroupKind::String;
            return true;
        }
        if (!v) return false;
        g.integer = std::int64_t(*v);
        g.text = trimSpaces(g.text);
        return true;
    }
    case GroupKind::Binary: {
        g.text = trimSpaces(g.text);
        return g.text.size() % 2 == 0 && isHexText(g.text);
    }
    }
    return false;
}

}  // namespace host::dxf
