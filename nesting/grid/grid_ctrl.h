// The grid control: a child window that shows a table of cells, with heading rows at the top and heading columns
// at the left that stay in place while the rest scrolls; the table of the nesting dialogs.
//
// Index of the class:
//   the table      counts, sizes, rows of cells, cell-class replacement, modified marks    grid_ctrl.cpp
//   focus and selection                                                                     grid_selection.cpp
//   layout, painting and scroll bars                                   grid_layout.cpp, grid_paint.cpp,
//                                                                      grid_scroll.cpp
//   mouse, keys, editing from the grid's side, clipboard, notifications  grid_mouse.cpp, grid_keys.cpp,
//                                                                      grid_editing.cpp, grid_clipboard.cpp
//
// The owner is the grid's owner window, else its parent (for the dialogs: the dialog). Notifications go to it
// as WM_NOTIFY with a GridNotifyRecord (wParam = the grid's control id):
//   one left click on a cell    GridSelectionChangingCode (the pressed cell), GridSelectionChangedCode (the focus
//                               cell), GridClickCode (the pressed cell), then a posted WM_COMMAND BN_CLICKED
//   a key that moves the focus  GridSelectionChangingCode, GridSelectionChangedCode (both with the new focus cell)
//   a right click               GridRightClickCode (the cell under the pointer, or (-1, -1))
//   a double click on a cell    GridDoubleClickCode
//   a text change by an edit, a clear or a paste:
//                               GridBeginEditCode (an answer < 0 refuses the change), then after it
//                               GridEndEditCode (an answer < 0 puts the old text back)
//
// An in-place editor ends its edit by sending the grid WM_NOTIFY with a GridCellNotifyRecord: code
// GridEndEditCode, control id GridEditorControlId, the text, and the ending key in `data`. The grid takes the
// text (FinishCellEdit), tells the cell EditingFinished, and for Tab and the page, Home, End and arrow keys moves
// the focus by that key and opens the next cell's editor with the key as its first character.
//
// Settings are those a dialog's table needs and are fixed: editing, selection, heading selection, Tab handling,
// double buffering and tips on; grid lines both ways; the focus cell framed and its headings drawn pressed. Only
// row and column resizing can be switched, and with both off (as the dialogs set them) the edges of rows and
// columns do not react to the pointer at all.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "host/ui/constants.h"
#include "host/ui/dc.h"
#include "host/ui/drop_target.h"
#include "host/ui/geometry.h"
#include "host/ui/window.h"
#include "nesting/grid/grid_cell.h"
#include "nesting/grid/grid_drop_site.h"
#include "nesting/grid/grid_records.h"
#include "nesting/grid/grid_tip_window.h"

// The window class of the grid; a dialog template's custom control of this class binds to a CGridCtrl.
inline constexpr const char* kGridWindowClass = "MFCGridCtrl";

// The commands of the Edit menu the grid handles as WM_COMMAND.
inline constexpr int ID_EDIT_COPY = 0xE122;
inline constexpr int ID_EDIT_CUT = 0xE123;
inline constexpr int ID_EDIT_PASTE = 0xE125;
inline constexpr int ID_EDIT_SELECT_ALL = 0xE12A;

class CGridCtrl : public host::ui::Window {
public:
    // Grid-line modes: which lines are drawn between non-fixed cells.
    enum GridLines { GridLinesNone = 0, GridLinesHorizontal = 1, GridLinesVertical = 2, GridLinesBoth = 3 };

    // Mouse modes of a gesture, from the press to the release.
    enum MouseMode {
        MouseNothing = 0,
        MouseSelectAll = 1,      // press on the fixed corner
        MouseSelectColumns = 2,  // press on a column heading
        MouseSelectRows = 3,     // press on a row heading
        MouseSelectCells = 4,    // press on an ordinary cell
        MousePrepareEdit = 10,   // press on the focus cell's text: the edit starts at the release
        MousePressAbandoned = 11,  // the pointer moved after a MousePrepareEdit press
    };

    // Auto-scroll while a selection is dragged outside the cells.
    static constexpr std::uintptr_t kAutoScrollTimerId = 0x201;
    static constexpr unsigned kAutoScrollInterval = 25;  // ms: 40 steps a second
    static constexpr host::ui::ColorRef kGridLineColour = 0xC0C0C0;

    // An empty grid made by the window class's factory is CGridCtrl(0, 0, 0, 0).
    explicit CGridCtrl(int rows = 0, int columns = 0, int fixedRows = 0, int fixedColumns = 0);
    ~CGridCtrl() override;

    // Makes the grid's window as a child of `parent` (WS_CHILD | WS_VISIBLE | WS_TABSTOP added to `style`).
    bool Create(const host::ui::Rect& rect, host::ui::Window* parent, int id, std::uint32_t style = 0);

    // [SECTION] The table
    int RowTotal() const { return rowCount_; }
    int ColumnTotal() const { return columnCount_; }
    int FixedRowTotal() const { return fixedRowCount_; }
    int FixedColumnTotal() const { return fixedColumnCount_; }
    // Each answers false only when memory ran out (the counts then hold what was completed).
    bool SetRowTotal(int count);
    bool SetColumnTotal(int count);
    bool SetFixedRowTotal(int count);
    bool SetFixedColumnTotal(int count);
    // False for a column outside the grid or a negative width; recalculates the scroll bars, repaints nothing.
    bool SetColumnPixelWidth(int column, int width);
    // False for a row outside the grid or a negative height (a size the dialogs do not change; for tests and
    // layouts that hide rows).
    bool SetRowPixelHeight(int row, int height);
    // -1 outside the grid.
    int RowPixelHeight(int row) const;
    int ColumnPixelWidth(int column) const;
    // Inserts a row before `row` (-1 appends) with `heading` in column 0; answers its index, -1 when `row` is a
    // heading row or no row. Clears the selection and the focus; repaints nothing.
    int InsertGridRow(std::optional<std::string_view> heading, int row = -1);
    // Deletes a row; false outside the grid. Clears the selection and the focus; repaints nothing.
    bool RemoveGridRow(int row);
    // Deletes every row and cell; all counts become 0.
    bool ClearGrid();
    // Whether any text or structure changed since the mark was last cleared.
    bool IsModified() const { return modified_; }

    // [SECTION] Cells
    CGridCellBase* CellAt(int row, int column) const;
    bool SetCellText(int row, int column, std::string_view text);
    std::string GetCellText(int row, int column) const;
    // Keeps the selection map in step with CellStateSelected, then stores the flags; false for a missing cell.
    bool SetCellState(int row, int column, unsigned flags);
    unsigned GetCellState(int row, int column) const;
    bool SetCellFormat(int row, int column, unsigned format);
    // CLR_DEFAULT returns the cell to its template's colour.
    bool SetCellBackColour(int row, int column, host::ui::ColorRef colour);
    bool SetCellTextColour(int row, int column, host::ui::ColorRef colour);
    // Replaces the cell by a new one of `cellClass`, which takes every attribute of the old one; false outside
    // the grid or for a class that is not a cell class.
    bool SetCellClass(int row, int column, const GridCellClass& cellClass);
    // With a cell position: sets or clears that cell's mark (setting also marks the grid). Without (-1): the grid
    // mark becomes `modified`. When the grid mark ends up clear, every cell's mark is cleared.
    void MarkCellModified(bool modified, int row = -1, int column = -1);
    bool CellInSelection(int row, int column) const;
    bool IsCellEditable(int row, int column) const;
    bool IsCellEditable(CellRef cell) const { return IsCellEditable(cell.row, cell.column); }
    // Makes a cell of the grid's cell class for a position, with its heading flags and its template's format.
    virtual std::unique_ptr<CGridCellBase> MakeCell(int row, int column);
    // Clears the cell's state (leaving the selection) and deletes it.
    virtual void DiscardCell(int row, int column);
    // Puts `cell` at a position (the grid owns it from now on); false outside the grid (the cell is deleted).
    bool PlaceCell(int row, int column, std::unique_ptr<CGridCellBase> cell);
    // The template cells: normal, fixed row, fixed column, corner.
    CGridDefaultCell& NormalTemplate() { return templates_[0]; }
    CGridDefaultCell& FixedRowTemplate() { return templates_[1]; }
    CGridDefaultCell& FixedColumnTemplate() { return templates_[2]; }
    CGridDefaultCell& CornerTemplate() { return templates_[3]; }
    // The template for a cell in the given heading rows and columns.
    CGridDefaultCell* TemplateFor(bool fixedRow, bool fixedColumn);

    // [SECTION] Focus and selection
    CellRef FocusCell() const { return focus_; }
    int SelectedCellCount() const { return static_cast<int>(selection_.size()); }
    // MoveFocus to (row, column); answers the previous focus cell.
    CellRef MoveFocusToCell(int row, int column);
    // Moves the focus cell (heading positions clamp into the first non-fixed row or column) and redraws the old
    // and new focus cells and their headings at once; answers the previous focus cell.
    CellRef MoveFocus(CellRef cell);
    // With select: the selection becomes exactly the block plus the cells a Ctrl-click kept; an invalid block
    // deselects everything. Without: only deselects the block. Changed visible cells are redrawn (at once with
    // drawNow, else invalidated).
    void SelectCellBlock(int minRow, int minColumn, int maxRow, int maxColumn, bool drawNow, bool select);
    // Deselects everything, forgets the kept Ctrl selection and clears the focus.
    void ClearSelection();
    // The smallest block holding every selected cell; invalid when nothing is selected.
    CellBlock SelectedCellBlock() const;
    void SelectAllCells();
    void SelectRowsTo(CellRef cell, bool drawNow, bool select);
    void SelectCellsTo(CellRef cell, bool drawNow, bool select);
    void SelectColumnsTo(CellRef cell, bool drawNow, bool select);
    // Extends the selection to `cell` as the current mouse mode says.
    void ExtendSelection(CellRef cell);
    virtual void RowHeadingPressed(CellRef cell);
    virtual void ColumnHeadingPressed(CellRef cell);
    // Selects all non-fixed cells between the changing and changed notifications; answers the owner's answer to
    // the second.
    virtual std::intptr_t SelectEverything();

    // [SECTION] Redraw
    // Invalidates the whole client area (when the window exists).
    void RepaintGrid();
    // Draws every visible cell of a row at once; false when one was not drawn.
    bool RepaintRow(int row);
    // Draws one cell at once through `dc` (or a window DC of its own).
    bool PaintCellNow(int row, int column, host::ui::DC* dc = nullptr);
    // Invalidates one visible cell.
    void DirtyCell(int row, int column);

    // [SECTION] Layout
    int FixedRowsHeight() const;
    int FixedColumnsWidth() const;
    int TotalRowsHeight() const;
    int TotalColumnsWidth() const;
    // The first non-fixed row and column shown (cached between scroll and size changes).
    CellRef TopLeftNonFixedCell(bool recompute = false);
    // The block from the top-left cell to the last row and column that reach into the client area, and the
    // rectangle they cover.
    CellBlock VisibleNonFixedRange(host::ui::Rect* rect = nullptr, bool recompute = false);
    // The cell's top-left corner; false outside the grid or scrolled away above or left.
    bool CellTopLeft(int row, int column, host::ui::Point& point);
    // The cell's rectangle with inclusive edges: right = left + width - 1, bottom = top + height - 1.
    bool CellRectOf(int row, int column, host::ui::Rect& rect);
    // The cell under a client point; a coordinate outside the cells gives -1 in that part.
    CellRef HitTestCell(host::ui::Point point, bool allowFixed = true);
    // Whether the cell's top-left corner lies in the client area and it is not scrolled away.
    bool IsCellVisible(int row, int column);
    // Scrolls until the cell is in view.
    void EnsureCellVisible(int row, int column);

    // [SECTION] Painting and scroll bars
    virtual void DrawGrid(host::ui::DC& dc);
    void PaintBackground(host::ui::DC& dc);
    void RecalcScrollBars();
    void SetScrollPosition(int bar, int position);
    int VerticalScrollMaximum() const { return verticalMaximum_; }
    int HorizontalScrollMaximum() const { return horizontalMaximum_; }
    // The bars the grid itself shows: 1 horizontal, 2 vertical.
    unsigned ShownScrollBars() const { return shownBars_; }

    // [SECTION] Colours
    host::ui::ColorRef OutsideColour() const { return outsideColour_; }
    host::ui::ColorRef GridLineColour() const { return gridLineColour_; }
    int GridLineMode() const { return gridLines_; }
    // Whether the focus cell is framed, and whether the headings of its row and column are drawn pressed.
    bool FocusFrameShown() const { return focusFrame_; }
    bool HeadingHighlightShown() const { return headingHighlight_; }

    // [SECTION] Editing and the clipboard
    // Opens the cell's editor after the owner agreed (GridBeginEditCode); refused silently for a cell outside
    // the grid, a read-only cell, or one that cannot be scrolled into view.
    virtual void StartCellEdit(int row, int column, host::ui::Point point, unsigned character);
    // Takes an editor's result: a changed text is stored unless the cell or the owner refuses it.
    virtual void FinishCellEdit(int row, int column, const std::string& text);
    virtual bool AcceptEditedText(int row, int column, const std::string& text);
    // Ends the focus cell's open editor.
    virtual void StopFocusEdit();
    // A text change through the grid's editing rules (the owner may veto before and after).
    void SetCellTextChecked(int row, int column, std::string_view text);
    virtual void ClearSelectedText();
    // The selected block as clipboard text (CF_TEXT bytes: tab between fields, CR LF between lines, a final
    // zero); nullopt when nothing is selected.
    virtual std::optional<std::string> MakeClipboardData();
    virtual void CutToClipboard();
    virtual void CopyToClipboard();
    virtual void PasteFromClipboard();
    // Pastes CF_TEXT of `data` at `target`, fields split at tabs and commas; false when refused.
    virtual bool PasteTextAt(CellRef target, const host::ui::DataObject& data, bool select);
    // Whether the Edit menu's commands are available now.
    bool OnUpdateEditSelectAll() const;
    bool OnUpdateEditCopy() const;
    bool OnUpdateEditCut() const;
    bool OnUpdateEditPaste() const;

    // [SECTION] Drag and drop: the grid starts no drag and accepts no drop.
    virtual void StartTextDrag() {}
    virtual std::uint32_t HandleDragEnter(const host::ui::DataObject& data, unsigned keys, host::ui::Point point);
    virtual std::uint32_t HandleDragOver(const host::ui::DataObject& data, unsigned keys, host::ui::Point point);
    virtual void HandleDragLeave() {}
    virtual bool HandleDrop(const host::ui::DataObject& data, std::uint32_t effect, host::ui::Point point);

    // [SECTION] Notifications
    // Sends the owner WM_NOTIFY with a GridNotifyRecord; answers the owner's answer, 0 without a window or owner.
    std::intptr_t NotifyOwner(int row, int column, int code);

    // [SECTION] Settings and state
    void SetRowResize(bool on) { rowResize_ = on; }
    void SetColumnResize(bool on) { columnResize_ = on; }
    bool RowResize() const { return rowResize_; }
    bool ColumnResize() const { return columnResize_; }
    bool EditingEnabled() const { return editingEnabled_; }
    bool SelectionEnabled() const { return selectionEnabled_; }
    int MouseModeNow() const { return mouseMode_; }
    // Lines one wheel notch scrolls, read once at construction.
    int LinesPerWheelNotch() const { return wheelLines_; }
    CGridTipWindow& TipWindow() { return tipWindow_; }
    CGridDropSite& DropSite() { return dropSite_; }

    // [SECTION] Window
    std::intptr_t windowProc(host::ui::Message& m) override;
    void preSubclassWindow() override;

protected:
    // Message handlers.
    void OnPaint();
    void OnHScroll(int code);
    void OnVScroll(int code);
    void OnSize(host::ui::Message& m);
    void OnLButtonDown(unsigned flags, host::ui::Point point);
    void OnLButtonUp(host::ui::Message& m);
    void OnMouseMove(unsigned flags, host::ui::Point point);
    void OnTimer(std::uintptr_t id);
    unsigned OnGetDlgCode() const;
    void OnKeyDown(host::ui::Message& m);
    void OnChar(host::ui::Message& m);
    void OnLButtonDblClk(host::ui::Message& m);
    bool OnSetCursor(host::ui::Message& m);
    void OnRButtonUp(host::ui::Message& m);
    void OnSysColorChange();
    void OnCaptureChanged(host::ui::Window* taking);
    void OnMouseWheel(host::ui::Message& m);
    void OnSetFont(host::ui::Message& m);
    std::intptr_t OnGetFont();
    void OnImeChar(unsigned character);
    void OnEndInPlaceEdit(const GridCellNotifyRecord& record);

private:
    using CellRow = std::vector<std::unique_ptr<CGridCellBase>>;

    struct KeyOutcome;
    bool IsValid(CellRef cell) const;
    bool IsValid(const CellBlock& block) const;
    static std::uint64_t SelectionKey(int row, int column);
    void ForgetTopLeft() { topLeftCache_ = CellRef{}; }
    void RedrawTail();
    void SetFixedRowFlags(int oldCount, int newCount);
    void SetFixedColumnFlags(int oldCount, int newCount);
    void ScrollLine(int bar, int code);
    void StopAutoScroll();
    void RedrawHeadingsOf(CellRef cell, bool columnChanged, bool rowChanged);
    CellRef StepRow(int row, int column, int direction) const;
    int NextVisibleColumn(int column, int direction) const;
    int NextVisibleRow(int row, int direction) const;
    int FirstVisibleColumn() const;
    int LastVisibleColumn() const;
    host::ui::Point PointInCell(CellRef cell, host::ui::Point client);
    bool PointInCellText(CellRef cell, host::ui::Point client);

    // Counts, sizes and rows.
    int rowCount_ = 0;
    int columnCount_ = 0;
    int fixedRowCount_ = 0;
    int fixedColumnCount_ = 0;
    std::vector<int> rowHeights_;
    std::vector<int> columnWidths_;
    std::vector<CellRow> rows_;
    const GridCellClass* cellClass_ = nullptr;
    CGridDefaultCell templates_[4];  // normal, fixed row, fixed column, corner

    // Colours.
    host::ui::ColorRef windowTextColour_ = 0;
    host::ui::ColorRef windowColour_ = 0;
    host::ui::ColorRef buttonFaceColour_ = 0;
    host::ui::ColorRef buttonShadowColour_ = 0;
    host::ui::ColorRef outsideColour_ = 0;
    host::ui::ColorRef gridLineColour_ = kGridLineColour;
    host::ui::ColorRef tipTextColour_ = host::ui::CLR_DEFAULT;
    host::ui::ColorRef tipBackColour_ = host::ui::CLR_DEFAULT;

    // Positions.
    CellRef focus_;
    CellRef selectionStart_;
    CellRef leftClickDown_;
    CellRef topLeftCache_;
    host::ui::Point leftClickDownPoint_{};
    host::ui::Point lastMousePoint_{};

    // Selection: key (column, row) -> cell. The key holds both in full, so tables of 65536 rows or more cannot
    // mistake one selected cell for another.
    std::unordered_map<std::uint64_t, CellRef> selection_;
    std::unordered_map<std::uint64_t, CellRef> previousSelection_;

    // Settings.
    bool editingEnabled_ = true;
    bool redrawAllowed_ = true;
    bool selectionEnabled_ = true;
    bool rowHeadingSelection_ = true;
    bool columnHeadingSelection_ = true;
    bool tabHandling_ = true;
    bool doubleBuffering_ = true;
    bool tipsEnabled_ = true;
    int gridLines_ = GridLinesBoth;
    bool focusFrame_ = true;
    bool headingHighlight_ = true;
    bool rowResize_ = true;
    bool columnResize_ = true;

    // State.
    bool modified_ = false;
    int mouseMode_ = MouseNothing;
    bool leftButtonDown_ = false;
    std::uintptr_t autoScrollTimer_ = 0;
    int verticalMaximum_ = 0;
    int horizontalMaximum_ = 0;
    unsigned shownBars_ = 0;
    int wheelLines_ = 3;
    host::ui::Font fontAnswer_;  // what WM_GETFONT hands out, kept until the next one

    CGridTipWindow tipWindow_;
    CGridDropSite dropSite_;
};
