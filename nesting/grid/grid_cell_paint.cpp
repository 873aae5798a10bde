// How a cell draws itself and measures its text: the fills, frames and heading edges of each state, and the
// size a text needs in the cell's font and format.
#include <algorithm>
#include <optional>
#include <string_view>

#include "host/ui/desktop.h"
#include "nesting/grid/grid_cell.h"
#include "nesting/grid/grid_ctrl.h"

using host::ui::Brush;
using host::ui::ColorRef;
using host::ui::DC;
using host::ui::Pen;
using host::ui::Rect;
using host::ui::Size;

namespace {

// Adds one pixel to the right and bottom: a cell rectangle's inclusive edges become the fill's exclusive ones.
void Grow(Rect& r) {
    ++r.right;
    ++r.bottom;
}
void Shrink(Rect& r) {
    --r.right;
    --r.bottom;
}
void Deflate(Rect& r, int by) { r = r.inflatedBy(-by, -by); }

// Vertical text (escapement of a quarter turn either way).
bool IsTurned(const host::ui::LogFont* font) {
    return font != nullptr && (font->escapement == 900 || font->escapement == -900);
}

// Restores the DC's saved state on every way out of Paint.
class SavedDcState {
public:
    explicit SavedDcState(DC& dc) : dc_(dc), level_(dc.save()) {}
    ~SavedDcState() { dc_.restore(level_); }
    SavedDcState(const SavedDcState&) = delete;
    SavedDcState& operator=(const SavedDcState&) = delete;

private:
    DC& dc_;
    int level_;
};

}  // namespace

bool CGridCellBase::Paint(DC* dc, int row, int column, Rect& rect, bool eraseBackground) {
    CGridCtrl* grid = QueryGrid();
    if (grid == nullptr || dc == nullptr || rect.width() <= 0 || rect.height() <= 0) return false;
    const CGridDefaultCell* defaults = QueryDefaults();
    if (defaults == nullptr) return false;
    host::ui::Desktop& desktop = dc->desktop();

    SavedDcState saved(*dc);
    dc->setBkMode(host::ui::TRANSPARENT);

    ColorRef textColour =
        QueryTextColour() != host::ui::CLR_DEFAULT ? QueryTextColour() : defaults->QueryTextColour();
    ColorRef backColour = defaults->QueryBackColour();
    bool erase = eraseBackground;
    if (QueryBackColour() != host::ui::CLR_DEFAULT) {
        backColour = QueryBackColour();
        erase = true;
    }
    const bool lines = grid->GridLineMode() != CGridCtrl::GridLinesNone;

    if (!TestFocused() && !TestDropTarget()) {
        if (TestSelected()) {
            Grow(rect);
            dc->fillRect(rect, Brush::solid(desktop.sysColor(host::ui::COLOR_HIGHLIGHT)));
            Shrink(rect);
            textColour = desktop.sysColor(host::ui::COLOR_HIGHLIGHTTEXT);
        } else if (erase) {
            Grow(rect);
            dc->fillRect(rect, Brush::solid(backColour));
            Shrink(rect);
        }
    } else {
        if (TestSelected()) {
            backColour = desktop.sysColor(host::ui::COLOR_HIGHLIGHT);
            textColour = desktop.sysColor(host::ui::COLOR_HIGHLIGHTTEXT);
            erase = true;
        }
        Grow(rect);
        if (erase) dc->fillRect(rect, Brush::solid(backColour));
        if (lines) Shrink(rect);
        if (grid->FocusFrameShown()) dc->frameRect(rect, Brush::solid(textColour));
        if (!lines) Shrink(rect);
    }

    if (TestFixed() && lines) {
        const CellRef focus = grid->FocusCell();
        const bool focusValid = focus.row >= 0 && focus.column >= 0 && focus.row < grid->RowTotal() &&
                                focus.column < grid->ColumnTotal();
        if (grid->HeadingHighlightShown() && focusValid && (focus.row == row || focus.column == column)) {
            Grow(rect);
            dc->drawEdge(rect, host::ui::BDR_SUNKENINNER, host::ui::BF_RECT);
            Deflate(rect, 1);
        } else {
            const Pen previous = dc->selectPen(Pen::solid(desktop.sysColor(host::ui::COLOR_3DHIGHLIGHT), 1));
            dc->moveTo({rect.right, rect.top});
            dc->lineTo({rect.left, rect.top});
            dc->lineTo({rect.left, rect.bottom});
            dc->selectPen(Pen::solid(desktop.sysColor(host::ui::COLOR_3DDKSHADOW), 1));
            dc->moveTo({rect.right, rect.top});
            dc->lineTo({rect.right, rect.bottom});
            dc->lineTo({rect.left, rect.bottom});
            dc->selectPen(previous);
            Deflate(rect, 1);
        }
    }

    if (!dc->isPrinting()) {
        const host::ui::Font font = QueryFontObject();
        if (!font.isNull()) dc->selectFont(font);
    }

    Deflate(rect, QueryMargin());
    Grow(rect);
    ComputeTextRect(rect);
    Grow(rect);
    dc->setTextColor(textColour);
    dc->drawText(QueryText(), rect, QueryFormat() | host::ui::DT_NOPREFIX);
    return true;
}

Size CGridCellBase::MeasureText(std::optional<std::string_view> text, DC* dc) {
    const CGridDefaultCell* defaults = QueryDefaults();
    const Size defaultSize = defaults ? Size{defaults->QueryDefaultWidth(), defaults->QueryDefaultHeight()} : Size{};
    if (!text) return defaultSize;

    // Without a DC of the caller's, measure on one of our own: the host measures text the same way on every
    // DC, so a grid whose window does not exist yet (a dialog fills it before showing it) gets the sizes it
    // will have on screen.
    std::optional<host::ui::MemoryDC> own;
    if (dc == nullptr) {
        host::ui::Desktop* desktop = host::ui::Desktop::current();
        if (desktop == nullptr) return defaultSize;
        own.emplace(*desktop);
        dc = &*own;
    }

    const host::ui::Font previous = dc->font();
    const host::ui::Font font = QueryFontObject();
    if (!font.isNull()) dc->selectFont(font);

    Size size;
    const unsigned format = QueryFormat();
    if ((format & host::ui::DT_WORDBREAK) != 0 && (format & host::ui::DT_SINGLELINE) == 0) {
        int widest = 0;
        std::string_view rest = *text;
        while (true) {
            const std::size_t lineFeed = rest.find('\n');
            widest = std::max(widest, dc->textExtent(rest.substr(0, lineFeed)).width);
            if (lineFeed == std::string_view::npos) break;
            rest.remove_prefix(lineFeed + 1);
        }
        Rect r{0, 0, widest + 1, 0};
        dc->drawText(*text, r, format | host::ui::DT_CALCRECT);
        size = r.size();
    } else {
        size = dc->textExtent(*text);
    }
    dc->selectFont(previous);

    const int margin = QueryMargin();
    size.width += 2 * margin;
    size.height += 2 * margin;
    // The host's extents of vertical text already come turned (width and height swapped); what a turned cell
    // adds on top is the extra room along the text.
    if (IsTurned(QueryFont())) size.height += 4 * margin;
    return size;
}

Size CGridCellBase::MeasureCell(DC* dc) {
    Size size = MeasureText(QueryText(), dc);
    const int extra = TestFixed() ? 2 : 1;
    size.width += extra;
    size.height += extra;
    return size;
}
