// Entities made in model space through the real database: lines, circles, arcs, the crossed rectangle,
// ellipses approximated by arcs, and a 3D polyline replaced by a lightweight one.
#include "cadlib/entity_creation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "cadlib/angles.h"
#include "host/db/tables.h"
#include "host/ed/tests/input_test_drawing.h"
#include "test_support.h"

namespace {

using host::db::ObjectId;
using host::db::ObjectPtr;
using host::db::OpenMode;
using host::ge::Point3d;

using cadlib::kPi;
using cadlib::testing::kDeg;

class EntityCreation : public ::testing::Test {
protected:
    std::vector<ObjectId> modelSpace() {
        ObjectPtr<host::db::BlockTableRecord> ms(d.db().modelSpaceId(), OpenMode::Read);
        return ms->entityIds();
    }
    // The arcs of model space, in order: centre, radius, start and end angles.
    std::vector<host::db::Arc> arcs() {
        std::vector<host::db::Arc> out;
        for (ObjectId id : modelSpace()) {
            ObjectPtr<host::db::Arc> arc(id, OpenMode::Read);
            if (arc) out.emplace_back(arc->center(), arc->radius(), arc->startAngle(), arc->endAngle());
        }
        return out;
    }
    host::ed::testing::TestDrawing d;
};

// How far apart two directions are, in [0, pi].
double apart(double a, double b) { return std::fabs(std::remainder(a - b, 2 * kPi)); }

// An angle in [0, 2pi).
double norm(double a) {
    a = std::fmod(a, 2 * kPi);
    return a < 0 ? a + 2 * kPi : a;
}

TEST_F(EntityCreation, LinesCirclesArcsGoToModelSpace) {
    ObjectId line, circle, arc, byPoints;
    EXPECT_EQ(&AddLine(line, {0, 0, 0}, {5, 0, 0}), &line);
    AddCircle(circle, {1, 1, 0}, 2);
    AddArc(arc, {0, 0, 0}, 3, 0, kPi / 2);
    // The end point lies farther out than the start: the radius comes from the start.
    AddArcByPoints(byPoints, {1, 1, 4}, {3, 1, 0}, {1, 6, 0});
    EXPECT_EQ(modelSpace(), (std::vector<ObjectId>{line, circle, arc, byPoints}));
    ObjectPtr<host::db::Arc> a(byPoints, OpenMode::Read);
    ASSERT_TRUE(a);
    EXPECT_EQ(a->center(), Point3d(1, 1, 4));
    EXPECT_DOUBLE_EQ(a->radius(), 2.0);
    EXPECT_NEAR(apart(a->startAngle(), 0.0), 0.0, 1e-12);
    EXPECT_NEAR(norm(a->endAngle()), kPi / 2, 1e-12);
}

TEST_F(EntityCreation, AnotherDatabaseAndNoDrawing) {
    host::db::Database side;
    ObjectId id;
    AddLine(id, {0, 0, 0}, {1, 1, 0}, &side);
    EXPECT_FALSE(id.isNull());
    EXPECT_EQ(id.database(), &side);
    EXPECT_TRUE(modelSpace().empty());

    ObjectId ellipse;
    AddEllipse(ellipse, {0, 0, 0}, {0, 0, 1}, {4, 0, 0}, 0.5, 0, 2 * kPi);
    EXPECT_FALSE(ellipse.isNull());
    AddEllipse(ellipse, {0, 0, 0}, {0, 0, 1}, {4, 0, 0}, 1.5, 0, 2 * kPi);  // refused ratio
    EXPECT_TRUE(ellipse.isNull());
}

TEST_F(EntityCreation, CrossedRectangleOrder) {
    const ObjectId last = AddCrossedRectangle({0, 0, 5}, {4, 2, 5});
    const std::vector<std::pair<Point3d, Point3d>> expected = {
        {{0, 2, 0}, {0, 0, 0}}, {{0, 0, 0}, {4, 0, 0}}, {{4, 0, 0}, {4, 2, 0}},
        {{4, 2, 0}, {0, 2, 0}}, {{0, 2, 0}, {4, 0, 0}}, {{0, 0, 0}, {4, 2, 0}},
    };
    const auto ids = modelSpace();
    ASSERT_EQ(ids.size(), expected.size());
    EXPECT_EQ(ids.back(), last);
    for (std::size_t i = 0; i < ids.size(); ++i) {
        ObjectPtr<host::db::Line> line(ids[i], OpenMode::Read);
        ASSERT_TRUE(line);
        EXPECT_EQ(line->start(), expected[i].first) << i;
        EXPECT_EQ(line->end(), expected[i].second) << i;
    }
}

TEST_F(EntityCreation, WholeEllipseOfACircleIsTwentyArcs) {
    EXPECT_EQ(AddEllipseAsArcs({1, 2, 3}, 0.3, 5, 5), 0);
    const auto a = arcs();
    ASSERT_EQ(a.size(), 20u);
    for (std::size_t k = 0; k < a.size(); ++k) {
        EXPECT_NEAR(a[k].radius(), 5.0, 1e-9) << k;
        EXPECT_NEAR(a[k].center().distanceTo({1, 2, 3}), 0.0, 1e-9) << k;
        EXPECT_NEAR(norm(a[k].endAngle() - a[k].startAngle()), 18 * kDeg, 1e-9) << k;
        EXPECT_NEAR(apart(a[k].startAngle(), 0.3 + k * 18 * kDeg), 0.0, 1e-9) << k;
    }
}

TEST_F(EntityCreation, EllipseArcPiecesAtMultiplesOfEighteen) {
    struct Case {
        double from, to;
        std::vector<std::pair<double, double>> pieces;  // degrees
    };
    const std::vector<Case> table = {
        {10, 40, {{10, 18}, {18, 36}, {36, 40}}},
        {18, 30, {{18, 30}}},
        {350, 20, {{350, 360}, {0, 18}, {18, 20}}},  // wraps through 360
    };
    for (const auto& c : table) {
        host::ed::testing::TestDrawing fresh;
        EXPECT_EQ(AddEllipseArcAsArcs({0, 0, 0}, 0, 2, 2, c.from * kDeg, c.to * kDeg), 0);
        std::vector<host::db::Arc> got;
        {
            ObjectPtr<host::db::BlockTableRecord> ms(fresh.db().modelSpaceId(), OpenMode::Read);
            for (ObjectId id : ms->entityIds()) {
                ObjectPtr<host::db::Arc> arc(id, OpenMode::Read);
                got.emplace_back(arc->center(), arc->radius(), arc->startAngle(), arc->endAngle());
            }
        }
        ASSERT_EQ(got.size(), c.pieces.size()) << c.from;
        for (std::size_t i = 0; i < got.size(); ++i) {
            EXPECT_NEAR(apart(got[i].startAngle(), c.pieces[i].first * kDeg), 0.0, 1e-9) << c.from << " " << i;
            EXPECT_NEAR(apart(got[i].endAngle(), c.pieces[i].second * kDeg), 0.0, 1e-9) << c.from << " " << i;
            EXPECT_NEAR(got[i].radius(), 2.0, 1e-9);
        }
    }
}

TEST_F(EntityCreation, FlatEllipseSkipsPiecesWithoutACentre) {
    EXPECT_EQ(AddEllipseAsArcs({0, 0, 0}, 0, 5, 0), 0);
    EXPECT_TRUE(arcs().empty());
}

TEST_F(EntityCreation, Replace3dPolylineKeepsVerticesAndProperties) {
    d.layer("Marks");
    ObjectId polyId = d.add(std::make_unique<host::db::Polyline3d>());
    {
        ObjectPtr<host::db::Polyline3d> poly(polyId, OpenMode::Write);
        for (const Point3d& p : {Point3d(0, 0, 1), Point3d(4, 0, 2), Point3d(4, 3, 3), Point3d(0, 3, 4)}) {
            poly->appendVertex(std::make_unique<host::db::PolylineVertex>(p));
        }
        poly->setClosed(true);
        poly->setLayer("Marks");
        poly->setColorIndex(3);
        poly->setLinetypeScale(2.5);
    }
    ObjectId id;
    {
        ObjectPtr<host::db::Polyline3d> poly(polyId, OpenMode::Write);
        EXPECT_EQ(Replace3dPolyline(*poly, id), 0);
        EXPECT_TRUE(poly->isErased());
    }
    ObjectPtr<host::db::LwPolyline> flat(id, OpenMode::Read);
    ASSERT_TRUE(flat);
    EXPECT_TRUE(flat->isClosed());
    ASSERT_EQ(flat->numVerts(), 4u);
    host::ge::Point2d third;
    ASSERT_EQ(flat->getPointAt(2, third), host::db::Status::Ok);
    EXPECT_EQ(third, host::ge::Point2d(4, 3));
    EXPECT_EQ(flat->layer(), "Marks");
    EXPECT_EQ(flat->colorIndex(), 3);
    EXPECT_EQ(flat->linetypeScale(), 2.5);
    EXPECT_EQ(modelSpace(), std::vector<ObjectId>{id});
}

}  // namespace
