// Tests of the inner/outer classification, the parents, colours and counters, and the jumper points.
#include <gtest/gtest.h>

#include <numbers>

#include "laser/contours/contour_classification.h"
#include "laser/contours/contour_table.h"
#include "laser/contours/jumper_points.h"
#include "laser/contours/tests/creation_drawing_fixture.h"

namespace {

using contour_testing::CreationTest;
using host::db::ObjectId;

class Classification : public CreationTest {
protected:
    void SetUp() override {
        CreationTest::SetUp();
        savedCutEngraveType_ = settings().CutEngraveType;
        savedStock_ = settings().TypeLineStock;
    }
    void TearDown() override {
        settings().CutEngraveType = savedCutEngraveType_;
        settings().TypeLineStock = savedStock_;
        CreationTest::TearDown();
    }

public:
    void Classify() {
        BuildContourTable(Job());
        ASSERT_EQ(ClassifyContourNesting(Job()), 0);
        ASSERT_EQ(AttachJumperPoints(Job()), 0);
    }
    const ContourRecord& Record(ObjectId id) {
        for (const ContourRecord& r : Job().contours) {
            if (r.handle == id.handle().value) return r;
        }
        ADD_FAILURE() << "no record";
        static const ContourRecord none;
        return none;
    }
    int Colour(ObjectId id) { return Open<host::db::Entity>(id)->colorIndex(); }

private:
    int savedCutEngraveType_ = 0;
    std::string savedStock_;
};

TEST_F(Classification, PlateWithHoleIsOuterAroundInner) {
    const ObjectId plate = Rectangle(10, 10, 210, 110, "0", true);   // drawn clockwise
    const ObjectId hole = Circle({60, 60}, 10);
    Classify();
    EXPECT_EQ(Record(plate).placement, kPlacementOuter);
    EXPECT_EQ(Record(plate).parentHandle, 0u);
    EXPECT_EQ(Colour(plate), 170);
    EXPECT_EQ(Record(hole).placement, kPlacementInner);
    EXPECT_EQ(Record(hole).parentHandle, plate.handle().value);
    EXPECT_EQ(Colour(hole), 252);
    EXPECT_EQ(Job().baseOuter, 1u);
    EXPECT_EQ(Job().baseInner, 1u);
    EXPECT_NEAR(Job().partArea, 20000.0 - 100.0 * std::numbers::pi, 1e-6);
    // The plate now runs counter-clockwise: (210,10) up to (210,110).
    host::ge::Point3d first, second;
    Open<host::db::LwPolyline>(plate)->getPointAt(0, first);
    Open<host::db::LwPolyline>(plate)->getPointAt(1, second);
    EXPECT_EQ(first, host::ge::Point3d(210, 10, 0));
    EXPECT_EQ(second, host::ge::Point3d(210, 110, 0));
}

TEST_F(Classification, PartInAHoleIsOuterWithTheHoleAsParent) {
    const ObjectId outer = Rectangle(0, 0, 100, 100);
    const ObjectId hole = Rectangle(20, 20, 80, 80);
    const ObjectId island = Circle({50, 50}, 10);
    Classify();
    EXPECT_EQ(Record(hole).placement, kPlacementInner);
    EXPECT_EQ(Record(hole).parentHandle, outer.handle().value);
    EXPECT_EQ(Record(island).placement, kPlacementOuter);
    EXPECT_EQ(Record(island).parentHandle, hole.handle().value);
    EXPECT_EQ(Job().baseOuter, 2u);
}

TEST_F(Classification, EngravingIsInnerOrLeftAloneAndNeverEnclosesOrCountsAsMaterial) {
    for (int cutEngraveType : {0, 1}) {
        SCOPED_TRACE(cutEngraveType);
        TearDown();
        SetUp();
        settings().CutEngraveType = cutEngraveType;
        const ObjectId part = Rectangle(0, 0, 100, 100);
        const ObjectId engraving = Rectangle(10, 10, 50, 50, "EngraveLine");
        const ObjectId inEngraving = Circle({30, 30}, 5);
        Classify();
        EXPECT_EQ(Record(engraving).placement, cutEngraveType == 0 ? kPlacementInner : kPlacementNone);
        EXPECT_EQ(Record(engraving).parentHandle, cutEngraveType == 0 ? part.handle().value : 0u);
        EXPECT_EQ(Colour(engraving), 32);
        EXPECT_EQ(Job().engraveCount, 1u);
        // The circle inside the engraving is a hole of the part: the engraving encloses nothing.
        EXPECT_EQ(Record(inEngraving).placement, kPlacementInner);
        EXPECT_EQ(Record(inEngraving).parentHandle, part.handle().value);
        EXPECT_NEAR(Job().partArea, 10000.0 - 25.0 * std::numbers::pi, 1e-6);
    }
}

TEST_F(Classification, CommonLineTakesTheContourItStartsOn) {
    const ObjectId part = Rectangle(0, 0, 100, 100);
    const ObjectId common = Polyline({{100, 50}, {150, 50}}, false, "CommonLine");
    const ObjectId commonCircle = Circle({50, 50}, 5, "CommonLine");
    Classify();
    EXPECT_EQ(Record(common).parentHandle, part.handle().value);
    EXPECT_EQ(Record(commonCircle).placement, kPlacementOuter);
    EXPECT_EQ(Record(commonCircle).parentHandle, 0u);
    EXPECT_EQ(Colour(commonCircle), 40);
    EXPECT_EQ(Job().commonCount, 2u);
}

TEST_F(Classification, PointsTakeTheirContours) {
    const ObjectId part = Rectangle(0, 0, 100, 100);
    const ObjectId noLeadIn = Circle({50, 50}, 10, "NoLeadIn");
    const ObjectId onNoLeadIn = Point({60, 50}, "JumperLine");
    const ObjectId loose = Point({200, 200}, "JumperLine");
    const ObjectId mark = Point({20, 20}, "MarkPoint");
    Classify();
    EXPECT_EQ(Record(onNoLeadIn).parentHandle, noLeadIn.handle().value);
    EXPECT_EQ(Record(loose).parentHandle, 0u);
    EXPECT_EQ(Job().jumperPointCount, 2u);
    EXPECT_EQ(Record(mark).parentHandle, part.handle().value);
    EXPECT_EQ(Record(mark).placement, kPlacementNone);
    EXPECT_EQ(Record(mark).closure, kClosureNoLeads);
    EXPECT_EQ(Job().markPointCount, 1u);
    EXPECT_EQ(Job().noLeadInInner, 1u);
    EXPECT_EQ(Colour(noLeadIn), 70);
}

TEST_F(Classification, OpenCutContourIsUnclosedAndEnclosesNothing) {
    // Open contours of the three cut kinds are unclosed; an open NoCloseLine is what it is meant to be.
    for (const char* layer : {"0", "NoLeadIn", "JumperLine", "NoCloseLine"}) {
        SCOPED_TRACE(layer);
        TearDown();
        SetUp();
        const bool unclosed = std::string(layer) != "NoCloseLine";
        const ObjectId open = Polyline({{0, 0}, {100, 0}, {100, 100}, {0, 100}}, false, layer);
        const ObjectId inside = Circle({50, 50}, 5);
        Classify();
        EXPECT_EQ(Record(open).placement, kPlacementNone);
        EXPECT_EQ(Record(open).closure, kClosureOpen);
        EXPECT_EQ(Colour(open), unclosed ? 1 : 210);
        EXPECT_EQ(Job().unclosedCount, unclosed ? 1u : 0u);
        EXPECT_EQ(Job().noCloseCount, unclosed ? 0u : 1u);
        EXPECT_EQ(Record(inside).placement, kPlacementOuter);
        EXPECT_EQ(Record(inside).parentHandle, 0u);
    }
}

TEST_F(Classification, StockEnclosesOnlyStock) {
    const ObjectId stock = Rectangle(-10, -10, 500, 500);
    {
        host::db::ObjectPtr<host::db::SymbolTable> table(db().tableId(host::db::TableKind::Linetype),
                                                         host::db::OpenMode::Write);
        table->add(std::make_unique<host::db::LinetypeTableRecord>("PHANTOM"));
    }
    {
        host::db::ObjectPtr<host::db::Entity> e(stock, host::db::OpenMode::Write);
        ASSERT_EQ(e->setLinetype("PHANTOM"), host::db::Status::Ok);
    }
    const ObjectId part = Rectangle(0, 0, 100, 100);
    Classify();
    EXPECT_EQ(Record(stock).placement, kPlacementOuter);
    EXPECT_EQ(Colour(stock), 11);
    EXPECT_EQ(Record(part).placement, kPlacementOuter);
    EXPECT_EQ(Record(part).parentHandle, 0u);
    EXPECT_EQ(Job().stockCount, 1u);
    EXPECT_EQ(Job().stockOuter, 1u);
    EXPECT_DOUBLE_EQ(Job().stockArea, 510.0 * 510.0);
    EXPECT_DOUBLE_EQ(Job().partArea, 10000.0);
}

TEST_F(Classification, LockedContourIsReportedAndLeftUnclassified) {
    Rectangle(0, 0, 100, 100);
    const ObjectId hole = Circle({50, 50}, 5, "Locked");
    BuildContourTable(Job());   // a circle is read without being changed
    Layer("Locked", false, false, true);
    ASSERT_EQ(ClassifyContourNesting(Job()), 0);
    EXPECT_EQ(Record(hole).placement, kPlacementNone);
    EXPECT_EQ(Job().baseInner, 0u);
    EXPECT_NE(Transcript().find("cannot be changed"), std::string::npos);
}

TEST(ClassColourText, DecimalTextOrNone) {
    EXPECT_EQ(ColourIndexOf("252"), 252);
    EXPECT_EQ(ColourIndexOf(" 7"), 7);
    EXPECT_EQ(ColourIndexOf(""), -1);
    EXPECT_EQ(ColourIndexOf("red"), -1);
}

}  // namespace
