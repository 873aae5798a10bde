// Breaking lines, arcs, circles and polylines: which part goes, which entity keeps its handle.
#include "host/ed/commands/break_curve.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <functional>

#include "commands_test_support.h"
#include "host/ge/angle.h"

namespace host::ed {
namespace {

using db::ObjectId;
using db::Status;
using testing::Drawing;
using testing::near;

// An entity's shape as text, for the tables: "LINE 0,0-4,0", "ARC c0,0 r1 0-90", "PL 0,0 1,0b1 2,0 closed".
std::string shape(const Drawing& d, ObjectId id) {
    char buf[160];
    if (const auto* l = d.get<db::Line>(id)) {
        std::snprintf(buf, sizeof buf, "LINE %g,%g-%g,%g", l->start().x, l->start().y, l->end().x, l->end().y);
        return buf;
    }
    if (const auto* a = d.get<db::Arc>(id)) {
        std::snprintf(buf, sizeof buf, "ARC c%g,%g r%g %.4g-%.4g", a->center().x, a->center().y, a->radius(),
                      ge::radiansToDegrees(a->startAngle()), ge::radiansToDegrees(a->endAngle()));
        return buf;
    }
    if (const auto* p = d.get<db::LwPolyline>(id)) {
        std::string s = "PL";
        for (const auto& v : p->vertices()) {
            std::snprintf(buf, sizeof buf, " %.4g,%.4g", v.point.x + 0.0, v.point.y + 0.0);
            s += buf;
            if (v.bulge != 0.0) {
                std::snprintf(buf, sizeof buf, "b%.3g", v.bulge);
                s += buf;
            }
        }
        return p->isClosed() ? s + " closed" : s;
    }
    return d.get(id) ? d.get(id)->dxfName() : "?";
}

struct BreakCase {
    const char* what;
    std::function<ObjectId(Drawing&)> make;
    ge::Point3d first, second;
    Status status;
    std::vector<std::string> pieces;  // what is left, in order
    bool keepsHandle;                 // the first piece is the entity itself
};

TEST(BreakEntity, Table) {
    const auto line = [](Drawing& d) { return d.line({0, 0}, {10, 0}); };
    const auto arc = [](Drawing& d) { return d.arc({0, 0}, 1, 0, 180); };
    const auto circle = [](Drawing& d) { return d.circle({0, 0}, 1); };
    const auto open = [](Drawing& d) { return d.pline({{0, 0, 0}, {4, 0, 0}, {4, 4, 0}}); };
    const auto square = [](Drawing& d) { return d.pline({{0, 0, 0}, {4, 0, 0}, {4, 4, 0}, {0, 4, 0}}, true); };
    const BreakCase cases[] = {
        {"line: the middle goes", line, {3, 0}, {6, 0}, Status::Ok, {"LINE 0,0-3,0", "LINE 6,0-10,0"}, true},
        {"line: points in either order", line, {6, 1}, {3, -1}, Status::Ok, {"LINE 0,0-3,0", "LINE 6,0-10,0"},
         true},
        {"line: from the start", line, {-5, 0}, {4, 0}, Status::Ok, {"LINE 4,0-10,0"}, true},
        {"line: to the end", line, {4, 0}, {12, 0}, Status::Ok, {"LINE 0,0-4,0"}, true},
        {"line: equal points split it", line, {5, 0}, {5, 0}, Status::Ok, {"LINE 0,0-5,0", "LINE 5,0-10,0"}, true},
        {"line: the whole of it", line, {0, 0}, {10, 0}, Status::Ok, {}, false},
        {"arc: the middle goes", arc, {1, 1}, {-1, 1}, Status::Ok, {"ARC c0,0 r1 0-45", "ARC c0,0 r1 135-180"},
         true},
        {"arc: a point past the end goes to the nearer end", arc, {0, 1}, {1, -0.2}, Status::Ok,
         {"ARC c0,0 r1 90-180"}, true},
        {"circle: counter-clockwise from the first point to the second goes", circle, {1, 0}, {0, 1}, Status::Ok,
         {"ARC c0,0 r1 90-0"}, false},
        {"circle: the other way round keeps the short arc", circle, {0, 1}, {1, 0}, Status::Ok,
         {"ARC c0,0 r1 0-90"}, false},
        {"circle: equal points are refused", circle, {1, 0}, {1, 0}, Status::InvalidInput, {"CIRCLE"}, true},
        {"open polyline: across a vertex", open, {2, 0}, {4, 2}, Status::Ok, {"PL 0,0 2,0", "PL 4,2 4,4"}, true},
        {"open polyline: from its start", open, {0, 0}, {4, 2}, Status::Ok, {"PL 4,2 4,4"}, true},
        {"closed polyline: the part along its direction goes", square, {2, 0}, {4, 2}, Status::Ok,
         {"PL 4,2 4,4 0,4 0,0 2,0"}, true},
        {"closed polyline: through its start", square, {0, 2}, {2, 0}, Status::Ok, {"PL 2,0 4,0 4,4 0,4 0,2"},
         true},
        {"closed polyline: equal points open it", square, {4, 2}, {4, 2}, Status::Ok,
         {"PL 4,2 4,4 0,4 0,0 4,0 4,2"}, true},
    };
    for (const BreakCase& c : cases) {
        Drawing d;
        const ObjectId id = c.make(d);
        std::vector<ObjectId> pieces;
        EXPECT_EQ(breakEntity(id, c.first, c.second, &pieces), c.status) << c.what;
        std::vector<std::string> shapes;
        for (ObjectId e : d.entities()) shapes.push_back(shape(d, e));
        EXPECT_EQ(shapes, c.pieces) << c.what;
        if (c.status == Status::Ok) {
            EXPECT_EQ(pieces, d.entities()) << c.what;
            EXPECT_EQ(!pieces.empty() && pieces.front() == id, c.keepsHandle) << c.what;
        }
    }
}

TEST(BreakEntity, BulgedPolylineSegmentsAreCutOnTheArc) {
    Drawing d;
    // A half circle from (0,0) to (2,0) below the chord (bulge 1 runs counter-clockwise: through (1,-1)).
    const ObjectId pl = d.pline({{0, 0, 1}, {2, 0, 0}, {4, 0, 0}});
    std::vector<ObjectId> pieces;
    ASSERT_EQ(breakEntity(pl, {1, -1}, {3, 0}, &pieces), Status::Ok);
    ASSERT_EQ(pieces.size(), 2u);
    const auto* first = d.get<db::LwPolyline>(pieces[0]);
    ASSERT_EQ(first->numVerts(), 2u);
    EXPECT_NEAR(first->vertices()[0].bulge, std::tan(ge::kPi / 8), 1e-12);  // a quarter circle
    EXPECT_TRUE(near(first->endPoint(), {1, -1}));
    EXPECT_TRUE(near(d.get<db::LwPolyline>(pieces[1])->startPoint(), {3, 0}));
}

TEST(BreakEntity, NewPiecesKeepPropertiesAndExtendedData) {
    Drawing d;
    {
        db::ObjectPtr<db::SymbolTable> apps(d.db.tableId(db::TableKind::RegApp), db::OpenMode::Write);
        apps->add(std::make_unique<db::RegAppTableRecord>("Kstr"));
    }
    const ObjectId c = d.circle({0, 0}, 2);
    const ObjectId l = d.line({0, 0}, {10, 0});
    for (ObjectId id : {c, l}) {
        db::ObjectPtr<db::Entity> e(id, db::OpenMode::Write);
        e->setLayer(d.layer("Cut"));
        e->setColorIndex(1);
        e->setXData({{1001, "Kstr"}, {1000, "tag"}});
    }
    std::vector<ObjectId> pieces;
    ASSERT_EQ(breakEntity(c, {2, 0}, {-2, 0}, &pieces), Status::Ok);
    ASSERT_EQ(breakEntity(l, {4, 0}, {6, 0}, &pieces), Status::Ok);
    for (ObjectId id : d.entities()) {
        EXPECT_EQ(d.get(id)->layer(), "Cut");
        EXPECT_EQ(d.get(id)->colorIndex(), 1);
        EXPECT_EQ(d.get(id)->xData("Kstr").size(), 2u);
    }
    EXPECT_EQ(breakEntity(d.add(std::make_unique<db::PointEntity>(ge::Point3d{})), {}, {}), Status::NotApplicable);
}

}  // namespace
}  // namespace host::ed
