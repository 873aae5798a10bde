// Tests of the simpler automatic orders and of the list of contours waiting inside a contour: the nearest-first
// order of heat-treatment contours with an open line cut at once, its erased-contour message in both languages,
// the cheapest-insertion rule on points worked out by hand (ties to the earlier position) and on a drawing, and
// the children of the sheet and of a part.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "laser/contours/contour_creation.h"
#include "laser/path/cutting_order_variants.h"
#include "laser/path/tests/cutting_order_fixture.h"

namespace {

using host::ge::Point3d;

class OrderVariantsTest : public path_testing::CuttingOrderTest {
public:
    void HeatSquare(double x, double y) { Rectangle(x, y, x + 2, y + 2, "HeatTreatmentLine"); }
    std::vector<int> Sorted(std::vector<int> v) {
        std::sort(v.begin(), v.end());
        return v;
    }
};

TEST_F(OrderVariantsTest, SimpleOrderTakesTheNearestAndCutsAnOpenLineAtOnce) {
    HeatSquare(10, 0);
    Polyline({{50, 0}, {50, 100}}, false, "HeatTreatmentLine");
    HeatSquare(70, 0);
    HeatSquare(40, 100);
    Rectangle(200, 0, 300, 50);   // a cut: not in this order
    Create();
    const int first = At(10, 0), line = At(50, 0), low = At(70, 0), high = At(40, 100), cut = At(200, 0);
    const int counter = CurrentSlot(settings())->changeCounter;

    EXPECT_EQ(SliceAutoSimple(), 0);
    // From home (0,0) the nearest square, then the line's lower end. The line ends at its top, and the next
    // contour is sought from there: the square beside the top before the one beside the line's start (sought from
    // the start, as for a closed contour, the low square would come first).
    EXPECT_EQ(CutOrder(), (std::vector<int>{first, line, high, low}));
    EXPECT_EQ(Group(2).contourStart, Point3d(50, 0, 0));
    EXPECT_EQ(Group(3).rapidStart, Point3d(50, 100, 0)) << Group(3).description;
    for (int n = 2; n <= 4; ++n) EXPECT_EQ(Group(n).rapidStart, Group(n - 1).leadOutEnd) << "group " << n;
    EXPECT_EQ(Rec(cut).processed, 0);
    EXPECT_EQ(CurrentSlot(settings())->changeCounter, counter + 1);
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(OrderVariantsTest, SimpleOrderStopsOnAnErasedContourInBothLanguages) {
    HeatSquare(10, 0);
    HeatSquare(40, 0);
    Create();
    {
        host::db::ObjectPtr<host::db::Entity> e(db().idFromHandle(host::db::Handle(Rec(At(40, 0)).handle)),
                                                host::db::OpenMode::Write);
        ASSERT_TRUE(e);
        e->erase();
    }
    struct Case {
        int language;
        std::string text;
    };
    const Case cases[] = {
        {0, "\nERROR!!!\n\nOne or several profiles are erased. \nRecreate profiles and repeat the command.     "},
        {1, "\nОШИБКА!!!\n\nОдин или несколько контуров удалены. \nСоздайте контуры заново и повторите команду.     "},
    };
    for (const Case& c : cases) {
        SetLanguageFlag(c.language);
        host::ui::clearMessageBoxLog();
        EXPECT_EQ(SliceAutoSimple(), -1);
        EXPECT_EQ(Job().pathGroupCount, 0);
        EXPECT_EQ(Rec(At(10, 0)).processed, 0);
        EXPECT_EQ(Boxes(), std::vector<std::string>{c.text}) << "language " << c.language;
    }
}

TEST(CheapestInsertion, PutsEachPointWhereTheDetourIsSmallestAndTheEarlierOnATie) {
    const Point3d from(0, 0, 0);
    struct Case {
        const char* what;
        std::vector<Point3d> stops;
        Point3d p;
        std::size_t expected;
    };
    const Case cases[] = {
        {"the first stop of an empty tour", {}, {5, 5, 0}, 0},
        {"on the way to the first stop: no detour", {{10, 0, 0}}, {5, 0, 0}, 0},
        {"beyond the last stop: the open end", {{10, 0, 0}}, {20, 0, 0}, 1},
        // Before (30,40): 50 + 60 - 50 = 60; after it: 60. The earlier position.
        {"tie of the way in and the open end", {{30, 40, 0}}, {-30, 40, 0}, 0},
        // Before (0,20): 67.08 + 50 - 20 = 97.08; between: 50 + 60 - 50 = 60; after (30,60): 60.
        {"tie of a gap and the open end", {{0, 20, 0}, {30, 60, 0}}, {-30, 60, 0}, 1},
        // Between (0,10) and (0,30): 0 + 10 - 10 = 0 beats the other gaps.
        {"on the line between two stops", {{0, 10, 0}, {0, 30, 0}, {0, 50, 0}}, {0, 20, 0}, 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CheapestInsertionPosition(from, c.stops, c.p), c.expected) << c.what;
    }
}

TEST_F(OrderVariantsTest, InsertionOrderOfAHandfulOfContours) {
    // Four small heat-treatment squares, each entered at the corner named here (x, y), and a cut that this order
    // leaves alone. From home (0,0), in table order:
    //   A (0,20) is nearest (20): the tour is [A].
    //   B (30,60): before A 67.08 + 50 - 20 = 97.08, after A 50: [A, B].
    //   P (-30,60): before A 97.08, between A and B 50 + 60 - 50 = 60, after B 60: the tie goes to the earlier
    //   position, [A, P, B] (with the later one it would be [A, B, P]).
    //   D (25,0): before A 25 + 32.02 - 20 = 37.02, the other gaps 60 and more: [D, A, P, B].
    Rectangle(-2, 20, 0, 22, "HeatTreatmentLine");
    HeatSquare(30, 60);
    Rectangle(-32, 60, -30, 62, "HeatTreatmentLine");
    HeatSquare(25, 0);
    Rectangle(200, 0, 300, 50);
    Create();
    const int a = At(-2, 20), b = At(30, 60), p = At(-32, 60), d = At(25, 0), cut = At(200, 0);
    ASSERT_TRUE(a < b && b < p && p < d) << "the hand computation inserts in this order";
    const int counter = CurrentSlot(settings())->changeCounter;

    EXPECT_EQ(SliceAutoByInsertion(), 0);
    ASSERT_EQ(CutOrder(), (std::vector<int>{d, a, p, b}));
    // Each start point is found again knowing its neighbours: D's and A's move to the corners facing the way on.
    const Point3d starts[] = {{25, 2, 0}, {0, 22, 0}, {-30, 60, 0}, {30, 60, 0}};
    for (int n = 1; n <= 4; ++n) EXPECT_EQ(Group(n).contourStart, starts[n - 1]) << "group " << n;
    EXPECT_EQ(Group(1).rapidStart, Point3d(0, 0, 0));
    EXPECT_EQ(Rec(cut).processed, 0);
    EXPECT_EQ(CurrentSlot(settings())->changeCounter, counter + 1);
}

TEST_F(OrderVariantsTest, InsertionOrderWithNothingToCutStillBringsTheJobUpToDate) {
    Rectangle(0, 0, 100, 50);
    Create();
    const int counter = CurrentSlot(settings())->changeCounter;
    EXPECT_EQ(SliceAutoByInsertion(), 0);
    EXPECT_EQ(Job().pathGroupCount, 0);
    EXPECT_EQ(CurrentSlot(settings())->changeCounter, counter + 1);
}

TEST_F(OrderVariantsTest, UnprocessedChildrenOfTheSheetAndOfAPart) {
    Rectangle(0, 0, 100, 50);
    Circle({20, 25}, 5);
    Circle({50, 25}, 5);
    Circle({80, 25}, 5);
    Rectangle(200, 0, 300, 50);
    Create();
    const int a = At(0, 0), b = At(200, 0), h1 = At(15, 20), h2 = At(45, 20), h3 = At(75, 20);
    std::vector<int> list{99, 98};

    EXPECT_EQ(CollectUnprocessedChildren(list, -1), 2);
    EXPECT_EQ(Sorted(list), Sorted({a, b}));
    EXPECT_EQ(CollectUnprocessedChildren(list, a), 3);
    EXPECT_EQ(Sorted(list), Sorted({h1, h2, h3}));
    Rec(h2).processed = 1;
    EXPECT_EQ(CollectUnprocessedChildren(list, a), 2);
    EXPECT_EQ(Sorted(list), Sorted({h1, h3}));
    EXPECT_EQ(CollectUnprocessedChildren(list, h1), 0);
    EXPECT_TRUE(list.empty());
    // An index outside the table names no contour (the stock record after the contours included).
    for (const int outside : {-2, Job().contourCount, Job().contourCount + 5}) {
        list = {7};
        EXPECT_EQ(CollectUnprocessedChildren(list, outside), 0) << outside;
        EXPECT_TRUE(list.empty()) << outside;
    }
    ProbeUnprocessedChildren();
    EXPECT_EQ(Job().pathGroupCount, 0);
}

}  // namespace
