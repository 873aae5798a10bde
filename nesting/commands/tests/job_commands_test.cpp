// The job commands on the module's state: the gaps of a job file while its drawings load and afterwards, a job
// file that cannot be used, and the options reload that drops a job when the clamps changed.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "host/ui/message_box.h"
#include "nesting/commands/job_commands.h"
#include "nesting/commands/module_commands.h"
#include "nesting/frame/nesting_state.h"
#include "nesting/frame/tests/state_fixture.h"
#include "nesting/job/job_file_writer.h"

namespace {

constexpr double kTolerance = 1e-6;

class JobCommands : public nesting_frame_testing::StateTest {
protected:
    void SetUp() override {
        StateTest::SetUp();
        Store("DirInstall", nesting_frame_testing::kDataFolder.string());
        host::ui::clearMessageBoxLog();
        job_ = std::filesystem::temp_directory_path() /
               (std::string("nesting_job_commands_") +
                ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".nst");
    }
    void TearDown() override {
        std::filesystem::remove(job_);
        StateTest::TearDown();
    }

    // One 1000 x 500 sheet and three 100 x 50 parts, part gap 4 and edge offset 10.
    void WriteJob(const std::string& partQuantity = "3") {
        NestingJobFile job;
        job.MaterialText = "St37";
        job.EdgeOffsetText = "10";
        job.PartGapText = "4";
        job.Stocks.push_back({"0", "", "1000", "500", "Sheet", "1", "0", "1"});
        job.Parts.push_back({"0", "", "100", "50", "Plate", partQuantity, "0", "No Rotate", "", "", "1"});
        std::string error;
        ASSERT_TRUE(WriteNestingJobFile(job_, job, &error)) << error;
    }

    CNestingState state;
    std::filesystem::path job_;
};

TEST_F(JobCommands, TheDrawingsLoadWithHalfTheGapAndTheFullGapsComeBack) {
    WriteJob();
    ASSERT_EQ(LoadJobFromFile(state, job_.string()), 0) << host::ui::messageBoxLog().size();
    EXPECT_EQ(state.StockInstanceCount, 1);
    EXPECT_EQ(state.PartInstanceCount, 3);
    EXPECT_EQ(state.LastFileNesting, job_.string());
    EXPECT_EQ(state.MaterialName, "St37");
    EXPECT_EQ(state.RectMode, 1);
    // afterwards the full values
    EXPECT_NEAR(state.HalfPartGap, 4.0, kTolerance);
    EXPECT_NEAR(state.EdgeGap, 10.0, kTolerance);
    // while loading half the gap (2) grew the part, and the edge offset less that half (8) shrank the sheet
    const BoundingBox& part = state.PartTypes[0].OuterBox;
    EXPECT_NEAR(part.Width(), 104.0, 1e-3);
    EXPECT_NEAR(part.Height(), 54.0, 1e-3);
    const BoundingBox& sheet = state.StockTypes[0].OuterBox;
    EXPECT_NEAR(sheet.Width(), 984.0, 1e-3);
    EXPECT_NEAR(sheet.Height(), 484.0, 1e-3);
}

TEST_F(JobCommands, AJobFileThatCannotBeUsedChangesNothing) {
    WriteJob();
    ASSERT_EQ(LoadJobFromFile(state, job_.string()), 0);
    const std::string loaded = state.LastFileNesting;
    for (const char* quantity : {"20000", "-"}) {
        SCOPED_TRACE(quantity);
        WriteJob(quantity);
        if (std::string(quantity) == "-") {
            std::filesystem::remove(job_);  // a file that is not there
        }
        host::ui::clearMessageBoxLog();
        EXPECT_EQ(LoadJobFromFile(state, job_.string()), -1);
        EXPECT_EQ(host::ui::messageBoxLog().size(), 1u);
        EXPECT_EQ(state.PartInstanceCount, 3);
        EXPECT_EQ(state.StockInstanceCount, 1);
        EXPECT_EQ(state.LastFileNesting, loaded);
        EXPECT_NEAR(state.HalfPartGap, 4.0, kTolerance);
    }
}

TEST_F(JobCommands, ChangedClampsDropTheLoadedJob) {
    WriteJob();
    ASSERT_EQ(LoadJobFromFile(state, job_.string()), 0);
    CommandLoadNestOptions(state);  // nothing changed: the job stays
    EXPECT_EQ(state.PartInstanceCount, 3);
    Store("Nesing_ClampUse", "1");
    Store("Nesing_ClampQuantity", "2");
    Store("Nesing_ClampWidth", "20");
    Store("Nesing_ClampHeight", "10");
    CommandLoadNestOptions(state);
    EXPECT_EQ(state.StockInstanceCount, 0);
    EXPECT_EQ(state.PartInstanceCount, 0);
}

}  // namespace
