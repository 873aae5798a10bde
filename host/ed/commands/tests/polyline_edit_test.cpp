// Turning lines, arcs and splines into polylines and joining polylines: handles, order, closing, fuzz.
#include "host/ed/commands/polyline_edit.h"

#include <gtest/gtest.h>

#include <cmath>

#include "commands_test_support.h"
#include "host/ed/commands/poly_path.h"

namespace host::ed {
namespace {

using db::ObjectId;
using db::Status;
using testing::Drawing;
using testing::near;

// The vertices of a lightweight polyline as text: "0,0 10,0b1 20,0" (b: a bulge other than 0), "closed" added.
std::string polylineShape(const Drawing& d, ObjectId id) {
    const auto* p = d.get<db::LwPolyline>(id);
    if (!p) return "?";
    std::string s;
    char buf[64];
    for (const auto& v : p->vertices()) {
        std::snprintf(buf, sizeof buf, "%s%g,%g", s.empty() ? "" : " ", v.point.x + 0.0, v.point.y + 0.0);
        s += buf;
        if (v.bulge != 0.0) {
            std::snprintf(buf, sizeof buf, "b%.3g", v.bulge);
            s += buf;
        }
    }
    return p->isClosed() ? s + " closed" : s;
}

ObjectId converted(ObjectId id) {
    ObjectId pl;
    EXPECT_EQ(convertToPolyline(id, {}, &pl), Status::Ok);
    return pl;
}

TEST(ConvertToPolyline, LinesAndArcsBecomeNewPolylinesWithTheirProperties) {
    Drawing d;
    const ObjectId layer = d.layer("Cut");
    const ObjectId line = d.line({0, 0, 2}, {10, 0, 2});
    const ObjectId arc = d.arc({10, 5}, 5, 270, 90);
    {
        db::ObjectPtr<db::Line> l(line, db::OpenMode::Write);
        l->setLayer(layer);
        l->setColorIndex(3);
        l->setLinetypeScale(0.5);
    }
    const db::Handle lineHandle = line.handle();
    const ObjectId pl1 = converted(line);
    const ObjectId pl2 = converted(arc);
    EXPECT_TRUE(line.isErased());
    EXPECT_TRUE(arc.isErased());
    EXPECT_NE(pl1.handle(), lineHandle);
    EXPECT_EQ((std::vector<ObjectId>{pl1, pl2}), d.entities());  // appended in the order converted
    EXPECT_EQ(polylineShape(d, pl1), "0,0 10,0");
    EXPECT_EQ(d.get<db::LwPolyline>(pl1)->elevation(), 2.0);
    EXPECT_EQ(d.get(pl1)->layer(), "Cut");
    EXPECT_EQ(d.get(pl1)->colorIndex(), 3);
    EXPECT_EQ(d.get(pl1)->linetypeScale(), 0.5);
    EXPECT_EQ(polylineShape(d, pl2), "10,0b1 10,10");  // a half circle, counter-clockwise

    const ObjectId circleArc = d.arc({0, 0}, 1, 30, 30);  // equal angles: the whole circle
    EXPECT_EQ(polylineShape(d, converted(circleArc)), "0.866025,0.5b1 -0.866025,-0.5b1 closed");

    const ObjectId slanted = d.line({0, 0, 0}, {1, 0, 1});
    EXPECT_EQ(convertToPolyline(slanted, {}, nullptr), Status::NotApplicable);
    EXPECT_EQ(convertToPolyline(d.circle({0, 0}, 1), {}, nullptr), Status::NotApplicable);
}

// A quarter of a unit circle as a quadratic rational spline, so that arcs can be checked against the circle.
ObjectId quarterCircleSpline(Drawing& d, bool closedFlag = false) {
    auto s = std::make_unique<db::Spline>();
    const double w = std::sqrt(0.5);
    EXPECT_EQ(s->setNurbsData(2, closedFlag ? 9 : 8, {0, 0, 0, 1, 1, 1}, {{1, 0}, {1, 1}, {0, 1}}, {1, w, 1}),
              Status::Ok);
    return d.add(std::move(s));
}

TEST(ConvertToPolyline, SplinesFollowPrecisionAndConvertMode) {
    for (const bool arcs : {false, true}) {
        for (const int precision : {0, 10}) {
            Drawing d;
            ObjectId pl;
            ASSERT_EQ(convertToPolyline(quarterCircleSpline(d), {precision, arcs}, &pl), Status::Ok);
            const auto* p = d.get<db::LwPolyline>(pl);
            const unsigned pieces = precision + 1;
            EXPECT_EQ(p->numVerts(), arcs ? pieces + 1 : 2 * pieces + 1) << arcs << " " << precision;
            EXPECT_TRUE(near(p->startPoint(), {1, 0}));
            EXPECT_TRUE(near(p->endPoint(), {0, 1}));
            // Every vertex lies on the circle; with arcs, every arc's middle does too.
            const PolyPath path = *polyPathOf(*p);
            for (unsigned i = 0; i < path.numSegments(); ++i) {
                const ge::Point2d mid = path.pointAt(i + 0.5);
                EXPECT_NEAR(std::hypot(path.segmentStart(i).x, path.segmentStart(i).y), 1.0, 1e-9);
                if (arcs) EXPECT_NEAR(std::hypot(mid.x, mid.y), 1.0, 1e-9);
                else EXPECT_EQ(path.vertex(i).bulge, 0.0);
            }
        }
    }
}

struct JoinCase {
    const char* what;
    std::vector<std::vector<std::array<double, 3>>> plines;  // in input order
    double fuzz;
    std::vector<std::string> result;  // shapes of the polylines left, in result order
    int joined, closed;
};

TEST(JoinPolylines, Table) {
    const JoinCase cases[] = {
        {"end to start", {{{0, 0, 0}, {1, 0, 0}}, {{1, 0, 0}, {1, 1, 0}}}, 0, {"0,0 1,0 1,1"}, 1, 0},
        {"end to end: the second is turned round",
         {{{0, 0, 0}, {1, 0, 0}}, {{1, 1, 0}, {1, 0, 0}}}, 0, {"0,0 1,0 1,1"}, 1, 0},
        {"a piece before the base: the result starts at its free end",
         {{{1, 0, 0}, {2, 0, 0}}, {{0, 0, 0}, {1, 0, 0}}}, 0, {"0,0 1,0 2,0"}, 1, 0},
        {"arcs keep their bulges; turned round they change sign",
         {{{0, 0, 1}, {2, 0, 0}}, {{4, 0, 1}, {2, 0, 0}}}, 0, {"0,0b1 2,0b-1 4,0"}, 1, 0},
        {"a square of four pieces closes",
         {{{0, 0, 0}, {1, 0, 0}}, {{1, 1, 0}, {0, 1, 0}}, {{1, 0, 0}, {1, 1, 0}}, {{0, 1, 0}, {0, 0, 0}}}, 0,
         {"0,0 1,0 1,1 0,1 closed"}, 3, 1},
        {"two half circles close into a circle", {{{0, 0, 1}, {2, 0, 0}}, {{2, 0, 1}, {0, 0, 0}}}, 0,
         {"0,0b1 2,0b1 closed"}, 1, 1},
        {"a gap wider than the fuzz is not bridged", {{{0, 0, 0}, {1, 0, 0}}, {{1.5, 0, 0}, {2, 0, 0}}}, 0.4,
         {"0,0 1,0", "1.5,0 2,0"}, 0, 0},
        {"a gap within the fuzz is bridged by a straight segment",
         {{{0, 0, 0}, {1, 0, 0}}, {{1.5, 0, 0}, {2, 0, 0}}}, 0.5, {"0,0 1,0 1.5,0 2,0"}, 1, 0},
        {"at a branch the first in input order is taken",
         {{{0, 0, 0}, {1, 0, 0}}, {{1, 0, 0}, {1, -1, 0}}, {{1, 0, 0}, {1, 1, 0}}}, 0,
         {"0,0 1,0 1,-1", "1,0 1,1"}, 1, 0},
        {"a single open polyline whose ends meet is closed", {{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 0, 0}}}, 0,
         {"0,0 1,0 1,1 closed"}, 0, 1},
        {"a two-vertex loop does not close", {{{0, 0, 0}, {0, 0, 0}}}, 0, {"0,0 0,0"}, 0, 0},
        {"of several ends within the fuzz the first in input order is taken, not the nearest",
         {{{0, 0, 0}, {1, 0, 0}}, {{1.3, 0, 0}, {2, 0, 0}}, {{1.05, 0, 0}, {1, 1, 0}}}, 0.4,
         {"0,0 1,0 1.3,0 2,0", "1.05,0 1,1"}, 1, 0},
        {"a piece whose both ends meet the chain's end is added as it runs",
         {{{0, 0, 0}, {1, 0, 0}}, {{1, 0.1, 0}, {1.1, 0, 0}}}, 0.2, {"0,0 1,0 1,0.1 1.1,0"}, 1, 0},
        {"at the start, arcs are turned round or kept so that the chain runs on",
         {{{1, 0, 0}, {2, 0, 0}}, {{1, 0, 1}, {0, 0, 0}}, {{-1, 0, 0.5}, {0, 0, 0}}}, 0,
         {"-1,0b0.5 0,0b-1 1,0 2,0"}, 2, 0},
        {"an end a hair below zero meets an end a whole fuzz away",
         {{{-1, 0, 0}, {-1e-18, 0, 0}}, {{0.1, 0, 0}, {1, 0, 0}}}, 0.1, {"-1,0 -1e-18,0 0.1,0 1,0"}, 1, 0},
        {"ends far out on both sides meet",
         {{{1e20, 5, 0}, {1e20, 6, 0}}, {{-1e20, 6, 0}, {1e20, 6, 0}}, {{-1e20, 6, 0}, {-1e20, 7, 0}}}, 0,
         {"1e+20,5 1e+20,6 -1e+20,6 -1e+20,7"}, 2, 0},
    };
    for (const JoinCase& c : cases) {
        Drawing d;
        std::vector<ObjectId> ids;
        for (const auto& p : c.plines) ids.push_back(d.pline(p));
        const std::vector<db::Handle> handles = [&] {
            std::vector<db::Handle> h;
            for (ObjectId id : ids) h.push_back(id.handle());
            return h;
        }();
        JoinResult r;
        ASSERT_EQ(joinPolylines(ids, c.fuzz, &r), Status::Ok) << c.what;
        std::vector<std::string> shapes;
        for (ObjectId id : r.polylines) shapes.push_back(polylineShape(d, id));
        EXPECT_EQ(shapes, c.result) << c.what;
        EXPECT_EQ(r.joined, c.joined) << c.what;
        EXPECT_EQ(r.closed, c.closed) << c.what;
        // The first polyline of the input is always a base: it keeps its object and handle.
        EXPECT_EQ(r.polylines.front(), ids.front()) << c.what;
        EXPECT_EQ(r.polylines.front().handle(), handles.front()) << c.what;
        EXPECT_EQ(d.entities().size(), c.result.size()) << c.what;
    }
}

TEST(JoinPolylines, TheBaseKeepsItsPropertiesAndOthersArePassedOver) {
    Drawing d;
    const ObjectId a = d.pline({{0, 0, 0}, {1, 0, 0}});
    const ObjectId b = d.pline({{1, 0, 0}, {2, 0, 0}});
    const ObjectId closed = d.pline({{2, 0, 0}, {3, 0, 0}, {3, 1, 0}}, true);
    const ObjectId line = d.line({0, 0}, {-1, 0});
    {
        db::ObjectPtr<db::Entity> e(a, db::OpenMode::Write);
        e->setLayer(d.layer("Base"));
        e->setColorIndex(2);
        db::ObjectPtr<db::Entity> f(b, db::OpenMode::Write);
        f->setLayer(d.layer("Other"));
        f->setColorIndex(6);
    }
    JoinResult r;
    ASSERT_EQ(joinPolylines({b, a, closed, line, b}, 0, &r), Status::Ok);
    ASSERT_EQ(r.polylines, std::vector<ObjectId>{b});  // b came first: b is the base
    EXPECT_EQ(d.get(b)->layer(), "Other");
    EXPECT_EQ(d.get(b)->colorIndex(), 6);
    EXPECT_EQ(polylineShape(d, b), "0,0 1,0 2,0");
    EXPECT_TRUE(a.isErased());
    EXPECT_FALSE(closed.isErased());
    EXPECT_FALSE(line.isErased());
}

TEST(JoinPolylines, ConvertedLinesAndArcsJoinIntoOneClosedOutline) {
    // What contour creation runs: lines and arcs converted in order, then joined with a fuzz of 0.
    Drawing d;
    const std::vector<ObjectId> pieces = {d.line({0, 0}, {10, 0}), d.line({10, 10}, {0, 10}),
                                          d.arc({10, 5}, 5, 270, 90), d.line({0, 10}, {0, 0})};
    std::vector<ObjectId> plines;
    for (ObjectId id : pieces) plines.push_back(converted(id));
    JoinResult r;
    ASSERT_EQ(joinPolylines(plines, 0.0, &r), Status::Ok);
    ASSERT_EQ(r.polylines.size(), 1u);
    EXPECT_EQ(polylineShape(d, r.polylines[0]), "0,0 10,0b1 10,10 0,10 closed");
    EXPECT_EQ(d.entities(), r.polylines);
}

}  // namespace
}  // namespace host::ed
