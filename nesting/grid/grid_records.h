// The records every part of the grid control shares: cell positions and blocks, the cell state flags, the
// attribute set an in-place editor reports, and the notification records the grid sends to its owner.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>

#include "host/ui/constants.h"
#include "host/ui/font.h"
#include "host/ui/message.h"

// One cell's position. (-1, -1) is "no cell"; a reference is valid for a grid when 0 <= row < row count and
// 0 <= column < column count.
struct CellRef {
    int row = -1;
    int column = -1;
    friend constexpr bool operator==(const CellRef&, const CellRef&) = default;
};

// "(row, column)", for messages and test failures.
inline std::ostream& operator<<(std::ostream& out, const CellRef& cell) {
    return out << "(" << cell.row << ", " << cell.column << ")";
}

// A rectangle of cells, bounds inclusive; -1 bounds mean an empty block. Valid for a grid when all four are
// >= 0, the maxima lie inside the grid and each minimum is at most its maximum.
struct CellBlock {
    int minRow = -1;
    int minColumn = -1;
    int maxRow = -1;
    int maxColumn = -1;
    friend constexpr bool operator==(const CellBlock&, const CellBlock&) = default;
};

// "[min row, min column .. max row, max column]", for messages and test failures.
inline std::ostream& operator<<(std::ostream& out, const CellBlock& block) {
    return out << "[" << block.minRow << ", " << block.minColumn << " .. " << block.maxRow << ", "
               << block.maxColumn << "]";
}

// The cell state word's flags.
inline constexpr unsigned CellStateFocused = 0x01;      // the cell is the grid's focus cell
inline constexpr unsigned CellStateSelected = 0x02;     // the cell is selected
inline constexpr unsigned CellStateDropTarget = 0x04;   // a drag hovers over the cell
inline constexpr unsigned CellStateReadOnly = 0x08;     // the cell cannot be edited, cut, pasted or dropped on
inline constexpr unsigned CellStateFixed = 0x10;        // the cell lies in a heading row or column
inline constexpr unsigned CellStateFixedRow = 0x20;     // the cell lies in a heading row
inline constexpr unsigned CellStateFixedColumn = 0x40;  // the cell lies in a heading column
inline constexpr unsigned CellStateModified = 0x80;     // the text changed since the mark was last cleared

// Which fields of a CellAttributes are meant.
inline constexpr unsigned CellMaskText = 0x1;
inline constexpr unsigned CellMaskImage = 0x2;
inline constexpr unsigned CellMaskData = 0x4;
inline constexpr unsigned CellMaskState = 0x8;
inline constexpr unsigned CellMaskBackColour = 0x10;
inline constexpr unsigned CellMaskTextColour = 0x20;
inline constexpr unsigned CellMaskFormat = 0x40;
inline constexpr unsigned CellMaskFont = 0x80;
inline constexpr unsigned CellMaskMargin = 0x100;

// The attribute set of one cell as a notification carries it.
struct CellAttributes {
    int row = -1;
    int column = -1;
    unsigned mask = 0;
    unsigned state = 0;
    unsigned format = 0;  // DT_* flags
    int image = -1;
    host::ui::ColorRef backColour = host::ui::CLR_DEFAULT;
    host::ui::ColorRef textColour = host::ui::CLR_DEFAULT;
    std::uint64_t data = 0;
    host::ui::LogFont font{};
    int margin = -1;
    std::string text;
};

// What the grid sends its owner with WM_NOTIFY (wParam = the grid's control id): the header (the grid, its
// control id, the code) and the cell the notification is about.
struct GridNotifyRecord {
    host::ui::NotifyHeader header;
    int row = -1;
    int column = -1;
};

// What an in-place editor sends the grid when its edit ends: WM_NOTIFY with code GridEndEditCode from control
// id GridEditorControlId, mask CellMaskText | CellMaskData, the edited text, and in `data` the key that ended
// the edit (0 when the editor lost the focus, 27 for Esc).
struct GridCellNotifyRecord {
    host::ui::NotifyHeader header;
    CellAttributes item;
};

// The notification codes of the grid, with the values of the list-view codes they share.
inline constexpr int GridClickCode = host::ui::NM_CLICK;               // left release that starts no edit
inline constexpr int GridDoubleClickCode = host::ui::NM_DBLCLK;        // double click on a cell
inline constexpr int GridRightClickCode = host::ui::NM_RCLICK;         // right release
inline constexpr int GridSelectionChangingCode = host::ui::LVN_ITEMCHANGING;  // before the selection changes
inline constexpr int GridSelectionChangedCode = host::ui::LVN_ITEMCHANGED;    // after it changed
inline constexpr int GridBeginEditCode = host::ui::LVN_BEGINLABELEDIT;  // before a text change; < 0 vetoes
inline constexpr int GridEndEditCode = host::ui::LVN_ENDLABELEDIT;      // after a text change; < 0 restores

// The control id the grid gives every in-place editor it opens.
inline constexpr int GridEditorControlId = 8;
