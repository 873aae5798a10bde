// Loading modules: the messages and their order, each document current while it is told, a module's own statics
// and hidden symbols, its commands going with it, and every way a load is refused leaving nothing behind.
#include <dlfcn.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "host/app/module.h"
#include "host/dxf/dxf_file.h"
#include "host/ed/command.h"
#include "host/ed/answers.h"
#include "host/ed/command_stack.h"
#include "host/ed/documents.h"
#include "host/ed/transcript.h"
#include "host/sys/tests/scoped_environment.h"
#include "host/sys/tests/scratch_folder.h"

namespace host::app {
namespace {

namespace fs = std::filesystem;
using sys::testing::ScopedEnvironment;
using sys::testing::ScratchFolder;

const fs::path kFixtures = KESTRION_FIXTURE_MODULES;
const fs::path kRecording = kFixtures / "fixture_recording.so";

// Every test starts with no module, no document and an empty transcript, and leaves it so.
class ModuleLoading : public ::testing::Test {
protected:
    void SetUp() override { reset(); }
    void TearDown() override { reset(); }
    static void reset() {
        unloadAllModules();
        ed::documents().closeAll();
        setModuleFolder({});
        ed::transcript().clear();
    }
    static const std::string& said() { return ed::transcript().text(); }
};

TEST_F(ModuleLoading, MessagesGoToEachDocumentWithThatDocumentCurrent) {
    ed::documents().newDocument();
    ed::Document* second = ed::documents().newDocument();
    std::string error;
    Module* module = loadModule(kRecording.string(), &error);
    ASSERT_NE(module, nullptr) << error;
    EXPECT_EQ(module->name, "fixture_recording");
    EXPECT_EQ(said(),
              "\n[fixture_recording] message 1 current Drawing2.dxf"
              "\n[fixture_recording] message 3 Drawing1.dxf current Drawing1.dxf"
              "\n[fixture_recording] message 3 Drawing2.dxf current Drawing2.dxf");
    EXPECT_EQ(ed::documents().current(), second) << "the current document is current again afterwards";
    EXPECT_EQ(db::workingDatabase(), &second->database());

    // Documents opened, saved and closed later are told too.
    ed::transcript().clear();
    ed::Document* third = ed::documents().newDocument();
    EXPECT_EQ(said(), "\n[fixture_recording] message 3 Drawing3.dxf current Drawing3.dxf");

    ed::transcript().clear();
    ScratchFolder folder;
    ASSERT_TRUE(ed::documents().save(*second, folder / "second.dxf", &error)) << error;
    EXPECT_EQ(said(), "\n[fixture_recording] message 9 Drawing2.dxf current Drawing2.dxf");
    EXPECT_EQ(ed::documents().current(), third);
    dxf::ReadResult saved = dxf::readDxfFile(folder / "second.dxf");
    ASSERT_TRUE(saved) << saved.error;
    EXPECT_EQ(saved.database->header().projectName, "written at save")
        << "the save message comes before the file is written";

    ed::transcript().clear();
    ed::documents().close(*second);
    EXPECT_EQ(said(), "\n[fixture_recording] message 4 second.dxf current second.dxf");
    EXPECT_EQ(ed::documents().current(), third);

    ed::transcript().clear();
    ASSERT_TRUE(unloadModule(*module, &error)) << error;
    EXPECT_EQ(said(),
              "\n[fixture_recording] message 4 Drawing1.dxf current Drawing1.dxf"
              "\n[fixture_recording] message 4 Drawing3.dxf current Drawing3.dxf"
              "\n[fixture_recording] message 2 current Drawing3.dxf");
    EXPECT_TRUE(loadedModules().empty());
}

TEST_F(ModuleLoading, AMessageHandlerMayRunACommand) {
    ed::Document* doc = ed::documents().newDocument();
    std::vector<std::string> ran;
    ed::commandStack().add({"LOADHOOKS", "LOADHOOK", "", 0, [&] {
                                const ed::Answer a = ed::nextAnswer("\nAnswer: ");
                                ran.push_back(ed::runningCommandNames() + " got " +
                                              (a.kind == ed::Answer::Kind::Enter ? "Enter" : "something else"));
                            }});
    std::string error;
    ASSERT_NE(loadModule(kRecording.string(), &error), nullptr) << error;
    ed::commandStack().removeGroup("LOADHOOKS");
    EXPECT_EQ(ran, (std::vector<std::string>{"LOADHOOK got Enter"}));
    EXPECT_NE(said().find("\nLOADHOOK answered 5100"), std::string::npos) << said();
    EXPECT_EQ(doc->database().undoableSteps(), 0) << "the command changed nothing, so it left no step";
    EXPECT_FALSE(ed::isCommandActive());
}

TEST_F(ModuleLoading, CommandsComeAndGoWithTheModule) {
    ed::documents().newDocument();
    std::string error;
    Module* module = loadModule(kRecording.string(), &error);
    ASSERT_NE(module, nullptr) << error;
    const ed::CommandInfo* count = ed::commandStack().lookup("FIXTURE_RECORDING_COUNT");
    ASSERT_NE(count, nullptr);
    EXPECT_EQ(count->module, module) << "a command added during the module's initialisation is the module's";
    EXPECT_EQ(count->group, "REC_FIXTURE_RECORDING");
    EXPECT_EQ(ed::runTypedCommand("fixture_recording_count"), db::RTNORM);
    EXPECT_NE(said().find("\ncount 1"), std::string::npos) << said();

    // A module cannot be unloaded by its own command: its code would be taken from under it.
    ed::transcript().clear();
    EXPECT_EQ(ed::runTypedCommand("FIXTURE_RECORDING_UNLOADSELF"), db::RTNORM);
    EXPECT_NE(said().find("cannot unload module \"fixture_recording\" while its command runs"), std::string::npos)
        << said();
    EXPECT_EQ(loadedModules().size(), 1u);

    ASSERT_TRUE(unloadModule(*module, &error)) << error;
    EXPECT_EQ(ed::commandStack().lookup("FIXTURE_RECORDING_COUNT"), nullptr);
    EXPECT_TRUE(ed::commandStack().commands("REC_FIXTURE_RECORDING").empty());
    ed::transcript().clear();
    EXPECT_EQ(ed::runTypedCommand("FIXTURE_RECORDING_COUNT"), db::RTERROR);
    EXPECT_EQ(said(), "\nUnknown command \"FIXTURE_RECORDING_COUNT\".  Press F1 for help.");
}

TEST_F(ModuleLoading, EachModuleHasItsOwnStaticsAndHidesItsSymbols) {
    // Two copies of one module under two names: RTLD_LOCAL gives each its own statics, as each of our modules
    // has its own copy of the helper library's state.
    ScratchFolder folder;
    fs::copy_file(kRecording, folder / "first.so");
    fs::copy_file(kRecording, folder / "second.so");
    std::string error;
    Module* first = loadModule((folder / "first.so").string(), &error);
    ASSERT_NE(first, nullptr) << error;
    Module* second = loadModule((folder / "second.so").string(), &error);
    ASSERT_NE(second, nullptr) << error;
    ed::transcript().clear();
    ed::runTypedCommand("FIRST_COUNT");
    ed::runTypedCommand("FIRST_COUNT");
    ed::runTypedCommand("SECOND_COUNT");
    EXPECT_EQ(said(), "\ncount 1\ncount 2\ncount 1");

    EXPECT_NE(dlsym(first->handle, kEntryPointName), nullptr);
    EXPECT_EQ(dlsym(first->handle, "_Z22recordingFixtureHelperv"), nullptr) << "only the entry point is exported";
}

TEST_F(ModuleLoading, RefusedLoadsSayWhyAndLeaveNothing) {
    ScratchFolder folder;
    sys::testing::writeBytes(folder / "text.so", "this is not a shared object\n");
    const std::string missing = (folder / "missing.so").string();
    struct Case {
        const char* what;
        std::string nameOrPath;
        std::string message;
    };
    const Case cases[] = {
        {"missing file", missing, "cannot load module \"missing\": " + missing + " does not exist"},
        {"a folder", folder.path().string() + "/", " is not a file"},
        {"not a shared object", (folder / "text.so").string(), "cannot load module \"text\": "},
        {"no entry point", (kFixtures / "fixture_no_entry.so").string(),
         "is not a module (it has no kestrion_module_entry)"},
        {"initialisation fails", (kFixtures / "fixture_refusing.so").string(),
         "cannot load module \"fixture_refusing\": its initialisation failed (it answered 3)"},
        {"no name", "", "cannot load a module without a name"},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_EQ(loadModule(c.nameOrPath, &error), nullptr) << c.what;
        EXPECT_NE(error.find(c.message), std::string::npos) << c.what << ": " << error;
        EXPECT_TRUE(loadedModules().empty()) << c.what;
    }
    EXPECT_EQ(ed::commandStack().lookup("HALFWAY"), nullptr)
        << "the command registered before the initialisation failed went with the module";

    std::string error;
    ASSERT_NE(loadModule(kRecording.string(), &error), nullptr) << error;
    EXPECT_EQ(loadModule(kRecording.string(), &error), nullptr);
    EXPECT_NE(error.find("module \"fixture_recording\" is loaded already"), std::string::npos) << error;
    EXPECT_EQ(loadedModules().size(), 1u);
}

TEST_F(ModuleLoading, NamesAreFoundInTheModuleFolder) {
    std::string error;
    {
        ScopedEnvironment variable(kModuleFolderVariable, kFixtures.c_str());
        EXPECT_EQ(moduleFolder(), kFixtures);
        Module* module = loadModule("fixture_recording", &error);
        ASSERT_NE(module, nullptr) << error;
        EXPECT_EQ(module->path, kFixtures / "fixture_recording.so");
        ASSERT_TRUE(unloadModule(*module));
    }
    ScratchFolder empty;
    setModuleFolder(empty.path());
    {
        ScopedEnvironment variable(kModuleFolderVariable, kFixtures.c_str());
        EXPECT_EQ(loadModule("fixture_recording", &error), nullptr) << "the folder set wins over the variable";
        EXPECT_NE(error.find((empty / "fixture_recording.so").string() + " does not exist"), std::string::npos)
            << error;
    }
    setModuleFolder({});
    ScopedEnvironment unset(kModuleFolderVariable, nullptr);
    EXPECT_EQ(moduleFolder(), fs::path(KESTRION_BINARY_DIR) / "modules");
}

}  // namespace
}  // namespace host::app
