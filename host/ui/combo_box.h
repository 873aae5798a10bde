// The combo box ("ComboBox"): a list of strings with a current one, shown in a selection field: an edit child
// (id kComboEditId) the user may type in (CBS_SIMPLE, CBS_DROPDOWN), or a plain field (CBS_DROPDOWNLIST). The
// list is always shown below the field (CBS_SIMPLE) or drops down as a popup window of class "ComboLBox"
// (the others). Items may be kept sorted (CBS_SORT); searches are those of the list box (list_box.h).
//
// What one user action sends to the owner (WM_COMMAND), in this order:
//   click on the field (drop-down list) or the      CBN_DROPDOWN, then the list shows (the owner may fill
//   button, F4, Alt+Down                            the list on CBN_DROPDOWN)
//   click on an item of the dropped list            CBN_SELCHANGE (when another item), CBN_SELENDOK,
//                                                   CBN_CLOSEUP
//   Enter with the list dropped                     as a click on the highlighted item
//   Esc, F4, a click outside, or the field again    CBN_SELENDCANCEL, CBN_CLOSEUP; the selection stays
//   Up, Down, PgUp, PgDn (and Home, End without     the current item moves; the edit shows it, all selected;
//   an edit), dropped or not                        CBN_SELCHANGE
//   a character (drop-down list)                    the next item starting with it, as a move
//   typing in the edit                              CBN_EDITUPDATE, CBN_EDITCHANGE; with the list dropped the
//                                                   first item starting with the text is highlighted
//   focus comes in / goes out of the combo          CBN_SETFOCUS / CBN_KILLFOCUS (losing the focus closes a
//                                                   dropped list first); moves between the combo and its edit
//                                                   send nothing
// A program's changes (CB_SETCURSEL, CB_SELECTSTRING, WM_SETTEXT, adding, removing) send nothing.
//
// Text: WM_GETTEXT answers the edit's text, or for a drop-down list the current item's. WM_SETTEXT sets the
// edit's text and makes current the item equal to it (or none); a drop-down list makes current the item equal
// to the text and answers CB_ERR (changing nothing) when there is none. CB_SELECTSTRING selects the first item
// starting with the text after wParam, wrapping; an empty text finds nothing, so an empty field never picks the
// first item. Messages take and give text as the list box's do (CB_GETLBTEXT: wParam index, std::string*).
// WM_CHAR sent to a combo with an edit is typed into the edit. CB_SETITEMHEIGHT(-1) sets the selection field's
// height, any other index the list items'. CB_GETEDITSEL: wParam/lParam int* (or the packed answer),
// CB_SETEDITSEL: lParam = makeLParam(start, end).
//
// WS_VSCROLL and WS_HSCROLL in a combo's style are for its list: the combo window itself has no scroll bars.
//
// The height given at creation is the field and the dropped list together (as in dialog templates): the combo
// keeps the field's height and the list shows as many items as the rest holds (at least one; kMaxDroppedItems
// when the rest holds none).
//
// Its items live in the object: a dialog that binds its own ComboBox to a template's combo (adopt) should do
// so before filling it. The edit child and the list window stay with the window.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "host/ui/dc.h"
#include "host/ui/list_box.h"
#include "host/ui/window.h"

namespace host::ui {

class Edit;
class ComboList;

class ComboBox : public Window {
public:
    static constexpr int kMaxDroppedItems = 30;
    // The sunken edge around the selection field, and the space between it and the field's text.
    static constexpr int kFieldEdge = 2;
    static constexpr int kFieldPadding = 1;
    // Space between an item's left edge and its text.
    static constexpr int kTextMargin = 2;

    ComboBox();
    ~ComboBox() override;

    int comboType() const;  // CBS_SIMPLE, CBS_DROPDOWN or CBS_DROPDOWNLIST
    bool hasEdit() const { return comboType() != CBS_DROPDOWNLIST; }

    // [SECTION] Items
    int count() const { return items_.count(); }
    int addString(std::string_view text);
    int insertString(int index, std::string_view text);
    int deleteString(int index);  // answers the count left, or CB_ERR
    void resetContent();
    std::string itemText(int index) const;
    std::intptr_t itemData(int index) const;
    bool setItemData(int index, std::intptr_t data);
    const ItemList& items() const { return items_; }

    // [SECTION] Selection
    int currentSelection() const { return current_; }
    // CB_SETCURSEL: -1 selects nothing. The edit shows the item's text. Answers the index, or CB_ERR.
    int setCurrentSelection(int index);
    // CB_SELECTSTRING.
    int selectString(int start, std::string_view prefix);
    // Makes current the item whose text is `text` exactly, else one equal to it ignoring case. Answers whether
    // there was one; nothing is sent.
    bool selectExactText(std::string_view text);

    // [SECTION] The list
    bool isDropped() const { return dropped_; }
    // CB_SHOWDROPDOWN: drops the list (CBN_DROPDOWN first) or closes it (CBN_SELENDCANCEL, CBN_CLOSEUP).
    void showDropDown(bool show);
    Edit* edit() const;
    Window* listWindow() const;
    // The item highlighted in the dropped list (the current one when it drops).
    int highlighted() const { return hot_; }
    int topIndex() const { return top_; }
    int itemHeight() const;
    int fieldHeight() const;
    int droppedItemCount() const;  // the rows the dropped list shows
    // The selection field, its button, and where the dropped list goes (screen coordinates).
    Rect fieldRect() const;
    Rect buttonRect() const;
    Rect droppedRect() const;

    // Draws item `index` (-1: none) in `r`, highlighted or not, in the field and in the list. A colour combo
    // draws a swatch before the text.
    virtual void drawItem(DC& dc, int index, const Rect& r, bool highlighted);

    std::intptr_t windowProc(Message& m) override;
    bool preTranslateMessage(Message& m) override;

protected:
    void preSubclassWindow() override;

private:
    friend class ComboList;

    void createParts();
    void layoutParts();
    void setEditText(const std::string& text, bool selectAll);
    // What WM_GETTEXT answers: the edit's text, or the current item's for a drop-down list.
    std::string shownText() const;
    void syncStoredText();
    void closeUp(bool accept);
    // A user's move to another item: the selection changes, the edit shows it, CBN_SELCHANGE.
    void chooseByUser(int index);
    // A click on an item of the list (or Enter on the highlighted one).
    void chooseFromList(int index);
    void setHot(int index);
    void setTop(int index);
    // The rows the list shows: the dropped list's, or those of a simple combo's list.
    int visibleRows() const;
    void scrollToItem(int index);
    bool handleKey(unsigned vk, bool alt);
    void editChanged();
    void focusLeft(Window* newFocus);
    void focusCame();
    void paint();

    ItemList items_;
    int current_ = -1;
    int hot_ = -1;
    int top_ = 0;
    int listItemHeight_ = 0;   // 0: the font's line height
    int fieldItemHeight_ = 0;  // 0: the font's line height
    int droppedHeight_ = 0;    // the height given at creation for the field and the list
    int droppedWidth_ = 0;
    int horizontalExtent_ = 0;
    bool dropped_ = false;
    bool closing_ = false;
    bool settingEdit_ = false;
    bool focusInside_ = false;
};

// The list of a combo box: the popup of a drop-down combo, the child below a simple combo's field. It shows
// its combo's items and hands every choice to it.
class ComboList : public Window {
public:
    ComboList();
    ~ComboList() override;
    ComboBox* combo() const;
    int itemFromPoint(Point client) const;
    std::intptr_t windowProc(Message& m) override;

protected:
    void postNcDestroy() override;

private:
    friend class ComboBox;
    bool isPopup() const { return (style() & WS_CHILD) == 0; }
    void paint();
    void scrollBarClick(Point client);

    bool ownsItself_ = false;  // set once made: the object then ends with its window
};

}  // namespace host::ui
