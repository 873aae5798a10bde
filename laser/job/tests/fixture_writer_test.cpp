// Writes the stored-job drawings under fixtures/ anew when KESTRION_WRITE_JOB_FIXTURES is set; otherwise checks
// that every one of them is there and reads as a drawing.
#include <gtest/gtest.h>

#include <cstdlib>

#include "laser/job/tests/job_fixture.h"

namespace job_testing {
namespace {

struct FixtureFile {
    const char* name;
    void (*fill)(Database&);
};

void AddPartBlock(Database& db) {
    ObjectId block;
    {
        ObjectPtr<host::db::SymbolTable> blocks(db.tableId(host::db::TableKind::Block), OpenMode::Write);
        ASSERT_EQ(blocks->add(std::make_unique<host::db::BlockTableRecord>("PART"), &block), host::db::Status::Ok);
    }
    {
        ObjectPtr<host::db::BlockTableRecord> def(block, OpenMode::Write);
        auto line = std::make_unique<host::db::Line>(Point3d{0, 0, 0}, Point3d{10, 0, 0});
        line->setLayer(db.recordId(host::db::TableKind::Layer, "0"));
        ASSERT_EQ(def->appendEntity(std::move(line)), host::db::Status::Ok);
    }
    ObjectPtr<host::db::BlockTableRecord> ms(db.modelSpaceId(), OpenMode::Write);
    auto ref = std::make_unique<host::db::BlockReference>(Point3d{100, 50, 0}, block);
    ref->setLayer(db.recordId(host::db::TableKind::Layer, "0"));
    ASSERT_EQ(ms->appendEntity(std::move(ref)), host::db::Status::Ok);
}

const FixtureFile kFixtures[] = {
    {"job_2005.dxf", [](Database& db) { WriteStoredJob(db, JobDataVersion::V2005, 2005.0); }},
    {"job_2008.dxf", [](Database& db) { WriteStoredJob(db, JobDataVersion::V2008, 2008.0); }},
    {"job_200801.dxf", [](Database& db) { WriteStoredJob(db, JobDataVersion::V200801, 2008.01); }},
    {"job_2007.dxf", [](Database& db) { WriteStoredJob(db, JobDataVersion::V200801, 2007.0); }},
    {"nest_2008.dxf",
     [](Database& db) {
         AddPartBlock(db);
         WriteNestMarker(db, 2008.0, {S("SHEET.MAT"), S("77"), R(8.0e-06), R(3.0)});
     }},
    {"nest_2005.dxf", [](Database& db) { WriteNestMarker(db, 2005.0, {S("OTHER.MAT"), R(2.7e-06), R(2.0)}); }},
};

TEST(JobFixtures, AreThereAndRead) {
    const bool write = std::getenv("KESTRION_WRITE_JOB_FIXTURES") != nullptr;
    for (const auto& f : kFixtures) {
        const auto path = FixtureDir() / f.name;
        if (write) {
            Database db;
            f.fill(db);
            std::string error;
            ASSERT_TRUE(host::dxf::writeDxfFile(db, path, &error)) << error;
        }
        auto read = host::dxf::readDxfFile(path);
        EXPECT_TRUE(read) << f.name << ": " << read.error;
    }
}

}  // namespace
}  // namespace job_testing
