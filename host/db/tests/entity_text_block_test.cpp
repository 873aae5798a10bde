// Texts (estimated extents by justification, transforms), multi-line texts, block references (transform,
// extents through the block, nesting, arrays, attributes) and polylines with vertex objects.
#include <gtest/gtest.h>

#include <cmath>

#include "db_test_support.h"
#include "host/db/database.h"
#include "host/ge/angle.h"
#include "host/ge/tests/test_support.h"

namespace host::db {
namespace {

using ge::kHalfPi;
using ge::kPi;
using ge::testing::PointNear;
using testing::addToModelSpace;
using testing::BoxNear;

TEST(TextExtents, EstimatedFromHeightWidthFactorAndCharacters) {
    struct Case {
        const char* name;
        std::string text;
        int hmode, vmode;
        ge::Point3d position, alignment;
        double rotation, widthFactor;
        int flags;
        ge::Point3d lo, hi;
    };
    // Height 2 throughout: "ABC" is 6 wide.
    const Case cases[] = {
        {"left on the baseline", "ABC", 0, 0, {1, 1}, {}, 0, 1, 0, {1, 1}, {7, 3}},
        {"centred", "ABC", 1, 0, {0, 0}, {10, 0}, 0, 1, 0, {7, 0}, {13, 2}},
        {"top right", "ABC", 2, 3, {0, 0}, {10, 10}, 0, 1, 0, {4, 8}, {10, 10}},
        {"middle", "ABC", 4, 0, {0, 0}, {0, 0}, 0, 1, 0, {-3, -1}, {3, 1}},
        {"aligned between two points", "ABC", 3, 0, {0, 0}, {10, 0}, 0, 1, 0, {0, 0}, {10, 2}},
        {"rotated a quarter", "ABC", 0, 0, {0, 0}, {}, kHalfPi, 1, 0, {-2, 0}, {0, 6}},
        {"narrow", "ABC", 0, 0, {0, 0}, {}, 0, 0.5, 0, {0, 0}, {3, 2}},
        {"upside down", "ABC", 0, 0, {0, 0}, {}, 0, 1, 4, {0, -2}, {6, 0}},
        {"backward", "ABC", 0, 0, {0, 0}, {}, 0, 1, 2, {-6, 0}, {0, 2}},
        // Characters, not bytes: a Cyrillic letter and a diameter code are one each.
        {"UTF-8 and control codes", "\xD0\x96%%c", 0, 0, {0, 0}, {}, 0, 1, 0, {0, 0}, {4, 2}},
    };
    for (const Case& c : cases) {
        Text t(c.position, c.text, 2.0, c.rotation);
        ASSERT_EQ(t.setHorizontalMode(c.hmode), Status::Ok) << c.name;
        ASSERT_EQ(t.setVerticalMode(c.vmode), Status::Ok) << c.name;
        ASSERT_EQ(t.setAlignmentPoint(c.alignment), Status::Ok) << c.name;
        ASSERT_EQ(t.setWidthFactor(c.widthFactor), Status::Ok) << c.name;
        ASSERT_EQ(t.setGenerationFlags(c.flags), Status::Ok) << c.name;
        EXPECT_TRUE(BoxNear(t.geomExtents(), c.lo, c.hi)) << c.name;
    }
    EXPECT_FALSE(Text({0, 0}, "", 2.0).geomExtents().has_value());
    Text bad;
    EXPECT_EQ(bad.setHorizontalMode(6), Status::InvalidInput);
    EXPECT_EQ(bad.setWidthFactor(0), Status::InvalidInput);
    EXPECT_EQ(bad.setHeight(-1), Status::InvalidInput);
}

TEST(TextTransform, MovesTurnsScalesAndMirrors) {
    Text t({1, 0, 0}, "AB", 1.0, 0.0);
    ASSERT_EQ(t.transformBy(ge::Matrix3d::rotation(kHalfPi)), Status::Ok);
    EXPECT_TRUE(PointNear(t.position(), {0, 1, 0}));
    EXPECT_NEAR(t.rotation(), kHalfPi, 1e-12);
    ASSERT_EQ(t.transformBy(ge::Matrix3d::scaling(3)), Status::Ok);
    EXPECT_DOUBLE_EQ(t.height(), 3.0);
    // A mirror in the y axis: the baseline now runs the other way, and the text is drawn flipped.
    Text m({1, 0, 0}, "AB", 1.0, 0.0);
    const auto before = m.geomExtents();
    ASSERT_EQ(m.transformBy(ge::Matrix3d::mirroring({0, 0, 0}, {0, 1, 0})), Status::Ok);
    EXPECT_NEAR(m.rotation(), kPi, 1e-12);
    EXPECT_EQ(m.generationFlags() & 4, 4);
    EXPECT_TRUE(BoxNear(m.geomExtents(), {-before->max.x, before->min.y, 0}, {-before->min.x, before->max.y, 0}));
    EXPECT_EQ(m.transformBy(ge::Matrix3d::scaling(ge::Vector3d{1, 2, 1})), Status::NotApplicable);
}

TEST(MTextExtents, LinesWidthAndAttachment) {
    MText t;
    ASSERT_EQ(t.setTextHeight(1.0), Status::Ok);
    ASSERT_EQ(t.setContents("AB\\PCDEF"), Status::Ok);
    const double tall = 1.0 + 5.0 / 3.0;  // two lines
    EXPECT_TRUE(BoxNear(t.geomExtents(), {0, -tall, 0}, {4, 0, 0}));  // top left at the location
    ASSERT_EQ(t.setAttachment(5), Status::Ok);                         // middle centre
    EXPECT_TRUE(BoxNear(t.geomExtents(), {-2, -tall / 2, 0}, {2, tall / 2, 0}));
    ASSERT_EQ(t.setWidth(10), Status::Ok);
    ASSERT_EQ(t.setAttachment(9), Status::Ok);  // bottom right
    EXPECT_TRUE(BoxNear(t.geomExtents(), {-10, 0, 0}, {0, tall, 0}));
    // Format codes are not characters.
    MText codes;
    codes.setTextHeight(1.0);
    codes.setContents("{\\fArial|b0|i0;\\H1.0x;AB}");
    EXPECT_TRUE(BoxNear(codes.geomExtents(), {0, -1, 0}, {2, 0, 0}));
    EXPECT_FALSE(MText().geomExtents().has_value());
    EXPECT_EQ(t.setAttachment(10), Status::InvalidInput);
}

// A block named `name` with base point `base`, in `db`.
ObjectId addBlock(Database& db, const std::string& name, ge::Point3d base = {}) {
    auto record = std::make_unique<BlockTableRecord>(name);
    record->setOrigin(base);
    ObjectPtr<SymbolTable> table(db.tableId(TableKind::Block), OpenMode::Write);
    ObjectId id;
    EXPECT_EQ(table->add(std::move(record), &id), Status::Ok);
    return id;
}

void appendTo(ObjectId block, std::unique_ptr<Entity> e) {
    ObjectPtr<BlockTableRecord> record(block, OpenMode::Write);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->appendEntity(std::move(e)), Status::Ok);
}

ObjectId insert(Database& db, ObjectId block, ge::Point3d at, double rotation = 0, double scale = 1) {
    auto ref = std::make_unique<BlockReference>(at, block);
    ref->setRotation(rotation);
    ref->setScaleFactors({scale, scale, scale});
    return addToModelSpace(db, std::move(ref));
}

TEST(BlockReference, TransformAndExtentsThroughTheBlock) {
    Database db;
    const ObjectId block = addBlock(db, "Plate", {1, 1, 0});
    appendTo(block, std::make_unique<Line>(ge::Point3d{1, 1}, ge::Point3d{3, 1}));
    appendTo(block, std::make_unique<Circle>(ge::Point3d{2, 2}, 1.0));
    const ObjectId id = insert(db, block, {10, 10, 0}, kHalfPi, 2);
    ObjectPtr<BlockReference> ref(id, OpenMode::Read);
    ASSERT_TRUE(ref);
    EXPECT_EQ(ref->blockName(), "Plate");
    const ge::Matrix3d m = ref->blockTransform();
    EXPECT_TRUE(PointNear(m * ge::Point3d{1, 1, 0}, {10, 10, 0}));  // the base point lands on the position
    EXPECT_TRUE(PointNear(m * ge::Point3d{3, 1, 0}, {10, 14, 0}));  // scaled 2, turned a quarter
    // The circle (centre (2,2), radius 1) lands at (8,12) with radius 2; the line from (10,10) to (10,14).
    EXPECT_TRUE(BoxNear(ref->geomExtents(), {6, 10, 0}, {10, 14, 0}));
}

TEST(BlockReference, NestedArraysAttributesAndCycles) {
    Database db;
    const ObjectId inner = addBlock(db, "Inner");
    appendTo(inner, std::make_unique<Line>(ge::Point3d{0, 0}, ge::Point3d{1, 1}));
    const ObjectId outer = addBlock(db, "Outer");
    appendTo(outer, std::make_unique<BlockReference>(ge::Point3d{5, 0, 0}, inner));
    const ObjectId id = insert(db, outer, {0, 0, 0}, 0, 2);
    {
        ObjectPtr<BlockReference> ref(id, OpenMode::Read);
        EXPECT_TRUE(BoxNear(ref->geomExtents(), {10, 0, 0}, {12, 2, 0}));
    }
    {
        // Three columns 10 drawing units apart along the reference's x axis (the spacing is not scaled).
        ObjectPtr<BlockReference> ref(id, OpenMode::Write);
        ASSERT_EQ(ref->setArray(3, 1, 10, 0), Status::Ok);
        EXPECT_TRUE(BoxNear(ref->geomExtents(), {10, 0, 0}, {32, 2, 0}));
        ASSERT_EQ(ref->setArray(1, 1, 0, 0), Status::Ok);
        EXPECT_EQ(ref->setArray(0, 1, 0, 0), Status::InvalidInput);
        // A visible attribute adds its text; an invisible one does not.
        auto visible = std::make_unique<Attribute>();
        visible->setPosition({0, 20, 0});
        visible->setTextString("AB");
        visible->setHeight(1);
        ASSERT_EQ(ref->appendAttribute(std::move(visible)), Status::Ok);
        auto hidden = std::make_unique<Attribute>();
        hidden->setPosition({-50, -50, 0});
        hidden->setTextString("X");
        hidden->setHeight(1);
        hidden->setAttributeFlags(1);
        ASSERT_EQ(ref->appendAttribute(std::move(hidden)), Status::Ok);
        EXPECT_FALSE(ref->sequenceEnd().isNull());
        EXPECT_TRUE(BoxNear(ref->geomExtents(), {0, 0, 0}, {12, 21, 0}));
    }
    // A block that contains a reference to itself: the extents stop at the nesting bound.
    const ObjectId loop = addBlock(db, "Loop");
    appendTo(loop, std::make_unique<Line>(ge::Point3d{0, 0}, ge::Point3d{1, 0}));
    appendTo(loop, std::make_unique<BlockReference>(ge::Point3d{1, 0, 0}, loop));
    ObjectPtr<BlockReference> looped(insert(db, loop, {0, 0, 0}), OpenMode::Read);
    const auto box = looped->geomExtents();
    ASSERT_TRUE(box);
    EXPECT_NEAR(box->min.x, 0.0, 1e-12);
    EXPECT_GT(box->max.x, 10.0);  // followed for a while, then stopped
    EXPECT_LT(box->max.x, 100.0);
}

TEST(BlockReference, TransformKeepsTheBlockTransformConsistent) {
    Database db;
    const ObjectId block = addBlock(db, "Part", {1, 2, 0});
    const ge::Point3d samples[] = {{1, 2, 0}, {4, 2, 0}, {1, 5, 0}, {3, -1, 2}};
    struct Case {
        const char* name;
        ge::Matrix3d m;
    };
    const Case cases[] = {
        {"move", ge::Matrix3d::translation({3, 4, 0})},
        {"rotate", ge::Matrix3d::rotation(0.6, ge::Vector3d::kZAxis(), {2, 2, 0})},
        {"scale", ge::Matrix3d::scaling(1.5, {1, 1, 0})},
        {"mirror", ge::Matrix3d::mirroring({0, 0, 0}, {1, 1, 0})},
    };
    for (const Case& c : cases) {
        ObjectPtr<BlockReference> ref(insert(db, block, {5, 5, 0}, 0.3, 2), OpenMode::Write);
        const ge::Matrix3d before = ref->blockTransform();
        ASSERT_EQ(ref->transformBy(c.m), Status::Ok) << c.name;
        const ge::Matrix3d after = ref->blockTransform();
        for (const ge::Point3d& p : samples) EXPECT_TRUE(PointNear(after * p, c.m * (before * p))) << c.name;
        EXPECT_EQ(ref->scaleFactors().x < 0, c.m.isMirroring()) << c.name;
    }
    ObjectPtr<BlockReference> ref(insert(db, block, {0, 0, 0}), OpenMode::Write);
    EXPECT_EQ(ref->setScaleFactors({1, 0, 1}), Status::InvalidInput);
    EXPECT_EQ(ref->setBlockTableRecord(db.recordId(TableKind::Layer, "0")), Status::WrongObjectType);
}

TEST(PolylineWithVertices, VerticesAreObjectsOfTheirOwn) {
    Database db;
    const ObjectId id = addToModelSpace(db, std::make_unique<Polyline2d>());
    {
        ObjectPtr<Polyline2d> pline(id, OpenMode::Write);
        ASSERT_TRUE(pline);
        ASSERT_EQ(pline->appendVertex(std::make_unique<PolylineVertex>(ge::Point3d{1, 0, 0}, 1.0)), Status::Ok);
        ASSERT_EQ(pline->appendVertex(std::make_unique<PolylineVertex>(ge::Point3d{-1, 0, 0})), Status::Ok);
        ASSERT_EQ(pline->appendVertex(std::make_unique<PolylineVertex>(ge::Point3d{-1, -2, 0})), Status::Ok);
        EXPECT_FALSE(pline->sequenceEnd().isNull());
        EXPECT_EQ(pline->vertexIds().size(), 3u);
        EXPECT_EQ(pline->vertexBulges(), (std::vector<double>{1.0, 0.0, 0.0}));
        // The half circle from (1,0) to (-1,0) reaches y = 1.
        EXPECT_TRUE(BoxNear(pline->geomExtents(), {-1, -2, 0}, {1, 1, 0}));
        ASSERT_EQ(pline->transformBy(ge::Matrix3d::rotation(kPi)), Status::Ok);
        const auto pts = pline->vertexPositions();
        ASSERT_EQ(pts.size(), 3u);
        EXPECT_TRUE(PointNear(pts[2], {1, 2, 0}));
        EXPECT_TRUE(BoxNear(pline->geomExtents(), {-1, -1, 0}, {1, 2, 0}));
    }
    // A vertex's own layer is its polyline's.
    ObjectPtr<Polyline2d> pline(id, OpenMode::Read);
    ObjectPtr<PolylineVertex> v(pline->vertexIds()[0], OpenMode::Read);
    EXPECT_EQ(v->layerId(), pline->layerId());
    EXPECT_EQ(v->ownerId(), id);

    // A 3D polyline's vertices are world points and carry the 3D flags.
    const ObjectId id3 = addToModelSpace(db, std::make_unique<Polyline3d>());
    ObjectPtr<Polyline3d> p3(id3, OpenMode::Write);
    EXPECT_EQ(p3->flags() & 8, 8);
    ObjectId vid;
    ASSERT_EQ(p3->appendVertex(std::make_unique<PolylineVertex>(ge::Point3d{1, 2, 3}), &vid), Status::Ok);
    ObjectPtr<PolylineVertex> v3(vid, OpenMode::Read);
    EXPECT_TRUE(v3->is3d());
    EXPECT_EQ(v3->flags() & 32, 32);
    EXPECT_TRUE(PointNear(p3->vertexPositions()[0], {1, 2, 3}));

    // Outside a database there is nowhere to put a vertex.
    Polyline2d loose;
    EXPECT_EQ(loose.appendVertex(std::make_unique<PolylineVertex>(ge::Point3d{0, 0, 0})), Status::NotInDatabase);
}

}  // namespace
}  // namespace host::db
