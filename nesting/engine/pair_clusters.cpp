// Pair clusters: the eight arrangements of two copies of a part type, each tried over 23 offsets, ranked by the
// area of the pair's common box.
#include "nesting/engine/pair_clusters.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <utility>
#include <vector>

#include <omp.h>

#include "nesting/geometry/contour_kernel.h"
#include "nesting/geometry/contour_relation.h"
#include "nesting/geometry/outline_sets.h"
#include "nesting/geometry/contour_transforms.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// The approach starts this many pair gaps beyond the first part's box.
constexpr double kApproachStartGaps = 4.0;
// The approach step is this share of b's half size across the side.
constexpr double kApproachStepShare = 0.2;
// Each contact quarters the step.
constexpr double kStepDivisor = 4.0;
// No approach takes more steps than this: with steps of a fifth of the half size quartered down to the gap, a
// real approach needs a few dozen.
constexpr int kMaxApproachSteps = 10000;

struct Arrangement {
    PairSide side;
    double rotation;
};

// In the order in which the arrangements are numbered (and ranked on equal ratios).
constexpr std::array<Arrangement, kPairVariantCapacity> kArrangements{{
    {PairSide::Right, 0.0},
    {PairSide::Right, kPi},
    {PairSide::Left, 0.0},
    {PairSide::Left, kPi},
    {PairSide::Above, 0.0},
    {PairSide::Above, kPi},
    {PairSide::Below, 0.0},
    {PairSide::Below, kPi},
}};

double PairGap(const CNestingEngine& engine) {
    return engine.Unit == kUnitInches ? kPairGapInches : kPairGapMillimetres;
}

bool Across(PairSide side) { return side == PairSide::Right || side == PairSide::Left; }

PartInstance* Instance(CNestingEngine& engine, int i) {
    if (i < 0 || i >= engine.PartInstanceCount || static_cast<std::size_t>(i) >= engine.PartInstances.size()) {
        return nullptr;
    }
    PartInstance& instance = engine.PartInstances[static_cast<std::size_t>(i)];
    if (instance.Type == nullptr || !instance.TrialPose.has_value()) {
        return nullptr;
    }
    return &instance;
}

double BoxArea(const BoundingBox& box) { return box.Width() * box.Height(); }

// Whether b, moving towards a from `side`, has passed a's box completely: it can then never touch a again.
bool PassedBeyond(PairSide side, const BoundingBox& a, const BoundingBox& b) {
    switch (side) {
        case PairSide::Right: return b.maxX < a.minX;
        case PairSide::Left: return b.minX > a.maxX;
        case PairSide::Above: return b.maxY < a.minY;
        case PairSide::Below: return b.minY > a.maxY;
    }
    return true;
}

bool Disjoint(const PartPose& a, const PartPose& b) {
    if (a.Outers.empty() || b.Outers.empty()) {
        return true;
    }
    return RelateOuterSets(a.Outers, b.Outers) == ContourRelation::Disjoint;
}

// The result of one arrangement over its offsets.
struct ArrangementResult {
    bool found = false;
    double score = 0.0;
    double ratio = 0.0;
    host::ge::Point2d position;
};

}  // namespace

int ClearPairVariants(CNestingEngine& engine, int type) {
    const int count = std::min<int>(engine.PartTypeCount, static_cast<int>(engine.PartTypes.size()));
    if (type != -1 && (type < 0 || type >= count)) {
        return -1;
    }
    const int first = type == -1 ? 0 : type;
    const int last = type == -1 ? count : type + 1;
    for (int t = first; t < last; ++t) {
        PartType& partType = engine.PartTypes[static_cast<std::size_t>(t)];
        partType.HasPairs = 0;
        for (PairVariant& variant : partType.PairVariants) {
            variant.Used = 0;
        }
    }
    return 0;
}

int TryPairArrangement(CNestingEngine& engine, int a, int b, int set, double rotation, PairSide side,
                       host::ge::Point2d& position, double& score) {
    score = kPairTrialNoScore;
    PartInstance* first = Instance(engine, a);
    PartInstance* second = Instance(engine, b);
    if (first == nullptr || second == nullptr) {
        return kPairTrialFailed;
    }
    const double gap = PairGap(engine);
    const BoundingBox aBox = first->TrialPose->Box;

    host::ge::Point2d at = position;
    ApplyOuterPose(*second, set, at, rotation);
    const PartPose& bPose = *second->TrialPose;
    const double hx = bPose.Box.Width() / 2.0;
    const double hy = bPose.Box.Height() / 2.0;
    switch (side) {
        case PairSide::Right: at.x = aBox.maxX + kApproachStartGaps * gap + hx; break;
        case PairSide::Left: at.x = aBox.minX - kApproachStartGaps * gap - hx; break;
        case PairSide::Above: at.y = aBox.maxY + kApproachStartGaps * gap + hy; break;
        case PairSide::Below: at.y = aBox.minY - kApproachStartGaps * gap - hy; break;
    }
    // hx and hy place b's box clear of a's when the part's position is its box centre (as the loader makes it);
    // a part whose box lies off its position may start against a and then ends as a failed trial.
    ApplyOuterPose(*second, set, at, rotation);

    // Unit vector of the approach: towards a.
    host::ge::Vector2d toward{0.0, 0.0};
    switch (side) {
        case PairSide::Right: toward.x = -1.0; break;
        case PairSide::Left: toward.x = 1.0; break;
        case PairSide::Above: toward.y = -1.0; break;
        case PairSide::Below: toward.y = 1.0; break;
    }
    double step = kApproachStepShare * (Across(side) ? hx : hy);
    if (!(step > 0.0)) {
        step = gap;
    }

    // Above and below test the start first; left and right take their first step before the first test.
    if (!Across(side) && !Disjoint(*first->TrialPose, *second->TrialPose)) {
        return kPairTrialFailed;
    }
    host::ge::Point2d lastFree = at;
    bool passed = false;
    for (int n = 0; n < kMaxApproachSteps; ++n) {
        TranslatePart(*second, toward.x * step, toward.y * step);
        if (Disjoint(*first->TrialPose, *second->TrialPose)) {
            lastFree = {second->TrialPose->X, second->TrialPose->Y};
            if (PassedBeyond(side, aBox, second->TrialPose->Box)) {
                passed = true;
                break;
            }
            continue;
        }
        TranslatePart(*second, -toward.x * step, -toward.y * step);
        if (step > gap) {
            step /= kStepDivisor;
            continue;
        }
        break;
    }

    ApplyOuterPose(*second, set, lastFree, rotation);
    if (passed || !Disjoint(*first->TrialPose, *second->TrialPose)) {
        return kPairTrialFailed;
    }
    BoundingBox both = aBox;
    both.Include(second->TrialPose->Box);
    score = BoxArea(both);
    position = lastFree;
    return kPairTrialDone;
}

int EvaluatePair(CNestingEngine& engine, int a, int b) {
    PartInstance* first = Instance(engine, a);
    PartInstance* second = Instance(engine, b);
    if (first == nullptr || second == nullptr) {
        return -1;
    }
    PartType& type = *first->Type;
    if (!engine.UseCluster) {
        type.PairVariantCount = 0;
        return 0;
    }
    type.HasPairs = 0;
    if (type.Outers[0].empty()) {
        type.PairVariantCount = 0;
        return 0;
    }
    BoundingBox outerBox = BoundingBox::Empty();
    for (const Contour& outer : type.Outers[0]) {
        outerBox.Include(outer.Box);
    }
    const double w = outerBox.Width();
    const double h = outerBox.Height();
    ApplyOuterPose(*first, 0, {0.0, 0.0}, 0.0);
    const double norm = 2.0 * BoxArea(first->TrialPose->Box);
    const bool clamp = type.Kind == kKindClamp || second->Type->Kind == kKindClamp;
    if (!clamp && !(norm > 0.0)) {
        type.PairVariantCount = 0;
        return 0;
    }

    std::array<ArrangementResult, kPairVariantCapacity> results{};
    for (std::size_t n = 0; n < kArrangements.size(); ++n) {
        ArrangementResult& result = results[n];
        if (clamp) {
            result = {true, 0.0, 0.0, {0.0, 0.0}};
            continue;
        }
        const Arrangement& arrangement = kArrangements[n];
        const double offsetStep = (Across(arrangement.side) ? h : w) / kPairOffsetDivisor;
        for (int i = 0; i <= 2 * kPairOffsetSteps; ++i) {
            // 0, +1, -1, +2, -2, ... +11, -11 steps.
            const int k = (i + 1) / 2;
            const double offset = (i % 2 == 1 ? 1.0 : -1.0) * k * offsetStep;
            host::ge::Point2d position = Across(arrangement.side) ? host::ge::Point2d{0.0, offset}
                                                                  : host::ge::Point2d{offset, 0.0};
            double score = kPairTrialNoScore;
            if (TryPairArrangement(engine, a, b, 0, arrangement.rotation, arrangement.side, position, score) !=
                kPairTrialDone) {
                continue;
            }
            if (!result.found || score < result.score) {
                result = {true, score, score / norm, position};
            }
        }
    }

    std::array<std::size_t, kPairVariantCapacity> order{};
    for (std::size_t n = 0; n < order.size(); ++n) {
        order[n] = n;
    }
    std::stable_sort(order.begin(), order.end(), [&](std::size_t x, std::size_t y) {
        if (results[x].found != results[y].found) {
            return results[x].found;
        }
        return results[x].ratio < results[y].ratio;
    });

    int kept = 0;
    for (std::size_t n : order) {
        const ArrangementResult& result = results[n];
        if (!result.found) {
            break;
        }
        PairVariant& variant = type.PairVariants[static_cast<std::size_t>(kept)];
        variant.Used = 1;
        variant.ContourSet = 0;
        variant.Position = result.position;
        variant.Rotation = kArrangements[n].rotation;
        variant.Score = static_cast<float>(result.score);
        variant.Quality = result.ratio < 1.0 ? static_cast<float>(1.0 - result.ratio) : 0.0f;
        const host::ge::Point2d origin{0.0, 0.0};
        variant.PolarAngle = GetDirectionAngle(origin, result.position);
        variant.Radius = GetDistance(origin, result.position);
        ++kept;
    }
    for (std::size_t n = static_cast<std::size_t>(kept); n < type.PairVariants.size(); ++n) {
        type.PairVariants[n].Used = 0;
    }
    type.PairVariantCount = kept;
    type.HasPairs = kept > 0 ? 1 : 0;
    return 0;
}

int BuildPairVariants(CNestingEngine& engine) {
    if (!engine.UseCluster || engine.PartInstanceCount < 2) {
        return 0;
    }
    const int count = std::min<int>(engine.PartInstanceCount, static_cast<int>(engine.PartInstances.size()));
    std::vector<std::int32_t> walk;
    if (static_cast<int>(engine.OrderIndex.size()) >= count) {
        walk.assign(engine.OrderIndex.begin(), engine.OrderIndex.begin() + count);
    } else {
        walk.resize(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i) {
            walk[static_cast<std::size_t>(i)] = i;
        }
    }

    // One pair per type: two iterations that shared a type would write the same variants at once.
    std::vector<std::pair<int, int>> pairs;
    pairs.reserve(2 * static_cast<std::size_t>(std::max(engine.PartTypeCount, 1)) + 1);
    std::vector<const PartType*> paired;
    auto typeOf = [&](std::int32_t i) -> const PartType* {
        return (i >= 0 && i < count) ? engine.PartInstances[static_cast<std::size_t>(i)].Type : nullptr;
    };
    std::size_t n = 0;
    while (n < walk.size()) {
        const PartType* type = typeOf(walk[n]);
        std::size_t end = n + 1;
        while (end < walk.size() && type != nullptr && typeOf(walk[end]) != nullptr &&
               typeOf(walk[end])->TypeIndex == type->TypeIndex) {
            ++end;
        }
        if (type != nullptr && end - n >= 2 && std::find(paired.begin(), paired.end(), type) == paired.end()) {
            pairs.emplace_back(walk[n], walk[n + 1]);
            paired.push_back(type);
        }
        n = end;
    }

    const int pairCount = static_cast<int>(pairs.size());
#pragma omp parallel for schedule(static)
    for (int p = 0; p < pairCount; ++p) {
        EvaluatePair(engine, pairs[static_cast<std::size_t>(p)].first, pairs[static_cast<std::size_t>(p)].second);
    }
    engine.PlacedIndex.Invalidate();  // the trial poses of the pairs were moved
    return 0;
}
