// Tests of the contour table: records of polylines, circles and points, their kinds, roles and boxes, and the
// stock record at the end.
#include <gtest/gtest.h>

#include <numbers>

#include "laser/contours/contour_table.h"
#include "laser/contours/tests/creation_drawing_fixture.h"

namespace {

using contour_testing::CreationTest;
using host::db::ObjectId;

class ContourTable : public CreationTest {
public:
    // Gives the entity its own line type (made when the drawing lacks it).
    void SetLinetype(ObjectId id, const std::string& name) {
        if (db().recordId(host::db::TableKind::Linetype, name).isNull()) {
            host::db::ObjectPtr<host::db::SymbolTable> table(db().tableId(host::db::TableKind::Linetype),
                                                             host::db::OpenMode::Write);
            ASSERT_EQ(table->add(std::make_unique<host::db::LinetypeTableRecord>(name)), host::db::Status::Ok);
        }
        host::db::ObjectPtr<host::db::Entity> e(id, host::db::OpenMode::Write);
        ASSERT_EQ(e->setLinetype(name), host::db::Status::Ok);
    }
    std::uint64_t HandleOf(ObjectId id) { return id.handle().value; }
};

TEST_F(ContourTable, RecordsTakeKindShapeBoxAndArea) {
    const ObjectId circle = Circle({0, 0}, 10, "noleadin");   // the layer name compared without regard to case
    const ObjectId drill = Rectangle(0, 0, 20, 10, "HoleDrill");
    const ObjectId open = Polyline({{0, 0}, {10, 0, 1.0}, {20, 0}}, false, "EngraveLine");
    const ObjectId clampPoint = Point({3, 4}, "Clamp");
    const ObjectId mark = Point({5, 6}, "MarkPoint");
    Line({0, 0}, {100, 100});   // lines are no contours

    ASSERT_EQ(BuildContourTable(Job()), 5);
    const std::vector<ContourRecord>& t = Job().contours;
    ASSERT_EQ(t.size(), 6u);

    EXPECT_EQ(t[0].handle, HandleOf(circle));
    EXPECT_EQ(t[0].kind, ContourKind::NoLeadIn);
    EXPECT_EQ(t[0].shape, kShapeCircle);
    EXPECT_NEAR(t[0].area, std::numbers::pi * 100.0, 1e-9);
    EXPECT_EQ(std::vector<double>({t[0].minX, t[0].minY, t[0].maxX, t[0].maxY}),
              std::vector<double>({-10, -10, 10, 10}));
    EXPECT_EQ(t[0].role, kRolePart);

    EXPECT_EQ(t[1].handle, HandleOf(drill));
    EXPECT_EQ(t[1].kind, ContourKind::KindBase);
    EXPECT_EQ(t[1].closure, kClosureClosed);
    EXPECT_DOUBLE_EQ(t[1].area, 200.0);

    // An open polyline with a half-circle bulge: open, its box reaches the top of the arc.
    EXPECT_EQ(t[2].handle, HandleOf(open));
    EXPECT_EQ(t[2].kind, ContourKind::EngraveLine);
    EXPECT_EQ(t[2].closure, kClosureOpen);
    EXPECT_NEAR(t[2].minY, -5.0, 1e-9);

    EXPECT_EQ(t[3].handle, HandleOf(clampPoint));
    EXPECT_EQ(t[3].kind, ContourKind::KindUnset);
    EXPECT_EQ(t[3].shape, kShapePoint);
    EXPECT_EQ(std::vector<double>({t[3].minX, t[3].minY, t[3].maxX, t[3].maxY}),
              std::vector<double>({3, 4, 3, 4}));
    EXPECT_EQ(t[4].handle, HandleOf(mark));
    EXPECT_EQ(t[4].kind, ContourKind::MarkPoint);

    EXPECT_EQ(t[5], EmptyStockRecord());
}

TEST_F(ContourTable, LastStockMovesBeforeTheEndAndIsCopiedThere) {
    const ObjectId a = Rectangle(0, 0, 10, 10);
    const ObjectId firstStock = Rectangle(-10, -10, 100, 100);
    const ObjectId b = Circle({5, 5}, 1);
    const ObjectId secondStock = Rectangle(-20, -20, 200, 200);
    const ObjectId c = Circle({7, 7}, 1);
    SetLinetype(firstStock, "phantom");
    SetLinetype(secondStock, "PHANTOM");

    ASSERT_EQ(BuildContourTable(Job()), 5);
    const std::vector<ContourRecord>& t = Job().contours;
    ASSERT_EQ(t.size(), 6u);
    EXPECT_EQ(t[0].handle, HandleOf(a));
    EXPECT_EQ(t[1].handle, HandleOf(firstStock));
    EXPECT_EQ(t[1].role, kRoleStock);   // the earlier stock keeps its role at its place
    EXPECT_EQ(t[2].handle, HandleOf(b));
    EXPECT_EQ(t[3].handle, HandleOf(c));  // the record from before the end took the stock's place
    EXPECT_EQ(t[4].handle, HandleOf(secondStock));
    EXPECT_EQ(t[5], t[4]);
}

TEST_F(ContourTable, HiddenAndLockedLayersStayOut) {
    Layer("Off", true);
    Layer("Frozen", false, true);
    Circle({0, 0}, 1, "Off");
    Circle({0, 0}, 2, "Frozen");
    Circle({0, 0}, 3, "Locked");
    Rectangle(0, 0, 5, 5, "Locked");
    Layer("Locked", false, false, true);
    Circle({0, 0}, 4, "NC_Laser");

    // The locked circle is read, the locked polyline (which the table corrects) is reported and left out.
    ASSERT_EQ(BuildContourTable(Job()), 1);
    EXPECT_EQ(Job().contours[0].area, std::numbers::pi * 9.0);
    EXPECT_NE(Transcript().find("\"Locked\" cannot be changed"), std::string::npos) << Transcript();
}

TEST_F(ContourTable, EmptyDrawingGivesTheEmptyStockOnly) {
    ASSERT_EQ(BuildContourTable(Job()), 0);
    ASSERT_EQ(Job().contours.size(), 1u);
    EXPECT_EQ(Job().contours[0], EmptyStockRecord());
}

}  // namespace
