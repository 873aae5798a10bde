// Trial angles of the placement attempts and the admission of an angle by a part's rotation rule.
#include "nesting/engine/trial_rotations.h"

#include <cmath>

#include "cadlib/angles.h"
#include "host/sys/random.h"
#include "nesting/engine/placement_access.h"

namespace {

using cadlib::kPi;
using cadlib::kRadiansPerDegree;

// Random offsets of a freely turning part stay within this many degrees of its best angle.
constexpr double kRandomOffsetHalfSpanDeg = 45.0;
constexpr int kRandomOffsetSpanDeg = 90;
// From this aspect on a part keeps its best angles (unless its delta is "Inscribe").
constexpr double kLongPartAspect = 4.0;

// Quality row columns that switch the angle rules.
constexpr int kColumnRandomAngles = 1;
constexpr int kColumnLandscapeEnd = 3;
constexpr int kColumnHoleRandomAngles = 4;

double Normalized(double angle) {
    NormalizeAngle(angle);
    return angle;
}

// The part's sector around the grain angle.
struct Sector {
    double start = 0.0;
    double end = 0.0;
    double length = 0.0;

    bool Holds(double angle) const {
        return length >= cadlib::kTwoPi || IsAngleInRange(start, end, Normalized(angle));
    }
};

Sector GrainSector(const PartType& type, double grain) {
    Sector sector;
    sector.start = Normalized(grain + type.SectorMin * kRadiansPerDegree);
    sector.end = Normalized(grain + type.SectorMax * kRadiansPerDegree);
    sector.length = std::max(0.0, (type.SectorMax - type.SectorMin) * kRadiansPerDegree);
    return sector;
}

// The angle of the delta grid from the grain angle nearest to `angle`.
double SnapToDelta(const PartType& type, double grain, double angle) {
    const double step = type.RotationStep * kRadiansPerDegree;
    return grain + std::round((angle - grain) / step) * step;
}

// A random angle of the delta grid within 45 degrees of `base` (on the grid), or anywhere on the grid when the
// delta is wider than that.
double RandomDeltaAngle(const PartType& type, double grain, double base) {
    const int reach = static_cast<int>(kRandomOffsetHalfSpanDeg / type.RotationStep);
    const double step = type.RotationStep * kRadiansPerDegree;
    if (reach >= 1) {
        const int n = host::sys::nextRandom() * (2 * reach) / host::sys::kRandMax - reach;
        return base + n * step;
    }
    const int count = std::max(1, static_cast<int>(std::lround(360.0 / type.RotationStep)));
    const int n = host::sys::nextRandom() * (count - 1) / host::sys::kRandMax;
    return grain + n * step;
}

// The best angle of the wish, in the part's sector when it or its turn by pi lies there, else the grain angle.
double PreferredSectorAngle(const Sector& sector, double best, double grain) {
    if (sector.Holds(best)) {
        return best;
    }
    if (sector.Holds(best + kPi)) {
        return best + kPi;
    }
    return grain;
}

double RandomSectorAngle(const Sector& sector) {
    return sector.start + host::sys::nextRandom() * sector.length / host::sys::kRandMax;
}

bool Odd(int k) { return (k % 2) != 0; }

// The shared rule of both angle choosers; `hole` selects the hole variant's rows.
bool TrialAngle(const CNestingEngine& engine, int k, bool landscape, bool hole, double& angle) {
    const PartGroup* group = placement::CurrentGroup(engine);
    const PartType* type = group != nullptr ? placement::GroupType(engine, *group) : nullptr;
    if (type == nullptr) {
        return false;
    }
    const QualityRow& row = placement::Quality(engine);
    const double grain = GrainAngle(engine);
    const double bestDeg = landscape ? group->BestLandscapeDeg : group->BestPortraitDeg;
    const double best = bestDeg * kRadiansPerDegree;
    double a = grain;
    switch (type->RotationMode) {
    case kRotateNone:
        a = grain;
        break;
    case kRotateFull:
        if (engine.RectMode != 0) {
            const bool keepLandscape = landscape && (hole || k < row[kColumnLandscapeEnd]);
            a = (keepLandscape ? group->BestLandscapeDeg : group->BestPortraitDeg) * kRadiansPerDegree;
            if (TurnsByDelta(*type)) {
                a = SnapToDelta(*type, grain, a);
            }
            break;
        }
        a = TurnsByDelta(*type) ? SnapToDelta(*type, grain, best) : best;
        if (!hole && k >= row[kColumnRandomAngles] &&
            (type->Aspect < kLongPartAspect || type->DeltaIndex == kDeltaInscribe)) {
            if (TurnsByDelta(*type)) {
                a = RandomDeltaAngle(*type, grain, a);
            } else {
                const int n = host::sys::nextRandom() * kRandomOffsetSpanDeg / host::sys::kRandMax;
                a = (bestDeg - kRandomOffsetHalfSpanDeg + n) * kRadiansPerDegree;
            }
        }
        if (Odd(k)) {
            a += kPi;
        }
        break;
    case kRotateSector:
    case kRotateSectorAnd180: {
        const Sector sector = GrainSector(*type, grain);
        const bool turns = type->RotationMode == kRotateSectorAnd180;
        if (engine.RectMode != 0) {
            a = PreferredSectorAngle(sector, best, grain);
            break;
        }
        const int randomFrom = hole ? row[kColumnHoleRandomAngles] : row[kColumnRandomAngles];
        if (k < randomFrom) {
            a = PreferredSectorAngle(sector, best, grain);
            if (turns && !hole && Odd(k)) {
                a += kPi;
            }
        } else {
            a = RandomSectorAngle(sector);
            if (turns && Odd(k)) {
                a += kPi;
            }
        }
        break;
    }
    default:
        // Rules other than the four of the job file are not made by the loader; such a part keeps its grain.
        a = grain;
        break;
    }
    angle = Normalized(a);
    return true;
}

}  // namespace

double GrainAngle(const CNestingEngine& engine) {
    const PartGroup* group = placement::CurrentGroup(engine);
    const PartType* type = group != nullptr ? placement::GroupType(engine, *group) : nullptr;
    const PartType* sheet = placement::SheetType(engine);
    if (type == nullptr) {
        return Normalized((sheet != nullptr ? sheet->Grain : 0.0) * kRadiansPerDegree);
    }
    return GrainAngleOn(*type, sheet);
}

void SetGroupRotationRules(CNestingEngine& engine) {
    PartGroup* group = placement::CurrentGroup(engine);
    const PartType* type = group != nullptr ? placement::GroupType(engine, *group) : nullptr;
    if (type == nullptr) {
        return;
    }
    const double grain = GrainAngle(engine);
    const Sector sector = GrainSector(*type, grain);
    group->FixedAngle = grain;
    group->SectorStart = sector.start;
    group->SectorEnd = sector.end;
}

bool ChooseTrialAngle(CNestingEngine& engine, int k, bool landscape, double& angle) {
    const bool found = TrialAngle(engine, k, landscape, false, angle);
    if (PartGroup* group = placement::CurrentGroup(engine)) {
        group->GroupWidth = group->Box.Width();
        group->GroupHeight = group->Box.Height();
    }
    return found;
}

bool ChooseHoleTrialAngle(CNestingEngine& engine, int k, bool landscape, double& angle) {
    return TrialAngle(engine, k, landscape, true, angle);
}

bool IsAngleAllowed(const CNestingEngine& engine, double angle) {
    return GroupMayLieAt(engine, engine.CurrentGroup, angle);
}
