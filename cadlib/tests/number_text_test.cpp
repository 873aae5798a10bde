// Trailing zeros, point arguments, blanks, character-set checks and path parts.
#include "cadlib/number_text.h"

#include <gtest/gtest.h>

namespace {

TEST(NumberText, TrimTrailingZeros) {
    struct Case {
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        {"12.500", "12.5"},  {"10.000", "10"}, {"1.25", "1.25"}, {"1.205", "1.205"}, {"0.000", "0"},
        {"5.", "5"},         {"-3.10", "-3.1"},
        {"1000", "1000"},    // an integer keeps its zeros
        {"", ""},            {".000", ".000"},  // the first character is never examined
        {".50", ".5"},
    };
    for (const Case& c : cases) {
        std::string text = c.text;
        TrimTrailingZeros(text);
        EXPECT_EQ(text, c.expected) << "from " << c.text;
    }
}

TEST(NumberText, FormatPointsForHostCommands) {
    std::string text;
    EXPECT_EQ(FormatPoint2d(text, {1.5, -2.25, 7}), 0);
    EXPECT_EQ(text, "1.5000,-2.2500");
    EXPECT_EQ(FormatPoint3d(text, {1.5, -2.25, 0.00004}), 0);
    EXPECT_EQ(text, "1.5000,-2.2500,0.0000");
    EXPECT_EQ(FormatPoint2d(text, {1234567.12345, 0, 0}), 0);
    EXPECT_EQ(text, "1234567.1235,0.0000");
}

TEST(NumberText, RemoveSpacesKeepsOtherWhiteSpace) {
    std::string text = " 1 2\t3 ";
    RemoveSpaces(text);
    EXPECT_EQ(text, "12\t3");
}

TEST(NumberText, HasCharsOutsideSet) {
    const std::string digits = "0123456789.";
    EXPECT_EQ(HasCharsOutsideSet("12.5", digits), 0);
    EXPECT_EQ(HasCharsOutsideSet("12,5", digits), 1);
    EXPECT_EQ(HasCharsOutsideSet("", digits), 0);
    EXPECT_EQ(HasCharsOutsideSet("-1", digits), 1);
    // Characters are whole: a Cyrillic letter matches itself, not the bytes of another letter.
    EXPECT_EQ(HasCharsOutsideSet("да", "ад"), 0);
    EXPECT_EQ(HasCharsOutsideSet("ж", "ад"), 1);
}

TEST(NumberText, PathParts) {
    struct Case {
        const char* path;
        const char* folder;
        int folderAnswer;
        const char* name;
        int nameAnswer;
    };
    const Case cases[] = {
        {"C:\\Jobs\\Steel\\a.MAT", "C:\\Jobs\\Steel", 0, "a.MAT", 0},
        {"/home/u/mat/a.MAT", "/home/u/mat", 0, "a.MAT", 0},
        {"C:\\Jobs/mixed\\b.nst", "C:\\Jobs/mixed", 0, "b.nst", 0},
        {"plate.dxf", "", -1, "plate.dxf", -1},
        {"folder\\", "folder", 0, "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        std::string folder = "old", name = "old";
        EXPECT_EQ(GetPathDirectory(c.path, folder), c.folderAnswer);
        EXPECT_EQ(folder, c.folder);
        EXPECT_EQ(GetPathFileName(c.path, name), c.nameAnswer);
        EXPECT_EQ(name, c.name);
    }
}

}  // namespace
