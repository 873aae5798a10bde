// Extended data: per registered application, the item codes it holds, long lists, and refusals.
#include <gtest/gtest.h>

#include "db_test_support.h"

namespace host::db {
namespace {

using testing::addProbe;
using testing::Probe;
using testing::registerApp;

// A batch as the job data writes it: 201 entries of 10 items after the application name, 2,011 items in all.
ResBufList contourBatch() {
    ResBufList list{{1001, "Kstr"}};
    for (int i = 0; i < 201; ++i) {
        list.emplace_back(1000, "contour " + std::to_string(i));
        list.emplace_back(1005, Handle(0x1000 + std::uint64_t(i)).text());
        list.emplace_back(1010, ge::Point3d(i, -i, 0.5));
        list.emplace_back(1040, i * 0.25);
        list.emplace_back(1071, std::int64_t(100000) * i);
        list.emplace_back(1070, i % 7);
        list.emplace_back(1002, "{");
        list.emplace_back(1041, 1.5);
        list.emplace_back(1002, "}");
        list.emplace_back(1042, -2.0);
    }
    return list;
}

TEST(ExtendedData, RoundTripOfTwoThousandItems) {
    Database db;
    ASSERT_EQ(registerApp(db, "Kstr"), Status::Ok);
    const ObjectId id = addProbe(db);
    const ResBufList batch = contourBatch();
    ASSERT_EQ(batch.size(), 2011u);
    {
        ObjectPtr<Probe> p(id, OpenMode::Write);
        ASSERT_EQ(p->setXData(batch), Status::Ok);
    }
    ObjectPtr<Probe> p(id, OpenMode::Read);
    EXPECT_EQ(p->xData("Kstr"), batch);
    EXPECT_EQ(p->xData("KSTR"), batch);  // application names are not case-sensitive
    EXPECT_EQ(p->xData(), batch);
    EXPECT_EQ(p->xDataApplications(), std::vector<std::string>{"Kstr"});
}

TEST(ExtendedData, ApplicationsAreKeptApartAndReplacedOneByOne) {
    Database db;
    registerApp(db, "Kstr");
    registerApp(db, "Other");
    ObjectPtr<Probe> p(addProbe(db), OpenMode::Write);
    ASSERT_EQ(p->setXData({{1001, "Kstr"}, {1000, "a"}, {1001, "Other"}, {1040, 2.0}}), Status::Ok);
    ASSERT_EQ(p->setXData({{1001, "kstr"}, {1000, "b"}}), Status::Ok);  // replaces Kstr only
    EXPECT_EQ(p->xData("Kstr"), (ResBufList{{1001, "Kstr"}, {1000, "b"}}));
    EXPECT_EQ(p->xData("Other"), (ResBufList{{1001, "Other"}, {1040, 2.0}}));
    EXPECT_EQ(p->xData(), (ResBufList{{1001, "Kstr"}, {1000, "b"}, {1001, "Other"}, {1040, 2.0}}));

    ASSERT_EQ(p->setXData({{1001, "Kstr"}}), Status::Ok);  // the name alone removes the application's data
    EXPECT_TRUE(p->xData("Kstr").empty());
    EXPECT_EQ(p->xDataApplications(), std::vector<std::string>{"Other"});
    EXPECT_TRUE(p->xData("Missing").empty());
}

TEST(ExtendedData, UnregisteredApplicationIsRefusedAndNothingChanges) {
    Database db;
    registerApp(db, "Kstr");
    ObjectPtr<Probe> p(addProbe(db), OpenMode::Write);
    ASSERT_EQ(p->setXData({{1001, "Kstr"}, {1000, "kept"}}), Status::Ok);
    EXPECT_EQ(p->setXData({{1001, "Kstr"}, {1000, "lost"}, {1001, "Nobody"}, {1000, "x"}}),
              Status::RegAppNotFound);
    EXPECT_EQ(p->xData("Kstr"), (ResBufList{{1001, "Kstr"}, {1000, "kept"}}));
}

TEST(ExtendedData, ObjectOutsideADatabaseChecksTheWorkingDatabase) {
    Probe loose;
    setWorkingDatabase(nullptr);
    EXPECT_EQ(loose.setXData({{1001, "Anything"}, {1000, "x"}}), Status::Ok);  // nothing to check against

    Database db;
    setWorkingDatabase(&db);
    EXPECT_EQ(loose.setXData({{1001, "Kstr"}, {1000, "x"}}), Status::RegAppNotFound);
    registerApp(db, "Kstr");
    EXPECT_EQ(loose.setXData({{1001, "Kstr"}, {1000, "x"}}), Status::Ok);
    setWorkingDatabase(nullptr);
}

TEST(ExtendedData, MalformedListsAreRefused) {
    Database db;
    registerApp(db, "Kstr");
    ObjectPtr<Probe> p(addProbe(db), OpenMode::Write);
    const struct {
        const char* what;
        ResBufList list;
    } cases[] = {
        {"no application first", {{1000, "x"}}},
        {"an empty application name", {{1001, ""}, {1000, "x"}}},
        {"a code extended data cannot hold", {{1001, "Kstr"}, {1, "x"}}},
        {"a closing brace first", {{1001, "Kstr"}, {1002, "}"}}},
        {"a brace left open", {{1001, "Kstr"}, {1002, "{"}, {1000, "x"}}},
        {"a control string other than a brace", {{1001, "Kstr"}, {1002, "("}}},
        {"a handle that is not hexadecimal", {{1001, "Kstr"}, {1005, "XYZ"}}},
        {"a handle of 17 digits", {{1001, "Kstr"}, {1005, "10000000000000000"}}},
        {"a 16-bit integer out of range", {{1001, "Kstr"}, {1070, 40000}}},
        {"a 32-bit integer out of range", {{1001, "Kstr"}, {1071, std::int64_t(1) << 40}}},
        {"a real held as text", {{1001, "Kstr"}, {1040, "1.5"}}},
        {"a point held as a real", {{1001, "Kstr"}, {1010, 1.0}}},
        {"a real that is not a number", {{1001, "Kstr"}, {1040, std::nan("")}}},
    };
    for (const auto& c : cases) EXPECT_EQ(p->setXData(c.list), Status::InvalidInput) << c.what;
    EXPECT_TRUE(p->xData().empty());

    // Every code extended data holds, at its limits.
    const ResBufList allKinds{{1001, "Kstr"},      {1000, "text"},
                              {1002, "{"},         {1003, "0"},
                              {1002, "}"},         {1005, "FFFFFFFFFFFFFFFF"},
                              {1010, ge::Point3d(1, 2, 3)}, {1011, ge::Point3d(4, 5, 6)},
                              {1012, ge::Point3d()}, {1013, ge::Point3d(0, 0, 1)},
                              {1040, 1.0},         {1041, 2.0},
                              {1042, 3.0},         {1070, -32768},
                              {1071, 2147483647}};
    ResBufList withBinary = allKinds;
    ResBuf chunk(1004);
    chunk.value = std::vector<std::uint8_t>{0xDE, 0xAD};
    withBinary.push_back(chunk);
    EXPECT_EQ(p->setXData(withBinary), Status::Ok);
    EXPECT_EQ(p->xData("Kstr"), withBinary);
}

TEST(ExtendedData, NeedsTheObjectOpenForWrite) {
    Database db;
    registerApp(db, "Kstr");
    ObjectPtr<Probe> p(addProbe(db), OpenMode::Read);
    EXPECT_EQ(p->setXData({{1001, "Kstr"}, {1000, "x"}}), Status::NotOpenForWrite);
    EXPECT_TRUE(p->xData().empty());
}

}  // namespace
}  // namespace host::db
