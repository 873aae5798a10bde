// The job commands on the module's state: the gaps of a job file while its drawings load and afterwards, a job
// file that cannot be used, and the options reload that drops a job when the clamps changed.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "host/ui/message_box.h"
#include "nesting/commands/job_commands.h"
#include "nesting/commands/module_commands.h"
#include "nesting/engine/nesting_run.h"
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
    void WriteJob(const std::string& partQuantity = "3", const std::string& edgeOffset = "10",
                  const std::string& partGap = "4") {
        NestingJobFile job;
        job.MaterialText = "St37";
        job.EdgeOffsetText = edgeOffset;
        job.PartGapText = partGap;
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

TEST_F(JobCommands, AnOffsetOutsideItsRangeIsRefusedWithItsLineAndTheJobStays) {
    WriteJob();
    ASSERT_EQ(LoadJobFromFile(state, job_.string()), 0);
    struct Case {
        const char* edge;
        const char* gap;
        const char* said;
    };
    // An edge offset of -1000 put every part off the sheet; the huge ones never ended the run.
    const Case cases[] = {
        {"-1000", "4", "Line 9, header: the stock-edge offset must be a number from 0 to 10000, not \"-1000\""},
        {"1e11", "4", "Line 9, header: the stock-edge offset"},
        {"10", "1e20", "Line 10, header: the part gap must be a number from 0 to 10000, not \"1e20\""},
        {"10", "18446744073709551616", "Line 10, header: the part gap"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.said);
        WriteJob("5", c.edge, c.gap);
        host::ui::clearMessageBoxLog();
        EXPECT_EQ(LoadJobFromFile(state, job_.string()), -1);
        ASSERT_EQ(host::ui::messageBoxLog().size(), 1u);
        EXPECT_NE(host::ui::messageBoxLog()[0].text.find(c.said), std::string::npos)
            << host::ui::messageBoxLog()[0].text;
        EXPECT_EQ(state.PartInstanceCount, 3);
        EXPECT_NEAR(state.EdgeGap, 10.0, kTolerance);
        EXPECT_NEAR(state.HalfPartGap, 4.0, kTolerance);
    }
    SetLibraryLanguage(Language::Russian);
    host::ui::clearMessageBoxLog();
    EXPECT_EQ(LoadJobFromFile(state, job_.string()), -1);
    SetLibraryLanguage(Language::English);
    ASSERT_EQ(host::ui::messageBoxLog().size(), 1u);
    EXPECT_NE(host::ui::messageBoxLog()[0].text.find("Строка 10, заголовок: расстояние между деталями: нужно число"),
              std::string::npos)
        << host::ui::messageBoxLog()[0].text;

}

TEST_F(JobCommands, TheLargestNumbersAJobHoldsLoadAndNest) {
    NestingJobFile job;
    job.EdgeOffsetText = "10000";
    job.PartGapText = "10000";
    job.ThicknessText = "100000";
    job.Stocks.push_back({"0", "", "100000", "100000", "Sheet", "1", "360", "1"});
    job.Parts.push_back({"0", "", "100", "50", "Plate", "3", "-360", "No Rotate", "", "", "1"});
    std::string error;
    ASSERT_TRUE(WriteNestingJobFile(job_, job, &error)) << error;
    ASSERT_EQ(LoadJobFromFile(state, job_.string()), 0) << host::ui::messageBoxLog().size();
    state.EdgeGap = 0.0;
    state.HalfPartGap = 0.0;
    state.RectMode = 1;
    RunNesting(state);
    int placed = 0;
    for (int i = 0; i < state.PartInstanceCount; ++i) placed += state.PartInstances[i].Placed ? 1 : 0;
    EXPECT_EQ(placed, 3);
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
