// The insert-part dialog: one row per part type of the loaded job with its placed and total copies, and ten
// buttons that choose how one more copy of the selected type goes onto the shown sheet (automatically or by
// hand, at a fixed angle or turned by dragging).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "host/ui/dialog.h"
#include "host/ui/static.h"
#include "nesting/dialogs/job_grid.h"
#include "nesting/grid/grid_ctrl.h"

// The preview area of the nesting dialogs: a static control without behaviour of its own.
class CPreviewStatic : public host::ui::Static {};

// Ids of the dialog and its controls.
inline constexpr int kInsertPartTemplateId = 205;
inline constexpr int kInsertGridId = 234;
inline constexpr int kInsertPreviewId = 235;
inline constexpr int kInsertFileNameId = 236;
inline constexpr int kInsertAutoButton = 237;
inline constexpr int kInsertAutoPlus0Button = 238;
inline constexpr int kInsertAutoPlus90Button = 239;
inline constexpr int kInsertAutoPlus180Button = 240;
inline constexpr int kInsertAutoMinus90Button = 241;
inline constexpr int kInsertManualPlus0Button = 242;
inline constexpr int kInsertManualPlus180Button = 243;
inline constexpr int kInsertManualPlus90Button = 244;
inline constexpr int kInsertManualMinus90Button = 245;
inline constexpr int kInsertAutoGroup = 249;
inline constexpr int kInsertManualGroup = 250;
inline constexpr int kInsertManualButton = 251;
inline constexpr int kInsertCancelButton = 252;
inline constexpr int kInsertFileNameLabel = 253;

// Columns of the insert grid.
enum InsertColumn {
    kInsertNumberColumn = 0,
    kInsertTypeColumn = 1,     // hidden: job-file type
    kInsertPathColumn = 2,     // hidden: the drawing, or the rectangle's block drawing
    kInsertNameColumn = 3,
    kInsertWidthColumn = 4,
    kInsertHeightColumn = 5,
    kInsertQuantityColumn = 6,  // "placed/total"
    kInsertGrainColumn = 7,
    kInsertRotationColumn = 8,
    kInsertDeltaColumn = 9,
    kInsertSectorColumn = 10,
    kInsertPriorityColumn = 11,
    kInsertRemainingColumn = 12,  // hidden: copies still to place, empty when all are placed
    kInsertColumns = 13,
};

// The angle text of the buttons that turn the copy by dragging after it was placed.
inline constexpr const char* kDragAngleText = "\\";

// Row colours: every copy placed, and a type of no copies.
inline constexpr host::ui::ColorRef kAllPlacedColour = 0x0000FFFF;   // RGB(255, 255, 0)
inline constexpr host::ui::ColorRef kNoCopiesColour = 0x0000B0FF;    // RGB(255, 176, 0)

// Answers of AddInsertRow.
inline constexpr int kInsertRowAdded = 0;
inline constexpr int kInsertRowUnusable = 1;
inline constexpr int kInsertRowRefused = 3;

class CDialogInsertPart : public host::ui::Dialog {
public:
    explicit CDialogInsertPart(host::ui::Window* parent = nullptr);

    // Empties the file name, lays the grid out (one heading row, thirteen columns, the widths and headings of
    // the columns above, no resizing) and fills the value lists.
    void SetupInsertGrid();
    // Appends the row of a type: job-file type 2 reads the size from the drawing `path` (silently; a failure
    // answers kInsertRowUnusable and adds nothing), another type parses it from the rectangle name given as
    // `path` and keeps the rectangle's block drawing in the installation folder as its path. A name already in
    // the table is refused with a message (kInsertRowRefused). The row gets the defaults of a new part row.
    int AddInsertRow(int row, int type, const std::string& path, const std::string& name);
    // Writes the placed and total copies of `row` and its rotation rule, priority and copies still to place;
    // a row whose copies are all placed, or of no copies, is coloured.
    void ShowPlacedCounts(int row, int placed, int total, double grainAngle, int rotationMode, int deltaIndex,
                          double sector, int priorityIndex);
    // The file name of the focus row shown, the preview area refreshed.
    void ShowInsertPreview();

    // The data row of the grid's focus cell after OK: the chosen type's row.
    int ChosenRow() const { return chosenRow_; }
    CGridCtrl& Grid() { return grid_; }
    CPreviewStatic& Preview() { return preview_; }

    std::vector<std::string> PriorityChoices;
    std::vector<std::string> RotationChoices;
    std::vector<std::string> DeltaChoices;
    // 1 automatic, 0 manual; and the angle text ("\\" or degrees): set by the button that closed the dialog.
    unsigned char AutomaticInsert = 0;
    std::string InsertAngleText;
    CellRef LastClickedCell{0, 0};
    std::string FileNameText;
    std::string InstallFolder;
    // Run when the dialog opens, after SetupInsertGrid: adds the rows (AddInsertRow, ShowPlacedCounts). When
    // rows were added the focus and the selection then go to row 1, column 5.
    std::function<void(CDialogInsertPart&)> FillRows;

protected:
    bool onInitDialog() override;
    void doDataExchange(host::ui::DataExchange& dx) override;
    bool onCommand(int id, int code, host::ui::Window* control) override;
    bool onNotify(const host::ui::NotifyHeader& header, std::intptr_t& result) override;
    // Enter: the default button, the manual insert turned by dragging.
    void onOK() override;

private:
    // Closes the dialog with OK and the way chosen, or with Cancel when no data row has the focus; a type whose
    // copies are all placed is refused with a message and the dialog stays open.
    void ChooseInsertion(const char* angleText, bool automatic);

    int chosenRow_ = -1;
    // The job dialog's table control: a script or a person at the terminal picks a row of it by number or name.
    JobGrid grid_;
    CPreviewStatic preview_;
};
