// The edit control driven through the robot: typing and caret keys, selection, notifications, the clipboard,
// limits and modes, scrolling, the mouse, wrapping and what it paints.
#include "host/ui/edit.h"

#include <functional>

#include "host/ui/tests/control_fixture.h"

namespace host::ui {
namespace {

using testing::kCharWidth;
using testing::kLineHeight;

constexpr int kEditBoxId = 100;
// A single-line edit 120 x 21: its text starts 2 pixels in, at y = (21 - 12) / 2 = 4.
constexpr Rect kSingleRect{10, 10, 130, 31};
// A multi-line edit with room for 3 lines (1 + 3 x 12 = 37 pixels high) of 10 characters (2 + 60 + 2 wide).
constexpr Rect kMultiRect{10, 40, 74, 77};

class EditTest : public testing::ControlTest {
protected:
    Edit& single(std::string_view text = "", std::uint32_t style = ES_AUTOHSCROLL, Rect r = kSingleRect) {
        EXPECT_TRUE(make(edit, kEditClass, text, style, r, kEditBoxId));
        edit.setFocus();
        clearLog();
        return edit;
    }
    Edit& multi(std::string_view text = "", std::uint32_t style = ES_AUTOVSCROLL | ES_AUTOHSCROLL) {
        return single(text, ES_MULTILINE | style, kMultiRect);
    }
    Point charPoint(int index, int line = 0) const {  // the client point in the middle of a character cell
        return {Edit::kMargin + index * kCharWidth + 1, edit.formatRect().top + line * kLineHeight + 6};
    }

    Edit edit;
};

TEST_F(EditTest, TypingSendsUpdateThenChangeForEachCharacter) {
    Edit& e = single();
    robot.type("ab");
    EXPECT_EQ(e.text(), "ab");
    EXPECT_EQ(e.storedText(), "ab");
    EXPECT_EQ(e.caret(), 2);
    EXPECT_TRUE(e.isModified());
    EXPECT_EQ(commands(kEditBoxId), (std::vector<int>{EN_UPDATE, EN_CHANGE, EN_UPDATE, EN_CHANGE}));
    clearLog();
    robot.key(VK_LEFT);
    robot.key(VK_END, Shift);
    EXPECT_TRUE(commands(kEditBoxId).empty()) << "caret keys and selections change no text";
}

TEST_F(EditTest, KeysEditAndMoveTheCaret) {
    struct Case {
        const char* name;
        bool multiLine;
        const char* text;
        int selStart, selEnd;
        std::function<void(Robot&)> act;
        const char* expected;
        int expectedStart, expectedEnd;
    };
    const Case cases[] = {
        {"backspace at the end", false, "hello", 5, 5, [](Robot& r) { r.key(VK_BACK); }, "hell", 4, 4},
        {"typing replaces the selection", false, "hello", 0, -1, [](Robot& r) { r.type("x"); }, "x", 1, 1},
        {"delete at the start", false, "hello", 0, 0, [](Robot& r) { r.key(VK_DELETE); }, "ello", 0, 0},
        {"shift+end selects, delete removes", false, "hello", 2, 2,
         [](Robot& r) { r.key(VK_END, Shift); r.key(VK_DELETE); }, "he", 2, 2},
        {"left collapses a selection to its start", false, "hello", 1, 4, [](Robot& r) { r.key(VK_LEFT); },
         "hello", 1, 1},
        {"right collapses a selection to its end", false, "hello", 1, 4, [](Robot& r) { r.key(VK_RIGHT); },
         "hello", 4, 4},
        {"ctrl+left goes to the word's start", false, "one two", 7, 7, [](Robot& r) { r.key(VK_LEFT, Ctrl); },
         "one two", 4, 4},
        {"ctrl+right goes to the next word", false, "one two", 0, 0, [](Robot& r) { r.key(VK_RIGHT, Ctrl); },
         "one two", 4, 4},
        {"home", false, "hello", 3, 3, [](Robot& r) { r.key(VK_HOME); }, "hello", 0, 0},
        {"ctrl+a selects all", false, "hello", 2, 2, [](Robot& r) { r.key('A', Ctrl); }, "hello", 0, 5},
        {"backspace at the start does nothing", false, "abc", 0, 0, [](Robot& r) { r.key(VK_BACK); }, "abc", 0, 0},
        {"up in a single line moves left", false, "abc", 2, 2, [](Robot& r) { r.key(VK_UP); }, "abc", 1, 1},
        {"enter in a single line types nothing", false, "abc", 3, 3, [](Robot& r) { r.key(VK_RETURN); }, "abc", 3,
         3},
        {"right steps over CR LF", true, "ab\r\ncd", 2, 2, [](Robot& r) { r.key(VK_RIGHT); }, "ab\r\ncd", 4, 4},
        {"backspace joins two lines", true, "ab\r\ncd", 4, 4, [](Robot& r) { r.key(VK_BACK); }, "abcd", 2, 2},
        {"enter types CR LF", true, "ab", 1, 1, [](Robot& r) { r.key(VK_RETURN); }, "a\r\nb", 3, 3},
        {"down keeps the column across a short line", true, "abc\r\nd\r\nefg", 2, 2,
         [](Robot& r) { r.key(VK_DOWN); r.key(VK_DOWN); }, "abc\r\nd\r\nefg", 10, 10},
        {"end stops before the line break", true, "abc\r\nd", 1, 1, [](Robot& r) { r.key(VK_END); }, "abc\r\nd", 3,
         3},
        {"ctrl+end goes to the end of the text", true, "abc\r\nd", 1, 1, [](Robot& r) { r.key(VK_END, Ctrl); },
         "abc\r\nd", 6, 6},
    };
    for (const Case& c : cases) {
        Edit e;
        ASSERT_TRUE(make(e, kEditClass, c.text, c.multiLine ? ES_MULTILINE | ES_AUTOVSCROLL : ES_AUTOHSCROLL,
                         c.multiLine ? kMultiRect : kSingleRect, kEditBoxId));
        e.setFocus();
        e.setSel(c.selStart, c.selEnd);
        c.act(robot);
        EXPECT_EQ(e.text(), c.expected) << c.name;
        EXPECT_EQ(e.selectionStart(), c.expectedStart) << c.name;
        EXPECT_EQ(e.selectionEnd(), c.expectedEnd) << c.name;
    }
}

TEST_F(EditTest, SetTextNotifiesOnlyWhenTheTextChanges) {
    Edit& e = single("same");
    e.setSel(1, 3);
    e.setText("same");
    EXPECT_TRUE(commands(kEditBoxId).empty()) << "writing back what it holds must not look like a change";
    EXPECT_EQ(e.selectionStart(), 1);
    e.setText("other");
    EXPECT_EQ(commands(kEditBoxId), (std::vector<int>{EN_UPDATE, EN_CHANGE}));
    EXPECT_EQ(e.caret(), 0);
    EXPECT_FALSE(e.isModified());

    Edit m;
    ASSERT_TRUE(make(m, kEditClass, "", ES_MULTILINE, kMultiRect, kEditBoxId + 1));
    m.setText("line 1\r\nline 2");
    EXPECT_TRUE(commands(kEditBoxId + 1).empty()) << "a multi-line edit does not notify a program's WM_SETTEXT";
    EXPECT_EQ(m.lineCount(), 2);
    EXPECT_EQ(m.lineText(1), "line 2");
    EXPECT_EQ(m.text(), "line 1\r\nline 2");
}

TEST_F(EditTest, SetSelTakesTheMessageConventions) {
    struct Case {
        int start, end;
        int expectedStart, expectedEnd, expectedCaret;
    };
    const Case cases[] = {
        {0, -1, 0, 5, 5},   // all
        {5, 2, 2, 5, 2},    // the end given is where the caret goes
        {2, 100, 2, 5, 5},  // beyond the text is the end
        {9, 9, 5, 5, 5},
        {-1, 0, 3, 3, 3},   // -1 drops the selection, the caret (3, from 1..3) stays
    };
    Edit& e = single("hello");
    for (const Case& c : cases) {
        e.setSel(1, 3);
        e.send(EM_SETSEL, static_cast<std::uintptr_t>(c.start), c.end);
        int start = -7, end = -7;
        const std::intptr_t packed = e.send(EM_GETSEL, wParamFromPointer(&start), lParamFromPointer(&end));
        EXPECT_EQ(start, c.expectedStart) << c.start << "," << c.end;
        EXPECT_EQ(end, c.expectedEnd) << c.start << "," << c.end;
        EXPECT_EQ(packed, makeLParam(c.expectedStart, c.expectedEnd));
        EXPECT_EQ(e.caret(), c.expectedCaret) << c.start << "," << c.end;
    }
}

TEST_F(EditTest, ClipboardCopyCutAndPaste) {
    Edit& e = single("one two");
    Clipboard& clipboard = desktop.clipboard();
    e.setSel(0, 3);
    robot.key('C', Ctrl);
    EXPECT_EQ(clipboard.text(), "one");
    EXPECT_TRUE(commands(kEditBoxId).empty());
    e.setSel(3, 7);
    robot.key('X', Ctrl);
    EXPECT_EQ(e.text(), "one");
    EXPECT_EQ(clipboard.text(), " two");
    robot.key(VK_HOME);
    robot.key('V', Ctrl);
    EXPECT_EQ(e.text(), " twoone");
    EXPECT_EQ(e.caret(), 4);
    EXPECT_EQ(commands(kEditBoxId), (std::vector<int>{EN_UPDATE, EN_CHANGE, EN_UPDATE, EN_CHANGE}));
    // The keys of the older convention do the same.
    e.setSel(0, -1);
    robot.key(VK_INSERT, Ctrl);
    EXPECT_EQ(clipboard.text(), " twoone");
    robot.key(VK_DELETE, Shift);
    EXPECT_EQ(e.text(), "");
    robot.key(VK_INSERT, Shift);
    EXPECT_EQ(e.text(), " twoone");
}

TEST_F(EditTest, PasteTakesLineBreaksAsTheEditCan) {
    desktop.clipboard().setText("one\r\ntwo\nthree");
    Edit& e = single();
    e.send(WM_PASTE);
    EXPECT_EQ(e.text(), "one") << "a single line takes the first line";

    Edit m;
    ASSERT_TRUE(make(m, kEditClass, "", ES_MULTILINE | ES_AUTOVSCROLL, kMultiRect, kEditBoxId + 1));
    m.send(WM_PASTE);
    EXPECT_EQ(m.text(), "one\r\ntwo\r\nthree");
    EXPECT_EQ(m.lineCount(), 3);
    EXPECT_EQ(m.caret(), 15);
}

TEST_F(EditTest, TheLimitStopsTypingAndCutsAPaste) {
    Edit& e = single("abc");
    e.setLimit(5);
    e.setSel(3, 3);
    robot.type("de");
    clearLog();
    robot.type("f");
    EXPECT_EQ(e.text(), "abcde");
    EXPECT_EQ(commands(kEditBoxId), (std::vector<int>{EN_MAXTEXT})) << "nothing inserted, the owner is told";

    e.setSel(3, 5);  // two characters free once the selection goes
    desktop.clipboard().setText("xyz");
    clearLog();
    robot.key('V', Ctrl);
    EXPECT_EQ(e.text(), "abcxy");
    EXPECT_EQ(commands(kEditBoxId), (std::vector<int>{EN_UPDATE, EN_CHANGE, EN_MAXTEXT}));
    EXPECT_EQ(e.send(EM_GETLIMITTEXT), 5);
    // A program's text is not limited.
    e.setText("0123456789");
    EXPECT_EQ(e.length(), 10);
}

TEST_F(EditTest, ReadOnlyAndPasswordModes) {
    Edit& e = single("secret", ES_AUTOHSCROLL | ES_READONLY);
    robot.type("x");
    robot.key(VK_BACK);
    robot.key('V', Ctrl);
    EXPECT_EQ(e.text(), "secret");
    EXPECT_TRUE(commands(kEditBoxId).empty());
    robot.key(VK_HOME);
    robot.key(VK_RIGHT, Shift);
    robot.key('C', Ctrl);
    EXPECT_EQ(desktop.clipboard().text(), "s") << "a read-only edit still selects and copies";
    e.send(EM_SETREADONLY, 0);
    EXPECT_FALSE(e.isReadOnly());
    robot.type("x");
    EXPECT_EQ(e.text(), "xecret");

    Edit p;
    ASSERT_TRUE(make(p, kEditClass, "", ES_AUTOHSCROLL | ES_PASSWORD, Rect{10, 40, 130, 61}, kEditBoxId + 1));
    p.setFocus();
    robot.type("pw1");
    EXPECT_EQ(p.text(), "pw1");
    const int changes = desktop.clipboard().changeCount();
    robot.key('A', Ctrl);
    robot.key('C', Ctrl);
    robot.key('X', Ctrl);
    EXPECT_EQ(desktop.clipboard().changeCount(), changes) << "a password is never copied";
    EXPECT_EQ(p.text(), "pw1");
    repaint(p);
    EXPECT_EQ(drawnTexts(p), (std::vector<std::string>{"***"}));
}

TEST_F(EditTest, FiltersOfTheStyle) {
    struct Case {
        std::uint32_t style;
        const char* typed;
        const char* expected;
    };
    const Case cases[] = {
        {ES_NUMBER, "1a2", "12"},
        {ES_UPPERCASE, "ab Лист", "AB ЛИСТ"},
        {ES_LOWERCASE, "AB ЛИСТ", "ab лист"},
        {0, "Лист 7", "Лист 7"},
    };
    for (const Case& c : cases) {
        Edit e;
        ASSERT_TRUE(make(e, kEditClass, "", ES_AUTOHSCROLL | c.style, kSingleRect, kEditBoxId));
        e.setFocus();
        robot.type(c.typed);
        EXPECT_EQ(e.text(), c.expected) << c.typed;
    }
}

TEST_F(EditTest, CharactersAreCountedNotBytes) {
    Edit& e = single();
    robot.type("Лист");
    EXPECT_EQ(e.length(), 4);
    EXPECT_EQ(e.caret(), 4);
    robot.key(VK_BACK);
    EXPECT_EQ(e.text(), "Лис");
    e.setSel(1, 2);
    robot.key('C', Ctrl);
    EXPECT_EQ(desktop.clipboard().text(), "и");
}

TEST_F(EditTest, UndoTakesBackTypingAsOneStepAndRedoes) {
    Edit& e = single("x");
    e.setSel(1, 1);
    robot.type("abc");
    EXPECT_TRUE(e.canUndo());
    robot.key('Z', Ctrl);
    EXPECT_EQ(e.text(), "x");
    robot.key('Z', Ctrl);
    EXPECT_EQ(e.text(), "xabc");
    e.setText("fresh");
    EXPECT_FALSE(e.canUndo());
    EXPECT_EQ(e.send(EM_UNDO), 0);
}

// The pattern of the option dialogs: an edit's kill-focus handler finds the value wrong, puts the focus back
// and selects the text. The click that took the focus away is then over: no loop, no click on the other control.
TEST_F(EditTest, KillFocusHandlerCanKeepTheFocus) {
    Edit& checked = single("abc");
    Edit other;
    ASSERT_TRUE(make(other, kEditClass, "next", ES_AUTOHSCROLL, Rect{10, 40, 130, 61}, kEditBoxId + 1));
    int checks = 0;
    owner.onMessage = [&](Message& m, std::intptr_t&) {
        if (m.id == WM_COMMAND && loWord(m.w) == kEditBoxId && hiWord(m.w) == EN_KILLFOCUS) {
            ++checks;
            checked.setFocus();
            checked.setSel(0, -1);
        }
        return false;
    };
    robot.clickAt(other, charPoint(2));
    EXPECT_EQ(checks, 1);
    EXPECT_TRUE(checked.hasFocus());
    EXPECT_EQ(checked.selectionStart(), 0);
    EXPECT_EQ(checked.selectionEnd(), 3);
    EXPECT_EQ(commands(kEditBoxId), (std::vector<int>{EN_KILLFOCUS, EN_SETFOCUS}));
    EXPECT_TRUE(commands(kEditBoxId + 1).empty());
    EXPECT_EQ(other.caret(), 0) << "the click that lost its focus did not move the caret";

    owner.onMessage = nullptr;
    clearLog();
    robot.wait(1000);  // not a double click
    robot.clickAt(other, charPoint(2));
    EXPECT_TRUE(other.hasFocus());
    EXPECT_EQ(other.caret(), 2);
    EXPECT_EQ(commands(kEditBoxId), (std::vector<int>{EN_KILLFOCUS}));
    EXPECT_EQ(commands(kEditBoxId + 1), (std::vector<int>{EN_SETFOCUS}));
}

TEST_F(EditTest, MouseClicksDragsAndDoubleClicks) {
    Edit& e = single("one two three");
    robot.clickAt(e, charPoint(2));
    EXPECT_EQ(e.caret(), 2);
    EXPECT_EQ(e.selectionStart(), 2);
    robot.clickAt(e, charPoint(5), MouseButton::Left, Shift);
    EXPECT_EQ(e.selectionStart(), 2);
    EXPECT_EQ(e.selectionEnd(), 5);
    robot.drag(e.clientToScreen(charPoint(1)), e.clientToScreen(charPoint(4)), 3);
    EXPECT_EQ(e.selectionStart(), 1);
    EXPECT_EQ(e.selectionEnd(), 4);
    EXPECT_EQ(e.caret(), 4);
    EXPECT_FALSE(e.hasCapture());
    robot.doubleClickAt(e, charPoint(5));
    EXPECT_EQ(e.selectionStart(), 4);
    EXPECT_EQ(e.selectionEnd(), 7);
    // A click to the right of the text puts the caret at its end.
    robot.clickAt(e, {110, 8});
    EXPECT_EQ(e.caret(), 13);
}

TEST_F(EditTest, SingleLineScrollsToKeepTheCaretInView) {
    // 40 pixels wide: 36 for text, six characters.
    Edit& e = single("", ES_AUTOHSCROLL, Rect{10, 10, 50, 31});
    robot.type("abcdefghij");
    // The caret after 10 characters is at 60; it must show as the last pixel column: 60 - 36 + 1.
    EXPECT_EQ(e.horizontalScroll(), 25);
    EXPECT_EQ(e.caretPoint().x, Edit::kMargin + 35);
    repaint(e);
    const auto texts = e.displayList().ofKind(DrawOp::Text);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0]->lines[0].origin, (Point{Edit::kMargin - 25, 4}));
    robot.key(VK_HOME);
    EXPECT_EQ(e.horizontalScroll(), 0);
    EXPECT_EQ(e.send(EM_GETFIRSTVISIBLELINE), 0);
}

TEST_F(EditTest, MultiLineScrollsByLinesWithItsScrollBar) {
    Edit& e = multi("", ES_AUTOVSCROLL | ES_AUTOHSCROLL | WS_VSCROLL);
    robot.type("1\n2\n3\n4\n5");
    EXPECT_EQ(e.lineCount(), 5);
    // Three lines show; the caret on line 4 (from 0) needs lines 2..4.
    EXPECT_EQ(e.firstVisibleLine(), 2);
    ScrollInfo info;
    ASSERT_TRUE(e.getScrollInfo(SB_VERT, info));
    EXPECT_EQ(info.min, 0);
    EXPECT_EQ(info.max, 4);
    EXPECT_EQ(info.page, 3u);
    EXPECT_EQ(info.pos, 2);
    clearLog();
    robot.scrollBar(e, SB_VERT, SB_LINEUP);
    EXPECT_EQ(e.firstVisibleLine(), 1);
    EXPECT_EQ(commands(kEditBoxId), (std::vector<int>{EN_VSCROLL}));
    robot.dragThumb(e, SB_VERT, 0);
    EXPECT_EQ(e.firstVisibleLine(), 0);
    e.send(EM_SCROLLCARET);
    EXPECT_EQ(e.firstVisibleLine(), 2);
    EXPECT_EQ(e.send(EM_SCROLL, SB_PAGEUP), makeLParam(-2, 1));
    e.send(EM_LINESCROLL, 0, 1);
    EXPECT_EQ(e.firstVisibleLine(), 1);
    robot.moveTo(e, {10, 10});
    robot.wheel(-WHEEL_DELTA);
    EXPECT_EQ(e.firstVisibleLine(), 2) << "three lines a notch, held at the last page";
    robot.key(VK_HOME, Ctrl);
    EXPECT_EQ(e.firstVisibleLine(), 0);
}

TEST_F(EditTest, MultiLineWithoutHorizontalScrollWrapsAtSpaces) {
    Edit& e = multi("one two three four", ES_AUTOVSCROLL);
    ASSERT_EQ(e.formatRect().width(), 10 * kCharWidth);
    EXPECT_EQ(e.lineCount(), 2);
    EXPECT_EQ(e.lineText(0), "one two ");
    EXPECT_EQ(e.lineText(1), "three four");
    EXPECT_EQ(e.lineIndex(1), 8);
    EXPECT_EQ(e.lineFromChar(9), 1);
    e.setText("abcdefghijkl");
    EXPECT_EQ(e.lineCount(), 2) << "a word longer than the line breaks between characters";
    EXPECT_EQ(e.lineText(1), "kl");
    EXPECT_EQ(e.send(EM_LINELENGTH, 11), 2);
    std::string line;
    EXPECT_EQ(e.send(EM_GETLINE, 0, lParamFromPointer(&line)), 10);
    EXPECT_EQ(line, "abcdefghij");
}

TEST_F(EditTest, PaintsTextSelectionAndCaret) {
    Edit& e = single("hello");
    e.setSel(1, 4);
    repaint(e);
    EXPECT_EQ(drawnTexts(e), (std::vector<std::string>{"h", "ell", "o"}));
    const auto texts = e.displayList().ofKind(DrawOp::Text);
    EXPECT_EQ(texts[1]->lines[0].origin, (Point{Edit::kMargin + kCharWidth, 4}));
    EXPECT_EQ(texts[1]->textColor, desktop.sysColor(COLOR_HIGHLIGHTTEXT));
    EXPECT_EQ(texts[0]->textColor, desktop.sysColor(COLOR_WINDOWTEXT));
    bool highlighted = false;
    for (const DrawRecord* r : e.displayList().ofKind(DrawOp::FillRect))
        if (r->color == desktop.sysColor(COLOR_HIGHLIGHT))
            highlighted = r->rect == Rect{Edit::kMargin + kCharWidth, 4, Edit::kMargin + 4 * kCharWidth, 16};
    EXPECT_TRUE(highlighted);
    const auto caret = e.displayList().ofKind(DrawOp::Line);
    ASSERT_EQ(caret.size(), 1u);
    EXPECT_EQ(caret[0]->from, (Point{Edit::kMargin + 4 * kCharWidth, 4}));

    // Without the focus the selection and the caret are hidden.
    owner.setFocus();
    repaint(e);
    EXPECT_EQ(drawnTexts(e), (std::vector<std::string>{"hello"}));
    EXPECT_TRUE(e.displayList().ofKind(DrawOp::Line).empty());
    e.enable(false);
    repaint(e);
    EXPECT_EQ(e.displayList().ofKind(DrawOp::Text)[0]->textColor, desktop.sysColor(COLOR_GRAYTEXT));
}

TEST_F(EditTest, DialogCodesAskForTheKeysTheEditUses) {
    Edit& e = single();
    const unsigned usual = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
    EXPECT_EQ(static_cast<unsigned>(e.send(WM_GETDLGCODE, VK_RETURN)), usual);
    Edit m;
    ASSERT_TRUE(make(m, kEditClass, "", ES_MULTILINE | ES_WANTRETURN, kMultiRect, kEditBoxId + 1));
    EXPECT_EQ(static_cast<unsigned>(m.send(WM_GETDLGCODE, VK_RETURN)), usual | DLGC_WANTALLKEYS);
    EXPECT_EQ(static_cast<unsigned>(m.send(WM_GETDLGCODE, VK_TAB)), usual) << "Tab still leaves the edit";
}

TEST_F(EditTest, AnObjectThatAdoptsTheWindowKeepsItsText) {
    Window* made = desktop.createWindow(kEditClass, "from the template", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL,
                                        kSingleRect, &owner, kEditBoxId);
    ASSERT_NE(made, nullptr);
    ASSERT_TRUE(edit.adopt(*made));
    EXPECT_EQ(edit.length(), 17);
    EXPECT_EQ(edit.text(), "from the template");
    edit.setFocus();
    edit.setSel(0, 4);
    robot.type("to");
    EXPECT_EQ(edit.text(), "to the template");
}

}  // namespace
}  // namespace host::ui
