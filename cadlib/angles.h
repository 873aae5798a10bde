// Angles of the plane: the library's pi, normalising into [0, 2*pi), angular ranges and sweeps.
//
// Angles are radians counter-clockwise from the x axis. A range runs counter-clockwise from its start to its
// end; a range whose end is below its start wraps through angle 0.
#pragma once

#include <numbers>

namespace cadlib {

// pi as 4 * atan(1.0) gives it (the same double as std::numbers::pi), and the values derived from it.
inline constexpr double kPi = std::numbers::pi;
inline constexpr double kHalfPi = kPi / 2.0;
inline constexpr double kQuarterPi = kPi / 4.0;
inline constexpr double kTwoPi = 2.0 * kPi;
inline constexpr double kRadiansPerDegree = kPi / 180.0;

}  // namespace cadlib

// Brings `angle` into [0, 2*pi) in place: k = the truncation of angle / 2*pi; a negative angle gets (1 - k) * 2*pi
// added, another loses k * 2*pi; then 2*pi is added once more when still below 0, or subtracted when at or above
// 2*pi. -0.5 becomes 2*pi - 0.5, 2*pi becomes 0, 7*pi becomes pi. NaN and infinities come back as NaN; from
// 1e15 radians on, where k * 2*pi loses the fraction of a turn, the remainder of the division by 2*pi is taken.
void NormalizeAngle(double& angle);

// Whether `angle` lies on the range from start to end, bounds included: start <= angle <= end when end >= start,
// else (a range through 0) angle >= start or angle <= end. Angles are compared as given, not normalised.
bool IsAngleInRange(double start, double end, double angle);

// The overlap of ranges [s1, e1] and [s2, e2] (each wrapping through 0 when its end is below its start): false
// when they do not overlap, else true with the overlap's start, end and angular length.
//   both wrap:        [max(s1, s2), min(e1, e2)], length 2*pi - start + end;
//   one wraps:        the piece of the wrapping range that the other reaches (its start piece when the plain
//                     range reaches past the wrapping range's start, else its end piece);
//   neither wraps:    [max(s1, s2), min(e1, e2)].
// A plain range that overlaps both pieces of a wrapping one reports only the piece chosen above. The outputs are
// left unchanged when the answer is false.
bool IntersectAngleRanges(double s1, double e1, double s2, double e2, double& start, double& end, double& length);

// The angular length from a0 to a1 along the way that passes a2: with d1 = the normalised a1 - a0 and d2 = the
// normalised a2 - a0, 2*pi - d1 when d2 > d1 (a2 lies on the clockwise way), else d1.
double SweepThroughAngle(double a0, double a1, double a2);
