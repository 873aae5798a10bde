// Writing nesting job files from the dialog's texts: the sample byte for byte, the values that change on their
// way through the file, and texts a file cannot hold.
#include <gtest/gtest.h>

#include <string>

#include "nesting/job/job_file_reader.h"
#include "nesting/job/job_file_writer.h"
#include "nesting/job/tests/job_test_support.h"

namespace {

using nesting_job_testing::JobTest;
using nesting_job_testing::kFixtures;
using nesting_job_testing::ReadBytes;

// The job of the sample file as the dialog's tables hold it.
NestingJobFile SampleJob() {
    NestingJobFile job;
    job.MaterialText = "St37";
    job.MaterialNumText = "1.0037";
    job.DensityText = "7.85e-06";
    job.ThicknessText = "3";
    job.EdgeOffsetText = "10";
    job.PartGapText = "4";
    job.Stocks.push_back({"0", "", "2500", "1250", "SheetA", "2", "0", "3"});
    job.Stocks.push_back({"2", "C:\\Jobs\\Stock\\REMNANT.dwg", "", "", "", "1", "0", "1"});
    job.Parts.push_back({"2", "C:\\Jobs\\Parts\\FLANGE.DWG", "", "", "", "12", "0", "Sector", "15", "25", "5"});
    job.Parts.push_back({"0", "", "300", "200", "Part_300x200", "20", "90", "No Rotate", "", "", "3"});
    return job;
}

class JobFileWriter : public JobTest {};

TEST_F(JobFileWriter, WritesTheSampleByteForByte) {
    const auto path = Dir() / "sample.nst";
    std::string error;
    ASSERT_TRUE(WriteNestingJobFile(path, SampleJob(), &error)) << error;
    EXPECT_EQ(ReadBytes(path), ReadBytes(kFixtures / "sample_job.nst"));
}

TEST_F(JobFileWriter, ValuesComeBackAsTheFileKeepsThem) {
    NestingJobFile job = SampleJob();
    job.Stocks[0].Width = "1000.5";  // the name line keeps the integer parts
    job.Stocks[0].Height = "500.9";
    job.Stocks[0].Priority = "12";  // not in the list: an empty line, read as 0
    job.Parts[0].Sector = "25";     // an odd sector loses a degree: 12 and -12
    job.Parts[0].DeltaAngle = "Inscribe";
    job.Parts[1].RotationType = "Sector+180";
    job.Parts[1].Sector = "30";
    job.Parts[1].DeltaAngle = "any";  // case counts: not in the list
    job.Parts[1].Quantity = "ten";
    const auto path = Dir() / "values.nst";
    std::string error;
    ASSERT_TRUE(WriteNestingJobFile(path, job, &error)) << error;

    JobFileContents read;
    JobFileProblem problem;
    ASSERT_TRUE(ParseNestingJob(path, read, problem)) << problem.Line << ": " << problem.Reason;
    EXPECT_EQ(read.Stocks[0].Path, "Stosk_1000x500");
    EXPECT_EQ(read.Stocks[0].BlockName, "SheetA");
    EXPECT_EQ(read.Stocks[0].Priority, 0);
    EXPECT_EQ(read.Parts[0].SectorMax - read.Parts[0].SectorMin, 24.0);
    EXPECT_EQ(read.Parts[0].DeltaIndex, 11.0);
    EXPECT_EQ(read.Parts[0].RotationStep, 0.5);
    EXPECT_EQ(read.Parts[1].RotationMode, kRotateSectorAnd180);
    EXPECT_EQ(read.Parts[1].SectorMax - read.Parts[1].SectorMin, 30.0);
    EXPECT_EQ(read.Parts[1].DeltaIndex, 0.0);
    EXPECT_EQ(read.Parts[1].RotationStep, 0.5);
    EXPECT_EQ(read.Parts[1].Quantity, 0);
    EXPECT_EQ(read.Header.PartGapText, "4");
}

TEST_F(JobFileWriter, ALineBreakInATextIsRefusedAndTheOldFileStays) {
    const auto path = Dir() / "kept.nst";
    std::string error;
    ASSERT_TRUE(WriteNestingJobFile(path, SampleJob(), &error)) << error;
    const std::string before = ReadBytes(path);

    NestingJobFile job = SampleJob();
    job.Parts[1].FileName = "Plate\r\nB";
    EXPECT_FALSE(WriteNestingJobFile(path, job, &error));
    EXPECT_NE(error.find("part 2: the text \"Plate\r\nB\" holds a line break"), std::string::npos) << error;
    EXPECT_EQ(ReadBytes(path), before);

    EXPECT_FALSE(WriteNestingJobFile(Dir() / "no-such-folder" / "job.nst", SampleJob(), &error));
    EXPECT_NE(error.find("cannot be written"), std::string::npos) << error;
}

}  // namespace
