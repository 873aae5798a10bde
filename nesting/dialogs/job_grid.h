// The table control of the job dialog's pages: the grid control, answering a script's or a test's value as a
// person's click and typing would give it.
//
// Values (WM_DRIVER_SETVALUE, see host/ui/dialog_driver.h): "<row> <column>" clicks the cell: it becomes the
// focus cell and the selection, and the owner hears the click (NM_CLICK); "<row> <column> <text>" clicks it and
// then types the text into it through the grid's editing rules (a read-only cell refuses). Rows and columns
// count as the grid counts them, the heading row and number column included, but only rows of data (1 to N) are
// taken, and no text goes into the number column. The grid answers
// WM_DRIVER_GETTABLE with its cells (columns of no width hidden), so the driver shows it as a table and takes
// rows and columns by name too.
#pragma once

#include <string_view>

#include "host/ui/dialog_driver.h"
#include "nesting/grid/grid_ctrl.h"

class JobGrid : public CGridCtrl {
public:
    // Clicks a cell as described above; false for a cell outside the table.
    bool ClickCell(int row, int column);
    // Clicks a cell and types `text` into it; false outside the table or for a read-only cell.
    bool TypeIntoCell(int row, int column, std::string_view text);
    // Applies a value in the form above.
    bool TakeValue(std::string_view value);
    // What the grid shows, for the driver.
    void DescribeTable(host::ui::DriverTable& table) const;

    std::intptr_t windowProc(host::ui::Message& m) override;
};
