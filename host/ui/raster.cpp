// The raster: recorded drawing calls into pixels.
//
// Index: [SECTION] Pixels and lines  [SECTION] Shapes  [SECTION] Edges and frame controls  [SECTION] Text
//        [SECTION] Records
#include "host/ui/raster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "host/sys/encoding.h"
#include "host/ui/glyph_cache.h"

namespace host::ui::detail {

namespace {

// [SECTION] Pixels and lines

void plot(Image& image, const Rect& clip, int x, int y, ColorRef c) {
    if (clip.contains({x, y})) image.set(x, y, c);
}

void fill(Image& image, const Rect& clip, const Rect& r, ColorRef c) { image.fill(intersect(r, clip), c); }

ColorRef invert(ColorRef c) { return (~c) & 0x00FFFFFF; }

// Whether a pen of this style draws the n-th pixel of a line.
bool penDraws(int style, int n) {
    switch (style) {
    case PS_DASH: return n % 9 < 6;
    case PS_DOT: return n % 2 == 0;
    case PS_DASHDOT: return n % 12 < 6 || n % 12 == 8;
    case PS_DASHDOTDOT: return n % 14 < 6 || n % 14 == 8 || n % 14 == 11;
    default: return true;
    }
}

// Bresenham from a to b, b excluded, as GDI draws.
void line(Image& image, const Rect& clip, Point a, Point b, const Pen& pen) {
    if (pen.isNull()) return;
    const int thickness = std::max(pen.width, 1);
    const int before = (thickness - 1) / 2;
    int x = a.x, y = a.y;
    const int dx = std::abs(b.x - a.x), dy = -std::abs(b.y - a.y);
    const int sx = a.x < b.x ? 1 : -1, sy = a.y < b.y ? 1 : -1;
    int err = dx + dy;
    for (int n = 0; !(x == b.x && y == b.y); ++n) {
        if (penDraws(pen.style, n))
            for (int ty = 0; ty < thickness; ++ty)
                for (int tx = 0; tx < thickness; ++tx) plot(image, clip, x - before + tx, y - before + ty, pen.color);
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

void hline(Image& image, const Rect& clip, int x0, int x1, int y, ColorRef c) {
    fill(image, clip, Rect{std::min(x0, x1), y, std::max(x0, x1), y + 1}, c);
}
void vline(Image& image, const Rect& clip, int x, int y0, int y1, ColorRef c) {
    fill(image, clip, Rect{x, std::min(y0, y1), x + 1, std::max(y0, y1)}, c);
}

void frame(Image& image, const Rect& clip, const Rect& r, ColorRef c) {
    if (r.isEmpty()) return;
    hline(image, clip, r.left, r.right, r.top, c);
    hline(image, clip, r.left, r.right, r.bottom - 1, c);
    vline(image, clip, r.left, r.top, r.bottom, c);
    vline(image, clip, r.right - 1, r.top, r.bottom, c);
}

// [SECTION] Shapes

// Even-odd scan fill of a polygon, sampling pixel centres.
void fillPolygon(Image& image, const Rect& clip, const std::vector<Point>& pts, ColorRef c) {
    if (pts.size() < 3) return;
    int top = pts[0].y, bottom = pts[0].y;
    for (auto p : pts) {
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    top = std::max(top, clip.top);
    bottom = std::min(bottom, clip.bottom);
    for (int y = top; y < bottom; ++y) {
        const double cy = y + 0.5;
        std::vector<double> xs;
        for (std::size_t i = 0; i < pts.size(); ++i) {
            Point a = pts[i], b = pts[(i + 1) % pts.size()];
            if ((a.y <= cy && b.y > cy) || (b.y <= cy && a.y > cy))
                xs.push_back(a.x + (cy - a.y) * (b.x - a.x) / static_cast<double>(b.y - a.y));
        }
        std::sort(xs.begin(), xs.end());
        for (std::size_t i = 0; i + 1 < xs.size(); i += 2) {
            const int x0 = static_cast<int>(std::ceil(xs[i] - 0.5));
            const int x1 = static_cast<int>(std::ceil(xs[i + 1] - 0.5));
            hline(image, clip, x0, x1, y, c);
        }
    }
}

void ellipse(Image& image, const Rect& clip, const Rect& r, const Pen& pen, const Brush& brush) {
    if (r.isEmpty()) return;
    const double cx = (r.left + r.right - 1) / 2.0, cy = (r.top + r.bottom - 1) / 2.0;
    const double rx = (r.width() - 1) / 2.0, ry = (r.height() - 1) / 2.0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) {
            const double nx = rx > 0 ? (x - cx) / (rx + 0.5) : 0, ny = ry > 0 ? (y - cy) / (ry + 0.5) : 0;
            const double d = nx * nx + ny * ny;
            if (d > 1.0) continue;
            const double inner = rx > 1 && ry > 1 ? ((x - cx) / (rx - 0.5)) * ((x - cx) / (rx - 0.5)) +
                                                         ((y - cy) / (ry - 0.5)) * ((y - cy) / (ry - 0.5))
                                                   : 0;
            if (!pen.isNull() && inner > 1.0)
                plot(image, clip, x, y, pen.color);
            else if (!brush.isNull())
                plot(image, clip, x, y, brush.color);
        }
}

void triangle(Image& image, const Rect& clip, const Rect& box, unsigned direction, ColorRef c) {
    // A small solid arrow centred in the box: 0 up, 1 down, 2 left, 3 right.
    const int size = std::max(2, std::min(box.width(), box.height()) / 4);
    const Point m = box.center();
    for (int i = 0; i < size; ++i) {
        switch (direction) {
        case 0: hline(image, clip, m.x - i, m.x + i + 1, m.y - size / 2 + i, c); break;
        case 1: hline(image, clip, m.x - i, m.x + i + 1, m.y + size / 2 - i, c); break;
        case 2: vline(image, clip, m.x - size / 2 + i, m.y - i, m.y + i + 1, c); break;
        default: vline(image, clip, m.x + size / 2 - i, m.y - i, m.y + i + 1, c); break;
        }
    }
}

void stretch(Image& image, const Rect& clip, const Image& source, const Rect& from, const Rect& to) {
    if (from.isEmpty() || to.isEmpty()) return;
    const Rect area = intersect(to, clip);
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) {
            const int sx = from.left + (x - to.left) * from.width() / to.width();
            const int sy = from.top + (y - to.top) * from.height() / to.height();
            const ColorRef c = source.at(sx, sy);
            if (c != CLR_INVALID) image.set(x, y, c);
        }
}

ColorRef combine(ColorRef dest, ColorRef source, std::uint32_t rop) {
    switch (rop) {
    case SRCPAINT: return dest | source;
    case SRCAND: return dest & source;
    case SRCINVERT: return (dest ^ source) & 0x00FFFFFF;
    default: return source;
    }
}

}  // namespace

// [SECTION] Edges and frame controls

void drawEdgePixels(Image& image, const Rect& r, unsigned edge, unsigned sides, const Rect& clip,
                    const SystemTables& system) {
    // Outer then inner ring; each ring draws its top-left and bottom-right colours.
    struct Ring {
        unsigned raised, sunken;
    };
    const Ring rings[2] = {{BDR_RAISEDOUTER, BDR_SUNKENOUTER}, {BDR_RAISEDINNER, BDR_SUNKENINNER}};
    Rect box = r;
    for (int ring = 0; ring < 2; ++ring) {
        ColorRef topLeft = 0, bottomRight = 0;
        bool draw = true;
        if (edge & rings[ring].raised) {
            topLeft = system.color(ring == 0 ? COLOR_3DLIGHT : COLOR_3DHIGHLIGHT);
            bottomRight = system.color(ring == 0 ? COLOR_3DDKSHADOW : COLOR_3DSHADOW);
        } else if (edge & rings[ring].sunken) {
            topLeft = system.color(ring == 0 ? COLOR_3DSHADOW : COLOR_3DDKSHADOW);
            bottomRight = system.color(ring == 0 ? COLOR_3DHIGHLIGHT : COLOR_3DLIGHT);
        } else {
            draw = false;
        }
        if (sides & (BF_FLAT | BF_MONO)) {
            topLeft = bottomRight = system.color((sides & BF_MONO) ? COLOR_WINDOWFRAME : COLOR_3DSHADOW);
        }
        if (!draw) continue;
        if (sides & BF_TOP) hline(image, clip, box.left, box.right, box.top, topLeft);
        if (sides & BF_LEFT) vline(image, clip, box.left, box.top, box.bottom, topLeft);
        if (sides & BF_BOTTOM) hline(image, clip, box.left, box.right, box.bottom - 1, bottomRight);
        if (sides & BF_RIGHT) vline(image, clip, box.right - 1, box.top, box.bottom, bottomRight);
        box = Rect{box.left + ((sides & BF_LEFT) ? 1 : 0), box.top + ((sides & BF_TOP) ? 1 : 0),
                   box.right - ((sides & BF_RIGHT) ? 1 : 0), box.bottom - ((sides & BF_BOTTOM) ? 1 : 0)};
    }
    if (sides & BF_MIDDLE) fill(image, clip, box, system.color(COLOR_BTNFACE));
}

void drawFrameControlPixels(Image& image, const Rect& r, unsigned type, unsigned state, const Rect& clip,
                            const SystemTables& system) {
    const bool pushed = (state & DFCS_PUSHED) != 0;
    const bool inactive = (state & DFCS_INACTIVE) != 0;
    const ColorRef glyph = system.color(inactive ? COLOR_GRAYTEXT : COLOR_BTNTEXT);
    if (type == DFC_SCROLL || type == DFC_CAPTION || (type == DFC_BUTTON && (state & DFCS_BUTTONPUSH))) {
        fill(image, clip, r, system.color(COLOR_BTNFACE));
        drawEdgePixels(image, r, pushed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | (state & DFCS_FLAT ? BF_FLAT : 0),
                       clip, system);
        const Rect inner = r.inflatedBy(-2, -2).offsetBy(pushed ? 1 : 0, pushed ? 1 : 0);
        if (type == DFC_SCROLL) {
            const unsigned kind = state & 0xFF;
            triangle(image, clip, inner, kind == DFCS_SCROLLCOMBOBOX ? 1u : kind & 3u, glyph);
        } else if (type == DFC_CAPTION) {
            const Rect x = inner.inflatedBy(-2, -2);
            line(image, clip, x.topLeft(), x.bottomRight(), Pen::solid(glyph));
            line(image, clip, {x.right - 1, x.top}, {x.left - 1, x.bottom}, Pen::solid(glyph));
        }
        return;
    }
    if (type != DFC_BUTTON) return;
    const ColorRef face = system.color(inactive ? COLOR_BTNFACE : COLOR_WINDOW);
    if (state & DFCS_BUTTONRADIO) {
        ellipse(image, clip, r, Pen::solid(system.color(COLOR_3DSHADOW)), Brush::solid(face));
        if (state & DFCS_CHECKED) {
            const Rect dot = r.inflatedBy(-r.width() / 3, -r.height() / 3);
            ellipse(image, clip, dot, Pen::solid(glyph), Brush::solid(glyph));
        }
        return;
    }
    // Check box.
    fill(image, clip, r, face);
    drawEdgePixels(image, r, EDGE_SUNKEN, BF_RECT, clip, system);
    if (state & DFCS_CHECKED) {
        const Rect in = r.inflatedBy(-3, -3);
        const Point a{in.left, in.top + in.height() / 2}, b{in.left + in.width() / 3, in.bottom - 1},
            c{in.right, in.top - 1};
        line(image, clip, a, b, Pen::solid(glyph, 2));
        line(image, clip, b, c, Pen::solid(glyph, 2));
    }
}

// [SECTION] Text

void drawTextPixels(Image& image, const DrawRecord& text, const Rect& clip) {
    const LogFont& font = text.font;
    const TextMetrics metrics = measureMetrics(text.measurer, font);
    const bool metric = text.measurer == TextMeasurer::Metric;
    const std::string file = fontFileFor(font, metric);
    // The metric font draws DejaVu Sans Mono glyphs at a size whose advance (about 0.6 em) fits its cell.
    const int em = metric ? std::max(1, static_cast<int>(((characterHeight(font) + 1) / 2) / 0.6))
                          : (font.height > 0 ? detail::emForCellHeight(file, font.height).value_or(12)
                                             : characterHeight(font));
    const int e = ((font.escapement % 3600) + 3600) % 3600;
    const bool up = e == 900, down = e == 2700;
    for (const TextLine& l : text.lines) {
        if (text.backMode == OPAQUE)
            fill(image, clip, Rect{l.origin.x, l.origin.y, l.origin.x + l.width, l.origin.y + metrics.height},
                 text.backColor);
        int penX = 0;
        std::size_t pos = 0;
        while (pos < l.text.size()) {
            const char32_t c = sys::decodeUtf8At(l.text, pos);
            const int advance = characterAdvance(text.measurer, font, c);
            const GlyphBitmap* g = file.empty() ? nullptr : renderGlyph(file, em, c);
            if (g) {
                // Centre the glyph in its cell when the cell is wider than the glyph's own advance.
                const int shift = metric ? (advance - g->advance) / 2 : 0;
                for (int gy = 0; gy < g->rows; ++gy)
                    for (int gx = 0; gx < g->width; ++gx) {
                        const int a = g->coverage[static_cast<std::size_t>(gy * g->width + gx)];
                        if (a == 0) continue;
                        int dx = penX + shift + g->left + gx;
                        int dy = metrics.ascent - g->top + gy;
                        int x = l.origin.x + dx, y = l.origin.y + dy;
                        if (up) {
                            x = l.origin.x + dy;
                            y = l.origin.y - dx;
                        } else if (down) {
                            x = l.origin.x - dy;
                            y = l.origin.y + dx;
                        }
                        if (!clip.contains({x, y})) continue;
                        const ColorRef under = image.at(x, y);
                        if (under == CLR_INVALID) continue;
                        auto mix = [&](int fg, int bg) { return (fg * a + bg * (255 - a) + 127) / 255; };
                        image.set(x, y, rgb(mix(redOf(text.textColor), redOf(under)),
                                            mix(greenOf(text.textColor), greenOf(under)),
                                            mix(blueOf(text.textColor), blueOf(under))));
                    }
            } else if (c != U' ') {
                frame(image, clip, Rect{l.origin.x + penX + 1, l.origin.y + 1, l.origin.x + penX + advance - 1,
                                        l.origin.y + metrics.ascent},
                      text.textColor);
            }
            penX += advance;
        }
        if (!up && !down && (font.underline || font.strikeOut)) {
            const int y = l.origin.y + (font.underline ? metrics.ascent + 1 : metrics.ascent / 2 + 1);
            hline(image, clip, l.origin.x, l.origin.x + l.width, y, text.textColor);
        }
    }
}

// [SECTION] Records

void rasterize(const DrawRecord& r, Image& image, const SystemTables& system) {
    const Rect clip = intersect(r.clip, Rect{0, 0, image.width(), image.height()});
    if (clip.isEmpty()) return;
    switch (r.op) {
    case DrawOp::FillRect: fill(image, clip, r.rect, r.color); break;
    case DrawOp::FrameRect: frame(image, clip, r.rect, r.color); break;
    case DrawOp::PatBlt: {
        const Rect area = intersect(r.rect, clip);
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x) {
                const ColorRef d = image.at(x, y);
                ColorRef out = r.brush.color;
                if (r.flags == BLACKNESS) out = 0;
                else if (r.flags == WHITENESS) out = rgb(255, 255, 255);
                else if (r.flags == DSTINVERT) out = invert(d);
                else if (r.flags == PATINVERT) out = (d ^ r.brush.color) & 0x00FFFFFF;
                image.set(x, y, out);
            }
        break;
    }
    case DrawOp::Line: line(image, clip, r.from, r.to, r.pen); break;
    case DrawOp::Rectangle:
        if (!r.brush.isNull()) fill(image, clip, r.rect.inflatedBy(-1, -1), r.brush.color);
        if (!r.pen.isNull()) frame(image, clip, r.rect, r.pen.color);
        break;
    case DrawOp::Ellipse: ellipse(image, clip, r.rect, r.pen, r.brush); break;
    case DrawOp::Polygon:
        if (!r.brush.isNull()) fillPolygon(image, clip, r.points, r.brush.color);
        for (std::size_t i = 0; i < r.points.size(); ++i)
            line(image, clip, r.points[i], r.points[(i + 1) % r.points.size()], r.pen);
        break;
    case DrawOp::Polyline:
        for (std::size_t i = 0; i + 1 < r.points.size(); ++i) line(image, clip, r.points[i], r.points[i + 1], r.pen);
        break;
    case DrawOp::Edge: drawEdgePixels(image, r.rect, r.flags, r.flags2, clip, system); break;
    case DrawOp::FrameControl: drawFrameControlPixels(image, r.rect, r.flags, r.flags2, clip, system); break;
    case DrawOp::FocusRect: {
        const Rect f = r.rect;
        int n = 0;
        for (int x = f.left; x < f.right; ++x, ++n)
            if (n % 2 == 0) {
                if (clip.contains({x, f.top})) image.set(x, f.top, invert(image.at(x, f.top)));
                if (f.bottom - 1 > f.top && clip.contains({x, f.bottom - 1}))
                    image.set(x, f.bottom - 1, invert(image.at(x, f.bottom - 1)));
            }
        for (int y = f.top + 1; y < f.bottom - 1; ++y, ++n)
            if (n % 2 == 0) {
                if (clip.contains({f.left, y})) image.set(f.left, y, invert(image.at(f.left, y)));
                if (f.right - 1 > f.left && clip.contains({f.right - 1, y}))
                    image.set(f.right - 1, y, invert(image.at(f.right - 1, y)));
            }
        break;
    }
    case DrawOp::Text: drawTextPixels(image, r, clip); break;
    case DrawOp::Pixel: plot(image, clip, r.to.x, r.to.y, r.color); break;
    case DrawOp::Bitmap:
        if (r.bitmap && r.bitmap->pixelsIfAny())
            stretch(image, clip, *r.bitmap->pixelsIfAny(), Rect{0, 0, r.bitmap->width(), r.bitmap->height()}, r.rect);
        break;
    case DrawOp::BitBlt:
        if (r.bitmap && r.bitmap->pixelsIfAny()) {
            const Image& source = *r.bitmap->pixelsIfAny();
            const Rect area = intersect(r.rect, clip);
            for (int y = area.top; y < area.bottom; ++y)
                for (int x = area.left; x < area.right; ++x) {
                    const ColorRef s =
                        source.at(r.sourceRect.left + x - r.rect.left, r.sourceRect.top + y - r.rect.top);
                    if (s != CLR_INVALID) image.set(x, y, combine(image.at(x, y), s, r.flags));
                }
        }
        break;
    }
}

}  // namespace host::ui::detail
