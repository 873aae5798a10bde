// Profile cutting: holes in quarter arcs with the slow-down point before the end, holes too small to cut, a
// profile distance that would cut part of a hole twice, the split of a polyline's last edges, the lead-out split
// and what profile cutting leaves out (tool switching, marking points, the home group).
#include <gtest/gtest.h>

#include "laser/nc/path_walkers.h"
#include "laser/nc/tests/nc_test_support.h"

using namespace nc_testing;

namespace {

using Blocks = std::vector<std::string>;

class ProfileCut : public NcTest {
protected:
    void SetUp() override {
        NcTest::SetUp();
        UseProfile("5", "1");
    }
    void UseProfile(const char* dist1, const char* dist2, const char* minHole = "5") {
        PostprocessorSettings p = ReadablePostprocessor();
        p.UseProfilesCut = 1;
        p.ProfLead = "LEAD<X-COORD-ALL><Y-COORD-ALL><EOB>";
        p.ProfCutStr = "CUT<X-COORD-ALL><Y-COORD-ALL><EOB>";
        p.ProfCutSm1 = "SM1<X-COORD-ALL><Y-COORD-ALL><EOB>";
        p.ProfCutSm2 = "SM2<X-COORD-ALL><Y-COORD-ALL><EOB>";
        p.ProfCutSm3 = "SM3<X-COORD-ALL><Y-COORD-ALL><EOB>";
        p.ProfCutDist1 = dist1;
        p.ProfCutDist2 = dist2;
        p.ProfMinHoleDiam = minHole;
        Prepare(p);
    }
    Blocks Walk(unsigned count) {
        NcRun run = Run();
        int first = 0;
        for (unsigned n = 1; n <= count; ++n) EmitProfilePath(run, n, first);
        return Written();
    }
    // A hole of radius r about (10, 10) cut counter-clockwise from (10 + r, 10), entered from (10 + r - 4, 10).
    static TestGroup Hole(double r) {
        TestGroup g;
        g.typeWord = "Slice_Circle";
        g.shape = kShapeCircle;
        g.placement = kPlacementInner;
        g.members = {RapidLine({0, 0}, {6 + r, 10}), CutLine({6 + r, 10}, {10 + r, 10}),
                     ArcMember({10, 10}, r, 0, 180), ArcMember({10, 10}, r, 180, 360),
                     CutLine({10 + r, 10}, {10 + r, 6})};
        return g;
    }
    static TestGroup Square() {
        TestGroup g;
        g.members = {RapidLine({0, 0}, {8, 10}),   CutLine({8, 10}, {10, 10}),  CutLine({10, 10}, {20, 10}),
                     CutLine({20, 10}, {20, 20}), CutLine({20, 20}, {10, 20}), CutLine({10, 20}, {10, 10}),
                     CutLine({10, 10}, {10, 8})};
        return g;
    }
};

TEST_F(ProfileCut, HoleIsCutInQuarterArcsWithTheSlowDownPointBeforeTheEnd) {
    AddGroup(1, Hole(10));
    // ProfCutDist1 5 on radius 10: the point 0.5 rad before the start.
    EXPECT_EQ(Walk(1), (Blocks{
                           "LEAD X16.000 Y10.000",
                           "CUT X20.000 Y10.000",
                           "CUT X10.000 Y20.000",
                           "CUT X0.000 Y10.000",
                           "CUT X10.000 Y0.000",
                           "SM1 X18.776 Y5.206",
                           "CUT X20.000 Y10.000",
                           "SM2 X20.000 Y9.000",
                           "SM3 X20.000 Y6.000",
                       }));
}

TEST_F(ProfileCut, ProfileDistanceDecidesWhereTheLastQuarterIsCut) {
    const struct {
        const char* dist1;
        Blocks contour;  // the blocks after the lead-in, before the lead-out
    } cases[] = {
        // Past a quarter of the circle: the slow-down point lies before the third quarter point.
        {"20", {"CUT X10.000 Y20.000", "CUT X0.000 Y10.000", "SM1 X5.839 Y0.907", "CUT X10.000 Y0.000",
                "CUT X20.000 Y10.000"}},
        // Half the circumference or more would start the profile behind the half already cut and cut it twice:
        // the hole is cut without the profile.
        {"31.5", {"CUT X10.000 Y20.000", "CUT X0.000 Y10.000", "CUT X10.000 Y0.000", "CUT X20.000 Y10.000"}},
        {"40", {"CUT X10.000 Y20.000", "CUT X0.000 Y10.000", "CUT X10.000 Y0.000", "CUT X20.000 Y10.000"}},
        // No profile distance: four quarters.
        {"0", {"CUT X10.000 Y20.000", "CUT X0.000 Y10.000", "CUT X10.000 Y0.000", "CUT X20.000 Y10.000"}},
    };
    for (const auto& c : cases) {
        SetUp();
        UseProfile(c.dist1, "1");
        AddGroup(1, Hole(10));
        const Blocks blocks = Walk(1);
        ASSERT_EQ(blocks.size(), c.contour.size() + 4) << c.dist1;
        EXPECT_EQ(Blocks(blocks.begin() + 2, blocks.end() - 2), c.contour) << c.dist1;
        TearDown();
    }
}

TEST_F(ProfileCut, HoleSmallerThanTheMinimumWritesNothingAtAll) {
    AddGroup(1, Hole(2));  // diameter 4, minimum 5
    EXPECT_TRUE(Walk(1).empty());
    UseProfile("5", "1", "4");  // a diameter equal to the minimum is cut
    EXPECT_FALSE(Walk(1).empty());
}

TEST_F(ProfileCut, PolylineIsSplitTheProfileDistanceBeforeItsEnd) {
    const struct {
        const char* dist1;
        const char* dist2;
        Blocks tail;  // the blocks from the fourth edge on
    } cases[] = {
        {"5", "1", {"SM1 X10.000 Y15.000", "CUT X10.000 Y10.000", "SM2 X10.000 Y9.000", "SM3 X10.000 Y8.000"}},
        // The split falls on the edge before the last one.
        {"12", "1",
         {"SM1 X12.000 Y20.000", "CUT X10.000 Y20.000", "CUT X10.000 Y10.000", "SM2 X10.000 Y9.000",
          "SM3 X10.000 Y8.000"}},
        // A lead-out split longer than the lead-out ends at the lead-out's end.
        {"5", "3", {"SM1 X10.000 Y15.000", "CUT X10.000 Y10.000", "SM2 X10.000 Y8.000", "SM3 X10.000 Y8.000"}},
        // No lead-out split: the lead-out is SM2 to its start and SM3 to its end.
        {"5", "0", {"SM1 X10.000 Y15.000", "CUT X10.000 Y10.000", "SM2 X10.000 Y10.000", "SM3 X10.000 Y8.000"}},
    };
    for (const auto& c : cases) {
        SetUp();
        UseProfile(c.dist1, c.dist2);
        AddGroup(1, Square());
        const Blocks blocks = Walk(1);
        const Blocks head{"LEAD X8.000 Y10.000", "CUT X10.000 Y10.000", "CUT X20.000 Y10.000",
                          "CUT X20.000 Y20.000"};
        ASSERT_GE(blocks.size(), head.size()) << c.dist1 << " " << c.dist2;
        const bool splitOnThirdEdge = std::string(c.dist1) == "12";
        const std::size_t headSize = splitOnThirdEdge ? head.size() : head.size() + 1;
        Blocks expectedHead = head;
        if (!splitOnThirdEdge) expectedHead.push_back("CUT X10.000 Y20.000");
        EXPECT_EQ(Blocks(blocks.begin(), blocks.begin() + static_cast<long>(headSize)), expectedHead);
        EXPECT_EQ(Blocks(blocks.begin() + static_cast<long>(headSize), blocks.end()), c.tail)
            << c.dist1 << " " << c.dist2;
        TearDown();
    }
}

// Before: a program whose first path has no rapid line (cutting not started at home) began with "CUT" from
// wherever the head stood. Now the profile's lead move brings it over the first cut's start; later paths without
// a rapid line go on from where the one before ended.
TEST_F(ProfileCut, AFirstPathWithoutARapidLineIsReachedByTheLeadMove) {
    TestGroup square = Square();
    square.rapid = false;
    square.members.erase(square.members.begin());
    AddGroup(1, square);
    AddGroup(2, square);
    const Blocks blocks = Walk(2);
    ASSERT_GE(blocks.size(), 2u);
    EXPECT_EQ(blocks[0], "LEAD X8.000 Y10.000");
    EXPECT_EQ(blocks[1], "CUT X10.000 Y10.000");
    EXPECT_EQ(std::count(blocks.begin(), blocks.end(), "LEAD X8.000 Y10.000"), 1) << blocks.size();
}

TEST_F(ProfileCut, WritesNoToolSwitchingAndSkipsMarkingPointsAndTheHomeGroup) {
    AddGroup(1, Square());
    TestGroup marking;
    marking.typeWord = "MarkingPoint";
    marking.shape = kShapePoint;
    marking.leadIn = marking.leadOut = false;
    marking.members = {RapidLine({10, 8}, {30, 30}), CutLine({30, 30}, {31, 30})};
    AddGroup(2, marking);
    TestGroup home;
    home.typeWord = std::string(kHomeGroupWord);
    home.members = {RapidLine({10, 8}, {0, 0})};
    AddGroup(3, home);
    const Blocks blocks = Walk(3);
    EXPECT_EQ(blocks.size(), 9u);
    for (const std::string& b : blocks) {
        EXPECT_EQ(b.find("CUT O"), std::string::npos) << b;
        EXPECT_EQ(b.find("X30"), std::string::npos) << b;
        EXPECT_EQ(b.find("G00"), std::string::npos) << b;
    }
}

}  // namespace
