// Tests of the automatic cutting order on small drawings: inner contours before the contour around them, one
// part finished before the next, the phases of engraving and heat treatment, the first contour sought from the
// home point, the start corners and zones, marking on and off, a part cut by hand, erased contours and contours
// that get no path.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "host/ui/message_box.h"
#include "laser/contours/contour_creation.h"
#include "laser/contours/tests/creation_drawing_fixture.h"
#include "laser/path/tests/cutting_order_fixture.h"
#include "laser/path/automatic_cutting_order.h"
#include "laser/path/path_deletion.h"
#include "laser/path/path_groups.h"
#include "laser/path/path_totals.h"

namespace {

using contour_testing::CreationTest;
using host::ge::Point3d;

class SliceAutoTest : public path_testing::CuttingOrderTest {
protected:
    void SetUp() override {
        CreationTest::SetUp();
        const CLaserSettings& s = settings();
        saved_ = {s.UseMarkPoint, s.CutEngraveType, s.ModeCutInnerContoursFirst, s.UnloadZahodType,
                  s.UnloadZahod_CurentCutWinZona, s.PointHome};
    }
    void TearDown() override {
        CLaserSettings& s = settings();
        s.UseMarkPoint = saved_.useMarkPoint;
        s.CutEngraveType = saved_.cutEngraveType;
        s.ModeCutInnerContoursFirst = saved_.innerFirst;
        s.UnloadZahodType = saved_.corner;
        s.UnloadZahod_CurentCutWinZona = saved_.zone;
        s.PointHome = saved_.home;
        CreationTest::TearDown();
    }

public:
    // Part A (0,0)-(100,50) with holes at x 20, 50, 80 (r 5); part B (200,0)-(300,50) with one hole at x 250.
    void TwoParts() {
        Rectangle(0, 0, 100, 50);
        Circle({20, 25}, 5);
        Circle({50, 25}, 5);
        Circle({80, 25}, 5);
        Rectangle(200, 0, 300, 50);
        Circle({250, 25}, 5);
    }

private:
    struct Saved {
        int useMarkPoint, cutEngraveType, innerFirst;
        std::int8_t corner, zone;
        std::array<double, 3> home;
    } saved_{};
};

TEST_F(SliceAutoTest, PlateWithTwoHolesHolesFirstNearerFirst) {
    Rectangle(10, 10, 210, 110);
    Circle({60, 60}, 10);
    Circle({160, 60}, 10);
    Create();
    const int plate = At(10, 10), near = At(50, 50), far = At(150, 50);
    const int counter = CurrentSlot(settings())->changeCounter;

    EXPECT_EQ(SliceAuto(), 0);
    EXPECT_EQ(CutOrder(), (std::vector<int>{near, far, plate}));
    for (int i : {plate, near, far}) EXPECT_EQ(Rec(i).processed, 1);
    EXPECT_EQ(CurrentSlot(settings())->changeCounter, counter + 1);
    // The totals are those of the groups as they stand.
    const double cut = Job().totalCutLength, rapid = Job().totalRapidLength, seconds = Job().totalSeconds;
    EXPECT_GT(cut, 600.0);
    RegenPathTotals();
    EXPECT_EQ(Job().totalCutLength, cut);
    EXPECT_EQ(Job().totalRapidLength, rapid);
    EXPECT_EQ(Job().totalSeconds, seconds);
    // Every path goes on where the one before it ended.
    for (int n = 2; n <= Job().pathGroupCount; ++n) {
        EXPECT_EQ(Group(n).rapidStart, Group(n - 1).leadOutEnd) << "group " << n;
    }
    EXPECT_EQ(Job().currentPoint, Group(3).leadOutEnd);
    EXPECT_EQ(Transcript().find("without a cutting path"), std::string::npos) << Transcript();
}

TEST_F(SliceAutoTest, OnePartFinishedBeforeTheNextBegins) {
    TwoParts();
    Create();
    const int a = At(0, 0), b = At(200, 0), h1 = At(15, 20), h2 = At(45, 20), h3 = At(75, 20), hb = At(245, 20);
    SliceAuto();
    // From home (0,0): part A's holes nearest first, its outline, then part B's hole and outline.
    EXPECT_EQ(CutOrder(), (std::vector<int>{h1, h2, h3, a, hb, b}));
}

TEST_F(SliceAutoTest, FirstContourIsSoughtFromTheHomePoint) {
    TwoParts();
    Create();
    settings().PointHome = {400.0, 0.0, 0.0};
    Job().homePoint = Point3d(400, 0, 0);
    const int a = At(0, 0), b = At(200, 0), h1 = At(15, 20), h2 = At(45, 20), h3 = At(75, 20), hb = At(245, 20);
    SliceAuto();
    EXPECT_EQ(CutOrder(), (std::vector<int>{hb, b, h3, h2, h1, a}));
    EXPECT_EQ(Group(1).rapidStart, Point3d(400, 0, 0)) << Group(1).description;
}

TEST_F(SliceAutoTest, InnerContoursOfTheWholeSheetFirstWithAStartCorner) {
    TwoParts();
    Create();
    const int a = At(0, 0), b = At(200, 0), h1 = At(15, 20), h2 = At(45, 20), h3 = At(75, 20), hb = At(245, 20);
    settings().UnloadZahodType = 1;
    struct Case {
        int innerFirst;
        std::vector<int> expected;
    };
    const Case cases[] = {
        {0, {h1, h2, h3, a, hb, b}},   // one part after the other
        {1, {h1, h2, h3, hb, b, a}},   // every hole of the sheet before any outline, then the nearer outline
    };
    for (const Case& c : cases) {
        ASSERT_EQ(CommandDelAll(), 0);
        settings().ModeCutInnerContoursFirst = c.innerFirst;
        SliceAuto();
        EXPECT_EQ(CutOrder(), c.expected) << "ModeCutInnerContoursFirst " << c.innerFirst;
    }
}

TEST_F(SliceAutoTest, PhasesOfEngravingHeatTreatmentAndCutting) {
    Rectangle(0, 0, 100, 100);
    Polyline({{10, 10}, {40, 10}}, false, "HeatTreatmentLine");
    Polyline({{10, 20}, {40, 20}}, false, "EngraveLine");
    Rectangle(200, 0, 300, 100);
    Polyline({{210, 80}, {240, 80}}, false, "MarkLine");
    Create();
    const int a = At(0, 0), b = At(200, 0), heat = At(10, 10), engrave = At(10, 20), mark = At(210, 80);

    struct Case {
        int cutEngraveType;
        std::vector<int> expected;
    };
    const Case cases[] = {
        // Engraving and marking of the whole sheet, then heat treatment, then the cuts.
        {1, {engrave, mark, heat, a, b}},
        // Engraving off: one phase; the heat treatment and the engraving before the part around them. (Before, no
        // part held the heat-treatment line, and it was cut after part A had been cut free.)
        {0, {heat, engrave, a, mark, b}},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(CommandDelAll(), 0);
        settings().CutEngraveType = c.cutEngraveType;
        SliceAuto();
        EXPECT_EQ(CutOrder(), c.expected) << "CutEngraveType " << c.cutEngraveType;
    }
}

TEST_F(SliceAutoTest, StartCornerGivesTheStartPointOfEachContour) {
    Rectangle(0, 0, 100, 50);
    Rectangle(200, 0, 300, 50);
    Create();
    struct Case {
        int corner;
        Point3d firstStart, secondStart;
    };
    const Case cases[] = {
        {1, {0, 0}, {200, 0}},
        {2, {0, 50}, {200, 50}},
        {3, {100, 50}, {300, 50}},
        {4, {100, 0}, {300, 0}},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(CommandDelAll(), 0);
        settings().UnloadZahodType = static_cast<std::int8_t>(c.corner);
        SliceAuto();
        ASSERT_EQ(Job().pathGroupCount, 2) << "corner " << c.corner;
        EXPECT_EQ(Group(1).contourStart, c.firstStart) << "corner " << c.corner;
        EXPECT_EQ(Group(2).contourStart, c.secondStart) << "corner " << c.corner << " (the last contour)";
    }
}

TEST_F(SliceAutoTest, ZoneTakesThePartsInStripsFromItsSide) {
    TwoParts();
    Create();
    // Zone 3 lies far to the right: part B first although the tool starts beside part A.
    settings().UnloadZahod_CurentCutWinZona = 3;
    const int a = At(0, 0), b = At(200, 0), hb = At(245, 20);
    SliceAuto();
    const std::vector<int> order = CutOrder();
    ASSERT_EQ(order.size(), 6u);
    EXPECT_EQ(std::vector<int>(order.begin(), order.begin() + 2), (std::vector<int>{hb, b}));
    EXPECT_EQ(order.back(), a);
}

TEST_F(SliceAutoTest, MarkPointsAreCutOnlyWhenMarkingIsOn) {
    Rectangle(0, 0, 100, 100);
    Rectangle(20, 20, 80, 80);
    Rectangle(40, 40, 60, 60);
    Point({50, 50}, "MarkPoint");
    Create();
    const int point = At(50, 50);
    for (int marking : {0, 1}) {
        ASSERT_EQ(CommandDelAll(), 0);
        settings().UseMarkPoint = marking;
        host::ed::transcript().clear();
        SliceAuto();
        EXPECT_EQ(Job().pathGroupCount, 3 + marking) << "marking " << marking;
        EXPECT_EQ(Rec(point).processed, marking);
        EXPECT_EQ(Transcript().find("without a cutting path"), std::string::npos) << Transcript();
    }
    EXPECT_EQ(CutOrder().front(), point) << "the mark on the island before the island";
}

TEST_F(SliceAutoTest, PartCutByHandDoesNotEndTheOrder) {
    TwoParts();
    Create();
    const int a = At(0, 0), b = At(200, 0), h1 = At(15, 20), h2 = At(45, 20), h3 = At(75, 20), hb = At(245, 20);
    // Part A's outline already has its path (say, cut by hand); its holes do not.
    Rec(a).processed = 1;
    SliceAuto();
    EXPECT_EQ(CutOrder(), (std::vector<int>{h1, h2, h3, hb, b}));
}

TEST_F(SliceAutoTest, ContoursLeftWithoutPathAreNamed) {
    TwoParts();
    Create();
    // A record that no selection can take (its shape says point, but it is no mark point): it gets no path, and
    // neither does the part around it, which waits for it. The order goes on with part B and names both.
    const int a = At(0, 0), h2 = At(45, 20);
    Rec(h2).shape = kShapePoint;
    SliceAuto();
    EXPECT_EQ(Job().pathGroupCount, 4);
    EXPECT_EQ(Rec(h2).processed, 0);
    EXPECT_EQ(Rec(a).processed, 0);
    const std::string text = Transcript();
    EXPECT_NE(text.find("Contours left without a cutting path: 2"), std::string::npos) << text;
    const std::string holeLine =
        "contour " + std::to_string(h2) + " on layer \"0\", box (45.0000, 20.0000) - (55.0000, 30.0000)";
    EXPECT_NE(text.find(holeLine), std::string::npos) << text;
    EXPECT_NE(text.find("contour " + std::to_string(a) + " on layer \"0\", box (0.0000, 0.0000)"), std::string::npos)
        << text;
}

TEST_F(SliceAutoTest, CommandEndsWithTheHomeGroupAndDropsAnOldOneFirst) {
    Rectangle(10, 10, 210, 110);
    Circle({60, 60}, 10);
    Circle({160, 60}, 10);
    Create();
    CommandNCSliceAuto();
    ASSERT_EQ(Job().pathGroupCount, 4);
    EXPECT_EQ(Job().homeGroupPresent, 1u);
    EXPECT_EQ(Group(4).typeWord, "Rapid_Home");
    EXPECT_NE(Transcript().find("\n\rTime  0 min "), std::string::npos) << Transcript();

    // One hole loses its path; the next run cuts it after the plate and ends with one home group again.
    const int far = At(150, 50);
    ASSERT_EQ(RemovePathGroup(2, PathGroupCommandTexts{}), PathRemoval::GroupsLeft);
    ASSERT_EQ(Rec(far).processed, 0);
    CommandNCSliceAuto();
    ASSERT_EQ(Job().pathGroupCount, 4);
    EXPECT_EQ(Job().homeGroupPresent, 1u);
    EXPECT_EQ(CutOrder().at(2), far);
    EXPECT_EQ(Group(3).rapidStart, Group(2).leadOutEnd) << "the new path follows the last cut, not the old home";
    EXPECT_EQ(Group(4).typeWord, "Rapid_Home");
    EXPECT_FALSE(PathGroupExists(FormatPathGroupName(5)));
}

TEST_F(SliceAutoTest, ErasedContourStopsBeforeAnythingIsWritten) {
    TwoParts();
    Create();
    {
        host::db::ObjectPtr<host::db::Entity> e(db().idFromHandle(host::db::Handle(Rec(At(45, 20)).handle)),
                                                host::db::OpenMode::Write);
        ASSERT_TRUE(e);
        e->erase();
    }
    EXPECT_EQ(SliceAuto(), -1);
    EXPECT_EQ(Job().pathGroupCount, 0);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0],
              "\nERROR!!!\n\nOne or several profiles are erased.\nRecreate profiles and repeat the command      ");
}

}  // namespace
