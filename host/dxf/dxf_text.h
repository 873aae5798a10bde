// Text in DXF files: decoding file strings to UTF-8 by the file's version and code page, and encoding UTF-8 so
// that any reader gets it back.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace host::dxf {

// How a file's strings are stored: UTF-8 (AC1021, R2007, and later) or the bytes of the code page its
// $DWGCODEPAGE names. Every ANSI, DOS, ISO 8859 and Macintosh page the format names is read (through the C
// library's iconv), the double-byte ones of East Asia too; a file that names no page is ANSI_1252, the format's
// default. Cheap to copy: the tables of a page are shared.
class TextEncoding {
public:
    // ANSI_1252, not UTF-8.
    TextEncoding();
    // The encoding of a file of a version ("AC1015") and code page ("ANSI_1250", "dos866"; "" for none). A page
    // that is not known reads as ANSI_1252 and answers false from isKnown().
    static TextEncoding of(std::string_view acadVersion, std::string_view codePage);

    bool isUtf8() const { return utf8_; }
    // The code page as the file names it, upper-cased ("ANSI_1252" for a file that names none).
    const std::string& codePage() const { return codePage_; }
    bool isKnown() const { return known_; }
    // Whether a string that is valid UTF-8 is taken as UTF-8 before AC1021: so for ANSI_1252 (what programs that
    // write UTF-8 whatever the version declare, or the default when they declare none) and a page not known. In a
    // file that declares another page, its own bytes may form valid UTF-8 (ANSI_1250 "ŘŽ", ANSI_932 half-width
    // katakana), and are read in that page.
    bool guessesUtf8() const;
    // Bytes of the code page as UTF-8. A byte the page leaves undefined becomes the character of its value
    // (U+0080..U+00FF), so nothing is lost.
    std::string codePageToUtf8(std::string_view bytes) const;
    // Appends the bytes of a character outside ASCII in the code page; false when the page lacks it, and for
    // UTF-8 and a page that is not known.
    bool appendInPage(char32_t c, std::string& out) const;

private:
    struct Page;
    bool utf8_ = false;
    bool known_ = true;
    std::string codePage_;
    std::shared_ptr<const Page> page_;
};

// A file string as UTF-8:
//  - before AC1021, in a file of ANSI_1252 (or a page not known), a string that is valid UTF-8 with non-ASCII
//    bytes is taken as UTF-8 (some programs write UTF-8 whatever the version; a real ANSI_1252 word is practically
//    never valid UTF-8), any other is decoded by the code page; a file that declares another page is read in it;
//  - from AC1021 on, the bytes are UTF-8 (invalid bytes are read by the code page);
//  - in every version \U+XXXX escapes become their characters, as CAD programs show them (a pair of escaped
//    UTF-16 surrogates becomes one character; a lone surrogate stays as the escape text), and caret escapes
//    become control characters: "^J" is a line feed, "^ " a caret; a caret before anything else is a caret.
std::string decodeDxfText(std::string_view raw, const TextEncoding& encoding);

// Appends UTF-8 text as it is written in our files (R2000, any declared page): ASCII stays; a character the file's
// code page `page` has goes out in its bytes (readers that check names against the page refuse an escape there);
// every other character becomes \U+XXXX (two escapes, a UTF-16 surrogate pair, above U+FFFF); control characters
// become caret escapes, a caret becomes "^ ", and a backslash that would start an escape is itself escaped as
// \U+005C, so that the text comes back exactly. Without a page, or where the page's bytes would read back as
// UTF-8, every character outside ASCII is escaped. Invalid UTF-8 bytes are written as U+FFFD.
void encodeDxfText(std::string_view utf8, std::string& out, const TextEncoding* page = nullptr);

// True when the text needs no encoding at all (printable ASCII without caret or escape-like backslash).
bool isPlainDxfText(std::string_view utf8);

}  // namespace host::dxf
