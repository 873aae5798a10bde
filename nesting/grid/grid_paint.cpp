// Painting the grid: the whole window through the off-screen surface (headings first, then the cells, then the
// lines between non-fixed cells), its background, and single cells or rows drawn at once.
#include <algorithm>
#include <optional>

#include "host/ui/desktop.h"
#include "nesting/grid/grid_buffer_dc.h"
#include "nesting/grid/grid_ctrl.h"

using host::ui::Brush;
using host::ui::ClientDC;
using host::ui::DC;
using host::ui::Pen;
using host::ui::Rect;

void CGridCtrl::OnPaint() {
    host::ui::PaintDC paint(*this);
    if (doubleBuffering_) {
        CGridBufferDC buffer(paint);
        DrawGrid(buffer);
    } else {
        DrawGrid(paint);
    }
}

void CGridCtrl::DrawGrid(DC& dc) {
    if (!redrawAllowed_) return;
    const Rect clip = dc.clipBox();
    if (clip.isEmpty()) return;
    PaintBackground(dc);

    const int fixedHeight = FixedRowsHeight();
    const int fixedWidth = FixedColumnsWidth();
    Rect visibleRect;
    const CellBlock visible = VisibleNonFixedRange(&visibleRect);

    // Draws the cells of rows [firstRow, lastRow] x columns [firstColumn, lastColumn] edge to edge from (x, y),
    // passing over those outside the clip box when `clipped`.
    auto drawCells = [&](int firstRow, int lastRow, int y, int firstColumn, int lastColumn, int x, bool clipped) {
        int bottom = y - 1;
        for (int r = firstRow; r <= lastRow; ++r) {
            const int height = rowHeights_[r];
            if (height == 0) continue;
            const int top = bottom + 1;
            bottom += height;
            if (clipped && top >= clip.bottom) break;
            if (clipped && bottom < clip.top) continue;
            int right = x - 1;
            for (int c = firstColumn; c <= lastColumn; ++c) {
                const int width = columnWidths_[c];
                if (width == 0) continue;
                const int left = right + 1;
                right += width;
                if (clipped && left >= clip.right) break;
                if (clipped && right < clip.left) continue;
                CGridCellBase* cell = CellAt(r, c);
                if (cell == nullptr) continue;
                Rect rect{left, top, right, bottom};
                cell->PutPosition(r, c);
                cell->Paint(&dc, r, c, rect, false);
            }
        }
    };
    drawCells(0, fixedRowCount_ - 1, 0, 0, fixedColumnCount_ - 1, 0, false);
    drawCells(visible.minRow, visible.maxRow, fixedHeight, 0, fixedColumnCount_ - 1, 0, true);
    drawCells(0, fixedRowCount_ - 1, 0, visible.minColumn, visible.maxColumn, fixedWidth, true);
    drawCells(visible.minRow, visible.maxRow, fixedHeight, visible.minColumn, visible.maxColumn, fixedWidth, true);

    const Pen previous = dc.selectPen(Pen::solid(gridLineColour_, 0));
    if (gridLines_ == GridLinesVertical || gridLines_ == GridLinesBoth) {
        int x = fixedWidth;
        for (int c = visible.minColumn; c <= visible.maxColumn; ++c) {
            if (columnWidths_[c] == 0) continue;
            x += columnWidths_[c];
            dc.moveTo({x - 1, fixedHeight});
            dc.lineTo({x - 1, visibleRect.bottom});
        }
    }
    if (gridLines_ == GridLinesHorizontal || gridLines_ == GridLinesBoth) {
        int y = fixedHeight;
        for (int r = visible.minRow; r <= visible.maxRow; ++r) {
            if (rowHeights_[r] == 0) continue;
            y += rowHeights_[r];
            dc.moveTo({fixedWidth, y - 1});
            dc.lineTo({visibleRect.right, y - 1});
        }
    }
    dc.selectPen(previous);
    dc.selectPen(host::ui::stockPen(host::ui::NULL_PEN));
}

void CGridCtrl::PaintBackground(DC& dc) {
    const Brush corner = Brush::solid(CornerTemplate().QueryBackColour());
    const Brush fixedColumn = Brush::solid(FixedColumnTemplate().QueryBackColour());
    const Brush fixedRow = Brush::solid(FixedRowTemplate().QueryBackColour());
    const Brush normal = Brush::solid(NormalTemplate().QueryBackColour());
    const Brush outside = Brush::solid(outsideColour_);
    const Rect clip = dc.clipBox();
    Rect visible;
    VisibleNonFixedRange(&visible);
    const int w = FixedColumnsWidth();
    const int h = FixedRowsHeight();

    if (clip.left < w) {
        if (clip.top < h) dc.fillRect(Rect{clip.left, clip.top, w, h}, corner);
        // The heading column below the corner (from the clip's top when that lies below the corner).
        if (clip.top < visible.bottom)
            dc.fillRect(Rect{clip.left, std::max(clip.top, h), w, visible.bottom}, fixedColumn);
    }
    if (clip.top < h && clip.right > w && clip.left < visible.right)
        dc.fillRect(Rect{w - 1, clip.top, visible.right, h}, fixedRow);
    const Rect overlap = intersect(visible, clip);
    if (!overlap.isEmpty())
        dc.fillRect(Rect{std::max(overlap.left, w), std::max(overlap.top, h), overlap.right, overlap.bottom}, normal);
    if (visible.right < clip.right) dc.fillRect(Rect{visible.right, clip.top, clip.right, clip.bottom}, outside);
    if (visible.bottom < clip.bottom && clip.left < visible.right)
        dc.fillRect(Rect{clip.left, visible.bottom, visible.right, clip.bottom}, outside);
}

bool CGridCtrl::PaintCellNow(int row, int column, DC* dc) {
    if (!redrawAllowed_ || !IsCellVisible(row, column)) return false;
    Rect rect;
    if (!CellRectOf(row, column, rect)) return false;
    CGridCellBase* cell = CellAt(row, column);
    if (cell == nullptr) return false;

    std::optional<ClientDC> own;
    if (dc == nullptr) {
        own.emplace(*this);
        dc = &*own;
    }
    // The cell's Paint narrows the rectangle it is given; the lines go along the cell's own edges.
    Rect inner = rect;
    const bool drawn = cell->Paint(dc, row, column, inner, true);
    if (!cell->TestFixed()) {
        const Pen previous = dc->selectPen(Pen::solid(gridLineColour_, 0));
        if (gridLines_ == GridLinesHorizontal || gridLines_ == GridLinesBoth) {
            dc->moveTo({rect.left, rect.bottom});
            dc->lineTo({rect.right + 1, rect.bottom});
        }
        if (gridLines_ == GridLinesVertical || gridLines_ == GridLinesBoth) {
            dc->moveTo({rect.right, rect.top});
            dc->lineTo({rect.right, rect.bottom + 1});
        }
        dc->selectPen(previous);
    }
    return drawn;
}

bool CGridCtrl::RepaintRow(int row) {
    if (!exists() || row < 0 || row >= rowCount_) return false;
    ClientDC dc(*this);
    bool all = true;
    for (int c = 0; c < columnCount_; ++c) {
        if (columnWidths_[c] == 0) continue;  // hidden: nothing to draw
        if (!PaintCellNow(row, c, &dc)) all = false;
    }
    return all;
}

void CGridCtrl::DirtyCell(int row, int column) {
    if (!exists() || !redrawAllowed_ || !IsCellVisible(row, column)) return;
    Rect rect;
    if (!CellRectOf(row, column, rect)) return;
    invalidateRect(Rect{rect.left, rect.top, rect.right + 1, rect.bottom + 1}, true);
}

void CGridCtrl::RepaintGrid() {
    if (exists() && redrawAllowed_) invalidate(true);
}
