// B-spline evaluation (de Boor, rational weights included) and the interpolating cubic through fit points.
#include "host/ge/bspline.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace host::ge {

namespace {

// The four cubic basis functions that are not zero at u in the knot span `span` (knots[span] <= u <
// knots[span + 1]): N[span - 3 .. span].
std::array<double, 4> CubicBasis(const std::vector<double>& knots, std::size_t span, double u) {
    std::array<double, 4> n{1.0, 0.0, 0.0, 0.0};
    std::array<double, 4> left{}, right{};
    for (std::size_t j = 1; j <= 3; ++j) {
        left[j] = u - knots[span + 1 - j];
        right[j] = knots[span + j] - u;
        double saved = 0.0;
        for (std::size_t r = 0; r < j; ++r) {
            const double denom = right[r + 1] + left[j - r];
            const double temp = denom == 0.0 ? 0.0 : n[r] / denom;
            n[r] = saved + right[r + 1] * temp;
            saved = left[j - r] * temp;
        }
        n[j] = saved;
    }
    return n;
}

// The derivative at the middle point b of the parabola through a, b, c at parameters -ha, 0, hc (ha, hc > 0).
Vector3d ParabolaDerivativeAtMiddle(const Point3d& a, const Point3d& b, const Point3d& c, double ha, double hc) {
    const Vector3d first = (b - a) / ha, second = (c - b) / hc;
    return first + (second - first) * (ha / (ha + hc));
}

// The derivative at a of the parabola through a, b, c at parameters 0, hb, hb + hc (hb, hc > 0).
Vector3d ParabolaDerivativeAtStart(const Point3d& a, const Point3d& b, const Point3d& c, double hb, double hc) {
    const Vector3d first = (b - a) / hb, second = (c - b) / hc;
    return first - (second - first) * (hb / (hb + hc));
}

// The end derivative: the given tangent's direction at speed 1 (a chord-length parameter runs at about the speed
// of the arc length, which a parabola's estimate misses on a round curve); the estimate when none is given.
Vector3d EndDerivative(const Vector3d& given, const Vector3d& estimate) {
    if (given.lengthSqrd() == 0.0 || !std::isfinite(given.lengthSqrd())) return estimate;
    return given.normal();
}

// Solves the cyclic tridiagonal system lower[k] x[k-1] + diag[k] x[k] + upper[k] x[k+1] = rhs[k], indices taken
// round (row 0 has lower[0] at column n-1, row n-1 upper[n-1] at column 0), n >= 3, by the Sherman-Morrison form of
// Thomas' algorithm. The rows must be diagonally dominant. Empty when a pivot vanishes.
std::vector<Vector3d> SolveCyclicTridiagonal(const std::vector<double>& lower, const std::vector<double>& diag,
                                             const std::vector<double>& upper, const std::vector<Vector3d>& rhs) {
    const std::size_t n = diag.size();
    const double alpha = upper[n - 1], beta = lower[0];
    const double gamma = -diag[0];
    std::vector<double> b(diag);
    b[0] = diag[0] - gamma;
    b[n - 1] = diag[n - 1] - alpha * beta / gamma;
    // Thomas' algorithm for the plain tridiagonal part, on two right-hand sides at once.
    std::vector<double> c(n), zr(n);
    std::vector<Vector3d> xr(n);
    std::vector<double> u(n, 0.0);
    u[0] = gamma;
    u[n - 1] = alpha;
    if (b[0] == 0.0) return {};
    c[0] = upper[0] / b[0];
    xr[0] = rhs[0] / b[0];
    zr[0] = u[0] / b[0];
    for (std::size_t k = 1; k < n; ++k) {
        const double m = b[k] - lower[k] * c[k - 1];
        if (m == 0.0) return {};
        c[k] = k + 1 < n ? upper[k] / m : 0.0;
        xr[k] = (rhs[k] - xr[k - 1] * lower[k]) / m;
        zr[k] = (u[k] - zr[k - 1] * lower[k]) / m;
    }
    for (std::size_t k = n - 1; k-- > 0;) {
        xr[k] = xr[k] - xr[k + 1] * c[k];
        zr[k] -= c[k] * zr[k + 1];
    }
    const double denom = 1.0 + zr[0] + beta * zr[n - 1] / gamma;
    if (denom == 0.0) return {};
    const Vector3d factor = (xr[0] + xr[n - 1] * (beta / gamma)) / denom;
    for (std::size_t k = 0; k < n; ++k) xr[k] = xr[k] - factor * zr[k];
    return xr;
}

}  // namespace

std::optional<BSplineCurve> interpolatePeriodicCubicThrough(const std::vector<Point3d>& fitPoints) {
    std::vector<Point3d> q;
    for (const Point3d& p : fitPoints) {
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) return std::nullopt;
        if (q.empty() || !q.back().isEqualTo(p)) q.push_back(p);
    }
    while (q.size() > 1 && q.back().isEqualTo(q.front())) q.pop_back();
    const std::size_t n = q.size();
    if (n < 3) return std::nullopt;
    // Chord k runs from point k to point k+1; the last one closes the row.
    std::vector<double> h(n);
    for (std::size_t k = 0; k < n; ++k) h[k] = q[(k + 1) % n].distanceTo(q[k]);
    // The derivatives m[k] at the points, with respect to the chord-length parameter, that make the cubic pieces
    // meet with equal second derivatives: h[k] m[k-1] + 2 (h[k-1] + h[k]) m[k] + h[k-1] m[k+1] =
    // 3 (h[k] / h[k-1] (q[k] - q[k-1]) + h[k-1] / h[k] (q[k+1] - q[k])).
    std::vector<double> lower(n), diag(n), upper(n);
    std::vector<Vector3d> rhs(n);
    for (std::size_t k = 0; k < n; ++k) {
        const std::size_t before = (k + n - 1) % n, after = (k + 1) % n;
        const double hb = h[before], ha = h[k];
        lower[k] = ha;
        diag[k] = 2.0 * (hb + ha);
        upper[k] = hb;
        rhs[k] = ((q[k] - q[before]) * (ha / hb) + (q[after] - q[k]) * (hb / ha)) * 3.0;
    }
    const std::vector<Vector3d> m = SolveCyclicTridiagonal(lower, diag, upper, rhs);
    if (m.size() != n) return std::nullopt;
    // Each piece as a Bezier span: knots of multiplicity 3 at the inner points, 4 at the ends.
    BSplineCurve curve;
    curve.degree = 3;
    double u = 0.0;
    curve.knots.assign(4, 0.0);
    for (std::size_t k = 0; k < n; ++k) {
        const Point3d& a = q[k];
        const Point3d& b = q[(k + 1) % n];
        curve.controlPoints.push_back(a);
        curve.controlPoints.push_back(a + m[k] * (h[k] / 3.0));
        curve.controlPoints.push_back(b - m[(k + 1) % n] * (h[k] / 3.0));
        u += h[k];
        curve.knots.insert(curve.knots.end(), k + 1 < n ? 3 : 4, u);
    }
    curve.controlPoints.push_back(q[0]);
    for (const Point3d& p : curve.controlPoints) {
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) return std::nullopt;
    }
    return curve;
}

Point3d evaluateBSpline(int degree, const std::vector<double>& knots, const std::vector<Point3d>& controlPoints,
                        const std::vector<double>& weights, double t) {
    const std::size_t p = std::size_t(degree), n = controlPoints.size();
    t = std::clamp(t, knots[p], knots[n]);
    // The span k with knot[k] <= t < knot[k+1], within [p, n-1]; at the end of the range, the last non-empty span.
    std::size_t k = p;
    while (k + 1 < n && knots[k + 1] <= t) ++k;
    while (k > p && knots[k] == knots[k + 1]) --k;

    struct Homogeneous {
        double x, y, z, w;
    };
    std::vector<Homogeneous> d(p + 1);
    for (std::size_t j = 0; j <= p; ++j) {
        const Point3d& c = controlPoints[k - p + j];
        const double w = weights.empty() ? 1.0 : weights[k - p + j];
        d[j] = {c.x * w, c.y * w, c.z * w, w};
    }
    for (std::size_t r = 1; r <= p; ++r) {
        for (std::size_t j = p; j >= r; --j) {
            const std::size_t i = k - p + j;
            const double denom = knots[i + p + 1 - r] - knots[i];
            const double a = denom == 0.0 ? 0.0 : (t - knots[i]) / denom;
            d[j] = {(1 - a) * d[j - 1].x + a * d[j].x, (1 - a) * d[j - 1].y + a * d[j].y,
                    (1 - a) * d[j - 1].z + a * d[j].z, (1 - a) * d[j - 1].w + a * d[j].w};
        }
    }
    const Homogeneous& h = d[p];
    return {h.x / h.w, h.y / h.w, h.z / h.w};
}

std::optional<BSplineCurve> interpolateCubicThrough(const std::vector<Point3d>& fitPoints,
                                                    const Vector3d& startTangent, const Vector3d& endTangent,
                                                    bool closed) {
    // Distinct points in order, with their chord-length parameters.
    std::vector<Point3d> q;
    for (const Point3d& p : fitPoints) {
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) return std::nullopt;
        if (q.empty() || !q.back().isEqualTo(p)) q.push_back(p);
    }
    if (q.size() < 2) return std::nullopt;
    const bool tangentGiven = (startTangent.lengthSqrd() > 0.0 && std::isfinite(startTangent.lengthSqrd())) ||
                              (endTangent.lengthSqrd() > 0.0 && std::isfinite(endTangent.lengthSqrd()));
    if (closed && !tangentGiven) {
        if (auto periodic = interpolatePeriodicCubicThrough(q)) return periodic;
    }
    // A closed row with its end tangents given (writers store them for closed splines too) runs back to its
    // first point, leaving and reaching it along those tangents; left open, its contour was not closed.
    if (closed && tangentGiven && q.size() > 2 && !q.front().isEqualTo(q.back())) q.push_back(q.front());
    const std::size_t n = q.size() - 1;  // index of the last point
    std::vector<double> u(n + 1, 0.0);
    for (std::size_t k = 1; k <= n; ++k) u[k] = u[k - 1] + q[k].distanceTo(q[k - 1]);
    const auto h = [&u](std::size_t k) { return u[k] - u[k - 1]; };  // chord k, from point k-1 to point k

    // End derivatives with respect to the chord-length parameter.
    Vector3d d0 = (q[1] - q[0]) / h(1), dn = (q[n] - q[n - 1]) / h(n);
    if (n >= 2) {
        if (closed && n >= 3 && q[0].isEqualTo(q[n], Tolerance{1e-9 * u[n], 0.0})) {
            d0 = dn = ParabolaDerivativeAtMiddle(q[n - 1], q[0], q[1], h(n), h(1)).normal();
        } else {
            d0 = ParabolaDerivativeAtStart(q[0], q[1], q[2], h(1), h(2));
            dn = -ParabolaDerivativeAtStart(q[n], q[n - 1], q[n - 2], h(n), h(n - 1));
        }
    }
    d0 = EndDerivative(startTangent, d0);
    dn = EndDerivative(endTangent, dn);

    BSplineCurve curve;
    curve.degree = 3;
    curve.knots = {0.0, 0.0, 0.0};
    for (std::size_t k = 0; k <= n; ++k) curve.knots.push_back(u[k]);
    curve.knots.insert(curve.knots.end(), 3, u[n]);
    // Control points 0 .. n+2: the ends, one point beside each end along its derivative, and n-1 points that
    // make the curve pass through the inner fit points.
    std::vector<Point3d>& P = curve.controlPoints;
    P.assign(n + 3, Point3d{});
    P[0] = q[0];
    P[1] = q[0] + d0 * (h(1) / 3.0);
    P[n + 1] = q[n] - dn * (h(n) / 3.0);
    P[n + 2] = q[n];
    if (n >= 2) {
        // Row k (k = 1 .. n-1): a P[k] + b P[k+1] + c P[k+2] = q[k]; the unknowns are P[2] .. P[n]. The
        // system is tridiagonal and totally positive, so elimination without pivoting is stable.
        const std::size_t m = n - 1;
        std::vector<double> lower(m), diag(m), upper(m);
        std::vector<Vector3d> rhs(m);
        for (std::size_t k = 1; k <= n - 1; ++k) {
            const std::array<double, 4> N = CubicBasis(curve.knots, k + 3, u[k]);
            const std::size_t i = k - 1;
            lower[i] = N[0];
            diag[i] = N[1];
            upper[i] = N[2];
            rhs[i] = q[k] - Point3d::kOrigin();
            if (k == 1) {
                rhs[i] = rhs[i] - (P[1] - Point3d::kOrigin()) * N[0];
                lower[i] = 0.0;
            }
            if (k == n - 1) {
                rhs[i] = rhs[i] - (P[n + 1] - Point3d::kOrigin()) * N[2];
                upper[i] = 0.0;
            }
        }
        for (std::size_t i = 1; i < m; ++i) {
            if (diag[i - 1] == 0.0) return std::nullopt;
            const double f = lower[i] / diag[i - 1];
            diag[i] -= f * upper[i - 1];
            rhs[i] = rhs[i] - rhs[i - 1] * f;
        }
        std::vector<Vector3d> x(m);
        for (std::size_t i = m; i-- > 0;) {
            if (diag[i] == 0.0) return std::nullopt;
            const Vector3d above = i + 1 < m ? x[i + 1] * upper[i] : Vector3d{};
            x[i] = (rhs[i] - above) / diag[i];
        }
        for (std::size_t i = 0; i < m; ++i) P[i + 2] = Point3d::kOrigin() + x[i];
    }
    for (const Point3d& p : P) {
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) return std::nullopt;
    }
    return curve;
}

}  // namespace host::ge
