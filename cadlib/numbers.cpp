// Unit conversion, areas, distances, grid rounding and hexadecimal text.
#include "cadlib/numbers.h"

#include <cmath>

#include "cadlib/angles.h"

double ConvertUnits(int from, int to, double value) {
    if (from == to) return value;
    if (from == kUnitMillimetres) return value / kMillimetresPerInch;
    return value * kMillimetresPerInch;
}

int UnitOfDrawing(int insUnits, int otherwise) {
    constexpr int kDrawingInInches = 1, kDrawingInMillimetres = 4;
    if (insUnits == kDrawingInInches) return kUnitInches;
    if (insUnits == kDrawingInMillimetres) return kUnitMillimetres;
    return otherwise;
}

double HalfProduct(double a, double b) { return a * b * 0.5; }

double CircleArea(double r) { return cadlib::kPi * r * r; }

double Distance2d(double x1, double y1, double x2, double y2) {
    const double dx = x2 - x1, dy = y2 - y1;
    return std::sqrt(dx * dx + dy * dy);
}

double BulgeRadius(double b, double h) {
    if (b == 0.0) return 0.0;
    return (b * b + 1.0) * h / (2.0 * b);
}

double RoundToFraction(double v, std::int64_t n) {
    if (n == 0) return 0.0;
    const double scaled = v * static_cast<double>(n) + 0.5;
    // 2^63: the first double a 64-bit integer cannot hold; converting it or more would be undefined.
    constexpr double kInt64Limit = 9223372036854775808.0;
    if (!(scaled > -kInt64Limit && scaled < kInt64Limit)) return v;
    return static_cast<double>(static_cast<std::int64_t>(scaled)) / static_cast<double>(n);
}

std::uint32_t HexTextToNumber(std::string_view text) {
    std::uint32_t value = 0;
    for (char c : text) {
        std::uint32_t digit = 0;
        if (c >= '0' && c <= '9') {
            digit = std::uint32_t(c - '0');
        } else if (c >= 'A' && c <= 'F') {
            digit = std::uint32_t(c - 'A' + 10);
        } else if (c >= 'a' && c <= 'f') {
            digit = std::uint32_t(c - 'a' + 10);
        } else if (c != 'x' && c != 'X') {
            break;
        }
        value = value * 16u + digit;  // unsigned: wraps at 32 bits
    }
    return value;
}

void CopyPoint3d(const host::ge::Point3d& source, host::ge::Point3d& target) { target = source; }

void CopyPoint(const host::ge::Point3d& source, host::ge::Point3d& target) { target = source; }
