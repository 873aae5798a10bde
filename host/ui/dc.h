// The device context: drawing state (pen, brush, font, colours, origin, clip) and drawing calls, each recorded
// in client coordinates of the window it lands in, and drawn into the window's raster when the desktop keeps one.
//
// Kinds of device context:
//   PaintDC   BeginPaint/EndPaint inside WM_PAINT: clipped to the bounding box of the update area; it sends
//             WM_ERASEBKGND first when the invalidation asked for it, and validates the window when it goes.
//   ClientDC  GetDC/ReleaseDC: clipped to the client area; its records are tagged DrawSource::Immediate.
//   MemoryDC  CreateCompatibleDC with a selected Bitmap: drawing lands in the bitmap's records (and pixels);
//             bitBlt() into a window DC publishes the records that fall inside the copied block to the window's
//             display list, moved by the blit offset, tagged DrawSource::Blit.
//
// Drawing calls follow GDI: rectangles exclude their right and bottom edges; lineTo() excludes its end point;
// coordinates are logical and map to the device by the window origin and viewport origin.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "host/ui/constants.h"
#include "host/ui/font.h"
#include "host/ui/geometry.h"
#include "host/ui/image.h"

namespace host::ui {

class Desktop;
class Window;

struct Pen {
    int style = PS_SOLID;
    int width = 0;  // 0 and 1 both draw one pixel
    ColorRef color = rgb(0, 0, 0);

    static Pen solid(ColorRef c, int width = 0) { return {PS_SOLID, width, c}; }
    static Pen null() { return {PS_NULL, 0, 0}; }
    bool isNull() const { return style == PS_NULL; }
    friend bool operator==(const Pen&, const Pen&) = default;
};

struct Brush {
    bool hollow = false;
    ColorRef color = rgb(255, 255, 255);

    static Brush solid(ColorRef c) { return {false, c}; }
    static Brush null() { return {true, 0}; }
    bool isNull() const { return hollow; }
    friend bool operator==(const Brush&, const Brush&) = default;
};

// The stock objects of GetStockObject (WHITE_BRUSH .. NULL_PEN).
Pen stockPen(int which);
Brush stockBrush(int which);

enum class DrawOp {
    FillRect,      // rect filled with `brush` (FillRect, FillSolidRect)
    FrameRect,     // a one-pixel frame inside rect in `brush`'s colour
    PatBlt,        // rect with raster operation `flags` and `brush`
    Line,          // from -> to, end point excluded, in `pen`
    Rectangle,     // rect outlined with `pen`, filled with `brush`
    Ellipse,       // the ellipse inside rect, likewise
    Polygon,       // points, closed, outlined and filled
    Polyline,      // points, open, in `pen`
    Edge,          // DrawEdge: flags = BDR_* edge, flags2 = BF_* sides
    FrameControl,  // DrawFrameControl: flags = DFC_* type, flags2 = DFCS_* state
    FocusRect,     // DrawFocusRect: a dotted frame inside rect
    Text,          // DrawText and TextOut: text as asked, lines as shown
    Pixel,         // SetPixel: to = the point, color
    Bitmap,        // a bitmap stretched into rect (a picture, StretchBlt)
    BitBlt,        // a block of a memory bitmap copied to rect from sourceRect
};

enum class DrawSource {
    Paint,      // through the PaintDC of a WM_PAINT (including its WM_ERASEBKGND)
    Immediate,  // through a ClientDC, outside the paint cycle
    Blit,       // published from a memory bitmap by a BitBlt (the BitBlt record itself has its DC's source)
    Memory,     // drawn onto a bitmap (only in Bitmap::records())
};

// One line of text as placed: its shown characters and the top-left of its cell, in client coordinates.
struct TextLine {
    std::string text;
    Point origin{};
    int width = 0;
    friend bool operator==(const TextLine&, const TextLine&) = default;
};

// One drawing call as the window received it.
struct DrawRecord {
    DrawOp op = DrawOp::FillRect;
    DrawSource source = DrawSource::Paint;
    int paint = 0;       // serial number of the paint cycle or DC it came from, so calls group by paint
    Rect rect{};         // device (client) rectangle of the operation; Text: the layout rectangle
    Rect clip{};         // the clip box when it was drawn
    Point from{}, to{};  // Line
    std::vector<Point> points;  // Polygon, Polyline
    Pen pen{};
    Brush brush{};
    ColorRef color = 0;  // the effective colour of fills, frames and pixels: the brush's, or the one asked for
    ColorRef textColor = 0;
    ColorRef backColor = 0;
    int backMode = OPAQUE;
    unsigned flags = 0;   // Text: DT_* format; Edge: BDR_*; FrameControl: DFC_*; PatBlt, BitBlt: raster op
    unsigned flags2 = 0;  // Edge: BF_*; FrameControl: DFCS_*
    std::string text;              // Text: as the caller passed it
    std::vector<TextLine> lines;   // Text: as shown (prefix marks removed, ellipsis applied, wrapped)
    LogFont font{};                // Text: the font in use
    TextMeasurer measurer = TextMeasurer::Metric;
    BitmapPtr bitmap;              // Bitmap, BitBlt: the source
    Rect sourceRect{};             // Bitmap, BitBlt: the block of the source

    // The shown lines joined by '\n'.
    std::string shownText() const;
};

// The drawing calls a window received, oldest first. Bounded: beyond kMaxRecords the oldest half is dropped, so
// a long session does not grow without end (tests clear the list long before).
class DisplayList {
public:
    static constexpr std::size_t kMaxRecords = 200000;

    const std::vector<DrawRecord>& records() const { return records_; }
    std::size_t size() const { return records_.size(); }
    bool empty() const { return records_.empty(); }
    const DrawRecord& operator[](std::size_t i) const { return records_[i]; }
    void add(DrawRecord record);
    void clear() { records_.clear(); }

    // Conveniences for tests: the records of one kind; the text records whose shown text is `shown`.
    std::vector<const DrawRecord*> ofKind(DrawOp op) const;
    std::vector<const DrawRecord*> texts(std::string_view shown) const;

private:
    std::vector<DrawRecord> records_;
};

// The state SaveDC keeps.
struct DcState {
    Pen pen{};
    Brush brush{};
    Font font{};
    ColorRef textColor = rgb(0, 0, 0);
    ColorRef backColor = rgb(255, 255, 255);
    int backMode = OPAQUE;
    unsigned textAlign = TA_LEFT | TA_TOP;
    Point windowOrigin{};
    Point viewportOrigin{};
    Rect clip{};  // device coordinates
    Point current{};  // MoveTo position, logical
    BitmapPtr bitmap;  // memory DCs
};

class DC {
public:
    virtual ~DC();
    DC(const DC&) = delete;
    DC& operator=(const DC&) = delete;

    // The window this DC draws into; nullptr for a memory DC.
    Window* window() const { return window_; }
    Desktop& desktop() const { return *desktop_; }
    bool isMemory() const { return window_ == nullptr; }
    bool isPrinting() const { return false; }

    // [SECTION] State
    // SaveDC: answers the new depth (1 for the first save). RestoreDC: a positive level restores that save and
    // drops the later ones; -1 restores the latest. False when there is no such save.
    int save();
    bool restore(int level = -1);

    Pen selectPen(const Pen& pen);      // answers the previous pen
    Brush selectBrush(const Brush& brush);
    Font selectFont(const Font& font);  // the null font selects the default font
    // Memory DCs: selects the bitmap drawn into (CreateCompatibleBitmap + SelectObject); answers the previous.
    BitmapPtr selectBitmap(BitmapPtr bitmap);
    const Pen& pen() const { return state_.pen; }
    const Brush& brush() const { return state_.brush; }
    const Font& font() const { return state_.font; }
    const BitmapPtr& bitmap() const { return state_.bitmap; }

    ColorRef setTextColor(ColorRef c);
    ColorRef textColor() const { return state_.textColor; }
    ColorRef setBkColor(ColorRef c);
    ColorRef bkColor() const { return state_.backColor; }
    int setBkMode(int mode);  // TRANSPARENT or OPAQUE
    int bkMode() const { return state_.backMode; }
    unsigned setTextAlign(unsigned align);
    unsigned textAlign() const { return state_.textAlign; }

    // The logical point that maps to device (0, 0), and the device point logical (0, 0) maps to.
    Point setWindowOrg(Point origin);
    Point windowOrg() const { return state_.windowOrigin; }
    Point setViewportOrg(Point origin);
    Point viewportOrg() const { return state_.viewportOrigin; }
    Point toDevice(Point logical) const;
    Rect toDevice(const Rect& logical) const;
    Point toLogical(Point device) const;

    // The clip box in logical coordinates (GetClipBox).
    Rect clipBox() const;
    // Narrows the clip to `logical` (IntersectClipRect); answers whether anything is left.
    bool intersectClipRect(const Rect& logical);

    // [SECTION] Drawing
    void fillRect(const Rect& r, const Brush& brush);
    void fillSolidRect(const Rect& r, ColorRef c);
    void frameRect(const Rect& r, const Brush& brush);
    bool patBlt(int x, int y, int width, int height, std::uint32_t rop);
    Point moveTo(Point p);  // answers the previous position
    bool lineTo(Point p);
    bool rectangle(const Rect& r);
    bool ellipse(const Rect& r);
    bool polygon(std::span<const Point> points);
    bool polyline(std::span<const Point> points);
    // DrawEdge; with BF_ADJUST `r` shrinks by the edge drawn.
    bool drawEdge(Rect& r, unsigned edge, unsigned sides);
    bool drawFrameControl(const Rect& r, unsigned type, unsigned state);
    void drawFocusRect(const Rect& r);
    void setPixel(Point p, ColorRef c);
    // The pixel at a logical point from the raster; CLR_INVALID without a raster or outside.
    ColorRef pixel(Point p) const;

    // DrawText: lays `text` out in `r` by the DT_* format (see text_layout.h) and draws it, or with DT_CALCRECT
    // only sets r's right and bottom to the text's extent. Answers the text's height (with DT_VCENTER or
    // DT_BOTTOM the offset from r.top to the bottom of the drawn text), 0 on failure.
    int drawText(std::string_view text, Rect& r, unsigned format);
    int drawText(std::string_view text, const Rect& r, unsigned format);
    // TextOut at (x, y) by the text alignment.
    bool textOut(int x, int y, std::string_view text);
    Size textExtent(std::string_view text) const;
    TextMetrics textMetrics() const;
    LogFont currentLogFont() const;  // the selected font's description, the default font resolved

    // Stretches the whole of `bitmap` into `r`.
    bool drawBitmap(const BitmapPtr& bitmap, const Rect& r);
    // Copies width x height from `source` (a memory DC) at (sx, sy) to (x, y).
    bool bitBlt(int x, int y, int width, int height, const DC& source, int sx, int sy, std::uint32_t rop = SRCCOPY);

protected:
    DC(Desktop& desktop, Window* window, DrawSource source, Rect deviceClip);
    // Records and rasterises one call; the record's geometry is already in device coordinates.
    void emit(DrawRecord record);
    DrawRecord makeRecord(DrawOp op) const;

    Desktop* desktop_;
    Window* window_;
    DrawSource source_;
    int serial_ = 0;
    DcState state_;
    std::vector<DcState> saved_;
};

// BeginPaint/EndPaint. Construct it in the WM_PAINT handler; it sends WM_ERASEBKGND when needed.
class PaintDC : public DC {
public:
    explicit PaintDC(Window& window);
    ~PaintDC() override;
    // The area to repaint (the bounding box of the update area), client coordinates.
    const Rect& paintRect() const { return paintRect_; }
    // Whether WM_ERASEBKGND answered 0 (the background is still to be erased).
    bool eraseLeft() const { return eraseLeft_; }

private:
    Rect paintRect_;
    bool eraseLeft_ = false;
};

// GetDC/ReleaseDC: draws at once, outside the paint cycle.
class ClientDC : public DC {
public:
    explicit ClientDC(Window& window);
};

// CreateCompatibleDC. Without a bitmap selected it draws nowhere (as a 1 x 1 monochrome bitmap would).
class MemoryDC : public DC {
public:
    explicit MemoryDC(Desktop& desktop);
    explicit MemoryDC(const DC& compatible);
};

}  // namespace host::ui
