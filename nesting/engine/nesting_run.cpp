// The nesting run: reset, pair arrangements, rotation templates, the placement order and the sheets.
#include "nesting/engine/nesting_run.h"

#include <algorithm>
#include <cmath>

#include "cadlib/angles.h"
#include "nesting/engine/pair_clusters.h"
#include "nesting/engine/placement_access.h"
#include "nesting/engine/run_messages.h"
#include "nesting/engine/stock_optimization.h"

namespace {

using cadlib::kRadiansPerDegree;

// Templates of each kind: the part posed at 0, 1, ... 90 degrees.
constexpr int kLastTemplateDeg = kTemplateCount - 1;
// The least box area of a kind without templates.
constexpr double kNoTemplateArea = 9.9e55;
// The other orientation's best angle is used (turned by 90 degrees) when it saves more than this share.
constexpr double kOrientationGain = 1.02;
// Parts longer than this many times their width are ordered by a smaller key (their area over aspect / 3).
constexpr double kLongPartAspect = 3.0;

bool IsClamp(const PartInstance& instance) { return instance.Type != nullptr && instance.Type->Kind == kKindClamp; }

void Unplace(PartInstance& instance) {
    instance.Stock = -1;
    instance.Placed = 0;
    if (instance.TrialPose) instance.TrialPose->Valid = 0;
    if (instance.CommittedPose) instance.CommittedPose->Valid = 0;
}

std::int32_t TypeOf(const CNestingEngine& engine, int instance) {
    const PartInstance* part = placement::At(engine.PartInstances, instance);
    return part != nullptr && part->Type != nullptr ? part->Type->TypeIndex : -1;
}

// Poses the template group at 0 ... 90 degrees into `templates` and gives every template the best landscape
// and portrait angles (least box area of each orientation).
void BuildTemplateKind(CNestingEngine& engine, PartGroup group, std::vector<PartGroup>& templates) {
    group.Valid = 1;
    group.FixedAngle = 0.0;
    engine.Groups[0] = group;
    double landscapeArea = kNoTemplateArea;
    double portraitArea = kNoTemplateArea;
    double landscapeDeg = 0.0;
    double portraitDeg = 0.0;
    const int saved = engine.CurrentGroup;
    for (int d = 0; d <= kLastTemplateDeg && static_cast<std::size_t>(d) < templates.size(); ++d) {
        engine.SetGroupPose(0, {0.0, 0.0}, d * kRadiansPerDegree);
        templates[static_cast<std::size_t>(d)] = engine.Groups[0];
        const double w = engine.Groups[0].Box.Width();
        const double h = engine.Groups[0].Box.Height();
        const double area = w * h;
        const bool portrait = h > 0.0 && w / h < 1.0;
        if (portrait && area < portraitArea) {
            portraitArea = area;
            portraitDeg = d;
        } else if (!portrait && area < landscapeArea) {
            landscapeArea = area;
            landscapeDeg = d;
        }
    }
    engine.CurrentGroup = saved;
    if (portraitArea < landscapeArea && landscapeArea / portraitArea > kOrientationGain) {
        landscapeDeg = portraitDeg + 90.0;
    } else if (landscapeArea <= portraitArea && portraitArea / landscapeArea > kOrientationGain) {
        portraitDeg = landscapeDeg + 90.0;
    }
    for (PartGroup& t : templates) {
        t.BestLandscapeDeg = landscapeDeg;
        t.BestPortraitDeg = portraitDeg;
    }
}

// The ordering key of an instance: the area of its type's first outer contour, weighted down for long parts.
double OrderKey(const PartInstance& instance) {
    if (instance.Type == nullptr) {
        return 0.0;
    }
    const PartType& type = *instance.Type;
    if (type.Outers[0].empty()) {
        return type.Area;
    }
    const Contour& outer = type.Outers[0].front();
    const double longer = std::max(outer.Box.Width(), outer.Box.Height());
    const double shorter = std::min(outer.Box.Width(), outer.Box.Height());
    const double aspect = shorter > 0.0 ? longer / shorter : 1.0;
    const double factor = aspect > kLongPartAspect ? aspect / kLongPartAspect : 1.0;
    return outer.Area * factor;
}

}  // namespace

int ResetNestingRun(CNestingEngine& engine) {
    engine.PlacedIndex.Invalidate();
    const int parts = std::clamp(engine.PartInstanceCount, 0, static_cast<int>(engine.PartInstances.size()));
    engine.OrderIndex.assign(static_cast<std::size_t>(parts), 0);
    engine.PartOrder.assign(static_cast<std::size_t>(parts), 0);
    for (int i = 0; i < parts; ++i) {
        Unplace(engine.PartInstances[static_cast<std::size_t>(i)]);
        engine.OrderIndex[static_cast<std::size_t>(i)] = i;
        engine.PartOrder[static_cast<std::size_t>(i)] = i;
    }
    for (PartInstance& stock : engine.StockInstances) {
        stock.Placed = 0;
        stock.PlacedCount = 0;
        stock.PlacedArea = 0.0;
    }
    engine.OrderCount = parts;
    engine.UsedStockCount = 0;
    engine.PlacedTotal = 0;
    return engine.OrderCount;
}

void BuildRotationTemplates(CNestingEngine& engine, int j) {
    const int i = placement::At(engine.OrderIndex, j) != nullptr ? engine.OrderIndex[static_cast<std::size_t>(j)] : -1;
    PartInstance* part = placement::At(engine.PartInstances, i);
    if (part == nullptr || part->Type == nullptr) {
        return;
    }
    PartType& type = *part->Type;
    for (PartGroup& t : type.SingleTemplates) t.Valid = 0;
    for (PartGroup& t : type.PairTemplates) t.Valid = 0;

    if (j + 1 < engine.OrderCount && engine.UseCluster != 0 && type.PairVariantCount != 0) {
        const int next = engine.OrderIndex[static_cast<std::size_t>(j) + 1];
        if (TypeOf(engine, next) == type.TypeIndex) {
            const int variants = std::clamp(type.PairVariantCount, 0, kPairVariantCapacity);
            int chosen = -1;
            if (type.RotationMode == kRotateFull || type.RotationMode == kRotateSectorAnd180) {
                chosen = 0;
            } else {
                for (int v = 0; v < variants && chosen < 0; ++v) {
                    if (type.PairVariants[static_cast<std::size_t>(v)].Rotation == 0.0) chosen = v;
                }
            }
            if (chosen >= 0) {
                const PairVariant& variant = type.PairVariants[static_cast<std::size_t>(chosen)];
                PartGroup pair;
                pair.MemberCount = 2;
                pair.Members[0] = PartGroupMember{i, 0.0, 0.0, 0.0, 0};
                pair.Members[1] =
                    PartGroupMember{next, variant.Radius, variant.PolarAngle, variant.Rotation, variant.ContourSet};
                BuildTemplateKind(engine, pair, type.PairTemplates);
            }
        }
    }
    PartGroup single;
    single.MemberCount = 1;
    single.Members[0] = PartGroupMember{i, 0.0, 0.0, 0.0, 0};
    single.Box = type.OuterBox;
    BuildTemplateKind(engine, single, type.SingleTemplates);
}

int OrderPartInstances(CNestingEngine& engine) {
    const int count = std::clamp(engine.OrderCount, 0, static_cast<int>(engine.OrderIndex.size()));
    std::vector<int> work(engine.OrderIndex.begin(), engine.OrderIndex.begin() + count);
    std::vector<double> keys(static_cast<std::size_t>(count));
    for (int j = 0; j < count; ++j) {
        const PartInstance* part = placement::At(engine.PartInstances, work[static_cast<std::size_t>(j)]);
        keys[static_cast<std::size_t>(j)] = part != nullptr ? OrderKey(*part) : 0.0;
    }
    auto priority = [&](int instance) {
        const PartInstance* part = placement::At(engine.PartInstances, instance);
        return part != nullptr && part->Type != nullptr ? part->Type->Priority : std::int8_t{0};
    };
    engine.PartOrder.assign(static_cast<std::size_t>(count), 0);
    for (int n = 0; n < count; ++n) {
        const int left = count - n;
        int best = 0;
        for (int w = 1; w < left; ++w) {
            const auto pw = priority(work[static_cast<std::size_t>(w)]);
            const auto pb = priority(work[static_cast<std::size_t>(best)]);
            if (pw > pb || (pw == pb && keys[static_cast<std::size_t>(w)] > keys[static_cast<std::size_t>(best)])) {
                best = w;
            }
        }
        engine.PartOrder[static_cast<std::size_t>(n)] = work[static_cast<std::size_t>(best)];
        work[static_cast<std::size_t>(best)] = work[static_cast<std::size_t>(left - 1)];
        keys[static_cast<std::size_t>(best)] = keys[static_cast<std::size_t>(left - 1)];
    }
    return count;
}

int RunNesting(CNestingEngine& engine, const SheetProgress& onSheet) {
    engine.RunStopped = false;
    if (!engine.CheckJobLimits()) {
        return 0;
    }
    ResetNestingRun(engine);
    if (engine.OrderCount == 0 || engine.StockInstanceCount == 0) {
        return 0;
    }
    ClearPairVariants(engine, -1);
    BuildPairVariants(engine);

    BuildRotationTemplates(engine, 0);
    std::int32_t lastType = TypeOf(engine, engine.OrderIndex[0]);
    for (int j = 1; j < engine.OrderCount; ++j) {
        const std::int32_t type = TypeOf(engine, engine.OrderIndex[static_cast<std::size_t>(j)]);
        if (type != lastType) {
            BuildRotationTemplates(engine, j);
            lastType = type;
        }
    }
    OrderPartInstances(engine);

    for (PartInstance& part : engine.PartInstances) {
        if (!IsClamp(part)) {
            Unplace(part);
        }
    }
    engine.PlacedTotal = 0;
    const int clamps = engine.ClampUse == 1 ? engine.ClampQuantity : 0;
    const int sheets = std::min(engine.StockInstanceCount, static_cast<int>(engine.StockInstances.size()));
    for (int s = 1; s <= sheets; ++s) {
        if (engine.PartInstanceCount - clamps == engine.PlacedTotal) {
            break;
        }
        if (RunStopAsked(engine)) {
            break;
        }
        PrintLocalized(kRunSheetStart, s);
        SheetResult result;
        OptimizeStock(engine, s - 1, result);
        if (result.count > clamps) {
            ++engine.UsedStockCount;
            engine.PlacedTotal += result.count - clamps;
        }
        PrintLocalized(kRunSheetResult, s, result.KIsp * 100.0, result.count - clamps);
        if (result.KIsp > 0.0 && onSheet) {
            onSheet(s - 1);
        }
    }
    if (engine.RunStopped) {
        PrintLocalized(kRunStopped, static_cast<int>(engine.PlacedTotal), static_cast<int>(engine.UsedStockCount),
                       engine.PartInstanceCount - clamps - static_cast<int>(engine.PlacedTotal));
    }
    return 0;
}
