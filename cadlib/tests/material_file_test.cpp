// The material file: what the writer puts on disk, which files the reader takes, and that a refused file or a
// failed write changes nothing.
#include "cadlib/material_file.h"

#include <gtest/gtest.h>

#include "cadlib/messages.h"
#include "host/sys/tests/scratch_folder.h"

namespace {

using host::sys::testing::readBytes;
using host::sys::testing::ScratchFolder;
using host::sys::testing::writeBytes;

TEST(MaterialFile, WritesThreeCrLfLinesAndReadsThemBack) {
    ScratchFolder folder;
    const auto path = folder / "Steel.MAT";
    std::string error;
    ASSERT_TRUE(WriteMaterialFile(path, "7.85e-06", "S235", &error)) << error;
    EXPECT_EQ(readBytes(path), "MATERIAL\r\nDENSITY=7.85e-06\r\nMATERIAL_NUM=S235\r\n");

    std::string density, number;
    EXPECT_EQ(ReadMaterialFile(path, density, number), 0);
    EXPECT_EQ(density, "7.85e-06");
    EXPECT_EQ(number, "S235");

    // Russian designations survive the round trip.
    ASSERT_TRUE(WriteMaterialFile(path, "7.85", "Ст3сп", &error)) << error;
    EXPECT_EQ(ReadMaterialFile(path, density, number), 0);
    EXPECT_EQ(density, "7.85");
    EXPECT_EQ(number, "Ст3сп");
}

TEST(MaterialFile, WhichFilesAreMaterialFiles) {
    ScratchFolder folder;
    struct Case {
        const char* name;
        std::string bytes;
        int answer;
        const char* density;
        const char* number;
    };
    const Case cases[] = {
        {"header with more words", "MATERIAL ALU\r\nDENSITY=2.7e-06\r\nMATERIAL_NUM=AW-5754\r\n", 0, "2.7e-06", "AW-5754"},
        {"LF line ends", "MATERIAL\nDENSITY=7.85\nMATERIAL_NUM=1\n", 0, "7.85", "1"},
        {"values without keys", "MATERIAL\r\n7.85\r\nS235\r\n", 0, "7.85", "S235"},
        {"keys are not checked, only the first = counts", "MATERIAL\r\nD=7.85\r\nX=a=b\r\n", 0, "7.85", "a=b"},
        {"an empty number", "MATERIAL\r\nDENSITY=1\r\nMATERIAL_NUM=\r\n", 0, "1", ""},
        {"spaces around the density", "MATERIAL\r\nDENSITY= 7.85 \r\nMATERIAL_NUM=1\r\n", 0, " 7.85 ", "1"},
        {"further lines ignored", "MATERIAL\r\nDENSITY=1\r\nMATERIAL_NUM=2\r\nextra\r\n", 0, "1", "2"},
        {"CP1251 file", "MATERIAL\r\nDENSITY=7.85\r\nMATERIAL_NUM=\xD1\xF2\xE0\xEB\xFC\r\n", 0, "7.85", "Сталь"},
        {"header in lower case", "material\r\nDENSITY=7.85\r\nMATERIAL_NUM=1\r\n", -1, "old", "old"},
        {"header word beyond the first 39 characters", std::string(40, ' ') + "MATERIAL\r\nDENSITY=1\r\nMATERIAL_NUM=2\r\n", -1, "old", "old"},
        {"truncated after the header", "MATERIAL\r\n", -1, "old", "old"},
        {"truncated after the density", "MATERIAL\r\nDENSITY=7.85\r\n", -1, "old", "old"},
        {"empty file", "", -1, "old", "old"},
        // Found by fuzzing: the stray CR stayed in the value, and the material page could not save it back.
        {"carriage return inside a value", "MATERIAL\r\nDENSITY=7.85\r\nMATERIAL_NUM=2\r[", -1, "old", "old"},
        {"carriage returns before a line end", "MATERIAL\r\nDENSITY=7.85\r\r\nMATERIAL_NUM=2\r\n", 0, "7.85", "2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto path = folder / "x.MAT";
        writeBytes(path, c.bytes);
        std::string density = "old", number = "old";
        EXPECT_EQ(ReadMaterialFile(path, density, number), c.answer);
        EXPECT_EQ(density, c.density);
        EXPECT_EQ(number, c.number);
    }
    std::string density = "old", number = "old";
    EXPECT_EQ(ReadMaterialFile(folder / "missing.MAT", density, number), -1);
    EXPECT_EQ(density, "old");
}

// A first line longer than its 39 characters used to spill its rest into the density; the rest of a cut line
// is passed over instead.
TEST(MaterialFile, LongLinesAreCutWithoutShiftingTheValues) {
    ScratchFolder folder;
    const auto path = folder / "long.MAT";
    writeBytes(path, "MATERIAL " + std::string(60, 'x') + "\r\nDENSITY=0." + std::string(98, '7') +
                         "\r\nMATERIAL_NUM=S235\r\n");
    std::string density, number;
    EXPECT_EQ(ReadMaterialFile(path, density, number), 0);
    EXPECT_EQ(density, "0." + std::string(79 - 8 - 2, '7'));
    EXPECT_EQ(number, "S235");
}

// Found by fuzzing: a line without its key holds up to 79 characters of value, but written back after the key the
// value overran the line and read back cut, so the material page saved something other than what it had read.
// Control characters and the byte CP1251 leaves undefined (read as U+FFFD) come back as they were read.
TEST(MaterialFile, WhatIsReadIsSavedAndReadsBackTheSame) {
    ScratchFolder folder;
    const std::string u = "\xEF\xBF\xBD";  // U+FFFD
    struct Case {
        const char* name;
        std::string bytes;
        std::string density;
        std::string number;
    };
    const Case cases[] = {
        {"the fuzzer's file, reduced", "MATERIAL\n1\n\x1d\x98" + std::string(65, '%'), "1",
         "\x1d" + u + std::string(64, '%')},
        {"keyless values of a whole line", "MATERIAL\r\n0." + std::string(77, '7') + "\r\n" + std::string(79, 'N'),
         "0." + std::string(69, '7'), std::string(66, 'N')},
        {"short keys", "MATERIAL\r\n=0." + std::string(76, '7') + "\r\nN=" + std::string(77, 'N'),
         "0." + std::string(69, '7'), std::string(66, 'N')},
        {"values that fit stay whole", "MATERIAL\r\n0." + std::string(69, '7') + "\r\n" + std::string(66, 'N'),
         "0." + std::string(69, '7'), std::string(66, 'N')},
        // Cut by characters, never inside one: 70 Cyrillic letters are 140 bytes.
        {"keyless Cyrillic number", "MATERIAL\r\n1\r\n" + [] {
             std::string s;
             for (int i = 0; i < 70; ++i) s += "Ж";
             return s;
         }(), "1", [] {
             std::string s;
             for (int i = 0; i < 66; ++i) s += "Ж";
             return s;
         }()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeBytes(folder / "in.MAT", c.bytes);
        std::string density, number;
        ASSERT_EQ(ReadMaterialFile(folder / "in.MAT", density, number), 0);
        EXPECT_EQ(density, c.density);
        EXPECT_EQ(number, c.number);
        std::string error;
        ASSERT_TRUE(WriteMaterialFile(folder / "out.MAT", density, number, &error)) << error;
        std::string densityAgain, numberAgain;
        ASSERT_EQ(ReadMaterialFile(folder / "out.MAT", densityAgain, numberAgain), 0);
        EXPECT_EQ(densityAgain, density);
        EXPECT_EQ(numberAgain, number);
    }
}

// A density that is no number ("abc") was taken and became a density of 0 in the modules, and an empty file was
// refused without a word: what is wrong is said, with the line, in the user's language, and the material that was
// chosen before stays.
TEST(MaterialFile, ARefusedFileSaysWhatIsWrongAndOnWhichLine) {
    ScratchFolder folder;
    const auto path = folder / "x.MAT";
    const std::string name = path.string();
    struct Case {
        const char* what;
        std::string bytes;
        std::string message;
    };
    const Case cases[] = {
        {"density not a number", "MATERIAL\r\nDENSITY=abc\r\nMATERIAL_NUM=1\r\n",
         name + ", line 2: the density \"abc\" is not a number (it is written with a point, as 7.85e-06)"},
        {"density with a comma", "MATERIAL\r\nDENSITY=7,85\r\nMATERIAL_NUM=1\r\n",
         name + ", line 2: the density \"7,85\" is not a number (it is written with a point, as 7.85e-06)"},
        {"density empty", "MATERIAL\r\nDENSITY=\r\nMATERIAL_NUM=1\r\n",
         name + ", line 2: the density \"\" is not a number (it is written with a point, as 7.85e-06)"},
        {"density 0", "MATERIAL\r\nDENSITY=0\r\nMATERIAL_NUM=1\r\n", name + ", line 2: the density 0 is not above 0"},
        {"density below 0", "MATERIAL\r\nDENSITY=-7.85\r\nMATERIAL_NUM=1\r\n",
         name + ", line 2: the density -7.85 is not above 0"},
        // Above the largest density a job takes: refused here, not by the job reader after the dialog wrote it.
        {"density 1e20", "MATERIAL\r\nDENSITY=1e20\r\nMATERIAL_NUM=1\r\n",
         name + ", line 2: the density 1e20 is above 100000, the largest a material may have"},
        {"density just above the largest", "MATERIAL\r\nDENSITY=100000.01\r\nMATERIAL_NUM=1\r\n",
         name + ", line 2: the density 100000.01 is above 100000, the largest a material may have"},
        {"density inf", "MATERIAL\r\nDENSITY=inf\r\nMATERIAL_NUM=1\r\n",
         name + ", line 2: the density \"inf\" is not a number (it is written with a point, as 7.85e-06)"},
        {"empty file", "", name + ", line 1: the file is empty, so it holds no material"},
        {"no header word", "material\r\nDENSITY=1\r\nMATERIAL_NUM=2\r\n",
         name + ", line 1: this is no material file: its first line does not hold \"MATERIAL\""},
        {"ends after the header", "MATERIAL\r\n", name + ", line 2: the file ends before its density line (DENSITY=)"},
        {"ends after the density", "MATERIAL\r\nDENSITY=1\r\n",
         name + ", line 3: the file ends before its material number line (MATERIAL_NUM=)"},
        {"carriage return in the number", "MATERIAL\r\nDENSITY=7.85\r\nMATERIAL_NUM=2\r[",
         name + ", line 3: a carriage return stands inside the value"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        writeBytes(path, c.bytes);
        std::string density = "7.85e-06", number = "S235", error;
        EXPECT_EQ(ReadMaterialFile(path, density, number, &error), -1);
        EXPECT_EQ(error, c.message);
        EXPECT_EQ(density, "7.85e-06");
        EXPECT_EQ(number, "S235");
    }
    std::string density, number, error;
    // The largest density is one a job takes.
    writeBytes(path, "MATERIAL\r\nDENSITY=100000\r\nMATERIAL_NUM=1\r\n");
    EXPECT_EQ(ReadMaterialFile(path, density, number, &error), 0) << error;
    EXPECT_EQ(density, "100000");
    EXPECT_EQ(ReadMaterialFile(folder / "missing.MAT", density, number, &error), -1);
    EXPECT_NE(error.find("The material file cannot be read: "), std::string::npos) << error;
    EXPECT_NE(error.find("missing.MAT"), std::string::npos) << error;

    SetLibraryLanguage(Language::Russian);
    writeBytes(path, "MATERIAL\r\nDENSITY=abc\r\nMATERIAL_NUM=1\r\n");
    ReadMaterialFile(path, density, number, &error);
    SetLibraryLanguage(Language::English);
    EXPECT_EQ(error, name + ", строка 2: плотность \"abc\" - не число (число пишется с точкой, например 7.85e-06)");
}

// The material page's Save As wrote whatever its density field held ("42.0.0", "", "0", "1e400"), a file that the
// next Select refused: a density is written only when the reader takes it back.
TEST(MaterialFile, WritesNoDensityItsReaderRefuses) {
    ScratchFolder folder;
    const auto path = folder / "Steel.MAT";
    const std::string old = "MATERIAL\r\nDENSITY=1\r\nMATERIAL_NUM=2\r\n";
    for (const char* density : {"42.0.0", ".", "2..", "", "abc", "1e400", "-0", "0", "-5", "nan", "inf", "1,5",
                                "100001", "1e9"}) {
        SCOPED_TRACE(density);
        writeBytes(path, old);
        std::string error;
        EXPECT_FALSE(WriteMaterialFile(path, density, "S235", &error));
        EXPECT_NE(error.find("Steel.MAT"), std::string::npos) << error;
        EXPECT_NE(error.find("is not a number above 0 and at most 100000"), std::string::npos) << error;
        EXPECT_EQ(readBytes(path), old);
    }
    for (const char* density : {"7.85e-06", " 5 ", "100000", "1e-30"}) {
        SCOPED_TRACE(density);
        std::string error, readDensity, number;
        ASSERT_TRUE(WriteMaterialFile(path, density, "S235", &error)) << error;
        ASSERT_EQ(ReadMaterialFile(path, readDensity, number, &error), 0) << error;
        EXPECT_EQ(readDensity, density);
    }
}

TEST(MaterialFile, FailedWriteIsReportedAndKeepsTheOldFile) {
    ScratchFolder folder;
    std::string error;
    const auto path = folder / "Steel.MAT";
    writeBytes(path, "MATERIAL\r\nDENSITY=1\r\nMATERIAL_NUM=2\r\n");

    // A value with a line break would read back as another line.
    EXPECT_FALSE(WriteMaterialFile(path, "7.85\r\n", "S235", &error));
    EXPECT_NE(error.find("Steel.MAT"), std::string::npos) << error;
    EXPECT_EQ(readBytes(path), "MATERIAL\r\nDENSITY=1\r\nMATERIAL_NUM=2\r\n");

    // A value longer than its line leaves after the key would read back cut.
    EXPECT_FALSE(WriteMaterialFile(path, std::string(72, '7'), "S235", &error));
    EXPECT_NE(error.find("Steel.MAT"), std::string::npos) << error;
    EXPECT_NE(error.find("density may have 71 characters and the material number 66"), std::string::npos) << error;
    EXPECT_FALSE(WriteMaterialFile(path, "7.85", std::string(67, 'N'), &error));
    EXPECT_EQ(readBytes(path), "MATERIAL\r\nDENSITY=1\r\nMATERIAL_NUM=2\r\n");
    // The refusals are the library's own words, in the user's language.
    SetLibraryLanguage(Language::Russian);
    const bool written = WriteMaterialFile(path, "7.85", std::string(67, 'N'), &error);
    SetLibraryLanguage(Language::English);
    EXPECT_FALSE(written);
    EXPECT_NE(error.find("номер материала - не более 66"), std::string::npos) << error;

    EXPECT_FALSE(WriteMaterialFile(folder / "no-such-folder" / "a.MAT", "1", "2", &error));
    EXPECT_NE(error.find("a.MAT"), std::string::npos) << error;

    host::sys::testing::UnwritableFolder guard(folder.path());
    if (!guard.active()) GTEST_SKIP() << "cannot make a folder unwritable here";
    EXPECT_FALSE(WriteMaterialFile(path, "7.85", "S235", &error));
    EXPECT_NE(error.find("Steel.MAT"), std::string::npos) << error;
    EXPECT_EQ(readBytes(path), "MATERIAL\r\nDENSITY=1\r\nMATERIAL_NUM=2\r\n");
}

}  // namespace
