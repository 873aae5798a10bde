// The users: the scripted user answering the sample dialog, the sample sheet, message boxes and file dialogs
// from script lines, with its complaints about lines that do not fit and the end of the script; the console
// user showing a dialog as text; and the samples rendered to PNG for a person to look at.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "host/ed/answers.h"
#include "host/ed/input.h"
#include "host/ui/colour_combo.h"
#include "host/ui/data_exchange.h"
#include "host/sys/tests/scratch_folder.h"
#include "host/ui/console_user.h"
#include "host/ui/file_dialog.h"
#include "host/ui/scripted_user.h"
#include "host/ui/tests/dialog_test_support.h"
#include "host/ui/tests/sample_dialogs.h"

namespace host::ui {
namespace {

namespace fs = std::filesystem;
using samples::CuttingOptionsDialog;
using samples::MachineSettings;
using samples::MachineSettingsSheet;
using testing::ScriptSession;

// A desktop whose dialogs the scripted user answers.
struct ScriptedTest : ::testing::Test {
    ScriptedTest() { clearMessageBoxLog(); }
    Desktop desktop;
    ScriptedUser user;
    UseDialogUser answering{&user};

    static bool has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }
};

TEST_F(ScriptedTest, AScriptFillsTheSampleDialogAndPressesOK) {
    ScriptSession script({
        "dlg set Name Flange 2",
        "dlg set quantity 12",
        "dlg set \"Gap (mm)\" 1.5",
        "dlg set Mirror on",
        "dlg set Inches 1",
        "dlg set Material Copper",
        "dlg press OK",
    });
    CuttingOptionsDialog dialog;
    EXPECT_EQ(dialog.doModal(), IDOK);
    EXPECT_EQ(dialog.options.name, "Flange 2");
    EXPECT_EQ(dialog.options.quantity, 12);
    EXPECT_DOUBLE_EQ(dialog.options.gap, 1.5);
    EXPECT_TRUE(dialog.options.mirror);
    EXPECT_EQ(dialog.options.units, 1);
    EXPECT_EQ(dialog.options.material, "Copper");
    EXPECT_EQ(script.linesLeft(), 0u);
    // Each line shows after the prompt that asked for it.
    EXPECT_TRUE(has(script.transcript(), "\nDialog \"Cutting Options\": dlg set Name Flange 2\n"))
        << script.transcript();
    EXPECT_TRUE(messageBoxLog().empty());
}

// A dialog with one control of each other kind, read back when OK is pressed.
class KindsDialog : public Dialog {
public:
    KindsDialog() : Dialog(makeTemplate()) {}
    int power = 0, finish = 0;
    std::string colour, layer, thickness, notes;

protected:
    static DialogTemplate makeTemplate() {
        DialogTemplate t("Kinds", 220, 160);
        t.label("&Power:", {7, 9, 40, 8})
            .slider(2001, {50, 7, 100, 14})
            .label("&Colour:", {7, 27, 40, 8})
            .control(kColourComboClass, 2002, "", {50, 25, 100, 80}, CBS_DROPDOWNLIST | WS_TABSTOP)
            .label("&Layer:", {7, 45, 40, 8})
            .listBox(2003, {50, 43, 60, 30})
            .label("&Thickness:", {7, 79, 40, 8})
            .comboBox(2004, {50, 77, 60, 60}, CBS_DROPDOWN)
            .label("&Notes:", {7, 95, 40, 8})
            .edit(2005, {50, 93, 100, 30}, ES_MULTILINE | ES_WANTRETURN)
            .control(kButtonClass, 2006, "&Finish", {155, 9, 60, 10}, BS_AUTO3STATE | WS_TABSTOP)
            .label("&Count:", {155, 27, 30, 8})
            .edit(2007, {155, 37, 40, 12})
            .control(kSpinClass, 2008, "", {195, 37, 10, 12}, UDS_AUTOBUDDY | UDS_SETBUDDYINT)
            .defaultButton(IDOK, "OK", {110, 139, 50, 14})
            .button(IDCANCEL, "Cancel", {163, 139, 50, 14});
        return t;
    }
    bool onInitDialog() override {
        item(2001)->send(TBM_SETRANGE, 1, makeLParam(0, 9));
        for (const char* l : {"A", "B", "C"}) item(2003)->send(LB_ADDSTRING, 0, lParamFromPointer(l));
        for (const char* t : {"0.5", "1"}) item(2004)->send(CB_ADDSTRING, 0, lParamFromPointer(t));
        return Dialog::onInitDialog();
    }
    void doDataExchange(DataExchange& dx) override {
        dx.slider(2001, power);
        dx.comboText(2002, colour);
        dx.listText(2003, layer);
        dx.comboText(2004, thickness);
        dx.text(2005, notes);
        dx.check(2006, finish);
    }
};

// A line that does not fit what shows is told with its place, and the script stops there: the rest is left
// unread, the dialog is cancelled as at the end of the input, and nothing the script meant to set is kept.
// Before, the next lines were read as more wrong answers and the dialog went on as if the script had fitted.
TEST_F(ScriptedTest, ALineThatDoesNotFitStopsTheScriptThere) {
    const struct Case {
        std::vector<std::string> lines;
        std::string told;
    } cases[] = {
        {{"dlg set Qty 5", "dlg set Quantity 3", "dlg ok"},
         "The dialog \"Cutting Options\" shows no control \"Qty\". (answers.scr, line 1)"},
        {{"dlg set Quantity 3", "msgbox OK", "dlg ok"},
         "\"msgbox OK\" answers a message box, but the dialog \"Cutting Options\" is waiting. (answers.scr, line 2)"},
        {{"dlg set Material Brass", "dlg ok"},
         "The combo box \"Material\" has no item \"Brass\"; it has \"Aluminium\", \"Copper\", \"Steel\". "
         "(answers.scr, line 1)"},
        {{"hello", "dlg ok"},
         "\"hello\" is not an answer to the dialog \"Cutting Options\": start it with dlg, msgbox, file or folder. "
         "(answers.scr, line 1)"},
        {{"dlg set Mirror perhaps", "dlg ok"},
         "\"perhaps\" is not a state of the check box \"Mirror\": use 1 or 0 (on or off). (answers.scr, line 1)"},
        {{"dlg press Name", "dlg ok"}, "\"Name\" is an edit, not a button. (answers.scr, line 1)"},
        // A box the script does not answer: its next line is not read as an answer to the box and then as a
        // command, it stops the script.
        {{"dlg set Quantity abc", "dlg ok", "msgbox Yes", "msgbox ok", "dlg set Quantity 3", "dlg ok"},
         "The message box \"Cutting Options\" has no button \"Yes\"; it has OK. (answers.scr, line 3)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lines.front());
        ScriptSession script(c.lines);
        CuttingOptionsDialog dialog;
        EXPECT_EQ(dialog.doModal(), IDCANCEL);
        EXPECT_EQ(dialog.options.quantity, 1);
        EXPECT_EQ(dialog.options.material, "Steel");
        EXPECT_FALSE(dialog.options.mirror);
        EXPECT_TRUE(ed::scriptStopped());
        EXPECT_EQ(script.linesLeft(), 0u);
        const std::string& t = script.transcript();
        EXPECT_TRUE(has(t, c.told)) << t;
        EXPECT_FALSE(has(t, "dlg ok\nDialog")) << t;
    }
    // The other dialogs likewise: a file dialog, and controls of other kinds.
    const struct KindCase {
        std::string line;
        std::string told;
    } kinds[] = {
        {"dlg set Power 12", "The slider \"Power\" goes from 0 to 9, not to 12. (answers.scr, line 1)"},
        {"dlg set Colour 300", "The colour combo box \"Colour\" has no colour \"300\"; it takes a colour's name or "
                               "\"Color 1\" to \"Color 255\". (answers.scr, line 1)"},
        {"dlg set 2008 5", "\"#2008\" is a spin: set the edit beside it instead. (answers.scr, line 1)"},
    };
    for (const KindCase& c : kinds) {
        SCOPED_TRACE(c.line);
        ScriptSession script({c.line, "dlg set Power 7", "dlg ok"});
        KindsDialog dialog;
        EXPECT_EQ(dialog.doModal(), IDCANCEL);
        EXPECT_EQ(dialog.power, 0);
        EXPECT_TRUE(has(script.transcript(), c.told)) << script.transcript();
    }
    {
        ScriptSession script({"dlg set Name x", "file cancel"});
        FileDialogOptions open;
        open.initialFolder = "/";
        EXPECT_EQ(chooseFile(open), std::nullopt);
        EXPECT_TRUE(has(script.transcript(), "The dialog \"Open\" shows no control \"Name\". (answers.scr, line 1)"))
            << script.transcript();
        EXPECT_TRUE(ed::scriptStopped());
    }
}

TEST_F(ScriptedTest, TheEndOfTheScriptCancelsWhatWaits) {
    {
        ScriptSession script({"dlg set Name Cut short"});
        CuttingOptionsDialog dialog;
        EXPECT_EQ(dialog.doModal(), IDCANCEL);
        EXPECT_FALSE(dialog.unanswered());  // Esc ended it
        EXPECT_EQ(dialog.options.name, "Plate");
    }
    {
        // Esc does nothing to a Yes/No box: nobody can answer it, so it takes No.
        ScriptSession script({});
        EXPECT_EQ(messageBox("Replace?", "Save", MB_YESNO), IDNO);
        EXPECT_TRUE(messageBoxLog().back().unanswered);
    }
    {
        ScriptSession script({"^C"});
        CuttingOptionsDialog dialog;
        EXPECT_EQ(dialog.doModal(), IDCANCEL);
        EXPECT_EQ(script.linesLeft(), 0u);
    }
}

TEST_F(ScriptedTest, AScriptWalksTheSampleSheetPastAPageThatRefuses) {
    MachineSettings settings;
    ScriptSession script({
        "dlg tab Cutting",
        "dlg set \"Speed (mm/min)\" 0",
        "dlg tab General",  // refused: the page tells why
        "msgbox OK",
        "dlg set \"Speed (mm/min)\" 2400",
        "dlg set Power Low",
        "dlg tab 1",
        "dlg set \"Machine name\" Plasma",
        "dlg show",
        "dlg press OK",
    });
    MachineSettingsSheet sheet(settings);
    EXPECT_EQ(sheet.doModal(), IDOK);
    EXPECT_DOUBLE_EQ(settings.speed, 2400);
    EXPECT_EQ(settings.power, "Low");
    EXPECT_EQ(settings.machine, "Plasma");
    const std::string& t = script.transcript();
    EXPECT_TRUE(has(t, "Message box \"Cutting\": The speed must be greater than 0. [OK]: msgbox OK")) << t;
    EXPECT_TRUE(has(t, "The tab \"General\" was not opened: the page shown refused to be left. (answers.scr, line 3)"))
        << t;
    EXPECT_TRUE(has(t, "Dialog \"Machine Settings\", page \"General\": dlg show")) << t;
    EXPECT_TRUE(has(t, "  Machine name: \"Plasma\"\n  [x] Use profiles\n")) << t;
    EXPECT_TRUE(has(t, "  Buttons: [OK] [Cancel] [Apply]")) << t;
}

TEST_F(ScriptedTest, FileDialogsTakeANameOrCancel) {
    sys::testing::ScratchFolder folder;
    sys::testing::writeBytes(folder / "part.dxf", "0\nEOF\n");
    FileDialogOptions open;
    open.filter = "Drawings (*.dxf)|*.dxf||";
    open.defaultExtension = "dxf";
    open.initialFolder = folder.path().string();
    open.flags = OFN_FILEMUSTEXIST;
    ScriptSession script({"file nothing", "msgbox OK", "file part", "file cancel", "folder " + folder.path().string()});
    EXPECT_EQ(chooseFile(open), (folder / "part.dxf").string());
    EXPECT_EQ(chooseFile(open), std::nullopt);
    EXPECT_EQ(chooseFolder("Output", "/"), folder.path().string());
    const std::string& t = script.transcript();
    EXPECT_TRUE(has(t, "File dialog \"Open\" in " + folder.path().string() + ": file nothing")) << t;
    EXPECT_TRUE(has(t, "Message box \"Open\": " + (folder / "nothing.dxf").string() +
                           " File not found. Check the file name and try again. [OK]: msgbox OK"))
        << t;
    EXPECT_EQ(script.linesLeft(), 0u);
}

TEST_F(ScriptedTest, TheConsoleUserShowsTheDialogAndTakesShortLines) {
    std::istringstream typed("set 2 7\nset Material Aluminium\nhelp\n\nMirror\nbogus thing\nok\n");
    ed::setInput(std::make_unique<ed::TerminalInput>(typed, false));
    ed::transcript().clear();
    ConsoleUser person;
    UseDialogUser atTheTerminal(&person);
    CuttingOptionsDialog dialog;
    EXPECT_EQ(dialog.doModal(), IDOK);
    ed::setInput(nullptr);
    EXPECT_EQ(dialog.options.quantity, 7);
    EXPECT_EQ(dialog.options.material, "Aluminium");
    const std::string& t = ed::transcript().text();
    EXPECT_TRUE(has(t, "Dialog \"Cutting Options\"\n  1. Name: \"Plate\"\n  2. Quantity: \"1\"\n  3. [ ] Mirror\n"
                       "  4. Gap (mm): \"2\"\n  5. (o) Millimetres\n  6. ( ) Inches\n"
                       "  7. Material: \"Steel\" of \"Aluminium\", \"Copper\", \"Steel\"\n  Buttons: [OK] [Cancel]"))
        << t;
    EXPECT_TRUE(has(t, "  2. Quantity: \"7\"")) << t;  // shown again after the change
    EXPECT_TRUE(has(t, "Type one of:")) << t;
    EXPECT_TRUE(has(t, "\"Mirror\" is not something to do to the dialog \"Cutting Options\"")) << t;
    EXPECT_FALSE(dialog.options.mirror);
}

TEST_F(ScriptedTest, TheConsoleUserAnswersMessageBoxesByTheirButtons) {
    std::istringstream typed("maybe\nno\n");
    ed::setInput(std::make_unique<ed::TerminalInput>(typed, false));
    ed::transcript().clear();
    ConsoleUser person;
    UseDialogUser atTheTerminal(&person);
    EXPECT_EQ(messageBox("Save the changes?", "Job", MB_YESNOCANCEL | MB_ICONQUESTION), IDNO);
    ed::setInput(nullptr);
    const std::string& t = ed::transcript().text();
    EXPECT_TRUE(has(t, "Message box \"Job\":\n  Save the changes?\n  Answers: [Yes] [No] [Cancel]")) << t;
    // A box wants one of its own buttons: the line is told which, and what Enter presses.
    EXPECT_TRUE(has(t, "\"maybe\" does not answer the message box \"Job\": answer Yes, No or Cancel (Enter: Yes).")) << t;
}

TEST_F(ScriptedTest, EveryKindOfControlTakesItsValueFromALine) {
    ScriptSession script({
        "dlg set Power 7",
        "dlg set Colour Blue",
        "dlg set Colour Color 30",
        "dlg set Layer B",
        "dlg set Thickness 0.8",     // not an item: typed into the edit
        "dlg set Notes first\\nsecond",
        "dlg set Finish 2",
        "dlg set Count 5",
        "dlg ok",
    });
    KindsDialog dialog;
    EXPECT_EQ(dialog.doModal(), IDOK);
    EXPECT_EQ(dialog.power, 7);
    EXPECT_EQ(dialog.colour, "Color 30");
    EXPECT_EQ(dialog.layer, "B");
    EXPECT_EQ(dialog.thickness, "0.8");
    EXPECT_EQ(dialog.notes, "first\r\nsecond");
    EXPECT_EQ(dialog.finish, BST_INDETERMINATE);
    EXPECT_FALSE(ed::scriptStopped());
}

// The samples as pictures, with the DejaVu font, for a person to look at (nothing is compared).
TEST_F(ScriptedTest, TheSamplesRenderToPictures) {
    const fs::path folder = fs::path(KESTRION_BINARY_DIR) / "ui-test-pictures";
    fs::create_directories(folder);
    desktop.setTextMeasurer(TextMeasurer::FreeType);
    desktop.setRasterEnabled(true);
    // Each dialog is photographed the first time its loop waits; the script then answers it.
    std::vector<std::string> written;
    const Dialog* last = nullptr;
    const int token = desktop.addIdleHandler([&] {
        Dialog* d = Dialog::activeModal();
        if (!d || d == last) return false;
        last = d;
        const std::string name = "sample-" + std::to_string(written.size() + 1) + ".png";
        std::string error;
        EXPECT_TRUE(desktop.saveSnapshot(d, folder / name, &error)) << error;
        written.push_back(name);
        return false;
    });
    ScriptSession script({"dlg set Name Flange", "dlg ok", "dlg tab Cutting", "dlg ok", "msgbox OK"});
    CuttingOptionsDialog dialog;
    EXPECT_EQ(dialog.doModal(), IDOK);
    MachineSettings settings;
    MachineSettingsSheet sheet(settings);
    EXPECT_EQ(sheet.doModal(), IDOK);
    messageBox("The part does not fit on the sheet.", "Nesting", MB_OK | MB_ICONERROR);
    desktop.removeIdleHandler(token);
    EXPECT_EQ(written, (std::vector<std::string>{"sample-1.png", "sample-2.png", "sample-3.png"}));
    for (const std::string& name : written) EXPECT_GT(fs::file_size(folder / name), 1000u) << name;
}

}  // namespace
}  // namespace host::ui
