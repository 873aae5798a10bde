// Drawing placement: the part's lower-left corner moved onto the target with the clamps and the path left where
// they are, nothing moved when it lies there already, a corner typed at MoveToPoint, and the turn by 180 degrees.
#include "laser/drawing/placement_commands.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "cadlib/host_variables.h"
#include "host/ed/sysvars.h"
#include "laser/drawing/tests/drawing_commands_fixture.h"
#include "laser/job/drawing_slot.h"

namespace {

using drawing_testing::Count;
using drawing_testing::PreparedDrawingTest;
using host::db::ObjectId;
using host::ge::Point3d;

void ExpectNear(const Point3d& actual, const Point3d& expected, const std::string& what) {
    EXPECT_NEAR(actual.x, expected.x, 1e-9) << what;
    EXPECT_NEAR(actual.y, expected.y, 1e-9) << what;
}

std::set<std::uint64_t> HandlesOf(PreparedDrawingTest& t, const std::string& dxfName, const std::string& layer) {
    std::set<std::uint64_t> handles;
    for (const ObjectId id : t.Entities(dxfName, layer)) handles.insert(id.handle().value);
    return handles;
}

// The part lies in the positive quadrant while a line of the cutting path starts at the home point 0,0: the
// drawing's extents already began at 0,0, so the part used to stay where it was.
TEST_F(PreparedDrawingTest, MoveToOriginPutsThePartsCornerOnTheTargetAndLeavesTheClamps) {
    struct Case {
        const char* command;
        Point3d stockOrigin;
        Point3d corner;
    };
    const Case cases[] = {
        {"MoveToOrigin00", {35, 45, 0}, {0, 0, 0}},
        {"MoveToOrigin", {35, 45, 0}, {35, 45, 0}},
    };
    for (const Case& c : cases) {
        SetUp();
        settings().StockPointOriginX = c.stockOrigin.x;
        settings().StockPointOriginY = c.stockOrigin.y;
        Rectangle(100, 100, 200, 150);
        Circle({150, 125, 0}, 10);
        const ObjectId clamp = CircleBlock("Clamp", {300, 300, 0}, "Clamp");
        // Contour creation afterwards removes the old path: it only has to stand at 0,0 while the move is decided.
        Line({0, 0, 0}, {100, 100, 0}, "NC_Laser");

        Run(c.command);
        const auto part = BoxOfLayer("0");
        ASSERT_TRUE(part) << c.command;
        ExpectNear(part->min, c.corner, c.command);
        ExpectNear(part->max, c.corner + host::ge::Vector3d(100, 50, 0), c.command);
        EXPECT_EQ(Open<host::db::BlockReference>(clamp)->position(), Point3d(300, 300, 0)) << c.command;
        EXPECT_EQ(CurrentJob(settings())->contourCount, 2) << c.command << Transcript();

        // Run again: the part lies on the target, so nothing is cut and pasted. Contour creation makes its
        // polylines anew each time, but leaves a circle as it is: the hole keeps its handle.
        const auto before = HandlesOf(*this, "CIRCLE", "0");
        ASSERT_EQ(before.size(), 1u);
        Run(c.command);
        EXPECT_EQ(HandlesOf(*this, "CIRCLE", "0"), before) << c.command;
        ExpectNear(BoxOfLayer("0")->min, c.corner, c.command);
        TearDown();
    }
}

// Contour creation joins the four lines into a new polyline and erases them. The selection made before it named
// only the erased lines, so nothing moved.
TEST_F(PreparedDrawingTest, MoveToPointCreatesContoursFirstAndMovesWhatWasCreated) {
    Line({100, 100, 0}, {200, 100, 0});
    Line({200, 100, 0}, {200, 150, 0});
    Line({200, 150, 0}, {100, 150, 0});
    Line({100, 150, 0}, {100, 100, 0});
    SetSysVarInt("OSMODE", 33);
    Answer({"10,20"});
    Run("MoveToPoint");
    const std::string text = Transcript();
    EXPECT_EQ(Count(text, "Area occupied by details Xmin=100.00 Ymin=100.00 Xmax=200.00 Ymax=150.00"), 1u) << text;
    EXPECT_EQ(Count(text, "Input new coordinates Xmin,Ymin [100.00,100.00]"), 1u) << text;
    EXPECT_EQ(Count(text, "New coordinates Xmin=10.00 Ymin=20.00 Xmax=110.00 Ymax=70.00"), 1u) << text;
    ExpectNear(BoxOfLayer("0")->min, {10, 20, 0}, "moved");
    EXPECT_TRUE(Entities("LINE", "0").empty());
    EXPECT_EQ(host::ed::getShort("OSMODE"), 33);
}

TEST_F(PreparedDrawingTest, MoveToPointWithoutACornerMovesNothingAndCreatesNothingMore) {
    Rectangle(100, 100, 200, 150);
    Circle({150, 125, 0}, 10);
    SetSysVarInt("OSMODE", 33);
    for (const char* answer : {"", "^C"}) {
        host::ed::transcript().clear();
        const auto before = HandlesOf(*this, "CIRCLE", "0");
        Answer({answer});
        Run("MoveToPoint");
        EXPECT_EQ(HandlesOf(*this, "CIRCLE", "0"), before) << answer;
        ExpectNear(BoxOfLayer("0")->min, {100, 100, 0}, answer);
        EXPECT_EQ(Count(Transcript(), "New coordinates"), 0u) << Transcript();
        EXPECT_EQ(host::ed::getShort("OSMODE"), 33) << answer;
    }
    // The first run created the contours to show their box; the second found them.
    EXPECT_EQ(CurrentJob(settings())->contourCount, 2);
}

TEST_F(PreparedDrawingTest, RotateTurnsThePartAndPutsItsCornerOnTheStockOrigin) {
    struct Case {
        const char* what;
        double x, y;  // the part's lower-left corner before
    };
    const Case cases[] = {{"a part on the origin turns in place", 0, 0}, {"a part elsewhere", 100, 100}};
    for (const Case& c : cases) {
        SetUp();
        Rectangle(c.x, c.y, c.x + 100, c.y + 50);
        Circle({c.x + 20, c.y + 25, 0}, 5);
        Run("RotateAndCreateContour");
        ExpectNear(BoxOfLayer("0")->min, {0, 0, 0}, c.what);
        ExpectNear(BoxOfLayer("0")->max, {100, 50, 0}, c.what);
        // The hole near the left end is near the right end after the turn.
        const auto circles = Entities("CIRCLE", "0");
        ASSERT_EQ(circles.size(), 1u) << c.what;
        ExpectNear(Open<host::db::Circle>(circles[0])->center(), {80, 25, 0}, c.what);
        TearDown();
    }
}

}  // namespace
