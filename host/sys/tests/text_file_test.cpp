// Text files: line ends, encodings, bounds and the CR LF writer.
#include "host/sys/text_file.h"

#include <gtest/gtest.h>

#include "host/sys/file_read.h"
#include "host/sys/tests/scratch_folder.h"

namespace host::sys {
namespace {

using namespace std::string_literals;
using testing::readBytes;
using testing::ScratchFolder;
using testing::writeBytes;
using Lines = std::vector<std::string>;

TEST(TextFile, LineEndsAndEncodings) {
    struct Case {
        const char* what;
        std::string bytes;
        Lines lines;
        TextEncoding encoding;
    };
    const Case cases[] = {
        {"empty file", "", {}, TextEncoding::Utf8},
        {"one line end", "\n", {""}, TextEncoding::Utf8},
        {"LF", "a\nb\n", {"a", "b"}, TextEncoding::Utf8},
        {"last line without end", "a\nb", {"a", "b"}, TextEncoding::Utf8},
        {"CR LF", "MATERIAL\r\nDENSITY=7.85\r\n\r\n", {"MATERIAL", "DENSITY=7.85", ""}, TextEncoding::Utf8},
        {"mixed ends", "a\r\nb\nc\r", {"a", "b", "c"}, TextEncoding::Utf8},
        {"CR inside a line stays", "a\rb\r\n", {"a\rb"}, TextEncoding::Utf8},
        {"only one CR is the line end", "a\r\r\n", {"a\r"}, TextEncoding::Utf8},
        {"UTF-8 with byte-order mark", "\xEF\xBB\xBFСталь\r\n", {"Сталь"}, TextEncoding::Utf8},
        {"CP1251", "\xD1\xF2\xE0\xEB\xFC\r\n\xB9 5\r\n", {"Сталь", "№ 5"}, TextEncoding::Cp1251},
        // One stray byte makes the whole file CP1251, so a file is never read half in one encoding.
        {"UTF-8 and one CP1251 byte", "Сталь\n\xC0\n", {"РЎС‚Р°Р»СЊ", "А"}, TextEncoding::Cp1251},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::string error;
        auto file = splitTextLines(c.bytes, "test.txt", &error);
        ASSERT_TRUE(file) << error;
        EXPECT_EQ(file->lines, c.lines);
        EXPECT_EQ(file->encoding, c.encoding);
    }
}

TEST(TextFile, BoundsAndBinaryContentAreErrorsNamingFileAndLine) {
    const TextLimits limits{.maxFileBytes = 100, .maxLineBytes = 8};
    struct Case {
        const char* what;
        std::string bytes;
        const char* message;  // empty: accepted
    };
    const Case cases[] = {
        {"line at the bound", "12345678\r\n", ""},
        {"line one past the bound", "ok\n123456789\n", "post.mxt:2: line longer than 8 bytes"},
        {"bound counts bytes, not characters", "жжжжж\n", "post.mxt:1: line longer than 8 bytes"},
        {"NUL byte", "a\nb\0c\n"s, "post.mxt:2: holds a NUL byte: not a text file"},
        {"file past the bound", std::string(101, '\n'), "post.mxt: larger than 100 bytes"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::string error;
        const auto file = splitTextLines(c.bytes, "post.mxt", &error, limits);
        EXPECT_EQ(file.has_value(), std::string(c.message).empty());
        EXPECT_EQ(error, c.message);
    }
}

TEST(TextFile, WritesCrLfAndReadsBack) {
    ScratchFolder dir;
    const auto path = dir / "steel.MAT";
    const Lines lines = {"MATERIAL", "DENSITY=7.85", "MATERIAL_NUM=Сталь 3", ""};
    std::string error;
    ASSERT_TRUE(writeTextFile(path, lines, &error)) << error;
    EXPECT_EQ(readBytes(path), "MATERIAL\r\nDENSITY=7.85\r\nMATERIAL_NUM=Сталь 3\r\n\r\n");
    const auto back = readTextFile(path, &error);
    ASSERT_TRUE(back) << error;
    EXPECT_EQ(back->lines, lines);
}

TEST(TextFile, WriteRefusesLineBreaksAndKeepsTheOldFile) {
    ScratchFolder dir;
    const auto path = dir / "a.nc";
    writeBytes(path, "old\r\n");
    std::string error;
    EXPECT_FALSE(writeTextFile(path, {"G00 X0", "bad\nline"}, &error));
    EXPECT_EQ(error, "cannot write " + path.string() + ": line 2 holds a line break");
    EXPECT_EQ(readBytes(path), "old\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(TextFile, ReadFailuresNameTheFile) {
    ScratchFolder dir;
    std::string error;
    EXPECT_FALSE(readTextFile(dir / "missing.mat", &error));
    EXPECT_EQ(error, "cannot read " + (dir / "missing.mat").string() + ": no such file");
    EXPECT_FALSE(readTextFile(dir.path(), &error));
    EXPECT_NE(error.find("folder"), std::string::npos) << error;
}

TEST(FileRead, BoundIsExactAndMissingIsNotFailure) {
    ScratchFolder dir;
    writeBytes(dir / "ten", "0123456789");
    EXPECT_EQ(readFileBytes(dir / "ten", 10).status, FileReadStatus::Read);
    EXPECT_EQ(readFileBytes(dir / "ten", 10).bytes, "0123456789");
    const FileBytes tooLarge = readFileBytes(dir / "ten", 9);
    EXPECT_EQ(tooLarge.status, FileReadStatus::Failed);
    EXPECT_NE(tooLarge.error.find("larger than 9 bytes"), std::string::npos) << tooLarge.error;
    EXPECT_EQ(readFileBytes(dir / "none", 10).status, FileReadStatus::Missing);
    writeBytes(dir / "empty", "");
    EXPECT_EQ(readFileBytes(dir / "empty", 0).status, FileReadStatus::Read);
}

}  // namespace
}  // namespace host::sys
