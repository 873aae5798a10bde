// The in-place edit box of a grid cell: a single-line edit over the cell that reports its text to the grid when
// the edit ends, then closes and deletes itself.
//
// One edit, as the keys end it:
//   key                                   ends it?                              reported ending key
//   Tab, Enter (typed)                    yes                                   9, 13
//   Esc (typed)                           yes, the text first goes back to the  27
//                                         text the edit began with
//   PageUp, PageDown, Left, Up, Right,    yes when the edit was opened by a     the key (33, 34, 37 to 40)
//   Down                                  key, or with Ctrl held; otherwise
//                                         they move the caret
//   Alt+letter (WM_SYSCHAR)               swallowed
//   the focus goes elsewhere              yes                                   0
// To end is to give the focus to the grid; losing the focus sends the grid WM_NOTIFY (GridCellNotifyRecord,
// code GridEndEditCode) and closes the box.
#pragma once

#include <cstdint>
#include <string>

#include "host/ui/constants.h"
#include "host/ui/edit.h"
#include "host/ui/geometry.h"

class CGridCtrl;

// [SECTION] How the in-place editors begin and which keys end them
// How an editor's field starts.
struct EditorStart {
    bool selectAll = false;       // everything selected (else the caret after the last character)
    bool typesCharacter = false;  // the first character is then typed into the field
};

// Page Up, Page Down, End, Home and the arrow keys (33 to 40): the keys the grid moves its focus cell by.
constexpr bool IsGridMoveKey(unsigned key) { return key >= host::ui::VK_PRIOR && key <= host::ui::VK_DOWN; }

// The first character is 1 for an edit begun by a click, a double click or F2, the typed character for one
// begun by typing, and the ending key of the previous edit when the grid moves on.
//
//   first character               edit box                          combo box
//   1, 13 (Enter)                 caret at the end                  caret at the end
//   8 (Backspace)                 caret at the end, typed           caret at the end, typed
//   9 (Tab), 32 (space)           all selected                      all selected, typed
//   33 to 40 (page, end, home,    all selected                      all selected
//   arrow keys)
//   anything else                 all selected, typed               all selected, typed
constexpr EditorStart EditBoxStart(unsigned first) {
    if (first == host::ui::VK_LBUTTON || first == host::ui::VK_RETURN) return {false, false};
    if (first == host::ui::VK_BACK) return {false, true};
    if (first == host::ui::VK_TAB || first == host::ui::VK_SPACE || IsGridMoveKey(first)) return {true, false};
    return {true, true};
}

constexpr EditorStart ComboBoxStart(unsigned first) {
    if (first == host::ui::VK_LBUTTON || first == host::ui::VK_RETURN) return {false, false};
    if (first == host::ui::VK_BACK) return {false, true};
    if (IsGridMoveKey(first)) return {true, false};
    return {true, true};
}

// The keys that end an edit and move on to a neighbouring cell: PageUp, PageDown, Left, Up, Right, Down (not
// Home and End, which stay with the field).
constexpr bool IsEditEndingMoveKey(unsigned key) {
    return key == host::ui::VK_PRIOR || key == host::ui::VK_NEXT || key == host::ui::VK_LEFT ||
           key == host::ui::VK_UP || key == host::ui::VK_RIGHT || key == host::ui::VK_DOWN;
}

// Sends `target` the notification an in-place editor gives when its edit of cell (row, column) ends: the
// editor's id, its text, and the key that ended the edit.
void SendEndEditNotification(host::ui::Window& editor, host::ui::Window& target, int row, int column,
                             unsigned endingKey);

// [SECTION] The edit box

class CGridEditBox : public host::ui::Edit {
public:
    CGridEditBox() = default;
    ~CGridEditBox() override;

    // Opens the box over `rect` (the grid's client coordinates) as a child of `grid` with id `controlId`, in the
    // grid's font, with `text`, and takes the focus. `alignStyle` is ES_LEFT, ES_CENTER or ES_RIGHT.
    // `firstCharacter` says how the edit began:
    //   1 (a click, double click or F2), 13   the caret after the last character
    //   8 (Backspace)                         the caret after the last character, then the last one is deleted
    //   9 (Tab), 32 (space), 33 to 40         everything selected, nothing typed
    //   any other character                   everything selected, then the character is typed over it
    // True: the box is open and deletes itself when its window ends (call it only on an object made with new).
    // False: no window could be made; the object is left to the caller to delete.
    bool Open(CGridCtrl& grid, const host::ui::Rect& rect, std::uint32_t alignStyle, int controlId, int row,
              int column, const std::string& text, unsigned firstCharacter);

    // Reports the current text and the ending key to the grid (WM_NOTIFY to the owner, else the parent) and
    // closes the box. An end that starts while another box's end is being reported does nothing.
    void EndEdit();

    int Row() const { return row_; }
    int Column() const { return column_; }
    const std::string& InitialText() const { return initialText_; }
    unsigned EndingKey() const { return endingKey_; }
    bool ExitsOnArrows() const { return exitOnArrows_; }
    // The box's rectangle in the grid's client coordinates; it grows to the right while typing.
    const host::ui::Rect& BoxRect() const { return rect_; }

    std::intptr_t windowProc(host::ui::Message& m) override;
    bool preTranslateMessage(host::ui::Message& m) override;

protected:
    void postNcDestroy() override;

private:
    // Stores the key and hands the focus to the grid; the loss of focus ends the edit.
    void FinishWith(unsigned key);
    // Widens the box to the text typed so far, up to the grid's right edge.
    void GrowToText();

    int row_ = -1;
    int column_ = -1;
    std::string initialText_;
    unsigned endingKey_ = 0;
    bool exitOnArrows_ = true;
    host::ui::Rect rect_{};
    bool ownsItself_ = false;
};
