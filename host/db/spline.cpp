// Splines: validation of NURBS data, evaluation by de Boor's algorithm (rational weights included), the cubic
// through the fit points of a spline given by them alone, tessellation, extents and transforms.
#include <algorithm>
#include <cmath>

#include "host/db/entities.h"
#include "host/db/entity_geometry.h"
#include "host/ge/bspline.h"

namespace host::db {

namespace {

constexpr int kFlagRational = 4;
// Resource bounds, not format limits: a degree or a per-span sample count above these is a damaged file or a
// caller's mistake, and evaluating it would cost without purpose.
constexpr int kMaxDegree = 25;
constexpr int kMaxSegmentsPerSpan = 1024;
// Segments per knot span for extents (the curve stays within its control hull, so this only tightens the box).
constexpr int kExtentSegmentsPerSpan = 16;

// The curve of a spline given by fit points alone (writers store many so): the cubic through them, with the
// file's end tangents when it gives them; a closed spline (flag 1, or a last point that closes on the first) is
// the periodic cubic, smooth at its first point. Before, a closed spline whose first point was not repeated at its
// end came out open, and one whose first point was repeated was smooth at the joint but off the periodic curve.
// A closed spline with its end tangents given runs back to its first point along them.
// nullopt for fewer than two distinct points.
std::optional<ge::BSplineCurve> fitCurve(const std::vector<ge::Point3d>& fit, const ge::Vector3d& startTangent,
                                         const ge::Vector3d& endTangent, bool closedFlag) {
    const bool closed = (closedFlag && fit.size() > 2) || (fit.size() > 3 && fit.front().isEqualTo(fit.back()));
    return ge::interpolateCubicThrough(fit, startTangent, endTangent, closed);
}

bool allFinite(const std::vector<ge::Point3d>& pts) {
    return std::all_of(pts.begin(), pts.end(), [](const ge::Point3d& p) { return detail::isFinite(p); });
}

}  // namespace

Status Spline::setNurbsData(int degree, int flags, std::vector<double> knots, std::vector<ge::Point3d> ctrl,
                            std::vector<double> weights) {
    assertWriteEnabled();
    if (degree < 1 || degree > kMaxDegree) return Status::InvalidInput;
    if (ctrl.size() < std::size_t(degree) + 1) return Status::InvalidInput;
    if (knots.size() != ctrl.size() + std::size_t(degree) + 1) return Status::InvalidInput;
    if (!weights.empty() && weights.size() != ctrl.size()) return Status::InvalidInput;
    if (!allFinite(ctrl)) return Status::InvalidInput;
    for (std::size_t i = 0; i < knots.size(); ++i) {
        if (!std::isfinite(knots[i])) return Status::InvalidInput;
        if (i > 0 && knots[i] < knots[i - 1]) return Status::InvalidInput;
    }
    // The curve runs over [knot[degree], knot[n]]; an empty range has no curve.
    if (!(knots[std::size_t(degree)] < knots[ctrl.size()])) return Status::InvalidInput;
    for (double w : weights)
        if (!(w > 0.0) || !std::isfinite(w)) return Status::InvalidInput;
    degree_ = degree;
    // The rational flag follows the weights actually given.
    flags_ = weights.empty() ? (flags & ~kFlagRational) : (flags | kFlagRational);
    knots_ = std::move(knots);
    ctrl_ = std::move(ctrl);
    weights_ = std::move(weights);
    return Status::Ok;
}

Status Spline::setFitData(std::vector<ge::Point3d> fit, const ge::Vector3d& startTangent,
                          const ge::Vector3d& endTangent) {
    assertWriteEnabled();
    if (!allFinite(fit) || !detail::isFinite(startTangent) || !detail::isFinite(endTangent))
        return Status::InvalidInput;
    fit_ = std::move(fit);
    startTan_ = startTangent;
    endTan_ = endTangent;
    return Status::Ok;
}

Status Spline::setFlags(int flags) {
    assertWriteEnabled();
    if (flags < 0) return Status::InvalidInput;
    flags_ = weights_.empty() ? (flags & ~kFlagRational) : (flags | kFlagRational);
    return Status::Ok;
}

Status Spline::setTolerances(double knotTol, double ctrlTol, double fitTol) {
    assertWriteEnabled();
    for (double t : {knotTol, ctrlTol, fitTol})
        if (!(t >= 0.0) || !std::isfinite(t)) return Status::InvalidInput;
    knotTol_ = knotTol;
    ctrlTol_ = ctrlTol;
    fitTol_ = fitTol;
    return Status::Ok;
}

Status Spline::setNormal(const ge::Vector3d& n) {
    assertWriteEnabled();
    if (n.lengthSqrd() == 0.0) {  // a non-planar spline has no normal
        normal_ = {};
        return Status::Ok;
    }
    const auto u = detail::unitNormal(n);
    if (!u) return Status::InvalidInput;
    normal_ = *u;
    return Status::Ok;
}

double Spline::startParam() const {
    if (ctrl_.empty()) {
        const auto curve = fitCurve(fit_, startTan_, endTan_, isClosed());
        return curve ? curve->startParam() : 0.0;
    }
    return knots_[std::size_t(degree_)];
}

double Spline::endParam() const {
    if (ctrl_.empty()) {
        if (const auto curve = fitCurve(fit_, startTan_, endTan_, isClosed())) return curve->endParam();
        return fit_.size() < 2 ? 0.0 : double(fit_.size() - 1);
    }
    return knots_[ctrl_.size()];
}

// Parameters outside the range are clamped to it. A spline without control points is the cubic through its fit
// points over their chord lengths; fewer than two distinct fit points are joined as they stand, parameter i at
// fit point i.
ge::Point3d Spline::evaluate(double t) const {
    if (ctrl_.empty()) {
        if (const auto curve = fitCurve(fit_, startTan_, endTan_, isClosed())) return ge::evaluateBSpline(*curve, t);
        if (fit_.empty()) return {};
        if (fit_.size() == 1) return fit_[0];
        const double u = std::clamp(t, 0.0, double(fit_.size() - 1));
        const std::size_t i = std::min(std::size_t(u), fit_.size() - 2);
        const double f = u - double(i);
        return fit_[i] + (fit_[i + 1] - fit_[i]) * f;
    }
    return ge::evaluateBSpline(degree_, knots_, ctrl_, weights_, t);
}

// `segmentsPerSpan` points per non-empty knot span; for a spline given by fit points, per pair of neighbouring
// (distinct) fit points.
std::vector<ge::Point3d> Spline::tessellate(int segmentsPerSpan) const {
    std::optional<ge::BSplineCurve> fitted;
    if (ctrl_.empty()) {
        fitted = fitCurve(fit_, startTan_, endTan_, isClosed());
        if (!fitted) return fit_;
    }
    const int degree = fitted ? fitted->degree : degree_;
    const std::vector<double>& knots = fitted ? fitted->knots : knots_;
    const std::vector<ge::Point3d>& ctrl = fitted ? fitted->controlPoints : ctrl_;
    const std::vector<double>& weights = fitted ? fitted->weights : weights_;
    segmentsPerSpan = std::clamp(segmentsPerSpan, 1, kMaxSegmentsPerSpan);
    std::vector<ge::Point3d> pts;
    const std::size_t p = std::size_t(degree), n = ctrl.size();
    for (std::size_t k = p; k < n; ++k) {
        const double a = knots[k], b = knots[k + 1];
        if (!(b > a)) continue;
        for (int s = 0; s < segmentsPerSpan; ++s) {
            pts.push_back(ge::evaluateBSpline(degree, knots, ctrl, weights, a + (b - a) * s / segmentsPerSpan));
        }
    }
    pts.push_back(ge::evaluateBSpline(degree, knots, ctrl, weights, knots[n]));
    return pts;
}

std::optional<Extents> Spline::geomExtents() const {
    std::optional<Extents> box;
    for (const ge::Point3d& p : tessellate(kExtentSegmentsPerSpan)) detail::grow(box, p);
    return box;
}

// Any affine transform: a NURBS curve follows its control points exactly.
Status Spline::transformBy(const ge::Matrix3d& m) {
    assertWriteEnabled();
    for (ge::Point3d& p : ctrl_) p = m * p;
    for (ge::Point3d& p : fit_) p = m * p;
    startTan_ = m * startTan_;
    endTan_ = m * endTan_;
    if (normal_.lengthSqrd() != 0.0) normal_ = m.transformNormal(normal_);
    return Status::Ok;
}

}  // namespace host::db
