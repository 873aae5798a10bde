// Running templates: number formatting on the output grid, block numbers, modal words, the blocks that are not
// written, header keywords and a whole small program.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "laser/job/drawing_slot.h"
#include "laser/post/template_runner.h"
#include "laser/post/tests/post_test_support.h"

using namespace post_test;

namespace {

// The shipped laser postprocessor as a record, for tests to change.
PostprocessorSettings ShippedSettings() {
    PostprocessorSettings settings;
    EXPECT_EQ(ReadPostprocessorFile(settings, ShippedLaser()), 0);
    return settings;
}

class TemplateRunner : public ::testing::Test {
protected:
    void SetUp() override {
        SetLanguageFlag(0);
        host::ui::clearMessageBoxLog();
        Prepare(ShippedSettings());
        state_.Output = &sink_;
        state_.Job = &job_;
    }
    void Prepare(const PostprocessorSettings& settings) {
        ASSERT_EQ(PreparePostprocessorRuntime(settings, "test.MXT", runtime_), 0)
            << (MessageBoxTexts().empty() ? "" : MessageBoxTexts()[0]);
        StartNcProgramState(state_, runtime_);
    }
    // Runs `text` compiled.
    void Run(const std::string& text, int motion = kMotionNone, int blockMode = kBlockAlways) {
        CompiledTemplate compiled;
        ASSERT_EQ(CompileTemplate(text, compiled, 1), 0) << text;
        RunTemplate(state_, runtime_, compiled, motion, blockMode);
    }
    void MoveTo(double x, double y) {
        state_.Target.x = x;
        state_.Target.y = y;
    }
    std::vector<std::string>& Blocks() { return sink_.blocks; }

    PostprocessorRuntime runtime_;
    NcOutputState state_;
    NcBlockList sink_;
    CuttingJob job_;
};

TEST_F(TemplateRunner, CoordinatesAreRoundedOnTheOutputGrid) {
    const struct {
        const char* xFormat;
        const char* scale;
        const char* unit;
        double value;
        const char* text;
    } cases[] = {
        {"4.3", "1", "mm", 12.3456, "12.346"},
        {"4.3", "1", "mm", -0.0004, "0.000"},  // rounds to 0: no sign
        {"4.3", "1", "mm", -0.0006, "-0.001"},  // the value's sign decides the rounding
        {"4.3", "1", "mm", 0.0, "0.000"},
        {"4.3", "2", "mm", 1.5, "3.000"},
        {"4.3", "1", "inc", 25.4, "1.000"},
        {"5", "1", "mm", 2.6, "3"},  // no point: no decimals
        {"4.6", "1", "mm", 3000.123456, "3000.123456"},  // beyond the precision of a float
        {"9.9", "1", "mm", 1.5, "1.500000000"},
    };
    for (const auto& c : cases) {
        PostprocessorSettings settings = ShippedSettings();
        settings.XFormat = c.xFormat;
        settings.ScaleXYZ = c.scale;
        settings.Unit = c.unit;
        Prepare(settings);
        EXPECT_EQ(FormatAbsoluteValue(runtime_, c.value), c.text) << c.xFormat << " " << c.value;
    }
}

TEST_F(TemplateRunner, ValuesWithinOneAndAHalfGridStepsAreTheSame) {
    EXPECT_TRUE(IsSameOutputValue(runtime_, 10.0, 10.0014));
    EXPECT_FALSE(IsSameOutputValue(runtime_, 10.0, 10.0016));
    EXPECT_TRUE(IsSameOutputValue(runtime_, -3.0, -3.0014));
    PostprocessorSettings settings = ShippedSettings();
    settings.ScaleXYZ = "10";
    Prepare(settings);
    EXPECT_FALSE(IsSameOutputValue(runtime_, 10.0, 10.0002)) << "the scale widens the difference";
}

TEST_F(TemplateRunner, IncrementalMovesArePrintedWithTheirSign) {
    PostprocessorSettings settings = ShippedSettings();
    settings.DefaultAbsolute = 0;
    settings.XFormat = "+4.3";
    Prepare(settings);
    state_.Current = {10, 10, 0};
    MoveTo(15, 10);
    Run("<N-CODE>G01<X-COORD><Y-COORD><EOB>");
    MoveTo(12, 10.0002);
    Run("G01<X-COORD><Y-COORD><EOB>");
    MoveTo(12, 10.0002);
    Run("G01<X-COORD><Y-COORD><EOB>", kMotionLinear, kBlockIfMoved);
    MoveTo(12, 10.0002);
    Run("<MOTION-ALL><X-COORD><Y-COORD><EOB>", kMotionLinear, kBlockAlways);
    EXPECT_EQ(Blocks(), (std::vector<std::string>{"N10G01 X+5.000", "G01 X-3.000", "G01 X+0.000 Y+0.000"}))
        << "a move that rounds to 0 writes nothing unless MOTION-ALL forces it";
    MoveTo(20, 10.0002);
    Run("<X-COORD-ABSOLUTE-ALL><Y-COORD-ALL><EOB>");
    EXPECT_EQ(Blocks().back(), "X20.000 Y+0.000") << "the absolute form in incremental output";
}

TEST_F(TemplateRunner, BlockNumbersFollowTheirFormat) {
    const struct {
        const char* format;
        int number;
        const char* text;
    } cases[] = {
        {"04", 10, "N0010"}, {"", 10, "N10"}, {"-6", 7, "N7"}, {"6", 7, "N7"},
        {"+3", 5, "N+5"},    {"05", -3, "N-0003"}, {"0", 12345, "N12345"},
    };
    for (const auto& c : cases) {
        PostprocessorSettings settings = ShippedSettings();
        settings.NFormat = c.format;
        Prepare(settings);
        EXPECT_EQ(FormatBlockNumber(runtime_, c.number), c.text) << "'" << c.format << "'";
    }
}

TEST_F(TemplateRunner, BlocksWithoutWordsAreNotWrittenAndGiveTheirNumberBack) {
    Run("<N-CODE>   <EOB>");
    Run("<N-CODE>M30<EOB>");
    EXPECT_EQ(Blocks(), std::vector<std::string>{"N10M30"});
    Run("  M07 ");
    Run("<N-CODE><EOB>");
    EXPECT_EQ(Blocks().back(), "N20M07") << "words without an end of block go into the next block";
}

// A dropped block: with block mode 1, a move whose end lies on its start writes nothing. Before, its motion word
// and feed still counted as written, so the next move went out without its G01 and F words and the machine cut
// at the rapid feed.
TEST_F(TemplateRunner, ADroppedBlockLeavesTheModalWordsUnwritten) {
    const std::string linear = "<N-CODE><MOTION><X-COORD><Y-COORD><FEED><EOB>";
    state_.Current = {10, 10, 0};
    MoveTo(20, 10);
    Run(linear, kMotionRapid);
    state_.Feed = 3000;
    MoveTo(20.001, 10);  // within the grid's "same" band
    Run(linear, kMotionLinear, kBlockIfMoved);
    EXPECT_EQ(Blocks(), std::vector<std::string>{"N10G00 X20.000"});
    MoveTo(30, 10);
    Run(linear, kMotionLinear, kBlockIfMoved);
    EXPECT_EQ(Blocks().back(), "N20G01 X30.000 F3000") << "number, motion and feed as if the dropped block never was";
}

TEST_F(TemplateRunner, MotionWordsAreModalAndMotionAllForcesCoordinates) {
    const std::string tmpl = "<N-CODE><MOTION><X-COORD><Y-COORD><EOB>";
    MoveTo(5, 0);
    Run(tmpl, kMotionLinear);
    MoveTo(6, 0);
    Run(tmpl, kMotionLinear);
    Run("<N-CODE><MOTION-ALL><X-COORD><Y-COORD><EOB>", kMotionLinear);
    EXPECT_EQ(Blocks(), (std::vector<std::string>{"N10G01 X5.000", "N20X6.000", "N30G01 X6.000 Y0.000"}));
}

TEST_F(TemplateRunner, ArcValuesFollowTheCentreMode) {
    // A counter-clockwise quarter from (10,0) around (0,0) to (0,10).
    const auto arc = [&](const std::string& tmpl) {
        state_.Current = {10, 0, 0};
        state_.Centre = {0, 0, 0};
        MoveTo(0, 10);
        Run(tmpl, kMotionCounterClockwise, kBlockAlways);
    };
    const struct {
        int mode;
        const char* block;
    } cases[] = {
        {kCenterArcAbsoluteCentre, "X0.000 Y10.000 I0.000 J0.000"},
        {kCenterArcStartToCentre, "X0.000 Y10.000 I-10.000"},
        {kCenterArcCentreToStart, "X0.000 Y10.000 I10.000"},
    };
    for (const auto& c : cases) {
        PostprocessorSettings settings = ShippedSettings();
        settings.CenterArcAbsolute = c.mode;
        settings.XCode = "X";
        settings.YCode = " Y";
        Prepare(settings);
        Blocks().clear();
        arc("<X-COORD><Y-COORD><ARC-X><ARC-Y><EOB>");
        EXPECT_EQ(Blocks(), std::vector<std::string>{c.block}) << c.mode;
    }
}

TEST_F(TemplateRunner, AbsoluteCentreIsWrittenAgainInEveryProgram) {
    PostprocessorSettings settings = ShippedSettings();
    settings.CenterArcAbsolute = kCenterArcAbsoluteCentre;
    Prepare(settings);
    state_.Centre = {5, 5, 0};
    state_.Sweep = 2 * std::numbers::pi;  // whole circles: no end words
    Run("G03<ARC-X><ARC-Y><EOB>", kMotionCounterClockwise);
    Run("G03<ARC-X><ARC-Y><EOB>", kMotionCounterClockwise);
    StartNcProgramState(state_, runtime_);
    Run("G03<ARC-X><ARC-Y><EOB>", kMotionCounterClockwise);
    EXPECT_EQ(Blocks(), (std::vector<std::string>{"G03 I5.000 J5.000", "G03", "G03 I5.000 J5.000"}));
    settings.Output_IJ_Always = 1;
    Prepare(settings);
    Run("G03<ARC-X><ARC-Y><EOB>", kMotionCounterClockwise);
    Run("G03<ARC-X><ARC-Y><EOB>", kMotionCounterClockwise);
    EXPECT_EQ(Blocks().back(), "G03 I5.000 J5.000");
}

TEST_F(TemplateRunner, RadiusWordsAreSignedAndScaled) {
    state_.Radius = -12.5;  // clockwise
    state_.Sweep = std::numbers::pi / 2;
    Run("G02<ARC-R><EOB>");
    state_.Radius = 12.5;
    state_.Sweep = 1.5 * std::numbers::pi;
    Run("G03<ARC-R2><EOB>");
    state_.Sweep = std::numbers::pi;
    Run("G03<ARC-R2><EOB>");
    EXPECT_EQ(Blocks(), (std::vector<std::string>{"G02 R-12.5", "G03 R-12.5", "G03 R12.5"}));
    PostprocessorSettings settings = ShippedSettings();
    settings.ScaleXYZ = "2";
    Prepare(settings);
    state_.Radius = -12.5;
    Run("<ARC-R><EOB>");
    EXPECT_EQ(Blocks().back(), "R-25") << "radii are scaled like the end points";
}

TEST_F(TemplateRunner, CompensationWordsAndTheDiameterWord) {
    PostprocessorSettings settings = ShippedSettings();
    settings.CutCompensation = 1;
    Prepare(settings);
    const std::string tmpl = "<N-CODE>G01<COMP><D-COMP><X-COORD><EOB>";
    state_.WantedComp = kCompLeft;
    MoveTo(1, 0);
    Run(tmpl);
    MoveTo(2, 0);
    Run(tmpl);
    state_.WantedComp = kCompRight;
    MoveTo(3, 0);
    Run("<COMP><N-CODE><D-COMP><X-COORD><EOB>");
    state_.WantedComp = kCompOff;
    MoveTo(4, 0);
    Run(tmpl);
    Run("<COMP-OFF><EOB>");
    EXPECT_EQ(Blocks(), (std::vector<std::string>{"N10G01 G41 D01 X1.000", "N20G01 X2.000", "N30G42 X3.000",
                                                  "N40G01 G40 X4.000", "G40"}))
        << "a block number between COMP and D-COMP drops the diameter word";
    settings.CutCompensation = 0;
    Prepare(settings);
    state_.WantedComp = kCompLeft;
    Run("<COMP><COMP-ALL>M<EOB>");
    EXPECT_EQ(Blocks().back(), "M") << "no compensation words when compensation is off";
}

TEST_F(TemplateRunner, CuttingModeIsWrittenWhenItChanges) {
    state_.CuttingModeText = "Q3";
    Run("<SETCUTTINGMODE 5><EOB><SETCUTTINGMODE 5><WJL><EOB><SETCUTTINGMODE 6><EOB>");
    EXPECT_EQ(Blocks(), (std::vector<std::string>{"5", "Q3", "6"}));
}

TEST_F(TemplateRunner, HeaderKeywordsReadTheJob) {
    job_.programName = "part1";
    job_.materialNumber = "42";
    job_.thickness = 2.5;
    job_.extentsMin = {10, 20, 0};
    job_.extentsMax = {1010.456, 520, 0};
    job_.totalSeconds = 125.5;
    state_.OutputPath = "/tmp/out/part.v2.nc";
    const struct {
        const char* keyword;
        const char* material;
        const char* text;
    } cases[] = {
        {"NAME-PROGRAM", "", "PART1"},
        {"NAME-FILE-PROGRAM", "", "PART"},
        {"NAME-POSTPROCESSOR", "", "Generic G-code laser"},
        {"MATERIAL-NUM", "", "42"},
        {"MATERIAL", "Steel.MAT", "Steel"},
        {"MATERIAL", "alu.mat", "alu"},
        {"MATERIAL", "Cu.MAT.mat", "Cu"},
        {"MATERIAL", ".MAT", ".MAT"},  // at the very beginning: not cut
        {"MATERIAL", "brass", "brass"},
        {"THIN", "", "2.500"},
        {"THIN.0", "", "2"},
        {"THINx10.0", "", "25"},
        {"FORMAT", "", "1000.456 X 500.000"},
        {"LIST-SIZE-X", "", "1000.46"},
        {"LIST-SIZE-Y.0", "", "500"},
        {"TIME", "", "2 MIN 5.5 SEC"},
        {"CUT-ON", "", ""},
        {"DATA", "", ""},
    };
    for (const auto& c : cases) {
        Blocks().clear();
        job_.material = c.material;
        Run(std::string("[<") + c.keyword + ">]<EOB>");
        EXPECT_EQ(Blocks(), std::vector<std::string>{std::string("[") + c.text + "]"}) << c.keyword;
    }
    EXPECT_EQ(job_.programName, "PART1") << "the job's program name is turned to capitals";
    state_.Job = nullptr;
    Blocks().clear();
    Run("[<THIN>]<EOB>");
    EXPECT_EQ(Blocks(), std::vector<std::string>{"[]"});
}

TEST_F(TemplateRunner, TrimLineAndClampRunTheirTemplatesWhenPresent) {
    job_.verticalTrimStart = {1500.4, 0, 0};
    job_.verticalTrimEnd = {1500.4, 1250.6, 0};
    job_.clampPoints[0] = {400, 0, 0};
    job_.clampPoints[1] = {1510, 0, 0};
    Run("<TRIM-LINE><CLAMP>");
    EXPECT_TRUE(Blocks().empty()) << "no trim line, no clamps";
    job_.trimLineBits = kTrimLineVertical;
    Run("<TRIM-LINE>");
    state_.ClampUse = 1;
    Run("<CLAMP>");
    EXPECT_EQ(Blocks(), (std::vector<std::string>{"(TRIM LINE X1500 Y0 X1500 Y1251)", "(CLAMPS X400 X1510 X0)"}));
}

// The number after `letter` in a block ("X5856.278" gives 5856.278); `fallback` when the block has no such word.
double WordValue(const std::string& block, char letter, double fallback) {
    const std::size_t at = block.find(letter);
    return at == std::string::npos ? fallback : std::stod(block.substr(at + 1));
}

// A hole's lead-in whose end lies 1.4 grid steps from its start in x: the x word is not written again, so the
// machine stays at the rapid's x. Before, the whole circle that followed ended at the circle's drawn start, 0.002
// beside where the machine stood: a controller reads that as a sliver of an arc and leaves the hole uncut. Its
// centre offsets were taken from the drawn start as well.
TEST_F(TemplateRunner, AWholeCircleEndsWhereTheBlocksLeftTheMachine) {
    const std::string circle = "<N-CODE><MOTION><X-COORD-ALL><Y-COORD-ALL><ARC-X><ARC-Y><EOB>";
    state_.Current = {5850, 3280, 0};
    MoveTo(5856.2784, 3286.6);
    Run("<N-CODE><MOTION><X-COORD><Y-COORD><EOB>", kMotionRapid);
    MoveTo(5856.2798, 3288.275);
    Run("<N-CODE><MOTION><X-COORD><Y-COORD><EOB>", kMotionLinear, kBlockIfMoved);
    state_.Centre = {5856.2798 + 0.139, 3288.275 - 1.608, 0};
    state_.Sweep = 2 * std::numbers::pi;
    Run(circle, kMotionClockwise, 0);
    EXPECT_EQ(Blocks(), (std::vector<std::string>{"N10G00 X5856.278 Y3286.600", "N20G01 Y3288.275",
                                                  "N30G02 X5856.278 Y3288.275 I0.141 J-1.608"}));
}

// Arcs at coordinates in the thousands, about centres anywhere on or off the grid: the start is where the machine
// stands as written, the centre offsets come from there, and the end is the printed end or a grid point beside it
// whose distance from the centre agrees with the start's to half a step. Before, the three points were rounded on
// their own and the radii differed by up to a step and a half.
TEST_F(TemplateRunner, AnArcsRadiiAtStartAndEndAgreeToHalfAStep) {
    const std::string arcTemplate = "<MOTION><X-COORD-ALL><Y-COORD-ALL><ARC-X><ARC-Y><EOB>";
    for (const int mode : {kCenterArcStartToCentre, kCenterArcCentreToStart, kCenterArcAbsoluteCentre}) {
        PostprocessorSettings settings = ShippedSettings();
        settings.CenterArcAbsolute = mode;
        settings.Output_IJ_Always = 1;
        Prepare(settings);
        for (int k = 0; k < 400; ++k) {
            const double cx = 1234.5678 + 13.0771 * k, cy = 4321.1234 - 7.3313 * k;
            const double r = 0.7 + 0.61937 * (k % 37), a = 0.1713 * k, sweep = 0.3 + 0.0113 * (k % 200);
            Blocks().clear();
            MoveTo(cx + r * std::cos(a), cy + r * std::sin(a));
            Run("<X-COORD-ALL><Y-COORD-ALL><EOB>", kMotionRapid);  // the start as written
            state_.Centre = {cx, cy, 0};
            state_.Sweep = sweep;
            MoveTo(cx + r * std::cos(a + sweep), cy + r * std::sin(a + sweep));
            Run(arcTemplate, kMotionCounterClockwise);
            ASSERT_EQ(Blocks().size(), 2u);
            const double sx = WordValue(Blocks()[0], 'X', 0), sy = WordValue(Blocks()[0], 'Y', 0);
            const double ex = WordValue(Blocks()[1], 'X', sx), ey = WordValue(Blocks()[1], 'Y', sy);
            double i = WordValue(Blocks()[1], 'I', 0), j = WordValue(Blocks()[1], 'J', 0);
            if (mode == kCenterArcStartToCentre) {
                i += sx;
                j += sy;
            } else if (mode == kCenterArcCentreToStart) {
                i = sx - i;
                j = sy - j;
            }
            const double mismatch = std::fabs(std::hypot(sx - i, sy - j) - std::hypot(ex - i, ey - j));
            EXPECT_LE(mismatch, 0.0005 + 1e-9) << mode << ": " << Blocks()[0] << " / " << Blocks()[1];
            EXPECT_LE(std::hypot(ex - state_.Target.x, ey - state_.Target.y), 0.0045) << Blocks()[1];
        }
    }
}

// After an arc whose end was moved a step to make the radii agree, incremental moves count from where that arc
// left the machine: the next move still arrives at the printed point, and no step is lost over many arcs.
TEST_F(TemplateRunner, IncrementalMovesCountFromWhereTheArcsLeftTheMachine) {
    PostprocessorSettings settings = ShippedSettings();
    settings.DefaultAbsolute = 0;
    settings.CenterArcIncremental = kCenterArcStartToCentre;
    Prepare(settings);
    state_.Current = {0, 0, 0};
    double x = 0, y = 0;  // where the machine stands, adding up the increments
    for (int k = 0; k < 200; ++k) {
        const double cx = 2000 + 3.3171 * k, cy = 1000 + 1.1173 * k, r = 1.3 + 0.0731 * (k % 13);
        const double a = 0.37 * k;
        MoveTo(cx + r * std::cos(a), cy + r * std::sin(a));
        Blocks().clear();
        Run("<X-COORD><Y-COORD><EOB>", kMotionLinear);
        state_.Centre = {cx, cy, 0};
        state_.Sweep = 1.1;
        MoveTo(cx + r * std::cos(a + 1.1), cy + r * std::sin(a + 1.1));
        Run("<X-COORD-ALL><Y-COORD-ALL><ARC-X><ARC-Y><EOB>", kMotionCounterClockwise);
        for (const std::string& block : Blocks()) {
            x += WordValue(block, 'X', 0);
            y += WordValue(block, 'Y', 0);
        }
    }
    MoveTo(5000.0004, 1000.0004);
    Blocks().clear();
    Run("<X-COORD-ALL><Y-COORD-ALL><EOB>", kMotionLinear);
    x += WordValue(Blocks()[0], 'X', 0);
    y += WordValue(Blocks()[0], 'Y', 0);
    EXPECT_NEAR(x, 5000.0, 1e-6);
    EXPECT_NEAR(y, 1000.0, 1e-6);
}

// Which arcs are whole circles, and which are too short to tell from one by their printed ends (a straight cut).
TEST_F(TemplateRunner, WholeCirclesAndArcsTooShortForTheirPrintedEnds) {
    const double pi = std::numbers::pi;
    const struct {
        double endX, endY, sweep;
        bool whole, shortArc;
    } cases[] = {
        {100.0, 50.0, 2 * pi, true, false},      // a full turn
        {100.0014, 50.0, 1.9 * pi, true, false},  // more than half a turn, ending where it starts as printed
        {100.0014, 50.0, 0.001, false, true},     // a sliver
        {100.009, 50.0, 0.01, false, true},       // nine steps
        {100.0, 50.011, 0.01, false, false},      // eleven steps
        {101.0, 50.0, 0.5, false, false},
    };
    for (const auto& c : cases) {
        state_.Current = {100, 50, 0};
        MoveTo(c.endX, c.endY);
        state_.Sweep = c.sweep;
        EXPECT_EQ(IsWholeCircleMove(state_, runtime_), c.whole) << c.endX << " " << c.endY << " " << c.sweep;
        EXPECT_EQ(IsShortArcMove(state_, runtime_), c.shortArc) << c.endX << " " << c.endY << " " << c.sweep;
    }
    // An arc that is no whole circle and prints its end on its start is never written: a controller would cut a
    // whole circle.
    state_.Current = {100, 50, 0};
    state_.Centre = {90, 50, 0};
    state_.Sweep = 0.0001;
    MoveTo(100, 50.0004);
    Run("<N-CODE><MOTION><X-COORD-ALL><Y-COORD-ALL><ARC-X><ARC-Y><EOB>", kMotionCounterClockwise, kBlockAlways);
    EXPECT_TRUE(Blocks().empty()) << Blocks().front();
}

// The program of a square part through the shipped postprocessor, driven as the NC output drives it.
TEST_F(TemplateRunner, ShippedLaserWritesASmallProgram) {
    job_.programName = "part1";
    job_.material = "Steel.MAT";
    job_.thickness = 2;
    RunTemplate(state_, runtime_, runtime_.StartPrgStr, kMotionNone, kBlockAlways);
    MoveTo(10, 10);
    RunTemplate(state_, runtime_, runtime_.MoveRapidStr, kMotionRapid, kBlockAlways);
    RunTemplate(state_, runtime_, runtime_.CutOnStr, kMotionNone, kBlockAlways);
    state_.Feed = 3000;
    for (const auto& [x, y] : {std::pair{15.0, 10.0}, {65, 10}, {65, 40}, {15, 40}, {15, 10}, {15, 5}}) {
        MoveTo(x, y);
        RunTemplate(state_, runtime_, runtime_.MoveLinearStr, kMotionLinear, kBlockIfMoved);
    }
    // A full circle of radius 5 around (40,25) from (45,25), a full turn as the walkers give it.
    MoveTo(45, 25);
    RunTemplate(state_, runtime_, runtime_.MoveRapidStr, kMotionRapid, kBlockAlways);
    state_.Centre = {40, 25, 0};
    state_.Sweep = 2 * std::numbers::pi;
    RunTemplate(state_, runtime_, runtime_.CircleStr, kMotionCounterClockwise, 0);
    RunTemplate(state_, runtime_, runtime_.CutOffStr, kMotionNone, kBlockAlways);
    MoveTo(0, 0);
    RunTemplate(state_, runtime_, runtime_.MoveRapidStr, kMotionRapid, kBlockAlways);
    RunTemplate(state_, runtime_, runtime_.EndPrgStr, kMotionNone, kBlockAlways);
    RunTemplate(state_, runtime_, runtime_.EndFileStr, kMotionNone, kBlockAlways);
    const std::vector<std::string> expected = {
        "%",
        "(PART1 Steel T=2.000)",
        "N10G21 G90 G40",
        "N20G00 X10.000 Y10.000",
        "N30M07",
        "N40G01 X15.000 F3000",
        "N50X65.000",
        "N60Y40.000",
        "N70X15.000",
        "N80Y10.000",
        "N90Y5.000",
        "N100G00 X45.000 Y25.000",
        "N110G03 I-5.000",
        "N120M08",
        "N130G00 X0.000 Y0.000",
        "N140M30",
        "%",
    };
    EXPECT_EQ(Blocks(), expected);
}

}  // namespace
