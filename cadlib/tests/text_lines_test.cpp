// Text-line files: what is written on disk, how lines come back (line ends, encodings, long lines), blocks with
// their count, and files that end early or lie about their count.
#include "cadlib/text_lines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/sys/tests/scratch_folder.h"

namespace {

using host::sys::testing::readBytes;
using host::sys::testing::ScratchFolder;
using host::sys::testing::writeBytes;

// Every ReadTextLine answer of a file until the end, each with the room N.
std::vector<std::string> readAllLines(const std::filesystem::path& path, int N) {
    TextLineReader file;
    std::string error;
    EXPECT_TRUE(file.open(path, &error)) << error;
    std::vector<std::string> lines;
    std::string line;
    while (ReadTextLine(line, file, N) == 1) lines.push_back(line);
    return lines;
}

TEST(TextLines, WritesCrLfInUtf8) {
    ScratchFolder folder;
    const auto path = folder / "out.txt";
    TextLineWriter file(path);
    std::string error;
    ASSERT_TRUE(file.open(&error)) << error;
    WriteTextLine("CFG POST", file);
    WriteTextLine("Сталь", file);
    WriteTextLine("", file);
    ASSERT_TRUE(file.commit(&error)) << error;
    EXPECT_EQ(readBytes(path), "CFG POST\r\nСталь\r\n\r\n");
}

TEST(TextLines, ReadsLfCrLfAndCp1251Alike) {
    ScratchFolder folder;
    struct Case {
        const char* name;
        std::string bytes;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"CR LF", "one\r\ntwo\r\n", {"one", "two"}},
        {"LF", "one\ntwo\n", {"one", "two"}},
        {"no final line end", "one\r\ntwo", {"one", "two"}},
        {"empty lines", "\r\n\nx\r\n", {"", "", "x"}},
        {"UTF-8 with a byte-order mark", "\xEF\xBB\xBFСталь\r\n", {"Сталь"}},
        {"CP1251", "\xD1\xF2\xE0\xEB\xFC\r\n\xE4\xE0\r\n", {"Сталь", "да"}},
        // The line-end rule: a last character CR or LF goes, and independently one before it.
        {"a lone CR before the line feed", "a\r\r\nb\n", {"a", "b"}},
        {"x CR y at the end of the file", "x\ry", {"x"}},
        {"empty file", "", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto path = folder / "in.txt";
        writeBytes(path, c.bytes);
        EXPECT_EQ(readAllLines(path, 80), c.lines);
    }
}

TEST(TextLines, LongLineComesBackInPieces) {
    ScratchFolder folder;
    const auto path = folder / "long.txt";
    writeBytes(path, std::string(100, 'a') + "\r\nnext\r\n");
    const std::vector<std::string> lines = readAllLines(path, 80);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], std::string(79, 'a'));
    EXPECT_EQ(lines[1], std::string(21, 'a'));
    EXPECT_EQ(lines[2], "next");

    // The room counts characters, so a Cyrillic line is cut where a single-byte one would be.
    writeBytes(path, "АБВГД\r\n");
    EXPECT_EQ(readAllLines(path, 4), (std::vector<std::string>{"АБВ", "ГД"}));
    writeBytes(path, "\xC0\xC1\xC2\xC3\xC4\r\n");  // the same in CP1251
    EXPECT_EQ(readAllLines(path, 4), (std::vector<std::string>{"АБВ", "ГД"}));
}

TEST(TextLines, EndOfFileLeavesTheTextAlone) {
    ScratchFolder folder;
    const auto path = folder / "one.txt";
    writeBytes(path, "only\n");
    TextLineReader file;
    ASSERT_TRUE(file.open(path, nullptr));
    std::string text;
    EXPECT_EQ(ReadTextLine(text, file, 20), 1);
    EXPECT_EQ(text, "only");
    EXPECT_EQ(ReadTextLine(text, file, 20), 0);
    EXPECT_EQ(text, "only");
    // A room of fewer than two bytes holds no character.
    TextLineReader again;
    ASSERT_TRUE(again.open(path, nullptr));
    EXPECT_EQ(ReadTextLine(text, again, 1), 0);
}

TEST(TextLines, BlockRoundTrip) {
    ScratchFolder folder;
    struct Case {
        const char* name;
        std::string text;
        int count;
        std::string disk;
        std::string readBack;
    };
    const Case cases[] = {
        {"three lines", "G90\r\nG21\r\nM30", 3, "3\r\nG90\r\nG21\r\nM30\r\n", "G90\r\nG21\r\nM30"},
        {"empty text", "", 1, "1\r\n\r\n", ""},
        {"ends with CR LF", "a\r\n", 2, "2\r\na\r\n\r\n", "a\r\n"},
        // A lone LF separates too: written as it is it would read back as one line more than the count says.
        {"lone line feed", "a\nb", 2, "2\r\na\r\nb\r\n", "a\r\nb"},
        {"Cyrillic", "Программа\r\nКонец", 2, "2\r\nПрограмма\r\nКонец\r\n", "Программа\r\nКонец"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto path = folder / "block.txt";
        TextLineWriter out(path);
        ASSERT_TRUE(out.open(nullptr));
        EXPECT_EQ(WriteTextBlock(c.text, out), c.count);
        WriteTextLine("after", out);
        ASSERT_TRUE(out.commit(nullptr));
        EXPECT_EQ(readBytes(path), c.disk + "after\r\n");

        TextLineReader in;
        ASSERT_TRUE(in.open(path, nullptr));
        std::string text = "old";
        EXPECT_EQ(ReadTextBlock(text, in, 10000), c.count);
        EXPECT_EQ(text, c.readBack);
        std::string next;
        EXPECT_EQ(ReadTextLine(next, in, 100), 1);
        EXPECT_EQ(next, "after");  // the block took exactly its lines
    }
}

TEST(TextLines, BlockStopsAtTheEndOfTheFile) {
    ScratchFolder folder;
    struct Case {
        const char* name;
        std::string bytes;
        int answer;
        std::string text;
    };
    const Case cases[] = {
        {"file ends early", "4\r\na\r\nb\r\n", 2, "a\r\nb"},
        // A damaged count: the reader neither reserves for it nor appends separators past the end.
        {"count line that lies", "2000000000\r\nx\r\n", 1, "x"},
        {"count only", "3\r\n", 0, ""},
        {"no count", "abc\r\nx\r\n", 0, ""},
        {"negative count", "-2\r\nx\r\n", 0, ""},
        {"empty file", "", 0, ""},
        {"count with blanks and text after it", "  2 lines\r\nx\r\ny\r\n", 2, "x\r\ny"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto path = folder / "block.txt";
        writeBytes(path, c.bytes);
        TextLineReader in;
        ASSERT_TRUE(in.open(path, nullptr));
        std::string text = "old";
        EXPECT_EQ(ReadTextBlock(text, in, 10000), c.answer);
        EXPECT_EQ(text, c.text);
    }
}

TEST(TextLines, BlockLinesLoseOneLineEndOnly) {
    ScratchFolder folder;
    const auto path = folder / "block.txt";
    // A CR before the CR LF stays with its line in a block (a single line read would drop it).
    writeBytes(path, "2\r\na\r\r\nb\r\n");
    TextLineReader in;
    ASSERT_TRUE(in.open(path, nullptr));
    std::string text;
    EXPECT_EQ(ReadTextBlock(text, in, 100), 2);
    EXPECT_EQ(text, "a\r\r\nb");
}

TEST(TextLines, FilesThatCannotBeReadOrWrittenAreReported) {
    ScratchFolder folder;
    TextLineReader in;
    std::string error;
    EXPECT_FALSE(in.open(folder / "missing.txt", &error));
    EXPECT_NE(error.find("missing.txt"), std::string::npos) << error;

    writeBytes(folder / "binary.dat", std::string("MAT\0ERIAL", 9));
    EXPECT_FALSE(in.open(folder / "binary.dat", &error));
    EXPECT_NE(error.find("binary.dat"), std::string::npos) << error;
    std::string line = "kept";
    EXPECT_EQ(ReadTextLine(line, in, 80), 0);
    EXPECT_EQ(line, "kept");

    // A folder that refuses new files: the write fails with the file named, and the old file stays as it was.
    const auto locked = folder / "locked";
    std::filesystem::create_directory(locked);
    writeBytes(locked / "old.txt", "old\r\n");
    {
        host::sys::testing::UnwritableFolder guard(locked);
        if (!guard.active()) GTEST_SKIP() << "cannot make a folder unwritable here";
        TextLineWriter out(locked / "old.txt");
        EXPECT_FALSE(out.open(&error));
        EXPECT_NE(error.find("old.txt"), std::string::npos) << error;
    }
    EXPECT_EQ(readBytes(locked / "old.txt"), "old\r\n");
}

TEST(TextLines, UncommittedWriterLeavesTheOldFile) {
    ScratchFolder folder;
    const auto path = folder / "kept.txt";
    writeBytes(path, "old\r\n");
    {
        TextLineWriter out(path);
        ASSERT_TRUE(out.open(nullptr));
        WriteTextLine("new", out);
    }
    EXPECT_EQ(readBytes(path), "old\r\n");
}

}  // namespace
