// Keyboard navigation in a dialog (what IsDialogMessage does), for a dialog's preTranslateMessage.
//
// The control with the focus is asked WM_GETDLGCODE (wParam = the key, lParam = the Message*) and keeps what
// it claims:
//   Tab, Shift+Tab (also with Ctrl)  next / previous WS_TABSTOP control that is visible and enabled, wrapping;
//                                    unless DLGC_WANTTAB or DLGC_WANTALLKEYS. An edit that gets the focus this
//                                    way (DLGC_HASSETSEL) has all its text selected.
//   arrows                           next / previous control of the same WS_GROUP, wrapping; an automatic radio
//                                    button reached this way is clicked; unless DLGC_WANTARROWS or WANTALLKEYS
//   Enter                            the focused push button, else the default button (DM_GETDEFID), else IDOK,
//                                    as WM_COMMAND BN_CLICKED to the dialog; unless DLGC_WANTALLKEYS
//   Esc                              WM_COMMAND IDCANCEL to the dialog; unless DLGC_WANTALLKEYS
//   Alt+letter (WM_SYSCHAR)          the control whose text marks that letter with '&': a button is clicked,
//                                    a label passes the focus to the next tab stop after it
// The WM_CHAR that follows a Tab, Enter or Esc the dialog used is swallowed too.
#pragma once

#include "host/ui/message.h"

namespace host::ui {

class Window;

// Answers true when the message was used for navigation and must not be dispatched. Only keyboard messages for
// `dialog` or its descendants are looked at.
bool routeDialogKey(Window& dialog, const Message& m);

// The next (or previous) tab stop after `from` among the dialog's controls (nested DS_CONTROL / WS_EX_CONTROLPARENT
// children are entered), wrapping; nullptr when there is none. `from` may be nullptr (start from the ends).
Window* nextTabStop(Window& dialog, Window* from, bool backwards);
// The next (or previous) control in `from`'s WS_GROUP, wrapping, skipping hidden and disabled ones.
Window* nextGroupItem(Window& dialog, Window* from, bool backwards);
// The dialog's default push button id: DM_GETDEFID when it names one, else IDOK.
int defaultButtonId(Window& dialog);

}  // namespace host::ui
