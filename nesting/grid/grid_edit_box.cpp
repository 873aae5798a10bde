// The grid's in-place edit box: opening over a cell, the keys that end the edit, growing while typing, and the
// report to the grid.
#include "nesting/grid/grid_edit_box.h"

#include <algorithm>

#include "host/ui/desktop.h"
#include "nesting/grid/grid_ctrl.h"

using namespace host::ui;

namespace {

// Shared by every grid of the module: an edit box's end that starts while one is being reported does nothing
// (closing the box takes its focus away, which would end it a second time).
bool editBoxEnding = false;

// Room left after the text when the box grows: two blanks.
constexpr std::string_view kGrowthSlack = "  ";

}  // namespace

CGridEditBox::~CGridEditBox() = default;

bool CGridEditBox::Open(CGridCtrl& grid, const Rect& rect, std::uint32_t alignStyle, int controlId, int row,
                        int column, const std::string& text, unsigned firstCharacter) {
    row_ = row;
    column_ = column;
    initialText_ = text;
    endingKey_ = 0;
    exitOnArrows_ = firstCharacter != VK_LBUTTON;
    rect_ = rect;
    if (!create(kEditClass, "", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL | alignStyle, rect, &grid,
                controlId))
        return false;
    ownsItself_ = true;

    setFont(grid.font(), true);
    setText(text);
    setFocus();

    const EditorStart start = EditBoxStart(firstCharacter);
    if (start.selectAll)
        setSel(0, -1);
    else
        setSel(length(), length());
    send(EM_SCROLLCARET);
    if (start.typesCharacter) post(firstCharacter < 128 ? WM_CHAR : WM_IME_CHAR, firstCharacter);
    return true;
}

void SendEndEditNotification(Window& editor, Window& target, int row, int column, unsigned endingKey) {
    GridCellNotifyRecord record;
    record.header = NotifyHeader{&editor, editor.id(), GridEndEditCode};
    record.item.row = row;
    record.item.column = column;
    record.item.mask = CellMaskText | CellMaskData;
    record.item.text = editor.text();
    record.item.data = endingKey;
    target.send(WM_NOTIFY, static_cast<std::uintptr_t>(editor.id()), lParamFromPointer(&record));
}

void CGridEditBox::postNcDestroy() {
    if (ownsItself_) delete this;
}

void CGridEditBox::FinishWith(unsigned key) {
    endingKey_ = key;
    Window* grid = parent();
    // A grid that cannot take the focus would leave the box open for good: end at once instead.
    if (!grid || !grid->isEnabled()) {
        EndEdit();
        return;
    }
    grid->setFocus();  // the box loses the focus and ends; it may be gone when this returns
}

void CGridEditBox::EndEdit() {
    if (editBoxEnding) return;
    editBoxEnding = true;
    Desktop& desktop = this->desktop();

    if (Window* target = ownerOrParent()) SendEndEditNotification(*this, *target, row_, column_, endingKey_);
    if (desktop.isWindow(this)) send(WM_CLOSE);  // the box is deleted with its window

    editBoxEnding = false;
}

void CGridEditBox::GrowToText() {
    Window* grid = parent();
    if (!grid) return;
    int width = 0;
    {
        ClientDC dc(*this);
        dc.selectFont(font());
        width = dc.textExtent(text() + std::string(kGrowthSlack)).width;
    }
    if (width <= rect_.width()) return;
    rect_.right = std::min(rect_.left + width, grid->clientRect().right);
    move(rect_);
}

bool CGridEditBox::preTranslateMessage(Message& m) {
    if (m.id == WM_SYSCHAR) return true;
    return Edit::preTranslateMessage(m);
}

std::intptr_t CGridEditBox::windowProc(Message& m) {
    switch (m.id) {
    case WM_KILLFOCUS:
        Edit::windowProc(m);
        EndEdit();  // the box is gone after this
        return 0;
    case WM_CHAR:
    case WM_IME_CHAR: {
        const auto c = static_cast<unsigned>(m.w);
        if (m.id == WM_CHAR && (c == VK_TAB || c == VK_RETURN)) {
            FinishWith(c);
            return 0;
        }
        if (m.id == WM_CHAR && c == VK_ESCAPE) {
            setText(initialText_);
            FinishWith(VK_ESCAPE);
            return 0;
        }
        const std::intptr_t result = Edit::windowProc(m);
        GrowToText();
        return result;
    }
    case WM_KEYDOWN: {
        const auto key = static_cast<unsigned>(m.w);
        if (IsEditEndingMoveKey(key) && (exitOnArrows_ || desktop().isKeyDown(VK_CONTROL))) {
            FinishWith(key);
            return 0;
        }
        break;
    }
    case WM_GETDLGCODE: return DLGC_WANTALLKEYS;
    default: break;
    }
    return Edit::windowProc(m);
}
