// The clipboard (copies out, new entities back), group edits, entity erase and transform, and the menu model.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "commands_test_support.h"
#include "host/ed/commands/clipboard.h"
#include "host/ed/commands/entity_edit.h"
#include "host/ed/commands/group_edit.h"
#include "host/ed/commands/menu_model.h"
#include "host/sys/folders.h"

namespace host::ed {
namespace {

using db::ObjectId;
using db::Status;
using testing::Drawing;
using testing::near;

const std::filesystem::path kFixtures = std::filesystem::path(KESTRION_SOURCE_DIR) / "host/ed/commands/tests/fixtures";

TEST(Clipboard, CutEntitiesComeBackAsNewOnesWithTheLowerLeftCornerOnThePoint) {
    Drawing d;
    const ObjectId a = d.line({10, 20}, {30, 20});
    const ObjectId c = d.circle({20, 25}, 5);  // extents reach down to y 20 and left to x 10
    {
        db::ObjectPtr<db::Entity> e(c, db::OpenMode::Write);
        e->setLayer(d.layer("Cut", 1));
    }
    Clipboard board;
    EXPECT_EQ(board.copyFrom({a, c, a}), (std::vector<ObjectId>{a, c}));
    EXPECT_TRUE(near(board.basePoint(), {10, 20}));
    EXPECT_EQ(board.size(), 2u);

    Drawing other;
    std::vector<ObjectId> pasted;
    ASSERT_EQ(board.pasteInto(other.db, {0, 0}, &pasted), Status::Ok);
    ASSERT_EQ(pasted.size(), 2u);
    EXPECT_TRUE(near(other.get<db::Line>(pasted[0])->start(), {0, 0}));
    EXPECT_TRUE(near(other.get<db::Circle>(pasted[1])->center(), {10, 5}));
    EXPECT_EQ(other.get(pasted[1])->layer(), "Cut");  // the layer is made in the other drawing

    // Pasting twice gives new entities with new handles each time.
    std::vector<ObjectId> again;
    ASSERT_EQ(board.pasteInto(d.db, {100, 100}, &again), Status::Ok);
    for (ObjectId id : again) {
        EXPECT_NE(id, a);
        EXPECT_NE(id, c);
    }
    EXPECT_NE(again[0].handle(), a.handle());

    // Entities the host cannot move stay out of the clipboard; an empty clipboard pastes nothing.
    const ObjectId opaque = d.add(std::make_unique<db::OpaqueEntity>("HATCH", db::RawGroups{}));
    EXPECT_TRUE(board.copyFrom({opaque}).empty());
    EXPECT_TRUE(board.empty());
    EXPECT_EQ(board.pasteInto(d.db, {0, 0}), Status::InvalidInput);
}

TEST(EntityEdit, EraseAndTransformCountWhatCouldNotBeChanged) {
    Drawing d;
    const ObjectId locked = d.layer("Locked");
    const ObjectId a = d.line({0, 0}, {1, 0});
    const ObjectId b = d.line({0, 0}, {0, 1});
    const ObjectId opaque = d.add(std::make_unique<db::OpaqueEntity>("HATCH", db::RawGroups{}));
    {
        db::ObjectPtr<db::Entity> e(b, db::OpenMode::Write);
        e->setLayer(locked);
        db::ObjectPtr<db::LayerTableRecord> l(locked, db::OpenMode::Write);
        l->setIsLocked(true);
    }
    const EditCount moved = transformEntities({a, b, opaque}, ge::Matrix3d::translation({5, 0, 0}));
    EXPECT_EQ(moved.done, 1);
    EXPECT_EQ(moved.refused, 2);
    EXPECT_TRUE(near(d.get<db::Line>(a)->start(), {5, 0}));
    const EditCount erased = eraseEntities({a, b, a, d.db.modelSpaceId()});
    EXPECT_EQ(erased.done, 1);
    EXPECT_EQ(erased.refused, 1);
    EXPECT_TRUE(a.isErased());
}

TEST(GroupEdit, CreateExplodeRenameAndMembers) {
    Drawing d;
    const ObjectId a = d.line({0, 0}, {1, 0});
    const ObjectId b = d.line({1, 0}, {1, 1});
    ObjectId g;
    EXPECT_EQ(createGroup(d.db, "DOROZ_1", "path 1", {a, b, a}, &g), GroupOutcome::Done);
    EXPECT_EQ(d.get<db::Group>(g)->allEntityIds(), (std::vector<ObjectId>{a, b}));
    EXPECT_EQ(createGroup(d.db, "doroz_1", "", {}), GroupOutcome::Exists);
    EXPECT_EQ(createGroup(d.db, "a<b", "", {}), GroupOutcome::InvalidName);
    ObjectId anon;
    EXPECT_EQ(createGroup(d.db, "*", "", {a}, &anon), GroupOutcome::Done);
    EXPECT_EQ(d.get<db::Group>(anon)->name(), "*A1");

    EXPECT_EQ(renameGroup(d.db, "DOROZ_1", "DOROZ_2"), GroupOutcome::Done);
    EXPECT_EQ(findGroup(d.db, "DOROZ_2"), g);
    EXPECT_TRUE(findGroup(d.db, "DOROZ_1").isNull());
    EXPECT_EQ(renameGroup(d.db, "DOROZ_2", "*A1"), GroupOutcome::Exists);
    EXPECT_EQ(renameGroup(d.db, "missing", "x"), GroupOutcome::NotFound);
    EXPECT_EQ(renameGroup(d.db, "doroz_2", "Doroz_2"), GroupOutcome::Done);  // a change of case only

    EXPECT_EQ(removeFromGroup(d.db, "DOROZ_2", {a}), GroupOutcome::Done);
    EXPECT_EQ(addToGroup(d.db, "DOROZ_2", {a, b}), GroupOutcome::Done);
    EXPECT_EQ(d.get<db::Group>(g)->allEntityIds(), (std::vector<ObjectId>{b, a}));
    EXPECT_EQ(setGroupSelectable(d.db, "DOROZ_2", false), GroupOutcome::Done);
    EXPECT_FALSE(d.get<db::Group>(g)->isSelectable());

    EXPECT_EQ(explodeGroup(d.db, "DOROZ_2"), GroupOutcome::Done);
    EXPECT_TRUE(findGroup(d.db, "DOROZ_2").isNull());
    EXPECT_FALSE(a.isErased());  // the members stay
    EXPECT_EQ(explodeGroup(d.db, "DOROZ_2"), GroupOutcome::NotFound);
}

TEST(MenuModel, LoadUnloadAndTheMenuBar) {
    MenuModel menus;
    std::string error;
    MenuGroup* g = menus.load(kFixtures / "kestrion_test.menu", &error);
    ASSERT_NE(g, nullptr) << error;
    EXPECT_EQ(g->name, "KestrionTest");
    ASSERT_EQ(g->popups.size(), 1u);
    EXPECT_EQ(g->popups[0].name, "&Kestrion");
    ASSERT_EQ(g->popups[0].items.size(), 3u);
    EXPECT_EQ(g->popups[0].items[0].label, "Create contours");
    EXPECT_EQ(g->popups[0].items[0].macro, "^C^C_vesk_CreateContour");
    EXPECT_TRUE(g->popups[0].items[1].isSeparator());
    ASSERT_EQ(g->toolbars.size(), 1u);
    EXPECT_FALSE(g->toolbars[0].visible);
    EXPECT_EQ(menus.load(kFixtures / "kestrion_test.menu", &error), nullptr);
    EXPECT_NE(error.find("loaded already"), std::string::npos) << error;

    EXPECT_TRUE(menus.insertInMenuBar("kestriontest", 0, 99));
    EXPECT_FALSE(menus.insertInMenuBar("KestrionTest", 0, 0));  // there already
    EXPECT_FALSE(menus.insertInMenuBar("KestrionTest", 1, 0));  // no such pop-up
    EXPECT_EQ(menus.menuBar().size(), 1u);
    EXPECT_TRUE(menus.unload("KESTRIONTEST"));
    EXPECT_TRUE(menus.menuBar().empty());
    EXPECT_EQ(menus.groupCount(), 0u);
    EXPECT_FALSE(menus.unload("KestrionTest"));
}

TEST(MenuModel, MalformedFilesNameTheLine) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "edcmds-menus";
    std::filesystem::create_directories(folder);
    const struct {
        const char* text;
        const char* error;
    } cases[] = {
        {"popup A\nend\n", "line 1: the file must start with \"group <name>\""},
        {"group G\nitem A = B\n", "line 2: \"item\" outside a popup"},
        {"group G\npopup P\nitem no macro\nend\n", "line 3: an item is \"item <label> = <macro>\""},
        {"group G\npopup P\npopup Q\n", "line 3: \"popup\" inside another menu"},
        {"group G\nmenu X\n", "line 2: unknown statement \"menu\""},
        {"group G\ngroup H\n", "line 2: a second \"group\""},
        {"# nothing\n", "the file names no group"},
    };
    for (const auto& c : cases) {
        std::ofstream(folder / "m.menu") << c.text;
        std::string error;
        EXPECT_FALSE(readMenuFile(folder / "m.menu", &error)) << c.text;
        EXPECT_NE(error.find(c.error), std::string::npos) << error;
    }
    std::string error;
    EXPECT_FALSE(readMenuFile(kFixtures / "broken_popup.menu", &error));
    EXPECT_NE(error.find("line 2: this menu has no \"end\""), std::string::npos) << error;
    EXPECT_FALSE(readMenuFile(folder / "missing.menu", &error));
    EXPECT_NE(error.find("missing.menu"), std::string::npos) << error;
    std::filesystem::remove_all(folder);
}

TEST(MenuModel, MenuFilesAreFoundInTheInstallationFolder) {
    const std::filesystem::path install = std::filesystem::temp_directory_path() / "edcmds-install";
    std::filesystem::create_directories(install / "menus");
    std::filesystem::copy_file(kFixtures / "kestrion_test.menu", install / "menus" / "kestrion.menu",
                               std::filesystem::copy_options::overwrite_existing);
    sys::setInstallFolder(install);
    EXPECT_EQ(findMenuFile("kestrion"), install / "menus" / "kestrion.menu");
    EXPECT_EQ(findMenuFile((kFixtures / "kestrion_test").string()), kFixtures / "kestrion_test.menu");
    EXPECT_FALSE(findMenuFile("kestrion_ru"));
    EXPECT_FALSE(findMenuFile(""));
    sys::setInstallFolder({});
    std::filesystem::remove_all(install);
}

}  // namespace
}  // namespace host::ed
