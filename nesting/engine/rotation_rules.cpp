// The rotation rule of a part, asked by every turn of the placement.
#include "nesting/engine/rotation_rules.h"

#include <array>
#include <cmath>

#include "cadlib/angles.h"
#include "nesting/engine/placement_access.h"

namespace {

using cadlib::kPi;
using cadlib::kRadiansPerDegree;
using cadlib::kTwoPi;

// Rotation steps of the delta list, by index.
constexpr std::array<double, kDeltaListLength> kDeltaSteps{0.5, 1, 2, 5, 10, 15, 30, 45, 60, 90, 180, 0.5};

double Normalized(double angle) {
    NormalizeAngle(angle);
    return angle;
}

// Whether `angle` lies in the sector that starts at `start` and runs `length` counter-clockwise.
bool InSector(double start, double length, double angle) {
    if (length + kRuleAngleTolerance >= kTwoPi) {
        return true;
    }
    const double d = Normalized(angle - start);
    return d <= length + kRuleAngleTolerance || d >= kTwoPi - kRuleAngleTolerance;
}

// Whether `angle` lies on the grid of `step` (radians) through `grain`.
bool OnGrid(double grain, double step, double angle) {
    const double d = Normalized(angle - grain);
    const double rest = std::fmod(d, step);
    return rest <= kRuleAngleTolerance || step - rest <= kRuleAngleTolerance;
}

bool IsClamp(const PartType& type) { return type.Kind == kKindClamp; }

}  // namespace

double DeltaStepDegrees(int deltaIndex) {
    return deltaIndex >= 0 && deltaIndex < kDeltaListLength ? kDeltaSteps[static_cast<std::size_t>(deltaIndex)] : 0.0;
}

bool TurnsByDelta(const PartType& type) {
    return type.RotationMode == kRotateFull && type.DeltaIndex > kDeltaAny && type.DeltaIndex < kDeltaInscribe &&
           type.RotationStep > 0.0;
}

double GrainAngleOn(const PartType& type, const PartType* sheet) {
    const double sheetGrain = sheet != nullptr ? sheet->Grain : 0.0;
    return Normalized((sheetGrain - type.Grain) * kRadiansPerDegree);
}

bool RuleAdmits(const PartType& type, double grain, double angle) {
    switch (type.RotationMode) {
    case kRotateNone:
        return InSector(grain, 0.0, angle);
    case kRotateFull:
        return !TurnsByDelta(type) || OnGrid(grain, type.RotationStep * kRadiansPerDegree, angle);
    case kRotateSector:
    case kRotateSectorAnd180: {
        const double start = grain + type.SectorMin * kRadiansPerDegree;
        const double length = std::max(0.0, (type.SectorMax - type.SectorMin) * kRadiansPerDegree);
        return InSector(start, length, angle) ||
               (type.RotationMode == kRotateSectorAnd180 && InSector(start + kPi, length, angle));
    }
    default:
        // A rule the job file does not make keeps the part at its grain, as its trial angles do.
        return InSector(grain, 0.0, angle);
    }
}

bool PartMayLieAt(const CNestingEngine& engine, int i, double angle) {
    const PartInstance* part = placement::At(engine.PartInstances, i);
    if (part == nullptr || part->Type == nullptr) {
        return false;
    }
    if (IsClamp(*part->Type)) {
        // A clamp stays at the angle it was put at.
        return part->TrialPose && InSector(part->TrialPose->Angle, 0.0, angle);
    }
    return RuleAdmits(*part->Type, GrainAngleOn(*part->Type, placement::SheetType(engine)), angle);
}

bool GroupMayLieAt(const CNestingEngine& engine, int g, double angle) {
    const PartGroup* group = placement::At(engine.Groups, g);
    if (group == nullptr || group->MemberCount < 1) {
        return false;
    }
    for (int m = 0; m < std::min(group->MemberCount, kGroupMemberCapacity); ++m) {
        const PartGroupMember& member = group->Members[static_cast<std::size_t>(m)];
        if (!PartMayLieAt(engine, member.Instance, angle + member.Rotation)) {
            return false;
        }
    }
    return true;
}
