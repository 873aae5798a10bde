// The in-place combo box of a combo cell: an editable field with a dropped list of choices over the cell, which
// reports its text to the grid when the edit ends, then closes and deletes itself; and its edit field.
//
// One edit, as the keys end it (the keys reach the edit field, which takes them before any dialog sees them):
//   key                                   ends it?                              reported ending key
//   Up, Down, PageUp, PageDown            no: they move through the list
//   Left, Right                           no: they move the caret
//   Ctrl + PageUp, PageDown, Left, Up,    yes, at the key-down                  the key
//   Right, Down
//   Tab, Enter                            yes, at the key-up (Enter on the      9, 13
//                                         dropped list takes its highlighted
//                                         item first)
//   Esc                                   yes, at the key-up, with the text the 27
//                                         edit began with put back
//   Alt+letter (WM_SYSCHAR)               swallowed
//   the focus leaves the field            yes                                   0
// A key-up ends the edit only when its key-down came to this combo: the Tab that ended the previous cell's edit
// and opened this one must not end this one with its key-up.
//
// Opening never changes the value by itself: the choice equal to the cell's text (as spelled) is selected when
// there is one; otherwise the text stays in the field as it was, and an empty text selects nothing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/ui/combo_box.h"
#include "host/ui/edit.h"
#include "host/ui/geometry.h"

class CGridCtrl;
class CGridComboBox;

// The combo's edit control (id kComboEditId), taken over after the combo is made.
class CGridComboEditField : public host::ui::Edit {
public:
    CGridComboEditField() = default;
    ~CGridComboEditField() override;

    bool preTranslateMessage(host::ui::Message& m) override;
    std::intptr_t windowProc(host::ui::Message& m) override;

private:
    CGridComboBox* Combo() const;

    // Key-downs of Tab, Enter and Esc seen by this field, so that only their own key-ups end the edit.
    bool tabDown_ = false;
    bool returnDown_ = false;
    bool escapeDown_ = false;
};

class CGridComboBox : public host::ui::ComboBox {
public:
    // The room the dropped list gets, in cell heights.
    static constexpr int kListHeightInCells = 4;
    // The dropped list is never wider than this, whatever the items.
    static constexpr int kMaxDropWidth = 200;

    CGridComboBox() = default;
    ~CGridComboBox() override;

    // Opens the combo over `rect` (the grid's client coordinates; its bottom is moved down to make room for the
    // list) as a child of `grid` with id `controlId` and style `style` (CBS_DROPDOWN), fills in `choices`,
    // selects the choice equal to `text` or puts `text` into the field, drops the list down, takes over the
    // edit field and gives it the focus, then applies `firstCharacter` (see EditorStart in grid_edit_box.h).
    // True: the combo is open and deletes itself when its window ends (call it only on an object made with
    // new). False: no window could be made; the object is left to the caller to delete.
    bool Open(CGridCtrl& grid, const host::ui::Rect& rect, std::uint32_t style, int controlId, int row, int column,
              const std::vector<std::string>& choices, const std::string& text, unsigned firstCharacter);

    // Reports the field's text and the ending key to the grid (WM_NOTIFY to the owner, else the parent) and
    // closes the combo (WM_CLOSE posted). A combo that has reported stays quiet until it is gone.
    void EndEdit();

    // The widest choice (plus a scroll bar's width when there are choices) plus the width of "0", in the
    // combo's font; at most kMaxDropWidth.
    int ComputeDropWidth();

    CGridComboEditField& EditField() { return editField_; }
    int Row() const { return row_; }
    int Column() const { return column_; }
    const std::string& InitialText() const { return initialText_; }
    unsigned EndingKey() const { return endingKey_; }

    std::intptr_t windowProc(host::ui::Message& m) override;

protected:
    void postNcDestroy() override;

private:
    friend class CGridComboEditField;
    // Stores the key and hands the focus to the grid; the field's loss of focus ends the edit.
    void FinishWith(unsigned key);

    CGridComboEditField editField_;
    int listHeight_ = kListHeightInCells;
    std::string initialText_;
    int row_ = -1;
    int column_ = -1;
    unsigned endingKey_ = 0;
    bool reported_ = false;
    bool ownsItself_ = false;
};
