// Upper and lower case and case-insensitive comparison of UTF-8 text, for ASCII and Cyrillic letters.
#pragma once

#include <compare>
#include <string>
#include <string_view>

namespace host::sys {

// The case partner of one character. Letters covered: ASCII a-z, Cyrillic а-я, ѐ-џ (U+0450..U+045F) and the
// paired letters of U+0460..U+052F (Ґ/ґ and the rest). Every other character is returned unchanged.
char32_t upperCaseCharacter(char32_t c);
char32_t lowerCaseCharacter(char32_t c);

// Text with every covered letter changed; bytes of malformed UTF-8 are passed through unchanged.
std::string upperCase(std::string_view utf8);
std::string lowerCase(std::string_view utf8);

// Compares character by character after upper-casing (so "ж" == "Ж" and "a" < "B"); malformed bytes compare by
// their byte value. A text that is a prefix of the other is less.
std::strong_ordering compareNoCase(std::string_view a, std::string_view b);
bool equalsNoCase(std::string_view a, std::string_view b);

}  // namespace host::sys
