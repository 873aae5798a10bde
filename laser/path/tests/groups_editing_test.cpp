// Editing the written path by hand on squares of side 10 at x = 0, 20, 40, ... (each path: a lead-in of 2 from the
// left to the lower-left corner, the square counter-clockwise, a lead-out of 2 downwards): reversing a path,
// moving groups with NCOrder, and the contour property switches and checks of the same family.
#include <gtest/gtest.h>

#include "laser/path/contour_property_operations.h"
#include "laser/path/path_reorder.h"
#include "laser/path/path_reverse.h"
#include "laser/path/tests/groups_fixture.h"

namespace path_testing {
namespace {

class PathEditing : public PathTest {
protected:
    std::uint64_t ContourHandle(int index) { return Job().contours[static_cast<std::size_t>(index)].handle; }
    // The contour of every group, in group order.
    std::vector<std::uint64_t> GroupContours() {
        std::vector<std::uint64_t> out;
        for (int n = 1; n <= Job().pathGroupCount; ++n) {
            PathRecord r;
            ReadPathRecord(static_cast<unsigned>(n), r);
            out.push_back(r.contourHandle);
        }
        return out;
    }
    // Each group's first member starts where the group before it ended.
    void ExpectContinuous() {
        for (int n = 2; n <= Job().pathGroupCount; ++n) {
            const auto before = LineEnds(Members(static_cast<unsigned>(n - 1)).back());
            const auto first = LineEnds(Members(static_cast<unsigned>(n)).front());
            EXPECT_TRUE(SameXY(first.first, before.second))
                << "group " << n << " starts at " << first.first.x << "," << first.first.y;
        }
    }
    std::vector<std::pair<Point3d, Point3d>> Lines(unsigned n) {
        std::vector<std::pair<Point3d, Point3d>> out;
        for (ObjectId id : Members(n)) out.push_back(LineEnds(id));
        return out;
    }
};

TEST(ReversedPathDescription, SidesAndEndsAreExchangedEverythingElseKept) {
    const struct {
        const char* before;
        const char* after;
    } cases[] = {
        {"Slice_Polyline T0 Offset=NR HP= 2A 1 2 1 0 3B 3C 3D 210.0000 10.0000 200.0000 10.0000",
         "Slice_Polyline T0 Offset=NL HP= 2A 1 1 1 0 3B 3C 3D 200.0000 10.0000 210.0000 10.0000"},
        {"Slice_Circle T0 Offset=NL HP= 2B 0 1 2 0 4B 4C 4D 64.4357 51.0376 64.4357 51.0376",
         "Slice_Circle T0 Offset=NR HP= 2B 0 2 2 0 4B 4C 4D 64.4357 51.0376 64.4357 51.0376"},
        // No offset side: nothing to exchange but the ends; role tokens stay at the end.
        {"Slice_Polyline T2 Offset=NO HP= 2C 1 0 2 1 N N N 1.0000 2.0000 3.0000 4.0000 R=5E",
         "Slice_Polyline T2 Offset=NO HP= 2C 1 0 2 1 N N N 3.0000 4.0000 1.0000 2.0000 R=5E"},
        {"Rapid_Home 6F", ""},
        {"MarkingPoint T6 Offset=NO HP= 2D 2 0 0 0 N N N 1.0000 1.0000 1.0000 1.0000", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReversedPathDescription(c.before), c.after) << c.before;
        if (*c.after != '\0') {
            EXPECT_EQ(ReversedPathDescription(c.after), c.before);
        }
    }
}

TEST_F(PathEditing, ReversingAMiddlePathLaysItsLeadsAtTheOtherEndAndRelinksTheNext) {
    for (int i = 0; i < 3; ++i) {
        TestPath p = SquarePath(SquareContour(20.0 * i, 0.0, 10.0), 20.0 * i, 0.0, 10.0);
        p.offsetSide = 1;
        ASSERT_EQ(WritePath(p), static_cast<unsigned>(i + 1));
    }
    const std::string description = Description(2);
    const auto lines = Lines(2);
    Answers({"25,0", ""});
    EXPECT_EQ(CommandNCChangeCutDirection(), 0);

    EXPECT_EQ(Tokens(Description(2))[2], "Offset=NR");
    EXPECT_EQ(Tokens(Description(2))[6], "2");
    const std::vector<std::pair<Point3d, Point3d>> expected = {
        {{0, -2}, {20, -2}},  // the rapid, now to the new lead-in start below the corner
        {{20, -2}, {20, 0}},  // the lead-in takes the old lead-out's side and keeps its own length
        {{20, 0}, {20, 10}}, {{20, 10}, {30, 10}}, {{30, 10}, {30, 0}}, {{30, 0}, {20, 0}},
        {{20, 0}, {18, 0}},   // the lead-out takes the old lead-in's side
    };
    const auto reversed = Lines(2);
    ASSERT_EQ(reversed.size(), expected.size());
    for (std::size_t k = 0; k < expected.size(); ++k) {
        EXPECT_TRUE(SameXY(reversed[k].first, expected[k].first) && SameXY(reversed[k].second, expected[k].second))
            << "member " << k << ": " << reversed[k].first.x << "," << reversed[k].first.y << " -> "
            << reversed[k].second.x << "," << reversed[k].second.y;
    }
    ExpectContinuous();

    // Reversed again, the path is what it was.
    Answers({"25,0", ""});
    CommandNCChangeCutDirection();
    EXPECT_EQ(Description(2), description);
    const auto twice = Lines(2);
    ASSERT_EQ(twice.size(), lines.size());
    for (std::size_t k = 0; k < lines.size(); ++k) {
        EXPECT_TRUE(SameXY(twice[k].first, lines[k].first, 1e-9) && SameXY(twice[k].second, lines[k].second, 1e-9))
            << "member " << k;
    }
    ExpectContinuous();
}

TEST_F(PathEditing, ReversingTheLastPathMovesTheCurrentPoint) {
    SquaresWithPaths(2);
    Answers({"25,0", ""});
    CommandNCChangeCutDirection();
    EXPECT_TRUE(SameXY(Job().currentPoint, Point3d(18, 0)));
}

TEST_F(PathEditing, OrderBeforeTheFirstMovesTheFourthOfFiveToTheFront) {
    SquaresWithPaths(5);
    // Enter: before the first group; then group 4; Enter ends.
    Answers({"", "65,0", ""});
    const int counter = Slot().changeCounter;
    EXPECT_EQ(CommandNCOrder(), 0);
    EXPECT_EQ(GroupContours(), (std::vector<std::uint64_t>{ContourHandle(3), ContourHandle(0), ContourHandle(1),
                                                           ContourHandle(2), ContourHandle(4)}));
    for (unsigned n = 1; n <= 5; ++n) EXPECT_TRUE(GroupExists(n));
    EXPECT_FALSE(GroupExists(6));
    // Without start at home the new first group has no rapid; the old first has one from its end.
    PathRecord first, second;
    ReadPathRecord(1, first);
    ReadPathRecord(2, second);
    EXPECT_EQ(first.rapidHandle, 0u);
    ASSERT_NE(second.rapidHandle, 0u);
    EXPECT_TRUE(SameXY(LineEnds(second.rapidHandle).first, Point3d(60, -2)));
    ExpectContinuous();
    EXPECT_TRUE(SameXY(Job().currentPoint, Point3d(80, -2)));
    EXPECT_TRUE(SameXY(Job().pathStartPoint, Point3d(58, 0)));
    EXPECT_EQ(Slot().changeCounter, counter + 1);
}

TEST_F(PathEditing, OrderOfGroupsAlreadyInSequenceOnlyAdvances) {
    SquaresWithPaths(3);
    const std::vector<std::uint64_t> before = GroupContours();
    Answers({"5,0", "25,0", "45,0", ""});
    CommandNCOrder();
    EXPECT_EQ(GroupContours(), before);
    ExpectContinuous();
}

TEST_F(PathEditing, LeadInSwitchTwiceRestoresAndProcessedContoursKeepTheirPlacement) {
    const int free = SquareContour(0, 0, 10);
    SquaresWithPaths(0);
    const int cut = SquareContour(20, 0, 10);
    ASSERT_EQ(WritePath(SquarePath(cut, 20, 0, 10)), 1u);
    Job().baseOuter = 2;

    Answers({"5,0", ""});
    ToggleContourLeadIn();
    EXPECT_EQ(Job().contours[static_cast<std::size_t>(free)].closure, kClosureNoLeads);
    Answers({"5,0", ""});
    ToggleContourLeadIn();
    EXPECT_EQ(Job().contours[static_cast<std::size_t>(free)].closure, kClosureClosed);

    // The contour with a path keeps its placement; the change is still counted.
    const int counter = Slot().changeCounter;
    Answers({"25,0", ""});
    ToggleContourPlacement();
    EXPECT_EQ(Job().contours[static_cast<std::size_t>(cut)].placement, kPlacementOuter);
    EXPECT_EQ(Job().baseOuter, 2u);
    EXPECT_EQ(Slot().changeCounter, counter + 1);
    // The free one becomes inner.
    Answers({"5,0", ""});
    ToggleContourPlacement();
    EXPECT_EQ(Job().contours[static_cast<std::size_t>(free)].placement, kPlacementInner);
    EXPECT_EQ(Job().baseOuter, 1u);
    EXPECT_EQ(Job().baseInner, 1u);
}

TEST_F(PathEditing, TouchingSquaresAreOneCrossingPair) {
    for (const double x : {0.0, 10.0, 40.0}) {
        const int i = SquareContour(x, 0, 10);
        ContourRecord& r = Job().contours[static_cast<std::size_t>(i)];
        r.minX = x, r.minY = 0, r.maxX = x + 10, r.maxY = 10;
    }
    EXPECT_EQ(CountIntersectingContourPairs(), 1);
}

TEST_F(PathEditing, LeadTableHasOneEntryPerGroup) {
    SquaresWithPaths(2);
    std::vector<PathLeadSegment> table;
    ASSERT_EQ(CollectPathLeadSegments(table), 2);
    ASSERT_EQ(table.size(), 2u);
    EXPECT_TRUE(table[1].hasLeadIn && table[1].hasLeadOut);
    EXPECT_TRUE(SameXY(table[1].leadInStart, Point3d(18, 0)));
    EXPECT_TRUE(SameXY(table[1].contourStart, Point3d(20, 0)));
    EXPECT_TRUE(SameXY(table[1].leadOutEnd, Point3d(20, -2)));
}

}  // namespace
}  // namespace path_testing
