// Line-type files: finding a definition, its pattern, and the messages for missing and malformed files.
#include <gtest/gtest.h>

#include "db_test_support.h"
#include "host/db/linetype_file.h"
#include "host/sys/tests/scratch_folder.h"

namespace host::db {
namespace {

const std::filesystem::path kFixture =
    std::filesystem::path(KESTRION_SOURCE_DIR) / "host/db/tests/fixtures/linetypes.lin";

TEST(LinetypeFile, ReadsDefinitionsByNameWithoutRegardToCase) {
    const struct {
        const char* asked;
        const char* name;
        const char* description;
        std::vector<double> dashes;
        std::size_t elements;
    } cases[] = {
        {"HIDDEN", "HIDDEN", "Hidden __ __ __ __", {0.25, -0.125}, 0},  // the first of two definitions
        {"hidden", "HIDDEN", "Hidden __ __ __ __", {0.25, -0.125}, 0},
        {"jumperline", "JumperLine", "Jumper ____  ____", {5.0, -2.5}, 0},
        {"Dot", "DOT", "Dot . . . .", {0.0, -0.25}, 0},
        {"PHANTOM", "PHANTOM", "Phantom ______  __  __  ______", {1.25, -0.25, 0.25, -0.25, 0.25, -0.25}, 0},
        {"NC_MOVE1_ARROW", "NC_MOVE1_ARROW", "Rapid move -->-->", {2.0, -1.0, -1.0}, 1},
        {"ZAxisTrackingSensorOFF", "ZAxisTrackingSensorOFF", "", {1, -0.5, 0, -0.5}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.asked);
        LinetypeDefinition def;
        std::string message;
        ASSERT_EQ(readLinetypeDefinition(kFixture, c.asked, def, &message), Status::Ok) << message;
        EXPECT_EQ(def.name, c.name);
        EXPECT_EQ(def.description, c.description);
        EXPECT_EQ(def.dashes, c.dashes);
        EXPECT_EQ(def.complexElements.size(), c.elements);
    }
    LinetypeDefinition arrow;
    readLinetypeDefinition(kFixture, "NC_MOVE1_ARROW", arrow);
    ASSERT_EQ(arrow.complexElements.size(), 1u);
    EXPECT_EQ(arrow.complexElements[0].afterDash, 1u);  // drawn into the first gap
    EXPECT_EQ(arrow.complexElements[0].text, "[\"->\",STANDARD,S=.5,R=0.0,X=-0.5,Y=-.25]");
}

TEST(LinetypeFile, MissingFileAndMissingName) {
    LinetypeDefinition def;
    std::string message;
    EXPECT_EQ(readLinetypeDefinition(kFixture.parent_path() / "none.lin", "HIDDEN", def, &message),
              Status::FileError);
    EXPECT_NE(message.find("none.lin"), std::string::npos) << message;
    EXPECT_EQ(readLinetypeDefinition(kFixture, "CENTER", def, &message), Status::KeyNotFound);
    EXPECT_NE(message.find("CENTER"), std::string::npos) << message;
    EXPECT_NE(message.find("linetypes.lin"), std::string::npos) << message;
}

TEST(LinetypeFile, MalformedLinesAreReportedWithFileAndLine) {
    const struct {
        const char* what;
        const char* text;
        int line;
    } cases[] = {
        {"a pattern without a header", ";; x\nA,1,-1\n", 2},
        {"a header without a pattern", "*A,a\n*B,b\nA,1,-1\n", 1},
        {"a header at the end", "*A,a\nA,1,-1\n*B,b\n", 3},
        {"no name", "*,nameless\nA,1,-1\n", 1},
        {"a number that is not one", "*A,a\nA,1,-x\n", 2},
        {"an empty field", "*A,a\nA,1,,-1\n", 2},
        {"no dashes", "*A,a\nA,\n\n", 2},
        {"a bracket before any dash", "*A,a\nA,[\"t\",STANDARD],1\n", 2},
        {"an open bracket", "*A,a\nA,1,[\"t\",STANDARD,1\n", 2},
        {"text after a bracket", "*A,a\nA,1,[X]y,-1\n", 2},
        {"a stray line", "*A,a\nA,1,-1\nB,1,-1\n", 3},
        {"a continuation at the end", "*A,a\nA,1,-1,\n", 2},
        {"a second pattern line", "*A,a\nA,1,-1\nA,2,-2\n", 3},
        {"a very long pattern line", nullptr, 2},
    };
    host::sys::testing::ScratchFolder folder;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::filesystem::path file = folder / "bad.lin";
        const std::string text = c.text ? std::string(c.text) : "*A,a\nA,1" + std::string(5000, '0') + "\n";
        host::sys::testing::writeBytes(file, text);
        LinetypeDefinition def;
        std::string message;
        EXPECT_EQ(readLinetypeDefinition(file, "A", def, &message), Status::InvalidInput);
        EXPECT_NE(message.find("bad.lin:" + std::to_string(c.line) + ": "), std::string::npos) << message;
    }
}

TEST(LinetypeFile, ReadsALegacyCyrillicFile) {
    host::sys::testing::ScratchFolder folder;
    const std::filesystem::path file = folder / "cp1251.lin";
    host::sys::testing::writeBytes(file, "*Jumper,\xCF\xE5\xF0\xE5\xEC\xFB\xF7\xEA\xE0\r\nA,5,-2.5\r\n");
    LinetypeDefinition def;
    ASSERT_EQ(readLinetypeDefinition(file, "JUMPER", def), Status::Ok);
    EXPECT_EQ(def.description, "Перемычка");
}

TEST(LinetypeFile, LoadsIntoTheDrawingOnce) {
    Database db;
    ObjectId id;
    std::string message;
    ASSERT_EQ(loadLinetype(db, kFixture, "phantom", &id, &message), Status::Ok) << message;
    EXPECT_TRUE(message.empty()) << message;
    EXPECT_EQ(db.recordId(TableKind::Linetype, "PHANTOM"), id);
    const auto* lt = dynamic_cast<const LinetypeTableRecord*>(db.peek(id));
    ASSERT_NE(lt, nullptr);
    EXPECT_EQ(lt->name(), "PHANTOM");
    EXPECT_DOUBLE_EQ(lt->patternLength(), 2.5);
    EXPECT_EQ(lt->description(), "Phantom ______  __  __  ______");

    EXPECT_EQ(loadLinetype(db, kFixture, "Phantom", nullptr, &message), Status::DuplicateKey);
    EXPECT_EQ(loadLinetype(db, kFixture, "Continuous"), Status::DuplicateKey);
    EXPECT_EQ(loadLinetype(db, kFixture, "CENTER", nullptr, &message), Status::KeyNotFound);
    EXPECT_TRUE(db.recordId(TableKind::Linetype, "CENTER").isNull());

    ASSERT_EQ(loadLinetype(db, kFixture, "NC_MOVE1_ARROW", nullptr, &message), Status::Ok);
    EXPECT_NE(message.find("not draw"), std::string::npos) << message;
    EXPECT_DOUBLE_EQ(dynamic_cast<const LinetypeTableRecord*>(
                         db.peek(db.recordId(TableKind::Linetype, "NC_MOVE1_ARROW")))->patternLength(),
                     4.0);
}

}  // namespace
}  // namespace host::db
