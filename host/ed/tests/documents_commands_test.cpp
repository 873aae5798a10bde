// The document commands run from a script: opening, saving under a name and to the drawing's own file, closing
// with and without saving the changes, the failures that leave everything as it was, and QUIT.
#include <gtest/gtest.h>

#include <filesystem>

#include "host/dxf/dxf_file.h"
#include "host/ed/document_commands.h"
#include "host/ed/tests/command_test_support.h"
#include "host/sys/tests/scratch_folder.h"

namespace host::ed::testing {
namespace {

namespace fs = std::filesystem;
using sys::testing::readBytes;
using sys::testing::ScratchFolder;
using sys::testing::writeBytes;

const fs::path kSample = fs::path(KESTRION_SOURCE_DIR) / "examples" / "plate.dxf";

class DocumentCommands : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        registerDocumentCommands();
    }
    void TearDown() override {
        commandStack().removeGroup(kDocumentCommandGroup);
        EditorTest::TearDown();
    }
    static std::size_t entitiesIn(const fs::path& file) {
        dxf::ReadResult read = dxf::readDxfFile(file);
        EXPECT_TRUE(read) << read.error;
        return read ? modelSpaceCount(*read.database) : 0;
    }
    ScratchFolder folder;
};

TEST_F(DocumentCommands, OpenDrawSaveAsAndClose) {
    const fs::path copy = folder / "my plate.dxf";
    script({"OPEN", kSample.string(), "DRAW", "0,0", "10,10", "SAVEAS", copy.string(), "CLOSE"});
    std::string reason;
    ASSERT_TRUE(runCommandLoop(&reason)) << reason;
    EXPECT_EQ(entitiesIn(copy), 10u) << "the sample's nine entities and the line drawn";
    EXPECT_EQ(documents().documents(), (std::vector<Document*>{doc})) << "the saved drawing closed without a question";
    EXPECT_EQ(documents().current(), doc);
    EXPECT_NE(said().find("\nOpened plate.dxf"), std::string::npos) << said();
    EXPECT_NE(said().find("\nSaved " + copy.string()), std::string::npos) << said();
    EXPECT_EQ(said().find("Save changes"), std::string::npos) << said();
}

TEST_F(DocumentCommands, QsaveAsksForANameOnlyTheFirstTime) {
    const fs::path file = folder / "new.dxf";
    script({"DRAW", "0,0", "1,1", "QSAVE", file.string(), "DRAW", "1,1", "2,2", "QSAVE"});
    std::string reason;
    ASSERT_TRUE(runCommandLoop(&reason)) << reason;
    EXPECT_EQ(entitiesIn(file), 2u);
    EXPECT_EQ(doc->title(), "new.dxf");
}

TEST_F(DocumentCommands, CloseAsksAboutChanges) {
    const fs::path file = folder / "kept.dxf";
    // No: the changes go; Esc: the drawing stays open; Enter (Yes) on a new drawing asks for its name.
    script({"NEW", "DRAW", "0,0", "1,1", "CLOSE", "No",
            "NEW", "DRAW", "0,0", "1,1", "CLOSE", "^C",
            "CLOSE", "", file.string()});
    std::string reason;
    ASSERT_TRUE(runCommandLoop(&reason)) << reason;
    EXPECT_EQ(documents().documents(), (std::vector<Document*>{doc}));
    EXPECT_EQ(entitiesIn(file), 1u);
    EXPECT_EQ(fs::directory_iterator(folder.path())->path(), file) << "nothing else was written";
}

TEST_F(DocumentCommands, FailuresSayWhyAndChangeNothing) {
    writeBytes(folder / "bad.dxf", "0\nSECTION\n2\nENTITIES\n0\nLINE\n10\n1,5\n");
    script({(folder / "missing.dxf").string()});
    EXPECT_EQ(runTypedCommand("OPEN"), db::RTERROR);
    EXPECT_NE(said().find("cannot open " + (folder / "missing.dxf").string() + ": no such file"), std::string::npos);
    script({(folder / "bad.dxf").string()});
    EXPECT_EQ(runTypedCommand("OPEN"), db::RTERROR);
    EXPECT_NE(said().find("cannot open drawing: " + (folder / "bad.dxf").string() + ", line"), std::string::npos);
    script({""});
    EXPECT_EQ(runTypedCommand("OPEN"), db::RTCAN) << "Enter at the file name gives up";
    EXPECT_EQ(documents().documents(), (std::vector<Document*>{doc}));

    const fs::path nowhere = folder / "no-folder" / "x.dxf";
    script({nowhere.string()});
    EXPECT_EQ(runTypedCommand("SAVEAS"), db::RTERROR);
    EXPECT_NE(said().find("cannot save " + nowhere.string()), std::string::npos) << said();
    EXPECT_TRUE(doc->fileName().empty());

    // A changed drawing that cannot be saved is not closed, and the script stops there: its next lines count on
    // the file.
    script({"DRAW", "0,0", "1,1", "CLOSE", "Yes", nowhere.string(), "DRAW", "0,0", "2,2"});
    std::string reason;
    EXPECT_FALSE(runCommandLoop(&reason));
    EXPECT_NE(reason.find("line 6: cannot save " + nowhere.string()), std::string::npos) << reason;
    EXPECT_EQ(documents().documents(), (std::vector<Document*>{doc}));
    EXPECT_EQ(lines(), 1u);
}

TEST_F(DocumentCommands, QuitEndsTheSession) {
    script({"QUIT", "DRAW", "0,0", "1,1"});
    EXPECT_TRUE(runCommandLoop());
    EXPECT_EQ(lines(), 0u);
}

}  // namespace
}  // namespace host::ed::testing
