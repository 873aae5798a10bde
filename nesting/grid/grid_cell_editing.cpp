// The plain cell's side of in-place editing: opening its edit box, forwarding a character to an open one, and
// ending it.
#include "host/ui/constants.h"
#include "nesting/grid/grid_cell.h"
#include "nesting/grid/grid_ctrl.h"
#include "nesting/grid/grid_edit_box.h"

bool CGridCell::BeginEditing(int row, int column, const host::ui::Rect& rect, host::ui::Point, int controlId,
                             unsigned firstCharacter) {
    if (editing_) {
        if (editor_ != nullptr) editor_->send(host::ui::WM_CHAR, firstCharacter, 0);
        return true;
    }
    if (grid_ == nullptr) return false;

    const unsigned format = QueryFormat();
    std::uint32_t alignment = host::ui::ES_LEFT;
    if ((format & host::ui::DT_RIGHT) != 0)
        alignment = host::ui::ES_RIGHT;
    else if ((format & host::ui::DT_CENTER) != 0)
        alignment = host::ui::ES_CENTER;

    // The box may end (and tell the grid) before Open returns, so the cell is in edit mode first.
    auto* box = new CGridEditBox;
    SetEditor(box);
    if (!box->Open(*grid_, rect, alignment, controlId, row, column, text_, firstCharacter)) {
        // No window could be made: leave edit mode rather than forward every later character to a box that
        // has no window, and free the box, which would otherwise never delete itself.
        delete box;
        SetEditor(nullptr);
        return false;
    }
    return true;
}

void CGridCell::StopEditing() {
    if (auto* box = dynamic_cast<CGridEditBox*>(editor_)) box->EndEdit();
}
