// Contour-kind assignment: selected geometry takes a kind's layer, colour and line type, and contour creation then
// gives it that kind; marking and jumper points land on their own layers even in a drawing no command prepared.
#include "laser/drawing/contour_kind_commands.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "cadlib/host_variables.h"
#include "cadlib/layers.h"
#include "host/ed/sysvars.h"
#include "laser/drawing/tests/drawing_commands_fixture.h"
#include "laser/job/drawing_slot.h"

namespace {

using drawing_testing::OpenedDrawingTest;
using drawing_testing::PreparedDrawingTest;
using host::db::ObjectId;
using host::ge::Point3d;

TEST_F(PreparedDrawingTest, KindCommandsGiveLayerColourAndLinetype) {
    struct Case {
        const char* command;
        const char* layer;
        int colour;
        const char* linetype;
    };
    const Case cases[] = {
        {"setBaseLine", "0", 7, "Continuous"},
        {"setEngraveLine", "EngraveLine", 256, "ByLayer"},
        // By-layer colour, but an explicit continuous line type.
        {"setHeatTreatmentLine", "HeatTreatmentLine", 256, "Continuous"},
        {"setNoLeadInLine", "NoLeadIn", 256, "ByLayer"},
        {"setJumperLine", "JumperLine", 7, "JumperLine"},
    };
    for (const Case& c : cases) {
        const ObjectId circle = Circle({50, 50, 0}, 10, "JumperLine");
        Change(circle, [](host::db::Entity& e) { e.setColorIndex(3); });
        const ObjectId other = Circle({150, 50, 0}, 10, "JumperLine");
        host::ed::transcript().clear();
        Answer({"60,50", ""});
        Run(c.command);
        auto e = Open<host::db::Entity>(circle);
        ASSERT_TRUE(e) << c.command;
        EXPECT_EQ(e->layer(), c.layer) << c.command;
        EXPECT_EQ(e->colorIndex(), c.colour) << c.command;
        EXPECT_EQ(e->linetype(), c.linetype) << c.command;
        EXPECT_EQ(Open<host::db::Entity>(other)->layer(), "JumperLine") << c.command << ": not selected";
        const std::string text = Transcript();
        EXPECT_EQ(drawing_testing::Count(text, "Select contours"), 1u) << text;
        EXPECT_EQ(drawing_testing::Count(text, "*** This command is reserved"),
                  std::string(c.command) == "setJumperLine" ? 1u : 0u)
            << text;
    }
}

TEST_F(PreparedDrawingTest, KindCommandReachesTheVerticesOfAPolylineAndAnEmptySelectionChangesNothing) {
    const ObjectId polyline = Add(std::make_unique<host::db::Polyline3d>(), "0");
    Change<host::db::Polyline3d>(polyline, [](host::db::Polyline3d& p) {
        for (const Point3d& v : {Point3d(0, 0, 0), Point3d(40, 0, 0), Point3d(40, 30, 0)}) {
            p.appendVertex(std::make_unique<host::db::PolylineVertex>(v));
        }
    });
    const ObjectId untouched = Line({0, 100, 0}, {40, 100, 0});

    Answer({""});
    Run("setMarkLine");
    EXPECT_EQ(Open<host::db::Entity>(polyline)->layer(), "0");
    EXPECT_EQ(Open<host::db::Entity>(untouched)->layer(), "0");

    Answer({"20,0", ""});
    Run("setMarkLine");
    EXPECT_EQ(Open<host::db::Entity>(polyline)->layer(), "MarkLine");
    for (const ObjectId vertex : Open<host::db::Polyline3d>(polyline)->vertexIds()) {
        EXPECT_EQ(Open<host::db::Entity>(vertex)->layer(), "MarkLine");
        EXPECT_EQ(Open<host::db::Entity>(vertex)->linetype(), "ByLayer");
    }
    EXPECT_EQ(Open<host::db::Entity>(untouched)->layer(), "0");
}

TEST_F(PreparedDrawingTest, EachKindCommandGivesTheKindContourCreationFinds) {
    struct Case {
        const char* command;
        ContourKind kind;
    };
    const Case cases[] = {
        {"setBaseLine", ContourKind::KindBase},
        {"setNoLeadInLine", ContourKind::NoLeadIn},
        {"setCutLineTool2", ContourKind::CutT2Line},
        {"setNoCloseLine", ContourKind::NoCloseLine},
        {"setEngraveLine", ContourKind::EngraveLine},
        {"setEngraveAndMarkLine", ContourKind::EngraveAndMarkLine},
        {"setMarkLine", ContourKind::MarkLine},
        {"setHeatTreatmentLine", ContourKind::HeatTreatmentLine},
        {"setCommonLine", ContourKind::CommonLine},
        {"setInsideCutLine", ContourKind::InsideCutLine},
        {"setJumperLine", ContourKind::JumperLine},
    };
    for (const Case& c : cases) {
        SetUp();
        Rectangle(0, 0, 200, 100);
        const ObjectId chosen = Circle({50, 50, 0}, 10, "Parts");
        Circle({150, 50, 0}, 10);
        Answer({"60,50", ""});
        Run(c.command);
        Run("NCCreateContour");
        const CuttingJob& job = *CurrentJob(settings());
        ASSERT_EQ(job.contourCount, 3) << c.command << Transcript();
        // Contour creation keeps a circle as it is: its record names the chosen circle's handle.
        int found = 0;
        for (int i = 0; i < job.contourCount; ++i) {
            const ContourRecord& record = job.contours[static_cast<std::size_t>(i)];
            if (record.handle == chosen.handle().value) {
                ++found;
                EXPECT_EQ(static_cast<int>(record.kind), static_cast<int>(c.kind)) << c.command;
            } else {
                EXPECT_EQ(static_cast<int>(record.kind), static_cast<int>(ContourKind::KindBase)) << c.command;
            }
        }
        EXPECT_EQ(found, 1) << c.command;
        TearDown();
    }
}

// In a new drawing no prepared command has made the layer "MarkPoint": the point used to go on the current layer
// with no word, and contour creation later refused it as a point on an unused layer.
TEST_F(OpenedDrawingTest, MarkPointLandsOnItsLayerInADrawingNoCommandPrepared) {
    Layer("Parts");
    ASSERT_EQ(SetCurrentLayer("Parts"), host::db::RTNORM);
    SetSysVarInt("OSMODE", 33);
    SetSysVarInt("PDMODE", 0);
    ASSERT_FALSE(HasLayer("MarkPoint"));

    Answer({"12.5,7.25"});
    Run("InsertMarkPoint");
    const auto points = Entities("POINT", "MarkPoint");
    ASSERT_EQ(points.size(), 1u) << Transcript();
    EXPECT_EQ(Open<host::db::PointEntity>(points[0])->position(), Point3d(12.5, 7.25, 0));
    // The environment is the user's again; the point display of the settings stays.
    EXPECT_EQ(host::ed::getText("CLAYER"), "Parts");
    EXPECT_EQ(host::ed::getShort("OSMODE"), 33);
    EXPECT_EQ(host::ed::getShort("PDMODE"), 35);
    EXPECT_EQ(host::ed::getRealVar("PDSIZE"), 7.0);
}

TEST_F(OpenedDrawingTest, JumperPointIsReservedAlsoWhenThePickIsCancelled) {
    for (const char* answer : {"30,40", "^C"}) {
        host::ed::transcript().clear();
        Answer({answer});
        Run("InsertJumperPoint");
        EXPECT_EQ(drawing_testing::Count(Transcript(), "*** This command is reserved"), 1u) << answer;
    }
    const auto points = Entities("POINT", "JumperLine");
    ASSERT_EQ(points.size(), 1u);
    EXPECT_EQ(Open<host::db::PointEntity>(points[0])->position(), Point3d(30, 40, 0));
    EXPECT_EQ(host::ed::getText("CLAYER"), "0");
}

}  // namespace
