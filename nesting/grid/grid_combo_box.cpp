// The grid's in-place combo box and its edit field: opening over a combo cell, the keys that end the edit, the
// width of the dropped list, and the report to the grid.
#include "nesting/grid/grid_combo_box.h"

#include <algorithm>

#include "host/ui/desktop.h"
#include "nesting/grid/grid_ctrl.h"
#include "nesting/grid/grid_edit_box.h"

using namespace host::ui;

// [SECTION] The edit field

CGridComboEditField::~CGridComboEditField() = default;

CGridComboBox* CGridComboEditField::Combo() const { return dynamic_cast<CGridComboBox*>(parent()); }

bool CGridComboEditField::preTranslateMessage(Message& m) {
    // Keys are handled here and now, so the dialog around the grid never sees Tab, Enter or Esc.
    if (m.id == WM_KEYDOWN || m.id == WM_KEYUP) {
        Desktop& desktop = this->desktop();
        desktop.translateMessage(m);
        desktop.dispatch(m);
        return true;
    }
    if (m.id == WM_SYSCHAR) return true;
    return Edit::preTranslateMessage(m);
}

std::intptr_t CGridComboEditField::windowProc(Message& m) {
    CGridComboBox* combo = Combo();
    switch (m.id) {
    case WM_KEYDOWN: {
        const auto key = static_cast<unsigned>(m.w);
        if (key == VK_TAB) tabDown_ = true;
        if (key == VK_RETURN) returnDown_ = true;
        if (key == VK_ESCAPE) escapeDown_ = true;
        if (!combo) break;
        if (IsEditEndingMoveKey(key) && desktop().isKeyDown(VK_CONTROL)) {
            combo->send(WM_KEYDOWN, m.w, m.l);
            return 0;
        }
        // The keys a combo takes from its edit: Up, Down and the page keys through the list, F4 and Alt+arrows
        // for the list, Enter and Esc on the dropped list.
        if (combo->ComboBox::preTranslateMessage(m)) return 0;
        break;
    }
    case WM_KEYUP: {
        const auto key = static_cast<unsigned>(m.w);
        bool* seen = key == VK_TAB ? &tabDown_ : key == VK_RETURN ? &returnDown_ : key == VK_ESCAPE ? &escapeDown_
                                                                                                : nullptr;
        if (seen && *seen && combo) {
            *seen = false;
            combo->send(WM_KEYUP, m.w, m.l);
            return 0;
        }
        break;
    }
    case WM_KILLFOCUS:
        Edit::windowProc(m);
        if (combo) combo->EndEdit();
        return 0;
    default: break;
    }
    return Edit::windowProc(m);
}

// [SECTION] The combo box

CGridComboBox::~CGridComboBox() = default;

bool CGridComboBox::Open(CGridCtrl& grid, const Rect& rect, std::uint32_t style, int controlId, int row, int column,
                         const std::vector<std::string>& choices, const std::string& text, unsigned firstCharacter) {
    initialText_ = text;
    row_ = row;
    column_ = column;
    endingKey_ = 0;
    listHeight_ = kListHeightInCells;

    const int cellHeight = rect.height();
    Rect area = rect;
    area.bottom += grid.desktop().systemMetric(SM_CYHSCROLL) + listHeight_ * cellHeight;
    if (!create(kComboBoxClass, "", style | WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_BORDER | CBS_AUTOHSCROLL, area,
                &grid, controlId))
        return false;
    ownsItself_ = true;

    for (const std::string& choice : choices) addString(choice);
    setFont(grid.font(), true);
    send(CB_SETITEMHEIGHT, static_cast<std::uintptr_t>(-1), cellHeight);
    send(CB_SETDROPPEDWIDTH, static_cast<std::uintptr_t>(ComputeDropWidth()));
    send(CB_SETHORIZONTALEXTENT, 0);

    // Only the choice spelled exactly as the cell's text is taken: a choice that merely starts with it would
    // change the cell ("3" becoming "30") when the user leaves without choosing.
    const auto match = std::find(choices.begin(), choices.end(), text);
    if (!text.empty() && match != choices.end())
        send(CB_SETCURSEL, static_cast<std::uintptr_t>(match - choices.begin()));
    else
        setText(text);
    send(CB_SHOWDROPDOWN, 1);

    if (Edit* field = edit()) editField_.adopt(*field);
    if (!editField_.exists()) return true;
    editField_.setFocus();
    const EditorStart start = ComboBoxStart(firstCharacter);
    if (start.selectAll)
        editField_.setSel(0, -1);
    else
        editField_.setSel(editField_.length(), editField_.length());
    if (start.typesCharacter) send(WM_CHAR, firstCharacter);
    return true;
}

void CGridComboBox::postNcDestroy() {
    if (ownsItself_) delete this;
}

int CGridComboBox::ComputeDropWidth() {
    ClientDC dc(*this);
    dc.selectFont(font());
    int width = 0;
    if (count() > 0) {
        for (int i = 0; i < count(); ++i) width = std::max(width, dc.textExtent(itemText(i)).width);
        width += desktop().systemMetric(SM_CXVSCROLL);
    }
    width += dc.textExtent("0").width;
    return std::min(width, kMaxDropWidth);
}

void CGridComboBox::FinishWith(unsigned key) {
    endingKey_ = key;
    Window* grid = parent();
    if (!grid || !grid->isEnabled()) {
        EndEdit();
        return;
    }
    grid->setFocus();  // the field loses the focus and ends the edit
}

void CGridComboBox::EndEdit() {
    // Closing is posted, and the field loses the focus once more when the combo goes: one report is enough.
    if (reported_) return;
    reported_ = true;
    Desktop& desktop = this->desktop();

    Window* target = ownerOrParent();
    if (target && desktop.isWindow(target)) SendEndEditNotification(*this, *target, row_, column_, endingKey_);
    if (desktop.isWindow(this)) post(WM_CLOSE);
}

std::intptr_t CGridComboBox::windowProc(Message& m) {
    switch (m.id) {
    case WM_KEYDOWN: {
        const auto key = static_cast<unsigned>(m.w);
        if (IsEditEndingMoveKey(key) && desktop().isKeyDown(VK_CONTROL)) {
            FinishWith(key);
            return 0;
        }
        break;
    }
    case WM_KEYUP: {
        const auto key = static_cast<unsigned>(m.w);
        if (key == VK_ESCAPE) {
            setText(initialText_);
            FinishWith(VK_ESCAPE);
            return 0;
        }
        if (key == VK_TAB || key == VK_RETURN) {
            FinishWith(key);
            return 0;
        }
        break;
    }
    case CB_SHOWDROPDOWN:
        // The list drops as wide as its items need, whatever was set since.
        if (m.w != 0) send(CB_SETDROPPEDWIDTH, static_cast<std::uintptr_t>(ComputeDropWidth()));
        break;
    case WM_GETDLGCODE: return DLGC_WANTALLKEYS;
    default: break;
    }
    return ComboBox::windowProc(m);
}
