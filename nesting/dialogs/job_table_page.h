// What the stock page and the part page of the job dialog share: a child dialog with a table of types (one row
// per drawing or rectangle), the input of a rectangle, a preview of the chosen row's drawing and the buttons
// that add and remove rows. CPageStock and CPagePart (job_pages.h) give its columns, ids and texts.
//
// Rows: row 0 holds the headings and column 0 the row numbers 1, 2, ... without gaps. Column 1 is the type
// ("0" rectangle, "2" drawing), column 2 the drawing's path (for a rectangle its block drawing's), column 3 the
// title, 4 and 5 the size ("%4.2f"); columns 1 to 5 are read-only. Columns 1 and 2 are hidden (width 0).
//
// Adding a row answers one of the codes below. The duplicate key of a row is its title for a rectangle and the
// file name of its path (less its first ".dwg") for a drawing; titles are compared ignoring case.
#pragma once

#include <functional>
#include <span>
#include <string>
#include <vector>

#include "cadlib/messages.h"
#include "host/ui/dialog.h"
#include "host/ui/static.h"
#include "nesting/dialogs/job_grid.h"

// Answers of AddStockRow and AddPartRow.
inline constexpr int kRowAdded = 0;
inline constexpr int kRowUnreadable = 1;
inline constexpr int kRowNoContours = 2;
inline constexpr int kRowDuplicate = 3;

// Columns every table has.
inline constexpr int kNumberColumn = 0;
inline constexpr int kTypeColumn = 1;
inline constexpr int kPathColumn = 2;
inline constexpr int kTitleColumn = 3;
inline constexpr int kWidthColumn = 4;
inline constexpr int kHeightColumn = 5;
inline constexpr int kQuantityColumn = 6;
inline constexpr int kGrainColumn = 7;

// The type texts of column 1.
inline constexpr int kRectangleRowType = 0;
inline constexpr int kDrawingRowType = 2;

// Most characters a field takes: the job file keeps one value a line, and a longer text would be split by the
// readers of older versions (their lines hold 79 characters for the material, 29 for a number). The edits take no
// more as they are typed; a longer value in a table cell or from a file is refused when the job is saved.
inline constexpr std::size_t kMaxMaterialChars = 70;
inline constexpr std::size_t kMaxNumberChars = 24;
inline constexpr std::size_t kMaxNameChars = 200;

// One column of a table: its heading, its width in pixels and the formats of the heading and of the cells.
struct TableColumn {
    TwoLanguageText heading;
    int width = 0;
    unsigned headingFormat = 0;
    unsigned cellFormat = 0;
};

// The ids and texts that tell the stock page from the part page.
struct TablePageIds {
    int grid = 0;
    int preview = 0;
    int fileName = 0;
    int width = 0;
    int height = 0;
    int name = 0;
    int addDrawings = 0;
    int deleteRows = 0;
    int deleteAll = 0;
    int addRectangle = 0;
};

struct TablePageTexts {
    TwoLanguageText navCaption;       // the caption of the drawing chooser
    TwoLanguageText badRectangle;     // a width or height not above 0
    const char* rectangleNameFormat;  // "Stosk_%sx%s" or "Part_%sx%s"
};

// The drawings refused by one load or one Add DWG, each as "\n\r" and its path, in the order they were met.
struct RefusedDrawings {
    std::string missing;
    std::string withoutContours;
    std::string duplicates;
};

// ReportJobFileProblems: one message box for the refused drawings (none when nothing was refused). With
// drawings without contours it asks Yes or No, and Yes calls `openWithoutContours`; otherwise it only informs.
int ReportJobFileProblems(const RefusedDrawings& refused, const std::function<void()>& openWithoutContours,
                          host::ui::Window* owner);

// CheckNumericText: a typed text with a character outside `allowed` is refused: the message "Invalid symbol in
// the string - <text>" and the text it had before come back. True when the text is accepted.
bool CheckNumericText(host::ui::Dialog& dialog, int editId, std::string& field, const std::string& allowed);

class JobTablePage : public host::ui::Dialog {
public:
    JobTablePage(TablePageIds ids, TablePageTexts texts, std::vector<TableColumn> columns);

    // [SECTION] Rows
    // Appends a row (`row` is the index it gets: callers pass the current row count, and the row is always
    // appended); see the answers above. A drawing's size
    // comes from its stored contour data; a rectangle's is given.
    int AddTableRow(int row, int type, const std::string& path, const std::string& title, double width,
                    double height);
    int DataRowCount() const;
    std::string CellText(int row, int column) const { return Grid.GetCellText(row, column); }
    void DeleteSelectedRows();
    void DeleteAllRows();
    // Shows the focus row's drawing; 1 when a row's drawing was shown, else 0.
    int ShowPreview();
    // Prepares the empty table (once the page's window exists).
    void SetupTable();
    // The last row gets the focus cell and the selection at the size column.
    void FocusLastRow();
    void RefreshControls() { updateData(false); }
    void ReadControls() { updateData(true); }

    JobGrid Grid;
    std::string RectWidthText = "0";
    std::string RectHeightText = "0";
    std::string RectNameText;
    std::string FileNameText;
    std::string InstallFolder;
    // The module's list of drawings without contours (Yes of the report opens them) and how to open them.
    std::vector<std::string>* FilesWithoutContours = nullptr;
    std::function<void()> OpenFilesWithoutContours;

protected:
    // The cells a new row gets from column 6 on.
    virtual void FillNewRowCells(int row) = 0;
    // The page's own fields besides the rectangle's.
    virtual void ExchangeOwnFields(host::ui::DataExchange& dx) = 0;
    // The page's own buttons and edits; true when handled.
    virtual bool OnOwnCommand(int id, int code) = 0;
    virtual void SetOwnTexts() = 0;

    bool onInitDialog() override;
    void doDataExchange(host::ui::DataExchange& dx) override;
    bool onCommand(int id, int code, host::ui::Window* control) override;
    bool onNotify(const host::ui::NotifyHeader& header, std::intptr_t& result) override;
    // A click in the table (after the grid's own handling).
    virtual void OnTableClick(const GridNotifyRecord& record);
    // Why a text typed, pasted or set into a cell cannot stand (empty when it can): a quantity must be a whole
    // number from 0 to `QuantityLimit`, a choice cell takes one of its choices (in any case: the cell then shows
    // the choice as listed). The grid puts the previous text back after the message.
    virtual std::string CellRefusal(int row, int column, const std::string& text);
    // The largest quantity a row may ask for.
    virtual int QuantityLimit() const = 0;

    void SetText(int id, const TwoLanguageText& text) { setItemText(id, Localized(text)); }
    // An edit takes at most `most` characters as they are typed.
    void LimitTyping(int id, std::size_t most);
    void MakeComboCell(int row, int column, std::span<const std::string_view> choices, std::string_view text);
    void MarkReadOnly(int row, int firstColumn, int lastColumn);

    TablePageIds Ids;
    TablePageTexts Texts;
    std::vector<TableColumn> Columns;

private:
    // What the rectangle's width and height keep when Add Rectangle finds a text that is not one number: the texts
    // of the last rectangle added.
    std::string keptRectWidth_ = "0";
    std::string keptRectHeight_ = "0";
    void AddDrawingFiles();
    void AddRectangle();
    void UpdateRectangleName();

    host::ui::Static preview_;
};
