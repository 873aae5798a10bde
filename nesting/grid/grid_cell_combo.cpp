// The combo cell: its class record, opening and ending its combo box, its drop button and its size.
#include "nesting/grid/grid_cell_combo.h"

#include <algorithm>
#include <memory>

#include "host/ui/desktop.h"
#include "nesting/grid/grid_combo_box.h"
#include "nesting/grid/grid_ctrl.h"

using namespace host::ui;

namespace {

int Metric(const CGridCtrl* grid, int index) {
    if (grid) return grid->desktop().systemMetric(index);
    Desktop* desktop = Desktop::current();
    return desktop ? desktop->systemMetric(index) : 0;
}

}  // namespace

CGridCellCombo::~CGridCellCombo() = default;

const GridCellClass& CGridCellCombo::GetThisClass() {
    static const GridCellClass record{"CGridCellCombo", &CGridCell::GetThisClass(),
                                      &CreateGridCell<CGridCellCombo>};
    return record;
}

const GridCellClass& CGridCellCombo::GetRuntimeClass() const { return GetThisClass(); }

CGridComboBox* CGridCellCombo::OpenCombo() const {
    // The combo deletes itself with its window; one that went without telling the cell is not looked into.
    if (!editor_) return nullptr;
    Desktop* desktop = grid_ ? &grid_->desktop() : Desktop::current();
    if (!desktop || !desktop->isWindow(editor_)) return nullptr;
    return dynamic_cast<CGridComboBox*>(editor_);
}

bool CGridCellCombo::BeginEditing(int row, int column, const Rect& rect, Point, int controlId,
                                  unsigned firstCharacter) {
    // A second combo over the first would leave the first open with nobody to end it: a combo already open
    // takes the character instead.
    if (CGridComboBox* open = OpenCombo()) {
        open->send(WM_CHAR, firstCharacter);
        return true;
    }
    if (!grid_) return false;
    auto combo = std::make_unique<CGridComboBox>();
    // The combo is the editor from the start: it may report (and end the edit mode again) while it opens.
    SetEditor(combo.get());
    if (!combo->Open(*grid_, rect, comboStyle_, controlId, row, column, choices_, text_, firstCharacter)) {
        SetEditor(nullptr);  // no window: out of edit mode, and the object goes with `combo`
        return false;
    }
    static_cast<void>(combo.release());  // deletes itself when its window ends
    return true;
}

Window* CGridCellCombo::QueryEditor() const {
    CGridComboBox* combo = OpenCombo();
    return combo ? &combo->EditField() : nullptr;
}

void CGridCellCombo::StopEditing() {
    if (CGridComboBox* combo = OpenCombo()) combo->EndEdit();
}

bool CGridCellCombo::Paint(DC* dc, int row, int column, Rect& rect, bool eraseBackground) {
    const bool open = OpenCombo() != nullptr;
    if (dc && grid_ && !open && grid_->IsCellEditable(row, column)) {
        const int buttonWidth = Metric(grid_, SM_CXVSCROLL);
        const int buttonHeight = Metric(grid_, SM_CYHSCROLL);
        // The rectangle includes its right and bottom edges, where the grid lines run: the button must fit
        // in the area inside them (a button as tall as that area fits) and leave room for text beside it.
        if (buttonHeight <= rect.height() && buttonWidth < rect.width()) {
            // The button ends before the grid line, and the cell is drawn up to the pixel before the button.
            const Rect button{rect.right - buttonWidth, rect.top, rect.right, rect.top + buttonHeight};
            dc->drawFrameControl(button, DFC_SCROLL, DFCS_SCROLLDOWN);
            rect.right = button.left - 1;
        }
    }
    if (!open) return CGridCell::Paint(dc, row, column, rect, eraseBackground);
    std::string kept;
    kept.swap(text_);
    const bool painted = CGridCell::Paint(dc, row, column, rect, eraseBackground);
    text_.swap(kept);
    return painted;
}

Size CGridCellCombo::MeasureCell(DC* dc) {
    Size size = CGridCell::MeasureCell(dc);
    size.width += Metric(grid_, SM_CXVSCROLL);
    size.height = std::max(size.height, Metric(grid_, SM_CYHSCROLL));
    return size;
}
