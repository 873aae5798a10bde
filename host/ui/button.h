// The button control ("Button"): push and default push buttons, check boxes (manual, automatic, three-state),
// radio buttons (manual and automatic, with their group) and the group box, by BS_* type.
//
// What one user action does and sends to the owner (WM_COMMAND), in this order:
//   press (mouse down or Space down)   takes the focus, shows the button pushed; nothing sent
//   release over the button            un-pushes; an automatic check box steps its check (unchecked, checked,
//   (mouse up or Space up)             and indeterminate for BS_AUTO3STATE), an automatic radio button checks
//                                      itself and unchecks the other automatic radio buttons of its group;
//                                      then BN_CLICKED. A manual check box or radio button only sends BN_CLICKED.
//   release elsewhere                  un-pushes; nothing sent
//   double click                       a radio button (or any button with BS_NOTIFY) sends BN_DOUBLECLICKED; the
//                                      others take it as a second press
//   focus gained / lost                BN_SETFOCUS / BN_KILLFOCUS with BS_NOTIFY only
//   BM_CLICK from a program            as a press and release over the button
// BM_SETCHECK never notifies. A radio group runs from the nearest earlier sibling with WS_GROUP (or the first
// child) to the next sibling with WS_GROUP. An automatic radio button that is checked takes WS_TABSTOP and the
// others of its group lose it, so Tab reaches a group at its checked button. A group box never takes the mouse
// (HTTRANSPARENT): clicks go to what lies under it.
//
// Messages: BM_GETCHECK, BM_SETCHECK (BST_*), BM_GETSTATE (check | BST_PUSHED | BST_FOCUS), BM_SETSTATE (pushed
// look), BM_SETSTYLE (the dialog's default-button moves; lParam = redraw), BM_CLICK, BM_SETIMAGE / BM_GETIMAGE
// (wParam IMAGE_BITMAP, lParam = const BitmapPtr*; answers the previous bitmap's Bitmap*, for comparison only).
// Owner-drawn buttons (BS_OWNERDRAW) are drawn as push buttons.
#pragma once

#include <cstdint>
#include <vector>

#include "host/ui/image.h"
#include "host/ui/window.h"

namespace host::ui {

class Button : public Window {
public:
    // The side of the box of a check box or radio button, and the gap between it and the text, in pixels.
    static constexpr int kBoxSize = 13;
    static constexpr int kBoxGap = 4;

    Button();
    ~Button() override;

    // The BS_* type (BS_TYPEMASK part of the style).
    std::uint32_t buttonType() const;
    bool isCheckBox() const;
    bool isRadioButton() const;
    bool isPushButton() const;
    bool isGroupBox() const;

    int check() const { return check_; }  // BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE
    void setCheck(int state);             // BM_SETCHECK
    bool isPushed() const { return pushed_; }
    // BM_CLICK: presses and releases the button as a user would.
    void click();
    void setBitmap(BitmapPtr bitmap);
    const BitmapPtr& bitmap() const { return bitmap_; }

    std::intptr_t windowProc(Message& m) override;

protected:
    void preSubclassWindow() override;

private:
    void setPushed(bool on);
    void released(bool inside);
    void checkInGroup();
    void paint();
    void paintPush(DC& dc, const Rect& client);
    void paintCheck(DC& dc, const Rect& client);
    void paintGroupBox(DC& dc, const Rect& client);

    int check_ = BST_UNCHECKED;
    bool pushed_ = false;
    bool tracking_ = false;    // the mouse button went down on us and is still down
    bool spaceDown_ = false;
    bool focused_ = false;
    BitmapPtr bitmap_;
};

// CheckRadioButton: checks `checkId` and unchecks every other button with an id from firstId to lastId among
// the children of `parent`. Sends no notification.
void checkRadioButton(Window& parent, int firstId, int lastId, int checkId);

// The radio buttons of `button`'s group, in tab order (the button itself among them).
std::vector<Window*> radioGroupOf(Window& button);

}  // namespace host::ui
