// Property sheets: a modal dialog of pages behind tabs, with OK, Cancel and Apply (or no Apply), pages made the
// first time their tab is opened, pages that refuse to be left, and modified marks.
//
// A page is a dialog template whose caption is its tab's title; it becomes a child of the sheet (DS_CONTROL, no
// frame) placed in the tab control's display area. The sheet is as large as its largest page.
//
//   what happens                  the pages are told, in this order
//   the sheet starts              the start page is made (WM_INITDIALOG: onInitDialog, which loads its fields)
//                                 and shown (onSetActive)
//   a tab is clicked              the page shown: onKillActive (default: its fields are saved and checked); false
//                                 keeps it shown and the tab does not change. Then the new page is made if it is
//                                 new, onSetActive (default: its fields are loaded again, except the first time),
//                                 shown, and the old one hidden
//   OK                            the page shown: onKillActive (false: nothing more); then every page made so far,
//                                 in tab order: onApply (default: onOK, true); a page answering false is shown and
//                                 the sheet stays; else the marks are cleared and the sheet ends with IDOK
//   Apply (ID_APPLY_NOW)          the sheet's onApplyNow (default: as OK without ending; the Apply button is
//                                 then disabled again)
//   Cancel, Esc, the close box    the page shown: onQueryCancel (false: nothing more); every page made so far:
//                                 onReset (default: onCancel); the sheet ends with IDCANCEL. Nothing is saved.
//   setModified(true) on a page   Apply is enabled (PSM_CHANGED); when no page is marked it is disabled again
// PSH_NOAPPLYNOW leaves Apply out. The sheet also answers PSM_SETCURSEL (wParam: index), PSM_PRESSBUTTON
// (PSBTN_OK, PSBTN_CANCEL, PSBTN_APPLYNOW), PSM_APPLY, PSM_CHANGED / PSM_UNCHANGED (wParam: the page) and
// PSM_GETCURRENTPAGEHWND (answers the page shown).
#pragma once

#include <string>
#include <vector>

#include "host/ui/dialog.h"

namespace host::ui {

class PropertySheet;

// Control ids of the sheet: its tab control (the system's own id), OK, Cancel and Apply.
inline constexpr int kSheetTabControlId = 0x3020;

class PropertyPage : public Dialog {
public:
    explicit PropertyPage(DialogTemplate dialogTemplate);

    // The sheet the page is in (nullptr before addPage).
    PropertySheet* sheet() const { return sheet_; }
    // The tab's title: the template's caption.
    const std::string& title() const { return dialogTemplate().caption; }
    // Marks the page changed or not (PSM_CHANGED / PSM_UNCHANGED to the sheet).
    void setModified(bool changed = true);
    bool isModified() const { return modified_; }

    // [SECTION] What the sheet tells the page (see the table above); override to take part.
    // The page is about to be shown. Default: loads the fields (updateData(false)), except the first time, when
    // onInitDialog has just done it; answers true.
    virtual bool onSetActive();
    // The page is about to be left (another tab, OK, Apply). Default: updateData(true). False keeps it shown.
    virtual bool onKillActive();
    // OK or Apply, for every page made. Default: onOK(), true. False refuses: that page is shown and the sheet
    // stays.
    virtual bool onApply();
    // Cancel was pressed, for the page shown. Default: true. False keeps the sheet open.
    virtual bool onQueryCancel();
    // Cancel, for every page made. Default: onCancel().
    virtual void onReset();

protected:
    // The page's own OK and Cancel (from onApply and onReset); by default they do nothing: the fields were saved
    // when the page was left, and a cancelled sheet saves nothing.
    void onOK() override;
    void onCancel() override;

private:
    friend class PropertySheet;
    PropertySheet* sheet_ = nullptr;
    bool modified_ = false;
    bool activatedBefore_ = false;
};

class PropertySheet : public Dialog {
public:
    PropertySheet(std::string caption, Window* owner = nullptr, int startPage = 0);

    // Adds a page after the others (before the sheet is shown). The page object must outlive the sheet's window.
    void addPage(PropertyPage& page);
    int pageCount() const { return static_cast<int>(pages_.size()); }
    PropertyPage* page(int index) const;
    // PSH_* flags: PSH_NOAPPLYNOW leaves the Apply button out.
    void setFlags(unsigned flags) { flags_ = flags; }
    unsigned flags() const { return flags_; }
    void setStartPage(int index) { startPage_ = index; }

    // The page shown (-1 and nullptr before the sheet is shown).
    int activeIndex() const { return active_; }
    PropertyPage* activePage() const;
    // Shows another page as a click on its tab would: false when the page shown refuses to be left or the index
    // is out of range.
    bool setActivePage(int index);
    // Presses OK, Cancel or Apply (PSBTN_*), as a click would; false when the sheet has no such button.
    bool pressButton(int button);
    // The Apply steps: the page shown is left and every page made is applied; false when a page refused.
    bool applyPages();
    Window* tabControl() const { return item(kSheetTabControlId); }
    // Whether the Apply button is enabled now (false when there is none).
    bool isApplyEnabled() const;

protected:
    // Apply was pressed. Default: applyPages(), then the Apply button is disabled.
    virtual void onApplyNow();

    bool onInitDialog() override;
    void onOK() override;
    void onCancel() override;
    bool onCommand(int id, int code, Window* control) override;
    bool onNotify(const NotifyHeader& header, std::intptr_t& result) override;
    std::intptr_t windowProc(Message& m) override;
    void prepareTemplate() override;

private:
    bool leaveActivePage();
    void activate(int index);
    bool makePage(PropertyPage& page);
    void updateApplyButton();
    Rect pageArea() const;

    std::vector<PropertyPage*> pages_;
    unsigned flags_ = 0;
    int startPage_ = 0;
    int active_ = -1;
};

}  // namespace host::ui
