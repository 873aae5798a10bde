// Whole sessions with the test module: cadhost loads it, its commands are registered, a script answers their
// prompts (points, keywords, the pause token, a transparent command), entities are made and saved; the messages
// the module gets for every document; a script that stops early or names an unknown command, and a failing
// command, each told with what was kept; the command line read from standard input.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "host/db/database.h"
#include "host/db/entities.h"
#include "host/dxf/dxf_file.h"
#include "host/sys/tests/scratch_folder.h"
#include "tests/e2e/cadhost_runner.h"

// Named, so that the helpers stay apart from those of the other tests built into one unit with them.
namespace module_session_test {

namespace fs = std::filesystem;
using e2e::cadhost;
using e2e::count;
using e2e::quoted;
using e2e::RunResult;
using e2e::runCommand;
using host::sys::testing::readBytes;
using host::sys::testing::ScratchFolder;
using host::sys::testing::writeBytes;

const fs::path kSource = KESTRION_SOURCE_DIR;
const fs::path kSample = kSource / "examples" / "plate.dxf";

// The lines of model space in a saved drawing, as "x1,y1 x2,y2", in drawing order.
std::vector<std::string> linesIn(const fs::path& file) {
    host::dxf::ReadResult read = host::dxf::readDxfFile(file);
    EXPECT_TRUE(read) << read.error;
    std::vector<std::string> lines;
    if (!read) return lines;
    const host::db::Database& db = *read.database;
    const auto* ms = dynamic_cast<const host::db::BlockTableRecord*>(db.peek(db.modelSpaceId()));
    for (host::db::ObjectId id : ms->entityIds()) {
        const auto* line = dynamic_cast<const host::db::Line*>(db.peek(id));
        if (!line) continue;
        auto text = [](const host::ge::Point3d& p) {
            return std::to_string(int(p.x)) + "," + std::to_string(int(p.y));
        };
        lines.push_back(text(line->start()) + " " + text(line->end()));
    }
    return lines;
}

fs::path writeScript(const ScratchFolder& folder, const std::string& text) {
    const fs::path file = folder / "run.scr";
    writeBytes(file, text);
    return file;
}

TEST(ModuleSession, AScriptDrivesTheModulesCommandsFromLoadToSave) {
    ScratchFolder folder;
    const fs::path saved = folder / "out.dxf";
    const fs::path script = writeScript(folder,
                                        ";; a line from two typed points\n"
                                        "TESTLINE\n0,0\n100,50\n"
                                        ";; a keyword, then the offered one by Enter\n"
                                        "TESTKWORD\nsquare\nTESTKWORD\n\n"
                                        ";; a line whose end the pause token takes from the script\n"
                                        "TESTPAUSE\n30,40\n"
                                        ";; a transparent command at a prompt\n"
                                        "TESTLINE\n'TESTDOCS\n5,5\n@10,0\n");
    const RunResult r = cadhost({"--load", "testmodule", "--script", script.string(), "--save", saved.string()},
                                folder);
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(linesIn(saved), (std::vector<std::string>{"0,0 100,50", "0,0 30,40", "5,5 15,5"}));

    // The transcript shows prompts, answers and the module's output as a user would have seen them.
    EXPECT_NE(r.out.find("Command: TESTLINE\nFirst point: 0,0\nNext point: 100,50\n"
                         "Line from 0.0000,0.0000 to 100.0000,50.0000\n"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("Shape [Circle/Square] <Circle>: square\nShape: Square\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Shape [Circle/Square] <Circle>: \nShape: Circle\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Next point: 30,40\nLine from 0.0000,0.0000 to 30.0000,40.0000\nTESTLINE answered 5100"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("First point: 'TESTDOCS\nMessages: 1; 3 Drawing1.dxf\nResuming TESTLINE command.\n"
                         "First point: 5,5"),
              std::string::npos)
        << r.out;
    // At the end: saved (the module heard of it first), then the module hears that the host quits and is
    // unloaded, told of the drawing first.
    const std::size_t savedAt = r.out.find("saved " + saved.string() + "\n");
    const std::size_t quitAt = r.out.find("[testmodule] the host quits\n[testmodule] unloading out.dxf\n"
                                          "[testmodule] unloaded\n");
    ASSERT_NE(savedAt, std::string::npos) << r.out;
    ASSERT_NE(quitAt, std::string::npos) << r.out;
    EXPECT_LT(savedAt, quitAt);
}

TEST(ModuleSession, TheModuleIsToldOfEveryDrawingWithItCurrent) {
    ScratchFolder folder;
    const fs::path copy = folder / "copy of plate.dxf";
    fs::copy_file(kSample, folder / "second.dxf");
    const fs::path script = writeScript(folder,
                                        "NEW\nTESTLINE\n0,0\n1,1\n"
                                        "SAVEAS\n" + copy.string() + "\n"
                                        "CLOSE\n"
                                        "TESTDOCS\n");
    const RunResult r = cadhost({kSample.string(), (folder / "second.dxf").string(), "--load", "testmodule",
                                 "--script", script.string()},
                                folder);
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    EXPECT_NE(r.out.find("Messages: 1; 3 plate.dxf; 3 second.dxf; 3 Drawing1.dxf; 9 Drawing1.dxf; "
                         "4 copy of plate.dxf"),
              std::string::npos)
        << r.out;
    EXPECT_EQ(linesIn(copy), (std::vector<std::string>{"0,0 1,1"}));
    EXPECT_NE(r.out.find("[testmodule] unloading plate.dxf\n[testmodule] unloading second.dxf\n"), std::string::npos)
        << r.out;
}

TEST(ModuleSession, ModulesRunCommandsByName) {
    ScratchFolder folder;
    const fs::path copy = folder / "by name.dxf";
    const fs::path script = writeScript(folder,
                                        "TESTLINE\n0,0\n2,2\n"
                                        "TESTRUN\n_.SAVEAS|" + copy.string() + "\n"
                                        "TESTRUN\nLoadNestOptions\n"
                                        "TESTRUN\n_.TESTLINE|1,1\n");
    const RunResult r = cadhost({"--load", "testmodule", "--script", script.string()}, folder);
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    EXPECT_EQ(linesIn(copy), (std::vector<std::string>{"0,0 2,2"}));
    EXPECT_NE(r.out.find("Saved " + copy.string() + "\ncommand() answered 5100"), std::string::npos) << r.out;
    // A module's command that is not loaded: the host's message, an error status, nothing else.
    EXPECT_NE(r.out.find("Unknown command \"LOADNESTOPTIONS\".  Press F1 for help.\ncommand() answered -5001"),
              std::string::npos)
        << r.out;
    // Too few answers: the command is cancelled at the prompt the list could not answer.
    EXPECT_NE(r.out.find("command() answered -5002"), std::string::npos) << r.out;
}

TEST(ModuleSession, HostCommandsAndUndoInTheLoop) {
    ScratchFolder folder;
    const fs::path saved = folder / "out.dxf";
    const fs::path script = writeScript(folder,
                                        "TESTLINE\n0,0\n10,0\n"
                                        "TESTLINE\n0,5\n10,5\n"
                                        ";; the user erases the last line, then takes that back\n"
                                        "ERASE\nL\n\n"
                                        "UNDO\n1\n"
                                        ";; a module's command draws, erases by name and undoes its own work so far\n"
                                        "TESTRUN\nTESTLINE|0,9|10,9|_.ERASE|_L||_.UNDO|1\n"
                                        ";; and one whose erase stays\n"
                                        "TESTRUN\n_.ERASE|_L|\n");
    const RunResult r = cadhost({"--load", "testmodule", "--script", script.string(), "--save", saved.string()},
                                folder);
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    EXPECT_EQ(linesIn(saved), (std::vector<std::string>{"0,0 10,0"}));
    EXPECT_EQ(count(r.out, "command() answered 5100"), 2u) << r.out;
}

TEST(ModuleSession, AFailingCommandIsTakenBackAndTheScriptGoesOn) {
    ScratchFolder folder;
    const fs::path saved = folder / "out.dxf";
    const fs::path script = writeScript(folder, "TESTLINE\n0,0\n3,3\nTESTTHROW\nTESTLINE\n0,0\n4,4\n");
    const RunResult r = cadhost({"--load", "testmodule", "--script", script.string(), "--save", saved.string()},
                                folder);
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    EXPECT_NE(r.out.find("The command TESTTHROW failed: the test module's deliberate failure. Its changes were "
                         "undone."),
              std::string::npos)
        << r.out;
    EXPECT_EQ(linesIn(saved), (std::vector<std::string>{"0,0 3,3", "0,0 4,4"}));
}

TEST(ModuleSession, AScriptThatStopsEarlySavesNothingAndSaysWhere) {
    struct Case {
        const char* what;
        std::string script;
        std::string message;
    };
    const Case cases[] = {
        {"the script ends at a prompt", "TESTLINE\n0,0\n1,1\nTESTLINE\n5,5\n",
         "cadhost: SCRIPT, line 5: the input ended while TESTLINE (started at SCRIPT, line 4) waited for an answer "
         "to \"Next point:\"\n"},
        {"an unknown command", "TESTLINE\n0,0\n1,1\nTESTLIME\n0,0\n",
         "cadhost: SCRIPT, line 4: unknown command \"TESTLIME\"; the script stops here\n"},
    };
    for (const Case& c : cases) {
        ScratchFolder folder;
        const fs::path saved = folder / "out.dxf";
        writeBytes(saved, "the drawing saved before");
        const fs::path script = writeScript(folder, c.script);
        const RunResult r = cadhost(
            {"--load", "testmodule", "--script", script.string(), "--save", saved.string(), "--svg",
             (folder / "out.svg").string()},
            folder);
        EXPECT_EQ(r.status, 1) << c.what;
        std::string message = c.message;
        for (std::size_t at; (at = message.find("SCRIPT")) != std::string::npos;)
            message.replace(at, 6, script.string());
        EXPECT_EQ(r.err, message + "cadhost: " + saved.string() +
                             " was not saved: the script did not run to its end\n")
            << c.what;
        EXPECT_EQ(readBytes(saved), "the drawing saved before") << c.what;
        EXPECT_FALSE(fs::exists(folder / "out.svg")) << c.what;
        EXPECT_NE(r.out.find("[testmodule] unloaded"), std::string::npos) << c.what << ": the module still unloads";
    }
}

TEST(ModuleSession, TheCommandLineReadsStandardInput) {
    ScratchFolder folder;
    const fs::path saved = folder / "out.dxf";
    const RunResult r = cadhost({"--load", "testmodule", "--save", saved.string()}, folder,
                                "TESTLINE\n0,0\n7,7\nFROB\n\nQUIT\nTESTLINE\n");
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    EXPECT_EQ(r.err, "");
    // Enter repeats TESTLINE; "QUIT" and "TESTLINE" are no points, so the point is asked for again, and the end
    // of the input cancels the command and ends the session.
    EXPECT_EQ(linesIn(saved), (std::vector<std::string>{"0,0 7,7"}));
    EXPECT_NE(r.out.find("Command: TESTLINE\nFirst point: 0,0\nNext point: 7,7\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Command: FROB\nUnknown command \"FROB\".  Press F1 for help.\nCommand: "),
              std::string::npos)
        << r.out;
}

TEST(ModuleSession, QuitEndsTheCommandLine) {
    ScratchFolder folder;
    const fs::path saved = folder / "out.dxf";
    const RunResult r = cadhost({"--load", "testmodule", "--save", saved.string()}, folder,
                                "TESTLINE\n0,0\n7,7\nQUIT\nTESTLINE\n1,1\n2,2\n");
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    EXPECT_EQ(linesIn(saved), (std::vector<std::string>{"0,0 7,7"})) << "nothing after QUIT ran";
}

TEST(ModuleSession, ModulesAreFoundByTheFolderOptionOrTheVariable) {
    ScratchFolder folder;
    fs::create_directory(folder / "modules");
    fs::copy_file(TEST_MODULE, folder / "modules" / "mytest.so");
    const fs::path script = writeScript(folder, "TESTDOCS\n");
    const RunResult byOption = cadhost(
        {"--module-folder", (folder / "modules").string(), "--load", "mytest", "--script", script.string()}, folder);
    EXPECT_EQ(byOption.status, 0) << byOption.err;
    EXPECT_NE(byOption.out.find("Messages: 1; 3 Drawing1.dxf"), std::string::npos) << byOption.out;

    const RunResult byVariable = runCommand("KESTRION_MODULES=" + quoted((folder / "modules").string()) + " " +
                                                quoted(CADHOST_EXE) + " --load mytest --script " +
                                                quoted(script.string()),
                                            folder);
    EXPECT_EQ(byVariable.status, 0) << byVariable.err;
    EXPECT_NE(byVariable.out.find("Messages: 1; 3 Drawing1.dxf"), std::string::npos) << byVariable.out;

    const RunResult notThere = cadhost({"--module-folder", (folder / "modules").string(), "--load", "testmodule"},
                                       folder);
    EXPECT_EQ(notThere.status, 1);
    EXPECT_NE(notThere.err.find((folder / "modules" / "testmodule.so").string() + " does not exist"),
              std::string::npos)
        << notThere.err;
}

}  // namespace module_session_test
