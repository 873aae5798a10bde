// The walkers on path groups drawn member by member: a polyline contour with leads and compensation, circles in
// both directions as one block, polyline arcs either way round, members told by the description and not by line
// type, tool kinds and their feeds, the waterjet cutting modes, Esc, the home group and the unloading commands.
#include <gtest/gtest.h>

#include "host/ui/desktop.h"
#include "host/ui/window.h"
#include "laser/nc/path_walkers.h"
#include "laser/nc/tests/nc_test_support.h"

using namespace nc_testing;

namespace {

using Blocks = std::vector<std::string>;

class PathWalkers : public NcTest {
protected:
    // Walks groups 1..count with one `first` as a program does, and answers the blocks.
    Blocks Walk(unsigned count, NcRun* runIn = nullptr) {
        NcRun run = Run();
        NcRun& r = runIn != nullptr ? *runIn : run;
        int first = 0;
        for (unsigned n = 1; n <= count; ++n) EmitContourPath(r, n, first);
        return Written();
    }

    // The square 10..20 entered from the left: rapid from the origin, lead-in, four edges, lead-out down.
    static TestGroup Square(int side = 0) {
        TestGroup g;
        g.side = side;
        g.members = {RapidLine({0, 0}, {8, 10}),   CutLine({8, 10}, {10, 10}),  CutLine({10, 10}, {20, 10}),
                     CutLine({20, 10}, {20, 20}), CutLine({20, 20}, {10, 20}), CutLine({10, 20}, {10, 10}),
                     CutLine({10, 10}, {10, 8})};
        return g;
    }

    // Unloading on, a postprocessor whose unload window is 100 x 100, and one contour (handle 1F) of the box
    // 0,0 - 50,50 inside it.
    void PrepareUnloadWindowJob() {
        LaserSettings().UnloadOption = 1;
        PostprocessorSettings p = ReadablePostprocessor();
        p.UnloadWinMaxSizeXStr = p.UnloadWinMaxSizeYStr = "100";
        Prepare(p);
        ContourRecord r;
        r.handle = 0x1F;
        r.maxX = r.maxY = 50;
        job.contours = {r};
    }
};

TEST_F(PathWalkers, PolylineContourIsCutWithItsCompensationFromLeadInToLeadOut) {
    AddGroup(1, Square(1));
    EXPECT_EQ(Walk(1), (Blocks{
                           "G00 G40 X8.000 Y10.000",
                           "CUT ON",
                           "G01 G41 X10.000 Y10.000 F3000",
                           "G01 X20.000 Y10.000",
                           "G01 X20.000 Y20.000",
                           "G01 X10.000 Y20.000",
                           "G01 X10.000 Y10.000",
                           // A lead-out drawn as a cut line keeps the contour's compensation.
                           "G01 X10.000 Y8.000",
                           "CUT OFF",
                       }));
}

TEST_F(PathWalkers, WithoutLeadOutTheLeadInIsCutWithoutCompensation) {
    TestGroup g = Square(2);
    g.leadOut = false;
    g.members.pop_back();
    AddGroup(1, g);
    const Blocks blocks = Walk(1);
    ASSERT_GE(blocks.size(), 4u);
    EXPECT_EQ(blocks[2], "G01 X10.000 Y10.000 F3000");
    EXPECT_EQ(blocks[3], "G01 G42 X20.000 Y10.000");
}

TEST_F(PathWalkers, CircleIsOneWholeCircleBlockFromAndBackToItsStart) {
    // The path writer draws a circle as two half arcs; cut clockwise they are stored counter-clockwise from the
    // far side, so the first arc does not start at the contour's start.
    const struct {
        const char* name;
        double firstStart, firstEnd, secondStart, secondEnd;
        const char* block;
    } cases[] = {
        {"counter-clockwise", 0, 180, 180, 360, "G03 X20.000 Y10.000 I-10.000 R10"},
        {"clockwise", 180, 360, 0, 180, "G02 X20.000 Y10.000 I-10.000 R-10"},
    };
    for (const auto& c : cases) {
        SetUp();
        TestGroup g;
        g.typeWord = "Slice_Circle";
        g.shape = kShapeCircle;
        g.placement = kPlacementInner;
        g.members = {RapidLine({0, 0}, {16, 10}), CutLine({16, 10}, {20, 10}),
                     ArcMember({10, 10}, 10, c.firstStart, c.firstEnd),
                     ArcMember({10, 10}, 10, c.secondStart, c.secondEnd), CutLine({20, 10}, {20, 6})};
        AddGroup(1, g);
        const Blocks blocks = Walk(1);
        EXPECT_EQ(blocks, (Blocks{"G00 G40 X16.000 Y10.000", "CUT ON", "G01 X20.000 Y10.000 F3000", c.block,
                                  "G01 X20.000 Y6.000", "CUT OFF"}))
            << c.name;
        TearDown();
    }
}

TEST_F(PathWalkers, PolylineArcThatEndsAtTheToolIsCutClockwiseFromItsEndToItsStart) {
    TestGroup g;
    g.leadOut = false;
    g.members = {RapidLine({0, 0}, {12, 0}), CutLine({12, 0}, {10, 0}),
                 // Starts where the tool stands: counter-clockwise to (0, 10).
                 ArcMember({0, 0}, 10, 0, 90),
                 // Ends where the tool stands: cut from (0, 10) back to its start (-10, 20).
                 ArcMember({0, 20}, 10, 180, 270)};
    AddGroup(1, g);
    EXPECT_EQ(Walk(1), (Blocks{
                           "G00 G40 X12.000 Y0.000",
                           "CUT ON",
                           "G01 X10.000 Y0.000 F3000",
                           "G03 X0.000 Y10.000 I-10.000 R10",
                           "G02 X-10.000 Y20.000 J10.000 R-10",
                           "CUT OFF",
                       }));
}

// The description says what each member is; the line type says nothing. Before, a rapid line type that could not
// be loaded drew the jumper gap Continuous, and the gap was cut through with the beam on.
TEST_F(PathWalkers, TheDescriptionTellsCutRapidAndSensorOffWhateverTheLineType) {
    TestGroup g = Square(1);
    g.members = {LineMember({0, 0}, {8, 10}, "Continuous", PathMemberRole::Rapid),
                 CutLine({8, 10}, {10, 10}),
                 CutLine({10, 10}, {20, 10}),
                 // A gap crossed with the tool off, drawn Continuous as when the rapid line type failed to load;
                 // the compensation is written again after it (the rapid itself writes none: the wanted state has
                 // not changed).
                 LineMember({20, 10}, {20, 12}, "Continuous", PathMemberRole::Rapid),
                 // A cut is a cut in any line type.
                 LineMember({20, 12}, {20, 20}, "DASHED", PathMemberRole::Cut),
                 LineMember({20, 20}, {10, 20}, "HIDDEN", PathMemberRole::SensorOff),
                 CutLine({10, 20}, {10, 8})};
    AddGroup(1, g);
    EXPECT_EQ(Walk(1), (Blocks{
                           "G00 G40 X8.000 Y10.000",
                           "CUT ON",
                           "G01 G41 X10.000 Y10.000 F3000",
                           "G01 X20.000 Y10.000",
                           "CUT OFF",
                           "G00 X20.000 Y12.000",
                           "CUT ON",
                           "G01 G41 X20.000 Y20.000",
                           "SENSOR OFF",
                           "G01 X10.000 Y20.000",
                           // The lead-out: back to the contour's tool, compensation as the contour.
                           "G01 X10.000 Y8.000",
                           "CUT OFF",
                           "SENSOR ON",
                       }));
}

TEST_F(PathWalkers, ContourKindChoosesTheToolTemplatesAndFeed) {
    const struct {
        int kind;
        const char* on;
        const char* firstCut;
        const char* off;
    } cases[] = {
        {0, "CUT ON", "G01 X10.000 Y10.000 F3000", "CUT OFF"},
        {13, "CUT ON", "G01 X10.000 Y10.000 F3000", "CUT OFF"},
        {2, "ENGRAVE ON", "G01 X10.000 Y10.000 F800", "ENGRAVE OFF"},
        {25, "T2 ON", "G01 X10.000 Y10.000 F2500", "T2 OFF"},
        {27, "MARK ON", "G01 X10.000 Y10.000 F700", "MARK OFF"},
    };
    for (const auto& c : cases) {
        SetUp();
        TestGroup g = Square();
        g.kind = c.kind;
        AddGroup(1, g);
        const Blocks blocks = Walk(1);
        ASSERT_EQ(blocks.size(), 9u) << c.kind;
        EXPECT_EQ(blocks[1], c.on) << c.kind;
        EXPECT_EQ(blocks[2], c.firstCut) << c.kind;
        EXPECT_EQ(blocks.back(), c.off) << c.kind;
        TearDown();
    }
}

TEST_F(PathWalkers, WaterjetWritesTheCuttingModeOfTheContourKindAfterTheLeadIn) {
    const struct {
        const char* machine;
        int kind;
        const char* contourMode;
    } cases[] = {
        {"Waterjet", 16, "6"},
        {"Waterjet", 11, "-1"},
        {"Waterjet", 0, "-3"},
        {"Waterjet", 19, "-3"},
        {"Laser", 16, "-9"},
    };
    for (const auto& c : cases) {
        SetUp();
        PostprocessorSettings p = ReadablePostprocessor();
        p.MachineType = c.machine;
        p.MoveRapidStr = "R<X-COORD-ALL><Y-COORD-ALL> <WJL><EOB>";
        p.MoveLinearStr = "L<X-COORD-ALL><Y-COORD-ALL> <WJL><EOB>";
        p.CutOnStr = p.CutOffStr = "";
        Prepare(p);
        TestGroup g = Square();
        g.kind = c.kind;
        AddGroup(1, g);
        // The mode is the last word of each block: rapid, lead-in, the four edges, lead-out.
        Blocks modes;
        for (const std::string& b : Walk(1)) modes.push_back(b.substr(b.rfind(' ') + 1));
        const std::string m = c.contourMode;
        EXPECT_EQ(modes, (Blocks{"0", "-9", m, m, m, m, "-9"})) << c.machine << " " << c.kind;
        TearDown();
    }
}

TEST_F(PathWalkers, EscEndsTheGroupAtTheNextMemberWithoutToolOffOrUnloading) {
    PrepareUnloadWindowJob();
    AddGroup(1, Square());
    NcRun run = Run();
    state.StopFlag = true;
    int first = 0;
    EmitContourPath(run, 1, first);
    EXPECT_EQ(Written(), (Blocks{"G00 G40 X8.000 Y10.000", "CUT ON", "G01 X10.000 Y10.000 F3000"}));
}

TEST_F(PathWalkers, HomeGroupIsRapidWithoutCompensationOrLeads) {
    AddGroup(1, Square(1));
    TestGroup home;
    home.typeWord = std::string(kHomeGroupWord);
    // Drawn Continuous, as when the rapid line type failed to load: still the move home with the beam off.
    home.members = {LineMember({10, 8}, {0, 0}, "Continuous", PathMemberRole::Rapid)};
    AddGroup(2, home);
    const Blocks blocks = Walk(2);
    ASSERT_GE(blocks.size(), 2u);
    EXPECT_EQ(blocks[blocks.size() - 2], "CUT OFF");
    EXPECT_EQ(blocks.back(), "G00 G40 X0.000 Y0.000");
}

TEST_F(PathWalkers, FirstPointOfTheRunIsTheFirstMembersStart) {
    // The tool stands at (8, 10) already: the rapid from there is no move at all.
    TestGroup g = Square();
    g.members.front() = RapidLine({8, 10}, {8, 10.0004});
    AddGroup(1, g);
    const Blocks blocks = Walk(1);
    ASSERT_FALSE(blocks.empty());
    EXPECT_EQ(blocks[0], "CUT ON");
}

// Cutting that does not start at home gives the first group no rapid line. Before, the program began with the
// beam on wherever the head stood; now a rapid to the lead-in's start comes first, with both coordinates even
// where they equal the last point the program knows (the origin here). Incremental output cannot say where to.
TEST_F(PathWalkers, AFirstGroupWithoutRapidIsReachedByARapidBeforeTheBeamGoesOn) {
    TestGroup g = Square();
    g.rapid = false;
    g.members.erase(g.members.begin());
    g.members.front() = CutLine({0, 10}, {10, 10});
    AddGroup(1, g);
    Blocks blocks = Walk(1);
    ASSERT_GE(blocks.size(), 3u);
    EXPECT_EQ(blocks[0], "G00 G40 X0.000 Y10.000");
    EXPECT_EQ(blocks[1], "CUT ON");

    PostprocessorSettings p = ReadablePostprocessor();
    p.DefaultAbsolute = 0;
    p.MoveRapidStr = "<MOTION><X-COORD><Y-COORD><EOB>";
    Prepare(p);
    sink.blocks.clear();
    blocks = Walk(1);
    ASSERT_FALSE(blocks.empty());
    EXPECT_EQ(blocks[0], "CUT ON");
}

TEST_F(PathWalkers, UnloadingCommandFollowsTheContourBySizeAndOption) {
    const struct {
        int option;
        const char* max;
        double size;
        int placement;
        int kind;
        const char* expected;  // "" none
    } cases[] = {
        {1, "200", 5, kPlacementOuter, 0, ""},            // within the minimum size
        {1, "200", 50, kPlacementOuter, 0, "UNLOAD WINDOW"},
        {1, "200", 300, kPlacementOuter, 0, "UNLOAD STOP"},
        {1, "200", 50, kPlacementInner, 0, "UNLOAD WINDOW"},
        {2, "200", 50, kPlacementInner, 0, ""},           // no inner contours
        {2, "200", 50, kPlacementOuter, 0, "UNLOAD WINDOW"},
        {3, "200", 50, kPlacementOuter, 0, ""},           // no outer contours
        {3, "200", 50, kPlacementInner, 0, "UNLOAD WINDOW"},
        {0, "200", 50, kPlacementOuter, 0, ""},           // unloading off
        {1, "0", 50, kPlacementOuter, 0, ""},             // no maximum size: off
        {1, "200", 50, kPlacementOuter, 2, ""},           // engraving is no part to unload
    };
    for (const auto& c : cases) {
        SetUp();
        LaserSettings().UnloadOption = c.option;
        PostprocessorSettings p = ReadablePostprocessor();
        p.UnloadWinMaxSizeXStr = p.UnloadWinMaxSizeYStr = c.max;
        p.UnloadWinMinSizeXStr = p.UnloadWinMinSizeYStr = "10";
        Prepare(p);
        ContourRecord r;
        r.handle = 0x1F;
        r.minX = r.minY = 100;
        r.maxX = r.maxY = 100 + c.size;
        job.contours = {ContourRecord{}, r};
        TestGroup g = Square();
        g.placement = c.placement;
        g.kind = c.kind;
        AddGroup(1, g);
        const Blocks blocks = Walk(1);
        ASSERT_FALSE(blocks.empty());
        const std::string& last = blocks.back();
        if (*c.expected == '\0') {
            EXPECT_EQ(last.find("UNLOAD"), std::string::npos) << c.option << " " << c.size << " " << c.placement;
        } else {
            EXPECT_EQ(last, c.expected) << c.option << " " << c.size << " " << c.placement;
        }
        TearDown();
    }
}

// What the simulation sees of a walk: the marker's colour changes and its moves, as text.
class RecordingMarker : public SimulationMarker {
public:
    void ShowToolOn(bool on) override { events.push_back(on ? "feed colour" : "move colour"); }
    void MoveAlongLine(const Point3d& from, const Point3d& to) override {
        events.push_back("line " + Xy(from) + " " + Xy(to));
        const host::ui::Desktop* desktop = host::ui::Desktop::current();
        captured.push_back(desktop != nullptr && desktop->capture() != nullptr &&
                           desktop->capture() == desktop->focus());
    }
    void MoveAlongArc(const Point3d& centre, const Point3d& from, const Point3d& to, bool clockwise) override {
        events.push_back(std::string(clockwise ? "cw " : "ccw ") + Xy(centre) + " " + Xy(from) + " " + Xy(to));
    }
    static std::string Xy(const Point3d& p) {
        char text[64];
        // Rounded, so that 6e-16 from cos(pi / 2) reads as 0.
        std::snprintf(text, sizeof text, "%g,%g", std::round(p.x * 1e6) / 1e6 + 0.0,
                      std::round(p.y * 1e6) / 1e6 + 0.0);
        return text;
    }
    std::vector<std::string> events;
    std::vector<bool> captured;  // per line move: the focused window held the mouse
};

TEST_F(PathWalkers, InTheSimulationTheMovesGoToTheMarkerAndNothingIsWritten) {
    PrepareUnloadWindowJob();
    TestGroup g;
    g.leadOut = false;
    g.members = {RapidLine({0, 0}, {12, 0}), CutLine({12, 0}, {10, 0}), ArcMember({0, 0}, 10, 0, 90),
                 ArcMember({0, 20}, 10, 180, 270)};
    AddGroup(1, g);
    // The window with the keyboard focus holds the mouse while the walk runs, and only then.
    host::ui::Desktop desktop;
    host::ui::Window* window = desktop.createWindow("Edit", "", host::ui::WS_OVERLAPPED | host::ui::WS_VISIBLE,
                                                    {0, 0, 100, 30}, nullptr);
    ASSERT_NE(window, nullptr);
    desktop.setFocus(window);
    RecordingMarker marker;
    NcRun run = Run();
    run.marker = &marker;
    state.OutputMode = 0;
    int first = 0;
    EmitContourPath(run, 1, first);
    EXPECT_TRUE(Written().empty());
    EXPECT_EQ(marker.events, (Blocks{"move colour", "line 0,0 12,0", "feed colour", "line 12,0 10,0",
                                     "feed colour", "ccw 0,0 10,0 0,10", "feed colour", "cw 0,20 0,10 -10,20",
                                     "move colour"}));
    EXPECT_EQ(marker.captured, (std::vector<bool>{true, true}));
    EXPECT_EQ(desktop.capture(), nullptr);
}

}  // namespace
