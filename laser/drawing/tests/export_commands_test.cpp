// Export to the cut and plot layers and back, the DXF export dialog that writes nothing, and the stock outline
// drawn around a picked point.
#include "laser/drawing/export_commands.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "cadlib/host_variables.h"
#include "cadlib/layers.h"
#include "host/db/database.h"
#include "host/ed/sysvars.h"
#include "host/sys/folders.h"
#include "laser/drawing/tests/drawing_commands_fixture.h"
#include "laser/job/drawing_slot.h"

namespace {

namespace fs = std::filesystem;
using drawing_testing::PreparedDrawingTest;
using host::db::ObjectId;

class ExportCommandsTest : public PreparedDrawingTest {
public:
    // How many live model-space entities there are of each class on each layer ("LINE@CUT").
    std::map<std::string, int> Census() {
        std::map<std::string, int> census;
        for (const ObjectId id : ModelSpace()) {
            auto e = Open<host::db::Entity>(id);
            if (e && e->layer() != "NC_Laser") ++census[std::string(e->dxfName()) + "@" + e->layer()];
        }
        return census;
    }
    // A part with a hole, an engraved circle, a stock outline, a block reference and a mark on another layer.
    void DrawPart() {
        Rectangle(0, 0, 200, 100);
        Circle({50, 50, 0}, 10);
        Circle({150, 50, 0}, 10, "EngraveLine");
        stock_ = Rectangle(-20, -20, 400, 300);
        Change(stock_, [this](host::db::Entity& e) { e.setLinetype(settings().TypeLineStock); });
        CircleBlock("Hole", {100, 50, 0}, "0");
        Circle({100, 80, 0}, 5, "MarkLine");
    }
    ObjectId stock_;
};

TEST_F(ExportCommandsTest, ExportLeavesCutAndPlotLayersWithoutPathOrBlocks) {
    ASSERT_FALSE(settings().TypeLineStock.empty());
    DrawPart();
    Run("NCCreateContour");
    Run("NCSliceAuto");
    ASSERT_GT(CurrentJob(settings())->pathGroupCount, 0) << Transcript();
    host::ed::transcript().clear();

    Run("vesk_ExportContours");
    EXPECT_EQ(CurrentJob(settings())->pathGroupCount, 0);
    const std::map<std::string, int> census = Census();
    for (const auto& [what, n] : census) {
        EXPECT_EQ(what.find("INSERT"), std::string::npos) << what;
        EXPECT_EQ(what.find("@0"), std::string::npos) << what << ": nothing stays on layer 0";
        EXPECT_EQ(what.find("@EngraveLine"), std::string::npos) << what;
    }
    EXPECT_EQ(census.count("CIRCLE@PLOT"), 1u);
    EXPECT_EQ(census.at("CIRCLE@MarkLine"), 1) << "other kinds stay on their layers";
    EXPECT_EQ(census.at("CIRCLE@CUT"), 2) << "the hole and the exploded block's circle";
    for (const ObjectId id : ModelSpace()) {
        auto e = Open<host::db::Entity>(id);
        if (!e) continue;
        if (e->layer() == "CUT") {
            EXPECT_EQ(e->colorIndex(), 1);
            const bool stock = e->linetype() == settings().TypeLineStock;
            if (!stock) {
                EXPECT_EQ(e->linetype(), "Continuous") << e->dxfName();
            }
        } else if (e->layer() == "PLOT") {
            EXPECT_EQ(e->colorIndex(), 3);
            EXPECT_EQ(e->linetype(), "Continuous");
        }
    }
    // The stock outline keeps its line type (contour creation may have drawn it anew, so look it up by type).
    int stockOutlines = 0;
    for (const ObjectId id : Entities("LWPOLYLINE", "CUT")) {
        if (Open<host::db::Entity>(id)->linetype() == settings().TypeLineStock) ++stockOutlines;
    }
    EXPECT_EQ(stockOutlines, 1);
    EXPECT_TRUE(HasLayer("CUT") && HasLayer("PLOT"));
    const std::string text = Transcript();
    EXPECT_EQ(drawing_testing::Count(text, "\n\rВыбрано "), 1u) << text;
}

TEST_F(ExportCommandsTest, ReExportGivesBackTheLayersAndTheContours) {
    DrawPart();
    Run("NCCreateContour");
    const int contours = CurrentJob(settings())->contourCount;
    ASSERT_GT(contours, 0);
    Run("vesk_ExportContours");
    Run("vesk_ReExportContours");
    const std::map<std::string, int> census = Census();
    for (const auto& [what, n] : census) {
        EXPECT_EQ(what.find("@CUT"), std::string::npos) << what;
        EXPECT_EQ(what.find("@PLOT"), std::string::npos) << what;
    }
    EXPECT_EQ(census.at("CIRCLE@EngraveLine"), 1);
    // Contour creation colours the holes; none keeps the colour of the cut layer.
    for (const ObjectId id : Entities("CIRCLE", "0")) {
        EXPECT_NE(Open<host::db::Entity>(id)->colorIndex(), 1);
    }
    for (const ObjectId id : Entities("CIRCLE", "EngraveLine")) {
        EXPECT_EQ(Open<host::db::Entity>(id)->colorIndex(), std::stoi(settings().ColorEngraveLine));
        EXPECT_EQ(Open<host::db::Entity>(id)->linetype(), settings().TypeEngraveLine);
    }
    // Contour creation exploded the block the first time too: the same contours come back.
    EXPECT_EQ(CurrentJob(settings())->contourCount, contours) << Transcript();
}

TEST_F(ExportCommandsTest, ReExportOfADrawingWithoutCutOrPlotOnlyRemovesPathAndBlocks) {
    Rectangle(0, 0, 100, 50);
    Circle({30, 25, 0}, 5, "EngraveLine");
    CircleBlock("Hole", {70, 25, 0}, "0");
    Run("vesk_ReExportContours");
    const std::map<std::string, int> census = Census();
    EXPECT_EQ(census.count("INSERT@0"), 0u);
    EXPECT_EQ(census.at("CIRCLE@0"), 1);
    EXPECT_EQ(census.at("CIRCLE@EngraveLine"), 1);
    EXPECT_EQ(CurrentJob(settings())->contourCount, 3) << Transcript();
}

// The export dialog only asks for a name: neither a chosen file nor a cancel writes a file or changes the drawing.
TEST_F(ExportCommandsTest, ExportCncInDxfWritesNothing) {
    Rectangle(0, 0, 100, 50);
    const fs::path target = fs::temp_directory_path() / "export_cnc_in_dxf_test.dxf";
    fs::remove(target);
    const std::map<std::string, int> before = Census();
    for (const std::string& answer : {"file " + target.string(), std::string("file cancel")}) {
        host::ed::transcript().clear();
        Answer({answer});
        Run("ExportCncInDxf");
        EXPECT_FALSE(fs::exists(target)) << answer;
        EXPECT_EQ(Census(), before) << answer;
        const bool named = answer != "file cancel";
        EXPECT_EQ(drawing_testing::Count(Transcript(), "No DXF file was written to " + target.string()),
                  named ? 1u : 0u)
            << Transcript();
    }
}

TEST_F(ExportCommandsTest, CreateStockDrawsABoundaryAroundThePointOnly) {
    Rectangle(0, 0, 100, 50);
    // The outline goes on the current layer.
    ASSERT_EQ(SetCurrentLayer("0"), host::db::RTNORM);
    SetSysVarInt("CMDECHO", 0);
    Answer({"500,500"});
    Run("CCSS");
    EXPECT_EQ(Entities("LWPOLYLINE", "0").size(), 1u) << "nothing closed around the point: nothing drawn";
    EXPECT_EQ(host::ed::getShort("CMDECHO"), 1);

    Answer({"50,25"});
    Run("CCSS");
    const auto outlines = Entities("LWPOLYLINE", "0");
    ASSERT_EQ(outlines.size(), 2u) << Transcript();

    auto outline = Open<host::db::Entity>(outlines.back());
    const auto box = outline->geomExtents();
    ASSERT_TRUE(box);
    EXPECT_NEAR(box->min.x, 0, 1e-9);
    EXPECT_NEAR(box->max.x, 100, 1e-9);
    EXPECT_NEAR(box->max.y, 50, 1e-9);
    EXPECT_EQ(drawing_testing::Count(Transcript(), "\n\rCreate stock\n\r"), 2u);

    // Esc at the point ends the command before the host variable is touched.
    SetSysVarInt("CMDECHO", 0);
    Answer({"^C"});
    Run("CCSS");
    EXPECT_EQ(host::ed::getShort("CMDECHO"), 0);
}

// A slot 0.4 wide far from the origin: the picked point used to reach the host with five significant digits
// (12345.4 as 12345), outside the slot, and the host answered "Valid boundary not found".
TEST_F(ExportCommandsTest, CreateStockFindsANarrowOutlineFarFromTheOrigin) {
    Rectangle(12345.2, 100, 12345.6, 200);
    ASSERT_EQ(SetCurrentLayer("0"), host::db::RTNORM);
    Answer({"12345.4,150"});
    Run("CCSS");
    EXPECT_EQ(Transcript().find("Valid boundary not found"), std::string::npos) << Transcript();
    const auto outlines = Entities("LWPOLYLINE", "0");
    ASSERT_EQ(outlines.size(), 2u) << Transcript();
    const auto box = Open<host::db::Entity>(outlines.back())->geomExtents();
    ASSERT_TRUE(box);
    EXPECT_NEAR(box->min.x, 12345.2, 1e-9);
    EXPECT_NEAR(box->max.x, 12345.6, 1e-9);
}

}  // namespace
