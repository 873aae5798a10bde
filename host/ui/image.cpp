// Pixel images and bitmaps.
#include "host/ui/image.h"

#include <algorithm>

#include "host/ui/dc.h"

namespace host::ui {

Image::Image(int width, int height, ColorRef fill)
    : width_(std::max(width, 0)), height_(std::max(height, 0)),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), fill) {}

ColorRef Image::at(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
    return pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)];
}

void Image::set(int x, int y, ColorRef c) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)] = c;
}

void Image::fill(const Rect& r, ColorRef c) {
    Rect clipped = intersect(r, Rect{0, 0, width_, height_});
    for (int y = clipped.top; y < clipped.bottom; ++y) {
        auto row = pixels_.begin() + static_cast<std::ptrdiff_t>(y) * width_;
        std::fill(row + clipped.left, row + clipped.right, c);
    }
}

void Image::copyFrom(const Image& source, const Rect& sourceRect, Point to, const Rect& clip) {
    Rect src = intersect(sourceRect, Rect{0, 0, source.width(), source.height()});
    if (src.isEmpty()) return;
    const int dx = to.x - sourceRect.left;
    const int dy = to.y - sourceRect.top;
    Rect dest = intersect(intersect(src.offsetBy(dx, dy), clip), Rect{0, 0, width_, height_});
    for (int y = dest.top; y < dest.bottom; ++y)
        for (int x = dest.left; x < dest.right; ++x) set(x, y, source.at(x - dx, y - dy));
}

Bitmap::Bitmap(int width, int height) : width_(std::max(width, 0)), height_(std::max(height, 0)) {}

Bitmap::Bitmap(Image pixels, std::string name)
    : width_(pixels.width()), height_(pixels.height()), name_(std::move(name)), pixels_(std::move(pixels)) {}

Bitmap::~Bitmap() = default;

void Bitmap::addRecord(DrawRecord record) { records_.push_back(std::move(record)); }

void Bitmap::clearRecords() { records_.clear(); }

Image& Bitmap::pixels() {
    if (!pixels_) pixels_.emplace(width_, height_);
    return *pixels_;
}

}  // namespace host::ui
