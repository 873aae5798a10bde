// Text-line files: the small product files kept as one value per line, read and written a line at a time, and
// blocks of lines preceded by their count.
//
// Files are read as the platform's text mode reads them: CR LF becomes LF (a lone CR stays in its line). A file
// is UTF-8, or, when it is not valid UTF-8, legacy Windows Cyrillic (CP1251); the whole file is decided once, so
// it never mixes the two, and the conversion never fails. In memory text is UTF-8. Files are written in UTF-8
// with every line feed written as CR LF, and through a temporary file: the old file stays as it was until the
// new one is complete.
//
// Line lengths: a reader is given a size N, as a buffer of N bytes for N - 1 characters and the terminating
// zero; it reads at most N - 1 characters, and a longer line comes back in pieces from successive reads.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "host/sys/atomic_file.h"
#include "host/sys/text_file.h"

// A text file open for reading lines. The whole file is read when it is opened, so no read can fail later.
class TextLineReader {
public:
    TextLineReader() = default;
    // Opens `path`. False, with `error` naming the file and the reason, when the file cannot be read, is larger
    // than the host's text-file bound, or holds a NUL byte (then it is no text file).
    bool open(const std::filesystem::path& path, std::string* error);
    bool isOpen() const { return open_; }
    const std::filesystem::path& path() const { return path_; }
    host::sys::TextEncoding encoding() const { return encoding_; }

    // The next piece of the text as a narrow line input gives it: the characters up to and including the next
    // line feed, or the first maxCharacters of them when the line is longer; nothing at the end of the file (or
    // for a maxCharacters of 0, or when the file is not open).
    std::optional<std::string> readPiece(std::size_t maxCharacters);

private:
    std::filesystem::path path_;
    std::string text_;  // UTF-8, CR LF made LF
    std::size_t position_ = 0;
    host::sys::TextEncoding encoding_ = host::sys::TextEncoding::Utf8;
    bool open_ = false;
};

// A text file being written. Nothing replaces the target until commit() succeeds; a writer dropped without a
// commit leaves the old file (or none) in place.
class TextLineWriter {
public:
    explicit TextLineWriter(std::filesystem::path target) : file_(std::move(target)) {}
    // Starts the temporary file. False, with `error` naming the file, when it cannot be created.
    bool open(std::string* error);
    // Writes the text, every LF as CR LF. A failure is remembered and reported by commit().
    void write(std::string_view text);
    // Completes the file. False, with `error` naming the file, when anything could not be written.
    bool commit(std::string* error);
    const std::filesystem::path& target() const { return file_.target(); }

private:
    host::sys::AtomicFile file_;
};

// Writes the text and a line feed.
void WriteTextLine(std::string_view text, TextLineWriter& file);

// Reads one line of at most N - 1 characters into `text` and answers 1; at the end of the file answers 0 and
// leaves `text` unchanged (as for an N below 2, which leaves no room for a character). The line end goes: when
// the last character is CR or LF the text is cut before it, and, independently, when the character before that
// last one is CR or LF the text is cut before that one too ("a" CR LF gives "a"; a last line x CR y without a
// line feed gives "x").
int ReadTextLine(std::string& text, TextLineReader& file, int N);

// Writes `text` as a block: a line with the count n, then n lines. The text's lines are separated by CR LF as
// the product's edit fields give them; a lone LF also separates, since written as it is it would read back as
// one more line than the count says. n is the number of separators plus 1: the piece after the last separator
// is always taken, so an empty text is stored as the count 1 and one empty line, and a text that ends with
// CR LF has an empty last line. Answers n.
int WriteTextBlock(std::string_view text, TextLineWriter& file);

// Reads a block into `text`, its lines joined by CR LF, and answers the number of lines read. The count is the
// leading decimal number of the first line (read with N; none gives 0, and a count of 0 or less an empty text
// and the answer 0). Each line is read with N and loses one last CR or LF. The count is never trusted: reading
// stops at the end of the file, so a file cut short gives the lines that are there, joined, and a damaged count
// costs no more than the file holds.
int ReadTextBlock(std::string& text, TextLineReader& file, int N);
