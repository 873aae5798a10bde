// The driver as a script and a person at the terminal meet it: a value goes into a checked field whole (refused
// whole, never as its prefix; checked once however long), a value longer than the field allows is refused, an id
// that a page and its dialog share names the page's control, buttons of one text get names of their own, "ok" is
// the dialog's OK wherever the focus is, and a table shows its rows and columns and takes them by name.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "host/ed/answers.h"
#include "host/ed/input.h"
#include "host/ui/console_user.h"
#include "host/ui/dialog_driver.h"
#include "host/ui/message_box.h"
#include "host/ui/scripted_user.h"
#include "host/ui/window_class.h"
#include "host/ui/tests/dialog_test_support.h"

// Named, so that the helpers stay apart from those of the other tests built into one unit with them.
namespace host::ui::dialog_driver_test {

using testing::ScriptSession;

constexpr int kFeedEdit = 3001;
constexpr int kNameEdit = 3002;
constexpr int kLoadButton = 3003;
constexpr int kPathSelect = 3004;
constexpr int kPostSelect = 3005;
constexpr int kSharedId = 201;
constexpr int kTableId = 3010;

// A table of parts, as a module's grid answers the driver: row 0 holds the headings, column 0 the row numbers,
// column 1 is hidden. A value "<row> <column> [<text>]" by numbers clicks the cell (and types the text).
class PartsTable : public Window {
public:
    std::vector<std::vector<std::string>> cells{{"#", "Path", "File name", "Width"},
                                                {"1", "/a/bracket.dxf", "bracket", "100"},
                                                {"2", "/a/flange.dxf", "flange", "80"},
                                                {"3", "/a/plate.dxf", "plate", "60"}};
    int clickedRow = 0;

protected:
    std::intptr_t windowProc(Message& m) override {
        if (m.id == WM_DRIVER_GETTABLE) {
            auto* table = pointerFromParam<DriverTable>(m.l);
            table->cells = cells;
            table->hidden = {false, true, false, false};
            return 1;
        }
        if (m.id == WM_DRIVER_SETVALUE) {
            const std::string value = *pointerFromParam<const std::string>(m.l);
            int row = 0, column = 0, used = 0;
            if (std::sscanf(value.c_str(), "%d %d %n", &row, &column, &used) < 2) return 0;
            const bool typed = static_cast<std::size_t>(used) < value.size();
            if (typed && column == 2) return 0;  // the names are read-only
            clickedRow = row;
            if (typed) cells[std::size_t(row)][std::size_t(column)] = value.substr(std::size_t(used));
            return 1;
        }
        return Window::windowProc(m);
    }
};

// The page a dialog shows inside itself, reusing an id of the dialog's own controls.
class SharedIdPage : public Dialog {
public:
    SharedIdPage() : Dialog(makeTemplate()) {}

private:
    static DialogTemplate makeTemplate() {
        DialogTemplate t("", 200, 40);
        t.style = WS_CHILD | DS_CONTROL | DS_SETFONT;
        t.label("&Width:", {5, 7, 40, 8}).edit(kSharedId, {50, 5, 60, 12});
        return t;
    }
};

// A feed field checked on each change as the option pages check theirs (digits only: another character puts
// the text back and says so); a name with a limit; a Load button that takes the focus; two "Select..." buttons;
// a page inside the dialog; and a table.
class FieldsDialog : public Dialog {
public:
    FieldsDialog() : Dialog(makeTemplate()) { bindControl(kTableId, table); }
    std::string feed = "500", name, path, width;
    int checks = 0;
    int loads = 0;
    std::vector<int> selected;
    SharedIdPage page;
    PartsTable table;

protected:
    static DialogTemplate makeTemplate() {
        DialogTemplate t("Fields", 260, 200);
        t.label("&Feed:", {7, 9, 40, 8})
            .edit(kFeedEdit, {50, 7, 60, 12})
            .label("&Name:", {7, 25, 40, 8})
            .edit(kNameEdit, {50, 23, 60, 12})
            .label("&Path:", {7, 41, 40, 8})
            .edit(kSharedId, {50, 39, 120, 12})
            .button(kPathSelect, "Select...", {175, 39, 50, 12})
            .label("P&ostprocessor:", {7, 57, 40, 8})
            .edit(3006, {50, 55, 120, 12})
            .button(kPostSelect, "Select...", {175, 55, 50, 12})
            .button(kLoadButton, "&Load", {7, 75, 50, 14})
            .control("PartsTable", kTableId, "", {7, 120, 240, 50}, WS_TABSTOP)
            .defaultButton(IDOK, "OK", {150, 180, 50, 14})
            .button(IDCANCEL, "Cancel", {205, 180, 50, 14});
        return t;
    }
    bool onInitDialog() override {
        item(kNameEdit)->send(EM_LIMITTEXT, 10);
        reverting_ = true;
        setItemText(kFeedEdit, feed);
        reverting_ = false;
        page.createModeless(this);
        page.move({10, 95, 300, 30});
        page.show(SW_SHOW);
        return Dialog::onInitDialog();
    }
    bool onCommand(int id, int code, Window* control) override {
        if (id == kFeedEdit && code == EN_CHANGE && !reverting_) {
            ++checks;
            const std::string typed = itemText(kFeedEdit);
            if (typed.find_first_not_of("0123456789.") != std::string::npos) {
                reverting_ = true;
                setItemText(kFeedEdit, feed);
                reverting_ = false;
                messageBox("Invalid symbol in the string - " + typed, "", MB_OK, this);
            } else {
                feed = typed;
            }
            return true;
        }
        if (id == kLoadButton && code == BN_CLICKED) {
            ++loads;
            return true;
        }
        if ((id == kPathSelect || id == kPostSelect) && code == BN_CLICKED) {
            selected.push_back(id);
            return true;
        }
        if (id == IDOK && code == BN_CLICKED) remember();
        return Dialog::onCommand(id, code, control);
    }
    void onCancel() override {
        remember();
        Dialog::onCancel();
    }
    // What the fields hold as the dialog ends.
    void remember() {
        name = itemText(kNameEdit);
        path = itemText(kSharedId);
        width = page.itemText(kSharedId);
    }

private:
    bool reverting_ = false;
};

struct DriverTest : testing::DialogTest {
    DriverTest() {
        WindowClass table;
        table.name = "PartsTable";
        desktop.classes().registerClass(std::move(table));
    }
    ScriptedUser user;
    UseDialogUser answering{&user};
    static bool has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }
    // The end of a transcript, for a failure's message.
    static std::string tail(const std::string& text) { return text.size() > 1500 ? text.substr(text.size() - 1500) : text; }
};

// Before: the value was typed key by key, so "3OO" left "3" in the feed (and the program got F3), and each key
// ran the field's check over the whole text: 20,000 characters took 22 s.
TEST_F(DriverTest, AValueGoesIntoACheckedFieldWholeAndIsRefusedWhole) {
    {
        ScriptSession script({"dlg set Feed 3OO", "msgbox OK", "dlg ok"});
        FieldsDialog dialog;
        EXPECT_EQ(dialog.doModal(), IDOK) << tail(script.transcript());
        EXPECT_EQ(dialog.feed, "500");
        EXPECT_EQ(dialog.checks, 1);
        ASSERT_EQ(messageBoxLog().size(), 1u);
        EXPECT_EQ(messageBoxLog()[0].text, "Invalid symbol in the string - 3OO");
        EXPECT_FALSE(ed::scriptStopped());
    }
    {
        // A long value is put in once and checked once.
        const std::string digits(20000, '7');
        ScriptSession script({"dlg set Feed " + digits, "dlg ok"});
        FieldsDialog dialog;
        EXPECT_EQ(dialog.doModal(), IDOK) << tail(script.transcript());
        EXPECT_TRUE(dialog.feed == digits) << dialog.feed.size() << " characters";
        EXPECT_EQ(dialog.checks, 1);
    }
    {
        // Longer than the field allows (a field takes 30,000 characters unless it says otherwise; at 40,000 the
        // typing ran over and the dialog closed by itself): refused with a message, the field as it was, the
        // script stopped.
        const std::string tooLong(30001, '7');
        ScriptSession overflow({"dlg set Feed " + tooLong, "dlg ok"});
        FieldsDialog dialog;
        EXPECT_EQ(dialog.doModal(), IDCANCEL);
        EXPECT_EQ(dialog.feed, "500");
        EXPECT_TRUE(has(overflow.transcript(), "The edit \"Feed\" takes at most 30000 characters; the value has 30001."));
    }
    {
        ScriptSession script({"dlg set Name Kestrion", "dlg set Name 12345678901", "dlg ok"});
        FieldsDialog dialog;
        EXPECT_EQ(dialog.doModal(), IDCANCEL) << tail(script.transcript());
        EXPECT_EQ(dialog.name, "Kestrion");
        EXPECT_TRUE(has(script.transcript(), "The edit \"Name\" takes at most 10 characters; the value has 11. The "
                                             "field keeps its value. (answers.scr, line 2)"))
            << script.transcript();
    }
}

// Before: the dialog's own control of a shared id was found first, so a value meant for the page's Width went
// into the path; two "Select..." buttons could not be told apart; "ok" after a click on Load pressed Load again.
TEST_F(DriverTest, NamesSayWhatTheUserSeesAndOkIsTheDialogsOk) {
    ScriptSession script({"dlg set 201 100", "dlg show", "dlg press Select...", "dlg press \"Select... (Postprocessor)\"",
                          "dlg press Load", "dlg ok"});
    FieldsDialog dialog;
    // The stop at line 3 is what the script meets: the text alone names neither button.
    EXPECT_EQ(dialog.doModal(), IDCANCEL);
    EXPECT_EQ(dialog.width, "100") << tail(script.transcript());
    EXPECT_EQ(dialog.path, "");
    const std::string& t = script.transcript();
    EXPECT_TRUE(has(t, "[Select... (Path)] [Select... (Postprocessor)]")) << t;
    EXPECT_TRUE(has(t, "The dialog \"Fields\" has 2 buttons \"Select...\": name one as \"Select... (Path)\" or "
                       "\"Select... (Postprocessor)\". (answers.scr, line 3)"))
        << t;

    ScriptSession again({"dlg press \"Select... (Postprocessor)\"", "dlg press Load", "dlg ok"});
    FieldsDialog second;
    EXPECT_EQ(second.doModal(), IDOK);
    EXPECT_EQ(second.selected, std::vector<int>{kPostSelect});
    EXPECT_EQ(second.loads, 1);
}

// Before: a table showed as `#3010: ""` and took only numbers its heading did not show.
TEST_F(DriverTest, ATableShowsItsRowsAndColumnsAndTakesThemByName) {
    ScriptSession script({"dlg show", "dlg set 3010 flange", "dlg set 3010 3 Width 75", "dlg set 3010 2 \"Width\" 81",
                          "dlg ok"});
    FieldsDialog dialog;
    EXPECT_EQ(dialog.doModal(), IDOK) << tail(script.transcript());
    EXPECT_EQ(dialog.table.cells[3][3], "75");
    EXPECT_EQ(dialog.table.cells[2][3], "81");
    const std::string& t = script.transcript();
    EXPECT_TRUE(has(t, "#3010: table of 3 rows (set it with <row> <column> <text>, or <row> to pick a row)\n"
                       "       # | 2:File name | 3:Width\n"
                       "       1 | bracket     | 100\n"
                       "       2 | flange      | 80\n"
                       "       3 | plate       | 60\n"))
        << t;
    EXPECT_FALSE(has(t, "/a/flange.dxf")) << "the hidden column is not shown";

    const struct Case {
        const char* line;
        const char* told;
    } refusals[] = {
        {"dlg set 3010 bolt", "The table \"#3010\" has no row \"bolt\"; its rows are 1 to 3, or a name one of their "
                              "cells shows."},
        // The heading row and the row numbers are no cells to set.
        {"dlg set 3010 0 Width 5", "The table \"#3010\" has no row \"0\"; its rows are 1 to 3, or a name one of "
                                   "their cells shows."},
        {"dlg set 3010 0", "The table \"#3010\" has no row \"0\"; its rows are 1 to 3"},
        {"dlg set 3010 2 0 7", "The table \"#3010\" has no column \"0\"; its columns are 2 \"File name\", "
                               "3 \"Width\"."},
        {"dlg set 3010 1 Height 5", "The table \"#3010\" has no column \"Height\"; its columns are 2 \"File name\", "
                                    "3 \"Width\"."},
        {"dlg set 3010 1 \"File name\" x", "The cell of row 1, column \"File name\" of the table \"#3010\" cannot be "
                                           "set (it is read-only)."},
    };
    for (const Case& c : refusals) {
        ScriptSession bad({c.line, "dlg ok"});
        FieldsDialog refused;
        EXPECT_EQ(refused.doModal(), IDCANCEL);
        EXPECT_TRUE(has(bad.transcript(), c.told)) << bad.transcript();
    }
}

}  // namespace host::ui::dialog_driver_test
