// Tests of the choice of the next contour: candidates by phase and by part, the leaves of a part, the nearest
// contour and the start-corner and zone strategies, and the check for erased contours. The contour tables come
// from contour creation on small drawings.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <set>

#include "laser/contours/contour_creation.h"
#include "laser/contours/tests/creation_drawing_fixture.h"
#include "laser/path/tests/contour_lookup_fixture.h"
#include "laser/path/next_contour.h"

namespace {

using contour_testing::CreationTest;
using host::db::ObjectId;
using host::ge::Point3d;

class NextContour : public path_testing::ContourLookupTest {
protected:
    void SetUp() override {
        CreationTest::SetUp();
        s_ = Saved{settings().UseMarkPoint, settings().CutEngraveType, settings().ModeCutInnerContoursFirst,
                   settings().UnloadZahodType, settings().UnloadZahod_CurentCutWinZona,
                   settings().ZoneMaxDistOffset};
    }
    void TearDown() override {
        settings().UseMarkPoint = s_.useMarkPoint;
        settings().CutEngraveType = s_.cutEngraveType;
        settings().ModeCutInnerContoursFirst = s_.innerFirst;
        settings().UnloadZahodType = s_.corner;
        settings().UnloadZahod_CurentCutWinZona = s_.zone;
        settings().ZoneMaxDistOffset = s_.zoneOffset;
        CreationTest::TearDown();
    }

public:
    // Part A (0,0)-(100,50) with holes at x 20, 50, 80; part B (200,0)-(300,50) without holes.
    void TwoParts() {
        Rectangle(0, 0, 100, 50);
        Circle({20, 25}, 5);
        Circle({50, 25}, 5);
        Circle({80, 25}, 5);
        Rectangle(200, 0, 300, 50);
    }
    void Create() {
        ASSERT_EQ(CreateContours(), 0) << Transcript();
        ASSERT_GT(Job().contourCount, 0);
    }
    std::set<int> AsSet(const std::vector<int>& v) { return {v.begin(), v.end()}; }

private:
    struct Saved {
        int useMarkPoint, cutEngraveType, innerFirst;
        std::int8_t corner, zone;
        double zoneOffset;
    } s_{};
};

TEST_F(NextContour, AContourWaitsForEverythingInsideIt) {
    TwoParts();
    Create();
    const int partA = At(0, 0), partB = At(200, 0), h1 = At(15, 20), h2 = At(45, 20), h3 = At(75, 20);
    NextContourSearch search(Job(), settings());
    std::vector<int> list;

    EXPECT_EQ(search.CollectCutCandidates(list, kPhaseCutting), 4);
    EXPECT_EQ(AsSet(list), (std::set<int>{h1, h2, h3, partB}));

    Rec(h1).processed = 1;
    Rec(h2).processed = 1;
    search.CollectCutCandidates(list, kPhaseCutting);
    EXPECT_EQ(AsSet(list), (std::set<int>{h3, partB})) << "one hole left keeps its part back";
    Rec(h3).processed = 1;
    search.CollectCutCandidates(list, kPhaseCutting);
    EXPECT_EQ(AsSet(list), (std::set<int>{partA, partB}));
}

TEST_F(NextContour, InnerContoursFirstDropsOuterOnesOnlyWhileInnerOnesRemain) {
    TwoParts();
    Create();
    settings().ModeCutInnerContoursFirst = 1;
    const int partA = At(0, 0), partB = At(200, 0), h1 = At(15, 20), h2 = At(45, 20), h3 = At(75, 20);
    NextContourSearch search(Job(), settings());
    std::vector<int> list;
    EXPECT_EQ(search.CollectCutCandidates(list, kPhaseCutting), 3);
    EXPECT_EQ(AsSet(list), (std::set<int>{h1, h2, h3}));
    for (int h : {h1, h2, h3}) Rec(h).processed = 1;
    EXPECT_EQ(search.CollectCutCandidates(list, kPhaseCutting), 2) << "only outer contours left: all kept";
    EXPECT_EQ(AsSet(list), (std::set<int>{partA, partB}));
}

TEST_F(NextContour, PhasesTakeTheirKinds) {
    Rectangle(0, 0, 100, 100);
    Polyline({{10, 10}, {40, 10}}, false, "EngraveLine");
    Polyline({{10, 20}, {40, 20}}, false, "MarkLine");
    Polyline({{10, 30}, {40, 30}}, false, "HeatTreatmentLine");
    Point({50, 50}, "MarkPoint");
    Create();
    const int part = At(0, 0), engrave = At(10, 10), mark = At(10, 20), heat = At(10, 30), point = At(50, 50);

    struct Case {
        int cutEngraveType, useMarkPoint, phase;
        std::set<int> expected;
    };
    const Case cases[] = {
        // Engraving on: engraving and marking lines first, heat treatment second, the rest last; the part waits
        // for what is inside it in every phase.
        {1, 1, kPhaseEngraveAndMark, {engrave, mark}},
        {1, 1, kPhaseHeatTreatment, {heat}},
        {1, 1, kPhaseCutting, {point}},
        // Engraving off: engravings and heat treatment are cut with the rest, before the part around them.
        {0, 1, kPhaseCutting, {engrave, mark, heat, point}},
        // Marking off: the mark point is neither cut nor does it keep the part back.
        {1, 0, kPhaseCutting, {}},
    };
    for (const Case& c : cases) {
        settings().CutEngraveType = c.cutEngraveType;
        settings().UseMarkPoint = c.useMarkPoint;
        NextContourSearch search(Job(), settings());
        std::vector<int> list;
        search.CollectCutCandidates(list, c.phase);
        EXPECT_EQ(AsSet(list), c.expected) << "engrave " << c.cutEngraveType << " mark " << c.useMarkPoint
                                         << " phase " << c.phase;
    }
    // Once everything inside is cut the part is a candidate of the cutting phase.
    settings().CutEngraveType = 1;
    settings().UseMarkPoint = 0;
    for (int i : {engrave, mark, heat}) Rec(i).processed = 1;
    NextContourSearch search(Job(), settings());
    std::vector<int> list;
    search.CollectCutCandidates(list, kPhaseCutting);
    EXPECT_EQ(AsSet(list), (std::set<int>{part}));
}

TEST_F(NextContour, CandidatesGroupedByPart) {
    TwoParts();
    Create();
    const int partA = At(0, 0), partB = At(200, 0), h1 = At(15, 20), h3 = At(75, 20);
    NextContourSearch search(Job(), settings());
    std::vector<int> list{h1, partB, h3};
    EXPECT_EQ(search.GroupCandidatesByPart(list, kPhaseCutting), 2);
    EXPECT_EQ(list, (std::vector<int>{partA, partB})) << "each part once, in order of first appearance";

    Rec(partA).processed = 1;
    list = {h1, partB};
    search.GroupCandidatesByPart(list, kPhaseCutting);
    EXPECT_EQ(list, (std::vector<int>{partB})) << "a hole of a part already cut stands for nothing";

    list = {h1, partB};
    EXPECT_EQ(search.GroupCandidatesByPart(list, kPhaseEngraveAndMark), 0);
    EXPECT_TRUE(list.empty());
}

TEST_F(NextContour, LeavesOfAPart) {
    TwoParts();
    // A nest beside part A: an outline with a hole, an island in the hole and a mark point on the island.
    Rectangle(120, 0, 180, 50);
    Rectangle(130, 10, 170, 40);
    Rectangle(140, 20, 160, 30);
    Point({150, 25}, "MarkPoint");
    Create();
    const int partA = At(0, 0), partB = At(200, 0), h1 = At(15, 20), h2 = At(45, 20), h3 = At(75, 20);
    const int outer = At(120, 0), hole = At(130, 10), island = At(140, 20), point = At(150, 25);
    NextContourSearch search(Job(), settings());
    std::vector<int> list;

    EXPECT_EQ(search.CollectPartLeaves(list, Rec(partA).handle), 3);
    EXPECT_EQ(AsSet(list), (std::set<int>{h1, h2, h3}));
    EXPECT_EQ(search.CollectPartLeaves(list, Rec(partB).handle), 1);
    EXPECT_EQ(list, (std::vector<int>{partB})) << "a part with nothing inside is its own leaf";
    EXPECT_EQ(search.CollectPartLeaves(list, 0x7FFFFFFF), 0) << "a handle of no contour";

    // The innermost contour of a nest is its leaf: the mark point while marking is on, the island otherwise.
    settings().UseMarkPoint = 1;
    search.CollectPartLeaves(list, Rec(outer).handle);
    EXPECT_EQ(list, (std::vector<int>{point}));
    settings().UseMarkPoint = 0;
    search.CollectPartLeaves(list, Rec(outer).handle);
    EXPECT_EQ(list, (std::vector<int>{island}));
    Rec(island).processed = 1;
    search.CollectPartLeaves(list, Rec(outer).handle);
    EXPECT_EQ(list, (std::vector<int>{hole}));

    // Handle 0: the innermost contours of the whole sheet.
    search.CollectPartLeaves(list, 0);
    EXPECT_EQ(AsSet(list), (std::set<int>{h1, h2, h3, partB, hole}));
}

TEST_F(NextContour, EnclosingLinksInACircleEndTheWalk) {
    // A damaged table: two contours each naming the other as the one around it. The walk for the leaves must end
    // and must not list a contour twice.
    TwoParts();
    Create();
    const int partA = At(0, 0), partB = At(200, 0);
    Rec(partA).parentHandle = Rec(partB).handle;
    Rec(partB).parentHandle = Rec(partA).handle;
    NextContourSearch search(Job(), settings());
    std::vector<int> list;
    search.CollectPartLeaves(list, Rec(partA).handle);
    EXPECT_EQ(AsSet(list).size(), list.size());
    EXPECT_LE(list.size(), 5u);
}

TEST_F(NextContour, NearestContourAndItsAimPoint) {
    Circle({100, 0}, 10);
    Circle({-100, 0}, 10);
    Rectangle(0, 100, 20, 120);
    Polyline({{50, 200}, {60, 210}, {70, 200}}, false);
    // A sheet around them all: its box holds every tool position below, but its corners are far, so the box
    // nearest the tool is not the contour nearest the tool.
    Rectangle(-300, -300, 300, 300);
    Create();
    const int right = At(90, -10), left = At(-110, -10), square = At(0, 100), open = At(50, 200),
              sheet = At(-300, -300);
    NextContourSearch search(Job(), settings());
    const std::vector<int> all{sheet, right, left, square, open};

    struct Case {
        Point3d from;
        int expected;
        Point3d aim;
    };
    const Case cases[] = {
        {{0, 0, 0}, right, {90, 0, 0}},          // two circles equally far: the earlier entry wins
        {{-50, 0, 0}, left, {-90, 0, 0}},        // the circle point faces the tool
        {{30, 130, 0}, square, {20, 120, 0}},    // the nearest vertex of a closed polyline
        {{55, 230, 0}, open, {50, 200, 0}},      // open polyline: its ends only, never the vertex at (60,210)
        {{75, 195, 0}, open, {70, 200, 0}},
        {{290, -290, 0}, sheet, {300, -300, 0}},  // the sheet's own corner
    };
    for (const Case& c : cases) {
        Point3d target;
        EXPECT_EQ(search.SelectNextContour(c.from, all, target), c.expected) << c.from.x << "," << c.from.y;
        EXPECT_NEAR(target.x, c.aim.x, 1e-9);
        EXPECT_NEAR(target.y, c.aim.y, 1e-9);
    }

    // Nothing eligible: the target stays as it was.
    for (int i : all) Rec(i).processed = 1;
    Point3d target(1, 2, 3);
    EXPECT_EQ(search.SelectNextContour({0, 0, 0}, all, target), kNoContour);
    EXPECT_EQ(target, Point3d(1, 2, 3));
    EXPECT_EQ(search.SelectNextContour({0, 0, 0}, {}, target), kNoContour);
}

TEST_F(NextContour, StartCornerChoosesTheAimPoint) {
    Circle({0, 0}, 10);
    Polyline({{100, 0}, {150, 0}, {150, 30}, {100, 40}}, true);
    Create();
    const int circle = At(-10, -10), poly = At(100, 0);
    NextContourSearch search(Job(), settings());
    struct Case {
        int corner;
        Point3d circleAim, polyAim;
    };
    const double c45 = 10 * std::cos(std::numbers::pi / 4);
    const Case cases[] = {
        {1, {-c45, -c45, 0}, {100, 0, 0}},
        {2, {-c45, c45, 0}, {100, 40, 0}},
        {3, {c45, c45, 0}, {150, 30, 0}},   // nearest vertex to the corner (150,40)
        {4, {c45, -c45, 0}, {150, 0, 0}},
    };
    for (const Case& c : cases) {
        settings().UnloadZahodType = static_cast<std::int8_t>(c.corner);
        Point3d target;
        ASSERT_EQ(search.SelectNextContour({-500, -500, 0}, {circle}, target), circle);
        EXPECT_NEAR(target.x, c.circleAim.x, 1e-9) << "corner " << c.corner;
        EXPECT_NEAR(target.y, c.circleAim.y, 1e-9) << "corner " << c.corner;
        ASSERT_EQ(search.SelectNextContour({-500, -500, 0}, {poly}, target), poly);
        EXPECT_EQ(target, c.polyAim) << "corner " << c.corner;
    }
}

TEST_F(NextContour, ZonesAdvanceInStripsNearestFirstWithin) {
    // Three squares in a column at x 0, one far right; zone 1 (far to the left) takes the left strip first.
    Rectangle(0, 0, 10, 10);
    Rectangle(0, 100, 10, 110);
    Rectangle(5, 200, 15, 210);
    Rectangle(500, 0, 510, 10);
    Circle({300, 300}, 5);
    Point({50, 50}, "MarkPoint");
    Create();
    const int low = At(0, 0), mid = At(0, 100), high = At(5, 200), far = At(500, 0), circle = At(295, 295),
              point = At(50, 50);
    settings().UnloadZahod_CurentCutWinZona = 1;
    settings().ZoneMaxDistOffset = 100.0;
    NextContourSearch search(Job(), settings());
    const std::vector<int> all{far, circle, low, mid, high, point};
    Point3d target;
    EXPECT_EQ(search.SelectNextContour({0, 220, 0}, all, target), high) << "within the strip the nearest wins";
    EXPECT_EQ(target, Point3d(15, 205, 0));
    EXPECT_EQ(search.SelectNextContour({0, 0, 0}, all, target), low);
    EXPECT_EQ(target, Point3d(10, 5, 0));
    // The plain nearest choice when the caller switches the zone off.
    EXPECT_EQ(search.SelectNextContour({290, 300, 0}, all, target, 0), circle);
    // Zone 3 (far right): the far square's strip.
    settings().UnloadZahod_CurentCutWinZona = 3;
    EXPECT_EQ(search.SelectNextContour({0, 0, 0}, all, target), far);
    EXPECT_EQ(target, Point3d(500, 5, 0));
    // Zone 2 (far above): circles aim at their lowest point; a band of 50 leaves the top square (95 farther from
    // the zone than the circle) out of the first strip.
    settings().UnloadZahod_CurentCutWinZona = 2;
    settings().ZoneMaxDistOffset = 50.0;
    EXPECT_EQ(search.SelectNextContour({0, 0, 0}, all, target), circle);
    EXPECT_EQ(target, Point3d(300, 295, 0));
    // Mark points never take part in a zone choice.
    EXPECT_EQ(search.SelectNextContour({0, 0, 0}, {point}, target), kNoContour);
}

TEST_F(NextContour, ErasedContourWithoutPathIsFound) {
    TwoParts();
    Create();
    EXPECT_EQ(CheckContoursErased(Job()), 0);
    const int hole = At(15, 20);
    const ObjectId id = db().idFromHandle(host::db::Handle(Rec(hole).handle));
    {
        host::db::ObjectPtr<host::db::Entity> e(id, host::db::OpenMode::Write);
        ASSERT_TRUE(e);
        e->erase();
    }
    EXPECT_EQ(CheckContoursErased(Job()), -1);
    Rec(hole).processed = 1;
    EXPECT_EQ(CheckContoursErased(Job()), 0) << "a contour with its path is not looked at";
}

}  // namespace
