// Start poses of the main placement and of the filling of a hole, and the random draws that spread them.
#include "nesting/engine/start_positions.h"

#include <algorithm>

#include "host/sys/random.h"
#include "nesting/engine/placement_access.h"
#include "nesting/engine/trial_rotations.h"

namespace {

constexpr int kColumnAttemptLimit = 0;
constexpr int kColumnHoleAttemptLimit = 4;

// A random place around the centre keeps its box this far inside the usable area...
constexpr double kStartMargin = 0.001;
// ... and this share of the search step inside a hole window.
constexpr double kHoleMarginSteps = 0.1;
// Random places around the centre spread over 1.4 times the free width (and height).
constexpr double kCentreSpread = 1.4;

// Redraws of one coordinate before the draw is taken anyway. A draw is refused with a chance of about 1 in 12,
// so the bound is never met in practice; it only keeps the loop finite.
constexpr int kMaxRedraws = 1000;

int Draw(const CNestingEngine& engine, std::int32_t& current, std::int32_t& last, std::int32_t& gap) {
    for (int attempt = 0; attempt < kMaxRedraws; ++attempt) {
        current = host::sys::nextRandom();
        gap = std::max(0, current - engine.RandomMinStep);
        if (!(last >= gap && last <= current + engine.RandomMinStep)) {
            break;
        }
    }
    last = current;
    return current;
}

// Box extents of the group at the angle, relative to its position.
BoundingBox ExtentsAt(CNestingEngine& engine, double angle) {
    engine.SetGroupPose(engine.CurrentGroup, {0.0, 0.0}, angle);
    return placement::CurrentGroup(engine)->Box;
}

// A random place of the group around the centre of `area` (of size `size`), kept `margin` inside it.
host::ge::Point2d RandomAroundCentre(CNestingEngine& engine, double angle, const BoundingBox& area,
                                     host::ge::Vector2d size, double marginX, double marginY) {
    const BoundingBox g = ExtentsAt(engine, angle);
    const double rx = DrawRandomX(engine) / static_cast<double>(host::sys::kRandMax);
    const double ry = DrawRandomY(engine) / static_cast<double>(host::sys::kRandMax);
    double x = area.minX + size.x / 2.0 + kCentreSpread * (size.x - g.Width()) * (rx - 0.5);
    double y = area.minY + size.y / 2.0 + kCentreSpread * (size.y - g.Height()) * (ry - 0.5);
    if (x < area.minX - g.minX + marginX) x = area.minX - g.minX + marginX;
    if (x > area.maxX - g.maxX - marginX) x = area.maxX - g.maxX - marginX;
    if (y < area.minY - g.minY + marginY) y = area.minY - g.minY + marginY;
    if (y > area.maxY - g.maxY - marginY) y = area.maxY - g.maxY - marginY;
    return {x, y};
}

// Fixed place p (0 to 7) around ReferencePoint for a group whose box reaches rx right and ty up of its position.
host::ge::Point2d FixedPlace(const CNestingEngine& engine, int p, double rx, double ty) {
    const host::ge::Point2d r = engine.ReferencePoint;
    const double sx = engine.SearchStep.x;
    const double sy = engine.SearchStep.y;
    switch (p) {
    case 0: return {r.x - rx - sx, r.y + ty + sy};
    case 1: return {r.x - rx - sx, engine.UsableArea.maxY - ty - sy};
    case 2: return {r.x - 0.7 * rx, r.y + 1.3 * ty + sy};
    case 3: return {r.x + rx + sx, r.y - ty - sy};
    case 4: return {r.x - rx - sx, r.y - ty - sy};
    case 5: return {r.x - 0.5 * rx - sx, r.y + ty + sy};
    case 6: return {r.x - 1.3 * rx - sx, r.y + ty + sy};
    default: return {r.x - 1.7 * rx - sx, r.y + ty + sy};
    }
}

void RefreshStartWindow(CNestingEngine& engine) {
    engine.StartWindow.maxX = engine.PlacedExtent.maxX;
    engine.StartWindow.maxY = engine.PlacedExtent.maxY;
}

}  // namespace

int DrawRandomX(CNestingEngine& engine) {
    return Draw(engine, engine.RandomX, engine.RandomLastX, engine.RandomGap);
}

int DrawRandomY(CNestingEngine& engine) {
    return Draw(engine, engine.RandomY, engine.RandomLastY, engine.RandomGap);
}

bool ChooseStartPosition(CNestingEngine& engine, bool emptySheet, int& k, bool landscape) {
    PartGroup* group = placement::CurrentGroup(engine);
    if (group == nullptr) {
        return false;
    }
    SetGroupRotationRules(engine);
    RefreshStartWindow(engine);
    const double spanX = engine.PlacedExtent.maxX - engine.StartWindow.minX;
    const double spanY = engine.PlacedExtent.maxY - engine.StartWindow.minY;
    const int limit = placement::Quality(engine)[kColumnAttemptLimit];
    double angle = 0.0;
    if (!ChooseTrialAngle(engine, k, landscape, angle)) {
        return false;
    }
    const BoundingBox& area = engine.UsableArea;
    // Each pass of the loop raises k, and k > limit ends it.
    for (;;) {
        if (k > limit) {
            group->Valid = 0;
            return false;
        }
        if (!IsAngleAllowed(engine, angle)) {  // an angle a member's rule refuses is never tried
            ++k;
            if (!ChooseTrialAngle(engine, k, landscape, angle)) {
                return false;
            }
            continue;
        }
        host::ge::Point2d at;
        const bool variant = engine.CurrentGroup > 0;
        if (emptySheet && k == 0) {
            at = {area.minX + engine.UsableSize.x / 2.0, area.minY + engine.UsableSize.y / 2.0};
        } else if (emptySheet || variant || k >= kExtentStartAttempts) {
            at = RandomAroundCentre(engine, angle, area, engine.UsableSize, kStartMargin, kStartMargin);
        } else if (k < kFixedStartAttempts) {
            const BoundingBox g = ExtentsAt(engine, angle);
            at = FixedPlace(engine, k / 2, g.maxX, g.maxY);
        } else {
            at = {engine.StartWindow.minX + host::sys::nextRandom() * spanX / host::sys::kRandMax,
                  engine.StartWindow.minY + host::sys::nextRandom() * spanY / host::sys::kRandMax};
        }
        engine.SetGroupPose(engine.CurrentGroup, at, angle);
        if (placement::BoxWithin(group->Box, area)) {
            return true;
        }
        ++k;
        if (!ChooseTrialAngle(engine, k, landscape, angle)) {
            return false;
        }
    }
}

bool ChooseHoleStartPosition(CNestingEngine& engine, bool emptyHole, int& k, bool landscape) {
    PartGroup* group = placement::CurrentGroup(engine);
    if (group == nullptr) {
        return false;
    }
    SetGroupRotationRules(engine);
    RefreshStartWindow(engine);
    const int limit = placement::Quality(engine)[kColumnHoleAttemptLimit];
    double angle = 0.0;
    if (!ChooseHoleTrialAngle(engine, k, landscape, angle)) {
        return false;
    }
    const BoundingBox& window = engine.HoleWindow;
    for (;;) {
        if (k > limit) {
            group->Valid = 0;
            return false;
        }
        if (!IsAngleAllowed(engine, angle)) {
            ++k;
            if (!ChooseHoleTrialAngle(engine, k, landscape, angle)) {
                return false;
            }
            continue;
        }
        host::ge::Point2d at;
        if (emptyHole && k == 0) {
            at = {window.minX + engine.HoleWindowSize.x / 2.0, window.minY + engine.HoleWindowSize.y / 2.0};
        } else {
            at = RandomAroundCentre(engine, angle, window, engine.HoleWindowSize,
                                    kHoleMarginSteps * engine.SearchStep.x, kHoleMarginSteps * engine.SearchStep.y);
        }
        engine.SetGroupPose(engine.CurrentGroup, at, angle);
        if (placement::BoxWithin(group->Box, window)) {
            return true;
        }
        ++k;
        if (!ChooseHoleTrialAngle(engine, k, landscape, angle)) {
            return false;
        }
    }
}
