// Data exchange: fields loaded into controls without notifications and without touching a control that already
// shows the value; controls read back; values refused with a message box and the focus on their control.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/sys/number_text.h"
#include "host/ui/data_exchange.h"
#include "host/ui/dialog.h"
#include "host/ui/message_box.h"
#include "host/ui/message_log.h"
#include "host/ui/tests/dialog_test_support.h"

namespace host::ui {
namespace {

using testing::DialogTest;
using testing::IdleSteps;

constexpr int kName = 1001;
constexpr int kQuantity = 1002;
constexpr int kGap = 1003;
constexpr int kMirror = 1004;
constexpr int kMillimetres = 1005;
constexpr int kInches = 1006;

struct Fields {
    std::string name = "Plate";
    int quantity = 5;
    double gap = 0.5;
    bool mirror = false;
    int units = 0;
};

DialogTemplate fieldsTemplate() {
    DialogTemplate t("Cutting", 200, 120);
    t.label("&Name:", {7, 9, 40, 8})
        .edit(kName, {50, 7, 100, 12})
        .label("&Quantity:", {7, 25, 40, 8})
        .edit(kQuantity, {50, 23, 100, 12})
        .label("&Gap:", {7, 41, 40, 8})
        .edit(kGap, {50, 39, 100, 12})
        .checkBox(kMirror, "&Mirror", {50, 55, 80, 10})
        .radio(kMillimetres, "Milli&metres", {50, 68, 60, 10}, true)
        .radio(kInches, "&Inches", {115, 68, 60, 10}, false)
        .defaultButton(IDOK, "OK", {90, 99, 50, 14})
        .button(IDCANCEL, "Cancel", {143, 99, 50, 14});
    return t;
}

class FieldsDialog : public Dialog {
public:
    explicit FieldsDialog(DialogTemplate t = fieldsTemplate()) : Dialog(std::move(t)) {}
    Fields fields;
    std::vector<int> notifications;  // changes the controls told the dialog of (EN_UPDATE, EN_CHANGE, BN_CLICKED)
    int decimals = DataExchange::kShortest;

protected:
    void doDataExchange(DataExchange& dx) override {
        dx.text(kName, fields.name);
        dx.maxChars(fields.name, 8);
        dx.integer(kQuantity, fields.quantity);
        dx.range(fields.quantity, 1, 999);
        dx.real(kGap, fields.gap, decimals);
        dx.range(fields.gap, 0.0, 50.0);
        dx.check(kMirror, fields.mirror);
        dx.radio(kMillimetres, fields.units);
    }
    bool onCommand(int, int code, Window* control) override {
        if (control && (code == EN_UPDATE || code == EN_CHANGE || code == BN_CLICKED)) notifications.push_back(code);
        return true;
    }
};

// A dialog shown modelessly, so a test can exchange data at will.
struct ExchangeTest : DialogTest {
    FieldsDialog dialog;
    void SetUp() override {
        dialog.dialogTemplate().style |= WS_VISIBLE;
        ASSERT_TRUE(dialog.createModeless(nullptr));
    }
    std::string text(int id) { return dialog.itemText(id); }
    void type(int id, std::string_view value) {
        dialog.item(id)->setFocus();
        dialog.item(id)->send(EM_SETSEL, 0, -1);
        if (value.empty())
            robot.key(VK_DELETE);
        else
            robot.type(value);
    }
};

TEST_F(ExchangeTest, LoadingShowsTheFieldsAndRaisesNothing) {
    EXPECT_EQ(text(kName), "Plate");
    EXPECT_EQ(text(kQuantity), "5");
    EXPECT_EQ(text(kGap), "0.5");
    EXPECT_EQ(dialog.item(kMirror)->send(BM_GETCHECK), BST_UNCHECKED);
    EXPECT_EQ(dialog.item(kMillimetres)->send(BM_GETCHECK), BST_CHECKED);
    EXPECT_EQ(dialog.item(kInches)->send(BM_GETCHECK), BST_UNCHECKED);
    EXPECT_TRUE(dialog.notifications.empty());

    // Loading again changes only what differs: the unchanged edits get no WM_SETTEXT at all.
    dialog.fields.quantity = 7;
    dialog.fields.units = 1;
    MessageLog log(desktop, {WM_SETTEXT, BM_SETCHECK});
    EXPECT_TRUE(dialog.updateData(false));
    EXPECT_EQ(log.count(WM_SETTEXT, dialog.item(kName)), 0);
    EXPECT_EQ(log.count(WM_SETTEXT, dialog.item(kGap)), 0);
    EXPECT_EQ(log.count(WM_SETTEXT, dialog.item(kQuantity)), 1);
    EXPECT_EQ(text(kQuantity), "7");
    EXPECT_EQ(dialog.item(kInches)->send(BM_GETCHECK), BST_CHECKED);
    EXPECT_EQ(dialog.item(kMillimetres)->send(BM_GETCHECK), BST_UNCHECKED);
    EXPECT_TRUE(dialog.notifications.empty());
}

TEST_F(ExchangeTest, RealsAreWrittenInTheCLocaleShortestOrFixed) {
    struct Case {
        double value;
        int decimals;
        std::string shown;
    };
    const Case cases[] = {{0.1, DataExchange::kShortest, "0.1"}, {2.5, 3, "2.500"}, {0.0001, 4, "0.0001"},
                          {1e-7, DataExchange::kShortest, "1e-07"}, {12, DataExchange::kShortest, "12"}};
    for (const Case& c : cases) {
        dialog.fields.gap = c.value;
        dialog.decimals = c.decimals;
        ASSERT_TRUE(dialog.updateData(false));
        EXPECT_EQ(text(kGap), c.shown) << c.value;
        double back = -1;
        dialog.fields.gap = back;
        ASSERT_TRUE(dialog.updateData(true));
        EXPECT_DOUBLE_EQ(dialog.fields.gap, std::stod(c.shown));
    }
}

TEST_F(ExchangeTest, SavingReadsWhatTheUserTyped) {
    type(kName, "Flange");
    type(kQuantity, " 12 ");
    type(kGap, "1.25e1");
    robot.clickAt(*dialog.item(kMirror), {3, 3});
    robot.clickAt(*dialog.item(kInches), {3, 3});
    dialog.notifications.clear();
    ASSERT_TRUE(dialog.updateData(true));
    EXPECT_EQ(dialog.fields.name, "Flange");
    EXPECT_EQ(dialog.fields.quantity, 12);
    EXPECT_DOUBLE_EQ(dialog.fields.gap, 12.5);
    EXPECT_TRUE(dialog.fields.mirror);
    EXPECT_EQ(dialog.fields.units, 1);
    EXPECT_TRUE(messageBoxLog().empty());
}

TEST_F(ExchangeTest, ARefusedValueIsToldAndItsControlGetsTheFocus) {
    struct Case {
        int control;
        std::string typed;
        std::string message;
    };
    const Case cases[] = {
        {kName, "Very long name", "Enter no more than 8 characters."},
        {kName, "Лист-123", ""},  // eight characters, sixteen bytes: accepted
        {kQuantity, "abc", "Enter an integer."},
        {kQuantity, "12.5", "Enter an integer."},
        {kQuantity, "99999999999", "Enter an integer."},
        {kQuantity, "0", "Enter an integer between 1 and 999."},
        {kQuantity, "1000", "Enter an integer between 1 and 999."},
        {kQuantity, "999", ""},
        {kGap, "1,5", "Enter a number."},
        {kGap, "", "Enter a number."},
        {kGap, "50.0001", "Enter a number between 0 and 50."},
        {kGap, "-0", ""},
    };
    for (const Case& c : cases) {
        dialog.fields = Fields{};
        ASSERT_TRUE(dialog.updateData(false));
        clearMessageBoxLog();
        type(c.control, c.typed);
        robot.clickAt(*dialog.item(kMirror), {3, 3});  // the focus leaves the control; mirror is after it
        dialog.fields.mirror = false;
        const bool passed = dialog.updateData(true);
        EXPECT_EQ(passed, c.message.empty()) << c.typed;
        if (c.message.empty()) continue;
        ASSERT_EQ(messageBoxLog().size(), 1u) << c.typed;
        EXPECT_EQ(messageBoxLog()[0].text, c.message);
        EXPECT_EQ(messageBoxLog()[0].caption, "Cutting");
        EXPECT_EQ(messageBoxLog()[0].style, MB_OK | MB_ICONEXCLAMATION);
        // The focus is back on the control with its text selected; the fields after it were not read.
        EXPECT_EQ(desktop.focus(), dialog.item(c.control)) << c.typed;
        const std::intptr_t sel = dialog.item(c.control)->send(EM_GETSEL);
        EXPECT_EQ(loWord(sel), 0);
        EXPECT_EQ(hiWord(sel), static_cast<int>(dialog.item(c.control)->send(WM_GETTEXTLENGTH)));
        EXPECT_FALSE(dialog.fields.mirror) << c.typed;
    }
}

// Combo and list boxes by text and by index.
class ListsDialog : public Dialog {
public:
    static constexpr int kMaterial = 2001;  // drop-down list, sorted
    static constexpr int kThickness = 2002;  // drop-down: any text
    static constexpr int kUnit = 2003;
    static constexpr int kLayer = 2004;
    static constexpr int kRow = 2005;

    ListsDialog() : Dialog(makeTemplate()) {}
    std::string material = "Copper", thickness = "0.75", layer = "B";
    int unit = 1, row = 2;

protected:
    static DialogTemplate makeTemplate() {
        DialogTemplate t("Lists", 200, 120);
        t.style |= WS_VISIBLE;
        t.comboBox(kMaterial, {7, 7, 80, 60}, CBS_DROPDOWNLIST | CBS_SORT)
            .comboBox(kThickness, {7, 25, 80, 60}, CBS_DROPDOWN)
            .comboBox(kUnit, {7, 43, 80, 60})
            .listBox(kLayer, {100, 7, 80, 40})
            .listBox(kRow, {100, 55, 80, 40});
        return t;
    }
    bool onInitDialog() override {
        auto fill = [this](int id, unsigned add, std::initializer_list<const char*> items) {
            for (const char* i : items) item(id)->send(add, 0, lParamFromPointer(i));
        };
        fill(kMaterial, CB_ADDSTRING, {"Steel", "Aluminium", "Copper"});
        fill(kThickness, CB_ADDSTRING, {"0.5", "1", "2"});
        fill(kUnit, CB_ADDSTRING, {"mm", "inch"});
        fill(kLayer, LB_ADDSTRING, {"A", "B", "C"});
        fill(kRow, LB_ADDSTRING, {"first", "second", "third"});
        return Dialog::onInitDialog();
    }
    void doDataExchange(DataExchange& dx) override {
        dx.comboText(kMaterial, material);
        dx.comboText(kThickness, thickness);
        dx.comboIndex(kUnit, unit);
        dx.listText(kLayer, layer);
        dx.listIndex(kRow, row);
    }
};

TEST_F(DialogTest, CombosAndListsExchangeByTextAndByIndex) {
    ListsDialog dialog;
    ASSERT_TRUE(dialog.createModeless(nullptr));
    auto selected = [&](int id, unsigned getCurSel) { return dialog.item(id)->send(getCurSel); };
    EXPECT_EQ(selected(ListsDialog::kMaterial, CB_GETCURSEL), 1);  // Aluminium, Copper, Steel
    EXPECT_EQ(dialog.itemText(ListsDialog::kThickness), "0.75");   // not an item: the edit's text
    EXPECT_EQ(selected(ListsDialog::kThickness, CB_GETCURSEL), CB_ERR);
    EXPECT_EQ(dialog.itemText(ListsDialog::kUnit), "inch");
    EXPECT_EQ(selected(ListsDialog::kLayer, LB_GETCURSEL), 1);
    EXPECT_EQ(selected(ListsDialog::kRow, LB_GETCURSEL), 2);

    struct Case {
        std::string material, thickness, layer;
        int materialShown;  // index chosen, -1 for none
        std::string materialRead, thicknessRead, layerRead;
    };
    const Case cases[] = {
        {"steel", "1", "c", 2, "Steel", "1", "C"},   // the whole text, either case
        {"Copp", "3.5", "", -1, "", "3.5", ""},      // a beginning is not the text; an empty text chooses nothing
        {"Brass", "", "D", -1, "", "", ""},
    };
    for (const Case& c : cases) {
        dialog.material = c.material;
        dialog.thickness = c.thickness;
        dialog.layer = c.layer;
        ASSERT_TRUE(dialog.updateData(false));
        EXPECT_EQ(selected(ListsDialog::kMaterial, CB_GETCURSEL), c.materialShown) << c.material;
        ASSERT_TRUE(dialog.updateData(true));
        EXPECT_EQ(dialog.material, c.materialRead);
        EXPECT_EQ(dialog.thickness, c.thicknessRead);
        EXPECT_EQ(dialog.layer, c.layerRead);
    }
    dialog.item(ListsDialog::kUnit)->send(CB_SETCURSEL, 0);
    dialog.item(ListsDialog::kRow)->send(LB_SETCURSEL, static_cast<std::uintptr_t>(-1));
    ASSERT_TRUE(dialog.updateData(true));
    EXPECT_EQ(dialog.unit, 0);
    EXPECT_EQ(dialog.row, -1);
}

TEST_F(DialogTest, OKKeepsTheDialogOpenUntilTheFieldsPass) {
    FieldsDialog dialog;
    IdleSteps steps(desktop, {[&](Dialog& d) {
                                  d.item(kQuantity)->setFocus();
                                  d.item(kQuantity)->send(EM_SETSEL, 0, -1);
                                  robot.type("lots");
                                  robot.key(VK_RETURN);  // refused: a message box
                              },
                              [&](Dialog& box) {
                                  EXPECT_NE(dynamic_cast<MessageBoxDialog*>(&box), nullptr);
                                  robot.key(VK_RETURN);
                              },
                              [&](Dialog& d) {
                                  EXPECT_FALSE(d.hasEnded());
                                  EXPECT_EQ(desktop.focus(), d.item(kQuantity));
                                  robot.type("40");  // replaces the selected text
                                  robot.key(VK_RETURN);
                              }});
    EXPECT_EQ(dialog.doModal(), IDOK);
    EXPECT_EQ(dialog.fields.quantity, 40);
    ASSERT_EQ(messageBoxLog().size(), 1u);
    EXPECT_EQ(messageBoxLog()[0].text, "Enter an integer.");
}

TEST_F(DialogTest, ExchangingWithAControlTheDialogLacksIsRefusedByName) {
    class Broken : public Dialog {
    public:
        using Dialog::Dialog;
        int value = 0;

    protected:
        void doDataExchange(DataExchange& dx) override { dx.integer(4242, value); }
    };
    DialogTemplate t("Broken", 100, 50);
    t.style |= WS_VISIBLE;
    Broken dialog(t);
    ASSERT_TRUE(dialog.createModeless(nullptr));
    EXPECT_FALSE(dialog.updateData(true));
    ASSERT_FALSE(messageBoxLog().empty());
    EXPECT_NE(messageBoxLog().back().text.find("no control 4242"), std::string::npos);
}

// A check made when the focus leaves an edit, as the modules' pages make them: a message box, then the focus
// back to the edit with its text selected. Two such edits, both wrong, must not pass the focus (and the
// message) back and forth.
class CheckedEditsDialog : public Dialog {
public:
    static constexpr int kFirst = 3001;
    static constexpr int kSecond = 3002;
    CheckedEditsDialog() : Dialog(makeTemplate()) {}
    int boxes = 0;

protected:
    static DialogTemplate makeTemplate() {
        DialogTemplate t("Checks", 160, 60);
        t.label("&First:", {7, 9, 40, 8})
            .edit(kFirst, {50, 7, 60, 12})
            .label("&Second:", {7, 25, 40, 8})
            .edit(kSecond, {50, 23, 60, 12})
            .defaultButton(IDOK, "OK", {50, 41, 50, 14})
            .button(IDCANCEL, "Cancel", {103, 41, 50, 14});
        return t;
    }
    bool onCommand(int id, int code, Window* control) override {
        if (code != EN_KILLFOCUS || !control) return false;
        if (sys::parseReal(control->text()).ok()) return true;
        ++boxes;
        messageBox("Enter a number.", "", MB_OK | MB_ICONERROR, this);
        if (Window* edit = item(id)) {
            edit->setFocus();
            edit->send(EM_SETSEL, 0, -1);
            edit->send(EM_SCROLLCARET);
        }
        return true;
    }
};

TEST_F(DialogTest, AKillFocusCheckTakesTheFocusBackWithoutALoop) {
    CheckedEditsDialog dialog;
    IdleSteps steps(desktop, {[&](Dialog& d) {
                                  robot.type("x");  // the first edit has the focus
                                  robot.clickAt(*d.item(CheckedEditsDialog::kSecond), {3, 3});
                              },
                              [&](Dialog&) { robot.key(VK_RETURN); },  // the box
                              [&](Dialog& d) {
                                  EXPECT_EQ(desktop.focus(), d.item(CheckedEditsDialog::kFirst));
                                  EXPECT_EQ(d.item(CheckedEditsDialog::kFirst)->send(EM_GETSEL), makeLParam(0, 1));
                                  robot.key(VK_ESCAPE);
                              }});
    EXPECT_EQ(dialog.doModal(), IDCANCEL);
    EXPECT_EQ(dialog.boxes, 1);
    EXPECT_EQ(steps.left(), 0u);
}

}  // namespace
}  // namespace host::ui
