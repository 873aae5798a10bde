// The menu loader in a cadhost session: loaded with --load panelboot, it puts the product's menus into the host's
// menu bar when a drawing opens; MENULOAD finds the product's menu files; unloading the loader takes them away.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "host/sys/tests/scratch_folder.h"
#include "tests/e2e/cadhost_runner.h"

// Named, so that the helpers stay apart from those of the other tests built into one unit with them.
namespace menu_loader_test {

namespace fs = std::filesystem;
using e2e::cadhost;
using e2e::RunResult;
using host::sys::testing::ScratchFolder;
using host::sys::testing::writeBytes;

const fs::path kSource = KESTRION_SOURCE_DIR;

using e2e::has;

TEST(MenuLoaderSession, TheProductsMenusStandInTheMenuBarWhileTheLoaderIsLoaded) {
    ScratchFolder folder;
    writeBytes(folder / "registry.reg", "Windows Registry Editor Version 5.00\r\n\r\n"
                                        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrion\\20.0]\r\n"
                                        "\"WSCURRENT\"=\"1\"\r\n");
    writeBytes(folder / "run.scr", "TESTMENUS\nMENUUNLOAD\nKestrion\nMENULOAD\nkestrion_ru\nTESTMENUS\n");
    // The test module is loaded first, so it is unloaded last and sees the menus the loader left.
    const RunResult r = cadhost({"--load", "testmodule,panelboot", "--install", (kSource / "data").string(),
                                 "--registry", (folder / "registry.reg").string(), "--script",
                                 (folder / "run.scr").string()},
                                folder);
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    EXPECT_TRUE(has(r.out, "Load Kestrion menu")) << r.out;
    EXPECT_TRUE(has(r.out, "Menu bar: CADHOST/&File | CADHOST/&Edit | CADHOST/&View | Kestrion/&Contours | "
                           "Kestrion/&Drawing | Kestrion/&Path | Kestrion/&NC program | Kestrion/N&esting | "
                           "Kestrion/&Options | CADHOST/&Help\nToolbars shown: Kestrion"))
        << r.out;
    // MENULOAD finds the Russian menu file by its name; it is appended to the bar, as MENULOAD does.
    EXPECT_TRUE(has(r.out, "Menu group \"Kestrion\" loaded.")) << r.out;
    // The loader unloaded first takes its group; the host's own menus stay.
    EXPECT_TRUE(has(r.out, "Menu bar: CADHOST/&File | CADHOST/&Edit | CADHOST/&View | CADHOST/&Help\n"
                           "Toolbars shown: \n[testmodule] unloaded"))
        << r.out;
    EXPECT_NE(host::sys::testing::readBytes(folder / "registry.reg").find("\"WSCURRENT\"=\"0\""), std::string::npos);
}

}  // namespace menu_loader_test
