// Contours of the nesting engine: chains of line and arc elements, or one circle, with their box and area.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/ge/point.h"

// Codes of ContourElement::Type. The CNC program import adds kImportedElementOffset to each.
inline constexpr std::int8_t kElementCircle = 0;
inline constexpr std::int8_t kElementLine = 1;
inline constexpr std::int8_t kElementArc = 2;
inline constexpr std::int8_t kImportedElementOffset = 10;

// Codes of Contour::GeometryKind.
inline constexpr std::uint8_t kGeometryCircle = 0;
inline constexpr std::uint8_t kGeometryChain = 1;

// Codes of Contour::Owner.
inline constexpr std::uint8_t kOwnerPart = 1;
inline constexpr std::uint8_t kOwnerStock = 2;

// Codes of Contour::ContourClass.
inline constexpr std::uint8_t kClassOuter = 1;
inline constexpr std::uint8_t kClassInner = 2;

// An axis-aligned box. The empty box has its min corner at +kEmptyBoxLimit and its max corner at -kEmptyBoxLimit,
// so that growing it by any box gives that box.
inline constexpr double kEmptyBoxLimit = 9.9e99;

struct BoundingBox {
    double minX = 0.0, minY = 0.0, maxX = 0.0, maxY = 0.0;

    static constexpr BoundingBox Empty() { return {kEmptyBoxLimit, kEmptyBoxLimit, -kEmptyBoxLimit, -kEmptyBoxLimit}; }
    constexpr double Width() const { return maxX - minX; }
    constexpr double Height() const { return maxY - minY; }
    // Grows this box to cover `other`.
    constexpr void Include(const BoundingBox& other) {
        if (other.minX < minX) minX = other.minX;
        if (other.minY < minY) minY = other.minY;
        if (other.maxX > maxX) maxX = other.maxX;
        if (other.maxY > maxY) maxY = other.maxY;
    }
    constexpr void Translate(double dx, double dy) {
        minX += dx;
        maxX += dx;
        minY += dy;
        maxY += dy;
    }
    constexpr bool operator==(const BoundingBox&) const = default;
};

// One element of a contour. Arcs are stored counter-clockwise from Start (at StartAngle) to End (at EndAngle)
// about Centre; Reversed 1 says the contour runs through the arc from End to Start. A line keeps its direction
// angle in StartAngle and that angle plus pi in EndAngle. A circle has Centre and Radius.
struct ContourElement {
    std::int8_t Type = kElementLine;
    std::uint8_t Reversed = 0;
    host::ge::Point2d Start;
    host::ge::Point2d End;
    host::ge::Point2d Centre;
    double StartAngle = 0.0;
    double EndAngle = 0.0;
    double Radius = 0.0;
};

// One closed contour of a type (or of an imported CNC program). Copies are deep: every copy owns its elements.
struct Contour {
    std::int32_t Colour = 0;
    std::string LineType;
    std::string Layer;
    std::uint8_t GeometryKind = kGeometryChain;
    std::uint8_t Owner = 0;
    std::uint8_t ContourClass = 0;
    std::uint8_t Open = 0;
    std::uint8_t KindCode = 0;
    BoundingBox Box;
    std::vector<ContourElement> Elements;
    double Area = 0.0;

    // Entries of Elements (a circle contour has one).
    std::int32_t ElementCount() const { return static_cast<std::int32_t>(Elements.size()); }
};

// Copies every field of `source` into `destination`, elements included.
void CopyContour(Contour& destination, const Contour& source);
