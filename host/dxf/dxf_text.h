// Text in DXF files: decoding file strings to UTF-8 by the file's version and code page, and encoding UTF-8 so
// that any reader gets it back.
#pragma once

#include <string>
#include <string_view>

namespace host::dxf {

// How a file's strings are stored.
enum class TextEncoding {
    CodePage1251,  // before AC1021 with $DWGCODEPAGE ANSI_1251 (and files that name no code page)
    CodePage1252,  // before AC1021 with any other code page
    Utf8,          // AC1021 (R2007) and later
};

// The encoding of a file of a version ("AC1015") and code page ("ANSI_1251"); an empty code page is a file
// without one. Code pages other than 1251 are read as 1252: the Latin letters are right, others may not be.
TextEncoding textEncodingOf(std::string_view acadVersion, std::string_view codePage);

// A file string as UTF-8:
//  - before AC1021, a string that is valid UTF-8 with non-ASCII bytes is taken as UTF-8 (some programs write
//    UTF-8 whatever the version; a real CP1251 or CP1252 word is practically never valid UTF-8), any other is
//    decoded by the code page; then \U+XXXX escapes become their characters (a pair of escaped UTF-16 surrogates
//    becomes one character; a lone surrogate stays as the escape text);
//  - from AC1021 on, the bytes are UTF-8 (invalid bytes are read as CP1252) and \U+XXXX is ordinary text;
//  - in every version, caret escapes become control characters: "^J" is a line feed, "^ " a caret; a caret before
//    anything else is an ordinary caret.
std::string decodeDxfText(std::string_view raw, TextEncoding encoding);

// Appends UTF-8 text as it is written in our files (R2000, ANSI_1251): ASCII stays, every other character becomes
// \U+XXXX (two escapes, a UTF-16 surrogate pair, above U+FFFF), control characters become caret escapes, a caret
// becomes "^ ", and a backslash that would start an escape is itself escaped as \U+005C, so that the text comes
// back exactly. Invalid UTF-8 bytes are written as U+FFFD.
void encodeDxfText(std::string_view utf8, std::string& out);

// True when the text needs no encoding at all (printable ASCII without caret or escape-like backslash).
bool isPlainDxfText(std::string_view utf8);

}  // namespace host::dxf
