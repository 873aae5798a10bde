// A drawing opened and quit at once at a terminal is not offered for saving, whatever modules are loaded and
// whether or not it holds a cutting job; a drawing that was changed still is. Before, the cutting-path module's
// load marked every drawing changed (it registered its application and cleared the drawing's tag), and Enter at
// the question rewrote the user's file.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "host/db/database.h"
#include "host/db/entities.h"
#include "host/dxf/dxf_file.h"
#include "host/sys/tests/scratch_folder.h"
#include "tests/e2e/cadhost_runner.h"
#include "tests/e2e/laser_session.h"
#include "tests/e2e/terminal_session.h"

namespace untouched_drawing_test {

namespace fs = std::filesystem;
using e2e::Terminal;
using host::ge::Point2d;
using host::ge::Point3d;
using host::sys::testing::readBytes;
using host::sys::testing::ScratchFolder;

const fs::path kSource = KESTRION_SOURCE_DIR;

void writePlate(const fs::path& path) {
    host::db::Database db;
    {
        host::db::ObjectPtr<host::db::BlockTableRecord> space(db.modelSpaceId(), host::db::OpenMode::Write);
        auto outline = std::make_unique<host::db::LwPolyline>();
        const Point2d corners[] = {{0, 0}, {50, 0}, {50, 30}, {0, 30}};
        unsigned i = 0;
        for (const Point2d& c : corners) outline->addVertexAt(i++, c, 0.0);
        outline->setClosed(true);
        space->appendEntity(std::move(outline));
        space->appendEntity(std::make_unique<host::db::Circle>(Point3d(25, 15), 5.0));
    }
    std::string error;
    ASSERT_TRUE(host::dxf::writeDxfFile(db, path, &error)) << error;
}

TEST(UntouchedDrawing, QuitAtOnceAsksNothingAndLeavesTheFile) {
    struct Case {
        const char* what;
        const char* modules;
        bool withJob;     // the drawing holds a cutting job and path saved by the module
        bool openLater;   // opened by OPEN after the modules were loaded, not on the command line
        const char* typed = "";  // typed before QUIT
        bool asks = false;
    };
    const Case cases[] = {
        {"a plain drawing, the cutting-path module", "laser", false, false},
        {"a plain drawing, every module", "laser,nesting,panelboot", false, false},
        {"a plain drawing, the nesting module", "nesting", false, false},
        {"a drawing with a job and path", "laser", true, false},
        {"a drawing opened by OPEN", "laser", false, true},
        {"a drawing with a job opened by OPEN", "laser,nesting", true, true},
        {"a drawing changed before QUIT still asks", "laser", false, false, "ERASE\rALL\r\r", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchFolder folder;
        e2e::writeLanguageRegistry(folder);
        writePlate(folder / "look.dxf");
        if (c.withJob) {
            const e2e::RunResult r = e2e::runLaserScript(folder / "look.dxf", folder, "NCCreateContour\nNCSliceAuto\n",
                                                         folder / "look.dxf");
            ASSERT_EQ(r.status, 0) << r.err << r.out;
        }
        const std::string before = readBytes(folder / "look.dxf");
        std::vector<std::string> args = {"--load", c.modules, "--install", (kSource / "data").string()};
        if (!c.openLater) args.insert(args.begin(), (folder / "look.dxf").string());
        Terminal t(folder, args);
        ASSERT_TRUE(t.waitFor("Command: ")) << t.screen();
        if (c.openLater) {
            t.type("OPEN\r" + (folder / "look.dxf").string() + "\r");
            ASSERT_TRUE(t.waitFor("Opened")) << t.screen();
            ASSERT_TRUE(t.waitFor("Command: ")) << t.screen();
        }
        t.type(c.typed);
        t.type("QUIT\r");
        if (c.asks) {
            ASSERT_TRUE(t.waitFor("Save changes to look.dxf?", 20)) << t.screen();
            t.type("No\r");
        }
        EXPECT_EQ(t.exitStatus(), 0) << t.screen();
        if (!c.asks) {
            EXPECT_EQ(t.screen().find("Save changes to look.dxf"), std::string::npos) << t.screen();
        }
        EXPECT_EQ(readBytes(folder / "look.dxf"), before);
    }
}

}  // namespace untouched_drawing_test
