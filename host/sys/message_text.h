// Texts from files and from users, quoted in messages: cut to a length a message can show.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace host::sys {

// Characters of a quoted text that a message shows: a long line of a dialog box, or of the command line.
inline constexpr std::size_t kMaxQuotedCharacters = 80;

// `text` as a message quotes it: whole when it has at most `maxCharacters` characters, else its first
// `maxCharacters` characters and "..." (a multi-byte character is never cut). Control characters (a NUL, a line
// break, an escape) become '?', so that the quote stays on its line and cannot end a C string or steer the
// terminal. A damaged file once put a key name of 65,000 characters into one message.
std::string quotedForMessage(std::string_view text, std::size_t maxCharacters = kMaxQuotedCharacters);

}  // namespace host::sys
