// Wildcard patterns as the host matches names and texts: in selection filters, and for modules that compare a
// name with a pattern.
#pragma once

#include <string_view>

namespace host::ed {

// True when `text` matches `pattern`. Characters are UTF-8 code points; one wildcard stands for one character.
//   *      any run of characters, none included
//   ?      any one character
//   #      one decimal digit          @  one letter (ASCII or Cyrillic)
//   .      one character that is neither letter nor digit
//   [abc]  one of the characters listed; a-z a range; [~abc] one character not listed
//   `      the next character stands for itself ("`*" is a star)
//   ~      at the start of a pattern: anything the rest does not match
//   ,      separates patterns: the text matches when it matches one of them ("LINE,ARC")
// With `ignoreCase`, letters match their other case (ASCII and Cyrillic, as host/sys/text_case.h maps them).
// A malformed pattern (an unclosed "[", a trailing "`") matches its broken part literally.
bool wildcardMatch(std::string_view text, std::string_view pattern, bool ignoreCase = false);

// True when the pattern holds a wildcard character, so that a plain comparison will not do.
bool hasWildcard(std::string_view pattern);

}  // namespace host::ed
