// Tests of the whole road of contour creation on small drawings: the plate with holes, the checks that stop it,
// the warnings, the stored results, and the erase of centre lines.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "cadlib/groups.h"
#include "cadlib/host_variables.h"
#include "host/ed/input.h"
#include "laser/contours/contour_creation.h"
#include "laser/path/automatic_cutting_order.h"
#include "laser/contours/tests/creation_drawing_fixture.h"

namespace {

using contour_testing::CreationTest;
using host::db::ObjectId;
using host::ge::Point3d;

class ContourCreation : public CreationTest {
public:
    // The plate of four lines, (10,10)-(210,110).
    void PlateLines(double leftEdgeEnd = 10.0) {
        Line({10, 10}, {210, 10});
        Line({210, 10}, {210, 110});
        Line({210, 110}, {10, 110});
        Line({10, 110}, {10, leftEdgeEnd});
    }
    std::vector<ObjectId> Live(const char* dxfName) {
        std::vector<ObjectId> ids;
        for (ObjectId id : ModelSpace()) {
            if (std::string(Open<host::db::Entity>(id)->dxfName()) == dxfName) ids.push_back(id);
        }
        return ids;
    }
    std::vector<ObjectId> LiveOn(const char* dxfName, const char* layer) {
        std::vector<ObjectId> ids;
        for (ObjectId id : Live(dxfName)) {
            if (Open<host::db::Entity>(id)->layer() == layer) ids.push_back(id);
        }
        return ids;
    }
};

TEST_F(ContourCreation, PlateWithTwoHoles) {
    PlateLines();
    const ObjectId hole1 = Circle({60, 60}, 10);
    const ObjectId hole2 = Circle({160, 60}, 10);
    CreateGroup("SOMEGROUP", hole1, "");

    ASSERT_EQ(CreateContours(), 0);
    const CuttingJob& job = Job();
    ASSERT_EQ(job.contourCount, 3);
    EXPECT_EQ(job.baseOuter, 1u);
    EXPECT_EQ(job.baseInner, 2u);
    EXPECT_NE(Transcript().find("All contours = 3, Unclose = 0, Inside = 2, Outside = 1"), std::string::npos)
        << Transcript();
    EXPECT_TRUE(Boxes().empty());

    const std::vector<ObjectId> plates = LiveOn("LWPOLYLINE", "0");
    ASSERT_EQ(plates.size(), 1u);
    EXPECT_TRUE(Open<host::db::LwPolyline>(plates[0])->isClosed());
    EXPECT_EQ(Open<host::db::Entity>(plates[0])->colorIndex(), 170);
    EXPECT_TRUE(LiveOn("LINE", "0").empty());
    for (ObjectId hole : {hole1, hole2}) EXPECT_EQ(Open<host::db::Entity>(hole)->colorIndex(), 252);

    for (const ContourRecord& r : job.contours) {
        if (r.shape == kShapeCircle) {
            EXPECT_EQ(r.parentHandle, plates[0].handle().value);
        }
    }
    EXPECT_EQ(job.contours[3], EmptyStockRecord());
    const double area = 20000.0 - 200.0 * std::numbers::pi;
    EXPECT_NEAR(job.partArea, area, 1e-6);
    EXPECT_NEAR(job.netArea, area, 1e-6);
    EXPECT_DOUBLE_EQ(job.partFillRatio, 1.0);
    EXPECT_EQ(job.extentsMin, Point3d(10, 10, 0));
    EXPECT_EQ(job.extentsMax, Point3d(210, 110, 0));
    Point3d base;
    GetSysVarPoint3d("INSBASE", base);
    EXPECT_EQ(base, Point3d(110, 60, 0));
    int members = -1;
    EXPECT_NE(GetGroupEntityCount("SOMEGROUP", members), 0) << "every group is removed";
    EXPECT_NE(CurrentSlot(settings())->settingsTextHandle, 0u) << "the job is stored in the drawing";
}

TEST_F(ContourCreation, AnExistingPathGoesFirst) {
    PlateLines();
    Circle({60, 60}, 10);
    ASSERT_EQ(CreateContours(), 0);
    SliceAuto();
    ASSERT_GT(Job().pathGroupCount, 0);
    int members = 0;
    ASSERT_EQ(GetGroupEntityCount("DOROZ_1", members), 0);
    ASSERT_GT(members, 0);

    ASSERT_EQ(CreateContours(), 0);
    EXPECT_EQ(Job().pathGroupCount, 0);
    EXPECT_EQ(Job().homeGroupPresent, 0u);
    EXPECT_NE(GetGroupEntityCount("DOROZ_1", members), 0);
    EXPECT_TRUE(LiveOn("LINE", "NC_Laser").empty()) << "no line of the old path is left";
    EXPECT_EQ(Job().contourCount, 2);
    for (int i = 0; i < Job().contourCount; ++i) EXPECT_EQ(Job().contours[static_cast<std::size_t>(i)].processed, 0);
}

TEST_F(ContourCreation, OpenContourIsWarnedAboutAndLeftOutOfTheNetArea) {
    PlateLines(10.5);
    ASSERT_EQ(CreateContours(), 0);
    EXPECT_EQ(Job().contourCount, 1);
    EXPECT_EQ(Job().unclosedCount, 1u);
    EXPECT_NE(Transcript().find("All contours = 1, Unclose = 1, Inside = 0, Outside = 0"), std::string::npos);
    EXPECT_EQ(Boxes(), std::vector<std::string>{"Warning:\n\r\n\r1. Unclosed contours - 1            \n\r"});
    EXPECT_EQ(Job().netArea, 0.0);
}

TEST_F(ContourCreation, CrossingLinesStopCreationOnlyWhenChecked) {
    for (int check : {1, 0}) {
        SCOPED_TRACE(check);
        TearDown();
        SetUp();
        settings().CheckIntersect = check;
        PlateLines();
        Line({110, 0}, {110, 120});
        ASSERT_EQ(CreateContours(), 0);
        if (check == 1) {
            EXPECT_EQ(Job().contourCount, 0);
            EXPECT_TRUE(Job().contours.empty());
            EXPECT_TRUE(Live("LWPOLYLINE").empty());
        } else {
            EXPECT_GT(Job().contourCount, 0);
        }
    }
}

TEST_F(ContourCreation, NodeOfThreePiecesStopsOrIsRepaired) {
    struct Case {
        const char* what;
        std::vector<std::string> answers;
        int contours;
    };
    const Case cases[] = {
        {"Exit at the first menu stops creation", {"msgbox OK", "E"}, 0},
        {"the spur deleted, creation goes on", {"msgbox OK", "M", "N", "N", "D"}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TearDown();
        SetUp();
        PlateLines();
        Line({210, 110}, {250, 150});
        host::ed::setInput(host::ed::ScriptInput::fromLines(c.answers, "answers.scr"));
        ASSERT_EQ(CreateContours(), 0);
        EXPECT_EQ(Job().contourCount, c.contours);
        if (c.contours == 0) {
            EXPECT_TRUE(Job().contours.empty());
            EXPECT_EQ(LiveOn("LINE", "0").size(), 5u) << "the plate and the spur stay as they were";
        } else {
            EXPECT_EQ(Job().baseOuter, 1u);
        }
    }
}

TEST_F(ContourCreation, ContoursThatOnlyTouchAreWarnedAboutWithThePairCheck) {
    settings().CheckIntersect = 1001;
    Rectangle(0, 0, 10, 10);
    Circle({20, 10}, 10);   // its leftmost point is the rectangle's corner
    ASSERT_EQ(CreateContours(), 0);
    EXPECT_EQ(Job().contourCount, 2);
    EXPECT_EQ(Boxes(), std::vector<std::string>{"Warning:\n\r\n\r1. Intersecting pairs contours - 1          \n\r"});
}

TEST_F(ContourCreation, InvalidGeometryStopsBeforeAnythingIsBuilt) {
    PlateLines();
    Add(std::make_unique<host::db::Spline>());
    ASSERT_EQ(CreateContours(), 0);
    EXPECT_EQ(Job().contourCount, 0);
    EXPECT_TRUE(Job().contours.empty());
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_NE(Boxes()[0].find("1) Number of splines - 1"), std::string::npos);
    EXPECT_EQ(LiveOn("LINE", "0").size(), 4u) << "the lines were not joined";
}

TEST_F(ContourCreation, GeometryHiddenInABlockIsRefusedAfterTheExplode) {
    PlateLines();
    std::vector<std::unique_ptr<host::db::Entity>> inside;
    inside.push_back(std::make_unique<host::db::PointEntity>(Point3d{5, 5, 0}));
    Block("PART", std::move(inside), {100, 50, 0});
    ASSERT_EQ(CreateContours(), 0);
    EXPECT_EQ(Job().contourCount, 0);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_NE(Boxes()[0].find("1) Number of points on unused layers - 1"), std::string::npos) << Boxes()[0];
}

TEST_F(ContourCreation, BlocksBulgesAndDuplicatesBecomeContours) {
    // A part drawn as a block: a slot of two lines and two half circles, plus a circle, with one line drawn twice.
    std::vector<std::unique_ptr<host::db::Entity>> part;
    part.push_back(std::make_unique<host::db::Line>(Point3d{0, 0, 0}, Point3d{50, 0, 0}));
    part.push_back(std::make_unique<host::db::Arc>(Point3d{50, 10, 0}, 10.0, -std::numbers::pi / 2,
                                                   std::numbers::pi / 2));
    part.push_back(std::make_unique<host::db::Line>(Point3d{50, 20, 0}, Point3d{0, 20, 0}));
    part.push_back(std::make_unique<host::db::Line>(Point3d{0, 20, 0}, Point3d{50, 20, 0}));
    part.push_back(std::make_unique<host::db::Arc>(Point3d{0, 10, 0}, 10.0, std::numbers::pi / 2,
                                                   3 * std::numbers::pi / 2));
    Block("SLOT", std::move(part), {100, 100, 0});
    // A plate drawn as an open polyline with a bulge, whose ends meet within the connect distance.
    Polyline({{0, 0}, {80, 0}, {80, 60, 0.5}, {0, 60}, {0, 0.00001}}, false);
    Circle({40, 30}, 5);

    ASSERT_EQ(CreateContours(), 0);
    EXPECT_EQ(Job().contourCount, 3);
    EXPECT_EQ(Job().baseOuter, 2u);
    EXPECT_EQ(Job().baseInner, 1u);
    EXPECT_EQ(Job().unclosedCount, 0u);
    EXPECT_TRUE(Live("INSERT").empty());
    EXPECT_TRUE(LiveOn("LINE", "0").empty());
    EXPECT_TRUE(LiveOn("ARC", "0").empty());
}

TEST_F(ContourCreation, EmptyDrawingStoresAnEmptyTable) {
    ASSERT_EQ(CreateContours(), 0);
    EXPECT_NE(Transcript().find("Contours are not found"), std::string::npos);
    EXPECT_EQ(Job().contourCount, 0);
    ASSERT_EQ(Job().contours.size(), 1u);
    EXPECT_EQ(Job().partFillRatio, 0.0);
    EXPECT_FALSE(std::isnan(Job().partFillRatio));
}

TEST_F(ContourCreation, FillRatioOfNoOuterPartIsZeroNotNaN) {
    CuttingJob job;
    ContourRecord point;
    point.shape = kShapePoint;
    point.role = kRolePart;
    job.contours = {point, EmptyStockRecord()};
    job.contourCount = 1;
    EXPECT_EQ(PartFillRatio(job), 0.0);
    ContourRecord plate;
    plate.role = kRolePart;
    plate.placement = kPlacementOuter;
    plate.area = 50.0;
    plate.maxX = 10.0;
    plate.maxY = 10.0;
    job.contours = {point, plate, EmptyStockRecord()};
    job.contourCount = 2;
    EXPECT_DOUBLE_EQ(PartFillRatio(job), 0.5);
}

// A centre line is one drawn with a CENTER line type, its own or, when it has none, its layer's.
TEST_F(ContourCreation, CentreLinesGoByTheLineTypeTheyAreDrawnWith) {
    for (const char* name : {"CENTER2", "CENTER"}) {
        host::db::ObjectPtr<host::db::SymbolTable> table(db().tableId(host::db::TableKind::Linetype),
                                                         host::db::OpenMode::Write);
        table->add(std::make_unique<host::db::LinetypeTableRecord>(name));
    }
    const ObjectId own = Line({0, 0}, {10, 0});
    {
        host::db::ObjectPtr<host::db::Entity> e(own, host::db::OpenMode::Write);
        ASSERT_EQ(e->setLinetype("CENTER2"), host::db::Status::Ok);
    }
    Layer("Axes");
    {
        host::db::ObjectPtr<host::db::LayerTableRecord> layer(db().recordId(host::db::TableKind::Layer, "Axes"),
                                                              host::db::OpenMode::Write);
        layer->setLinetypeId(db().recordId(host::db::TableKind::Linetype, "CENTER"));
    }
    const ObjectId byLayer = Line({0, 5}, {10, 5}, "Axes");
    const ObjectId continuousOnAxes = Line({0, 7}, {10, 7}, "Axes");
    {
        host::db::ObjectPtr<host::db::Entity> e(continuousOnAxes, host::db::OpenMode::Write);
        ASSERT_EQ(e->setLinetype("Continuous"), host::db::Status::Ok);
    }
    const ObjectId outline = Line({0, 9}, {10, 9});
    CommandDeleteAllCenterLine();
    EXPECT_TRUE(own.isErased());
    EXPECT_TRUE(byLayer.isErased());
    EXPECT_FALSE(continuousOnAxes.isErased());
    EXPECT_FALSE(outline.isErased());
    EXPECT_NE(Transcript().find("\n\rDelete all lines of type line CENTER*\n\r"), std::string::npos);
    EXPECT_NE(Transcript().find("\n\rDelete 2 objects\n\r"), std::string::npos);
}

}  // namespace

namespace {

// A text put on the engraving layer looks like engraving on the screen, yet contour creation passed it over
// without a word and the program left it out.
TEST_F(ContourCreation, TextsOnTheEngravingLayerAreNamedAsPassedOver) {
    PlateLines();
    Line({20, 20}, {40, 20}, "EngraveLine");
    Add(std::make_unique<host::db::Text>(Point3d(20, 30, 0), "PART 7", 5.0), "EngraveLine");
    Add(std::make_unique<host::db::Text>(Point3d(20, 50, 0), "LOT 2", 5.0), "EngraveLine");
    Add(std::make_unique<host::db::Text>(Point3d(20, 70, 0), "not on the layer", 5.0), "0");
    CommandNCCreateContour();
    EXPECT_NE(Transcript().find("Texts on the engraving layer are not engraved: 2 passed over. Engrave a text with "
                                "InsertText"),
              std::string::npos)
        << Transcript();
    EXPECT_EQ(Job().contourCount, 2) << Transcript();

    // Without such a text nothing is said.
    host::ed::transcript().clear();
    for (ObjectId id : LiveOn("TEXT", "EngraveLine")) {
        host::db::ObjectPtr<host::db::Entity> text(id, host::db::OpenMode::Write);
        ASSERT_TRUE(text);
        text->erase();
    }
    CommandNCCreateContour();
    EXPECT_EQ(Transcript().find("not engraved"), std::string::npos) << Transcript();
}

}  // namespace
