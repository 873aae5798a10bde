// The drawing side of a job load: line types, the CAM layer set, the point display and the entity arrays; and the
// state's construction and the release of the instances' poses.
#include <gtest/gtest.h>

#include <string>

#include "cadlib/layers.h"
#include "host/ed/sysvars.h"
#include "nesting/frame/nesting_state.h"
#include "nesting/frame/tests/state_fixture.h"
#include "nesting/testing/job_builder.h"

namespace {

using nesting_frame_testing::kDataFolder;
using nesting_frame_testing::StateTest;

class DrawingPreparation : public StateTest {};

TEST_F(DrawingPreparation, ConstructionLeavesAnEmptyJobAndTheOffsetTablesReady) {
    const CNestingState state;
    EXPECT_EQ(state.Offset.OffsetContours.size(), 200u);
    for (const Contour& contour : state.Offset.OffsetContours) {
        ASSERT_TRUE(contour.Elements.empty());
    }
    EXPECT_EQ(state.Offset.OffsetContourCount, 0);
    EXPECT_EQ(state.Offset.OffsetPieces.size(), 2000u);
    EXPECT_GE(state.Offset.OffsetPieces.capacity(), 5000u);
    EXPECT_TRUE(state.FilesWithoutContours.empty());
    EXPECT_EQ(state.FilesWithoutContoursCursor, 0);
    EXPECT_EQ(state.CurrentJobPath, "");
    EXPECT_EQ(state.CopiedEntities.Capacity(), 0u);
    EXPECT_EQ(state.SpecialEntities.Capacity(), 0u);
    EXPECT_EQ(state.HalfPartGap, 0.0);
    EXPECT_EQ(state.EdgeGap, 0.0);
    EXPECT_TRUE(state.StockTypes.empty() && state.PartInstances.empty());
    EXPECT_EQ(state.CurrentStockInstance, nullptr);
}

TEST_F(DrawingPreparation, PointDisplayComesFromTheSettings) {
    struct Case {
        const char* mode;
        const char* size;
        int pdmode;
        double pdsize;
    };
    const Case cases[] = {
        {"", "", 35, 0}, {"0", "5", 35, 5}, {"-3", "2.7", 35, 2}, {"3", "-1", 3, -1}, {"34abc", "x", 34, 0},
    };
    for (const Case& c : cases) {
        CNestingState state;
        state.PdModeText = c.mode;
        state.PdSizeText = c.size;
        EXPECT_EQ(state.PrepareNestDrawing(), 0);
        EXPECT_EQ(host::ed::getShort("PDMODE"), c.pdmode) << c.mode;
        EXPECT_EQ(host::ed::getRealVar("PDSIZE"), c.pdsize) << c.size;
    }
    EXPECT_TRUE(Layer("NC_ContoursOffset"));
    EXPECT_EQ(Layer("NC_ContoursOffset")->color().index, 1);
}

TEST_F(DrawingPreparation, EntityArraysGrowByTwentyAndLoseNothing) {
    CNestingState state;
    state.AppendCopiedEntity({{1, 1}});  // before any storage: room for twenty
    EXPECT_EQ(state.CopiedEntities.Capacity(), 20u);

    state.PrepareNestDrawing();
    EXPECT_EQ(state.CopiedEntities.Count(), 0);
    EXPECT_EQ(state.CopiedEntities.Capacity(), 2000u);
    EXPECT_EQ(state.SpecialEntities.Capacity(), 500u);
    for (std::int64_t i = 1; i <= 2001; ++i) {
        state.AppendCopiedEntity({{7, i}});
    }
    EXPECT_EQ(state.CopiedEntities.Capacity(), 2020u);
    ASSERT_EQ(state.CopiedEntities.Count(), 2001);
    for (std::int64_t i = 1; i <= 2001; ++i) {
        ASSERT_EQ(state.CopiedEntities.Names()[static_cast<std::size_t>(i - 1)].word[1], i);
    }
    for (std::int64_t i = 1; i <= 501; ++i) {
        state.AppendSpecialEntity({{7, i}});
    }
    EXPECT_EQ(state.SpecialEntities.Capacity(), 520u);
    EXPECT_EQ(state.SpecialEntities.Count(), 501);
}

TEST_F(DrawingPreparation, TheCamLayerSetIsCreatedWithItsLineTypes) {
    CNestingState state;
    state.DirInstall = kDataFolder.string();
    state.Unit = 0;
    CreateLayer("NC_Laser", 7, "Continuous", false);  // an existing layer keeps its colour
    EXPECT_EQ(state.CreateCamLayers(), 0);
    EXPECT_EQ(Transcript(), "");

    struct Expected {
        const char* layer;
        int colour;
        const char* linetype;
        bool off;
    };
    const Expected layers[] = {
        {"NC_Laser", 7, "Continuous", false},       {"NC_Laser_Off", 1, "Continuous", true},
        {"NoCloseLine", 210, "PHANTOM", false},     {"EngraveLine", 32, "Continuous", false},
        {"HeatTreatmentLine", 30, "Continuous", false}, {"CommonLine", 40, "HIDDEN", false},
        {"InsideCutLine", 190, "HIDDEN", false},    {"JumperLine", 132, "JumperLine", false},
        {"NoLeadIn", 92, "Continuous", false},      {"MarkPoint", 6, "Continuous", false},
        {"Clamp", 12, "PHANTOM", false},            {"MarkingText", 5, "Continuous", false},
        {"TrimLine", 140, "PHANTOM", false},        {"HoleDrill", 5, "Continuous", false},
        {"Punch", 5, "Continuous", false},
    };
    for (const Expected& e : layers) {
        ASSERT_TRUE(Layer(e.layer)) << e.layer;
        EXPECT_EQ(Layer(e.layer)->color().index, e.colour) << e.layer;
        EXPECT_EQ(Layer(e.layer)->isOff(), e.off) << e.layer;
        EXPECT_STRCASEEQ(LinetypeOfLayer(e.layer).c_str(), e.linetype) << e.layer;
    }
    std::string current;
    GetCurrentLayer(current);
    EXPECT_EQ(current, "0");
}

TEST_F(DrawingPreparation, LineTypesThatCannotBeLoadedAreToldAndTheLayersStillMade) {
    CNestingState state;
    state.DirInstall = (kDataFolder / "no such folder").string();
    state.TypeLineMove = "HIDDEN";
    state.TypeLineStock = "PHANTOM";
    state.LoadNestingLinetypes();
    EXPECT_NE(Transcript().find("\nERROR. I can't load line type HIDDEN "), std::string::npos) << Transcript();
    EXPECT_NE(Transcript().find("\nERROR. I can't load line type PHANTOM "), std::string::npos) << Transcript();
    EXPECT_TRUE(Layer("NC_ContoursOffset"));

    host::ed::transcript().clear();
    SetLibraryLanguage(Language::Russian);
    state.CreateCamLayers();
    EXPECT_NE(Transcript().find("\nОШИБКА. Не могу прочитать тип линии JumperLine "), std::string::npos)
        << Transcript();
    ASSERT_TRUE(Layer("JumperLine"));
    EXPECT_STRCASEEQ(LinetypeOfLayer("JumperLine").c_str(), "CONTINUOUS");
    EXPECT_TRUE(Layer("Punch"));
}

TEST_F(DrawingPreparation, TheProductLineTypesLoadFromTheInstalledFile) {
    CNestingState state;
    state.DirInstall = kDataFolder.string();
    state.TypeLineMove = "HIDDEN";
    state.TypeLineStock = "PHANTOM";
    for (int unit : {0, 1}) {
        state.Unit = unit;
        state.LoadNestingLinetypes();
    }
    EXPECT_EQ(Transcript(), "");
    EXPECT_FALSE(drawing.db().recordId(host::db::TableKind::Linetype, "PHANTOM").isNull());
}

TEST_F(DrawingPreparation, FreeingInstancesDropsTheirPosesOnly) {
    CNestingState state;
    EXPECT_EQ(state.FreePartInstances(), 0);  // no job yet: nothing to do
    EXPECT_EQ(state.FreeStockInstances(), 0);

    AddStockType(state, MakeRectangleType(kKindStock, 1000, 500), 1);
    AddPartType(state, MakeRectangleType(kKindPart, 10, 20), 3);
    ASSERT_TRUE(AddInstances(state));
    state.FreePartInstances();
    EXPECT_EQ(state.PartInstanceCount, 3);
    ASSERT_EQ(state.PartInstances.size(), 4u);
    for (const PartInstance& instance : state.PartInstances) {
        EXPECT_FALSE(instance.TrialPose || instance.CommittedPose);
    }
    EXPECT_TRUE(state.StockInstances[0].TrialPose);
    EXPECT_EQ(state.PartTypes[0].OuterCount(0), 1);  // the type keeps its contours
    state.FreeStockInstances();
    EXPECT_FALSE(state.StockInstances[0].TrialPose);
    EXPECT_EQ(state.StockInstanceCount, 1);
}

}  // namespace
