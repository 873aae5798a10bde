// Splines: validation of NURBS data, evaluation by de Boor's algorithm (rational weights included),
// tessellation, extents and transforms.
#include <algorithm>
#include <cmath>

#include "host/db/entities.h"
#include "host/db/entity_geometry.h"

namespace host::db {

namespace {

constexpr int kFlagRational = 4;
// Resource bounds, not format limits: a degree or a per-span sample count above these is a damaged file or a
// caller's mistake, and evaluating it would cost without purpose.
constexpr int kMaxDegree = 25;
constexpr int kMaxSegmentsPerSpan = 1024;
// Segments per knot span for extents (the curve stays within its control hull, so this only tightens the box).
constexpr int kExtentSegmentsPerSpan = 16;

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
    if (ctrl_.empty()) return 0.0;
    return knots_[std::size_t(degree_)];
}

double Spline::endParam() const {
    if (ctrl_.empty()) return fit_.size() < 2 ? 0.0 : double(fit_.size() - 1);
    return knots_[ctrl_.size()];
}

// De Boor's algorithm in homogeneous coordinates (w*P, w): the rational curve is the projection of a
// polynomial one. Parameters outside the range are clamped to it. A spline without control points joins its fit
// points, parameter i at fit point i.
ge::Point3d Spline::evaluate(double t) const {
    if (ctrl_.empty()) {
        if (fit_.empty()) return {};
        if (fit_.size() == 1) return fit_[0];
        const double u = std::clamp(t, 0.0, double(fit_.size() - 1));
        const std::size_t i = std::min(std::size_t(u), fit_.size() - 2);
        const double f = u - double(i);
        return fit_[i] + (fit_[i + 1] - fit_[i]) * f;
    }
    const std::size_t p = std::size_t(degree_), n = ctrl_.size();
    t = std::clamp(t, startParam(), endParam());
    // The span k with knot[k] <= t < knot[k+1], within [p, n-1]; at the end of the range, the last non-empty span.
    std::size_t k = p;
    while (k + 1 < n && knots_[k + 1] <= t) ++k;
    while (k > p && knots_[k] == knots_[k + 1]) --k;

    struct Homogeneous {
        double x, y, z, w;
    };
    std::vector<Homogeneous> d(p + 1);
    for (std::size_t j = 0; j <= p; ++j) {
        const ge::Point3d& c = ctrl_[k - p + j];
        const double w = weights_.empty() ? 1.0 : weights_[k - p + j];
        d[j] = {c.x * w, c.y * w, c.z * w, w};
    }
    for (std::size_t r = 1; r <= p; ++r) {
        for (std::size_t j = p; j >= r; --j) {
            const std::size_t i = k - p + j;
            const double denom = knots_[i + p + 1 - r] - knots_[i];
            const double a = denom == 0.0 ? 0.0 : (t - knots_[i]) / denom;
            d[j] = {(1 - a) * d[j - 1].x + a * d[j].x, (1 - a) * d[j - 1].y + a * d[j].y,
                    (1 - a) * d[j - 1].z + a * d[j].z, (1 - a) * d[j - 1].w + a * d[j].w};
        }
    }
    const Homogeneous& h = d[p];
    return {h.x / h.w, h.y / h.w, h.z / h.w};
}

std::vector<ge::Point3d> Spline::tessellate(int segmentsPerSpan) const {
    if (ctrl_.empty()) return fit_;
    segmentsPerSpan = std::clamp(segmentsPerSpan, 1, kMaxSegmentsPerSpan);
    std::vector<ge::Point3d> pts;
    const std::size_t p = std::size_t(degree_), n = ctrl_.size();
    for (std::size_t k = p; k < n; ++k) {
        const double a = knots_[k], b = knots_[k + 1];
        if (!(b > a)) continue;
        for (int s = 0; s < segmentsPerSpan; ++s) pts.push_back(evaluate(a + (b - a) * s / segmentsPerSpan));
    }
    pts.push_back(evaluate(endParam()));
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
