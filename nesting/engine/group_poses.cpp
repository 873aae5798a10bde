// Groups of the placement: loading a part (or a pair) from its type's templates into the variant groups, posing
// and moving a group with its members, and giving a sheet's saved poses back.
#include <algorithm>
#include <cmath>
#include <cstddef>

#include <omp.h>

#include "cadlib/angles.h"
#include "nesting/geometry/contour_transforms.h"
#include "nesting/model/nesting_engine.h"

namespace {

// Below this many instances the restore runs on one thread: starting a team costs more than the loop.
constexpr int kParallelRestoreMinimum = 10;

// A pair is worth placing only when its best arrangement saves at least this share of the box area.
constexpr float kLeastPairQuality = 0.01f;

double Normalized(double angle) {
    NormalizeAngle(angle);
    return angle;
}

// Where a member lies and how it is turned when its group is at (position, angle).
void MemberPose(const PartGroupMember& member, host::ge::Point2d position, double angle, host::ge::Point2d& at,
                double& turned) {
    at = position;
    if (member.Radius != 0.0) {
        const double a = Normalized(angle + member.PolarAngle);
        at = {position.x + member.Radius * std::cos(a), position.y + member.Radius * std::sin(a)};
    }
    turned = Normalized(angle + member.Rotation);
}

int UsedMembers(const PartGroup& group) { return std::clamp(group.MemberCount, 0, kGroupMemberCapacity); }

// Element i of a table, or nothing when i is outside it.
template <class T>
T* Entry(std::vector<T>& table, int i) {
    return (i >= 0 && static_cast<std::size_t>(i) < table.size()) ? &table[static_cast<std::size_t>(i)] : nullptr;
}

}  // namespace

int CNestingEngine::LoadGroupTemplate(int j, int wantPair) {
    if (j < 0 || static_cast<std::size_t>(j) >= PartOrder.size()) {
        return 0;
    }
    const std::int32_t first = PartOrder[static_cast<std::size_t>(j)];
    if (first < 0 || static_cast<std::size_t>(first) >= PartInstances.size() ||
        PartInstances[static_cast<std::size_t>(first)].Type == nullptr) {
        return 0;
    }
    const PartType& type = *PartInstances[static_cast<std::size_t>(first)].Type;

    std::int32_t partner = -1;
    if (wantPair == 2 && j + 1 < PartInstanceCount) {
        for (std::size_t k = static_cast<std::size_t>(j) + 1; k < PartOrder.size(); ++k) {
            const std::int32_t candidate = PartOrder[k];
            if (candidate < 0 || static_cast<std::size_t>(candidate) >= PartInstances.size()) {
                break;
            }
            const PartInstance& other = PartInstances[static_cast<std::size_t>(candidate)];
            if (other.Type == nullptr || other.Type->TypeIndex != type.TypeIndex) {
                break;
            }
            if (!other.Placed) {
                partner = candidate;
                break;
            }
        }
    }

    PartGroup& group = Groups[0];
    const bool pair = partner >= 0 && PartInstances[static_cast<std::size_t>(partner)].Type->PairVariants[0].Quality >=
                                          kLeastPairQuality;
    if (pair) {
        group = type.PairTemplates[0];
        group.MemberCount = 2;
        group.Members[1].Instance = partner;
    } else {
        group = type.SingleTemplates[0];
        group.MemberCount = 1;
    }
    group.Members[0].Instance = first;
    group.Valid = 0;

    const std::size_t level = static_cast<std::size_t>(std::clamp(QualityLevel, 0, kQualityLevelCount - 1));
    GroupCount = std::clamp(QualityTable[level][kQualityVariantGroups], 1, kGroupCapacity);
    for (std::int32_t g = 1; g < GroupCount; ++g) {
        PartGroup& variant = Groups[static_cast<std::size_t>(g)];
        variant.SectorStart = group.SectorStart;
        variant.SectorEnd = group.SectorEnd;
        variant.FixedAngle = group.FixedAngle;
        variant.BestLandscapeDeg = group.BestLandscapeDeg;
        variant.BestPortraitDeg = group.BestPortraitDeg;
        variant.MemberCount = group.MemberCount;
        variant.Members = group.Members;
        variant.Valid = 0;
    }
    return group.MemberCount;
}

void CNestingEngine::SetGroupPose(int g, host::ge::Point2d position, double angle) {
    PartGroup* group = Entry(Groups, g);
    if (group == nullptr) {
        return;
    }
    group->X = position.x;
    group->Y = position.y;
    group->Angle = angle;
    group->Box = BoundingBox::Empty();
    for (int m = 0; m < UsedMembers(*group); ++m) {
        const PartGroupMember& member = group->Members[static_cast<std::size_t>(m)];
        PartInstance* instance = Entry(PartInstances, member.Instance);
        if (instance == nullptr) {
            continue;
        }
        host::ge::Point2d at;
        double turned = 0.0;
        MemberPose(member, position, angle, at, turned);
        ApplyOuterPose(*instance, member.ContourSet, at, turned);
        if (instance->TrialPose) {
            group->Box.Include(instance->TrialPose->Box);
        }
    }
}

void CNestingEngine::ApplyGroupPose(int g, host::ge::Point2d position, double angle) {
    PartGroup* group = Entry(Groups, g);
    if (group == nullptr) {
        return;
    }
    group->X = position.x;
    group->Y = position.y;
    group->Angle = angle;
    for (int m = 0; m < UsedMembers(*group); ++m) {
        const PartGroupMember& member = group->Members[static_cast<std::size_t>(m)];
        if (PartInstance* instance = Entry(PartInstances, member.Instance)) {
            host::ge::Point2d at;
            double turned = 0.0;
            MemberPose(member, position, angle, at, turned);
            ApplyPartPose(*instance, member.ContourSet, at, turned);
        }
    }
}

void CNestingEngine::MoveGroupTo(int g, double x, double y) {
    if (PartGroup* group = Entry(Groups, g)) {
        TranslateGroup(g, x - group->X, y - group->Y);
        group->X = x;  // exactly, whatever the rounding of the move
        group->Y = y;
    }
}

void CNestingEngine::TranslateGroup(int g, double dx, double dy) {
    PartGroup* group = Entry(Groups, g);
    if (group == nullptr) {
        return;
    }
    group->X += dx;
    group->Y += dy;
    group->Box.Translate(dx, dy);
    for (int m = 0; m < UsedMembers(*group); ++m) {
        if (PartInstance* instance = Entry(PartInstances, group->Members[static_cast<std::size_t>(m)].Instance)) {
            TranslatePart(*instance, dx, dy);
        }
    }
}

void CNestingEngine::RestorePoseSnapshot(std::vector<PartInstance>& instances, int count, int stock) {
    PlacedIndex.Invalidate();
    if (PoseSnapshots.empty()) {
        return;
    }
    const int limit = std::min({count, static_cast<int>(instances.size()), static_cast<int>(PoseSnapshots.size())});
    const std::int32_t sheet = CurrentStock;
    omp_set_dynamic(0);
    // The thread count of the clause holds for this loop alone.
    const int threads = limit < kParallelRestoreMinimum ? 1 : omp_get_max_threads();
#pragma omp parallel for schedule(static) num_threads(threads)
    for (int i = 0; i < limit; ++i) {
        const PoseSnapshot& entry = PoseSnapshots[static_cast<std::size_t>(i)];
        if (entry.Stock != stock) {
            continue;
        }
        PartInstance& instance = instances[static_cast<std::size_t>(i)];
        if (entry.Valid == 0) {
            instance.Stock = -1;
            instance.Placed = 0;
            if (instance.TrialPose) {
                instance.TrialPose->Valid = 0;
            }
            if (instance.CommittedPose) {
                instance.CommittedPose->Valid = 0;
            }
            continue;
        }
        if (!instance.TrialPose) {
            continue;
        }
        instance.Placed = 1;
        instance.TrialPose->X = entry.X;
        instance.TrialPose->Y = entry.Y;
        instance.TrialPose->Angle = entry.Angle;
        instance.TrialPose->ContourSet = 0;
        ApplyPartPose(instance, 0, {entry.X, entry.Y}, entry.Angle);
        CommitTrialPose(instance, sheet);
    }
}
