// Object snap: each mode on the entities under the aperture, the rule that chooses among modes and entities,
// the aperture at the view's scale, and the mode names.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "host/ed/display.h"
#include "host/ed/selection.h"
#include "host/ed/sysvars.h"
#include "host/ed/tests/input_test_drawing.h"
#include "host/ge/angle.h"

namespace host::ed {
namespace {

using db::ResBuf;
using ge::Point3d;
using testing::TestDrawing;
using ge::kPi;

// A view 100 units high: a pixel is 0.1 units and APERTURE 10 reaches 1 unit.
class Osnap : public ::testing::Test {
protected:
    void SetUp() override {
        resetSystemVariables();
        ASSERT_TRUE(zoomCenter(d.db(), {0, 0}, 100));
        d.line({0, 0, 0}, {10, 0, 0});
        d.line({10, -5, 0}, {10, 5, 0});
        d.circle({20, 0, 0}, 2);
        d.arc({0, 20, 0}, 5, 0, kPi / 2);
        d.point({30, 5, 0});
        const db::ObjectId block = d.block("B");
        d.line({0, 0, 0}, {3, 0, 0}, block);
        d.insert(block, {40, 0, 0});
        d.add(std::make_unique<db::Text>(Point3d(50, 0, 0), "TEXT", 2.0));
        d.line({0, 40, 0}, {10, 40, 3});  // rises in z
    }
    void TearDown() override { resetSystemVariables(); }

    static std::optional<Point3d> snap(Point3d at, const char* modes) {
        Point3d out;
        if (osnap(at, modes, out) != db::RTNORM) return std::nullopt;
        return out;
    }

    TestDrawing d;
};

TEST_F(Osnap, ModesAndTheRuleAmongThem) {
    setVar("LASTPOINT", ResBuf(db::RT3DPOINT, Point3d(5, 10, 0)));
    struct Case {
        const char* what;
        Point3d at;
        const char* modes;
        std::optional<Point3d> expected;
    };
    const Case cases[] = {
        {"end", {9.5, 0.3, 0}, "_END", Point3d(10, 0, 0)},
        {"an end inside the aperture beats a nearer point", {0.4, 0.2, 0}, "_END,_NEA", Point3d(0, 0, 0)},
        {"nearest when no end is inside", {5, 0.3, 0}, "_END,_NEA", Point3d(5, 0, 0)},
        {"the far end of a line crossing the aperture", {3, 0.3, 0}, "_END", Point3d(0, 0, 0)},
        {"mid", {5, 0.5, 0}, "_MID", Point3d(5, 0, 0)},
        {"centre of a circle whose edge is near", {20, 2.5, 0}, "_CEN", Point3d(20, 0, 0)},
        {"nothing near the centre itself", {20, 0.5, 0}, "_CEN", std::nullopt},
        {"quadrant", {22, 0.5, 0}, "_QUA", Point3d(22, 0, 0)},
        {"quadrant on the arc only", {-0.5, 24.5, 0}, "_QUA", Point3d(0, 25, 0)},
        {"arc end", {4.8, 19.5, 0}, "_END", Point3d(5, 20, 0)},
        {"arc middle", {3.6, 23.4, 0}, "_MID", Point3d(5 * std::cos(kPi / 4), 20 + 5 * std::sin(kPi / 4), 0)},
        {"node", {29.8, 5.1, 0}, "_NOD", Point3d(30, 5, 0)},
        {"insertion of a reference", {41, 0.5, 0}, "_INS", Point3d(40, 0, 0)},
        {"end inside a block", {42.8, 0.2, 0}, "_END", Point3d(43, 0, 0)},
        {"insertion of a text", {51, 1, 0}, "_INS", Point3d(50, 0, 0)},
        {"intersection", {10.3, 0.2, 0}, "_INT", Point3d(10, 0, 0)},
        {"perpendicular from the last point", {5.5, 0.5, 0}, "_PER", Point3d(5, 0, 0)},
        {"nearest keeps the line's z", {5, 40.5, 0}, "_NEA", Point3d(5, 40, 1.5)},
        {"nothing under the aperture", {100, 100, 0}, "_NEA", std::nullopt},
        {"long names and no underscore", {9.5, 0.3, 0}, "endpoint", Point3d(10, 0, 0)},
        {"three letters are enough", {5, 0.5, 0}, "_mid", Point3d(5, 0, 0)},
        {"the mode named first wins a tie", {10.2, 0.2, 0}, "_INT,_END", Point3d(10, 0, 0)},
        {"none: the point as given", {1, 2, 3}, "_NON", Point3d(1, 2, 3)},
        {"an unknown mode", {9.5, 0.3, 0}, "_XYZ", std::nullopt},
        {"two letters are not a mode", {9.5, 0.3, 0}, "_EN", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto got = snap(c.at, c.modes);
        ASSERT_EQ(got.has_value(), c.expected.has_value());
        if (!got) continue;
        EXPECT_NEAR(got->x, c.expected->x, 1e-9);
        EXPECT_NEAR(got->y, c.expected->y, 1e-9);
        EXPECT_NEAR(got->z, c.expected->z, 1e-9);
    }
}

TEST_F(Osnap, TheApertureIsPixelsAtTheViewScale) {
    const Point3d at(5, 1.5, 0);
    EXPECT_FALSE(snap(at, "_NEA"));  // 1.5 units off; the aperture reaches 1
    ASSERT_EQ(setVar("APERTURE", ResBuf(db::RTSHORT, 20)), db::RTNORM);
    EXPECT_TRUE(snap(at, "_NEA"));
    ASSERT_EQ(setVar("APERTURE", ResBuf(db::RTSHORT, 10)), db::RTNORM);
    ASSERT_TRUE(zoomCenter(d.db(), {0, 0}, 200));  // a pixel is now 0.2 units
    EXPECT_TRUE(snap(at, "_NEA"));
}

TEST_F(Osnap, HiddenEntitiesDoNotSnap) {
    TestDrawing other;
    ASSERT_TRUE(zoomCenter(other.db(), {0, 0}, 100));
    const db::ObjectId line = other.line({0, 0, 0}, {10, 0, 0});
    other.change(line, [](db::Entity& e) { e.setVisible(false); });
    Point3d out;
    EXPECT_EQ(osnap({5, 0.2, 0}, "_NEA", out), db::RTERROR);
}

}  // namespace
}  // namespace host::ed
