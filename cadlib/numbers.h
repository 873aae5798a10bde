// Small numeric helpers: unit conversion, areas and distances, rounding to a grid, hexadecimal text, point copies.
#pragma once

#include <cstdint>
#include <string_view>

#include "host/ge/point.h"

// Unit codes of the settings.
inline constexpr int kUnitMillimetres = 0;
inline constexpr int kUnitInches = 1;
inline constexpr double kMillimetresPerInch = 25.4;

// `value` in unit `from` expressed in unit `to`: unchanged when the codes are equal, divided by 25.4 from
// millimetres (code 0) to another code, multiplied by 25.4 otherwise.
double ConvertUnits(int from, int to, double value);

// The unit code of a drawing whose $INSUNITS is `insUnits`: inches (1) or millimetres (4), else `otherwise` (a
// drawing without units, or in units no machine works in).
int UnitOfDrawing(int insUnits, int otherwise);

// a * b * 0.5: the area of a right triangle with legs a and b.
double HalfProduct(double a, double b);

// pi * r * r.
double CircleArea(double r);

// The plane distance between (x1, y1) and (x2, y2).
double Distance2d(double x1, double y1, double x2, double y2);
// The plane distance between a and b (their z left out).
inline double Distance2d(const host::ge::Point3d& a, const host::ge::Point3d& b) {
    return Distance2d(a.x, a.y, b.x, b.y);
}

// The radius of an arc with bulge b over the half chord h: (b * b + 1) * h / (2 * b). A bulge of 0 is a straight
// piece, which has no radius: 0.
double BulgeRadius(double b, double h);

// v rounded to steps of 1/n: the 64-bit truncation of v * n + 0.5, divided by n (half up for positive values,
// toward zero first for negative ones). A value whose v * n is beyond the 64-bit range (or not finite) has no
// finer grid in a double anyway and is answered unchanged; n = 0 answers 0.
double RoundToFraction(double v, std::int64_t n);

// The unsigned 32-bit value of hexadecimal digits (0-9, A-F, a-f). An 'x' or 'X' counts as the digit 0, so a
// leading "0x" is accepted; any other character ends the number. The empty text gives 0, and the value wraps at
// 32 bits: handles are 64-bit and must be read with host::db::Handle::parse, never with this.
std::uint32_t HexTextToNumber(std::string_view text);

// Copies x, y and z.
void CopyPoint3d(const host::ge::Point3d& source, host::ge::Point3d& target);
void CopyPoint(const host::ge::Point3d& source, host::ge::Point3d& target);
