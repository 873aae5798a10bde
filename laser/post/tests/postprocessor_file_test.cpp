// The postprocessor file: round trips of the keyed layout, the positional layout, the line rules and damaged
// files.
#include <gtest/gtest.h>

#include <unistd.h>

#include "laser/post/postprocessor_file.h"
#include "laser/post/tests/post_test_support.h"

using namespace post_test;

namespace {

class PostprocessorFile : public ::testing::Test {
protected:
    void SetUp() override {
        SetLanguageFlag(0);
        host::ui::clearMessageBoxLog();
        dir_ = TempDir();
    }
    std::filesystem::path Path(const char* name) const { return dir_ / name; }
    // Writes `lines` (CR LF ends) and reads them into `settings`.
    int ReadLinesAs(const std::vector<std::string>& lines, PostprocessorSettings& settings, const char* end = "\r\n") {
        WriteBytes(Path("case.MXT"), JoinLines(lines, end));
        return ReadPostprocessorFile(settings, Path("case.MXT"));
    }

    std::filesystem::path dir_;
};

// Every key with a value of its own: texts named after their key, blocks of three lines, numbers, flags set.
PostprocessorSettings DistinctSettings() {
    PostprocessorSettings s;
    int n = 0;
    for (const PostKey& key : PostKeys()) {
        ++n;
        switch (key.kind) {
            case PostValueKind::Text:
            case PostValueKind::Template:
                s.*key.text = std::string(key.name).substr(0, 10) + "<EOB>" + std::to_string(n);
                if (key.limit == 20) s.*key.text = "v" + std::to_string(n);
                break;
            case PostValueKind::Number: s.*key.text = std::to_string(n) + ".25"; break;
            case PostValueKind::Integer: s.*key.text = std::to_string(n); break;
            case PostValueKind::Block:
                s.*key.text = std::string(key.name) + " first\r\n\r\n<N-CODE>last line " + std::to_string(n);
                break;
            case PostValueKind::Flag: s.*key.integer = 1; break;
            case PostValueKind::Mode: break;
        }
    }
    s.CenterArcAbsolute = 2;
    s.CenterArcIncremental = 1;
    s.CenterArcAbsoluteText = kCenterArcModeNames[2];
    s.CenterArcIncrementalText = kCenterArcModeNames[1];
    return s;
}

void ExpectSameValues(const PostprocessorSettings& a, const PostprocessorSettings& b) {
    for (const PostKey& key : PostKeys()) {
        if (key.text != nullptr) {
            EXPECT_EQ(a.*key.text, b.*key.text) << key.name;
        } else {
            EXPECT_EQ(a.*key.integer, b.*key.integer) << key.name;
        }
    }
    EXPECT_EQ(a.CenterArcAbsoluteText, b.CenterArcAbsoluteText);
    EXPECT_EQ(a.CenterArcIncrementalText, b.CenterArcIncrementalText);
}

TEST_F(PostprocessorFile, EveryKeySurvivesAWriteAndARead) {
    const PostprocessorSettings written = DistinctSettings();
    ASSERT_EQ(WritePostprocessorFile(written, Path("all.MXT")), 0);
    PostprocessorSettings read;
    read.PostprocessorPath = "kept";
    ASSERT_EQ(ReadPostprocessorFile(read, Path("all.MXT")), 0);
    ExpectSameValues(read, written);
    EXPECT_EQ(read.CenterArcAbsolute, 2);
    EXPECT_EQ(read.CenterArcIncremental, 1);
    EXPECT_EQ(read.PostprocessorPath, "kept") << "the path fields belong to the caller";
    EXPECT_TRUE(MessageBoxTexts().empty());

    // The file itself: CR LF ends, head lines, a block as its count and lines, the end line.
    const std::string bytes = ReadBytes(Path("all.MXT"));
    EXPECT_EQ(bytes.rfind("CFG POST\r\n4.2\r\n###General\r\n####MachineType\r\n", 0), 0u);
    EXPECT_NE(bytes.find("####CircleStr\r\n3\r\nCircleStr first\r\n\r\n<N-CODE>last line "), std::string::npos);
    EXPECT_EQ(bytes.substr(bytes.size() - 12), "###EndFile\r\n");
    EXPECT_EQ(bytes.find("\n\n"), std::string::npos) << "every line feed follows a CR";
}

TEST_F(PostprocessorFile, ShippedPostprocessorsAreWrittenBackByteForByte) {
    PostprocessorSettings settings;
    ASSERT_EQ(ReadPostprocessorFile(settings, ShippedLaser()), 0);
    EXPECT_EQ(settings.MachineType, "Laser");
    EXPECT_EQ(settings.StartPrgStr, "%<EOB>\r\n(<NAME-PROGRAM> <MATERIAL> T=<THIN>)<EOB>\r\n<N-CODE>G21 G90 G40<EOB>");
    EXPECT_EQ(settings.XCode, " X") << "a leading blank is part of the value";
    int shipped = 0;
    for (const auto& entry : std::filesystem::directory_iterator(SourceDir() / "data/post")) {
        if (entry.path().extension() != ".MXT") continue;
        SCOPED_TRACE(entry.path().filename().string());
        ++shipped;
        PostprocessorSettings read;
        ASSERT_EQ(ReadPostprocessorFile(read, entry.path()), 0);
        ASSERT_EQ(WritePostprocessorFile(read, Path("copy.MXT")), 0);
        EXPECT_EQ(ReadBytes(Path("copy.MXT")), ReadBytes(entry.path()));
    }
    EXPECT_GE(shipped, 1);
}

TEST_F(PostprocessorFile, LegacyCyrillicFilesAreReadAsText) {
    // A file written by an older system in Windows Cyrillic: the name is read as the same letters.
    std::vector<std::string> lines = ReadLines(ShippedLaser());
    lines[IndexOf(lines, "####NamePostprocessor") + 1] = "\xCB\xE0\xE7\xE5\xF0";  // "Лазер" in CP1251
    PostprocessorSettings settings;
    ASSERT_EQ(ReadLinesAs(lines, settings), 0);
    EXPECT_EQ(settings.NamePostprocessor, "Лазер");
}

TEST_F(PostprocessorFile, EmptyTemplateIsACountOfOneAndAnEmptyLine) {
    PostprocessorSettings settings = DistinctSettings();
    settings.EndFileStr.clear();
    ASSERT_EQ(WritePostprocessorFile(settings, Path("empty.MXT")), 0);
    const std::vector<std::string> lines = ReadLines(Path("empty.MXT"));
    const int at = IndexOf(lines, "####EndFileStr");
    ASSERT_GE(at, 0);
    EXPECT_EQ(lines[at + 1], "1");
    EXPECT_EQ(lines[at + 2], "");
    PostprocessorSettings read = DistinctSettings();
    ASSERT_EQ(ReadPostprocessorFile(read, Path("empty.MXT")), 0);
    EXPECT_EQ(read.EndFileStr, "");
}

TEST_F(PostprocessorFile, FilesWithLineFeedsAloneReadAsWithCrLf) {
    PostprocessorSettings crlf, lf;
    const std::vector<std::string> lines = ReadLines(ShippedLaser());
    ASSERT_EQ(ReadLinesAs(lines, crlf, "\r\n"), 0);
    ASSERT_EQ(ReadLinesAs(lines, lf, "\n"), 0);
    ExpectSameValues(crlf, lf);
    EXPECT_EQ(lf.StartPrgStr.find("\r\n"), 6u) << "block lines are joined by CR LF in memory";
}

TEST_F(PostprocessorFile, PositionalLayoutFillsTheKindsItDoesNotStore) {
    PostprocessorSettings settings;
    settings.CPW_Edit_80 = "stale";
    ASSERT_EQ(ReadPostprocessorFile(settings, Fixture("positional_41.MXT")), 0);
    EXPECT_EQ(settings.NamePostprocessor, "Old positional laser");
    EXPECT_EQ(settings.MoveRapidStr, "<N-CODE><MOTION><COMP><X-COORD><Y-COORD><EOB>");
    EXPECT_EQ(settings.CutOnStr, "<N-CODE>M03<EOB>");
    EXPECT_EQ(settings.CutT2OnStr, "<N-CODE>M03<EOB>") << "the second tool takes the cutting texts";
    EXPECT_EQ(settings.CutT2OffStr, "<N-CODE>M05<EOB>");
    EXPECT_EQ(settings.MarkOnStr, settings.EngraveOnStr) << "marking takes the engraving texts";
    EXPECT_EQ(settings.EngraveAndMarkOffStr, settings.EngraveOffStr);
    EXPECT_EQ(settings.CPW_Edit_80, "") << "the power values are not stored and become empty";
    EXPECT_EQ(settings.CenterArcAbsolute, 2);
    EXPECT_EQ(settings.CenterArcAbsoluteText, kCenterArcModeNames[2]);
    EXPECT_EQ(settings.EndPrgStr, "<N-CODE>M30<EOB>");
    EXPECT_EQ(settings.ProfMinHoleDiam, "0");

    // Written again, it is the current layout and reads back the same.
    ASSERT_EQ(WritePostprocessorFile(settings, Path("from41.MXT")), 0);
    EXPECT_EQ(ReadLines(Path("from41.MXT"))[1], "4.2");
    PostprocessorSettings again;
    ASSERT_EQ(ReadPostprocessorFile(again, Path("from41.MXT")), 0);
    ExpectSameValues(again, settings);
}

TEST_F(PostprocessorFile, HeadLinesSelectTheLayout) {
    std::vector<std::string> lines = ReadLines(ShippedLaser());
    PostprocessorSettings settings;
    lines[0] = "##CFG POST##";
    EXPECT_EQ(ReadLinesAs(lines, settings), 0) << "the mark may stand among other characters";
    for (const char* version : {"4.10", "4.1 ", "", "5"}) {
        lines[1] = version;
        EXPECT_EQ(ReadLinesAs(lines, settings), 0) << "version '" << version << "' is the keyed layout";
    }
}

TEST_F(PostprocessorFile, KeyedReaderPassesOverWhatItDoesNotKnow) {
    std::vector<std::string> lines = ReadLines(ShippedLaser());
    // Move the Profile section to the front, add blank lines, an unknown key with its value, and write the key
    // of EXTFile with a trailing blank: that key is unknown, so its value line is passed over.
    const int profile = IndexOf(lines, "###Profile");
    const int end = IndexOf(lines, "###EndFile");
    std::vector<std::string> moved(lines.begin() + profile, lines.begin() + end);
    lines.erase(lines.begin() + profile, lines.begin() + end);
    lines.insert(lines.begin() + 2, moved.begin(), moved.end());
    const int ext = IndexOf(lines, "####EXTFile");
    lines[ext] = "####EXTFile ";
    lines[ext + 1] = "ignored";
    lines.insert(lines.begin() + ext, {"", "####NoSuchKey", "its value", ""});
    // General must still hold 12 key lines: give EXTFile once more, properly, at the section's end.
    lines.insert(lines.begin() + IndexOf(lines, "###Code"), {"####EXTFile", "cnc"});
    PostprocessorSettings settings;
    settings.EXTFile = "before";
    ASSERT_EQ(ReadLinesAs(lines, settings), 0) << (MessageBoxTexts().empty() ? "" : MessageBoxTexts()[0]);
    EXPECT_EQ(settings.EXTFile, "cnc");
    EXPECT_EQ(settings.ProfCutDist1, "0");
}

TEST_F(PostprocessorFile, ALineLongerThanItsRoomIsCutAndItsRestPassedOver) {
    // MachineType is read with room for 19 characters: a line of 19 reads whole, a longer one is cut after 19,
    // and its rest comes back as a line of its own, which the keyed reader passes over.
    std::vector<std::string> lines = ReadLines(ShippedLaser());
    const int at = IndexOf(lines, "####MachineType");
    PostprocessorSettings settings;
    lines[at + 1] = std::string(19, 'a');
    ASSERT_EQ(ReadLinesAs(lines, settings), 0);
    EXPECT_EQ(settings.MachineType, std::string(19, 'a'));
    lines[at + 1] = std::string(19, 'b') + "REST";
    ASSERT_EQ(ReadLinesAs(lines, settings), 0);
    EXPECT_EQ(settings.MachineType, std::string(19, 'b'));
    EXPECT_EQ(settings.Unit, "mm") << "the next key is still read";
}

TEST_F(PostprocessorFile, KeysMissingFromProfileAreEmptyElsewhereKept) {
    std::vector<std::string> lines = ReadLines(ShippedLaser());
    for (const char* key : {"####ProfCutDist1", "####HomeZ"}) {
        const int at = IndexOf(lines, key);
        lines.erase(lines.begin() + at, lines.begin() + at + 2);
    }
    lines.insert(lines.begin() + IndexOf(lines, "###Code"), {"####HomeX", "0"});  // General keeps 12 key lines
    PostprocessorSettings settings;
    settings.ProfCutDist1 = "7";
    settings.HomeZ = "9";
    ASSERT_EQ(ReadLinesAs(lines, settings), 0);
    EXPECT_EQ(settings.ProfCutDist1, "");
    EXPECT_EQ(settings.HomeZ, "9");
}

TEST_F(PostprocessorFile, RepeatedSectionStandsInForTheEndLine) {
    std::vector<std::string> lines = ReadLines(ShippedLaser());
    lines.pop_back();  // "###EndFile"
    lines.push_back("###ChangePower");
    PostprocessorSettings settings;
    EXPECT_EQ(ReadLinesAs(lines, settings), 0) << "nine sections, one of them twice, and no end line";
}

TEST_F(PostprocessorFile, UnknownArcModeIsKeptWhileTheShownTextStays) {
    std::vector<std::string> lines = ReadLines(ShippedLaser());
    lines[IndexOf(lines, "####CenterArcAbsolute") + 1] = "5";
    PostprocessorSettings settings;
    settings.CenterArcAbsoluteText = kCenterArcModeNames[2];
    ASSERT_EQ(ReadLinesAs(lines, settings), 0);
    EXPECT_EQ(settings.CenterArcAbsolute, 5);
    EXPECT_EQ(settings.CenterArcAbsoluteText, kCenterArcModeNames[2]);
    ASSERT_EQ(WritePostprocessorFile(settings, Path("mode.MXT")), 0);
    const std::vector<std::string> written = ReadLines(Path("mode.MXT"));
    EXPECT_EQ(written[IndexOf(written, "####CenterArcAbsolute") + 1], "2") << "the shown text's mode is stored";
}

// A damaged file: where it is damaged and what the message says. The settings must come back untouched.
struct DamagedCase {
    const char* name;
    void (*damage)(std::vector<std::string>& lines);
    const char* reason;  // part of the message
    int line;            // the line named, 0 for the last line + 1
};

const DamagedCase kDamagedCases[] = {
    {"no end line", [](auto& l) { l.pop_back(); }, "the line \"###EndFile\" is missing.", 0},
    {"section missing",
     [](auto& l) { l.erase(l.begin() + IndexOf(l, "###Profile"), l.begin() + IndexOf(l, "###EndFile")); },
     "the section ###Profile is missing.", -1},
    {"eleven General keys",
     [](auto& l) { l.erase(l.begin() + IndexOf(l, "####HomeZ"), l.begin() + IndexOf(l, "####HomeZ") + 2); },
     "###General holds 11 key lines", -2},
    {"a General key twice",
     [](auto& l) { l.insert(l.begin() + IndexOf(l, "###Code"), {"####HomeZ", "0"}); },
     "###General holds 13 key lines", -2},
    {"block longer than the file",
     [](auto& l) {
         l.resize(IndexOf(l, "####EndFileStr") + 3);
         l[IndexOf(l, "####EndFileStr") + 1] = "50";
     },
     "the value of EndFileStr has 50 lines, but the file ends after 1 of them.", -3},
    {"block count no number", [](auto& l) { l[IndexOf(l, "####CircleStr") + 1] = "three"; },
     "the line count of CircleStr is not a number: \"three\".", -4},
    {"flag no number", [](auto& l) { l[IndexOf(l, "####DefaultAbsolute") + 1] = "yes"; },
     "the value of DefaultAbsolute is not a whole number.", -5},
    {"mode no number", [](auto& l) { l[IndexOf(l, "####CenterArcIncremental") + 1] = "1.5"; },
     "the value of CenterArcIncremental is not a whole number.", -6},
    {"number no number", [](auto& l) { l[IndexOf(l, "####RapidFeed") + 1] = "fast"; },
     "the value of RapidFeed is not a number.", -7},
    {"key without its value", [](auto& l) { l.resize(IndexOf(l, "####HomeZ") + 1); },
     "the file ends before the value of HomeZ.", 0},
    {"version only", [](auto& l) { l.resize(2); }, "the section ###General is missing.", 0},
    {"unknown section", [](auto& l) { l.back() = "###Extra"; }, "the line \"###Extra\" is no section of the file.",
     -8},
    {"no version", [](auto& l) { l.resize(1); }, "the file ends before its version line.", 0},
};

TEST_F(PostprocessorFile, DamagedFilesAreReportedAndChangeNothing) {
    const std::vector<std::string> good = ReadLines(ShippedLaser());
    for (const DamagedCase& c : kDamagedCases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> lines = good;
        c.damage(lines);
        host::ui::clearMessageBoxLog();
        PostprocessorSettings settings = DistinctSettings();
        EXPECT_EQ(ReadLinesAs(lines, settings), -1);
        ExpectSameValues(settings, DistinctSettings());
        ASSERT_EQ(host::ui::messageBoxLog().size(), 1u);
        const host::ui::MessageBoxRecord& box = host::ui::messageBoxLog()[0];
        EXPECT_EQ(box.style & host::ui::MB_ICONMASK, host::ui::MB_ICONERROR);
        EXPECT_NE(box.text.find(Path("case.MXT").string()), std::string::npos) << box.text;
        EXPECT_NE(box.text.find(c.reason), std::string::npos) << box.text;
        int line = 0;
        switch (c.line) {
            case 0: line = static_cast<int>(lines.size()) + 1; break;
            case -1: line = IndexOf(lines, "###EndFile") + 1; break;
            case -2: line = IndexOf(lines, "###Code") + 1; break;
            case -3: line = IndexOf(lines, "####EndFileStr") + 2; break;
            case -4: line = IndexOf(lines, "####CircleStr") + 2; break;
            case -5: line = IndexOf(lines, "####DefaultAbsolute") + 2; break;
            case -6: line = IndexOf(lines, "####CenterArcIncremental") + 2; break;
            case -7: line = IndexOf(lines, "####RapidFeed") + 2; break;
            case -8: line = static_cast<int>(lines.size()); break;
        }
        EXPECT_NE(box.text.find("at line " + std::to_string(line) + ":"), std::string::npos) << box.text;
    }
}

TEST_F(PostprocessorFile, TruncatedPositionalFileIsDamaged) {
    std::vector<std::string> lines = ReadLines(Fixture("positional_41.MXT"));
    lines.resize(lines.size() - 3);  // the last three Profile values
    PostprocessorSettings settings;
    EXPECT_EQ(ReadLinesAs(lines, settings), -1);
    ASSERT_EQ(MessageBoxTexts().size(), 1u);
    EXPECT_NE(MessageBoxTexts()[0].find("the file ends before the value of ProfCutDist3."), std::string::npos);
}

TEST_F(PostprocessorFile, OverlongPositionalLineShiftsTheValuesAndIsCaught) {
    // Without keys, the rest of a cut line becomes the next value and every later value moves down one place:
    // the first number that receives a text shows the damage.
    std::vector<std::string> lines = ReadLines(Fixture("positional_41.MXT"));
    lines[2] = std::string(19, 'L') + "aser";
    PostprocessorSettings settings;
    EXPECT_EQ(ReadLinesAs(lines, settings), -1);
    ASSERT_EQ(MessageBoxTexts().size(), 1u);
    EXPECT_NE(MessageBoxTexts()[0].find("at line 5:\n\rthe value of RapidFeed is not a number."), std::string::npos)
        << MessageBoxTexts()[0];
}

TEST_F(PostprocessorFile, MissingAndForeignFilesGiveTheirMessages) {
    PostprocessorSettings settings = DistinctSettings();
    const std::filesystem::path missing = Path("missing.MXT");
    EXPECT_EQ(ReadPostprocessorFile(settings, missing), -1);
    WriteBytes(Path("foreign.MXT"), "MATERIAL\r\nDENSITY=1\r\n");
    EXPECT_EQ(ReadPostprocessorFile(settings, Path("foreign.MXT")), -1);
    WriteBytes(Path("empty.MXT"), "");
    EXPECT_EQ(ReadPostprocessorFile(settings, Path("empty.MXT")), -1);
    SetLanguageFlag(1);
    EXPECT_EQ(ReadPostprocessorFile(settings, missing), -1);
    SetLanguageFlag(0);
    const std::vector<std::string> expected = {
        "The file is not found: \n\r" + missing.string(),
        "Bad the file: " + Path("foreign.MXT").string() + "     \n\rSelect other file",
        "Bad the file: " + Path("empty.MXT").string() + "     \n\rSelect other file",
        "Файл не найден: \n\r" + missing.string(),
    };
    EXPECT_EQ(MessageBoxTexts(), expected);
    ExpectSameValues(settings, DistinctSettings());
}

// A NUL byte was told as "Bad the file", the message of a file without the mark, so users looked for the mark.
TEST_F(PostprocessorFile, ANulByteIsToldWithItsLine) {
    PostprocessorSettings settings = DistinctSettings();
    const std::filesystem::path file = Fixture("nul_byte.MXT");
    EXPECT_EQ(ReadPostprocessorFile(settings, file), -1);
    SetLanguageFlag(1);
    EXPECT_EQ(ReadPostprocessorFile(settings, file), -1);
    SetLanguageFlag(0);
    const std::vector<std::string> expected = {
        "The postprocessor file " + file.string() +
            " is damaged at line 5:\n\rit holds a NUL byte, so it is no text file (a binary file, or a copy that was "
            "damaged).\n\rSelect other file",
        "Файл постпроцессора " + file.string() +
            " повреждён в строке 5:\n\rв нём нулевой байт, значит это не текстовый файл (двоичный файл или "
            "повреждённая копия).\n\rВыбери другой файл",
    };
    EXPECT_EQ(MessageBoxTexts(), expected);
    ExpectSameValues(settings, DistinctSettings());
}

// A CR that ends no line stayed inside its value, and the settings read could not be saved back.
TEST_F(PostprocessorFile, AStrayCarriageReturnIsToldWithItsLine) {
    PostprocessorSettings settings = DistinctSettings();
    const std::filesystem::path file = Fixture("stray_carriage_return.MXT");
    EXPECT_EQ(ReadPostprocessorFile(settings, file), -1);
    SetLanguageFlag(1);
    EXPECT_EQ(ReadPostprocessorFile(settings, file), -1);
    SetLanguageFlag(0);
    const std::vector<std::string> expected = {
        "The postprocessor file " + file.string() +
            " is damaged at line 5:\n\rit holds a carriage return that ends no line (line ends of another system, "
            "or a copy that was damaged).\n\rSelect other file",
        "Файл постпроцессора " + file.string() +
            " повреждён в строке 5:\n\rв нём символ возврата каретки, который не завершает строку (концы строк "
            "другой системы или повреждённая копия).\n\rВыбери другой файл",
    };
    EXPECT_EQ(MessageBoxTexts(), expected);
    ExpectSameValues(settings, DistinctSettings());
}

TEST_F(PostprocessorFile, WriterRefusesValuesThatWouldNotReadBack) {
    struct Case {
        void (*set)(PostprocessorSettings&);
        const char* message;
    } cases[] = {
        {[](PostprocessorSettings& s) { s.CompLeftStr = "G41\r\nD1"; },
         "The postprocessor file is not written: the value of CompLeftStr holds a line break."},
        {[](PostprocessorSettings& s) { s.MachineType = std::string(19, 'L'); },
         "The postprocessor file is not written: the value of MachineType is longer than 18 characters."},
        {[](PostprocessorSettings& s) { s.CircleStr = "<EOB>\r\n" + std::string(9999, 'x'); },
         "The postprocessor file is not written: the value of CircleStr holds a line longer than 9998 characters."},
        {[](PostprocessorSettings& s) { s.ScaleXYZ = "one"; },
         "The postprocessor file is not written: the value of ScaleXYZ is not a number."},
        {[](PostprocessorSettings& s) { s.NCodeStart = "10.5"; },
         "The postprocessor file is not written: the value of NCodeStart is not a whole number."},
    };
    WriteBytes(Path("old.MXT"), "old contents");
    for (const Case& c : cases) {
        host::ui::clearMessageBoxLog();
        PostprocessorSettings settings;
        c.set(settings);
        EXPECT_EQ(WritePostprocessorFile(settings, Path("old.MXT")), -1);
        EXPECT_EQ(MessageBoxTexts(), std::vector<std::string>{c.message});
        EXPECT_EQ(ReadBytes(Path("old.MXT")), "old contents");
    }
    PostprocessorSettings fine;
    fine.MachineType = std::string(18, 'L');
    EXPECT_EQ(WritePostprocessorFile(fine, Path("old.MXT")), 0) << "18 characters fit the room of 20";
}

TEST_F(PostprocessorFile, WriteIntoAMissingFolderIsReported) {
    PostprocessorSettings settings;
    EXPECT_EQ(WritePostprocessorFile(settings, dir_ / "no" / "such" / "folder" / "x.MXT"), -1);
    ASSERT_EQ(MessageBoxTexts().size(), 1u);
    EXPECT_EQ(MessageBoxTexts()[0].rfind("The postprocessor file is not written: ", 0), 0u);
}

TEST_F(PostprocessorFile, NewRecordHasTheDocumentedDefaults) {
    const PostprocessorSettings s;
    EXPECT_EQ(s.ReturnToHomePoint, 1);
    EXPECT_EQ(s.DefaultAbsolute + s.CutCompensation + s.UseProfilesCut + s.Output_IJ_Always, 0);
    EXPECT_EQ(CenterArcModeFromText(kCenterArcModeNames[2]), 2);
    EXPECT_EQ(CenterArcModeFromText(kCenterArcModeNames[1]), 1);
    EXPECT_EQ(CenterArcModeFromText("typed text"), 0);
}

}  // namespace
