// Text files as lines: reading UTF-8 or legacy CP1251 with LF or CR LF ends, writing UTF-8 with CR LF.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/sys/atomic_file.h"

namespace host::sys {

// Bounds of what a text file may hold. They guard memory against a wrong or damaged file (a drawing or a binary
// chosen by mistake), not the formats: the longest product lines are postprocessor blocks of 10000 bytes, the
// largest files NC programs of a few megabytes.
inline constexpr std::size_t kMaxTextFileBytes = 64u << 20;  // 64 MiB
inline constexpr std::size_t kMaxTextLineBytes = 1u << 16;   // 64 KiB

struct TextLimits {
    std::size_t maxFileBytes = kMaxTextFileBytes;
    std::size_t maxLineBytes = kMaxTextLineBytes;  // bytes as stored, without the line end
};

enum class TextEncoding {
    Utf8,    // the file was valid UTF-8 (a leading byte-order mark is dropped)
    Cp1251,  // the file was not valid UTF-8 and was read as Windows Cyrillic
};

struct TextFile {
    std::vector<std::string> lines;  // UTF-8, without line ends
    TextEncoding encoding = TextEncoding::Utf8;
};

// Turns file bytes into UTF-8 text: the bytes themselves when they are valid UTF-8 (without a byte-order mark),
// else their CP1251 reading, which maps every byte (0x98, undefined there, becomes U+FFFD).
std::string decodeText(std::string_view bytes, TextEncoding* encoding = nullptr);

// Reads `path` as lines. A line ends at LF; one CR right before the LF (or at the very end of the file) is part
// of the line end, any other CR stays in the line. A last line without a line end counts; a final line end does
// not start another line ("a\nb\n" and "a\nb" are both {"a", "b"}; "" is no line; "\n" one empty line).
// Fails, with a message naming the file (and the line), when the file cannot be read, is larger than the bound,
// holds a line longer than the bound or a NUL byte (it is then not a text file).
std::optional<TextFile> readTextFile(const std::filesystem::path& path, std::string* error,
                                     const TextLimits& limits = {});

// The same rules applied to bytes already in memory; `name` is used in messages.
std::optional<TextFile> splitTextLines(std::string_view bytes, std::string_view name, std::string* error,
                                       const TextLimits& limits = {});

// Writes each line followed by CR LF, in UTF-8, through an AtomicFile: on failure the old file is untouched and
// `error` names the file. A line holding CR or LF is refused (it would read back as other lines).
bool writeTextFile(const std::filesystem::path& path, const std::vector<std::string>& lines, std::string* error);

// Writes a text file line by line (an NC program, a log), each line ended by CR LF; nothing replaces the
// target until commit() succeeds.
class TextFileWriter {
public:
    explicit TextFileWriter(std::filesystem::path target) : file_(std::move(target)) {}

    bool open(std::string* error) { return file_.open(error); }
    // A line holding CR or LF makes commit() fail.
    void writeLine(std::string_view line);
    bool commit(std::string* error);

private:
    AtomicFile file_;
    std::optional<std::size_t> badLine_;
    std::size_t lineCount_ = 0;
};

}  // namespace host::sys
