// The tab control ("SysTabControl32"): a row of tabs over a page area, one current, chosen by a click or the
// arrow keys, with a selection change its owner may refuse.
//
// What a user's choice of another tab sends to the owner (WM_NOTIFY with a NotifyHeader), in this order:
//   TCN_SELCHANGING   answering nonzero refuses: the current tab stays and nothing else is sent
//   TCN_SELCHANGE     the new tab is current
// A click on the current tab, or a program's TCM_SETCURSEL, sends nothing. A click first takes the focus
// (unless TCS_FOCUSNEVER); when a kill-focus check elsewhere keeps the focus, the click is over and the tab stays.
// With the focus, every key sends TCN_KEYDOWN (a TabKeyDown record) first; Left and Right then move to the
// tab before or after, Home and End to the first and last, each as a user's choice.
//
// Tabs sit in one row from the left (TCS_MULTILINE is taken as a single row; tabs beyond the right edge are
// cut off, with no scroll arrows). Each is as wide as its text plus padding, or all as wide as the widest with
// TCS_FIXEDWIDTH. TCS_BUTTONS draws them as push buttons.
//
// Messages (lParam as listed): TCM_INSERTITEM (wParam index, const TabItem*; answers the index or -1),
// TCM_SETITEM / TCM_GETITEM (wParam index, TabItem*, the fields in its mask), TCM_DELETEITEM, TCM_DELETEALLITEMS,
// TCM_GETITEMCOUNT, TCM_GETCURSEL, TCM_SETCURSEL (answers the previous current tab or -1), TCM_GETITEMRECT
// (wParam index, Rect*), TCM_HITTEST (TabHitTest*; answers the index or -1), TCM_ADJUSTRECT (wParam FALSE: the
// window rectangle in, the page area out; TRUE: the other way), TCM_GETCURFOCUS, TCM_SETCURFOCUS (as a user's
// choice).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/ui/message.h"
#include "host/ui/window.h"

namespace host::ui {

// One tab (TCITEM): the fields that count are named by `mask` (TCIF_TEXT, TCIF_IMAGE, TCIF_PARAM).
struct TabItem {
    unsigned mask = TCIF_TEXT;
    std::string text;
    int image = -1;
    std::intptr_t param = 0;
};

// TCM_HITTEST's record: the client point asked about.
struct TabHitTest {
    Point point{};
};

// TCN_KEYDOWN's record.
struct TabKeyDown {
    NotifyHeader header;
    unsigned key = 0;
};

class TabControl : public Window {
public:
    // Space left and right of a tab's text; space above and below it; where the first tab starts.
    static constexpr int kTabPadding = 6;
    static constexpr int kRowPadding = 4;
    static constexpr int kRowIndent = 2;
    // How much the current tab stands out around its rectangle.
    static constexpr int kSelectedGrowth = 2;
    // The page area lies this far inside the frame below the tabs.
    static constexpr int kPageInset = 4;

    TabControl();
    ~TabControl() override;

    int itemCount() const { return static_cast<int>(items_.size()); }
    // Inserts before `index` (beyond the end appends); answers the index or -1.
    int insertItem(int index, const TabItem& item);
    bool deleteItem(int index);
    void deleteAllItems();
    // nullptr when there is no such tab.
    const TabItem* item(int index) const;
    bool setItem(int index, const TabItem& item);
    int currentSelection() const { return current_; }
    // As TCM_SETCURSEL: no notification; answers the previous current tab, or -1 (and no change) for an index
    // that names no tab.
    int setCurrentSelection(int index);
    // A user's choice of a tab, with TCN_SELCHANGING (which may refuse) and TCN_SELCHANGE. Answers whether the
    // tab is current afterwards.
    bool chooseTab(int index);

    // The height of the tab row.
    int rowHeight() const;
    // A tab's rectangle in client coordinates (as drawn when it is not current); empty for no such tab.
    Rect itemRect(int index) const;
    // The tab under a client point, or -1.
    int hitTest(Point client) const;
    // TCM_ADJUSTRECT.
    Rect adjustRect(const Rect& r, bool windowFromPage) const;

    std::intptr_t windowProc(Message& m) override;

private:
    void paint();

    std::vector<TabItem> items_;
    int current_ = -1;
    bool focused_ = false;
};

}  // namespace host::ui
