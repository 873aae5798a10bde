// Loading a read job: rectangle stocks and parts with their contours and blocks, the gaps, the clamps, the
// instances, and the checks that refuse a job whole before anything of it is built.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>

#include "cadlib/layers.h"
#include "cadlib/rectangle_blocks.h"
#include "host/ui/message_box.h"
#include "nesting/frame/nesting_state.h"
#include "nesting/frame/tests/state_fixture.h"
#include "nesting/job/job_file_reader.h"
#include "nesting/job/job_file_writer.h"
#include "nesting/job/job_instances.h"
#include "nesting/job/job_loader.h"
#include "nesting/job/rectangle_contour.h"

namespace {

using nesting_frame_testing::kDataFolder;

constexpr double kTolerance = 1e-6;

void ExpectBox(const BoundingBox& box, double minX, double minY, double maxX, double maxY, const char* what) {
    EXPECT_NEAR(box.minX, minX, kTolerance) << what;
    EXPECT_NEAR(box.minY, minY, kTolerance) << what;
    EXPECT_NEAR(box.maxX, maxX, kTolerance) << what;
    EXPECT_NEAR(box.maxY, maxY, kTolerance) << what;
}

class JobLoader : public nesting_frame_testing::StateTest {
protected:
    void SetUp() override {
        StateTest::SetUp();
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        jobFile_ =
            std::filesystem::temp_directory_path() / (std::string("nesting_job_loader_") + info->name() + ".nst");
        host::ui::clearMessageBoxLog();
        state.DirInstall = kDataFolder.string();
        state.TypeLineStock = "PHANTOM";
        state.TypeLinePart = "CONTINUOUS";
    }
    void TearDown() override {
        std::filesystem::remove(jobFile_);
        StateTest::TearDown();
    }

    // A job of one rectangle stock and two rectangle parts, read into the state.
    void ReadJob(NestingJobFile job = {}) {
        if (job.Stocks.empty() && job.Parts.empty()) {
            job.Stocks.push_back({"0", "", "1000", "500", "Sheet", "2", "0", "1"});
            job.Parts.push_back({"0", "", "100", "50", "Plate", "3", "0", "0-360", "Any", "", "1"});
            job.Parts.push_back({"0", "", "30", "30", "Square", "4", "0", "No Rotate", "", "", "1"});
        }
        std::string error;
        ASSERT_TRUE(WriteNestingJobFile(jobFile_, job, &error)) << error;
        ASSERT_EQ(ReadNestingJob(state, jobFile_.string()), 0) << Box();
        state.CurrentJobPath = jobFile_.string();
    }

    static std::string Box() {
        const auto& log = host::ui::messageBoxLog();
        return log.empty() ? std::string() : log.back().text;
    }

    void ExpectNoJob(const char* what) {
        EXPECT_EQ(state.StockTypeCount, 0) << what;
        EXPECT_EQ(state.PartTypeCount, 0) << what;
        EXPECT_EQ(state.StockInstanceCount, 0) << what;
        EXPECT_EQ(state.PartInstanceCount, 0) << what;
        EXPECT_EQ(state.StockTypes.size(), 1u) << what;
        EXPECT_EQ(state.PartTypes.size(), 1u) << what;
    }

    CNestingState state;
    std::filesystem::path jobFile_;
};

TEST_F(JobLoader, RectanglesBecomeContoursAndBlocks) {
    state.StockPointOrigin = {10.0, 20.0, 0.0};
    ReadJob();
    ASSERT_EQ(LoadJobDrawings(state), 0) << Box();
    EXPECT_TRUE(host::ui::messageBoxLog().empty()) << Box();
    EXPECT_EQ(state.StockInstanceCount, 2);
    EXPECT_EQ(state.PartInstanceCount, 7);
    EXPECT_EQ(state.PartTypeCount, 2);

    // The stock lies from the stock origin, its reference point the drawing's origin.
    const PartType& sheet = state.StockTypes[0];
    ASSERT_EQ(sheet.OuterCount(0), 1);
    const Contour& outline = sheet.Outers[0][0];
    ExpectBox(outline.Box, 10, 20, 1010, 520, "stock outline");
    ExpectBox(sheet.OuterBox, 10, 20, 1010, 520, "stock outer box");
    EXPECT_EQ(outline.Owner, kOwnerStock);
    EXPECT_EQ(outline.Colour, 191);
    EXPECT_EQ(outline.LineType, "PHANTOM");
    EXPECT_EQ(sheet.Area, 500000.0);
    EXPECT_EQ(sheet.Aspect, 2.0);
    EXPECT_EQ(sheet.HoleCount(0), 0);

    // A part is centred on its reference point; its outline runs counter-clockwise from the minimum corner.
    const PartType& plate = state.PartTypes[0];
    EXPECT_EQ(plate.BasePoint, (host::ge::Point2d{50.0, 25.0}));
    ASSERT_EQ(plate.OuterCount(0), 1);
    const Contour& edge = plate.Outers[0][0];
    ExpectBox(edge.Box, -50, -25, 50, 25, "part outline");
    ASSERT_EQ(edge.ElementCount(), 4);
    EXPECT_EQ(edge.Elements[0].Start, (host::ge::Point2d{-50.0, -25.0}));
    EXPECT_EQ(edge.Elements[0].End, (host::ge::Point2d{50.0, -25.0}));
    EXPECT_EQ(edge.Elements[1].End, (host::ge::Point2d{50.0, 25.0}));
    EXPECT_NEAR(edge.Elements[1].StartAngle, M_PI / 2, kTolerance);
    EXPECT_NEAR(edge.Elements[1].EndAngle, 3 * M_PI / 2, kTolerance);
    EXPECT_EQ(edge.Colour, 140);
    EXPECT_EQ(edge.Owner, kOwnerPart);
    EXPECT_EQ(edge.Area, 5000.0);

    EXPECT_EQ(BlockExists("Sheet"), 1);
    EXPECT_EQ(BlockExists("Plate"), 1);
    EXPECT_EQ(BlockExists("Square"), 1);
    EXPECT_EQ(BlockExists("Clamp"), 0);
}

TEST_F(JobLoader, GapsGrowPartsAndShrinkStocks) {
    state.HalfPartGap = 2.0;
    state.EdgeGap = 8.0;
    ReadJob();
    ASSERT_EQ(LoadJobDrawings(state), 0) << Box();
    ExpectBox(state.StockTypes[0].OuterBox, 8, 8, 992, 492, "stock less the edge gap");
    const PartType& plate = state.PartTypes[0];
    ASSERT_EQ(plate.OuterCount(0), 1);
    ExpectBox(plate.OuterBox, -52, -27, 52, 27, "part and half the gap");
    // The offset keeps the area of the outline it came from.
    EXPECT_EQ(plate.Outers[0][0].Area, 5000.0);
    // The real outline stays in the list as read.
    ExpectBox(plate.DrawingContours[0].Box, 0, 0, 100, 50, "part as read");
}

TEST_F(JobLoader, AStockSmallerThanItsEdgeGapIsExcludedAndTheRestLoads) {
    NestingJobFile job;
    job.Stocks.push_back({"0", "", "40", "30", "Strip", "5", "0", "1"});
    job.Stocks.push_back({"0", "", "1000", "500", "Sheet", "1", "0", "1"});
    job.Parts.push_back({"0", "", "100", "50", "Plate", "3", "0", "0-360", "Any", "", "1"});
    state.EdgeGap = 20.0;
    ReadJob(job);
    ASSERT_EQ(LoadJobDrawings(state), 0) << Box();
    ASSERT_EQ(host::ui::messageBoxLog().size(), 1u);
    EXPECT_NE(Box().find("Stosk_40x30"), std::string::npos) << Box();
    EXPECT_NE(Box().find("is too small for the offsets: a stock-edge offset of 20 leaves no room on it."),
              std::string::npos)
        << Box();
    EXPECT_EQ(state.StockTypes[0].Quantity, 0);
    EXPECT_EQ(state.StockInstanceCount, 1);
    BuildInstances(state);
    ASSERT_EQ(state.StockInstances.size(), 2u);
    EXPECT_EQ(state.StockInstances[0].Type, &state.StockTypes[1]);
}

TEST_F(JobLoader, ClampsFollowThePartsAsTheirOwnType) {
    state.ClampUse = 1;
    state.ClampQuantity = 2;
    state.ClampWidth = 40.0;
    state.ClampHeight = 20.0;
    ReadJob();
    SetCurrentLayer("0");
    ASSERT_EQ(LoadJobDrawings(state), 0) << Box();
    std::string layer;
    GetCurrentLayer(layer);
    EXPECT_EQ(layer, "0");
    ASSERT_EQ(state.PartTypeCount, 3);
    ASSERT_EQ(state.PartTypes.size(), 4u);
    const PartType& clamp = state.PartTypes[2];
    EXPECT_EQ(clamp.Kind, kKindClamp);
    EXPECT_EQ(clamp.BlockName, "Clamp");
    EXPECT_EQ(clamp.Quantity, 2);
    EXPECT_EQ(clamp.TypeIndex, 3);
    EXPECT_EQ(clamp.BasePoint, (host::ge::Point2d{0.0, 0.01}));
    ExpectBox(clamp.OuterBox, -20, -0.01, 20, 19.99, "clamp");
    EXPECT_EQ(clamp.Outers[0][0].Colour, 12);
    EXPECT_EQ(BlockExists("Clamp"), 1);
    EXPECT_EQ(state.PartInstanceCount, 9);

    BuildInstances(state);
    ASSERT_EQ(state.PartInstances.size(), 10u);
    EXPECT_EQ(state.PartInstances[6].Type->Kind, kKindPart);
    EXPECT_EQ(state.PartInstances[7].Type, &clamp);
    EXPECT_EQ(state.PartInstances[8].Type, &clamp);
    EXPECT_EQ(state.PartInstances[9].Type, nullptr);  // the spare record
}

TEST_F(JobLoader, ClampsOffForgetTheirQuantity) {
    state.ClampUse = 0;
    state.ClampQuantity = 3;
    ReadJob();
    ASSERT_EQ(LoadJobDrawings(state), 0) << Box();
    EXPECT_EQ(state.ClampQuantity, 0);
    EXPECT_EQ(state.PartTypeCount, 2);
    EXPECT_EQ(state.PartInstanceCount, 7);
}

TEST_F(JobLoader, InstancesOwnTheirContoursAndANegativeQuantityCountsNothing) {
    ReadJob();
    // A quantity below 0 once lowered the count below the records written (5 and -3 made room for 2).
    state.PartTypes[0].Quantity = 5;
    state.PartTypes[1].Quantity = -3;
    ASSERT_EQ(LoadJobDrawings(state), 0) << Box();
    EXPECT_EQ(state.PartInstanceCount, 5);
    EXPECT_EQ(BuildInstances(state), 0);
    ASSERT_EQ(state.PartInstances.size(), 6u);
    ASSERT_EQ(state.StockInstances.size(), 3u);
    const PartInstance& first = state.PartInstances[0];
    ASSERT_TRUE(first.TrialPose && first.CommittedPose);
    EXPECT_EQ(first.Placed, 0);
    EXPECT_EQ(first.TrialPose->OuterCount, 1);
    EXPECT_EQ(first.CommittedPose->OuterCount, 0);
    // Each trial pose holds its own copy: moving one leaves the type and the other copies alone.
    state.PartInstances[0].TrialPose->Outers[0].Elements[0].Start.x += 7.0;
    EXPECT_EQ(state.PartInstances[1].TrialPose->Outers[0].Elements[0].Start.x, -50.0);
    EXPECT_EQ(state.PartTypes[0].Outers[0][0].Elements[0].Start.x, -50.0);
}

TEST_F(JobLoader, ARefusedJobIsDroppedWholeBeforeAnythingIsBuilt) {
    struct Case {
        const char* what;
        void (*change)(CNestingState&);
        const char* message;
    };
    const Case cases[] = {
        {"clamps without a size",
         [](CNestingState& s) {
             s.ClampUse = 1;
             s.ClampQuantity = 2;
         },
         "both sizes must be above 0"},
        {"a part named like the clamps", [](CNestingState& s) { s.PartTypes[1].BlockName = "clamp"; },
         "part 2 ('Part_30x30') takes the block name \"clamp\", which is kept for the clamps"},
        {"two types of one name", [](CNestingState& s) { s.PartTypes[0].BlockName = "SHEET"; },
         "stock 1 ('Stosk_1000x500') and part 1 ('Part_100x50') both take the block name \"SHEET\""},
        {"too many part copies", [](CNestingState& s) { s.PartTypes[0].Quantity = 9997; },
         "the job asks for 10001 part copies"},
        {"a block of the name in the drawing",
         [](CNestingState&) { DefineRectangleBlock("Square", 5, 5, kAnchorCentre, "", 1); },
         "The block 'Square' of 'Part_30x30' cannot be made: the drawing already holds a block of that name"},
    };
    for (const Case& c : cases) {
        host::ui::clearMessageBoxLog();
        state.ClampUse = 0;
        state.ClampQuantity = 0;
        ReadJob();
        c.change(state);
        EXPECT_EQ(LoadJobDrawings(state), -1) << c.what;
        EXPECT_NE(Box().find(c.message), std::string::npos) << c.what << ": " << Box();
        ExpectNoJob(c.what);
    }
}

TEST_F(JobLoader, AJobNamingAMissingDrawingLoadsNothing) {
    NestingJobFile job;
    job.Stocks.push_back({"0", "", "1000", "500", "Sheet", "1", "0", "1"});
    job.Parts.push_back({"2", (std::filesystem::temp_directory_path() / "no_such_part.dxf").string(), "", "", "",
                         "3", "0", "0-360", "Any", "", "1"});
    ReadJob(job);
    EXPECT_EQ(LoadJobDrawings(state), -1);
    EXPECT_FALSE(host::ui::messageBoxLog().empty());
    ExpectNoJob("missing drawing");
}

}  // namespace
