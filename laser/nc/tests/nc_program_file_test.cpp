// The NC program file: default names, the cutting-mode texts, a whole program written with CR LF ends, the empty
// program of a drawing without contours, a file that cannot be written, and what one program must not inherit
// from the run before it (Esc of a simulation, remembered arc centres).
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <functional>
#include <unistd.h>

#include "laser/nc/tests/nc_test_support.h"

using namespace nc_testing;

namespace {

namespace fs = std::filesystem;

fs::path ProgramFileTempDir() {
    const fs::path dir = fs::temp_directory_path() / ("kestrion_nc_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    return dir;
}

TEST(NcProgramNames, DefaultNameReplacesTheDrawingsExtension) {
    const struct {
        const char* drawing;
        const char* ext;
        const char* name;
    } cases[] = {
        {"part.dxf", "cnc", "part.cnc"},
        {"part.dxf", "nc", "part.nc"},
        {"part.v2.dxf", "nc", "part.v2.nc"},
        {"part", "nc", "part.nc"},
        {".dxf", "nc", ".dxf.nc"},
        {"part.dxf", "", "part"},
        {"деталь.dxf", "cnc", "деталь.cnc"},
    };
    for (const auto& c : cases) EXPECT_EQ(DefaultNcFileName(c.drawing, c.ext), c.name) << c.drawing;
}

TEST(NcProgramNames, CuttingModeTextsOfARun) {
    PostprocessorRuntime runtime;
    runtime.CuttingModeTexts[20] = "left over";
    SetCuttingModeTexts(runtime);
    const char* expected[] = {"0", "-1", "-2", "-3", "-4", "-5", "6", "7", "-8", "-9"};
    for (std::size_t i = 0; i < 10; ++i) EXPECT_EQ(runtime.CuttingModeTexts[i], expected[i]) << i;
    for (std::size_t i = 10; i < runtime.CuttingModeTexts.size(); ++i) EXPECT_TRUE(runtime.CuttingModeTexts[i].empty());
    EXPECT_EQ(runtime.LeadText, "-9");
}

class NcProgramFile : public NcTest {
protected:
    void AddSquares(int count) {
        for (int i = 0; i < count; ++i) {
            const double x = 20.0 * i;
            TestGroup g;
            g.leadOut = false;
            g.members = {RapidLine({x - 5, 0}, {x - 2, 0}), CutLine({x - 2, 0}, {x, 0}), CutLine({x, 0}, {x + 10, 0}),
                         CutLine({x + 10, 0}, {x + 10, 10}), CutLine({x + 10, 10}, {x, 10}),
                         CutLine({x, 10}, {x, 0})};
            AddGroup(static_cast<unsigned>(i + 1), g);
        }
    }
    bool Write(const fs::path& path, bool hasJob, int groups, std::string& error) {
        NcRun run{state, runtime, LaserSettings(), &job, nullptr};
        return WriteNcProgramFile(path, run, hasJob, groups, error);
    }
};

TEST_F(NcProgramFile, WholeProgramWithCrLfEnds) {
    AddSquares(2);
    const fs::path path = ProgramFileTempDir() / "two.nc";
    std::string error;
    ASSERT_TRUE(Write(path, true, 2, error)) << error;
    EXPECT_EQ(ReadBytes(path),
              "START\r\n"
              "G00 G40 X-2.000 Y0.000\r\n"
              "CUT ON\r\n"
              "G01 X0.000 Y0.000 F3000\r\n"
              "G01 X10.000 Y0.000\r\n"
              "G01 X10.000 Y10.000\r\n"
              "G01 X0.000 Y10.000\r\n"
              "G01 X0.000 Y0.000\r\n"
              "CUT OFF\r\n"
              "G00 X18.000 Y0.000\r\n"
              "CUT ON\r\n"
              "G01 X20.000 Y0.000\r\n"
              "G01 X30.000 Y0.000\r\n"
              "G01 X30.000 Y10.000\r\n"
              "G01 X20.000 Y10.000\r\n"
              "G01 X20.000 Y0.000\r\n"
              "CUT OFF\r\n"
              "END\r\n"
              "%\r\n");
    EXPECT_EQ(state.Output, nullptr) << "the run must not keep the file's sink";
}

TEST_F(NcProgramFile, DrawingWithoutContoursGivesAnEmptyFile) {
    AddSquares(1);
    const fs::path path = ProgramFileTempDir() / "empty.nc";
    std::string error;
    ASSERT_TRUE(Write(path, false, 1, error)) << error;
    ASSERT_TRUE(fs::exists(path));
    EXPECT_EQ(fs::file_size(path), 0u);
}

TEST_F(NcProgramFile, FileThatCannotBeWrittenIsReportedAndNothingIsLeft) {
    AddSquares(1);
    const fs::path path = ProgramFileTempDir() / "no such folder" / "x.nc";
    std::string error;
    EXPECT_FALSE(Write(path, true, 1, error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(fs::exists(path.parent_path()));
    EXPECT_FALSE(Write("", true, 1, error));
}

// A lead-in span of 1e308 once gave "G00 X-inf Y-inf" in a program reported as created. A number the program
// cannot print (an overflow of the output grid, an infinite feed, a header value) stops it: the path group is
// named, no block with it reaches the sink, and no file is written; the next program starts clean.
TEST_F(NcProgramFile, ANumberThatIsNotFiniteStopsTheProgramAndKeepsNoFile) {
    const fs::path dir = ProgramFileTempDir() / "not_finite";
    fs::create_directories(dir);
    const fs::path path = dir / "plate.nc";
    struct Case {
        const char* what;
        std::function<void()> spoil;
        const char* named;
    };
    const Case cases[] = {
        {"a point beyond the output grid",
         [this] {
             TestGroup g;
             g.leadOut = false;
             g.members = {RapidLine({60, 0}, {1e306, 0}), CutLine({1e306, 0}, {70, 0}), CutLine({70, 0}, {60, 0})};
             AddGroup(2, g);
         },
         "the path group DOROZ_2 holds a number that is not finite"},
        {"an infinite feed", [] { LaserSettings().FeedCut = INFINITY; },
         "the path group DOROZ_1 holds"},
        {"a header value",
         [this] {
             job.thickness = NAN;
             state.Job = &job;
             PostprocessorSettings p = ReadablePostprocessor();
             p.StartPrgStr = "START <THIN><EOB>";
             Prepare(p);
         },
         "the start of the program holds a number that is not finite"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        AddSquares(1);
        c.spoil();
        std::ofstream(path, std::ios::binary) << "the old program";
        std::string error;
        EXPECT_FALSE(Write(path, true, 2, error));
        EXPECT_EQ(error.rfind(c.named, 0), 0u) << error;
        EXPECT_EQ(ReadBytes(path), "the old program");
        EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1) << "no temporary file left";
        TearDown();
    }

    // The next program of the run, without the fault, is written whole.
    SetUp();
    AddSquares(1);
    state.Current = {INFINITY, NAN, 0};
    state.NonFinite = true;
    std::string error;
    ASSERT_TRUE(Write(path, true, 1, error)) << error;
    EXPECT_EQ(ReadBytes(path).rfind("START\r\nG00 G40 X-2.000 Y0.000\r\n", 0), 0u) << ReadBytes(path);
}

TEST_F(NcProgramFile, EscOfAnEarlierSimulationDoesNotShortenTheProgram) {
    AddSquares(3);
    const fs::path path = ProgramFileTempDir() / "after_esc.nc";
    state.StopFlag = true;
    std::string error;
    ASSERT_TRUE(Write(path, true, 3, error)) << error;
    const std::string text = ReadBytes(path);
    EXPECT_NE(text.find("X40.000 Y10.000"), std::string::npos) << text;
    EXPECT_NE(text.find("END\r\n"), std::string::npos);
}

TEST_F(NcProgramFile, EveryProgramWritesItsFirstArcCentreAgain) {
    // With centre words written only when they change, a program must not take "unchanged" from the centre the
    // run before it wrote last: the machine starts every program knowing no centre.
    PostprocessorSettings p = ReadablePostprocessor();
    p.Output_IJ_Always = 0;
    p.CenterArcAbsolute = kCenterArcAbsoluteCentre;
    Prepare(p);
    TestGroup g;
    g.typeWord = "Slice_Circle";
    g.shape = kShapeCircle;
    g.leadOut = false;
    g.members = {RapidLine({0, 0}, {16, 10}), CutLine({16, 10}, {20, 10}), ArcMember({10, 10}, 10, 0, 180),
                 ArcMember({10, 10}, 10, 180, 360)};
    AddGroup(1, g);
    const fs::path first = ProgramFileTempDir() / "first.nc", second = ProgramFileTempDir() / "second.nc";
    std::string error;
    ASSERT_TRUE(Write(first, true, 1, error)) << error;
    ASSERT_TRUE(Write(second, true, 1, error)) << error;
    const std::string text = ReadBytes(first);
    EXPECT_NE(text.find("G03 X20.000 Y10.000 I10.000 J10.000 R10"), std::string::npos) << text;
    EXPECT_EQ(ReadBytes(second), text);
}

}  // namespace
