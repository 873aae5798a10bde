// The edit control ("Edit"): single-line and multi-line text with a caret, a selection, the clipboard, a limit,
// read-only and password modes, one level of undo, scrolling that keeps the caret in view, and the EN_*
// notifications to its owner.
//
// Positions are characters (code points), not bytes: "Лист" has 4. A multi-line edit keeps its text as given
// and breaks lines at CR LF (a lone CR or LF breaks too); Enter types CR LF, a paste has its line breaks made
// CR LF. A single-line edit takes only the first line of a paste. Without ES_AUTOHSCROLL a multi-line edit
// wraps its lines at spaces to its width.
//
// What one user action sends to the owner (WM_COMMAND with these codes), in this order:
//   a character typed, Backspace, Delete,   EN_UPDATE, EN_CHANGE          (the text changed)
//   paste, cut, undo, Ctrl+V/X/Z
//   a character beyond the limit            EN_MAXTEXT                    (nothing inserted)
//   a paste cut short by the limit          EN_UPDATE, EN_CHANGE, EN_MAXTEXT
//   a caret key, a click, a selection       nothing
//   gaining / losing the focus              EN_SETFOCUS / EN_KILLFOCUS
//   own scroll bar or wheel (multi-line)    EN_VSCROLL / EN_HSCROLL
// A program's WM_SETTEXT (setText) sends EN_UPDATE, EN_CHANGE to a single-line edit when the text differs, and
// nothing when it is the same (so a handler that writes back what it read does not recurse); a multi-line edit
// sends nothing on WM_SETTEXT. EM_REPLACESEL and the other messages send EN_UPDATE, EN_CHANGE when they change
// the text. Read-only edits refuse every change a user makes (typing, paste, cut, undo) but move the caret,
// select and copy. A password edit shows its password character and refuses copy and cut.
//
// Messages beyond the common ones (message.h gives the text parameters):
//   EM_GETSEL            answers makeLParam(start, end), and with wParam/lParam as int* fills them
//   EM_SETSEL(s, e)      s = 0, e = -1 selects all; e < 0 or beyond the text means the end; s = -1 removes the
//                        selection (the caret stays); e is where the caret goes. Scrolls the caret into view.
//   EM_REPLACESEL        wParam = can undo, lParam = const char* (UTF-8)
//   EM_GETLINE           wParam = line, lParam = std::string* to fill; answers its length in characters
//   EM_GETRECT           lParam = Rect* (the formatting rectangle)
//   EM_LIMITTEXT(n)      n characters (0: no practical limit); EM_GETLIMITTEXT
//   EM_SETPASSWORDCHAR   wParam = the character (0 shows the text and removes ES_PASSWORD)
//   EM_SETREADONLY       wParam = on
//   EM_GETMODIFY, EM_SETMODIFY, EM_CANUNDO, EM_UNDO, EM_EMPTYUNDOBUFFER, EM_GETLINECOUNT, EM_LINEINDEX,
//   EM_LINELENGTH, EM_LINEFROMCHAR, EM_GETFIRSTVISIBLELINE, EM_LINESCROLL, EM_SCROLL, EM_SCROLLCARET,
//   WM_CUT, WM_COPY, WM_PASTE, WM_CLEAR, WM_UNDO
//
// Its state lives in the object: a dialog that binds its own Edit object to a template's edit (adopt) keeps the
// window's text and style; the selection starts again at 0.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "host/ui/window.h"

namespace host::ui {

class Edit : public Window {
public:
    // The limit a new edit has, in characters (as the system's edits have).
    static constexpr int kDefaultLimit = 30000;
    // "No limit" (EM_LIMITTEXT 0).
    static constexpr int kNoLimit = 0x7FFFFFFE;
    // Space between the client edge and the text, left and right, in pixels.
    static constexpr int kMargin = 2;

    Edit();
    ~Edit() override;

    // [SECTION] Text and selection (the messages, as calls)
    // The selection as ordered character positions; start == end is the caret with nothing selected.
    int selectionStart() const;
    int selectionEnd() const;
    int caret() const { return caret_; }
    // EM_SETSEL.
    void setSel(int start, int end);
    // EM_REPLACESEL: replaces the selection (or inserts at the caret), as a program does: no limit applies.
    void replaceSel(std::string_view utf8, bool canUndo = true);
    int length() const { return static_cast<int>(text_.size()); }
    bool isMultiLine() const;
    bool isReadOnly() const;
    void setReadOnly(bool on);
    int limit() const { return limit_; }
    void setLimit(int characters);
    bool isModified() const { return modified_; }
    void setModified(bool on) { modified_ = on; }
    bool canUndo() const { return undo_.valid; }
    bool undo();

    // [SECTION] Lines (visual lines: with wrapping one text line can be several)
    int lineCount() const;
    int lineIndex(int line) const;  // first character of a line; -1 beyond the last
    int lineFromChar(int index) const;
    std::string lineText(int line) const;
    int firstVisibleLine() const { return firstLine_; }
    int horizontalScroll() const { return scrollX_; }
    // The rectangle the text is laid out in (EM_GETRECT).
    Rect formatRect() const;
    // Where the caret is drawn: the top of its line, client coordinates.
    Point caretPoint() const;
    // The character position nearest to a client point.
    int charFromPoint(Point client) const;

    std::intptr_t windowProc(Message& m) override;

protected:
    void preSubclassWindow() override;

private:
    struct Line {
        int start = 0;  // first character
        int end = 0;    // after the last shown character (before the line break)
        int next = 0;   // where the next line starts (after the line break, or == end for a wrap)
    };
    struct UndoState {
        bool valid = false;
        std::u32string text;
        int anchor = 0;
        int caret = 0;
    };
    void loadFromWindow();
    void storeText();
    void layout() const;
    const std::vector<Line>& lines() const;
    int lineOf(int index) const;
    int visibleLineCount() const;
    int lineHeight() const;
    int textWidth(int start, int end) const;
    int lineX(int line) const;
    char32_t shownChar(char32_t c) const;
    bool wraps() const;

    void setSelection(int anchor, int caret, bool scroll = true);
    void moveCaret(int to, bool extend);
    int clampPosition(int index) const;
    int previousPosition(int index) const;
    int nextPosition(int index) const;
    int wordStart(int index) const;
    int wordEnd(int index) const;
    void scrollCaretIntoView();
    void clampScroll();
    void updateScrollBars();
    void scrollLines(int delta);

    // Replaces the selection with `inserted` (already filtered). Answers whether the text changed.
    bool replaceSelection(std::u32string inserted, bool userEdit, bool typing);
    void rememberUndo(bool typing);
    void changed(bool notify);
    void typeCharacter(char32_t c);
    std::u32string filterTyped(std::u32string_view in) const;
    void paste();
    void copy();
    void cut();
    void clear();
    bool handleKey(unsigned vk);
    void paint();

    std::u32string text_;
    int anchor_ = 0;
    int caret_ = 0;
    int goalX_ = -1;  // the x the caret keeps across Up and Down
    int limit_ = kDefaultLimit;
    bool modified_ = false;
    char32_t passwordChar_ = U'*';
    UndoState undo_;
    bool typingRun_ = false;
    bool tracking_ = false;
    bool focused_ = false;
    int firstLine_ = 0;
    int scrollX_ = 0;
    mutable std::vector<Line> lines_;
    mutable bool layoutValid_ = false;
};

}  // namespace host::ui
