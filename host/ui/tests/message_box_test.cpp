// Message boxes: the buttons of each style and what Esc and silence answer, answers by click and key, the default
// button, the owner, the icon and the wrapped text, and the log of boxes shown.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/ui/message_box.h"
#include "host/ui/tests/dialog_test_support.h"
#include "host/ui/tests/ui_test_window.h"

namespace host::ui {
namespace {

using testing::DialogTest;
using testing::IdleSteps;

// The labels of the buttons a box shows, in order.
std::vector<std::string> buttonLabels(Dialog& box) {
    std::vector<std::string> out;
    for (Window* c : box.children())
        if (c->className() == kButtonClass) out.push_back(c->text());
    return out;
}

TEST_F(DialogTest, EachStyleHasItsButtonsAndItsAnswersToEscAndSilence) {
    struct Case {
        unsigned style;
        std::vector<std::string> buttons;
        int onEscape;  // 0: Esc does nothing
        int unanswered;
    };
    const std::vector<Case> cases = {
        {MB_OK, {"OK"}, IDOK, IDOK},
        {MB_OKCANCEL, {"OK", "Cancel"}, IDCANCEL, IDCANCEL},
        {MB_YESNOCANCEL, {"&Yes", "&No", "Cancel"}, IDCANCEL, IDCANCEL},
        {MB_YESNO, {"&Yes", "&No"}, 0, IDNO},
        {MB_RETRYCANCEL, {"&Retry", "Cancel"}, IDCANCEL, IDCANCEL},
        {MB_ABORTRETRYIGNORE, {"&Abort", "&Retry", "&Ignore"}, 0, IDABORT},
        {MB_CANCELTRYCONTINUE, {"Cancel", "&Try Again", "&Continue"}, IDCANCEL, IDCANCEL},
        {MB_YESNO | MB_HELP, {"&Yes", "&No", "Help"}, 0, IDNO},
    };
    for (const Case& c : cases) {
        // Nobody answers: the box takes its answer for silence.
        clearMessageBoxLog();
        std::vector<std::string> shown;
        {
            IdleSteps look(desktop, {[&](Dialog& box) { shown = buttonLabels(box); }});
            EXPECT_EQ(messageBox("Text", "Caption", c.style), c.unanswered) << c.style;
        }
        EXPECT_EQ(shown, c.buttons) << c.style;
        ASSERT_EQ(messageBoxLog().size(), 1u);
        EXPECT_TRUE(messageBoxLog()[0].unanswered);

        // Esc: answers, or does nothing and the box waits for a click on its last answer.
        clearMessageBoxLog();
        const int last = messageBoxAnswers(c.style).back();
        IdleSteps esc(desktop, {[&](Dialog&) { robot.key(VK_ESCAPE); },
                                [&](Dialog& box) { robot.clickAt(*box.item(last), {4, 4}); }});
        EXPECT_EQ(messageBox("Text", "Caption", c.style), c.onEscape ? c.onEscape : last) << c.style;
        EXPECT_EQ(esc.taken(), c.onEscape ? 1 : 2) << c.style;
        EXPECT_FALSE(messageBoxLog()[0].unanswered);
    }
}

TEST_F(DialogTest, TheDefaultButtonHasTheFocusAndEnterAnswersIt) {
    struct Case {
        unsigned style;
        int enter;
    };
    const Case cases[] = {{MB_YESNO, IDYES},
                          {MB_YESNO | MB_DEFBUTTON2, IDNO},
                          {MB_YESNOCANCEL | MB_DEFBUTTON3, IDCANCEL},
                          {MB_OK | MB_DEFBUTTON4, IDOK}};  // a default beyond the buttons is the first
    for (const Case& c : cases) {
        IdleSteps steps(desktop, {[&](Dialog& box) {
                                      EXPECT_EQ(desktop.focus(), box.item(c.enter)) << c.style;
                                      EXPECT_EQ(box.item(c.enter)->style() & BS_TYPEMASK, BS_DEFPUSHBUTTON);
                                      robot.key(VK_RETURN);
                                  }});
        EXPECT_EQ(messageBox("Go on?", "Question", c.style), c.enter) << c.style;
    }
}

TEST_F(DialogTest, TheLogKeepsEachBoxWithItsOwnerAndAnswer) {
    Window owner;
    ASSERT_TRUE(owner.create(kPlainWindowClass, "Nesting", WS_POPUP | WS_VISIBLE, {0, 0, 600, 400}, nullptr));
    IdleSteps steps(desktop, {[&](Dialog& box) {
                                  EXPECT_FALSE(owner.isEnabled());
                                  EXPECT_EQ(box.text(), applicationName());  // a box given no caption shows who asks
                                  robot.clickAt(*box.item(IDNO), {5, 5});
                              },
                              [&](Dialog&) { robot.key('R', Alt); }});
    EXPECT_EQ(messageBox("Replace the sheet?", "", MB_YESNO | MB_ICONERROR, &owner), IDNO);
    EXPECT_EQ(messageBox("Could not save.", "Save", MB_ABORTRETRYIGNORE), IDRETRY);
    EXPECT_TRUE(owner.isEnabled());
    const std::vector<MessageBoxRecord>& log = messageBoxLog();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].text, "Replace the sheet?");
    EXPECT_EQ(log[0].caption, "");
    EXPECT_EQ(log[0].style, MB_YESNO | MB_ICONERROR);
    EXPECT_EQ(log[0].answer, IDNO);
    EXPECT_EQ(log[0].owner, "Nesting");
    EXPECT_EQ(log[1].answer, IDRETRY);
    EXPECT_EQ(log[1].owner, "");
}

TEST_F(DialogTest, HelpTellsTheOwnerAndLeavesTheBoxOpen) {
    testing::LoggingWindow owner;
    ASSERT_TRUE(owner.create(kPlainWindowClass, "Owner", WS_POPUP | WS_VISIBLE, {0, 0, 600, 400}, nullptr));
    IdleSteps steps(desktop, {[&](Dialog& box) { robot.clickAt(*box.item(IDHELP), {5, 5}); },
                              [&](Dialog& box) {
                                  EXPECT_FALSE(box.hasEnded());
                                  robot.clickAt(*box.item(IDOK), {5, 5});
                              }});
    EXPECT_EQ(messageBox("See the manual.", "Help", MB_OK | MB_HELP, &owner), IDOK);
    EXPECT_EQ(owner.count(WM_HELP), 1);
}

TEST_F(DialogTest, LongTextWrapsAndTheIconIsDrawn) {
    const std::string words = "The part is larger than the sheet. It cannot be placed anywhere on it; choose a larger "
                              "sheet or turn the part.";
    IdleSteps steps(desktop, {[&](Dialog& box) {
                                  Window* label = box.item(kMessageBoxTextId);
                                  ASSERT_NE(label, nullptr);
                                  EXPECT_EQ(label->text(), words);
                                  EXPECT_LE(label->clientRect().width(), kMaxTextWidth);
                                  EXPECT_GT(label->clientRect().height(), 12);  // more than one line
                                  // The buttons sit below the text, centred.
                                  const Rect ok = box.item(IDOK)->rectInParent();
                                  EXPECT_GE(ok.top, label->rectInParent().bottom);
                                  const Rect client = box.clientRect();
                                  EXPECT_NEAR(ok.left + ok.width() / 2, client.width() / 2, 1);
                                  box.update();
                                  EXPECT_EQ(box.displayList().ofKind(DrawOp::Polygon).size(), 1u);  // the warning
                                  EXPECT_EQ(box.displayList().texts("!").size(), 1u);
                                  robot.key(VK_RETURN);
                              }});
    EXPECT_EQ(messageBox(words, "Nesting", MB_OK | MB_ICONWARNING), IDOK);
}

TEST(MessageBoxAnswers, NamesReadBackWhateverTheirCaseAndSpaces) {
    struct Case {
        std::string name;
        int id;
    };
    const Case cases[] = {{"OK", IDOK},       {"ok", IDOK},      {"Cancel", IDCANCEL}, {"YES", IDYES},
                          {"no", IDNO},       {"Retry", IDRETRY}, {"try again", IDTRYAGAIN},
                          {"TryAgain", IDTRYAGAIN}, {"Continue", IDCONTINUE}, {"maybe", 0}, {"", 0}};
    for (const Case& c : cases) EXPECT_EQ(answerFromName(c.name), c.id) << c.name;
    for (int id : {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO, IDTRYAGAIN, IDCONTINUE})
        EXPECT_EQ(answerFromName(answerName(id)), id);
}

}  // namespace
}  // namespace host::ui
