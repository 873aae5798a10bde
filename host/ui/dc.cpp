// Device contexts: state, drawing calls, their records and their pixels.
//
// Index: [SECTION] Records and display lists  [SECTION] State  [SECTION] Drawing  [SECTION] Text
//        [SECTION] Bitmaps  [SECTION] Kinds of DC
#include "host/ui/dc.h"

#include <algorithm>

#include "host/ui/desktop.h"
#include "host/ui/desktop_impl.h"
#include "host/ui/raster.h"
#include "host/ui/text_layout.h"

namespace host::ui {

// [SECTION] Records and display lists

std::string DrawRecord::shownText() const {
    std::string out;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i) out.push_back('\n');
        out += lines[i].text;
    }
    return out;
}

void DisplayList::add(DrawRecord record) {
    if (records_.size() >= kMaxRecords)
        records_.erase(records_.begin(), records_.begin() + static_cast<std::ptrdiff_t>(kMaxRecords / 2));
    records_.push_back(std::move(record));
}

std::vector<const DrawRecord*> DisplayList::ofKind(DrawOp op) const {
    std::vector<const DrawRecord*> out;
    for (const auto& r : records_)
        if (r.op == op) out.push_back(&r);
    return out;
}

std::vector<const DrawRecord*> DisplayList::texts(std::string_view shown) const {
    std::vector<const DrawRecord*> out;
    for (const auto& r : records_)
        if (r.op == DrawOp::Text && r.shownText() == shown) out.push_back(&r);
    return out;
}

Pen stockPen(int which) {
    switch (which) {
    case WHITE_PEN: return Pen::solid(rgb(255, 255, 255));
    case NULL_PEN: return Pen::null();
    default: return Pen::solid(rgb(0, 0, 0));
    }
}

Brush stockBrush(int which) {
    switch (which) {
    case LTGRAY_BRUSH: return Brush::solid(rgb(192, 192, 192));
    case GRAY_BRUSH: return Brush::solid(rgb(128, 128, 128));
    case DKGRAY_BRUSH: return Brush::solid(rgb(64, 64, 64));
    case BLACK_BRUSH: return Brush::solid(rgb(0, 0, 0));
    case NULL_BRUSH: return Brush::null();
    default: return Brush::solid(rgb(255, 255, 255));
    }
}

namespace {

// The rectangle a record touches, device coordinates, for deciding what a BitBlt publishes.
Rect boundsOf(const DrawRecord& r) {
    switch (r.op) {
    case DrawOp::Line:
        return {std::min(r.from.x, r.to.x), std::min(r.from.y, r.to.y), std::max(r.from.x, r.to.x) + 1,
                std::max(r.from.y, r.to.y) + 1};
    case DrawOp::Pixel: return {r.to.x, r.to.y, r.to.x + 1, r.to.y + 1};
    case DrawOp::Polygon:
    case DrawOp::Polyline: {
        Rect b{};
        for (auto p : r.points) b = unite(b, Rect{p.x, p.y, p.x + 1, p.y + 1});
        return b;
    }
    case DrawOp::Text: {
        Rect b{};
        for (const auto& l : r.lines)
            b = unite(b, Rect{l.origin.x, l.origin.y, l.origin.x + std::max(l.width, 1), l.origin.y + 1});
        return unite(b, r.rect);
    }
    default: return r.rect;
    }
}

void moveRecord(DrawRecord& r, int dx, int dy) {
    r.rect = r.rect.offsetBy(dx, dy);
    r.clip = r.clip.offsetBy(dx, dy);
    r.from = r.from + Point{dx, dy};
    r.to = r.to + Point{dx, dy};
    for (auto& p : r.points) p = p + Point{dx, dy};
    for (auto& l : r.lines) l.origin = l.origin + Point{dx, dy};
}

}  // namespace

DC::DC(Desktop& desktop, Window* window, DrawSource source, Rect deviceClip)
    : desktop_(&desktop), window_(window), source_(source) {
    serial_ = ++desktop.impl_->paintSerial;
    state_.clip = deviceClip;
}

DC::~DC() = default;

DrawRecord DC::makeRecord(DrawOp op) const {
    DrawRecord r;
    r.op = op;
    r.source = source_;
    r.paint = serial_;
    r.clip = state_.clip;
    r.pen = state_.pen;
    r.brush = state_.brush;
    r.color = state_.brush.color;
    r.textColor = state_.textColor;
    r.backColor = state_.backColor;
    r.backMode = state_.backMode;
    return r;
}

void DC::emit(DrawRecord record) {
    auto& impl = *desktop_->impl_;
    if (window_) {
        detail::WindowNode* node = impl.nodeOf(window_);
        if (!node) return;
        if (impl.raster) detail::rasterize(record, impl.rasterOf(node), impl.system);
        node->displayList.add(std::move(record));
        return;
    }
    if (!state_.bitmap) return;
    record.source = DrawSource::Memory;
    if (impl.raster) detail::rasterize(record, state_.bitmap->pixels(), impl.system);
    state_.bitmap->addRecord(std::move(record));
}

// [SECTION] State

int DC::save() {
    saved_.push_back(state_);
    return static_cast<int>(saved_.size());
}

bool DC::restore(int level) {
    if (saved_.empty()) return false;
    std::size_t index;
    if (level < 0) {
        const std::size_t back = static_cast<std::size_t>(-level);
        if (back > saved_.size()) return false;
        index = saved_.size() - back;
    } else {
        if (level == 0 || static_cast<std::size_t>(level) > saved_.size()) return false;
        index = static_cast<std::size_t>(level) - 1;
    }
    state_ = saved_[index];
    saved_.resize(index);
    return true;
}

Pen DC::selectPen(const Pen& pen) { return std::exchange(state_.pen, pen); }
Brush DC::selectBrush(const Brush& brush) { return std::exchange(state_.brush, brush); }
Font DC::selectFont(const Font& font) { return std::exchange(state_.font, font); }

BitmapPtr DC::selectBitmap(BitmapPtr bitmap) {
    if (window_) return nullptr;
    state_.clip = bitmap ? Rect{0, 0, bitmap->width(), bitmap->height()} : Rect{0, 0, 1, 1};
    return std::exchange(state_.bitmap, std::move(bitmap));
}

ColorRef DC::setTextColor(ColorRef c) { return std::exchange(state_.textColor, c); }
ColorRef DC::setBkColor(ColorRef c) { return std::exchange(state_.backColor, c); }
int DC::setBkMode(int mode) { return std::exchange(state_.backMode, mode); }
unsigned DC::setTextAlign(unsigned align) { return std::exchange(state_.textAlign, align); }
Point DC::setWindowOrg(Point origin) { return std::exchange(state_.windowOrigin, origin); }
Point DC::setViewportOrg(Point origin) { return std::exchange(state_.viewportOrigin, origin); }

Point DC::toDevice(Point p) const { return p - state_.windowOrigin + state_.viewportOrigin; }

Rect DC::toDevice(const Rect& r) const {
    const Point d = state_.viewportOrigin - state_.windowOrigin;
    return r.offsetBy(d);
}

Point DC::toLogical(Point p) const { return p + state_.windowOrigin - state_.viewportOrigin; }

Rect DC::clipBox() const {
    const Point d = state_.windowOrigin - state_.viewportOrigin;
    return state_.clip.offsetBy(d);
}

bool DC::intersectClipRect(const Rect& logical) {
    state_.clip = intersect(state_.clip, toDevice(logical));
    return !state_.clip.isEmpty();
}

// [SECTION] Drawing

void DC::fillRect(const Rect& r, const Brush& brush) {
    if (brush.isNull()) return;
    DrawRecord rec = makeRecord(DrawOp::FillRect);
    rec.rect = toDevice(r);
    rec.brush = brush;
    rec.color = brush.color;
    emit(std::move(rec));
}

void DC::fillSolidRect(const Rect& r, ColorRef c) {
    // As FillSolidRect does, through the background colour.
    state_.backColor = c;
    fillRect(r, Brush::solid(c));
}

void DC::frameRect(const Rect& r, const Brush& brush) {
    if (brush.isNull()) return;
    DrawRecord rec = makeRecord(DrawOp::FrameRect);
    rec.rect = toDevice(r);
    rec.brush = brush;
    rec.color = brush.color;
    emit(std::move(rec));
}

bool DC::patBlt(int x, int y, int width, int height, std::uint32_t rop) {
    DrawRecord rec = makeRecord(DrawOp::PatBlt);
    rec.rect = toDevice(Rect::fromSize(x, y, width, height));
    rec.flags = rop;
    emit(std::move(rec));
    return true;
}

Point DC::moveTo(Point p) { return std::exchange(state_.current, p); }

bool DC::lineTo(Point p) {
    DrawRecord rec = makeRecord(DrawOp::Line);
    rec.from = toDevice(state_.current);
    rec.to = toDevice(p);
    rec.color = state_.pen.color;
    rec.rect = Rect{std::min(rec.from.x, rec.to.x), std::min(rec.from.y, rec.to.y), std::max(rec.from.x, rec.to.x),
                    std::max(rec.from.y, rec.to.y)};
    state_.current = p;
    emit(std::move(rec));
    return true;
}

bool DC::rectangle(const Rect& r) {
    DrawRecord rec = makeRecord(DrawOp::Rectangle);
    rec.rect = toDevice(r);
    emit(std::move(rec));
    return true;
}

bool DC::ellipse(const Rect& r) {
    DrawRecord rec = makeRecord(DrawOp::Ellipse);
    rec.rect = toDevice(r);
    emit(std::move(rec));
    return true;
}

bool DC::polygon(std::span<const Point> points) {
    if (points.size() < 2) return false;
    DrawRecord rec = makeRecord(DrawOp::Polygon);
    for (auto p : points) rec.points.push_back(toDevice(p));
    rec.rect = boundsOf(rec);
    emit(std::move(rec));
    return true;
}

bool DC::polyline(std::span<const Point> points) {
    if (points.size() < 2) return false;
    DrawRecord rec = makeRecord(DrawOp::Polyline);
    for (auto p : points) rec.points.push_back(toDevice(p));
    rec.color = state_.pen.color;
    rec.rect = boundsOf(rec);
    emit(std::move(rec));
    return true;
}

bool DC::drawEdge(Rect& r, unsigned edge, unsigned sides) {
    DrawRecord rec = makeRecord(DrawOp::Edge);
    rec.rect = toDevice(r);
    rec.flags = edge;
    rec.flags2 = sides;
    emit(std::move(rec));
    if (sides & BF_ADJUST) {
        int rings = 0;
        if (edge & (BDR_RAISEDOUTER | BDR_SUNKENOUTER)) ++rings;
        if (edge & (BDR_RAISEDINNER | BDR_SUNKENINNER)) ++rings;
        if (sides & BF_LEFT) r.left += rings;
        if (sides & BF_TOP) r.top += rings;
        if (sides & BF_RIGHT) r.right -= rings;
        if (sides & BF_BOTTOM) r.bottom -= rings;
    }
    return true;
}

bool DC::drawFrameControl(const Rect& r, unsigned type, unsigned state) {
    DrawRecord rec = makeRecord(DrawOp::FrameControl);
    rec.rect = toDevice(r);
    rec.flags = type;
    rec.flags2 = state;
    emit(std::move(rec));
    return true;
}

void DC::drawFocusRect(const Rect& r) {
    DrawRecord rec = makeRecord(DrawOp::FocusRect);
    rec.rect = toDevice(r);
    emit(std::move(rec));
}

void DC::setPixel(Point p, ColorRef c) {
    DrawRecord rec = makeRecord(DrawOp::Pixel);
    rec.to = toDevice(p);
    rec.rect = Rect{rec.to.x, rec.to.y, rec.to.x + 1, rec.to.y + 1};
    rec.color = c;
    emit(std::move(rec));
}

ColorRef DC::pixel(Point p) const {
    const Point d = toDevice(p);
    auto& impl = *desktop_->impl_;
    if (window_) {
        detail::WindowNode* node = impl.nodeOf(window_);
        if (!node || !node->raster) return CLR_INVALID;
        return node->raster->at(d.x, d.y);
    }
    if (!state_.bitmap || !state_.bitmap->pixelsIfAny()) return CLR_INVALID;
    return state_.bitmap->pixelsIfAny()->at(d.x, d.y);
}

// [SECTION] Text

LogFont DC::currentLogFont() const {
    return state_.font.isNull() ? desktop_->system().messageFont() : state_.font.logFont();
}

int DC::drawText(std::string_view text, Rect& r, unsigned format) {
    const LogFont font = currentLogFont();
    const TextMeasurer measurer = desktop_->textMeasurer();
    const Rect device = toDevice(r);
    TextLayout layout = layoutText(text, device, format, font, measurer);
    if (format & DT_CALCRECT) {
        const Point d = state_.windowOrigin - state_.viewportOrigin;
        r.right = layout.extent.right + d.x;
        r.bottom = layout.extent.bottom + d.y;
        return layout.resultHeight;
    }
    DrawRecord rec = makeRecord(DrawOp::Text);
    rec.rect = device;
    if (!(format & DT_NOCLIP)) rec.clip = intersect(rec.clip, device);
    rec.flags = format;
    rec.text = std::string(text);
    rec.lines = std::move(layout.lines);
    rec.font = font;
    rec.measurer = measurer;
    emit(std::move(rec));
    return layout.resultHeight;
}

int DC::drawText(std::string_view text, const Rect& r, unsigned format) {
    Rect copy = r;
    return drawText(text, copy, format);
}

bool DC::textOut(int x, int y, std::string_view text) {
    const LogFont font = currentLogFont();
    const TextMeasurer measurer = desktop_->textMeasurer();
    const Size extent = measureText(measurer, font, text);
    const TextMetrics metrics = measureMetrics(measurer, font);
    Point at = toDevice(Point{x, y});
    const unsigned horizontal = state_.textAlign & TA_CENTER;
    if (horizontal == TA_CENTER)
        at.x -= extent.width / 2;
    else if (horizontal == TA_RIGHT)
        at.x -= extent.width;
    if ((state_.textAlign & TA_BASELINE) == TA_BASELINE)
        at.y -= metrics.ascent;
    else if (state_.textAlign & TA_BOTTOM)
        at.y -= metrics.height;
    DrawRecord rec = makeRecord(DrawOp::Text);
    rec.rect = Rect{at.x, at.y, at.x + extent.width, at.y + metrics.height};
    rec.flags = DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP;
    rec.text = std::string(text);
    rec.lines.push_back({std::string(text), at, extent.width});
    rec.font = font;
    rec.measurer = measurer;
    emit(std::move(rec));
    return true;
}

Size DC::textExtent(std::string_view text) const {
    return measureText(desktop_->textMeasurer(), currentLogFont(), text);
}

TextMetrics DC::textMetrics() const { return measureMetrics(desktop_->textMeasurer(), currentLogFont()); }

// [SECTION] Bitmaps

bool DC::drawBitmap(const BitmapPtr& bitmap, const Rect& r) {
    if (!bitmap) return false;
    DrawRecord rec = makeRecord(DrawOp::Bitmap);
    rec.rect = toDevice(r);
    rec.bitmap = bitmap;
    rec.sourceRect = Rect{0, 0, bitmap->width(), bitmap->height()};
    emit(std::move(rec));
    return true;
}

bool DC::bitBlt(int x, int y, int width, int height, const DC& source, int sx, int sy, std::uint32_t rop) {
    if (!source.isMemory() || !source.state_.bitmap) return false;
    const Rect destBlock = toDevice(Rect::fromSize(x, y, width, height));
    const Rect sourceBlock = source.toDevice(Rect::fromSize(sx, sy, width, height));
    const int dx = destBlock.left - sourceBlock.left;
    const int dy = destBlock.top - sourceBlock.top;
    const Rect publishClip = intersect(destBlock, state_.clip);

    DrawRecord blit = makeRecord(DrawOp::BitBlt);
    blit.rect = destBlock;
    blit.sourceRect = sourceBlock;
    blit.bitmap = source.state_.bitmap;
    blit.flags = rop;

    // What was drawn on the bitmap inside the block reaches the target, moved by the blit offset.
    std::vector<DrawRecord> published;
    for (const DrawRecord& r : source.state_.bitmap->records()) {
        if (!overlaps(boundsOf(r), sourceBlock)) continue;
        DrawRecord copy = r;
        moveRecord(copy, dx, dy);
        copy.clip = intersect(copy.clip, publishClip);
        copy.source = DrawSource::Blit;
        copy.paint = serial_;
        published.push_back(std::move(copy));
    }
    auto& impl = *desktop_->impl_;
    if (window_) {
        detail::WindowNode* node = impl.nodeOf(window_);
        if (!node) return false;
        if (impl.raster) detail::rasterize(blit, impl.rasterOf(node), impl.system);
        node->displayList.add(std::move(blit));
        for (auto& p : published) node->displayList.add(std::move(p));
        return true;
    }
    if (!state_.bitmap) return false;
    if (impl.raster) detail::rasterize(blit, state_.bitmap->pixels(), impl.system);
    for (auto& p : published) {
        p.source = DrawSource::Memory;
        state_.bitmap->addRecord(std::move(p));
    }
    return true;
}

// [SECTION] Kinds of DC

PaintDC::PaintDC(Window& window)
    : DC(window.desktop(), &window, DrawSource::Paint, Rect{}) {
    auto& impl = *desktop_->impl_;
    detail::WindowNode* node = impl.nodeOf(&window);
    if (!node) return;
    ++node->paintsBegun;
    paintRect_ = intersect(impl.updateBox(node), window.clientRect());
    state_.clip = paintRect_;
    const bool erase = node->erasePending;
    // BeginPaint validates at once: what is invalidated while painting is painted by the next WM_PAINT.
    impl.validate(node);
    if (erase) eraseLeft_ = impl.send(node, WM_ERASEBKGND, wParamFromPointer(static_cast<DC*>(this)), 0) == 0;
}

PaintDC::~PaintDC() = default;

ClientDC::ClientDC(Window& window)
    : DC(window.desktop(), &window, DrawSource::Immediate, window.clientRect()) {}

MemoryDC::MemoryDC(Desktop& desktop) : DC(desktop, nullptr, DrawSource::Memory, Rect{0, 0, 1, 1}) {}

MemoryDC::MemoryDC(const DC& compatible) : MemoryDC(compatible.desktop()) {}

}  // namespace host::ui
