// The menu loader on drawing loads: the product's group loaded or found, its pop-ups before the bar's last entry,
// its toolbars shown, the support search path, the one-time workspace refresh, and its unload.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "host/ed/command_stack.h"
#include "host/ed/commands/host_commands.h"
#include "host/ed/commands/menu_model.h"
#include "host/ed/env_values.h"
#include "host/ed/transcript.h"
#include "host/reg/machine_registry.h"
#include "host/sys/folders.h"
#include "host/sys/tests/scratch_folder.h"
#include "host/ui/message_box.h"
#include "menuloader/loader/menu_loader.h"

namespace {

namespace fs = std::filesystem;
using host::ed::menuApplication;
using host::ed::MenuModel;
using menuloader::CPanelhostApp;

const fs::path kSource = KESTRION_SOURCE_DIR;

class MenuLoader : public ::testing::Test {
protected:
    void SetUp() override {
        host::reg::setMachineRegistryFile(folder / "registry.reg");
        host::sys::setInstallFolder(kSource / "data");
        host::ed::registerHostCommands();
        host::ed::setEnvValue(host::ed::kSupportPathValue, "");
        menus().clear();
        host::ed::installHostMenus(menus());
        host::ed::transcript().clear();
    }
    void TearDown() override {
        menus().clear();
        host::sys::setInstallFolder({});
        host::reg::setMachineRegistryFile(host::reg::defaultRegistryFile());
    }
    static MenuModel& menus() { return *menuApplication(); }
    static host::reg::RegistryKey key() { return host::reg::productKey(); }
    // The menu bar as "group/popup" entries.
    static std::vector<std::string> bar() {
        std::vector<std::string> entries;
        for (const host::ed::MenuBarEntry& e : menus().menuBar()) entries.push_back(e.group + "/" + e.popup);
        return entries;
    }
    host::sys::testing::ScratchFolder folder;
};

TEST_F(MenuLoader, TheProductsGroupIsLoadedOnceWithItsPopupsBeforeHelpAndItsToolbarsShown) {
    CPanelhostApp loader;
    EXPECT_TRUE(loader.LoadProductMenu());
    EXPECT_EQ(loader.menuFile(), (kSource / "data/menus/kestrion.menu").string()) << "the installation's menu";
    const host::ed::MenuGroup* group = menus().find("KESTRION");
    ASSERT_NE(group, nullptr);
    for (const host::ed::Toolbar& t : group->toolbars) EXPECT_TRUE(t.visible) << t.name;
    const std::vector<std::string> expected = {"CADHOST/&File",        "CADHOST/&Edit",       "CADHOST/&View",
                                               "Kestrion/&Contours",   "Kestrion/&Drawing",   "Kestrion/&Path",
                                               "Kestrion/&NC program", "Kestrion/N&esting",   "Kestrion/&Options",
                                               "CADHOST/&Help"};
    EXPECT_EQ(bar(), expected);
    // A second drawing changes nothing in the menus.
    EXPECT_FALSE(loader.LoadProductMenu());
    EXPECT_EQ(bar(), expected);
    // The unloaded loader takes what it brought with it.
    loader.OnUnload();
    EXPECT_EQ(menus().find("Kestrion"), nullptr);
    EXPECT_EQ(bar(), (std::vector<std::string>{"CADHOST/&File", "CADHOST/&Edit", "CADHOST/&View", "CADHOST/&Help"}));
}

TEST_F(MenuLoader, AGroupTheHostHasAlreadyIsUsedAsItIs) {
    // A group whose name differs only in case: no file is loaded and no toolbar forced visible.
    std::string error;
    ASSERT_NE(menus().load(kSource / "host/ed/commands/tests/fixtures/kestrion_test.menu", &error), nullptr) << error;
    host::ed::MenuGroup* test = menus().find("KestrionTest");
    test->name = "KESTRION";
    ASSERT_EQ(key().setString("FileMenu", (folder / "nowhere" / "kestrion.menu").string()), host::reg::Status::Ok);
    CPanelhostApp loader;
    EXPECT_TRUE(loader.LoadProductMenu());
    EXPECT_EQ(menus().groupCount(), 2u);
    for (const host::ed::Toolbar& t : test->toolbars) EXPECT_FALSE(t.visible);
    EXPECT_EQ(bar().size(), 4u + test->popups.size());
    EXPECT_EQ(bar()[3], "KESTRION/" + test->popups.front().name);
    loader.OnUnload();  // not its group: only its pop-ups leave the bar
    EXPECT_NE(menus().find("KESTRION"), nullptr);
    EXPECT_EQ(bar().size(), 4u);
}

TEST_F(MenuLoader, TheRussianProductLoadsTheRussianMenuAndMenusThatAreNotThereAreTriedAgain) {
    ASSERT_EQ(key().setString("LangMenu", "RU"), host::reg::Status::Ok);
    CPanelhostApp loader;
    host::ed::setMenuApplicationAvailable(false);
    EXPECT_FALSE(loader.LoadProductMenu());
    EXPECT_FALSE(loader.menuLoaded()) << "tried again at the next drawing";
    host::ed::setMenuApplicationAvailable(true);
    EXPECT_TRUE(loader.LoadProductMenu());
    EXPECT_EQ(fs::path(loader.menuFile()).filename(), "kestrion_ru.menu");
    EXPECT_EQ(bar()[3], "Kestrion/&Контуры");
}

TEST_F(MenuLoader, AMenuFileThatCannotBeLoadedLeavesTheMenusAloneForGood) {
    ASSERT_EQ(key().setString("FileMenu", (folder / "missing.menu").string()), host::reg::Status::Ok);
    CPanelhostApp loader;
    EXPECT_FALSE(loader.LoadProductMenu());
    EXPECT_TRUE(loader.menuLoaded());
    EXPECT_EQ(bar().size(), 4u);
    EXPECT_TRUE(host::ui::messageBoxLog().empty()) << "no message";
}

TEST_F(MenuLoader, TheMenuFolderJoinsTheSupportPathOnceAndEntriesAreMatchedWhole) {
    struct Case {
        const char* before;
        const char* after;
    };
    const std::string menus = "/opt/kestrion/menus";
    const Case cases[] = {
        {"", "/opt/kestrion/menus;"},
        {"/usr/share/cad", "/usr/share/cad;/opt/kestrion/menus;"},
        {"/usr/share/cad;", "/usr/share/cad;/opt/kestrion/menus;"},
        {"/opt/kestrion/menus;/usr/share/cad", "/opt/kestrion/menus;/usr/share/cad"},
        // A longer entry that begins with the folder is another folder.
        {"/opt/kestrion/menus-old", "/opt/kestrion/menus-old;/opt/kestrion/menus;"},
    };
    ASSERT_EQ(key().setString("FileMenu", menus + "/kestrion.menu"), host::reg::Status::Ok);
    for (const Case& c : cases) {
        host::ed::setEnvValue(host::ed::kSupportPathValue, c.before);
        CPanelhostApp loader;
        ASSERT_EQ(loader.ReadMenuFileSetting(), 0);
        loader.AddMenuFolderToSearchPath();
        EXPECT_EQ(host::ed::getEnvValue("ACAD"), c.after) << c.before;
    }
    // A long support path is kept whole.
    const std::string longPath(20000, 'x');
    host::ed::setEnvValue(host::ed::kSupportPathValue, longPath);
    CPanelhostApp loader;
    ASSERT_EQ(loader.ReadMenuFileSetting(), 0);
    loader.AddMenuFolderToSearchPath();
    EXPECT_EQ(host::ed::getEnvValue("ACAD"), longPath + ";" + menus + ";");
}

TEST_F(MenuLoader, AWorkspaceRefreshIsRunOnceWhenTheInstallationAsksForIt) {
    struct Case {
        const char* value;  // nullptr: no value
        bool refreshes;
    };
    for (const Case c : {Case{"1", true}, Case{"10", true}, Case{"0", false}, Case{"", false}, Case{nullptr, false}}) {
        if (c.value) {
            ASSERT_EQ(key().setString("WSCURRENT", c.value), host::reg::Status::Ok);
        } else {
            key().deleteValue("WSCURRENT");
        }
        host::ed::transcript().clear();
        CPanelhostApp loader;
        loader.RefreshWorkspace();
        const bool said = host::ed::transcript().text().find("Load Kestrion menu") != std::string::npos;
        EXPECT_EQ(said, c.refreshes) << (c.value ? c.value : "(none)");
        if (c.refreshes) {
            EXPECT_EQ(key().getString("WSCURRENT"), "0");
        }
    }
}

}  // namespace
