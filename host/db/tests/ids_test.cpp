// Handles as text, entity names across open and closed drawings, and the session's registry of databases.
#include <gtest/gtest.h>

#include <optional>

#include "db_test_support.h"

namespace host::db {
namespace {

using testing::addProbe;

TEST(HandleText, UpperCaseWithoutLeadingZeros) {
    const struct {
        std::uint64_t value;
        const char* text;
    } cases[] = {
        {0x0, "0"},
        {0x1, "1"},
        {0xA, "A"},
        {0x2F, "2F"},
        {0xABCDEF, "ABCDEF"},
        {0x100000000ull, "100000000"},  // above 32 bits: a 32-bit conversion would print 0
        {0xFFFFFFFFFFFFFFFFull, "FFFFFFFFFFFFFFFF"},
    };
    for (const auto& c : cases) EXPECT_EQ(Handle(c.value).text(), c.text) << c.text;
}

TEST(HandleText, ParsesOneToSixteenHexDigitsOfEitherCase) {
    const struct {
        const char* text;
        std::optional<std::uint64_t> value;
    } cases[] = {
        {"0", 0x0},
        {"2f", 0x2F},
        {"2F", 0x2F},
        {"00A", 0xA},
        {"FFFFFFFFFFFFFFFF", 0xFFFFFFFFFFFFFFFFull},
        {"0000000000000001", 0x1},
        {"", std::nullopt},
        {"10000000000000000", std::nullopt},  // 17 digits
        {"0x1F", std::nullopt},
        {"1G", std::nullopt},
        {" 1F", std::nullopt},
        {"1F ", std::nullopt},
        {"-1", std::nullopt},
        {"+1", std::nullopt},
    };
    for (const auto& c : cases) {
        const std::optional<Handle> h = Handle::parse(c.text);
        ASSERT_EQ(h.has_value(), c.value.has_value()) << '"' << c.text << '"';
        if (h) {
            EXPECT_EQ(h->value, *c.value) << c.text;
        }
    }
}

TEST(HandleText, SplitsIntoTwoHalves) {
    const Handle h(0x12345678u, 0x9ABCDEF0u);
    EXPECT_EQ(h.value, 0x9ABCDEF012345678ull);
    EXPECT_EQ(h.low(), 0x12345678u);
    EXPECT_EQ(h.high(), 0x9ABCDEF0u);
    EXPECT_EQ(Handle::parse(h.text())->value, h.value);
}

TEST(EntityNames, RoundTripWhileTheDrawingIsOpen) {
    Database db;
    const ObjectId id = addProbe(db);
    const EntityName name = idToName(id);
    EXPECT_EQ(name.word[0], std::int64_t(db.serial()));
    EXPECT_EQ(name.word[1], std::int64_t(id.index()) + 1);
    EXPECT_EQ(nameToId(name), id);
    EXPECT_TRUE(idToName(ObjectId()).isNil());
    EXPECT_TRUE(nameToId(EntityName()).isNull());
}

TEST(EntityNames, NameOfAnErasedObjectStillNamesIt) {
    Database db;
    const ObjectId id = addProbe(db);
    ASSERT_EQ(testing::eraseObject(id), Status::Ok);
    EXPECT_EQ(nameToId(idToName(id)), id);
    EXPECT_TRUE(id.isErased());
}

TEST(EntityNames, NamesOfAClosedDrawingOrOfNothingAnswerTheNullId) {
    auto closed = std::make_unique<Database>();
    const EntityName stale = idToName(addProbe(*closed));
    const std::uint64_t closedSerial = closed->serial();
    closed.reset();
    EXPECT_EQ(databaseBySerial(closedSerial), nullptr);
    EXPECT_TRUE(nameToId(stale).isNull());

    // A drawing opened afterwards never takes the closed drawing's serial, so the old name stays dead.
    Database later;
    EXPECT_NE(later.serial(), closedSerial);
    addProbe(later);
    EXPECT_TRUE(nameToId(stale).isNull());

    EntityName pastTheEnd{{std::int64_t(later.serial()), 1'000'000}};
    EXPECT_TRUE(nameToId(pastTheEnd).isNull());
    EntityName negative{{std::int64_t(later.serial()), -3}};
    EXPECT_TRUE(nameToId(negative).isNull());
}

TEST(EntityNames, NamesOfTwoOpenDrawingsStayApart) {
    Database a, b;
    const ObjectId inA = addProbe(a), inB = addProbe(b);
    EXPECT_EQ(inA.index(), inB.index());
    EXPECT_NE(idToName(inA), idToName(inB));
    EXPECT_EQ(nameToId(idToName(inA)).database(), &a);
    EXPECT_EQ(nameToId(idToName(inB)).database(), &b);
}

TEST(DatabaseRegistry, WorkingDatabaseIsForgottenWhenItCloses) {
    auto db = std::make_unique<Database>();
    setWorkingDatabase(db.get());
    EXPECT_EQ(workingDatabase(), db.get());
    EXPECT_EQ(databaseBySerial(db->serial()), db.get());
    db.reset();
    EXPECT_EQ(workingDatabase(), nullptr);
}

TEST(ObjectIds, HandleAndErasedFlagOfTheNullId) {
    EXPECT_TRUE(ObjectId().handle().isNull());
    EXPECT_TRUE(ObjectId().isErased());
}

TEST(StatusText, NamesEveryStatus) {
    EXPECT_STREQ(statusText(Status::Ok), "eOk");
    EXPECT_STREQ(statusText(Status::WasErased), "eWasErased");
    EXPECT_STREQ(statusText(Status::OnLockedLayer), "eOnLockedLayer");
    EXPECT_STREQ(statusText(Status::UndoNotAvailable), "eUndoNotAvailable");
}

}  // namespace
}  // namespace host::db
