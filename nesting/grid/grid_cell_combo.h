// The combo cell: a grid cell that takes one value of a list of choices, edited through an in-place combo box
// (an editable field with a dropped list), and drawn with a drop button while it can be edited.
//
// The dialogs make one by class through the grid's cell-class replacement (SetCellClass with
// CGridCellCombo::GetThisClass()) and then give it its choices (SetChoiceList).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/ui/constants.h"
#include "nesting/grid/grid_cell.h"

class CGridComboBox;

class CGridCellCombo : public CGridCell {
public:
    CGridCellCombo() = default;
    ~CGridCellCombo() override;

    static const GridCellClass& GetThisClass();
    const GridCellClass& GetRuntimeClass() const override;

    // Replaces the choices by a copy of `choices`, in order.
    void SetChoiceList(const std::vector<std::string>& choices) { choices_ = choices; }
    const std::vector<std::string>& ChoiceList() const { return choices_; }
    // An editable field with a list (CBS_DROPDOWN); the only style a combo cell has.
    std::uint32_t ComboStyle() const { return comboStyle_; }

    // Opens a CGridComboBox over the cell with the choices and the cell's text; while one is open, only forwards
    // the character to it. When the combo's window cannot be made, the cell stays out of edit mode and the
    // answer is false.
    bool BeginEditing(int row, int column, const host::ui::Rect& rect, host::ui::Point point, int controlId,
                      unsigned firstCharacter) override;
    // The open combo's edit field; null when no combo is open.
    host::ui::Window* QueryEditor() const override;
    // Ends the open combo's edit now (it reports to the grid as when the user leaves it).
    void StopEditing() override;

    // Draws the drop button (a scroll bar's arrow button) in the top right corner while the cell can be edited,
    // no editor is open and the button fits inside the cell's grid lines with room left for text; the cell is
    // drawn left of it. While the combo is open the cell
    // is drawn without its text, so nothing shows beside the field.
    bool Paint(host::ui::DC* dc, int row, int column, host::ui::Rect& rect, bool eraseBackground) override;
    // The plain cell's size, widened by a scroll bar's width and at least a scroll bar's height tall.
    host::ui::Size MeasureCell(host::ui::DC* dc) override;

    // The open combo box, or null.
    CGridComboBox* OpenCombo() const;

private:
    std::vector<std::string> choices_;
    std::uint32_t comboStyle_ = host::ui::CBS_DROPDOWN;
};
