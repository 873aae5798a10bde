// The statistics window: the texts of its fields for a job (units, time, stock, burnt material), and the window
// itself in both languages: every label and value fits its control, no two rows overlap, and a picture of each is
// written to the build folder for a person to look at.
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "host/ui/dc.h"
#include "host/ui/image.h"
#include "host/ui/tests/dialog_test_support.h"
#include "laser/job/drawing_slot.h"
#include "laser/path/geometry_info_dialog.h"
#include "laser/settings/laser_settings.h"

namespace {

using host::ui::Rect;
using namespace geom_info;

// The job of the plate with two holes after the automatic path: a 200 x 100 plate less two holes of radius 10.
CuttingJob PlateJob() {
    CuttingJob job;
    job.material = "STEEL.MAT";
    job.postprocessor = "FANUC.MXT";
    job.thickness = 1.0;
    job.density = 7.85e-6;
    job.partArea = 19371.6815;
    job.toolDiameter = 0.2;
    job.leadInSpan = 6.0;
    job.leadOutSpan = 3.0;
    job.feedHeatTreatment = 400.0;
    job.baseOuter = 1;
    job.baseInner = 2;
    job.contourCount = 3;
    job.contours.resize(4);
    job.pathGroupCount = 4;
    job.homeGroupPresent = 1;
    job.totalCutLength = 752.66;
    job.totalRapidLength = 457.53;
    job.totalSeconds = 164.86;
    return job;
}

const CLaserSettings& Settings() {
    static const CLaserSettings settings{CLaserSettings::DefaultsOnly{}};
    return settings;
}

TEST(StatisticsTexts, PlateAfterTheAutomaticPath) {
    SetLanguageFlag(0);
    const std::map<int, std::string> v = GeometryInfoTexts(PlateJob(), Settings());
    EXPECT_EQ(v.size(), 49u);
    const std::vector<std::pair<int, std::string>> expected = {
        {kUnit, "MM"},          {kMaterial, "STEEL.MAT"},       {kThin, "1.00"},
        {kDensity, "7.850e-06"}, {kArea, "19371.68"},          {kMass, "0.1521"},
        {kAllContours, "3"},    {kOutside, "1"},                {kInside, "2"},
        {kUnclosed, "0"},       {kPostprocessor, "FANUC.MXT"},  {kFeedCut, "300.00"},
        {kLengthCut, "752.66"}, {kLengthRapid, "457.53"},       {kStartMode, "A cut is at home"},
        {kLeadIn, "6.00"},      {kLeadOut, "3.00"},             {kTime, "2 min 44.9 sec"},
        {kUsed, "0.1521"},      {kBurnt, "0.0012"},             {kScrap, "A stock is absent"},
        {kRecovery, "A stock is absent"},
    };
    for (const auto& [id, text] : expected) EXPECT_EQ(v.at(id), text) << "field " << id;
}

TEST(StatisticsTexts, UnitsTimeStockAndAJobWithoutPath) {
    SetLanguageFlag(0);
    CuttingJob job = PlateJob();
    job.unit = 1;
    job.thickness = 1.0 / 25.4;  // a job's thickness is in its unit: 1 mm
    job.totalSeconds = 125.75;
    job.partArea = 500.0;
    job.stockArea = 2000.0;
    job.contours[3].area = 2000.0;
    std::map<int, std::string> v = GeometryInfoTexts(job, Settings());
    EXPECT_EQ(v.at(kUnit), "INCH");
    EXPECT_EQ(v.at(kTime), "2 min 5.8 sec");
    EXPECT_EQ(v.at(kRecovery), "25.00% ");
    // An inch job's areas are square inches and its thickness inches, the density per cubic millimetre: the masses
    // once came out 645 times too light (and 25.4 times too heavy with the thickness taken as millimetres). 500 sq in x 645.16 x 1 x 7.85e-6 = 2.5323 kg; the scrap is
    // (2000 - 500 - (0.2 + 752.66) x 0.2) x 645.16 x 7.85e-6.
    EXPECT_EQ(v.at(kMass), "2.5323");
    EXPECT_EQ(v.at(kScrap), "6.8342");

    // A stock record without area is no stock; without a cut path nothing is burnt. A damaged time shows 0.
    job.contours[3].area = 0.0;
    job.totalCutLength = 0.0;
    job.totalSeconds = std::nan("");
    v = GeometryInfoTexts(job, Settings());
    EXPECT_EQ(v.at(kScrap), "A stock is absent");
    EXPECT_EQ(v.at(kRecovery), "A stock is absent");
    EXPECT_EQ(v.at(kBurnt), "0.0000");
    EXPECT_EQ(v.at(kUsed), v.at(kMass));
    EXPECT_EQ(v.at(kTime), "0 min 0.0 sec");
}

class StatisticsWindow : public host::ui::testing::DialogTest {
protected:
    StatisticsWindow() { desktop.setRasterEnabled(true); }
    ~StatisticsWindow() override { SetLanguageFlag(0); }

    // Shows the window for the plate in `language`, checks its controls and writes its picture as `png`.
    void ShowAndLook(int language, const std::string& png) {
        SetLanguageFlag(language);
        CGeomInfo dialog;
        dialog.values = GeometryInfoTexts(PlateJob(), Settings());
        host::ui::testing::IdleSteps steps(desktop, {[&](host::ui::Dialog& d) {
                                                        CheckControls(d);
                                                        std::string error;
                                                        EXPECT_TRUE(desktop.saveSnapshot(
                                                            &d, std::filesystem::path(KESTRION_BINARY_DIR) / png,
                                                            &error))
                                                            << error;
                                                        d.endDialog(host::ui::IDOK);
                                                    }});
        EXPECT_EQ(dialog.doModal(), host::ui::IDOK);
        EXPECT_EQ(steps.taken(), 1);
    }

    // Every label and value shows its whole text, and no two rows share a place.
    static void CheckControls(host::ui::Dialog& d) {
        std::vector<std::pair<int, Rect>> placed;
        for (int id = 200; id < 530; ++id) {
            host::ui::Window* control = d.item(id);
            if (control == nullptr || id == 377 || id == 384 || id == 397 || id == 402) continue;
            host::ui::ClientDC dc(*control);
            dc.selectFont(control->font());
            const std::string text = control->text();
            EXPECT_FALSE(text.empty()) << "control " << id;
            EXPECT_LE(dc.textExtent(text).width, control->clientRect().width()) << "control " << id << ": " << text;
            const Rect r = control->windowRect();
            for (const auto& [other, otherRect] : placed) {
                EXPECT_FALSE(host::ui::overlaps(r, otherRect)) << "controls " << id << " and " << other;
            }
            placed.emplace_back(id, r);
        }
        EXPECT_EQ(placed.size(), 49u * 2);
    }
};

TEST_F(StatisticsWindow, EnglishFitsAndIsPictured) { ShowAndLook(0, "statistics_window_en.png"); }

TEST_F(StatisticsWindow, RussianFitsAndIsPictured) { ShowAndLook(1, "statistics_window_ru.png"); }

}  // namespace
