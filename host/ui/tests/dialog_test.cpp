// Dialogs from templates: dialog units, the controls a template makes, members bound by class, the modal loop and
// its ends (Enter, Esc, the close box, nobody answering), the default button, keyboard navigation, nesting.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "host/ui/dialog.h"
#include "host/ui/dialog_keys.h"
#include "host/ui/message_box.h"
#include "host/ui/message_log.h"
#include "host/ui/tests/dialog_test_support.h"

namespace host::ui {
namespace {

using testing::DialogTest;
using testing::IdleSteps;

constexpr int kNameEdit = 1001;
constexpr int kMirrorCheck = 1002;
constexpr int kApplyButton = 1005;

// A small dialog: a label and its edit, a check box, OK and Cancel.
DialogTemplate smallTemplate() {
    DialogTemplate t("Part", 160, 80);
    t.label("&Name:", {7, 9, 40, 8})
        .edit(kNameEdit, {50, 7, 100, 12})
        .checkBox(kMirrorCheck, "&Mirror", {50, 25, 80, 10})
        .defaultButton(IDOK, "OK", {50, 59, 50, 14})
        .button(IDCANCEL, "Cancel", {103, 59, 50, 14});
    return t;
}

// A dialog that records its commands and lets a test hook its start.
class TestDialog : public Dialog {
public:
    using Dialog::Dialog;
    std::vector<std::pair<int, int>> commands;  // id, code
    // The ids of the buttons clicked, in order.
    std::vector<int> clicks() const {
        std::vector<int> out;
        for (const auto& [id, code] : commands)
            if (code == BN_CLICKED) out.push_back(id);
        return out;
    }
    std::function<bool(TestDialog&)> init;
    std::function<void(TestDialog&, int)> command;

protected:
    bool onInitDialog() override { return init ? init(*this) : Dialog::onInitDialog(); }
    bool onCommand(int id, int code, Window*) override {
        commands.emplace_back(id, code);
        if (command) command(*this, id);
        return true;
    }
};

TEST(DialogUnits, MapByTheFontsAverageWidthAndHeight) {
    struct Case {
        int fontHeight;
        Size base;
        TemplateRect in;
        Rect out;
    };
    const Case cases[] = {
        {12, {6, 12}, {10, 10, 50, 14}, {15, 15, 90, 36}},  // 1.5 pixels per unit each way
        {12, {6, 12}, {1, 1, 1, 1}, {2, 2, 4, 4}},          // 1.5 rounds half away from zero
        {12, {6, 12}, {-3, 0, 0, 0}, {-5, 0, -5, 0}},       // and so does -4.5
        {16, {8, 16}, {8, 8, 40, 16}, {16, 16, 96, 48}},    // 2 pixels per unit
    };
    for (const Case& c : cases) {
        LogFont font;
        font.height = -c.fontHeight;
        const Size base = dialogBaseUnits(font, TextMeasurer::Metric);
        EXPECT_EQ(base, c.base) << c.fontHeight;
        EXPECT_EQ(mapDialogRect(c.in, base), c.out) << c.fontHeight << " " << c.in.x;
    }
    DialogTemplate pixels("P", 100, 50, TemplateUnits::Pixels);
    EXPECT_EQ(templateRectToPixels(pixels, {3, 4, 5, 6}, {6, 12}), Rect::fromSize(3, 4, 5, 6));
}

TEST_F(DialogTest, MakesTheControlsOfItsTemplateAndEndsWithEnter) {
    Window owner;
    ASSERT_TRUE(owner.create(kPlainWindowClass, "Drawing", WS_POPUP | WS_VISIBLE, {0, 0, 800, 600}, nullptr));
    Window ownerChild;
    ASSERT_TRUE(ownerChild.create(kPlainWindowClass, "", WS_CHILD | WS_VISIBLE, {0, 0, 10, 10}, &owner, 7));
    ownerChild.setFocus();

    TestDialog dialog(smallTemplate(), &owner);
    std::vector<std::string> seen;
    IdleSteps steps(desktop, {[&](Dialog& d) {
                                  EXPECT_EQ(&d, &dialog);
                                  EXPECT_FALSE(owner.isEnabled());
                                  // Creation order is the tab order; every row is a visible child.
                                  for (Window* c : dialog.children())
                                      seen.push_back(c->className() + " " + std::to_string(c->id()) +
                                                     ((c->style() & (WS_CHILD | WS_VISIBLE)) == (WS_CHILD | WS_VISIBLE)
                                                          ? ""
                                                          : " not a visible child"));
                                  // The first tab stop has the focus; a dialog unit is 1.5 pixels.
                                  EXPECT_EQ(desktop.focus(), dialog.item(kNameEdit));
                                  EXPECT_EQ(dialog.item(kNameEdit)->rectInParent(), Rect::fromSize(75, 11, 150, 18));
                                  EXPECT_EQ(dialog.clientRect(), Rect::fromSize(0, 0, 240, 120));
                              },
                              [&](Dialog&) { robot.key(VK_RETURN); }});
    EXPECT_EQ(dialog.doModal(), IDOK);
    EXPECT_EQ(steps.taken(), 2);
    EXPECT_EQ(seen, (std::vector<std::string>{"Static -1", "Edit 1001", "Button 1002", "Button 1", "Button 2"}));
    EXPECT_FALSE(dialog.exists());
    EXPECT_FALSE(dialog.unanswered());
    EXPECT_TRUE(owner.isEnabled());
    EXPECT_EQ(desktop.focus(), &ownerChild);
    EXPECT_EQ(Dialog::activeModal(), nullptr);
}

TEST_F(DialogTest, EscTheCloseBoxAndCancelAllAnswerCancel) {
    const std::vector<std::function<void(Dialog&)>> ways = {
        [&](Dialog&) { robot.key(VK_ESCAPE); },
        [&](Dialog& d) { d.post(WM_CLOSE); },
        [&](Dialog& d) { d.send(WM_SYSCOMMAND, SC_CLOSE); },
        [&](Dialog& d) { robot.clickAt(*d.item(IDCANCEL), d.item(IDCANCEL)->clientRect().center()); },
    };
    for (std::size_t i = 0; i < ways.size(); ++i) {
        TestDialog dialog(smallTemplate());
        IdleSteps steps(desktop, {ways[i]});
        EXPECT_EQ(dialog.doModal(), IDCANCEL) << i;
        EXPECT_FALSE(dialog.unanswered()) << i;
    }
}

TEST_F(DialogTest, NobodyAnsweringCancelsAndSaysSo) {
    TestDialog dialog(smallTemplate());
    EXPECT_EQ(dialog.doModal(), IDCANCEL);
    EXPECT_TRUE(dialog.unanswered());
    EXPECT_FALSE(dialog.exists());
    // The same object can be shown again.
    IdleSteps steps(desktop, {[&](Dialog&) { robot.key(VK_RETURN); }});
    EXPECT_EQ(dialog.doModal(), IDOK);
    EXPECT_FALSE(dialog.unanswered());
}

TEST_F(DialogTest, EndDialogWhileStartingSkipsTheLoop) {
    TestDialog dialog(smallTemplate());
    dialog.init = [](TestDialog& d) {
        d.endDialog(42);
        return true;
    };
    EXPECT_EQ(dialog.doModal(), 42);
    EXPECT_FALSE(dialog.unanswered());
}

TEST_F(DialogTest, EnterPressesTheTemplatesDefaultButtonWhichCanMove) {
    DialogTemplate t("Apply", 160, 80);
    t.edit(kNameEdit, {7, 7, 100, 12})
        .button(IDOK, "OK", {7, 59, 50, 14})
        .defaultButton(kApplyButton, "Apply", {60, 59, 50, 14})
        .button(IDCANCEL, "Cancel", {113, 59, 50, 14});
    TestDialog dialog(t);
    dialog.command = [](TestDialog& d, int id) {
        if (id == kApplyButton) d.setDefaultId(IDOK);
    };
    IdleSteps steps(desktop, {[&](Dialog& d) {
                                  EXPECT_EQ(defaultButtonId(d), kApplyButton);
                                  robot.key(VK_RETURN);  // Apply, which makes OK the default
                              },
                              [&](Dialog& d) {
                                  EXPECT_EQ(d.item(IDOK)->style() & BS_TYPEMASK, BS_DEFPUSHBUTTON);
                                  EXPECT_EQ(d.item(kApplyButton)->style() & BS_TYPEMASK, BS_PUSHBUTTON);
                                  robot.key(VK_RETURN);
                              }});
    EXPECT_EQ(dialog.doModal(), IDOK);
    EXPECT_EQ(dialog.clicks(), std::vector<int>{kApplyButton});
}

TEST_F(DialogTest, KeysWalkTabStopsAndMnemonicsClick) {
    TestDialog dialog(smallTemplate());
    IdleSteps steps(desktop, {[&](Dialog& d) {
                                  robot.key(VK_TAB);
                                  EXPECT_EQ(desktop.focus(), d.item(kMirrorCheck));
                                  robot.key(VK_TAB, Shift);
                                  EXPECT_EQ(desktop.focus(), d.item(kNameEdit));
                                  robot.key('M', Alt);  // "&Mirror"
                                  EXPECT_EQ(d.item(kMirrorCheck)->send(BM_GETCHECK), BST_CHECKED);
                                  robot.key('N', Alt);  // the label "&Name:" passes the focus to its edit
                                  EXPECT_EQ(desktop.focus(), d.item(kNameEdit));
                              },
                              [&](Dialog&) { robot.key(VK_ESCAPE); }});
    EXPECT_EQ(dialog.doModal(), IDCANCEL);
    EXPECT_EQ(steps.taken(), 2);
    EXPECT_EQ(dialog.clicks(), std::vector<int>{kMirrorCheck});
}

TEST_F(DialogTest, ArrowsMoveThroughARadioGroupAndChooseAsTheyGo) {
    DialogTemplate t("Units", 160, 80);
    t.radio(1101, "&mm", {7, 7, 60, 10}, true)
        .radio(1102, "&cm", {7, 19, 60, 10}, false)
        .radio(1103, "&inch", {7, 31, 60, 10}, false)
        .checkBox(1104, "&Round", {80, 7, 60, 10}, WS_GROUP)
        .defaultButton(IDOK, "OK", {50, 59, 50, 14});
    TestDialog dialog(t);
    auto checked = [&](Dialog& d) {
        std::string s;
        for (int id : {1101, 1102, 1103}) s += d.item(id)->send(BM_GETCHECK) == BST_CHECKED ? "x" : "-";
        return s;
    };
    IdleSteps steps(desktop, {[&](Dialog& d) {
                                  EXPECT_EQ(desktop.focus(), d.item(1101));
                                  robot.key(VK_DOWN);
                                  EXPECT_EQ(desktop.focus(), d.item(1102));
                                  EXPECT_EQ(checked(d), "-x-");
                                  robot.key(VK_DOWN);
                                  robot.key(VK_DOWN);  // wraps within the group
                                  EXPECT_EQ(desktop.focus(), d.item(1101));
                                  EXPECT_EQ(checked(d), "x--");
                                  robot.key(VK_UP);
                                  EXPECT_EQ(checked(d), "--x");
                                  robot.key(VK_TAB);  // out of the group
                                  EXPECT_EQ(desktop.focus(), d.item(1104));
                                  robot.key(VK_TAB, Shift);  // back in, at its checked button
                                  EXPECT_EQ(desktop.focus(), d.item(1103));
                                  robot.key(VK_RETURN);
                              }});
    EXPECT_EQ(dialog.doModal(), IDOK);
}

// A control object that reports how it came to have its window.
class Recorder : public Window {
public:
    std::vector<std::string> events;
    std::intptr_t windowProc(Message& m) override {
        if (m.id == WM_CREATE) events.push_back("create");
        if (m.id == WM_SIZE)
            events.push_back("size " + std::to_string(loWord(m.l)) + "x" + std::to_string(hiWord(m.l)));
        return Window::windowProc(m);
    }
    void preSubclassWindow() override { events.push_back("subclass"); }
};

TEST_F(DialogTest, CustomClassesAreMadeByTheMemberBoundToThem) {
    // "GridCtrl" has no factory: only a member can make it. "Panel" has one: the member takes over what it made.
    desktop.classes().registerClass({"GridCtrl", CS_DBLCLKS, IDC_ARROW, COLOR_BTNFACE, {}, ""});
    desktop.classes().registerClass({"Panel", 0, IDC_ARROW, -1, [] { return std::make_unique<Window>(); }, ""});
    DialogTemplate t("Job", 200, 100);
    t.control("GridCtrl", 1010, "", {7, 7, 100, 50}, WS_TABSTOP | WS_BORDER)
        .control("Panel", 1011, "", {110, 7, 40, 20}, 0)
        .defaultButton(IDOK, "OK", {7, 80, 50, 14});
    TestDialog dialog(t);
    Recorder grid, panel;
    ASSERT_TRUE(dialog.bindControl(1010, grid));
    ASSERT_TRUE(dialog.bindControl(1011, panel));
    IdleSteps steps(desktop, {[&](Dialog& d) {
                                  EXPECT_EQ(d.item(1010), &grid);
                                  EXPECT_EQ(d.item(1011), &panel);
                                  EXPECT_EQ(grid.className(), "GridCtrl");
                                  robot.key(VK_RETURN);
                              }});
    EXPECT_EQ(dialog.doModal(), IDOK);
    EXPECT_EQ(grid.events.front(), "create");
    EXPECT_EQ(panel.events, (std::vector<std::string>{"subclass", "size 60x30"}));
    EXPECT_FALSE(grid.exists());
}

TEST_F(DialogTest, ATemplateNamingAClassNobodyCanMakeIsRefused) {
    desktop.classes().registerClass({"GridCtrl", 0, IDC_ARROW, -1, {}, ""});
    struct Case {
        std::string className;
        std::string said;
    };
    const Case cases[] = {
        {"NoSuchClass", "\"NoSuchClass\", which is not registered"},
        {"GridCtrl", "can only be made by a member object"},
    };
    for (const Case& c : cases) {
        DialogTemplate t = smallTemplate();
        t.control(c.className, 1020, "", {7, 40, 50, 10}, 0);
        TestDialog dialog(t);
        EXPECT_EQ(dialog.doModal(), -1) << c.className;
        EXPECT_NE(dialog.creationError().find(c.said), std::string::npos) << dialog.creationError();
        EXPECT_NE(dialog.creationError().find("1020"), std::string::npos) << dialog.creationError();
        EXPECT_FALSE(dialog.exists());
        EXPECT_TRUE(desktop.topLevelWindows().empty());
    }
}

TEST_F(DialogTest, AMessageBoxFromAButtonIsOwnedByTheDialogAndGivesTheFocusBack) {
    TestDialog dialog(smallTemplate());
    int answer = 0;
    dialog.command = [&](TestDialog& d, int id) {
        if (id == kMirrorCheck) answer = messageBox("Mirror the part?", "Part", MB_YESNO | MB_ICONQUESTION, &d);
    };
    IdleSteps steps(desktop, {[&](Dialog& d) { robot.clickAt(*d.item(kMirrorCheck), {5, 5}); },
                              [&](Dialog& box) {
                                  EXPECT_NE(&box, &dialog);
                                  EXPECT_EQ(Dialog::modalDialogs().size(), 2u);
                                  EXPECT_FALSE(dialog.isEnabled());
                                  robot.clickAt(*box.item(IDYES), {5, 5});
                              },
                              [&](Dialog& d) {
                                  EXPECT_EQ(&d, &dialog);
                                  EXPECT_TRUE(dialog.isEnabled());
                                  EXPECT_EQ(desktop.focus(), d.item(kMirrorCheck));
                                  robot.key(VK_ESCAPE);
                              }});
    EXPECT_EQ(dialog.doModal(), IDCANCEL);
    EXPECT_EQ(answer, IDYES);
    ASSERT_EQ(messageBoxLog().size(), 1u);
    EXPECT_EQ(messageBoxLog()[0].owner, "Part");
}

TEST_F(DialogTest, AChildDialogLivesInsideItsParentWithoutALoop) {
    Window frame;
    ASSERT_TRUE(frame.create(kPlainWindowClass, "Frame", WS_POPUP | WS_VISIBLE, {0, 0, 400, 300}, nullptr));
    DialogTemplate t("Stock", 100, 40);
    t.style = WS_CHILD | WS_VISIBLE | DS_CONTROL;
    t.rect.x = 0;
    t.rect.y = 20;
    t.edit(kNameEdit, {7, 7, 60, 12});
    TestDialog page(t);
    ASSERT_TRUE(page.createModeless(&frame));
    EXPECT_EQ(page.parent(), &frame);
    EXPECT_TRUE(page.isVisible());
    EXPECT_EQ(page.rectInParent().topLeft(), (Point{0, 30}));
    EXPECT_NE(page.item(kNameEdit), nullptr);
    EXPECT_EQ(Dialog::activeModal(), nullptr);
}

}  // namespace
}  // namespace host::ui
