// The stored contour table: packed flags, batches of 201 records, the directory that lists them, and batch texts
// that have gone.
#include <gtest/gtest.h>

#include "laser/job/tests/job_fixture.h"

namespace job_testing {
namespace {

TEST(ContourFlags, PackAndUnpack) {
    ContourRecord r;
    r.kind = ContourKind::MarkLine;
    r.shape = kShapePolyline;
    r.placement = kPlacementInner;
    r.closure = kClosureClosed;
    r.role = kRolePart;
    r.processed = 1;
    EXPECT_EQ(PackContourFlags(r), 1774601);

    ContourRecord back;
    UnpackContourFlags(1774601, JobDataVersion::V200801, back);
    EXPECT_EQ(back.kind, ContourKind::MarkLine);
    EXPECT_EQ(back.shape, kShapePolyline);
    EXPECT_EQ(back.placement, kPlacementInner);
    EXPECT_EQ(back.closure, kClosureClosed);
    EXPECT_EQ(back.role, kRolePart);
    EXPECT_EQ(back.processed, 1);

    // 2005.0: processed, shape, closure, role, placement, and no kind
    ContourRecord old;
    UnpackContourFlags(1 | (1 << 3) | (2 << 6) | (2 << 9) | (1 << 12), JobDataVersion::V2005, old);
    EXPECT_EQ(old.processed, 1);
    EXPECT_EQ(old.shape, 1);
    EXPECT_EQ(old.closure, 2);
    EXPECT_EQ(old.role, 2);
    EXPECT_EQ(old.placement, 1);
    EXPECT_EQ(old.kind, ContourKind::KindUnset);

    ContourRecord stock = EmptyStockRecord();
    ContourRecord again;
    UnpackContourFlags(PackContourFlags(stock), JobDataVersion::V2008, again);
    EXPECT_EQ(again, stock);
}

TEST(ContourFlags, Versions) {
    EXPECT_EQ(JobDataVersionOf(2005.0f), JobDataVersion::V2005);
    EXPECT_EQ(JobDataVersionOf(2008.0f), JobDataVersion::V2008);
    EXPECT_EQ(JobDataVersionOf(2008.01f), JobDataVersion::V200801);
    EXPECT_EQ(JobDataVersionOf(static_cast<float>(2008.01)), JobDataVersion::V200801);
    for (float other : {2007.0f, 0.0f, 2008.02f, -2008.0f, 1e30f}) EXPECT_FALSE(JobDataVersionOf(other)) << other;
}

TEST(ContourFlags, BatchCount) {
    EXPECT_EQ(ContourBatchCount(0), 1);
    EXPECT_EQ(ContourBatchCount(200), 1);
    EXPECT_EQ(ContourBatchCount(201), 2);
    EXPECT_EQ(ContourBatchCount(450), 3);
}

class StoredContours : public JobTest {
protected:
    void SetUp() override {
        JobTest::SetUp();
        NewDrawing();
        PrepareDrawingJob(settings());
    }
    // A table of `count` contours whose handle and area tell their index.
    void SetContours(int count) {
        CuttingJob& job = Job();
        job.contourCount = count;
        job.contours.assign(static_cast<std::size_t>(count) + 1, ContourRecord{});
        for (int i = 0; i <= count; ++i) {
            ContourRecord& r = job.contours[static_cast<std::size_t>(i)];
            r.kind = ContourKind::KindBase;
            r.shape = kShapePolyline;
            r.handle = 0x1000u + static_cast<unsigned>(i);
            r.area = i;
        }
    }
    // The handles of the batch texts the directory lists.
    std::vector<std::uint64_t> Batches() {
        const ResBufList directory = XDataOf(Slot().directoryTextHandle);
        std::vector<std::uint64_t> handles;
        for (std::size_t i = 1; i + 1 < directory.size(); i += 2)
            handles.push_back(host::db::Handle(static_cast<std::uint32_t>(directory[i + 1].integer()),
                                               static_cast<std::uint32_t>(directory[i].integer()))
                                  .value);
        return handles;
    }
    // Reads the table back from the drawing into a cleared job.
    void ReadBack() {
        const int count = Job().contourCount;
        Job().contours.clear();
        Job().contourCount = count;
        ASSERT_EQ(ReadContourDirectory200801(settings()), 0);
    }
};

TEST_F(StoredContours, BatchesOf201Records) {
    struct Case {
        int count;
        std::vector<std::size_t> items;   // items of each batch text
    };
    const Case cases[] = {{200, {1 + 201 * 10}}, {201, {1 + 201 * 10, 1 + 1 * 10}}, {5, {1 + 6 * 10}}};
    for (const Case& c : cases) {
        SetContours(c.count);
        WriteJobData(settings());
        const auto batches = Batches();
        ASSERT_EQ(batches.size(), c.items.size()) << c.count;
        for (std::size_t b = 0; b < batches.size(); ++b) EXPECT_EQ(XDataOf(batches[b]).size(), c.items[b]) << c.count;
        ReadBack();
        ASSERT_EQ(Job().contours.size(), static_cast<std::size_t>(c.count) + 1);
        EXPECT_EQ(Job().contours[static_cast<std::size_t>(c.count)].handle, 0x1000u + static_cast<unsigned>(c.count));
        EXPECT_DOUBLE_EQ(Job().contours[static_cast<std::size_t>(c.count)].area, c.count);
    }
}

TEST_F(StoredContours, AShorterTableDropsTheOlderPairsButLeavesTheirTexts) {
    SetContours(450);
    WriteJobData(settings());
    const auto before = Batches();
    ASSERT_EQ(before.size(), 3u);
    SetContours(10);
    WriteJobData(settings());
    const auto after = Batches();
    ASSERT_EQ(after.size(), 1u);
    EXPECT_EQ(after[0], before[0]);
    EXPECT_EQ(TextsNamed("Kstr_TC").size(), 4u) << "head and three batch texts";
    ReadBack();
    EXPECT_EQ(Job().contours.size(), 11u);
}

TEST_F(StoredContours, ABatchTextThatCannotBeOpenedIsWrittenAnew) {
    SetContours(250);
    WriteJobData(settings());
    const auto before = Batches();
    ASSERT_EQ(before.size(), 2u);
    {
        ObjectPtr<host::db::Text> t(Working().idFromHandle(host::db::Handle(before[1])), OpenMode::Write);
        t->erase();
    }
    WriteJobData(settings());
    const auto after = Batches();
    ASSERT_EQ(after.size(), 2u);
    EXPECT_EQ(after[0], before[0]);
    EXPECT_NE(after[1], before[1]);
    EXPECT_EQ(XDataOf(after[1]).size(), 1u + 50u * 10u);
    ReadBack();
    EXPECT_EQ(Job().contours[250].handle, 0x1000u + 250u);
}

TEST_F(StoredContours, HeadTextsErasedBehindTheModuleAreMadeAgain) {
    SetContours(3);
    WriteJobData(settings());
    for (std::uint64_t h : {Slot().settingsTextHandle, Slot().summaryTextHandle, Slot().directoryTextHandle}) {
        ObjectPtr<host::db::Text> t(Working().idFromHandle(host::db::Handle(h)), OpenMode::Write);
        t->erase();
    }
    WriteJobData(settings());
    EXPECT_EQ(TextsNamed("Kstr_ST").size(), 1u);
    EXPECT_EQ(TextsNamed("Kstr_0").size(), 1u);
    EXPECT_EQ(XDataOf(Slot().settingsTextHandle).size(), 61u);
    EXPECT_EQ(XDataOf(Slot().summaryTextHandle).size(), 17u);
    ReadBack();
    EXPECT_EQ(Job().contours[3].handle, 0x1003u);
}

TEST_F(StoredContours, EraseJobTextsRemovesTheHeadTextsOnly) {
    SetContours(3);
    WriteJobData(settings());
    const auto batches = Batches();
    EXPECT_EQ(EraseJobTexts(settings()), 0);
    EXPECT_EQ(Slot().settingsTextHandle, 0u);
    EXPECT_EQ(Slot().summaryTextHandle, 0u);
    EXPECT_EQ(Slot().directoryTextHandle, 0u);
    EXPECT_TRUE(TextsNamed("Kstr_ST").empty());
    EXPECT_TRUE(TextsNamed("Kstr_0").empty());
    ASSERT_EQ(TextsNamed("Kstr_TC").size(), 1u);
    EXPECT_EQ(TextsNamed("Kstr_TC")[0].handle().value, batches[0]);
}

TEST_F(StoredContours, StoredFeedsAreTheSettingsAtTheTimeOfWriting) {
    settings().FeedCut = 1234.0;
    settings().Angle = 45.0;
    WriteJobData(settings());
    const ResBufList st = XDataOf(Slot().settingsTextHandle);
    EXPECT_DOUBLE_EQ(st[14].real(), 1234.0);
    EXPECT_DOUBLE_EQ(st[22].real(), 45.0);
    EXPECT_DOUBLE_EQ(Job().feedCut, 1234.0);
}

}  // namespace
}  // namespace job_testing
