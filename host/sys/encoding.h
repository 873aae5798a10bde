// Text encodings: UTF-8 checks and counts, CP1251 and UTF-16 conversions. Nothing here throws on any input.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace host::sys {

// The character put in place of bytes that are not text in the source encoding.
inline constexpr char32_t kReplacementCharacter = U'\uFFFD';

// True when `text` is well-formed UTF-8: no stray continuation bytes, no truncated or overlong sequences, no
// surrogate code points (U+D800..U+DFFF), nothing above U+10FFFF. The empty text is valid.
bool isValidUtf8(std::string_view text);

// CP1251 (the Windows Cyrillic code page) to UTF-8. Every byte maps: 0x00-0x7F stay ASCII, 0xC0-0xFF are
// А..я, the rest follow the code page's table. The one byte the code page leaves undefined (0x98) becomes U+FFFD.
std::string cp1251ToUtf8(std::string_view cp1251);

// UTF-8 to CP1251. A character the code page cannot hold, and each byte of malformed UTF-8, becomes
// `replacement`.
std::string utf8ToCp1251(std::string_view utf8, char replacement = '?');

// Number of characters (code points) in UTF-8 text. Each byte of a malformed sequence counts as one character,
// so the count is defined for any input and never exceeds the byte count.
std::size_t utf8CharacterCount(std::string_view utf8);

// The longest prefix of `utf8` holding at most `maxCharacters` characters (counted as utf8CharacterCount does);
// a multi-byte character is never cut in half.
std::string_view utf8Prefix(std::string_view utf8, std::size_t maxCharacters);

// Malformed UTF-8 made well-formed: each byte of a malformed sequence becomes U+FFFD. Valid text is unchanged.
std::string repairUtf8(std::string_view text);

// Appends the UTF-8 form of `c` to `out`; a surrogate or a value above U+10FFFF appends U+FFFD.
void appendUtf8(std::string& out, char32_t c);

// Decodes the character at `pos` of `text` and advances `pos` past it. A malformed sequence yields U+FFFD and
// advances by one byte. `pos` must be below text.size().
char32_t decodeUtf8At(std::string_view text, std::size_t& pos);

// UTF-8 to UTF-16 code units (the Parts' "wide" texts count these); malformed bytes become U+FFFD.
std::u16string utf8ToUtf16(std::string_view utf8);

// UTF-16 code units to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string utf16ToUtf8(std::u16string_view utf16);

}  // namespace host::sys
