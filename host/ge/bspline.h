// B-spline curves of space: evaluation by de Boor's algorithm and the cubic that runs through a row of fit points.
#pragma once

#include <optional>
#include <vector>

#include "host/ge/point.h"

namespace host::ge {

// A (possibly rational) B-spline: degree, knots (control points + degree + 1 of them, not decreasing), control
// points and weights (empty, or one positive weight per control point).
struct BSplineCurve {
    int degree = 3;
    std::vector<double> knots;
    std::vector<Point3d> controlPoints;
    std::vector<double> weights;

    double startParam() const { return knots[std::size_t(degree)]; }
    double endParam() const { return knots[controlPoints.size()]; }
};

// The point of the curve at parameter t (clamped to the curve's range), by de Boor's algorithm in homogeneous
// coordinates. The curve must be valid: knots and weights as said above, and a range that is not empty.
Point3d evaluateBSpline(int degree, const std::vector<double>& knots, const std::vector<Point3d>& controlPoints,
                        const std::vector<double>& weights, double t);
inline Point3d evaluateBSpline(const BSplineCurve& curve, double t) {
    return evaluateBSpline(curve.degree, curve.knots, curve.controlPoints, curve.weights, t);
}

// The cubic that interpolates `fitPoints` as drawing programs store such splines: chord-length parameters, a
// knot at every fit point, and at each end the tangent given (its direction; a zero vector is none given) or,
// when none is given, the tangent of the parabola through the three nearest fit points (Bessel's end condition).
// A closed row (`closed`) without tangents is the periodic cubic (interpolatePeriodicCubicThrough), whether or
// not its last point repeats its first. Fit points that repeat their predecessor are passed over. nullopt for fewer
// than two distinct points.
std::optional<BSplineCurve> interpolateCubicThrough(const std::vector<Point3d>& fitPoints,
                                                    const Vector3d& startTangent = {},
                                                    const Vector3d& endTangent = {}, bool closed = false);

// The closed curve through `fitPoints` as drawing programs make a closed spline of them: the periodic cubic, twice
// continuously differentiable everywhere, its first point included, over chord-length parameters (the closing
// chord from the last point back to the first counts too). A last point that repeats the first is the same row.
// Each piece is one Bezier span of the answer; the curve starts and ends at the first point. nullopt for fewer than
// three distinct points.
std::optional<BSplineCurve> interpolatePeriodicCubicThrough(const std::vector<Point3d>& fitPoints);

}  // namespace host::ge
