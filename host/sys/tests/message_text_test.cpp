// Texts quoted in messages: cut at a character, never in one, and kept on their line.
#include "host/sys/message_text.h"

#include <gtest/gtest.h>

namespace host::sys {
namespace {

TEST(QuotedForMessage, CutsLongTextsAndHidesControlCharacters) {
    using namespace std::string_literals;
    struct Case {
        std::string text;
        std::size_t max;
        std::string expected;
    };
    const Case cases[] = {
        {"", 5, ""},
        {"abcde", 5, "abcde"},                         // exactly the bound: whole, no mark
        {"abcdef", 5, "abcde..."},
        {"ЖЖЖЖЖЖ", 3, "ЖЖЖ..."},                       // two bytes each: cut between characters
        {"a\r\nb\tc\x1b[2J"s, 80, "a??b?c?[2J"},       // line breaks, tab and escape stay visible
        {"x\0y"s, 80, "x?y"},                          // a NUL would end the message's C string
        {std::string(65000, 'K'), 80, std::string(80, 'K') + "..."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 20));
        EXPECT_EQ(quotedForMessage(c.text, c.max), c.expected);
    }
    EXPECT_EQ(quotedForMessage(std::string(200, 'a')).size(), kMaxQuotedCharacters + 3);
}

}  // namespace
}  // namespace host::sys
