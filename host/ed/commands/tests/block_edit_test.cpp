// Block definitions: purging unused ones, -BLOCK from entities, drawing files inserted as blocks.
#include "host/ed/commands/block_edit.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "commands_test_support.h"
#include "host/dxf/dxf_file.h"

namespace host::ed {
namespace {

using db::ObjectId;
using db::Status;
using testing::Drawing;
using testing::near;

TEST(PurgeBlocks, UnusedDefinitionsGoWithThoseOnlyTheyUse) {
    Drawing d;
    const ObjectId used = d.block("USED");
    const ObjectId lonely = d.block("LONELY");
    const ObjectId inner = d.block("INNER");       // used only by OUTER
    const ObjectId outer = d.block("OUTER");       // not used
    const ObjectId shared = d.block("SHARED");     // used by USED, which is used
    const ObjectId anonymous = d.block("*U7");
    {
        db::ObjectPtr<db::BlockTableRecord> a(anonymous, db::OpenMode::Write);
        a->setFlags(1);
    }
    d.line({0, 0}, {1, 0}, lonely);
    d.add(std::make_unique<db::BlockReference>(ge::Point3d{}, inner), outer);
    d.add(std::make_unique<db::BlockReference>(ge::Point3d{}, shared), used);
    d.add(std::make_unique<db::BlockReference>(ge::Point3d{}, used));

    EXPECT_EQ(purgeUnusedBlocks(d.db, "L*"), std::vector<std::string>{"LONELY"});
    EXPECT_TRUE(lonely.isErased());
    const std::vector<std::string> purged = purgeUnusedBlocks(d.db);
    EXPECT_EQ(purged, (std::vector<std::string>{"INNER", "OUTER"}));
    for (ObjectId kept : {used, shared, anonymous}) EXPECT_FALSE(kept.isErased());
    EXPECT_FALSE(d.db.modelSpaceId().isErased());
    EXPECT_TRUE(purgeUnusedBlocks(d.db).empty());
    EXPECT_TRUE(isBlockReferenced(d.db, shared));
}

TEST(DefineBlock, SelectedEntitiesBecomeTheDefinitionAndLeaveModelSpace) {
    Drawing d;
    const ObjectId a = d.line({1, 1}, {3, 1});
    const ObjectId b = d.circle({2, 2}, 1);
    const ObjectId other = d.line({9, 9}, {10, 10});
    ObjectId block;
    ASSERT_EQ(defineBlock(d.db, "PART", {1, 1, 0}, {a, b, a}, false, &block), DefineBlockOutcome::Defined);
    EXPECT_TRUE(a.isErased());
    EXPECT_TRUE(b.isErased());
    EXPECT_EQ(d.entities(), std::vector<ObjectId>{other});
    const auto* rec = d.get<db::BlockTableRecord>(block);
    EXPECT_EQ(rec->name(), "PART");
    EXPECT_TRUE(near(rec->origin(), {1, 1}));
    ASSERT_EQ(rec->entityIds().size(), 2u);
    EXPECT_TRUE(near(d.get<db::Line>(rec->entityIds()[0])->end(), {3, 1}));  // world coordinates kept

    EXPECT_EQ(defineBlock(d.db, "PART", {}, {other}, false), DefineBlockOutcome::Exists);
    EXPECT_FALSE(other.isErased());
    const ObjectId ref = d.add(std::make_unique<db::BlockReference>(ge::Point3d{}, block));
    EXPECT_EQ(defineBlock(d.db, "PART", {}, {ref}, true), DefineBlockOutcome::SelfReference);
    EXPECT_EQ(defineBlock(d.db, "PART", {0, 0, 0}, {other}, true), DefineBlockOutcome::Redefined);
    EXPECT_EQ(rec->entityIds().size(), 1u);
    EXPECT_TRUE(near(rec->origin(), {0, 0}));

    const ObjectId c = d.line({0, 0}, {1, 1});
    EXPECT_EQ(defineBlock(d.db, "bad<name", {}, {c}, false), DefineBlockOutcome::InvalidName);
    EXPECT_EQ(defineBlock(d.db, "", {}, {c}, false), DefineBlockOutcome::InvalidName);
    EXPECT_EQ(defineBlock(d.db, "*Model_Space", {}, {c}, true), DefineBlockOutcome::InvalidName);
    EXPECT_EQ(defineBlock(d.db, "EMPTY", {}, {}, false), DefineBlockOutcome::NothingToAdd);
    EXPECT_FALSE(c.isErased());
}

// A drawing file in a folder of its own: a glyph on layer "EngraveLine" with INSBASE (1,0), a nested block
// "DOT", and a line on a layer the target drawing has with another colour.
struct GlyphFile {
    std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                   ("edcmds-insert-" + std::to_string(::getpid()));
    std::filesystem::path path = folder / "A.dxf";
    GlyphFile() {
        std::filesystem::create_directories(folder);
        Drawing g;
        g.db.header().insBase = {1, 0, 0};
        auto line = std::make_unique<db::Line>(ge::Point3d{1, 0}, ge::Point3d{2, 2});
        line->setLayer(g.layer("EngraveLine", 1));
        g.add(std::move(line));
        const ObjectId dot = g.block("DOT");
        g.circle({0, 0}, 0.1, dot);
        g.add(std::make_unique<db::BlockReference>(ge::Point3d{3, 0}, dot));
        auto shared = std::make_unique<db::Line>(ge::Point3d{0, 0}, ge::Point3d{0, 1});
        shared->setLayer(g.layer("Shared", 2));
        g.add(std::move(shared));
        std::string error;
        EXPECT_TRUE(dxf::writeDxfFile(g.db, path, &error)) << error;
    }
    ~GlyphFile() { std::filesystem::remove_all(folder); }
};

TEST(InsertDrawing, TheFileBecomesABlockWithItsLayersAndNestedBlocks) {
    GlyphFile file;
    Drawing d;
    d.layer("Shared", 5);
    std::string error;
    const ObjectId block = blockForInsert(d.db, file.path.string(), &error);
    ASSERT_FALSE(block.isNull()) << error;
    const auto* rec = d.get<db::BlockTableRecord>(block);
    EXPECT_EQ(rec->name(), "A");
    EXPECT_TRUE(near(rec->origin(), {1, 0}));
    EXPECT_EQ(rec->entityIds().size(), 3u);
    EXPECT_FALSE(d.db.recordId(db::TableKind::Layer, "EngraveLine").isNull());
    EXPECT_FALSE(d.db.recordId(db::TableKind::Block, "DOT").isNull());
    const auto* shared = d.get<db::LayerTableRecord>(d.db.recordId(db::TableKind::Layer, "Shared"));
    EXPECT_EQ(shared->color().index, 5);  // an existing layer stays as it is

    ObjectId ref;
    ASSERT_EQ(insertBlock(d.db, block, {10, 10}, {2, 2, 1}, 0.0, &ref), Status::Ok);
    EXPECT_EQ(d.get<db::BlockReference>(ref)->blockName(), "A");

    // The same name again uses the definition that exists, without reading the file (it may be gone).
    std::filesystem::remove(file.path);
    EXPECT_EQ(blockForInsert(d.db, file.path.string(), &error), block);
    EXPECT_EQ(blockForInsert(d.db, "a", &error), block);
}

TEST(InsertDrawing, NamesAndFilesThatCannotBeUsed) {
    GlyphFile file;
    Drawing d;
    std::string error;
    // A stored ".dwg" name finds the ".dxf" file; a name without extension gets ".dxf".
    EXPECT_EQ(findDrawingFile((file.folder / "A.dwg").string(), d.db), file.path);
    EXPECT_EQ(findDrawingFile((file.folder / "A").string(), d.db), file.path);
    d.db.setFileName(file.folder / "drawing.dxf");
    EXPECT_EQ(findDrawingFile("A", d.db), file.path);  // beside the current drawing
    EXPECT_FALSE(findDrawingFile("missing", d.db));

    EXPECT_TRUE(blockForInsert(d.db, (file.folder / "missing.dxf").string(), &error).isNull());
    EXPECT_NE(error.find("missing.dxf"), std::string::npos) << error;
    const std::filesystem::path broken = file.folder / "broken.dxf";
    std::ofstream(broken) << "0\nSECTION\n2\nENTITIES\n0\nLINE\n10\nnot a number\n";
    error.clear();
    EXPECT_TRUE(blockForInsert(d.db, broken.string(), &error).isNull());
    EXPECT_NE(error.find("broken.dxf"), std::string::npos) << error;
    EXPECT_TRUE(d.db.recordId(db::TableKind::Block, "broken").isNull());  // nothing half-made
}

}  // namespace
}  // namespace host::ed
