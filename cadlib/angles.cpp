// Normalising angles, angular ranges and sweeps.
#include "cadlib/angles.h"

#include <algorithm>
#include <cmath>

#include "host/ge/angle.h"

using cadlib::kTwoPi;

void NormalizeAngle(double& angle) {
    if (!std::isfinite(angle)) {
        angle = std::nan("");
        return;
    }
    // Beyond 1e15 radians k * 2*pi below no longer keeps the fraction of a turn (a double holds about 16
    // digits); the exact remainder of the division by 2*pi is taken instead.
    constexpr double kLargeAngle = 1e15;
    if (std::fabs(angle) >= kLargeAngle) {
        angle = host::ge::normalizeAngle(angle);
        return;
    }
    const double k = std::trunc(angle / kTwoPi);
    if (angle < 0.0) {
        angle += (1.0 - k) * kTwoPi;
    } else {
        angle -= k * kTwoPi;
    }
    if (angle < 0.0) {
        angle += kTwoPi;
    } else if (angle >= kTwoPi) {
        angle -= kTwoPi;
    }
}

bool IsAngleInRange(double start, double end, double angle) {
    if (end >= start) return start <= angle && angle <= end;
    return angle >= start || angle <= end;
}

bool IntersectAngleRanges(double s1, double e1, double s2, double e2, double& start, double& end, double& length) {
    const bool wraps1 = e1 < s1;
    const bool wraps2 = e2 < s2;
    double from = 0.0, to = 0.0;
    if (wraps1 && wraps2) {
        from = std::max(s1, s2);
        to = std::min(e1, e2);
        start = from;
        end = to;
        length = kTwoPi - from + to;
        return true;
    }
    if (wraps1) {
        if (s2 > e1 && s1 > e2) return false;
        if (e2 >= s1) {
            from = s1, to = e2;
        } else {
            from = s2, to = e1;
        }
    } else if (wraps2) {
        if (s1 > e2 && s2 > e1) return false;
        if (e1 >= s2) {
            from = s2, to = e1;
        } else {
            from = s1, to = e2;
        }
    } else {
        if (s2 > e1 || s1 > e2) return false;
        from = std::max(s1, s2);
        to = std::min(e1, e2);
    }
    start = from;
    end = to;
    length = to - from;
    return true;
}

double SweepThroughAngle(double a0, double a1, double a2) {
    double d1 = a1 - a0;
    double d2 = a2 - a0;
    NormalizeAngle(d1);
    NormalizeAngle(d2);
    return d2 > d1 ? kTwoPi - d1 : d1;
}
