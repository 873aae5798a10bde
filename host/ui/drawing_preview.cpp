// The preview of a drawing file: outlines of model space scaled into a bitmap.
#include "host/ui/drawing_preview.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "host/db/database.h"
#include "host/db/outline.h"
#include "host/db/tables.h"
#include "host/dxf/dxf_file.h"
#include "host/ui/static.h"

namespace host::ui {

namespace {

struct Segment {
    double x0, y0, x1, y1;
};

// Arcs become chords of at most 10 degrees: a preview a few hundred pixels wide shows no facets at that step.
constexpr double kChordStep = std::numbers::pi / 18.0;
// Bound on the segments one preview draws, so that a huge drawing costs a bounded time.
constexpr std::size_t kMaxSegments = 200000;
// Pixels left free round the drawing.
constexpr int kMargin = 4;

void addArc(const ge::CircArc2d& arc, std::vector<Segment>& out) {
    const double sweep = arc.full ? 2 * std::numbers::pi : arc.sweep();
    const int steps = std::max(1, static_cast<int>(std::ceil(sweep / kChordStep)));
    const double direction = arc.clockwise ? -1.0 : 1.0;
    double px = arc.center.x + arc.radius * std::cos(arc.startAngle);
    double py = arc.center.y + arc.radius * std::sin(arc.startAngle);
    for (int i = 1; i <= steps; ++i) {
        const double a = arc.startAngle + direction * sweep * i / steps;
        const double x = arc.center.x + arc.radius * std::cos(a);
        const double y = arc.center.y + arc.radius * std::sin(a);
        out.push_back({px, py, x, y});
        px = x;
        py = y;
    }
}

std::vector<Segment> modelSpaceSegments(const db::Database& database) {
    std::vector<Segment> out;
    const auto* space = dynamic_cast<const db::BlockTableRecord*>(database.peek(database.modelSpaceId()));
    if (!space) return out;
    for (db::ObjectId id : space->entityIds()) {
        const auto* e = dynamic_cast<const db::Entity*>(database.peek(id));
        if (!e || e->isErased() || !e->isVisible()) continue;
        for (const db::OutlinePiece& piece : db::entityOutline(*e)) {
            if (out.size() >= kMaxSegments) return out;
            if (piece.kind == db::OutlinePiece::Kind::Arc)
                addArc(piece.arc, out);
            else
                out.push_back({piece.line.start.x, piece.line.start.y, piece.line.end.x, piece.line.end.y});
        }
    }
    return out;
}

void drawLine(Image& image, int x0, int y0, int x1, int y1, ColorRef colour) {
    const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
    const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        image.set(x0, y0, colour);
        if (x0 == x1 && y0 == y1) return;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

}  // namespace

BitmapPtr makeDrawingPreview(const std::filesystem::path& path, int width, int height) {
    if (width <= 0 || height <= 0) return nullptr;
    const dxf::ReadResult read = dxf::readDxfFile(path);
    if (!read) return nullptr;
    const std::vector<Segment> segments = modelSpaceSegments(*read.database);
    auto bitmap = std::make_shared<Bitmap>(width, height);
    Image& image = bitmap->pixels();
    if (segments.empty()) return bitmap;

    double minX = segments.front().x0, maxX = minX, minY = segments.front().y0, maxY = minY;
    for (const Segment& s : segments) {
        minX = std::min({minX, s.x0, s.x1});
        maxX = std::max({maxX, s.x0, s.x1});
        minY = std::min({minY, s.y0, s.y1});
        maxY = std::max({maxY, s.y0, s.y1});
    }
    const int roomX = std::max(1, width - 2 * kMargin - 1), roomY = std::max(1, height - 2 * kMargin - 1);
    const double spanX = maxX - minX, spanY = maxY - minY;
    double scale = 1.0;
    if (spanX > 0 || spanY > 0)
        scale = std::min(spanX > 0 ? roomX / spanX : 1e300, spanY > 0 ? roomY / spanY : 1e300);
    if (!std::isfinite(scale) || scale <= 0) scale = 1.0;
    // Centred in the picture, y up.
    const double offsetX = (width - spanX * scale) / 2.0, offsetY = (height - spanY * scale) / 2.0;
    auto px = [&](double x) { return static_cast<int>(std::lround(offsetX + (x - minX) * scale)); };
    auto py = [&](double y) { return static_cast<int>(std::lround(height - offsetY - (y - minY) * scale)); };
    for (const Segment& s : segments) drawLine(image, px(s.x0), py(s.y0), px(s.x1), py(s.y1), rgb(0, 0, 0));
    return bitmap;
}

bool displayPreviewFromDrawing(const std::filesystem::path& path, Window& area) {
    auto* picture = dynamic_cast<Static*>(&area);
    if (!picture) return false;
    const Rect client = area.clientRect();
    BitmapPtr bitmap = makeDrawingPreview(path, client.width(), client.height());
    picture->setBitmap(bitmap);
    area.invalidate();
    return bitmap != nullptr;
}

}  // namespace host::ui
