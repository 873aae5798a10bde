// Reading and writing text files as lines, with the encoding and line-end rules of the product's files.
#include "host/sys/text_file.h"

#include "host/sys/encoding.h"
#include "host/sys/file_read.h"

namespace host::sys {

namespace {

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kLineEnd = "\r\n";

std::string lineMessage(std::string_view name, std::size_t lineNumber, std::string_view what) {
    return std::string(name) + ":" + std::to_string(lineNumber) + ": " + std::string(what);
}

bool holdsLineBreak(std::string_view line) { return line.find_first_of("\r\n") != std::string_view::npos; }

}  // namespace

std::string decodeText(std::string_view bytes, TextEncoding* encoding) {
    if (bytes.substr(0, kUtf8ByteOrderMark.size()) == kUtf8ByteOrderMark)
        bytes.remove_prefix(kUtf8ByteOrderMark.size());
    const bool utf8 = isValidUtf8(bytes);
    if (encoding) *encoding = utf8 ? TextEncoding::Utf8 : TextEncoding::Cp1251;
    return utf8 ? std::string(bytes) : cp1251ToUtf8(bytes);
}

std::optional<TextFile> splitTextLines(std::string_view bytes, std::string_view name, std::string* error,
                                       const TextLimits& limits) {
    if (bytes.size() > limits.maxFileBytes) {
        if (error) *error = std::string(name) + ": larger than " + std::to_string(limits.maxFileBytes) + " bytes";
        return std::nullopt;
    }
    // Lines are measured and checked on the stored bytes; decoding comes after, on the whole text, so that a file
    // is either all UTF-8 or all CP1251.
    std::vector<std::string_view> raw;
    std::size_t start = 0;
    std::size_t lineNumber = 0;
    while (start < bytes.size()) {
        ++lineNumber;
        std::size_t end = bytes.find('\n', start);
        const bool lastWithoutEnd = end == std::string_view::npos;
        if (lastWithoutEnd) end = bytes.size();
        std::string_view line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.size() > limits.maxLineBytes) {
            if (error) {
                *error =
                    lineMessage(name, lineNumber, "line longer than " + std::to_string(limits.maxLineBytes) + " bytes");
            }
            return std::nullopt;
        }
        if (line.find('\0') != std::string_view::npos) {
            if (error) *error = lineMessage(name, lineNumber, "holds a NUL byte: not a text file");
            return std::nullopt;
        }
        raw.push_back(line);
        start = end + 1;
    }
    std::string_view body = bytes;
    if (body.substr(0, kUtf8ByteOrderMark.size()) == kUtf8ByteOrderMark) body.remove_prefix(kUtf8ByteOrderMark.size());
    TextFile file;
    file.encoding = isValidUtf8(body) ? TextEncoding::Utf8 : TextEncoding::Cp1251;
    file.lines.reserve(raw.size());
    for (std::size_t i = 0; i < raw.size(); ++i) {
        std::string_view line = raw[i];
        if (i == 0 && line.substr(0, kUtf8ByteOrderMark.size()) == kUtf8ByteOrderMark) {
            line.remove_prefix(kUtf8ByteOrderMark.size());
        }
        file.lines.push_back(file.encoding == TextEncoding::Utf8 ? std::string(line) : cp1251ToUtf8(line));
    }
    return file;
}

std::optional<TextFile> readTextFile(const std::filesystem::path& path, std::string* error, const TextLimits& limits) {
    FileBytes content = readFileBytes(path, limits.maxFileBytes);
    if (content.status != FileReadStatus::Read) {
        if (error) *error = content.error;
        return std::nullopt;
    }
    return splitTextLines(content.bytes, path.string(), error, limits);
}

bool writeTextFile(const std::filesystem::path& path, const std::vector<std::string>& lines, std::string* error) {
    TextFileWriter writer(path);
    if (!writer.open(error)) return false;
    for (const std::string& line : lines) writer.writeLine(line);
    return writer.commit(error);
}

void TextFileWriter::writeLine(std::string_view line) {
    ++lineCount_;
    if (badLine_) return;
    if (holdsLineBreak(line)) {
        badLine_ = lineCount_;
        return;
    }
    file_.write(line);
    file_.write(kLineEnd);
}

bool TextFileWriter::commit(std::string* error) {
    if (badLine_) {
        if (error) {
            *error = "cannot write " + file_.target().string() + ": line " + std::to_string(*badLine_) +
                     " holds a line break";
        }
        return false;  // the AtomicFile is dropped uncommitted: the old file stays
    }
    return file_.commit(error);
}

}  // namespace host::sys
