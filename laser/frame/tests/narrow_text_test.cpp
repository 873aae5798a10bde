// Copying a text into a fixed buffer: the whole text when it fits, never a byte past the buffer when it does not,
// and never half a character.
#include "laser/frame/narrow_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(CopyWideToNarrow, CopiesWhatFitsAndNeverWritesPastTheBuffer) {
    struct Case {
        const char* what;
        std::string text;
        std::size_t size;
        int answer;
        std::string written;
    };
    const Case cases[] = {
        {"room to spare", "NC-001", 32, 6, "NC-001"},
        {"exactly the text and its terminator", "NC-001", 7, 6, "NC-001"},
        {"one byte short", "NC-001", 6, -1, "NC-00"},
        {"an empty text", "", 4, 0, ""},
        {"room for the terminator only", "NC", 1, -1, ""},
        // "Лист" is four two-byte characters: a cut inside the third keeps two whole ones
        {"a cut inside a character", "Лист", 6, -1, "Ли"},
        {"a cut after a character", "Лист", 7, -1, "Лис"},
        {"a three-byte character cut", "a€b", 4, -1, "a"},
    };
    constexpr char kGuard = '#';
    for (const Case& c : cases) {
        // The buffer sits inside a larger block whose bytes beyond `size` must stay untouched.
        std::vector<char> block(c.size + 8, kGuard);
        EXPECT_EQ(CopyWideToNarrow(block.data(), c.size, c.text), c.answer) << c.what;
        EXPECT_EQ(std::string(block.data()), c.written) << c.what;
        for (std::size_t i = c.size; i < block.size(); ++i) EXPECT_EQ(block[i], kGuard) << c.what << " at " << i;
    }
}

TEST(CopyWideToNarrow, ABufferOfNoBytesReceivesNothing) {
    char byte = '#';
    EXPECT_EQ(CopyWideToNarrow(&byte, 0, "text"), -1);
    EXPECT_EQ(byte, '#');
    EXPECT_EQ(CopyWideToNarrow(nullptr, 8, "text"), -1);
}

}  // namespace
