// Repairs of one record's groups for habits of other writers, made before the groups are read, as CAD
// programs' audit makes them.
#include "host/dxf/record_repairs.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "host/ge/angle.h"

namespace host::dxf {

namespace {

constexpr int kName = 2;
constexpr int kColor = 62;
constexpr int kTrueColor = 420;
// A sweep this close to a whole turn (or to none) is a whole ellipse, as the ellipse reads it.
constexpr double kWholeTurn = 1e-5;

}  // namespace

// An ellipse whose ratio of minor to major axis is above 1 (1.0095 in an R13 file) has its axes the other way
// round: the minor axis is taken as the major one, the ratio inverted and the parameters turned back a quarter
// turn, so every point stays where it was (a whole ellipse stays whole from 0). The record's groups are changed
// before they are read.
std::optional<RecordRepair> repairEllipseRatio(SplitRecord& rec) {
    constexpr std::size_t kNone = std::size_t(-1);
    std::size_t ratio = kNone, major[3] = {kNone, kNone, kNone}, params[2] = {kNone, kNone};
    ge::Vector3d normal(0, 0, 1);
    std::vector<Group>& body = rec.body;
    for (std::size_t i = 0; i < body.size(); ++i) {
        switch (body[i].code) {
        case 40: ratio = i; break;
        case 11: major[0] = i; break;
        case 21: major[1] = i; break;
        case 31: major[2] = i; break;
        case 41: params[0] = i; break;
        case 42: params[1] = i; break;
        case 210: normal.x = body[i].real; break;
        case 220: normal.y = body[i].real; break;
        case 230: normal.z = body[i].real; break;
        default: break;
        }
    }
    if (ratio == kNone || major[0] == kNone || major[1] == kNone) return std::nullopt;
    const double was = body[ratio].real;
    const double length = normal.length();
    if (!(was > 1.0) || !std::isfinite(was) || !(length > 0.0)) return std::nullopt;
    const ge::Vector3d axis(body[major[0]].real, body[major[1]].real, major[2] == kNone ? 0.0 : body[major[2]].real);
    const ge::Vector3d minor = (normal / length).cross(axis) * was;
    // No room for the axis's z: left for the ellipse to refuse.
    if (major[2] == kNone && minor.z != 0.0) return std::nullopt;
    body[major[0]].real = minor.x;
    body[major[1]].real = minor.y;
    if (major[2] != kNone) body[major[2]].real = minor.z;
    body[ratio].real = 1.0 / was;
    const double start = params[0] == kNone ? 0.0 : body[params[0]].real;
    const double end = params[1] == kNone ? ge::kTwoPi : body[params[1]].real;
    const double sweep = ge::ccwSweep(start, end);
    const bool whole = std::isfinite(sweep) && (sweep < kWholeTurn || sweep > ge::kTwoPi - kWholeTurn);
    if (!whole) {
        for (int k = 0; k < 2; ++k) {
            if (params[k] != kNone) continue;
            Group g;
            g.code = 41 + k;
            g.kind = GroupKind::Real;
            g.line = rec.line;
            params[k] = body.size();
            body.push_back(g);
        }
        body[params[0]].real = ge::normalizeAngle(start - ge::kHalfPi);
        body[params[1]].real = ge::normalizeAngle(end - ge::kHalfPi);
    }
    return RecordRepair{body[ratio].line, "ELLIPSE: the ratio of its minor to its major axis is " +
                                              std::string(body[ratio].text.substr(0, 40)) +
                                              ", above 1: the minor axis is taken as the major one"};
}

// Scale factors of 0, which a block reference refuses. An x or y of 0 (netDxf writes all three 0 on its table
// blocks' references) draws nothing: the reference is kept as read, with its attributes, and written back so.
std::optional<RecordRepair> insertDrawingNothing(const SplitRecord& rec) {
    for (const Group& g : rec.body)
        if ((g.code == 41 || g.code == 42) && g.kind == GroupKind::Real && g.real == 0.0)
            return RecordRepair{g.line, "INSERT: a scale factor of 0 in x or y (group 41 or 42) draws nothing; the "
                                        "reference is kept as read"};
    return std::nullopt;
}

// A z of 0 with x and y not 0 (LibreCAD writes 43 0 in 2D drawings) changes nothing in the plane: read as 1.
std::optional<RecordRepair> repairInsertZScale(SplitRecord& rec) {
    for (Group& g : rec.body) {
        if (g.code != 43 || g.kind != GroupKind::Real || g.real != 0.0) continue;
        g.real = 1.0;
        return RecordRepair{g.line, "INSERT: a z scale factor of 0 (group 43), which changes nothing in the plane; "
                                    "read as 1"};
    }
    return std::nullopt;
}

// The drawing direction of MTEXT is 1 (left to right), 3 (top to bottom) or 5 (by the style); dxflib writes 0 or
// 2, other writers 4 or values out of any range: each is read as left to right. Groups of embedded object data (after a 101) are not the text's own.
std::optional<RecordRepair> repairMTextDirection(SplitRecord& rec) {
    constexpr int kLeftToRight = 1;
    for (Group& g : rec.body) {
        if (g.code == 101) break;
        if (g.code != 72 || g.integer == 1 || g.integer == 3 || g.integer == 5) continue;
        RecordRepair told{g.line, "MTEXT: drawing direction (group 72) " + std::to_string(g.integer) +
                                      " is none the format has; read as 1 (left to right)"};
        g.integer = kLeftToRight;
        return told;
    }
    return std::nullopt;
}

// A closed periodic spline is commonly written with one knot more than its control points: the n + 1 knots of
// one period (t0 .. tn), not the n + degree + 1 a spline has; other writers put down other counts (n + 2, n +
// degree, the unwrapped n + 2 * degree + 1 without repeating the control points), read likewise from one period. It is read as that closed curve with its knot vector
// unwrapped: the control points (and weights) go round again, the first `degree` of them after the last, and the
// knots go on periodically, a period T = tn - t0 apart, so the curve runs over [t0, tn] and closes on itself.
std::optional<RecordRepair> repairPeriodicSpline(SplitRecord& rec) {
    constexpr int kClosed = 1, kPeriodic = 2;
    int flags = 0, degree = 3;
    std::vector<double> knots, weights;
    std::vector<ge::Point3d> ctrl;
    std::size_t knotLine = rec.line;
    for (std::size_t i = 0; i < rec.body.size(); ++i) {
        const Group& g = rec.body[i];
        switch (g.code) {
        case 70: flags = int(g.integer); break;
        case 71: degree = int(g.integer); break;
        case 40:
            if (knots.empty()) knotLine = g.line;
            knots.push_back(g.real);
            break;
        case 41: weights.push_back(g.real); break;
        case 10: ctrl.push_back({g.real, 0.0, 0.0}); break;
        case 20: if (!ctrl.empty()) ctrl.back().y = g.real; break;
        case 30: if (!ctrl.empty()) ctrl.back().z = g.real; break;
        default: break;
        }
    }
    const std::size_t n = ctrl.size(), p = std::size_t(degree);
    if (!(flags & (kClosed | kPeriodic)) || degree < 1 || n < 2 || knots.size() == n + p + 1) return std::nullopt;
    if (!weights.empty() && weights.size() != n) return std::nullopt;
    // One period of knots: the n + 1 written, the middle of a vector unwrapped for control points not repeated
    // (n + 2 * degree + 1), or the first n + 1 of any other count. Where they do not rise, evenly spaced ones.
    const std::size_t first = knots.size() == n + 2 * p + 1 ? p : 0;
    std::vector<double> one(n + 1);
    for (std::size_t j = 0; j <= n; ++j) one[j] = first + n < knots.size() ? knots[first + j] : double(j);
    bool even = false;
    if (!(one.back() - one.front() > 0.0) || !std::is_sorted(one.begin(), one.end()) ||
        !std::all_of(one.begin(), one.end(), [](double k) { return std::isfinite(k); })) {
        for (std::size_t j = 0; j <= n; ++j) one[j] = double(j);
        even = true;
    }
    const double period = one.back() - one.front();
    std::vector<double> u(n + 2 * p + 1);
    for (std::size_t j = 0; j <= n; ++j) u[p + j] = one[j];
    for (std::size_t i = p; i-- > 0;) u[i] = u[i + n] - period;
    for (std::size_t i = p + n + 1; i < u.size(); ++i) u[i] = u[i - n] + period;

    auto real = [&](int code, double v, std::size_t line) {
        Group g;
        g.code = code;
        g.kind = GroupKind::Real;
        g.real = v;
        g.line = line;
        return g;
    };
    std::vector<Group> body;
    body.reserve(rec.body.size() + 4 * (n + p) + u.size());
    bool knotsPut = false, ctrlPut = false, weightsPut = false;
    for (const Group& g : rec.body) {
        if (g.code == 40) {
            if (!std::exchange(knotsPut, true))
                for (double k : u) body.push_back(real(40, k, g.line));
        } else if (g.code == 41) {
            if (!std::exchange(weightsPut, true))
                for (std::size_t i = 0; i < n + p; ++i) body.push_back(real(41, weights[i % n], g.line));
        } else if (g.code == 10 || g.code == 20 || g.code == 30) {
            if (!std::exchange(ctrlPut, true))
                for (std::size_t i = 0; i < n + p; ++i) {
                    const ge::Point3d& c = ctrl[i % n];
                    body.push_back(real(10, c.x, g.line));
                    body.push_back(real(20, c.y, g.line));
                    body.push_back(real(30, c.z, g.line));
                }
        } else {
            body.push_back(g);
        }
    }
    if (!knotsPut)
        for (double k : u) body.push_back(real(40, k, knotLine));
    rec.body = std::move(body);
    if (knots.size() == n + 1 && !even)
        return RecordRepair{knotLine, "SPLINE: a closed periodic spline of " + std::to_string(n) +
                                          " control points has " + std::to_string(n + 1) +
                                          " knots (one period); read with its knot vector unwrapped"};
    return RecordRepair{knotLine, "SPLINE: a closed periodic spline of " + std::to_string(n) + " control points has " +
                                      std::to_string(knots.size()) + " knots, which do not fit its degree " +
                                      std::to_string(degree) + "; read as the closed curve with " +
                                      (even ? "evenly spaced knots" : "knots of one period unwrapped")};
}

// A layer's colour is 1..255 (its sign says whether the layer is off). An old file gives a layer 0 (BYBLOCK) or
// 256 (BYLAYER), which no layer can draw with: taken as 7 (white), as CAD programs' audit takes it. A true colour
// (420) beside it is the layer's colour whatever the index says.
std::optional<RecordRepair> repairLayerColor(SplitRecord& rec, const TextEncoding& encoding) {
    constexpr int kWhite = 7;
    Group* index = nullptr;
    for (Group& g : rec.body) {
        if (g.code == kTrueColor) return std::nullopt;
        if (g.code == kColor) index = &g;
    }
    if (!index) return std::nullopt;
    const std::int64_t magnitude = index->integer < 0 ? -index->integer : index->integer;
    if (magnitude >= 1 && magnitude <= 255) return std::nullopt;
    std::string name;
    for (const Group& g : rec.body)
        if (g.code == kName) name = textOf(g, encoding).substr(0, 40);
    RecordRepair told{index->line, "LAYER \"" + name + "\": colour " + std::to_string(index->integer) +
                                       " is no layer colour; read as 7 (white)"};
    // The sign of 0 cannot say the layer is off: a layer of colour 0 is on.
    index->integer = index->integer < 0 ? -kWhite : kWhite;
    return told;
}

}  // namespace host::dxf
