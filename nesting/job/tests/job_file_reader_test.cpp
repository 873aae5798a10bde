// Reading nesting job files: the sample as the dialog writes it, the older layout, drawing paths and block names,
// the lenient quantity and grain lines, and damaged files, which are refused with their line and change nothing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "nesting/job/job_file_reader.h"
#include "nesting/job/job_instances.h"
#include "nesting/job/tests/job_test_support.h"

namespace {

using nesting_job_testing::JobTest;
using nesting_job_testing::JoinCrLf;
using nesting_job_testing::kFixtures;
using nesting_job_testing::SampleLines;

class JobFileReader : public JobTest {
protected:
    // The sample with line `number` (from 1) replaced.
    static std::vector<std::string> SampleWith(int number, const std::string& text) {
        std::vector<std::string> lines = SampleLines();
        lines.at(static_cast<std::size_t>(number - 1)) = text;
        return lines;
    }
    bool Parse(const std::vector<std::string>& lines, JobFileContents& job, JobFileProblem& problem) {
        return ParseNestingJob(Write("job.nst", JoinCrLf(lines)), job, problem);
    }
};

TEST_F(JobFileReader, ReadsEveryValueOfTheSample) {
    CNestingEngine engine;
    ASSERT_EQ(ReadNestingJob(engine, (kFixtures / "sample_job.nst").string()), 0) << LastBox();
    EXPECT_TRUE(host::ui::messageBoxLog().empty());
    ASSERT_EQ(engine.StockTypeCount, 2);
    ASSERT_EQ(engine.PartTypeCount, 2);
    // One spare record each; the part array's takes the clamp type.
    ASSERT_EQ(engine.StockTypes.size(), 3u);
    ASSERT_EQ(engine.PartTypes.size(), 3u);

    const PartType& sheet = engine.StockTypes[0];
    EXPECT_EQ(sheet.JobFileType, kJobFileRectangle);
    EXPECT_EQ(sheet.Path, "Stosk_2500x1250");
    EXPECT_EQ(sheet.BlockName, "SheetA");
    EXPECT_EQ(sheet.Kind, kKindStock);
    EXPECT_EQ(sheet.TypeIndex, 0);
    EXPECT_EQ(sheet.Quantity, 2);
    EXPECT_EQ(sheet.Grain, 0.0);
    EXPECT_EQ(sheet.Priority, 2);

    const PartType& remnant = engine.StockTypes[1];
    EXPECT_EQ(remnant.JobFileType, kJobFileDrawing);
    // A Windows path names nothing here; the ".dwg" is looked up as the DXF beside it.
    EXPECT_EQ(remnant.Path, "C:/Jobs/Stock/REMNANT.dxf");
    EXPECT_EQ(remnant.BlockName, "REMNANT");
    EXPECT_EQ(remnant.TypeIndex, 1);
    EXPECT_EQ(remnant.Quantity, 1);
    EXPECT_EQ(remnant.Priority, 0);

    const PartType& flange = engine.PartTypes[0];
    EXPECT_EQ(flange.JobFileType, kJobFileDrawing);
    EXPECT_EQ(flange.Path, "C:/Jobs/Parts/FLANGE.dxf");
    EXPECT_EQ(flange.BlockName, "FLANGE");
    EXPECT_EQ(flange.Kind, kKindPart);
    EXPECT_EQ(flange.TypeIndex, 2);
    EXPECT_EQ(flange.Quantity, 12);
    EXPECT_EQ(flange.RotationMode, kRotateSector);
    EXPECT_EQ(flange.DeltaIndex, 5.0);
    EXPECT_EQ(flange.RotationStep, 15.0);
    EXPECT_EQ(flange.SectorMax, 12.0);
    EXPECT_EQ(flange.SectorMin, -12.0);
    EXPECT_EQ(flange.Priority, 4);
    EXPECT_EQ(flange.DrawingFlags, 0);

    const PartType& plate = engine.PartTypes[1];
    EXPECT_EQ(plate.JobFileType, kJobFileRectangle);
    EXPECT_EQ(plate.Path, "Part_300x200");
    EXPECT_EQ(plate.BlockName, "Part_300x200");
    EXPECT_EQ(plate.TypeIndex, 3);
    EXPECT_EQ(plate.Quantity, 20);
    EXPECT_EQ(plate.Grain, 90.0);
    EXPECT_EQ(plate.RotationMode, kRotateNone);
    // "No Rotate" writes an empty delta line: index 0, "Any", half a degree.
    EXPECT_EQ(plate.DeltaIndex, 0.0);
    EXPECT_EQ(plate.RotationStep, 0.5);
    EXPECT_EQ(plate.Priority, 2);
}

TEST_F(JobFileReader, KeepsTheHeaderTextsAndReadsLineFeedFilesAlike) {
    std::string lf;
    for (const std::string& line : SampleLines()) lf += line + "\n";
    JobFileContents job;
    JobFileProblem problem;
    ASSERT_TRUE(ParseNestingJob(Write("lf.nst", "\xEF\xBB\xBF" + lf), job, problem)) << problem.Reason;
    EXPECT_FALSE(job.Header.OlderLayout);
    EXPECT_EQ(job.Header.MaterialText, "St37");
    EXPECT_EQ(job.Header.MaterialNumText, "1.0037");
    EXPECT_EQ(job.Header.DensityText, "7.85e-06");
    EXPECT_EQ(job.Header.ThicknessText, "3");
    EXPECT_EQ(job.Header.EdgeOffsetText, "10");
    EXPECT_EQ(job.Header.PartGapText, "4");
    ASSERT_EQ(job.Stocks.size(), 2u);
    ASSERT_EQ(job.Parts.size(), 2u);
    EXPECT_EQ(job.StockNameLines, (std::vector<int>{17, 25}));
    EXPECT_EQ(job.PartNameLines, (std::vector<int>{36, 50}));
}

TEST_F(JobFileReader, OlderLayoutHasNoFileNameLineAndNamesTheRectangleByItsSize) {
    std::vector<std::string> lines = SampleLines();
    lines[0] = "Kestrion Nesting TQ440";
    lines.erase(lines.begin() + 49);  // part 2's file-name line
    lines.erase(lines.begin() + 16);  // stock 1's file-name line
    JobFileContents job;
    JobFileProblem problem;
    ASSERT_TRUE(Parse(lines, job, problem)) << problem.Line << " " << problem.Reason;
    EXPECT_TRUE(job.Header.OlderLayout);
    EXPECT_EQ(job.Stocks[0].BlockName, "Stosk_2500x1250");
    EXPECT_EQ(job.Stocks[0].Quantity, 2);
    EXPECT_EQ(job.Parts[1].BlockName, "Part_300x200");
    EXPECT_EQ(job.Parts[1].Grain, 90.0);
}

TEST_F(JobFileReader, RelativeDrawingPathsAreTakenFromTheJobFolderAndDwgReadsTheDxfBeside) {
    nesting_job_testing::WriteBytes(Dir() / "parts" / "flange.dxf", "0\nEOF\n");
    std::vector<std::string> lines = SampleWith(36, "parts\\flange.dwg");
    JobFileContents job;
    JobFileProblem problem;
    ASSERT_TRUE(Parse(lines, job, problem)) << problem.Reason;
    EXPECT_EQ(job.Parts[0].Path, (Dir() / "parts" / "flange.dxf").string());
    EXPECT_EQ(job.Parts[0].BlockName, "flange");
}

TEST_F(JobFileReader, QuantityAndGrainReadAsTheDialogWroteThem) {
    struct Case {
        const char* quantity;
        const char* grain;
        int expectedQuantity;
        double expectedGrain;
    };
    const Case cases[] = {
        {"12", "45.5", 12, 45.5},  {"-3", "-90", 0, -90.0},   {"abc", "x", 0, 0.0},
        {"  7 pcs", " 30deg", 7, 30.0}, {"", "", 0, 0.0},     {"-99999999999999999999", "1e999", 0, 0.0},
        {"10000", "0", 10000, 0.0},
    };
    for (const Case& c : cases) {
        std::vector<std::string> lines = SampleWith(37, c.quantity);
        lines[37] = c.grain;
        JobFileContents job;
        JobFileProblem problem;
        ASSERT_TRUE(Parse(lines, job, problem)) << c.quantity << ": " << problem.Reason;
        EXPECT_EQ(job.Parts[0].Quantity, c.expectedQuantity) << c.quantity;
        EXPECT_EQ(job.Parts[0].Grain, c.expectedGrain) << c.grain;
    }
}

TEST_F(JobFileReader, DamagedFilesNameTheLineAtFault) {
    struct Case {
        const char* what;
        std::vector<std::string> lines;
        int line;
        const char* where;
        const char* reason;
    };
    std::vector<std::string> cutShort = SampleLines();
    cutShort.resize(40);
    std::vector<std::string> textAfterEnd = SampleLines();
    textAfterEnd.push_back("");
    textAfterEnd.push_back("5");
    const Case cases[] = {
        {"empty file", {}, 1, "header", "the file ends where the signature was expected"},
        {"not a job file", SampleWith(1, "Kestrion Nesting TQ999"), 1, "header", "not a nesting job file"},
        {"cut short", cutShort, 41, "part 1", "the file ends where the half sector was expected"},
        {"stock count not a number", SampleWith(14, "two"), 14, "header", "stock count must be a whole number"},
        {"stock count beyond the bound", SampleWith(14, "1001"), 14, "header", "from 0 to 1000, not \"1001\""},
        {"stock count too high", SampleWith(14, "3"), 32, "stock 3", "the type must be 0"},
        {"stock count too low", SampleWith(14, "1"), 24, "part count", "an empty line was expected, not \"2\""},
        {"part count too high", SampleWith(34, "3"), 62, "part 3", "the type must be 0"},
        {"part count too low", SampleWith(34, "1"), 48, "end of the job", "an empty line was expected, not \"0\""},
        {"type 1", SampleWith(15, "1"), 15, "stock 1", "the type must be 0 (a rectangle) or 2 (a drawing), not \"1\""},
        {"rectangle without size", SampleWith(16, "Stosk_x"), 16, "stock 1", "\"Stosk_x\" gives no size"},
        {"rectangle of width 0", SampleWith(49, "Part_0x200"), 49, "part 2", "gives no size"},
        {"empty drawing path", SampleWith(25, " "), 25, "stock 2", "the path of the drawing is empty"},
        {"quantity 20,000", SampleWith(37, "20000"), 37, "part 1", "the quantity 20000 is more than the 10000"},
        {"quantity beyond any integer", SampleWith(37, "99999999999999999999"), 37, "part 1",
         "the quantity 99999999999999999999 is more than"},
        {"quantity with a unit", SampleWith(37, "20000 pcs"), 37, "part 1", "the quantity 20000 pcs is more than"},
        {"priority 9", SampleWith(43, "9"), 43, "part 1", "priority index must be a whole number from 0 to 8"},
        {"priority of letters", SampleWith(20, "high"), 20, "stock 1", "not \"high\""},
        {"rotation type 4", SampleWith(39, "4"), 39, "part 1",
         "rotation type index must be a whole number from 0 to 3"},
        {"delta index 12", SampleWith(40, "12"), 40, "part 1", "delta angle index must be a whole number from 0 to 11"},
        {"delta index negative", SampleWith(40, "-1"), 40, "part 1", "delta angle index"},
        {"flags beyond a byte", SampleWith(44, "256"), 44, "part 1", "flags line must be a whole number from 0 to 255"},
        {"closing line not empty", SampleWith(21, "x"), 21, "stock 1", "an empty line was expected, not \"x\""},
        {"end mark missing", SampleWith(64, "1"), 64, "end of the job", "the end mark \"0\" was expected"},
        {"text after the end", textAfterEnd, 66, "end of the job", "text follows the end of the job: \"5\""},
        {"line too long", SampleWith(3, std::string(5000, 'M')), 3, "file", "longer than 4096 characters"},
        {"edge offset below 0", SampleWith(9, "-1000"), 9, "header",
         "the stock-edge offset must be a number from 0 to 10000, not \"-1000\""},
        {"edge offset 1e11", SampleWith(9, "1e11"), 9, "header", "stock-edge offset must be a number"},
        {"part gap 1e20", SampleWith(10, "1e20"), 10, "header", "the part gap must be a number from 0 to 10000"},
        {"part gap 2^64", SampleWith(10, "18446744073709551616"), 10, "header", "the part gap must be a number"},
        {"second part gap", SampleWith(11, "-4"), 11, "header", "the part gap must be a number"},
        {"part gap not a number", SampleWith(10, "4mm"), 10, "header", "not \"4mm\""},
        {"thickness below 0", SampleWith(6, "-3"), 6, "header", "the thickness must be a number from 0 to 100000"},
        {"density of letters", SampleWith(5, "heavy"), 5, "header", "the density must be a number"},
        {"rectangle too large", SampleWith(16, "Stosk_2500x1000000"), 16, "stock 1",
         "the rectangle \"Stosk_2500x1000000\" has a side longer than 100000"},
        {"grain beyond a turn", SampleWith(38, "400"), 38, "part 1",
         "the grain angle must be a number from -360 to 360, not \"400\""},
        {"half sector 1e300", SampleWith(41, "1e300"), 41, "part 1", "the half sector must be a number"},
    };
    for (const Case& c : cases) {
        JobFileContents job;
        JobFileProblem problem;
        EXPECT_FALSE(Parse(c.lines, job, problem)) << c.what;
        EXPECT_EQ(problem.Line, c.line) << c.what << ": " << problem.Reason;
        EXPECT_EQ(problem.Where, c.where) << c.what;
        EXPECT_NE(problem.Reason.find(c.reason), std::string::npos) << c.what << ": " << problem.Reason;
    }
}

TEST_F(JobFileReader, RefusedFileShowsFileAndLineAndKeepsTheLoadedJob) {
    CNestingEngine engine;
    ASSERT_EQ(ReadNestingJob(engine, (kFixtures / "sample_job.nst").string()), 0);
    const auto bad = Write("bad.nst", JoinCrLf(SampleWith(37, "20000")));
    EXPECT_EQ(ReadNestingJob(engine, bad.string()), -1);
    ASSERT_EQ(host::ui::messageBoxLog().size(), 1u);
    const host::ui::MessageBoxRecord& box = host::ui::messageBoxLog()[0];
    EXPECT_NE(box.style & host::ui::MB_ICONERROR, 0u);
    EXPECT_NE(box.text.find(bad.string()), std::string::npos) << box.text;
    EXPECT_NE(box.text.find("Line 37, part 1: the quantity 20000 is more than the 10000 copies"), std::string::npos)
        << box.text;
    EXPECT_EQ(engine.StockTypeCount, 2);
    EXPECT_EQ(engine.PartTypeCount, 2);
    EXPECT_EQ(engine.PartTypes[0].Quantity, 12);

    EXPECT_EQ(ReadNestingJob(engine, (Dir() / "missing.nst").string()), -1);
    EXPECT_NE(LastBox().find("cannot be opened"), std::string::npos) << LastBox();
    EXPECT_EQ(engine.PartTypes[1].BlockName, "Part_300x200");

    SetLibraryLanguage(Language::Russian);
    EXPECT_EQ(ReadNestingJob(engine, bad.string()), -1);
    EXPECT_NE(LastBox().find("Строка 37, деталь 1: количество 20000"), std::string::npos) << LastBox();
}

TEST_F(JobFileReader, BlockNamesMustBeValidUniqueAndLeaveClampToTheClamps) {
    struct Case {
        const char* what;
        int line;
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"a part named like a stock", 50, "sheeta",
         "stock 1 (line 17) and part 2 (line 50) both take the block name \"sheeta\""},
        {"two drawings of one title", 25, "D:\\Other\\flange.dwg",
         "stock 2 (line 25) and part 1 (line 36) both take the block name \"FLANGE\""},
        {"the clamps' name", 17, "CLAMP",
         "stock 1 (line 17) takes the block name \"CLAMP\", which is kept for the clamps"},
        {"an empty name", 50, "", "part 2 (line 50) has no block name"},
        {"a separator in a name", 50, "a;b", "the block name \"a;b\" of part 2 (line 50) holds a character"},
    };
    for (const Case& c : cases) {
        host::ui::clearMessageBoxLog();
        CNestingEngine engine;
        const auto file = Write("names.nst", JoinCrLf(SampleWith(c.line, c.text)));
        EXPECT_EQ(ReadNestingJob(engine, file.string()), -1) << c.what;
        EXPECT_NE(LastBox().find(c.message), std::string::npos) << c.what << ": " << LastBox();
        EXPECT_EQ(engine.StockTypeCount, 0) << c.what;
        EXPECT_TRUE(engine.StockTypes.empty()) << c.what;
    }
}

TEST_F(JobFileReader, PartCopiesWithClampsStayWithinTheEngineLimit) {
    std::vector<std::string> lines = SampleWith(37, "9980");  // 9980 + 20 parts
    const auto file = Write("limit.nst", JoinCrLf(lines));
    CNestingEngine engine;
    engine.ClampUse = 1;
    engine.ClampQuantity = 5;
    EXPECT_EQ(ReadNestingJob(engine, file.string()), -1);
    EXPECT_NE(LastBox().find("the job asks for 10005 part copies, clamps included; at most 10000"), std::string::npos)
        << LastBox();
    engine.ClampUse = 0;
    engine.ClampQuantity = 0;
    EXPECT_EQ(ReadNestingJob(engine, file.string()), 0) << LastBox();

    lines = SampleWith(18, "10000");  // 10000 + 1 sheets
    EXPECT_EQ(ReadNestingJob(engine, Write("sheets.nst", JoinCrLf(lines)).string()), -1);
    EXPECT_NE(LastBox().find("the job asks for 10001 sheets"), std::string::npos) << LastBox();
}

TEST_F(JobFileReader, ANewJobReleasesThePreviousInstances) {
    CNestingEngine engine;
    ASSERT_EQ(ReadNestingJob(engine, (kFixtures / "sample_job.nst").string()), 0);
    BuildInstances(engine);
    ASSERT_EQ(engine.PartInstanceCount, 32);
    engine.CurrentStockInstance = &engine.StockInstances[0];
    engine.PlacedPartCount = 3;
    ASSERT_EQ(ReadNestingJob(engine, (kFixtures / "sample_job.nst").string()), 0);
    // The old instances pointed into the replaced type arrays: none may be left.
    EXPECT_TRUE(engine.StockInstances.empty());
    EXPECT_TRUE(engine.PartInstances.empty());
    EXPECT_EQ(engine.StockInstanceCount, 0);
    EXPECT_EQ(engine.PartInstanceCount, 0);
    EXPECT_EQ(engine.CurrentStockInstance, nullptr);
    EXPECT_EQ(engine.PlacedPartCount, 0);
}

TEST(BlockNames, SanitizeBlockNameReplacesWhatTheHostRefuses) {
    const std::pair<std::string, std::string> cases[] = {
        {"a<b>c|d,e=f'g", "a(b)c!d.e-f_g"},
        {"x/y\\z\"w:v;u?t*s", "x_y_z_w_v_u_t_s"},
        {"tab\there`q", "tab_here_q"},
        {"Фланец 1", "Фланец 1"},
    };
    for (const auto& [title, expected] : cases) {
        std::string name = title;
        SanitizeBlockName(name);
        EXPECT_EQ(name, expected) << title;
    }
}

TEST(BlockNames, DrawingBlockNameIsTheFileTitle) {
    const std::pair<std::string, std::string> cases[] = {
        {"C:\\Jobs\\PART.DWG", "PART"}, {"/home/a/plate.dxf", "plate"}, {"flange.Dwg", "flange"},
        {".dwg", ".dwg"},               {"a.dwg.bak", "a.dwg.bak"},    {"C:\\x\\a<b>.dwg", "a(b)"},
        {"noext", "noext"},             {"folder\\", ""},
    };
    for (const auto& [path, expected] : cases) {
        EXPECT_EQ(DrawingBlockName(path), expected) << path;
    }
}

}  // namespace
