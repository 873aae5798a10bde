// The material dialogs driven as a user answers them from a script: choosing a file, cancelling, a file that is
// no material file, the must-exist check; saving under a new name, replacing or keeping an old file, and a save
// that fails.
#include "cadlib/material_dialogs.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cadlib/material_file.h"
#include "cadlib/messages.h"
#include "host/ed/input.h"
#include "host/ed/transcript.h"
#include "host/sys/tests/scratch_folder.h"
#include "host/ui/constants.h"
#include "host/ui/desktop.h"
#include "host/ui/message_box.h"

namespace {

using host::sys::testing::readBytes;
using host::sys::testing::ScratchFolder;
using host::sys::testing::writeBytes;

// A desktop, a folder of material files, and the user's answers as script lines.
class MaterialDialogs : public ::testing::Test {
protected:
    MaterialDialogs() {
        host::ui::clearMessageBoxLog();
        writeBytes(folder / "Alu.MAT", "MATERIAL ALU\r\nDENSITY=2.7e-06\r\nMATERIAL_NUM=AW-5754\r\n");
        writeBytes(folder / "bad.MAT", "material\r\nDENSITY=1\r\nMATERIAL_NUM=2\r\n");
        writeBytes(folder / "Steel.MAT", "MATERIAL\r\nDENSITY=7.85e-06\r\nMATERIAL_NUM=S235\r\n");
    }
    ~MaterialDialogs() override {
        host::ed::setInput(nullptr);
        SetLibraryLanguage(Language::English);
    }

    void answer(std::vector<std::string> lines) {
        host::ed::setInput(host::ed::ScriptInput::fromLines(std::move(lines), "answers.scr"));
        host::ed::transcript().clear();
    }
    std::string dir() const { return folder.path().string(); }

    ScratchFolder folder;
    host::ui::Desktop desktop;
};

TEST_F(MaterialDialogs, ChoosingAMaterialFile) {
    std::string dirIn = dir(), name = "Steel.MAT", density = "old", number = "old";
    answer({"file Alu.MAT"});
    EXPECT_EQ(ChooseMaterialFile(dirIn, name, density, number), 0);
    EXPECT_EQ(dirIn, dir() + "/");
    EXPECT_EQ(name, "Alu.MAT");
    EXPECT_EQ(density, "2.7e-06");
    EXPECT_EQ(number, "AW-5754");
}

TEST_F(MaterialDialogs, CancelAndRefusedFilesChangeNothing) {
    struct Case {
        const char* name;
        std::vector<std::string> lines;
        int answer;
    };
    const Case cases[] = {
        {"cancelled", {"file cancel"}, 0},
        // What is wrong with the file is told.
        {"no material file", {"file bad.MAT", "msgbox OK"}, -1},
        // The open dialog takes only a file that exists: it says so and stays open.
        {"a file that does not exist", {"file missing.MAT", "msgbox OK", "file cancel"}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string dirIn = dir(), name = "Steel.MAT", density = "old", number = "old";
        answer(c.lines);
        EXPECT_EQ(ChooseMaterialFile(dirIn, name, density, number), c.answer);
        EXPECT_EQ(dirIn, dir());
        EXPECT_EQ(name, "Steel.MAT");
        EXPECT_EQ(density, "old");
        EXPECT_EQ(number, "old");
    }
    ASSERT_EQ(host::ui::messageBoxLog().size(), 2u);
    EXPECT_EQ(host::ui::messageBoxLog()[0].text, "The material is not changed.\n\n" + (folder / "bad.MAT").string() +
                                                     ", line 1: this is no material file: its first line does not "
                                                     "hold \"MATERIAL\"");
    EXPECT_NE(host::ui::messageBoxLog()[1].text.find("File not found"), std::string::npos);
    EXPECT_EQ(readBytes(folder / "bad.MAT"), "material\r\nDENSITY=1\r\nMATERIAL_NUM=2\r\n");
}

TEST_F(MaterialDialogs, TheFilterFollowsTheLanguage) {
    std::string dirIn = dir(), name, density, number;
    SetLibraryLanguage(Language::Russian);
    answer({"dlg show", "file cancel"});
    EXPECT_EQ(ChooseMaterialFile(dirIn, name, density, number), 0);
    EXPECT_NE(host::ed::transcript().text().find("Все файлы (*.*)"), std::string::npos) << host::ed::transcript().text();
}

TEST_F(MaterialDialogs, SavingUnderANewName) {
    std::string chosen;
    // A name typed without its extension gets ".MAT"; a file that does not exist yet is fine.
    answer({"file Copper"});
    EXPECT_EQ(SaveMaterialFileAs(dir(), "Steel.MAT", "8.9e-06", "Cu-ETP", chosen), MaterialSaveResult::Saved);
    EXPECT_EQ(chosen, dir() + "/Copper.MAT");
    EXPECT_EQ(readBytes(folder / "Copper.MAT"), "MATERIAL\r\nDENSITY=8.9e-06\r\nMATERIAL_NUM=Cu-ETP\r\n");
    EXPECT_TRUE(host::ui::messageBoxLog().empty());
}

TEST_F(MaterialDialogs, ReplacingAnExistingFileIsAsked) {
    std::string chosen;
    answer({"file Steel.MAT", "msgbox No", "file cancel"});
    EXPECT_EQ(SaveMaterialFileAs(dir(), "Steel.MAT", "1", "2", chosen), MaterialSaveResult::Cancelled);
    EXPECT_EQ(readBytes(folder / "Steel.MAT"), "MATERIAL\r\nDENSITY=7.85e-06\r\nMATERIAL_NUM=S235\r\n");

    answer({"file Steel.MAT", "msgbox Yes"});
    EXPECT_EQ(SaveMaterialFileAs(dir(), "Steel.MAT", "7.9e-06", "S355", chosen), MaterialSaveResult::Saved);
    EXPECT_EQ(readBytes(folder / "Steel.MAT"), "MATERIAL\r\nDENSITY=7.9e-06\r\nMATERIAL_NUM=S355\r\n");
    ASSERT_EQ(host::ui::messageBoxLog().size(), 2u);
    EXPECT_NE(host::ui::messageBoxLog()[0].text.find("already exists"), std::string::npos);
}

TEST_F(MaterialDialogs, AFailedSaveIsReportedAndKeepsTheOldFile) {
    host::sys::testing::UnwritableFolder guard(folder.path());
    if (!guard.active()) GTEST_SKIP() << "cannot make a folder unwritable here";
    std::string chosen;
    SetLibraryLanguage(Language::Russian);
    answer({"file Steel.MAT", "msgbox Yes", "msgbox OK"});
    EXPECT_EQ(SaveMaterialFileAs(dir(), "Steel.MAT", "1", "2", chosen), MaterialSaveResult::Failed);
    EXPECT_EQ(chosen, dir() + "/Steel.MAT");
    EXPECT_EQ(readBytes(folder / "Steel.MAT"), "MATERIAL\r\nDENSITY=7.85e-06\r\nMATERIAL_NUM=S235\r\n");
    ASSERT_EQ(host::ui::messageBoxLog().size(), 2u);
    const host::ui::MessageBoxRecord& report = host::ui::messageBoxLog()[1];
    EXPECT_NE(report.text.find("Не удалось сохранить файл материала"), std::string::npos) << report.text;
    EXPECT_NE(report.text.find("Steel.MAT"), std::string::npos) << report.text;
    EXPECT_EQ(report.style & host::ui::MB_ICONERROR, host::ui::MB_ICONERROR);
    EXPECT_FALSE(report.unanswered);
}

}  // namespace
