// Integer points, sizes and rectangles of the window layer, in pixels.
#pragma once

#include <algorithm>

namespace host::ui {

struct Point {
    int x = 0;
    int y = 0;
    friend constexpr bool operator==(const Point&, const Point&) = default;
    constexpr Point operator+(const Point& o) const { return {x + o.x, y + o.y}; }
    constexpr Point operator-(const Point& o) const { return {x - o.x, y - o.y}; }
};

struct Size {
    int width = 0;
    int height = 0;
    friend constexpr bool operator==(const Size&, const Size&) = default;
};

// A rectangle whose right and bottom edges are outside it, as in GDI: {0, 0, 10, 5} covers x 0..9 and y 0..4,
// so its width is right - left. A rectangle with right <= left or bottom <= top is empty.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    friend constexpr bool operator==(const Rect&, const Rect&) = default;

    static constexpr Rect fromSize(int x, int y, int width, int height) { return {x, y, x + width, y + height}; }
    static constexpr Rect fromPoints(Point topLeft, Point bottomRight) {
        return {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
    }

    constexpr int width() const { return right - left; }
    constexpr int height() const { return bottom - top; }
    constexpr Size size() const { return {width(), height()}; }
    constexpr bool isEmpty() const { return right <= left || bottom <= top; }
    constexpr Point topLeft() const { return {left, top}; }
    constexpr Point bottomRight() const { return {right, bottom}; }
    constexpr Point center() const { return {left + width() / 2, top + height() / 2}; }
    // Whether the pixel at p lies inside (left and top inclusive, right and bottom exclusive).
    constexpr bool contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
    // Whether all of r lies inside.
    constexpr bool encloses(const Rect& r) const {
        return r.left >= left && r.top >= top && r.right <= right && r.bottom <= bottom;
    }
    constexpr Rect offsetBy(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
    constexpr Rect offsetBy(Point d) const { return offsetBy(d.x, d.y); }
    constexpr Rect inflatedBy(int dx, int dy) const { return {left - dx, top - dy, right + dx, bottom + dy}; }
};

// The common part of two rectangles; an empty {0,0,0,0} when they do not overlap.
constexpr Rect intersect(const Rect& a, const Rect& b) {
    Rect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
    return r.isEmpty() ? Rect{} : r;
}

// The smallest rectangle holding both; an empty rectangle does not count.
constexpr Rect unite(const Rect& a, const Rect& b) {
    if (a.isEmpty()) return b.isEmpty() ? Rect{} : b;
    if (b.isEmpty()) return a;
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

constexpr bool overlaps(const Rect& a, const Rect& b) { return !intersect(a, b).isEmpty(); }

}  // namespace host::ui
