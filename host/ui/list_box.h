// The list box control ("ListBox"): a column of strings, each with a value of the program's (item data), with
// one selected item, or several (LBS_MULTIPLESEL, LBS_EXTENDEDSEL), optionally kept sorted (LBS_SORT).
// ItemList, the strings with their searches, is shared with the combo box.
//
// What one user action sends to the owner (WM_COMMAND; all of them only with LBS_NOTIFY), in this order:
//   mouse press on an item          takes the focus; the item is selected (toggled with LBS_MULTIPLESEL, with
//                                   Ctrl under LBS_EXTENDEDSEL; Shift selects the range from the anchor)
//   dragging with the button down   the selection follows the mouse (single selection)
//   release                         LBN_SELCHANGE when the selection differs from before the press
//   double click                    LBN_SELCHANGE if changed, then LBN_DBLCLK
//   Up, Down, PgUp, PgDn, Home, End the caret moves and the selection with it (not with LBS_MULTIPLESEL, nor
//                                   with Ctrl under LBS_EXTENDEDSEL; Shift extends); LBN_SELCHANGE at once
//   Space (LBS_MULTIPLESEL)         toggles the caret item; LBN_SELCHANGE
//   a character                     the next item that starts with it, as a move of the caret
//   focus gained / lost             LBN_SETFOCUS / LBN_KILLFOCUS
// A program's changes (LB_SETCURSEL, LB_SETSEL, LB_SELECTSTRING, adding and removing) send nothing.
//
// Searches (LB_FINDSTRING, LB_SELECTSTRING: an item that starts with the text; LB_FINDSTRINGEXACT: an item that
// equals it) ignore the case of ASCII and Cyrillic letters, start after the item given in wParam (-1: from the
// first) and wrap round to the start. An empty text finds nothing. Sorting compares the same way; equal
// strings keep the order they were added in.
//
// Messages take text as const char* (UTF-8) in lParam and give it into a std::string* in lParam
// (LB_GETTEXT answers the length in bytes). LB_GETSELITEMS: wParam = the most wanted, lParam = int*.
// LB_GETITEMRECT: lParam = Rect*. LB_ITEMFROMPOINT: lParam = the client point; answers makeLParam(index, 1 when
// the point is below the last item). Errors answer LB_ERR.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "host/ui/window.h"

namespace host::ui {

class ItemList {
public:
    struct Item {
        std::string text;
        std::intptr_t data = 0;
        bool selected = false;
    };

    int count() const { return static_cast<int>(items_.size()); }
    bool valid(int index) const { return index >= 0 && index < count(); }
    // Appends, or with `sorted` inserts after the last item not greater than `text`; answers the index.
    int add(std::string_view text, bool sorted);
    // Inserts before `index` (-1 or beyond the end appends); answers the index.
    int insert(int index, std::string_view text);
    bool remove(int index);
    void clear() { items_.clear(); }
    const Item& operator[](int index) const { return items_[static_cast<std::size_t>(index)]; }
    Item& operator[](int index) { return items_[static_cast<std::size_t>(index)]; }
    // The searches described above; -1 when nothing matches.
    int findPrefix(int start, std::string_view prefix) const;
    int findExact(int start, std::string_view text) const;
    // An item equal to `text` as it is spelled, else one equal to it ignoring case; -1 when none.
    int findText(std::string_view text) const;

private:
    std::vector<Item> items_;
};

class ListBox : public Window {
public:
    // Space between the left edge and an item's text.
    static constexpr int kTextMargin = 2;

    ListBox();
    ~ListBox() override;

    bool isMultiple() const;  // LBS_MULTIPLESEL or LBS_EXTENDEDSEL
    int count() const { return items_.count(); }
    int addString(std::string_view text);
    int insertString(int index, std::string_view text);
    int deleteString(int index);  // answers the count left, or LB_ERR
    void resetContent();
    std::string itemText(int index) const;
    std::intptr_t itemData(int index) const;
    bool setItemData(int index, std::intptr_t data);

    // Single selection: the selected item or -1. Multiple selection: the caret item.
    int currentSelection() const;
    // LB_SETCURSEL (single selection only; -1 selects nothing). Answers the index, or LB_ERR.
    int setCurrentSelection(int index);
    bool isSelected(int index) const;
    // LB_SETSEL (multiple selection only; index -1 is every item). Answers false for a single-selection box.
    bool setSelected(int index, bool on);
    std::vector<int> selectedItems() const;
    int caretIndex() const { return caret_; }
    int topIndex() const { return top_; }
    void setTopIndex(int index);
    int itemHeight() const;
    void setItemHeight(int height);
    // The item under a client point, or -1.
    int itemFromPoint(Point client) const;
    Rect itemRect(int index) const;
    int visibleCount() const;
    const ItemList& items() const { return items_; }

    std::intptr_t windowProc(Message& m) override;

protected:
    void preSubclassWindow() override;

private:
    struct Snapshot {
        std::vector<bool> selected;
        bool operator==(const Snapshot&) const = default;
    };
    Snapshot snapshot() const;
    void press(int index, unsigned keys);
    void moveCaret(int to);
    void selectOnly(int index);
    void selectRange(int from, int to);
    void ensureVisible(int index);
    void updateScrollBars();
    void notifyIfChanged(const Snapshot& before);
    void paint();

    ItemList items_;
    int caret_ = -1;
    int anchor_ = -1;
    int top_ = 0;
    int itemHeight_ = 0;  // 0: the font's line height
    bool focused_ = false;
    bool tracking_ = false;
    bool scrolls_ = false;  // made with WS_VSCROLL: the bar comes and goes with the need for it
    Snapshot beforePress_;
};

}  // namespace host::ui
