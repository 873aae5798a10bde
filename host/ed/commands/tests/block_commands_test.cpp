// EXPLODE, -INSERT, -BLOCK and -PURGE run as modules run them.
#include <gtest/gtest.h>

#include <filesystem>

#include "host/dxf/dxf_file.h"
#include "host/ed/commands/block_edit.h"
#include "host/ed/sysvars.h"
#include "host/sys/tests/scratch_folder.h"
#include "host_command_support.h"

namespace host::ed::testing {
namespace {

using db::ObjectId;
using db::RTERROR;
using db::RTNORM;

class BlockCommands : public HostCommandTest {
protected:
    ObjectId block(const std::string& name, ge::Point3d base = {}) {
        auto rec = std::make_unique<db::BlockTableRecord>(name);
        rec->setOrigin(base);
        db::ObjectPtr<db::SymbolTable> table(db().tableId(db::TableKind::Block), db::OpenMode::Write);
        ObjectId id;
        EXPECT_EQ(table->add(std::move(rec), &id), db::Status::Ok);
        return id;
    }
    ObjectId insert(ObjectId blk, ge::Point3d at) { return add(std::make_unique<db::BlockReference>(at, blk)); }
    // A glyph drawing: two lines on layer "EngraveLine", base point (0,0).
    std::filesystem::path glyph(const std::string& file) {
        db::Database g;
        db::ObjectPtr<db::SymbolTable> layers(g.tableId(db::TableKind::Layer), db::OpenMode::Write);
        ObjectId layer;
        layers->add(std::make_unique<db::LayerTableRecord>("EngraveLine"), &layer);
        layers.close();
        db::ObjectPtr<db::BlockTableRecord> ms(g.modelSpaceId(), db::OpenMode::Write);
        for (auto [a, b] : {std::pair{ge::Point3d{0, 0}, ge::Point3d{1, 2}}, {ge::Point3d{1, 2}, ge::Point3d{2, 0}}}) {
            auto l = std::make_unique<db::Line>(a, b);
            l->setLayer(layer);
            ms->appendEntity(std::move(l));
        }
        ms.close();
        const std::filesystem::path path = folder / file;
        std::string error;
        EXPECT_TRUE(dxf::writeDxfFile(g, path, &error)) << error;
        return path;
    }
    sys::testing::ScratchFolder folder;
};

TEST_F(BlockCommands, ExplodeEntityNamesToTheEndOfTheArguments) {
    const ObjectId blk = block("B");
    line({0, 0}, {1, 0}, blk);
    const ObjectId r1 = insert(blk, {10, 0});
    const ObjectId r2 = insert(blk, {20, 0});
    EXPECT_EQ(run({str("_.explode"), name(r1), name(r2)}), RTNORM);
    EXPECT_EQ(kinds(), "LINE LINE");
    EXPECT_EQ(get<db::Line>(entities()[1])->start(), ge::Point3d(20, 0, 0));
}

TEST_F(BlockCommands, UndoPutsAnExplodedReferenceBack) {
    const ObjectId blk = block("B");
    line({0, 0}, {1, 0}, blk);
    line({1, 0}, {1, 1}, blk);
    const ObjectId ref = insert(blk, {10, 0});
    script({"EXPLODE", "_L", "", "UNDO", ""});
    std::string reason;
    ASSERT_TRUE(runCommandLoop(&reason)) << reason;
    EXPECT_FALSE(ref.isErased());
    EXPECT_EQ(kinds(), "INSERT");
}

TEST_F(BlockCommands, ExplodeFailsWhenNothingExplodes) {
    const ObjectId l = line({0, 0}, {1, 0});
    EXPECT_EQ(run({str("_.explode"), name(l)}), RTERROR);
    EXPECT_NE(said().find("1 object could not be exploded."), std::string::npos) << said();
    // What the caller sends after a failed explode: one blank, which does nothing.
    EXPECT_EQ(run({str(" ")}), RTNORM);
    EXPECT_FALSE(l.isErased());
}

TEST_F(BlockCommands, InsertADrawingFileTwiceAndExplodeTheLast) {
    const std::filesystem::path file = glyph("A.dwg.dxf");
    const std::filesystem::path asDwg = folder / "A.dwg";  // a stored ".dwg" name finds the ".dxf" file
    std::filesystem::rename(file, folder / "A.dxf");
    EXPECT_EQ(run({str("_.-INSERT"), str(asDwg.string()), str("1.0000e+01,2.0000e+00"), str("2"), str("2"),
                   str("0")}),
              RTNORM);
    ASSERT_EQ(kinds(), "INSERT");
    const auto* ref = get<db::BlockReference>(entities()[0]);
    EXPECT_EQ(ref->blockName(), "A");
    EXPECT_EQ(ref->position(), ge::Point3d(10, 2, 0));
    EXPECT_EQ(ref->scaleFactors().x, 2.0);
    // The second insert of the same name asks nothing more: the existing definition is used.
    EXPECT_EQ(run({str("_.-insert"), str(asDwg.string()), str("0,0"), str("1"), str("1"), str("90")}), RTNORM);
    EXPECT_EQ(run({str("_.explode"), str("_L"), str("")}), RTNORM);
    EXPECT_EQ(kinds(), "INSERT LINE LINE");
    const auto* first = get<db::Line>(entities()[1]);
    EXPECT_EQ(first->layer(), "EngraveLine");
    EXPECT_NEAR(first->end().x, -2, 1e-9);  // turned by 90 degrees
    EXPECT_NEAR(first->end().y, 1, 1e-9);
}

TEST_F(BlockCommands, InsertExplodedAndRefusals) {
    glyph("B.dxf");
    EXPECT_EQ(run({str("-INSERT"), str("*" + (folder / "B").string()), str("0,0"), str("1"), str("0")}), RTNORM);
    EXPECT_EQ(kinds(), "LINE LINE");
    EXPECT_EQ(run({str("-INSERT"), str((folder / "missing.dxf").string()), str("0,0")}), RTERROR);
    EXPECT_NE(said().find("Cannot find the drawing file"), std::string::npos) << said();
    EXPECT_EQ(run({str("-INSERT"), str("B"), str("0,0"), str("0")}), RTERROR);  // a scale of zero
}

// What the reader repaired in an inserted drawing is told, as when the drawing is opened.
TEST_F(BlockCommands, InsertingADrawingTellsWhatTheReaderRepaired) {
    const std::filesystem::path file = folder / "Colour.dxf";
    std::filesystem::copy_file(KESTRION_SOURCE_DIR "/host/dxf/tests/fixtures/fuzz/colour_300.dxf", file);
    EXPECT_EQ(run({str("-INSERT"), str(file.string()), str("0,0"), str("1"), str("1"), str("0")}), RTNORM) << said();
    EXPECT_NE(said().find("300 is not a colour (group 62); read as BYLAYER"), std::string::npos) << said();
}

TEST_F(BlockCommands, ABlockWhoseNameHoldsADotIsInsertedByItsName) {
    // Rectangle parts of decimal sizes are named so; the name once read as the file "Part_100" with extension
    // ".5x50" and the insert failed.
    const ObjectId blk = block("Part_100.5x50");
    line({0, 0}, {100.5, 0}, blk);
    EXPECT_EQ(run({str("_.-INSERT"), str("Part_100.5x50"), str("10,20"), str("1"), str("1"), str("0")}), RTNORM)
        << said();
    ASSERT_EQ(kinds(), "INSERT");
    EXPECT_EQ(get<db::BlockReference>(entities()[0])->blockName(), "Part_100.5x50");
}

TEST_F(BlockCommands, BlockFromEntityNames) {
    const ObjectId a = line({1, 1}, {2, 2});
    const ObjectId b = line({2, 2}, {3, 1});
    EXPECT_EQ(run({str("_.-block"), str("PART"), str("1.0000000000000000e+00,1.0000000000000000e+00"), name(a),
                   name(b), str("")}),
              RTNORM);
    EXPECT_TRUE(entities().empty());
    const ObjectId blk = db().recordId(db::TableKind::Block, "PART");
    ASSERT_FALSE(blk.isNull());
    EXPECT_EQ(get<db::BlockTableRecord>(blk)->entityIds().size(), 2u);
    // An existing name asks whether to redefine it.
    const ObjectId c = line({0, 0}, {5, 0});
    EXPECT_EQ(run({str("_.-block"), str("PART"), str("_Y"), str("0,0"), name(c), str("")}), RTNORM);
    EXPECT_EQ(get<db::BlockTableRecord>(blk)->entityIds().size(), 1u);
    const ObjectId d = line({0, 0}, {5, 5});
    EXPECT_EQ(run({str("_.-block"), str("PART"), str("_N")}), RTNORM);
    EXPECT_EQ(run({str("_.-block"), str("X<Y"), str("0,0"), name(d), str("")}), RTERROR);
    EXPECT_FALSE(d.isErased());
}

TEST_F(BlockCommands, PurgeEveryUnusedBlockWithoutQuestions) {
    const ObjectId used = block("USED");
    block("UNUSED1");
    block("UNUSED2");
    insert(used, {});
    EXPECT_EQ(run({str("_.-purge"), str("_B"), str("*"), str("_N")}), RTNORM);
    EXPECT_TRUE(db().recordId(db::TableKind::Block, "UNUSED1").isNull());
    EXPECT_TRUE(db().recordId(db::TableKind::Block, "UNUSED2").isNull());
    EXPECT_FALSE(db().recordId(db::TableKind::Block, "USED").isNull());
    EXPECT_NE(said().find("2 blocks deleted."), std::string::npos) << said();
    EXPECT_EQ(run({str("_.-purge"), str("_B"), str("*"), str("_N")}), RTNORM);
    EXPECT_NE(said().find("No unreferenced blocks found."), std::string::npos) << said();

    // A module that runs it with CMDECHO 0 (the job load clears its drawing so) hears no routine report.
    setVar("CMDECHO", db::ResBuf(db::RTSHORT, short(0)));
    block("UNUSED3");
    const std::size_t before = said().size();
    EXPECT_EQ(run({str("_.-purge"), str("_B"), str("*"), str("_N")}), RTNORM);
    EXPECT_EQ(run({str("_.-purge"), str("_B"), str("*"), str("_N")}), RTNORM);
    EXPECT_TRUE(db().recordId(db::TableKind::Block, "UNUSED3").isNull());
    EXPECT_EQ(said().find("block", before), std::string::npos) << said().substr(before);
    setVar("CMDECHO", db::ResBuf(db::RTSHORT, short(1)));
}

TEST_F(BlockCommands, PurgeVerifyingEachName) {
    const ObjectId outer = block("OUTER");
    const ObjectId inner = block("INNER");
    add(std::make_unique<db::BlockReference>(ge::Point3d{}, inner), outer);  // neither is used in model space
    // OUTER is kept (No), so INNER, which OUTER uses, stays too even when Yes is answered for it.
    EXPECT_EQ(run({str("-PURGE"), str("_B"), str(""), str("_Y"), str("_N"), str("_Y")}), RTNORM);
    EXPECT_FALSE(outer.isErased());
    EXPECT_FALSE(inner.isErased());
    EXPECT_EQ(run({str("-PURGE"), str("_B"), str("*"), str("_Y"), str("_Y"), str("_Y")}), RTNORM);
    EXPECT_TRUE(outer.isErased());
    EXPECT_TRUE(inner.isErased());
}

}  // namespace
}  // namespace host::ed::testing
