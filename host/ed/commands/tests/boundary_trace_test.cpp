// Tracing the closed outline round a point: rooms, islands, crossings, arcs, circles, and where there is none.
#include "host/ed/commands/boundary_trace.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <functional>

#include "commands_test_support.h"

namespace host::ed {
namespace {

using db::ObjectId;
using testing::Drawing;

std::string text(const std::optional<PolyPath>& path) {
    if (!path) return "none";
    std::string s;
    char buf[64];
    for (const PolyVertex& v : path->vertices) {
        const auto clean = [](double x) { return std::abs(x) < 1e-9 ? 0.0 : x; };  // no "-0" or "1e-16"
        std::snprintf(buf, sizeof buf, "%s%.4g,%.4g", s.empty() ? "" : " ", clean(v.point.x), clean(v.point.y));
        s += buf;
        if (v.bulge != 0.0) {
            std::snprintf(buf, sizeof buf, "b%.3g", v.bulge);
            s += buf;
        }
    }
    return path->closed ? s : s + " open";
}

void square(Drawing& d, double x0, double y0, double x1, double y1) {
    d.line({x0, y0}, {x1, y0});
    d.line({x1, y0}, {x1, y1});
    d.line({x1, y1}, {x0, y1});
    d.line({x0, y1}, {x0, y0});
}

struct BoundaryCase {
    const char* what;
    std::function<void(Drawing&)> draw;
    ge::Point2d point;
    const char* outline;
};

TEST(TraceBoundary, Table) {
    const BoundaryCase cases[] = {
        {"four lines", [](Drawing& d) { square(d, 0, 0, 10, 10); }, {3, 4}, "0,0 10,0 10,10 0,10"},
        {"lines drawn the other way round, in any order",
         [](Drawing& d) {
             d.line({0, 10}, {10, 10});
             d.line({0, 0}, {0, 10});
             d.line({10, 0}, {0, 0});
             d.line({10, 10}, {10, 0});
         },
         {3, 4}, "0,0 10,0 10,10 0,10"},
        {"two rooms: the one holding the point",
         [](Drawing& d) {
             square(d, 0, 0, 10, 10);
             d.line({5, 0}, {5, 10});
         },
         {2, 5}, "0,0 5,0 5,10 0,10"},
        {"the room on the right of the wall",
         [](Drawing& d) {
             square(d, 0, 0, 10, 10);
             d.line({5, 0}, {5, 10});
         },
         {8, 5}, "5,0 10,0 10,10 5,10"},
        {"lines crossing past the corners: the dangling ends play no part",
         [](Drawing& d) {
             d.line({-2, 0}, {12, 0});
             d.line({10, -2}, {10, 12});
             d.line({12, 10}, {-2, 10});
             d.line({0, 12}, {0, -2});
         },
         {5, 5}, "0,0 10,0 10,10 0,10"},
        {"a circle", [](Drawing& d) { d.circle({0, 0}, 2); }, {0.5, 0}, "-2,0b1 2,0b1"},
        {"a line and an arc",
         [](Drawing& d) {
             d.line({0, 0}, {4, 0});
             d.arc({2, 0}, 2, 0, 180);
         },
         {2, 1}, "0,0 4,0b1"},
        {"a closed polyline", [](Drawing& d) { d.pline({{0, 0, 0}, {6, 0, 0}, {6, 3, 0}}, true); }, {4, 1},
         "0,0 6,0 6,3"},
        {"an island inside: only the outer outline",
         [](Drawing& d) {
             square(d, 0, 0, 10, 10);
             d.circle({7, 5}, 1);
         },
         {2, 5}, "0,0 10,0 10,10 0,10"},
        {"inside the island itself", [](Drawing& d) {
             square(d, 0, 0, 10, 10);
             d.circle({7, 5}, 1);
         },
         {7, 5}, "6,5b1 8,5b1"},
        {"lines on top of each other count once",
         [](Drawing& d) {
             square(d, 0, 0, 10, 10);
             d.line({0, 0}, {10, 0});
         },
         {5, 5}, "0,0 10,0 10,10 0,10"},
        {"a wall split at a T is merged back into one side",
         [](Drawing& d) {
             square(d, 0, 0, 10, 10);
             d.line({5, 10}, {5, 20});
         },
         {5, 5}, "0,0 10,0 10,10 0,10"},
        {"an open outline has no boundary",
         [](Drawing& d) {
             d.line({0, 0}, {10, 0});
             d.line({10, 0}, {10, 10});
             d.line({10, 10}, {0, 10});
         },
         {5, 5}, "none"},
        {"outside everything", [](Drawing& d) { square(d, 0, 0, 10, 10); }, {20, 5}, "none"},
        {"on a line", [](Drawing& d) { square(d, 0, 0, 10, 10); }, {10, 5}, "none"},
        {"an empty drawing", [](Drawing&) {}, {0, 0}, "none"},
        {"entities on a layer that is off play no part",
         [](Drawing& d) {
             square(d, 0, 0, 10, 10);
             const ObjectId off = d.layer("Hidden");
             {
                 db::ObjectPtr<db::LayerTableRecord> l(off, db::OpenMode::Write);
                 l->setIsOff(true);
             }
             auto wall = std::make_unique<db::Line>(ge::Point3d{5, 0}, ge::Point3d{5, 10});
             wall->setLayer(off);
             d.add(std::move(wall));
         },
         {2, 5}, "0,0 10,0 10,10 0,10"},
    };
    for (const BoundaryCase& c : cases) {
        Drawing d;
        c.draw(d);
        EXPECT_EQ(text(traceBoundary(d.db, c.point)), c.outline) << c.what;
    }
}

TEST(TraceBoundary, ThroughABlockReference) {
    Drawing d;
    const ObjectId frame = d.block("FRAME");
    d.line({0, 0}, {4, 0}, frame);
    d.line({4, 0}, {4, 4}, frame);
    d.line({4, 4}, {0, 4}, frame);
    d.line({0, 4}, {0, 0}, frame);
    auto ref = std::make_unique<db::BlockReference>(ge::Point3d{10, 10}, frame);
    ref->setScaleFactors({0.5, 0.5, 0.5});
    d.add(std::move(ref));
    EXPECT_EQ(text(traceBoundary(d.db, {11, 11})), "10,10 12,10 12,12 10,12");
}

TEST(AddBoundary, ThePolylineTakesTheCurrentPropertiesAndNothingIsAddedWhenNoneIsFound) {
    Drawing d;
    square(d, 0, 0, 10, 10);
    ASSERT_EQ(d.db.setCurrentLayer(d.layer("Stock")), db::Status::Ok);
    d.db.header().ceColor = db::Color::fromIndex(3);
    ObjectId id;
    ASSERT_EQ(addBoundary(d.db, {1, 1}, &id), BoundaryOutcome::Created);
    const auto* pl = d.get<db::LwPolyline>(id);
    ASSERT_NE(pl, nullptr);
    EXPECT_TRUE(pl->isClosed());
    EXPECT_EQ(pl->numVerts(), 4u);
    EXPECT_EQ(pl->layer(), "Stock");
    EXPECT_EQ(pl->colorIndex(), 3);
    EXPECT_DOUBLE_EQ(pl->area(), 100.0);
    EXPECT_EQ(d.entities().back(), id);

    const std::size_t before = d.entities().size();
    EXPECT_EQ(addBoundary(d.db, {50, 50}), BoundaryOutcome::NotFound);
    EXPECT_EQ(d.entities().size(), before);
}

}  // namespace
}  // namespace host::ed
