// The groups of an ASCII DXF text: pairs of lines (code, value), each value checked against its code's kind.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "host/dxf/group_kinds.h"

namespace host::dxf {

struct Group {
    int code = 0;
    GroupKind kind = GroupKind::String;
    // The value line: as written for strings (CR stripped), without surrounding spaces for everything else.
    std::string_view text;
    double real = 0.0;          // Real
    std::int64_t integer = 0;   // Int16, Int32, Int64, Bool (0 or 1), Handle
    std::size_t line = 0;       // line number of the group code (the value is on the next line)
};

// What next() found.
enum class TokenResult {
    Group,  // a well-formed group
    End,    // the text ended cleanly after a value line (or was empty)
    Error,  // a malformed group: error() says what and where
};

// Reads groups from text held in memory (which must outlive the tokenizer and its groups). Lines end with LF or
// CR LF, or, in a file whose first line ends with a lone CR (old Macintosh files), with CR; a UTF-8 byte-order
// mark at the start is skipped. Refused with a message "<source>, line <n>: <what>": binary DXF, a NUL byte in a
// line read (what follows the last line read is never looked at), lines longer than limits::kMaxLineBytes, a code
// that is not a whole number or not a DXF group code, a missing value line, a value that does not parse whole as
// its code's kind (reals must be finite, integers within their kind's range, handles 1-16 hex digits, binary an
// even number of hex digits). A handle group whose value is empty or not hexadecimal is answered as text (kind
// String), for the reader to refuse, drop or resolve: DIMSTYLE records of R12 files hold a name in group 5, some
// writers a name in DIMSTYLE's 340, and some leave a reference or an object's own handle empty.
class Tokenizer {
public:
    Tokenizer(std::string_view text, std::string source);

    TokenResult next(Group& group);
    // Puts the last group back: the next call answers it again. One group only.
    void pushBack(const Group& group);

    const std::string& error() const { return error_; }
    const std::string& source() const { return source_; }
    // The line number of the next line to read (1-based).
    std::size_t line() const { return line_; }
    // Bytes consumed so far (for progress and for counts checked against what the rest of the file can hold).
    std::size_t offset() const { return pos_; }
    std::size_t size() const { return text_.size(); }
    // The text not read yet (after a pushed-back group's lines).
    std::string_view rest() const { return text_.substr(pos_); }
    // True when lines end with a lone CR.
    bool crLineEnds() const { return lineEnd_ == '\r'; }

    // "<source>, line <n>: <what>"
    std::string message(std::size_t line, std::string_view what) const;

private:
    enum class LineResult { Line, End, TooLong, Nul };
    LineResult readLine(std::string_view& line);
    TokenResult fail(std::size_t line, std::string_view what);
    bool parseValue(Group& g);

    std::string_view text_;
    std::string source_;
    std::size_t pos_ = 0;
    std::size_t line_ = 1;
    char lineEnd_ = '\n';
    std::size_t nulAt_ = std::string_view::npos;  // the first NUL byte of the text
    std::string error_;
    Group pushed_;
    bool hasPushed_ = false;
    bool failed_ = false;
};

}  // namespace host::dxf
