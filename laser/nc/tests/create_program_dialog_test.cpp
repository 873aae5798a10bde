// The program-creation dialog answered by script: fields taken over on OK and kept on Cancel, the feed check,
// the two pickers, the filter of NC files and the labels in both languages.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "host/ui/scripted_user.h"
#include "host/ui/tests/dialog_test_support.h"
#include "laser/nc/create_program_dialog.h"
#include "laser/settings/laser_settings.h"

namespace {

namespace fs = std::filesystem;
using host::ui::testing::ScriptSession;

fs::path TempDir() {
    const fs::path dir = fs::temp_directory_path() / ("kestrion_ncdlg_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    return dir;
}

NcProgramHeader FilledHeader() {
    NcProgramHeader h;
    h.programName = "PLATE";
    h.fileName = (TempDir() / "plate.nc").string();
    h.postprocessorFile = "FANUC.MXT";
    h.postprocessorFolder = "/opt/post/";
    h.feedCut = "3000.000";
    h.feedCutT2 = "2500.000";
    h.feedEngrave = "800.000";
    h.feedEngraveAndMark = "750.000";
    h.feedMark = "700.000";
    h.feedHeatTreatment = "400.000";
    h.ncExtension = "nc";
    return h;
}

class CreateProgramDialog : public ::testing::Test {
protected:
    CreateProgramDialog() {
        SetLanguageFlag(0);
        host::ui::clearMessageBoxLog();
    }
    ~CreateProgramDialog() override { SetLanguageFlag(0); }

    // Shows the dialog filled with FilledHeader() and answers it with `lines`.
    std::intptr_t Show(CDialogCreateProgram& dialog, std::vector<std::string> lines) {
        ScriptSession script(std::move(lines));
        dialog.header = FilledHeader();
        const std::intptr_t result = dialog.doModal();
        EXPECT_EQ(script.linesLeft(), 0u) << script.transcript();
        return result;
    }

    host::ui::ScriptedUser user;
    host::ui::UseDialogUser answering{&user};
};

TEST_F(CreateProgramDialog, OkTakesTheEditedFieldsOver) {
    CDialogCreateProgram dialog;
    ASSERT_EQ(Show(dialog, {"dlg set 249 PLATE-7", "dlg set 232 4500.5", "dlg set 317 90", "dlg ok"}), host::ui::IDOK);
    NcProgramHeader expected = FilledHeader();
    expected.programName = "PLATE-7";
    expected.feedCut = "4500.5";
    expected.feedEngrave = "90";
    EXPECT_EQ(dialog.header, expected);
    EXPECT_TRUE(host::ui::messageBoxLog().empty());
}

TEST_F(CreateProgramDialog, CancelLeavesTheFieldsAsTheyWere) {
    CDialogCreateProgram dialog;
    ASSERT_EQ(Show(dialog, {"dlg set 249 OTHER", "dlg set 255 /tmp/other.nc", "dlg cancel"}), host::ui::IDCANCEL);
    EXPECT_EQ(dialog.header, FilledHeader());
}

TEST_F(CreateProgramDialog, FeedWithAForeignCharacterIsRefusedAndKeepsItsText) {
    const struct {
        int language;
        const char* message;
    } cases[] = {
        {0, "Invalid symbol in the string - 12a"},
        {1, "Недопустимый символ в строке - 12a"},
    };
    for (const auto& c : cases) {
        SetLanguageFlag(c.language);
        host::ui::clearMessageBoxLog();
        CDialogCreateProgram dialog;
        // Refused whole: the feed keeps the text it had, not the "12" before the letter (the program was cut at
        // F12). A sign is no feed character either.
        ASSERT_EQ(Show(dialog, {"dlg set 232 12a", "msgbox ok", "dlg set 228 -", "msgbox ok", "dlg ok"}),
                  host::ui::IDOK);
        EXPECT_EQ(dialog.header, FilledHeader()) << c.language;
        const auto& boxes = host::ui::messageBoxLog();
        ASSERT_EQ(boxes.size(), 2u);
        EXPECT_EQ(boxes[0].text, c.message);
        EXPECT_EQ(boxes[0].caption, "");
        EXPECT_EQ(boxes[1].text.substr(boxes[1].text.size() - 4), " - -");
    }
}

// A feed made only of a number's characters is a feed only when the whole text is one number: OK refuses any other
// with the feed's name, the field gets back the value it opened with, and a second OK takes that.
TEST_F(CreateProgramDialog, FeedWhoseWholeTextIsNotOneNumberIsRefusedAndGetsItsValueBack) {
    const struct {
        const char* control;
        const char* typed;
        const char* label;
    } cases[] = {
        {"232", "42.0.0", "Cutting feed"},
        {"232", "", "Cutting feed"},
        {"228", ".", "Mark feed"},
        {"317", "2..", "Engrave feed"},
        {"320", "2.5.1", "Heat Treatment feed"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.control) + " \"" + c.typed + "\"");
        host::ui::clearMessageBoxLog();
        CDialogCreateProgram dialog;
        ASSERT_EQ(Show(dialog, {std::string("dlg set ") + c.control + " \"" + c.typed + "\"", "dlg ok", "msgbox ok",
                                "dlg ok"}),
                  host::ui::IDOK);
        EXPECT_EQ(dialog.header, FilledHeader());
        const auto& boxes = host::ui::messageBoxLog();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text.rfind(std::string(c.label), 0), 0u) << boxes[0].text;
        EXPECT_NE(boxes[0].text.find(std::string(": \"") + c.typed + "\" is not a number. The field keeps "),
                  std::string::npos)
            << boxes[0].text;
    }
}

TEST_F(CreateProgramDialog, PickingTheOutputFileKeepsATypedProgramName) {
    const fs::path chosen = TempDir() / "picked.nc";
    fs::remove(chosen);
    CDialogCreateProgram dialog;
    ASSERT_EQ(Show(dialog, {"dlg set 249 Typed", "dlg press 256", "file " + chosen.string(), "dlg press OK"}),
              host::ui::IDOK);
    EXPECT_EQ(dialog.header.programName, "Typed");
    EXPECT_EQ(dialog.header.fileName, chosen.string());
}

TEST_F(CreateProgramDialog, PickingAPostprocessorElsewhereTakesItsFolderAndLeavesTheFeeds) {
    const fs::path folder = TempDir() / "other posts";
    fs::create_directories(folder);
    std::ofstream(folder / "B.MXT") << "CFG POST\n";
    CDialogCreateProgram dialog;
    ASSERT_EQ(Show(dialog, {"dlg set 232 5000", "dlg press 304", "file " + (folder / "B.MXT").string(),
                            "dlg press OK"}),
              host::ui::IDOK);
    EXPECT_EQ(dialog.header.postprocessorFile, "B.MXT");
    EXPECT_EQ(dialog.header.postprocessorFolder, folder.string() + "/");
    EXPECT_EQ(dialog.header.feedCut, "5000");
    EXPECT_EQ(dialog.header.feedMark, "700.000");
}

TEST_F(CreateProgramDialog, NcFileFilterNamesTheExtension) {
    EXPECT_EQ(NcFileFilter("NC"), "*.NC|*.NC|*.dxf|*.dxf|All Files (*.*)|*.*||");
    // No extension: entries that match no file.
    EXPECT_EQ(NcFileFilter(""), "*.|*.|*.dxf|*.dxf|All Files (*.*)|*.*||");
    SetLanguageFlag(1);
    EXPECT_EQ(NcFileFilter("cnc"), "*.cnc|*.cnc|*.dxf|*.dxf|Все файлы (*.*)|*.*||");
}

TEST_F(CreateProgramDialog, TitleAndLabelsFollowTheLanguage) {
    const struct {
        int language;
        const char* title;
        const char* name;
        const char* heat;
        const char* cancel;
    } cases[] = {
        {0, "Create program", "Name program", "Heat Treatment feed", "Cancel"},
        {1, "Создание программы", "Имя программы", "Скорость термообработки", "Отмена"},
    };
    for (const auto& c : cases) {
        SetLanguageFlag(c.language);
        CDialogCreateProgram dialog;
        dialog.header = FilledHeader();
        ASSERT_TRUE(dialog.createModeless(nullptr)) << dialog.creationError();
        EXPECT_EQ(dialog.text(), c.title);
        EXPECT_EQ(dialog.itemText(324), c.name);
        EXPECT_EQ(dialog.itemText(329), c.heat);
        EXPECT_EQ(dialog.itemText(host::ui::IDCANCEL), c.cancel);
        EXPECT_EQ(dialog.itemText(kFeedCutEdit), "3000.000");
        EXPECT_EQ(dialog.itemText(kOutputFileEdit), FilledHeader().fileName);
        dialog.destroy();
    }
}

}  // namespace
