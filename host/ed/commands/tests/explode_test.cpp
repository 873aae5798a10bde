// Exploding polylines and block references: the pieces, their properties, their order, and what refuses.
#include "host/ed/commands/explode.h"

#include <gtest/gtest.h>

#include <numbers>

#include "commands_test_support.h"

namespace host::ed {
namespace {

using db::ObjectId;
using db::Status;
using testing::Drawing;
using testing::near;

constexpr double kPi = std::numbers::pi;

TEST(ExplodePolyline, SegmentsBecomeLinesAndCounterClockwiseArcsInOrder) {
    Drawing d;
    // A closed outline: a line, a clockwise half circle (bulge -1), a zero-length segment, a line back.
    const ObjectId pl = d.pline({{0, 0, 0}, {10, 0, -1}, {20, 0, 0}, {20, 0, 0}, {20, 10, 0}}, true);
    const ObjectId layer = d.layer("Cut", 3);
    {
        db::ObjectPtr<db::LwPolyline> p(pl, db::OpenMode::Write);
        p->setLayer(layer);
        p->setColorIndex(5);
        p->setLinetype("Continuous");
        p->setLinetypeScale(2.0);
        p->setConstantWidth(1.0);
    }
    const db::Handle old = pl.handle();
    std::vector<ObjectId> made;
    ASSERT_EQ(explodeEntity(pl, &made), Status::Ok);
    EXPECT_TRUE(pl.isErased());
    EXPECT_EQ(d.kinds(), "LINE ARC LINE LINE");
    ASSERT_EQ(made, d.entities());
    for (ObjectId id : made) {
        const db::Entity* e = d.get(id);
        EXPECT_EQ(e->layer(), "Cut");
        EXPECT_EQ(e->colorIndex(), 5);
        EXPECT_EQ(e->linetype(), "Continuous");
        EXPECT_EQ(e->linetypeScale(), 2.0);
        EXPECT_NE(id.handle(), old);
    }
    const auto* arc = d.get<db::Arc>(made[1]);
    // A bulge of -1 turns clockwise from (10,0) to (20,0), over the top: the arc entity runs the other way.
    EXPECT_TRUE(near(arc->center(), {15, 0}));
    EXPECT_DOUBLE_EQ(arc->radius(), 5.0);
    EXPECT_TRUE(near(arc->startPoint(), {20, 0}));
    EXPECT_TRUE(near(arc->endPoint(), {10, 0}));
    EXPECT_NEAR(arc->endAngle(), kPi, 1e-12);
    const auto* closing = d.get<db::Line>(made[3]);
    EXPECT_TRUE(near(closing->start(), {20, 10}));
    EXPECT_TRUE(near(closing->end(), {0, 0}));
}

TEST(ExplodePolyline, ElevationAndVertexPolylines) {
    Drawing d;
    auto lw = std::make_unique<db::LwPolyline>();
    lw->addVertexAt(0, {0, 0});
    lw->addVertexAt(1, {5, 0});
    lw->setElevation(3.0);
    const ObjectId raised = d.add(std::move(lw));
    std::vector<ObjectId> made;
    ASSERT_EQ(explodeEntity(raised, &made), Status::Ok);
    ASSERT_EQ(made.size(), 1u);
    EXPECT_TRUE(near(d.get<db::Line>(made[0])->end(), {5, 0, 3}));

    const ObjectId p3 = d.add(std::make_unique<db::Polyline3d>());
    {
        db::ObjectPtr<db::Polyline3d> p(p3, db::OpenMode::Write);
        p->appendVertex(std::make_unique<db::PolylineVertex>(ge::Point3d{0, 0, 0}));
        p->appendVertex(std::make_unique<db::PolylineVertex>(ge::Point3d{1, 0, 1}));
        p->appendVertex(std::make_unique<db::PolylineVertex>(ge::Point3d{1, 1, 2}));
    }
    made.clear();
    ASSERT_EQ(explodeEntity(p3, &made), Status::Ok);
    ASSERT_EQ(made.size(), 2u);
    EXPECT_TRUE(near(d.get<db::Line>(made[1])->end(), {1, 1, 2}));

    const ObjectId p2 = d.add(std::make_unique<db::Polyline2d>());
    {
        db::ObjectPtr<db::Polyline2d> p(p2, db::OpenMode::Write);
        p->appendVertex(std::make_unique<db::PolylineVertex>(ge::Point3d{0, 0, 0}, 1.0));
        p->appendVertex(std::make_unique<db::PolylineVertex>(ge::Point3d{2, 0, 0}));
    }
    made.clear();
    ASSERT_EQ(explodeEntity(p2, &made), Status::Ok);
    ASSERT_EQ(made.size(), 1u);
    const auto* arc = d.get<db::Arc>(made[0]);
    ASSERT_NE(arc, nullptr);
    EXPECT_TRUE(near(arc->center(), {1, 0}));
    EXPECT_TRUE(near(arc->startPoint(), {0, 0}));  // bulge 1 runs counter-clockwise from the first vertex
}

TEST(ExplodeRefusals, EntitiesThatDoNotExplodeAreLeftAlone) {
    Drawing d;
    const ObjectId line = d.line({0, 0}, {1, 0});
    const ObjectId circle = d.circle({0, 0}, 1);
    const ObjectId dot = d.pline({{1, 1, 0}});
    const ObjectId empty = d.block("EMPTY");
    const ObjectId ref = d.add(std::make_unique<db::BlockReference>(ge::Point3d{}, empty));
    for (ObjectId id : {line, circle, dot, ref}) {
        EXPECT_EQ(explodeEntity(id), Status::NotApplicable);
        EXPECT_FALSE(id.isErased());
    }
    EXPECT_EQ(explodeEntity(ObjectId()), Status::NullObjectId);
}

// A block "B" with base (1,1): a line on layer "0" with colour BYBLOCK, an arc on layer "Cut", and a nested
// reference to "INNER".
struct BlockDrawing : Drawing {
    ObjectId inner = block("INNER");
    ObjectId b = block("B", {1, 1});
    ObjectId cut = layer("Cut", 1);
    ObjectId innerLine = line({0, 0}, {1, 0}, inner);
    ObjectId lineInB, arcInB, refInB;
    BlockDrawing() {
        auto l = std::make_unique<db::Line>(ge::Point3d{1, 1}, ge::Point3d{3, 1});
        l->setLayer(db.recordId(db::TableKind::Layer, "0"));
        l->setColorIndex(db::Color::kByBlock);
        lineInB = add(std::move(l), b);
        auto a = std::make_unique<db::Arc>(ge::Point3d{1, 1}, 1.0, 0.0, kPi / 2);
        a->setLayer(cut);
        arcInB = add(std::move(a), b);
        refInB = add(std::make_unique<db::BlockReference>(ge::Point3d{5, 5}, inner), b);
    }
    ObjectId insert(ge::Point3d at, double rotationDeg, ge::Vector3d scale = {1, 1, 1}) {
        auto ref = std::make_unique<db::BlockReference>(at, b);
        ref->setRotation(rotationDeg * kPi / 180);
        ref->setScaleFactors(scale);
        ref->setColorIndex(4);
        ref->setLayer(layer("Refs", 2));
        return add(std::move(ref));
    }
};

TEST(ExplodeReference, OneLevelWithTheReferenceTransform) {
    BlockDrawing d;
    const ObjectId ref = d.insert({10, 0}, 90, {2, 2, 2});
    std::vector<ObjectId> made;
    ASSERT_EQ(explodeEntity(ref, &made), Status::Ok);
    EXPECT_TRUE(ref.isErased());
    EXPECT_EQ(d.kinds(), "LINE ARC INSERT");
    // Block point p maps to (10,0) + R90 * 2 * (p - (1,1)).
    const auto* line = d.get<db::Line>(made[0]);
    EXPECT_TRUE(near(line->start(), {10, 0}));
    EXPECT_TRUE(near(line->end(), {10, 4}));
    EXPECT_EQ(line->layer(), "0");          // each entity keeps its own layer
    EXPECT_EQ(line->colorIndex(), 4);       // BYBLOCK takes the reference's colour
    const auto* arc = d.get<db::Arc>(made[1]);
    EXPECT_EQ(arc->layer(), "Cut");
    EXPECT_TRUE(arc->color().isByLayer());
    EXPECT_DOUBLE_EQ(arc->radius(), 2.0);
    EXPECT_TRUE(near(arc->startPoint(), {10, 2}));
    const auto* nested = d.get<db::BlockReference>(made[2]);
    EXPECT_EQ(nested->blockName(), "INNER");  // nested references stay references
    EXPECT_TRUE(near(nested->position(), {2, 8}));
    EXPECT_NEAR(nested->rotation(), kPi / 2, 1e-12);
    EXPECT_NEAR(nested->scaleFactors().x, 2.0, 1e-12);
    // The definition is untouched.
    EXPECT_EQ(d.get<db::BlockTableRecord>(d.b)->entityIds().size(), 3u);
}

TEST(ExplodeReference, NonUniformScaleTurnsArcsIntoEllipses) {
    BlockDrawing d;
    {
        db::ObjectPtr<db::BlockReference> nested(d.refInB, db::OpenMode::Write);
        nested->erase();  // a nested reference cannot take a non-uniform scale
    }
    const ObjectId ref = d.insert({0, 0}, 0, {2, 1, 1});
    std::vector<ObjectId> made;
    ASSERT_EQ(explodeEntity(ref, &made), Status::Ok);
    EXPECT_EQ(d.kinds(), "LINE ELLIPSE");
    const auto* e = d.get<db::Ellipse>(made[1]);
    EXPECT_EQ(e->layer(), "Cut");
    EXPECT_TRUE(near(e->center(), {0, 0}));
    EXPECT_NEAR(e->majorAxis().length(), 2.0, 1e-12);
    EXPECT_NEAR(e->radiusRatio(), 0.5, 1e-12);
    EXPECT_TRUE(near(e->startPoint(), {2, 0}));
    EXPECT_TRUE(near(e->endPoint(), {0, 1}));
}

TEST(ExplodeReference, AnEntityThatCannotBeTransformedLeavesEverythingAsItWas) {
    BlockDrawing d;  // the nested reference refuses a non-uniform scale
    const ObjectId ref = d.insert({0, 0}, 0, {2, 1, 1});
    const std::size_t before = d.entities().size();
    EXPECT_EQ(explodeEntity(ref), Status::NotApplicable);
    EXPECT_FALSE(ref.isErased());
    EXPECT_EQ(d.entities().size(), before);
}

TEST(ExplodeReference, ArrayReferencesDoNotExplode) {
    BlockDrawing d;
    const ObjectId ref = d.insert({0, 0}, 0);
    {
        db::ObjectPtr<db::BlockReference> r(ref, db::OpenMode::Write);
        r->setArray(2, 1, 10, 0);
    }
    EXPECT_EQ(explodeEntity(ref), Status::NotApplicable);
}

}  // namespace
}  // namespace host::ed
