// Dialogs built from a template: the window with its controls, member objects bound to controls, WM_INITDIALOG,
// keyboard navigation (Tab, arrows in groups, mnemonics, Enter for the default button, Esc for Cancel), data
// exchange with its checks, and the modal loop that waits for EndDialog.
//
// What a modal dialog does, in order (doModal):
//   1. the window is made hidden from the template (client size from the template's units and font), centred on
//      its owner or the screen when the template says DS_CENTER or sits at 0, 0;
//   2. its controls are made row by row, in the template's order (which is the tab order); a row whose id has a
//      member bound to it (bindControl) becomes that member: a class with a factory is made and the member takes
//      it over (preSubclassWindow, then WM_SIZE to the member), a class without one is made by the member itself;
//   3. WM_SETFONT with the template's font to the dialog and every control;
//   4. WM_INITDIALOG (wParam: the first tab stop): onInitDialog(), whose default loads the fields (updateData
//      with false) and answers true, which gives the focus to the first tab stop;
//   5. the owner is disabled, the dialog shown, and the desktop pumped until endDialog() is called. When the
//      pump is idle, the desktop's idle handlers and then the dialog user (dialog_user.h) are asked to act;
//   6. when nobody acts, nobody can answer: onUnanswered() runs, by default onCancel() as for Esc (and the
//      dialog is ended with IDCANCEL if that does not end it); unanswered() tells so afterwards;
//   7. the owner is enabled again, the window destroyed, the focus given back to the window that had it.
// doModal answers the value given to endDialog(), or -1 when the dialog could not be made (creationError()
// says why: a class nobody registered, a custom class with nothing bound to make it).
//
// Commands: WM_COMMAND from IDOK runs onOK() (default: updateData(true) and endDialog(IDOK) when the fields
// pass their checks), from IDCANCEL (also Esc and the close box) onCancel() (default: endDialog(IDCANCEL)); the
// others go to onCommand(). WM_NOTIFY goes to onNotify(). While data is exchanged, notifications from the
// controls (WM_COMMAND and WM_NOTIFY) are not delivered: loading a field raises no EN_CHANGE a handler could
// take for the user's typing.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "host/ui/dialog_template.h"
#include "host/ui/window.h"

namespace host::ui {

class DataExchange;
class Desktop;

// The current desktop; a program that has none (cadhost) gets one, for the rest of its run, the first time it
// shows a dialog or a message box.
Desktop& dialogDesktop();

class Dialog : public Window {
public:
    explicit Dialog(DialogTemplate dialogTemplate, Window* owner = nullptr);
    ~Dialog() override;

    // The template; changes count until the window is made.
    const DialogTemplate& dialogTemplate() const { return template_; }
    DialogTemplate& dialogTemplate() { return template_; }
    Window* dialogOwner() const { return owner_; }
    void setDialogOwner(Window* owner) { owner_ = owner; }

    // [SECTION] Modal and modeless
    // Shows the dialog modally (see the steps above) and answers what endDialog() was given, -1 when it could
    // not be made. The object can be shown again afterwards.
    std::intptr_t doModal();
    // Ends the modal loop with `result` (the window goes when doModal returns). Before the loop (in
    // onInitDialog) the loop does not start.
    void endDialog(std::intptr_t result);
    bool isModal() const { return modal_; }
    bool hasEnded() const { return ended_; }
    std::intptr_t result() const { return result_; }
    // True when the last doModal ended because nobody acted on the dialog.
    bool unanswered() const { return unanswered_; }
    // A number that tells one showing of the dialog from another (each doModal and createModeless takes a new
    // one), for users that remember what they did to a dialog.
    std::uint64_t showing() const { return showing_; }
    // Makes the dialog without a modal loop: a top-level modeless dialog owned by `parent`, or, with WS_CHILD in
    // the template's style, a child of `parent` (a property page, a page inside a tab control). Runs steps 1-4.
    bool createModeless(Window* parent);
    const std::string& creationError() const { return creationError_; }

    // The innermost modal dialog running now (the one the user answers), nullptr when none; and all of them,
    // outermost first.
    static Dialog* activeModal();
    static std::vector<Dialog*> modalDialogs();

    // [SECTION] Controls
    // Binds `member` to the control with `id` (DDX_Control): before the window exists the binding is kept and
    // made when the control is; afterwards the member takes over the live control now. False when the id has no
    // control (after creation) or another member is bound to it.
    bool bindControl(int id, Window& member);
    // The control with `id` (GetDlgItem), nullptr when none.
    Window* item(int id) const { return child(id); }
    std::string itemText(int id) const;
    bool setItemText(int id, std::string_view text);
    // The id of the default push button (DM_GETDEFID): the one the template marks BS_DEFPUSHBUTTON or set by
    // setDefaultId, else IDOK.
    int defaultId() const { return defaultId_; }
    // DM_SETDEFID: moves the default mark (BS_DEFPUSHBUTTON) to the button `id`.
    void setDefaultId(int id);
    // Gives the focus to a control as the dialog does (WM_NEXTDLGCTL): an edit gets all its text selected.
    void gotoControl(Window& control);

    // [SECTION] Data exchange
    // Runs doDataExchange: `saveAndValidate` true reads the controls into the fields and checks them, false loads
    // the fields into the controls. False when a check refused a value: its message box was shown and the focus
    // set to the control it is about.
    bool updateData(bool saveAndValidate = true);
    bool isExchanging() const { return exchanging_ > 0; }

protected:
    // [SECTION] Hooks
    // WM_INITDIALOG, after the controls exist and the members are bound. Default: updateData(false), true.
    // Answer true to give the focus to the first tab stop, false when the hook set the focus itself.
    virtual bool onInitDialog();
    // Moves data between the fields of the derived class and the controls (data_exchange.h).
    virtual void doDataExchange(DataExchange& dx);
    // IDOK: default updateData(true), then endDialog(IDOK) when it passed.
    virtual void onOK();
    // IDCANCEL, Esc, the close box: default endDialog(IDCANCEL).
    virtual void onCancel();
    // Nobody acted on the modal dialog (step 6): default onCancel(), then endDialog(IDCANCEL) when that did not
    // end it. A dialog whose cancel answer is another (a message box with Yes and No) ends itself here.
    virtual void onUnanswered();
    // WM_COMMAND other than IDOK and IDCANCEL; answer true when handled.
    virtual bool onCommand(int id, int code, Window* control);
    // WM_NOTIFY; answer true when handled, with the message's answer in `result`.
    virtual bool onNotify(const NotifyHeader& header, std::intptr_t& result);

    // Called before the window is made from the template: a dialog that builds its template from its parts (a
    // property sheet from its pages) builds it here.
    virtual void prepareTemplate();

    std::intptr_t windowProc(Message& m) override;
    bool preTranslateMessage(Message& m) override;

private:
    struct Binding {
        int id = 0;
        Window* member = nullptr;
    };

    bool createFromTemplate(Window* parent, bool modal);
    bool createItems(Size baseUnits, const Font& font);
    bool createItem(const DialogItem& row, const Rect& rect, const Font& font);
    Window* memberFor(int id) const;
    void fail(std::string why);
    void runModalLoop();
    void restoreAfterModal(Window* focusBefore);

    DialogTemplate template_;
    Window* owner_ = nullptr;
    std::vector<Binding> bindings_;
    Font font_;
    int defaultId_ = IDOK;
    bool modal_ = false;
    bool ended_ = false;
    bool unanswered_ = false;
    std::uint64_t showing_ = 0;
    std::intptr_t result_ = 0;
    int exchanging_ = 0;
    std::string creationError_;
};

}  // namespace host::ui
