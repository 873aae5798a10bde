// The cutting-path module in the host: loading registers its 64 commands and switches the automatic save off,
// unloading removes them and gives the interval back; its commands run in their frame, which gives the drawing
// environment back whatever the command did; and a whole cadhost session with the module on a sample drawing.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <set>
#include <string>

#include "host/app/module.h"
#include "host/db/database.h"
#include "host/db/entities.h"
#include "host/db/resbuf.h"
#include "host/db/tables.h"
#include "host/dxf/dxf_file.h"
#include "host/ed/command.h"
#include "host/ed/command_stack.h"
#include "host/ed/documents.h"
#include "host/ed/sysvars.h"
#include "host/ed/transcript.h"
#include "host/reg/machine_registry.h"
#include "host/reg/registry.h"
#include "host/sys/tests/scratch_folder.h"
#include "tests/e2e/cadhost_runner.h"
#include "tests/e2e/laser_session.h"

// Named, so that the helpers stay apart from those of the other tests built into one unit with them.
namespace laser_module_test {

namespace fs = std::filesystem;
using e2e::cadhost;
using e2e::count;
using e2e::RunResult;
using host::db::ResBuf;
using host::sys::testing::ScratchFolder;
using host::sys::testing::writeBytes;

const fs::path kSource = KESTRION_SOURCE_DIR;
constexpr const char* kGroup = "VESKLaser";

const fs::path kSample = kSource / "examples" / "plate.dxf";

// The lightweight polylines of a drawing's model space.
int polylinesIn(const host::db::Database& db) {
    const auto* ms = dynamic_cast<const host::db::BlockTableRecord*>(db.peek(db.modelSpaceId()));
    int polylines = 0;
    for (host::db::ObjectId id : ms->entityIds()) {
        if (dynamic_cast<const host::db::LwPolyline*>(db.peek(id)) != nullptr) ++polylines;
    }
    return polylines;
}

void setShort(const char* name, int value) {
    ASSERT_EQ(host::ed::setVar(name, ResBuf(host::db::RTSHORT, value)), host::db::RTNORM) << name;
}

// The module loaded into this process, with a registry of its own and one new drawing open; unloaded at the end.
class LaserInHost : public ::testing::Test {
protected:
    void SetUp() override {
        host::reg::machineRegistry().setFile(folder / "registry.reg");
        host::ed::resetSystemVariables();
        host::ed::transcript().clear();
    }
    void TearDown() override {
        host::app::unloadAllModules();
        host::ed::documents().closeAll();
        host::ed::resetSystemVariables();
    }
    host::app::Module* load() {
        std::string error;
        host::app::Module* module = host::app::loadModule(LASER_MODULE, &error);
        EXPECT_NE(module, nullptr) << error;
        return module;
    }
    ScratchFolder folder;
};

TEST_F(LaserInHost, LoadingRegistersTheGroupAndUnloadingRemovesIt) {
    setShort("SAVETIME", 10);
    host::app::Module* module = load();
    ASSERT_NE(module, nullptr);

    const auto commands = host::ed::commandStack().commands(kGroup);
    ASSERT_EQ(commands.size(), 64u);
    std::set<std::string> globals;
    for (const host::ed::CommandInfo* c : commands) {
        EXPECT_EQ(c->flags, host::ed::CMD_TRANSPARENT) << c->localName;
        EXPECT_EQ(c->module, module) << c->localName;
        globals.insert(c->globalName);
    }
    for (const char* older : {"_vesk_CreateContour", "_vesk_CheckIntersect", "_vesk_CheckUnclose",
                              "_vesk_InsertItemLib_ACAD2016", "_vesk_ExportContours", "_vesk_ReExportContours",
                              "_vesk_CreateStock"})
        EXPECT_EQ(globals.count(older), 1u) << older;
    // No automatic save while the module is loaded.
    EXPECT_EQ(host::ed::getShort("SAVETIME"), 0);

    // Messages the module has no work for, and numbers beyond the host's, are answered with success and change
    // nothing.
    for (int message : {0, 5, 6, 7, 10, 13, 15, 16, 99}) {
        EXPECT_EQ(module->entry(message, nullptr, module), host::app::kRetOK) << message;
    }
    EXPECT_EQ(host::ed::commandStack().commands(kGroup).size(), 64u);
    EXPECT_EQ(host::ed::getShort("SAVETIME"), 0);

    std::string error;
    ASSERT_TRUE(host::app::unloadModule(*module, &error)) << error;
    EXPECT_TRUE(host::ed::commandStack().commands(kGroup).empty());
    EXPECT_EQ(host::ed::commandStack().lookup("NCCreateContour"), nullptr);
    EXPECT_EQ(host::ed::getShort("SAVETIME"), 10);
}

TEST_F(LaserInHost, LoadingAgainAfterAnUnloadStartsAfresh) {
    setShort("SAVETIME", 25);
    host::app::Module* first = load();
    ASSERT_NE(first, nullptr);
    ASSERT_TRUE(host::app::unloadModule(*first));
    // The interval the user sets while the module is out is the one kept by the next load.
    setShort("SAVETIME", 5);
    host::app::Module* second = load();
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(host::ed::commandStack().commands(kGroup).size(), 64u);
    EXPECT_EQ(host::ed::getShort("SAVETIME"), 0);
    ASSERT_TRUE(host::app::unloadModule(*second));
    EXPECT_EQ(host::ed::getShort("SAVETIME"), 5);
}

TEST_F(LaserInHost, CommandsGiveTheDrawingEnvironmentBack) {
    host::ed::Document* doc = host::ed::documents().newDocument();
    ASSERT_NE(doc, nullptr);
    {
        host::db::Database& db = doc->database();
        host::db::ObjectPtr<host::db::SymbolTable> layers(db.tableId(host::db::TableKind::Layer),
                                                          host::db::OpenMode::Write);
        ASSERT_TRUE(layers);
        ASSERT_EQ(layers->add(std::make_unique<host::db::LayerTableRecord>("Parts")), host::db::Status::Ok);
    }
    ASSERT_NE(load(), nullptr);

    struct Case {
        const char* command;
        const char* what;
        const char* layerAfter;
    };
    const Case cases[] = {
        {"NCOrder", "a path command whose contour guard stops it", "Parts"},
        {"NCPlay", "a built command stopped by its guard", "Parts"},
        {"setEngraveLine", "a kind command with nothing selected, after its job preparation", "Parts"},
        {"SetStartNesting", "a built command with the environment frame", "Parts"},
        {"IniKestrion", "a command without a frame", "Parts"},
        // Contour creation makes "0" current before it saves the environment, so "0" stays current.
        {"NCCreateContour", "contour creation", "0"},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(host::ed::setVar("CLAYER", ResBuf(host::db::RTSTR, "Parts")), host::db::RTNORM);
        setShort("OSMODE", 33);
        setShort("CMDECHO", 1);
        setShort("PICKSTYLE", 1);
        host::ed::command({ResBuf(host::db::RTSTR, c.command)});
        EXPECT_EQ(host::ed::getText("CLAYER"), c.layerAfter) << c.what;
        EXPECT_EQ(host::ed::getShort("OSMODE"), 33) << c.what;
        EXPECT_EQ(host::ed::getShort("CMDECHO"), 1) << c.what;
        EXPECT_EQ(host::ed::getShort("PICKSTYLE"), 1) << c.what;
    }
    const std::string& text = host::ed::transcript().text();
    EXPECT_EQ(count(text, "Select contours"), 1u) << text;
    EXPECT_EQ(count(text, "Create contours and repeat the command."), 3u) << "NCOrder, NCPlay and IniKestrion\n" << text;
    EXPECT_EQ(count(text, "The command NCOrder is not built yet."), 0u) << "the guard stopped it first\n" << text;
}

TEST_F(LaserInHost, StartOfANestingMarksOnlyItsOwnDrawing) {
    host::ed::Document* first = host::ed::documents().newDocument();
    host::ed::Document* second = host::ed::documents().newDocument();
    ASSERT_NE(load(), nullptr);
    auto tagOf = [](host::ed::Document* doc) { return doc->database().header().projectName; };
    const std::string firstBefore = tagOf(first);

    // Neither drawing has a job: the current one is marked, with an id of its own, and the other stays as it was.
    host::ed::documents().setCurrent(*second);
    host::ed::command({ResBuf(host::db::RTSTR, "SetStartNesting")});
    const std::string secondTag = tagOf(second);
    EXPECT_EQ(secondTag.rfind("Kstr_", 0), 0u) << secondTag;
    EXPECT_TRUE(secondTag.ends_with(" 2 0")) << secondTag << ": status 2, nothing changed yet";
    EXPECT_EQ(tagOf(first), firstBefore);

    host::ed::documents().setCurrent(*first);
    host::ed::command({ResBuf(host::db::RTSTR, "SetStartNesting")});
    EXPECT_TRUE(tagOf(first).ends_with(" 2 0")) << tagOf(first);
    EXPECT_NE(tagOf(first), secondTag) << "two marked drawings never share a tag";
    EXPECT_EQ(tagOf(second), secondTag);
}

TEST(LaserSession, CadhostRunsTheModulesCommandsOnASampleDrawing) {
    ScratchFolder folder;
    const fs::path saved = folder / "out.dxf";
    const fs::path script = folder / "run.scr";
    writeBytes(script,
               ";; diagnostics: nothing; a boundary around a point inside the plate; a pick that hits nothing\n"
               "TestFor\n"
               "TTF\n10,10\n"
               "TTT\n-50,-50\n"
               "TTE\n"
               ";; the current drawing's options refuse a drawing without contours\n"
               "IniKestrion\n"
               "msgbox OK\n"
               ";; path commands on a drawing without contours: the guard's message, once each\n"
               "NCDelAll\n"
               "msgbox OK\n"
               "NCPlay\n"
               "msgbox OK\n"
               ";; the status line as the host shows it\n"
               "MODEMACRO\n"
               "\n");
    const RunResult r = cadhost({kSample.string(), "--load", "laser", "--registry", (folder / "registry.reg").string(),
                                 "--script", script.string(), "--save", saved.string()},
                                folder);
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    EXPECT_EQ(count(r.out, "Error - Contours are not created."), 3u) << r.out;
    EXPECT_EQ(count(r.out, "To change the speed"), 0u) << "NCPlay stopped at its guard\n" << r.out;
    EXPECT_NE(r.out.find("Enter new value for MODEMACRO <\"\">: "), std::string::npos) << r.out;

    // The framed commands made the drawing ready for a job, and the save kept it: the job's layer and the tag
    // that ties the drawing to its job are in the file.
    host::dxf::ReadResult read = host::dxf::readDxfFile(saved);
    ASSERT_TRUE(read) << read.error;
    const host::db::Database& db = *read.database;
    EXPECT_FALSE(db.recordId(host::db::TableKind::Layer, "NC_Laser").isNull());
    EXPECT_EQ(db.header().projectName.rfind("Kstr_", 0), 0u) << db.header().projectName;
    // The sample's polylines and the boundary TTF made.
    EXPECT_NE(r.out.find("BOUNDARY created 1 polyline"), std::string::npos) << r.out;
    host::dxf::ReadResult sample = host::dxf::readDxfFile(kSample);
    ASSERT_TRUE(sample) << sample.error;
    EXPECT_EQ(polylinesIn(db), polylinesIn(*sample.database) + 1);
}

TEST(LaserSession, APathCommandOnAStoredJobShowsItsStatusLineInTheUsersLanguage) {
    // The drawing stores a job of 3 contours with every counter set, 4 path groups (the last the home group) and
    // 17 seconds of machining.
    const fs::path drawing = kSource / "laser" / "job" / "tests" / "fixtures" / "job_200801.dxf";
    struct Case {
        const char* language;
        const char* statusLine;
    };
    const Case cases[] = {
        {"EN", "Contours=190/3 Out=2/18/16 In=1/19/17/14/15 Engr=10/11/12 Heat=13 Uncl=5/9 Pt=21/20 Stock=8/7 "
               "Time=0min17sec"},
        {"RU", "Контуры=190/3 Внеш=2/18/4/16 Внутр=1/19/3/17/14/15 Грав=10/11/12 Терм=13 Незамк=5/9 Тчк=21/20 "
               "Лист=8/7 Время=0мин17сек"},
    };
    for (const Case& c : cases) {
        ScratchFolder folder;
        const fs::path registry = e2e::writeLanguageRegistry(folder, c.language);
        writeBytes(folder / "run.scr", "NCPlay\nMODEMACRO\n\n");
        const RunResult r = cadhost({drawing.string(), "--load", "laser", "--registry", registry.string(), "--script",
                                     (folder / "run.scr").string()},
                                    folder);
        ASSERT_EQ(r.status, 0) << c.language << r.err << r.out;
        EXPECT_NE(r.out.find(std::string("Enter new value for MODEMACRO <\"") + c.statusLine + "\">: "),
                  std::string::npos)
            << c.language << "\n" << r.out;
        EXPECT_EQ(count(r.out, "Error - Contours are not created."), 0u) << c.language << "\n" << r.out;
    }
}

}  // namespace laser_module_test
