// The cells of the grid control: the abstract cell, the plain cell every new cell is, and the template cell that
// supplies every attribute a cell leaves unset; with the run-time class records that let the grid make a cell of
// a class chosen at run time.
//
// A cell keeps its attributes, draws itself into the grid's drawing surface (Paint), measures its text, and
// opens and ends the in-place editor that edits it. The grid owns its cells and calls them only through the
// virtual operations below.
//
// Unset values defer to the template cell of the grid that matches the cell's state (QueryDefaults): format
// (all bits set), colours (CLR_DEFAULT), font (none) and margin (-1). Putting the unset value back makes the
// cell follow its template again.
//
// Editing, one edit:
//   grid                                   cell                              editor window
//   StartCellEdit -> BeginEditing          sets the editing flag, opens it   takes the focus
//                                                                            ... user types ...
//                                                                            on losing the focus: WM_NOTIFY
//                                                                            GridEndEditCode to the grid, then
//                                                                            closes and deletes itself
//   FinishCellEdit (takes the text)        EditingFinished: forgets it
// StopEditing asks an open editor to end now (its end routine sends the same notification).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "host/ui/constants.h"
#include "host/ui/dc.h"
#include "host/ui/font.h"
#include "host/ui/geometry.h"
#include "nesting/grid/grid_records.h"

namespace host::ui {
class Window;
}

class CGridCtrl;
class CGridCellBase;
class CGridDefaultCell;

// The run-time class record of a cell class: its name, its base class, and its factory (null for a class that
// cannot be created, such as the abstract cell).
struct GridCellClass {
    const char* name = "";
    const GridCellClass* base = nullptr;
    std::unique_ptr<CGridCellBase> (*factory)() = nullptr;

    // Whether this class is `other` or derives from it.
    bool IsDerivedFrom(const GridCellClass& other) const;
    // A new object of this class; null when the class has no factory.
    std::unique_ptr<CGridCellBase> CreateObject() const;
};

// The factory of a cell class T, for its GridCellClass record.
template <class T>
std::unique_ptr<CGridCellBase> CreateGridCell() {
    return std::make_unique<T>();
}

// [SECTION] The abstract cell
class CGridCellBase {
public:
    CGridCellBase() = default;
    virtual ~CGridCellBase();
    CGridCellBase(const CGridCellBase&) = delete;
    CGridCellBase& operator=(const CGridCellBase&) = delete;

    static const GridCellClass& GetThisClass();
    virtual const GridCellClass& GetRuntimeClass() const;

    // Setters: each value is stored as given.
    virtual void PutText(std::string_view text) = 0;
    virtual void PutImage(int image) = 0;
    virtual void PutData(std::uint64_t data) = 0;
    virtual void PutState(unsigned state);
    virtual void PutFormat(unsigned format) = 0;
    virtual void PutTextColour(host::ui::ColorRef colour) = 0;
    virtual void PutBackColour(host::ui::ColorRef colour) = 0;
    // A copy of `font`, or none for null.
    virtual void PutFont(const host::ui::LogFont* font) = 0;
    virtual void PutMargin(int pixels) = 0;
    virtual void PutGrid(CGridCtrl* grid) = 0;
    // The grid tells the cell its position when it makes or draws it; the plain cell does not keep it.
    virtual void PutPosition(int row, int column) = 0;

    // Getters.
    virtual const std::string& QueryText() const = 0;
    virtual std::string QueryTipText() const { return QueryText(); }
    virtual int QueryImage() const = 0;
    virtual std::uint64_t QueryData() const = 0;
    virtual unsigned QueryState() const { return state_; }
    // The stored format, or the template's when unset (0 without a template).
    virtual unsigned QueryFormat() const = 0;
    // The stored colour, CLR_DEFAULT when unset (the painter resolves it).
    virtual host::ui::ColorRef QueryTextColour() const = 0;
    virtual host::ui::ColorRef QueryBackColour() const = 0;
    // The cell's font, else its template's; null when neither has one.
    virtual const host::ui::LogFont* QueryFont() const = 0;
    // The font to draw with: the template's font object when the cell has no font of its own, else one made from
    // the cell's; the null font when there is none.
    virtual host::ui::Font QueryFontObject() const = 0;
    virtual CGridCtrl* QueryGrid() const = 0;
    // The open in-place editor window, null when none.
    virtual host::ui::Window* QueryEditor() const = 0;
    // The stored margin, or the template's when unset.
    virtual int QueryMargin() const = 0;
    // The template of the owning grid that matches the cell's state (corner, fixed row, fixed column or normal);
    // null without a grid.
    virtual CGridDefaultCell* QueryDefaults() const;

    virtual bool HasDefaultFont() const = 0;
    virtual bool InEditMode() const = 0;

    bool TestFocused() const { return (QueryState() & CellStateFocused) != 0; }
    bool TestFixed() const { return (QueryState() & CellStateFixed) != 0; }
    bool TestFixedColumn() const { return (QueryState() & CellStateFixedColumn) != 0; }
    bool TestFixedRow() const { return (QueryState() & CellStateFixedRow) != 0; }
    bool TestSelected() const { return (QueryState() & CellStateSelected) != 0; }
    bool TestReadOnly() const { return (QueryState() & CellStateReadOnly) != 0; }
    bool TestModified() const { return (QueryState() & CellStateModified) != 0; }
    bool TestDropTarget() const { return (QueryState() & CellStateDropTarget) != 0; }

    // Takes every attribute of `source` through its getters: grid, text, image, data, state, format, colours,
    // font (its own only), margin. Format and margin are taken resolved, so the copy holds them as set values.
    virtual void CopyFrom(const CGridCellBase& source);

    // Draws the cell into `rect` (inclusive edges, as the grid's cell rectangles are; the call changes it).
    // False without a grid or a DC, or for a rectangle under 1 x 1 pixel.
    virtual bool Paint(host::ui::DC* dc, int row, int column, host::ui::Rect& rect, bool eraseBackground);
    // The part of the cell rectangle the text takes: the rectangle itself.
    virtual bool ComputeTextRect(host::ui::Rect& rect);
    virtual bool ComputeTipRect(host::ui::Rect& rect) { return ComputeTextRect(rect); }
    // The size `text` needs in the cell's font and format, margins included. Without a text: the template's
    // default size (no margins). Without a DC: measured through the grid window's DC.
    virtual host::ui::Size MeasureText(std::optional<std::string_view> text, host::ui::DC* dc);
    // The size of the cell's own text plus 1 (plus 1 more for a heading cell).
    virtual host::ui::Size MeasureCell(host::ui::DC* dc);

    // Opens the in-place editor over `rect` (grid client coordinates); `firstCharacter` is the typed character,
    // VK_LBUTTON (1) for a click, double click or F2, or the key that ended the previous edit. The abstract cell
    // opens nothing.
    virtual bool BeginEditing(int row, int column, const host::ui::Rect& rect, host::ui::Point point, int controlId,
                              unsigned firstCharacter);
    // Whether an edited text is accepted: always.
    virtual bool CheckEditText(int row, int column, const std::string& text);
    // Ends an open editor now.
    virtual void StopEditing() {}
    // The grid has taken the edit's result: the cell leaves edit mode and forgets its editor.
    virtual void EditingFinished() {}

    // Mouse hooks, points in the cell's own coordinates; empty here.
    virtual void MouseOverHook() {}
    virtual void LeftClickHook(host::ui::Point) {}
    virtual void LeftPressHook(host::ui::Point) {}
    virtual void RightClickHook(host::ui::Point) {}
    virtual void DoubleClickHook(host::ui::Point) {}
    // Sets the arrow cursor; true.
    virtual bool CursorHook();

protected:
    unsigned state_ = 0;
};

// [SECTION] The plain cell
class CGridCell : public CGridCellBase {
public:
    CGridCell() = default;
    ~CGridCell() override;

    static const GridCellClass& GetThisClass();
    const GridCellClass& GetRuntimeClass() const override;

    void PutText(std::string_view text) override { text_ = text; }
    void PutImage(int image) override { image_ = image; }
    void PutData(std::uint64_t data) override { data_ = data; }
    void PutFormat(unsigned format) override { format_ = format; }
    void PutTextColour(host::ui::ColorRef colour) override { textColour_ = colour; }
    void PutBackColour(host::ui::ColorRef colour) override { backColour_ = colour; }
    void PutFont(const host::ui::LogFont* font) override;
    void PutMargin(int pixels) override { margin_ = pixels; }
    void PutGrid(CGridCtrl* grid) override { grid_ = grid; }
    void PutPosition(int, int) override {}

    const std::string& QueryText() const override { return text_; }
    int QueryImage() const override { return image_; }
    std::uint64_t QueryData() const override { return data_; }
    unsigned QueryFormat() const override;
    host::ui::ColorRef QueryTextColour() const override { return textColour_; }
    host::ui::ColorRef QueryBackColour() const override { return backColour_; }
    const host::ui::LogFont* QueryFont() const override;
    host::ui::Font QueryFontObject() const override;
    CGridCtrl* QueryGrid() const override { return grid_; }
    host::ui::Window* QueryEditor() const override { return editor_; }
    int QueryMargin() const override;

    bool HasDefaultFont() const override { return font_ == nullptr; }
    bool InEditMode() const override { return editing_; }

    // Opens a CGridEditBox over the cell (aligned as the format says); while one is open, only forwards the
    // character to it as WM_CHAR. When the editor window cannot be made, the cell stays out of edit mode and the
    // answer is false. What it calls of the edit box: `new CGridEditBox`, then
    //   bool Open(CGridCtrl& grid, const host::ui::Rect& rect, std::uint32_t alignStyle, int controlId, int row,
    //             int column, const std::string& text, unsigned firstCharacter)
    // (false: no window was made, and the cell deletes the object; true: the box deletes itself when its window
    // ends); StopEditing calls the box's `void EndEdit()`.
    bool BeginEditing(int row, int column, const host::ui::Rect& rect, host::ui::Point point, int controlId,
                      unsigned firstCharacter) override;
    void StopEditing() override;
    void EditingFinished() override;

protected:
    // For editors of derived cells: enter edit mode with `editor` open (null: leave edit mode).
    void SetEditor(host::ui::Window* editor);

    // The format every unset field has.
    static constexpr unsigned kUnsetFormat = 0xFFFFFFFFu;

    std::string text_;
    std::uint64_t data_ = 0;
    int image_ = -1;
    unsigned format_ = kUnsetFormat;
    host::ui::ColorRef textColour_ = host::ui::CLR_DEFAULT;
    host::ui::ColorRef backColour_ = host::ui::CLR_DEFAULT;
    std::unique_ptr<host::ui::LogFont> font_;
    int margin_ = -1;
    bool editing_ = false;
    CGridCtrl* grid_ = nullptr;
    host::ui::Window* editor_ = nullptr;  // not owned: the editor deletes itself when its window ends
};

// [SECTION] The template cell
// Four per grid (normal, fixed column, fixed row, corner). Its format is single-line, vertically centred, no
// prefix, end ellipsis; its font the system's message font; its margin the width of one blank and its default
// size the extent of " XXXXXXXXXXXX " with half its height again. Its state always reads as read-only.
class CGridDefaultCell : public CGridCell {
public:
    // DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS.
    static constexpr unsigned kDefaultFormat = 0x8824;

    CGridDefaultCell();
    ~CGridDefaultCell() override;

    static const GridCellClass& GetThisClass();
    const GridCellClass& GetRuntimeClass() const override;

    void PutData(std::uint64_t) override {}
    void PutState(unsigned) override {}
    void PutPosition(int, int) override {}
    // Rebuilds the font object, margin and default size from `font`; null changes nothing.
    void PutFont(const host::ui::LogFont* font) override;

    unsigned QueryState() const override { return state_ | CellStateReadOnly; }
    unsigned QueryFormat() const override { return format_; }
    int QueryMargin() const override { return margin_; }
    const host::ui::LogFont* QueryFont() const override { return font_.get(); }
    host::ui::Font QueryFontObject() const override { return fontObject_; }

    int QueryDefaultWidth() const { return defaultSize_.width; }
    int QueryDefaultHeight() const { return defaultSize_.height; }
    void PutDefaultWidth(int width) { defaultSize_.width = width; }
    void PutDefaultHeight(int height) { defaultSize_.height = height; }

private:
    // Margin and default size measured in the font object, or the fixed fallback without a screen to measure on.
    void MeasureDefaults();

    host::ui::Size defaultSize_{};
    host::ui::Font fontObject_;
};
