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
// A closed row (`closed`, first and last points the same) without tangents is smooth through its joint. Fit
// points that repeat their predecessor are passed over. nullopt for fewer than two distinct points.
std::optional<BSplineCurve> interpolateCubicThrough(const std::vector<Point3d>& fitPoints,
                                                    const Vector3d& startTangent = {},
                                                    const Vector3d& endTangent = {}, bool closed = false);

}  // namespace host::ge
