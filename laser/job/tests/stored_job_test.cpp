// Opening drawings that hold a stored job in each record version, a nesting-result marker, an unknown version, or
// damaged job data.
#include <gtest/gtest.h>

#include <cmath>

#include "laser/job/tests/job_fixture.h"

namespace job_testing {
namespace {

using V = StoredJobValues;

struct VersionCase {
    const char* file;
    float version;
    const char* machineType;     // 2008.0 stores its own; 2008.01 and 2005.0 as their readers take it
    const char* materialNumber;  // 2005.0 stores none: the job keeps the settings' number
    std::uint32_t insideCut;     // 2008.0 stores none: stays 0
    bool hasLaterCounters;       // 2005.0 stores only the base, unclosed and stock counters
    double totalCutT2;           // 2005.0 keeps the totals it does not store
};

class StoredJobVersions : public JobTest, public ::testing::WithParamInterface<VersionCase> {};

TEST_P(StoredJobVersions, OpeningRestoresTheJob) {
    const VersionCase& c = GetParam();
    settings().Thin = 1.0;
    settings().Density = 7.85e-06;
    settings().FeedCut = 321.0;
    settings().EngraveCut = 654.0;
    const int nextId = settings().NextJobId;
    OpenFixture(c.file);

    DrawingSlot& slot = Slot();
    CuttingJob& job = Job();
    EXPECT_EQ(slot.status, kSlotJob);
    EXPECT_FLOAT_EQ(slot.dataVersion, c.version);
    EXPECT_EQ(slot.jobId, nextId) << "a reopened job gets a new id";
    EXPECT_EQ(settings().NextJobId, nextId + 1);
    EXPECT_EQ(slot.changeCounter, 0);
    EXPECT_EQ(ProjectName(), FormatDrawingTag(nextId, 1, 0));

    EXPECT_EQ(job.material, "ALU.MAT");
    EXPECT_EQ(job.materialNumber, c.materialNumber);
    EXPECT_EQ(job.programName, "PRG1");
    EXPECT_EQ(job.machineType, c.machineType);
    EXPECT_DOUBLE_EQ(job.thickness, 1.0) << "5000 is beyond 1000 times the value in hand";
    EXPECT_DOUBLE_EQ(job.density, V::kStoredDensity);
    EXPECT_DOUBLE_EQ(job.feedCut, 321.0) << "stored feeds are never used";
    EXPECT_DOUBLE_EQ(job.feedEngrave, 654.0);
    EXPECT_DOUBLE_EQ(job.extentsMax.y, 200.0);
    EXPECT_DOUBLE_EQ(job.netArea, 50.0);
    EXPECT_DOUBLE_EQ(job.stockArea, 70.0);
    EXPECT_DOUBLE_EQ(job.partFillRatio, V::kFillRatio);
    EXPECT_EQ(job.homeGroupPresent, 1u);
    EXPECT_EQ(job.baseInner, 1u);
    EXPECT_EQ(job.unclosedCount, 5u);
    EXPECT_EQ(job.stockOuter, 8u);
    EXPECT_EQ(job.insideCutCount, c.insideCut);
    if (c.hasLaterCounters) {
        EXPECT_EQ(job.tool2Outer, 4u);
        EXPECT_EQ(job.commonCount, 14u);
        EXPECT_EQ(job.jumperLineOuter, 16u) << "read one item earlier in 2008.0";
        EXPECT_EQ(job.markPointCount, 21u);
    }

    EXPECT_EQ(job.pathGroupCount, 4);
    EXPECT_DOUBLE_EQ(job.homePoint.y, 6.0);
    EXPECT_DOUBLE_EQ(job.totalCutLength, 10.0);
    EXPECT_DOUBLE_EQ(job.totalCutT2Length, c.totalCutT2);
    EXPECT_DOUBLE_EQ(job.totalSeconds, 17.0);

    ASSERT_EQ(job.contourCount, V::kContourCount);
    ASSERT_EQ(job.contours.size(), static_cast<std::size_t>(V::kContourCount) + 1);
    const ContourRecord& first = job.contours[0];
    EXPECT_EQ(first.shape, kShapePolyline);
    EXPECT_EQ(first.placement, kPlacementInner);
    EXPECT_EQ(first.closure, kClosureClosed);
    EXPECT_EQ(first.role, kRolePart);
    EXPECT_EQ(first.processed, 1);
    EXPECT_EQ(first.handle, V::kContourHandle);
    EXPECT_EQ(first.parentHandle, V::kParentHandle);
    EXPECT_DOUBLE_EQ(first.maxY, 4.0);
    EXPECT_DOUBLE_EQ(job.contours[3].area, 8.5);
    EXPECT_TRUE(MessageBoxTexts().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Versions, StoredJobVersions,
    ::testing::Values(VersionCase{"job_200801.dxf", 2008.01f, "Laser", "42", 15u, true, 11.0},
                      VersionCase{"job_2008.dxf", 2008.0f, "Plasma", "42", 0u, true, 11.0},
                      VersionCase{"job_2005.dxf", 2005.0f, "Plasma", "1", 0u, false, 0.0}),
    [](const auto& info) {
        std::string name = info.param.file;
        return name.substr(0, name.find('.'));
    });

TEST_F(StoredJobVersions, KindIsReadFromTheFlags) {
    OpenFixture("job_200801.dxf");
    EXPECT_EQ(Job().contours[0].kind, ContourKind::MarkLine);
}

TEST_F(JobTest, Kind2005ComesFromTheLayerOfTheContoursEntity) {
    NewDrawing();
    PrepareDrawingJob(settings());
    Database& db = Working();
    const auto add = [&](std::unique_ptr<host::db::Entity> e, const std::string& layer) {
        e->setLayer(EnsureLayer(db, layer));
        ObjectPtr<host::db::BlockTableRecord> ms(db.modelSpaceId(), OpenMode::Write);
        ObjectId id;
        ms->appendEntity(std::move(e), &id);
        return id.handle().value;
    };
    const std::uint64_t circle = add(std::make_unique<host::db::Circle>(Point3d{0, 0, 0}, 5.0), "noleadin");
    const std::uint64_t point = add(std::make_unique<host::db::PointEntity>(Point3d{1, 1, 0}), "MarkPoint");
    const std::uint64_t other = add(std::make_unique<host::db::PointEntity>(Point3d{2, 2, 0}), "Parts");
    struct Stored {
        std::uint64_t handle;
        int shape;
        ContourKind kind;
    };
    const Stored stored[] = {{circle, kShapeCircle, ContourKind::NoLeadIn},
                             {point, kShapePoint, ContourKind::MarkPoint},
                             {other, kShapePoint, ContourKind::KindUnset},
                             {0x7FFFFF, kShapePolyline, ContourKind::KindBase}};   // entity gone
    ResBufList batch;
    for (const Stored& c : stored) {
        batch.push_back(L(c.shape << 3));
        batch.insert(batch.end(), {L(0), L(static_cast<std::int32_t>(c.handle)), L(0), L(0)});
        batch.insert(batch.end(), {R(0), R(0), R(0), R(0), R(0)});
    }
    const ObjectId text = AddKstrText(db, "Kstr_TC", batch, "0");
    Job().contourCount = 3;
    Job().contours.assign(4, ContourRecord{});
    ASSERT_EQ(ReadJobContourBatch2005(settings(), text.handle().value, 0, 3), 0);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(Job().contours[static_cast<std::size_t>(i)].kind, stored[i].kind) << i;
}

TEST_F(JobTest, UnknownVersionIsErasedAndLeavesNoJob) {
    OpenFixture("job_2007.dxf");
    ASSERT_EQ(MessageBoxTexts(), std::vector<std::string>{"Please recreate geometrical contours."});
    EXPECT_EQ(host::ui::messageBoxLog()[0].style & host::ui::MB_ICONMASK, host::ui::MB_ICONSTOP);
    EXPECT_EQ(Slot().status, kSlotNoJob);
    EXPECT_EQ(Slot().jobId, 0);
    EXPECT_TRUE(TextsNamed("Kstr_ST").empty());
    EXPECT_EQ(ProjectName(), "");
}

TEST_F(JobTest, RussianMessageForUnknownVersion) {
    SetLanguageFlag(1);
    OpenFixture("job_2007.dxf");
    ASSERT_EQ(MessageBoxTexts().size(), 1u);
    EXPECT_EQ(MessageBoxTexts()[0], "Пожалуйста, создайте геометрические контуры заново.");
}

TEST_F(JobTest, NestResultMarker2008IsTakenOverAndItsSheetExplodedByTheFirstCommand) {
    const int nextId = settings().NextJobId;
    OpenFixture("nest_2008.dxf");
    DrawingSlot& slot = Slot();
    EXPECT_EQ(slot.status, kSlotNesting);
    EXPECT_EQ(slot.materialName, "SHEET.MAT");
    EXPECT_EQ(slot.materialNumber, "77");
    EXPECT_DOUBLE_EQ(slot.density, 8.0e-06);
    EXPECT_DOUBLE_EQ(slot.thickness, 3.0);
    EXPECT_EQ(slot.jobId, nextId);
    EXPECT_EQ(ProjectName(), FormatDrawingTag(nextId, 2, 0));

    ASSERT_EQ(PrepareDrawingJob(settings()), 0);
    EXPECT_EQ(slot.status, kSlotJob);
    EXPECT_EQ(Job().material, "SHEET.MAT");
    EXPECT_EQ(Job().materialNumber, "77");
    EXPECT_DOUBLE_EQ(Job().thickness, 3.0);
    EXPECT_NE(slot.jobId, nextId) << "the nested sheet's new job has an id of its own";
    bool blockLeft = false, lineFound = false;
    ObjectPtr<host::db::BlockTableRecord> ms(Working().modelSpaceId(), OpenMode::Read);
    for (ObjectId id : ms->entityIds()) {
        ObjectPtr<host::db::Entity> e(id, OpenMode::Read);
        if (std::string(e->dxfName()) == "INSERT") blockLeft = true;
        if (std::string(e->dxfName()) == "LINE") lineFound = true;
    }
    EXPECT_FALSE(blockLeft);
    EXPECT_TRUE(lineFound);
}

TEST_F(JobTest, NestResultMarker2005WithAnotherMaterialAsksForTheMaterial) {
    settings().Material = "STEEL.MAT";
    OpenFixture("nest_2005.dxf");
    EXPECT_EQ(Slot().status, kSlotNesting);
    EXPECT_EQ(Slot().materialName, "OTHER.MAT");
    EXPECT_EQ(Slot().materialNumber, "0");
    EXPECT_DOUBLE_EQ(Slot().density, 2.7e-06);
    EXPECT_DOUBLE_EQ(Slot().thickness, 2.0);
    EXPECT_EQ(MessageBoxTexts(),
              std::vector<std::string>{"Error reading material properties.\n\rPlease set the material"});
}

TEST_F(JobTest, NestResultMarker2005WithTheDefaultMaterialTakesTheSettings) {
    settings().Material = "OTHER.MAT";
    settings().Material_Num = "12";
    settings().Density = 2.5e-06;
    settings().Thin = 4.0;
    OpenFixture("nest_2005.dxf");
    EXPECT_EQ(Slot().materialNumber, "12");
    EXPECT_DOUBLE_EQ(Slot().density, 2.5e-06);
    EXPECT_DOUBLE_EQ(Slot().thickness, 4.0);
    EXPECT_TRUE(MessageBoxTexts().empty());
}

// ---- damaged job data: the job is dropped with a message, and the drawing gets a fresh job at the next command

// Opens the 2008.01 fixture after `damage` has changed the drawing read from it.
class DamagedJob : public JobTest {
protected:
    template <class Damage>
    void OpenDamaged(Damage damage) {
        auto read = host::dxf::readDxfFile(FixtureDir() / "job_200801.dxf");
        ASSERT_TRUE(read) << read.error;
        {
            Database& db = *read.database;
            host::db::Database* before = host::db::workingDatabase();
            host::db::setWorkingDatabase(&db);
            damage(db);
            host::db::setWorkingDatabase(before);
        }
        const auto path = TempDir() / "damaged.dxf";
        std::string error;
        ASSERT_TRUE(host::dxf::writeDxfFile(*read.database, path, &error)) << error;
        Open(path);
    }
    // Replaces item `index` of the "Kstr" list of the first text named `name`.
    static void SetItem(Database& db, const std::string& name, std::size_t index, const ResBuf& item) {
        for (ObjectId id : TextsIn(db, name)) {
            ObjectPtr<host::db::Text> t(id, OpenMode::Write);
            ResBufList list = t->xData("Kstr");
            if (list.empty()) continue;
            ASSERT_LT(index, list.size());
            list[index] = item;
            ASSERT_EQ(t->setXData(list), host::db::Status::Ok);
            return;
        }
    }
    // Cuts the "Kstr" list of the first text named `name` to `size` items.
    static void CutList(Database& db, const std::string& name, std::size_t size) {
        for (ObjectId id : TextsIn(db, name)) {
            ObjectPtr<host::db::Text> t(id, OpenMode::Write);
            ResBufList list = t->xData("Kstr");
            if (list.empty()) continue;
            list.resize(size);
            ASSERT_EQ(t->setXData(list), host::db::Status::Ok);
            return;
        }
    }
    static std::vector<ObjectId> TextsIn(Database& db, const std::string& name) {
        ObjectPtr<host::db::BlockTableRecord> ms(db.modelSpaceId(), OpenMode::Read);
        std::vector<ObjectId> found;
        for (ObjectId id : ms->entityIds()) {
            ObjectPtr<host::db::Text> t(id, OpenMode::Read);
            if (t && t->textString() == name) found.push_back(id);
        }
        return found;
    }
    // `summaryKnown`: the summary text's handle could be read, so that text is erased too.
    void ExpectJobDropped(bool summaryKnown = true) {
        EXPECT_EQ(MessageBoxTexts(),
                  std::vector<std::string>{"Error reading of data contours\n\rRecreate contours"});
        EXPECT_EQ(Slot().status, kSlotNoJob);
        EXPECT_EQ(Slot().settingsTextHandle, 0u);
        EXPECT_TRUE(TextsNamed("Kstr_ST").empty());
        if (summaryKnown) {
            EXPECT_TRUE(TextsNamed("Kstr_0").empty());
        }
        const int nextId = settings().NextJobId;
        ASSERT_EQ(PrepareDrawingJob(settings()), 0);
        EXPECT_EQ(Slot().status, kSlotJob);
        EXPECT_EQ(Slot().jobId, nextId);
        EXPECT_EQ(Job().contourCount, 0);
        EXPECT_EQ(TextsNamed("Kstr_ST").size(), 1u);
    }
};

TEST_F(DamagedJob, ShortSettingsList) {
    OpenDamaged([](Database& db) { CutList(db, "Kstr_ST", 40); });
    ExpectJobDropped();
}

TEST_F(DamagedJob, ItemOfAnotherType) {
    OpenDamaged([](Database& db) { SetItem(db, "Kstr_ST", 34, R(3.0)); });
    ExpectJobDropped();
}

TEST_F(DamagedJob, NegativeContourCount) {
    OpenDamaged([](Database& db) { SetItem(db, "Kstr_ST", 34, L(-5)); });
    ExpectJobDropped();
}

TEST_F(DamagedJob, ContourCountBeyondWhatTheBatchesHold) {
    // 2 000 000 000 records would be allocated before any batch is looked at
    OpenDamaged([](Database& db) { SetItem(db, "Kstr_ST", 34, L(2'000'000'000)); });
    ExpectJobDropped();
}

TEST_F(DamagedJob, CountNeedingMoreBatchesThanTheDirectoryLists) {
    OpenDamaged([](Database& db) { SetItem(db, "Kstr_ST", 34, L(500)); });
    ExpectJobDropped();
}

TEST_F(DamagedJob, BatchShorterThanItsRecords) {
    OpenDamaged([](Database& db) {
        for (ObjectId id : TextsIn(db, "Kstr_TC")) {
            ObjectPtr<host::db::Text> t(id, OpenMode::Write);
            ResBufList list = t->xData("Kstr");
            if (list.size() > 3) {
                list.resize(list.size() - 1);
                ASSERT_EQ(t->setXData(list), host::db::Status::Ok);
            }
        }
    });
    ExpectJobDropped();
}

TEST_F(DamagedJob, SummaryTextMissing) {
    OpenDamaged([](Database& db) {
        for (ObjectId id : TextsIn(db, "Kstr_0")) {
            ObjectPtr<host::db::Text> t(id, OpenMode::Write);
            t->erase();
        }
    });
    ExpectJobDropped();
}

TEST_F(DamagedJob, HandleThatIsNotHexadecimal) {
    // the summary text cannot be found without its handle: it stays, unlisted
    OpenDamaged([](Database& db) { SetItem(db, "Kstr_ST", 4, S("XYZ")); });
    ExpectJobDropped(false);
}

}  // namespace
}  // namespace job_testing
