// One sheet's optimisation: the passes with their shrinking usable rectangle, the pass measures and their
// comparison, the best layout kept and given back, and the filling of holes of placed parts during a pass.
//
// Index of this file:
//   [measures]      MeasurePass, CompareWithBestLayout
//   [best layout]   ClearStockParts, SaveBestLayout, RestoreBestLayout
//   [holes]         FillHoles
//   [passes]        OptimizeStock
#include "nesting/engine/stock_optimization.h"

#include <algorithm>

#include "host/sys/number_text.h"
#include "nesting/engine/hole_filling.h"
#include "nesting/engine/part_placement.h"
#include "nesting/engine/placement_access.h"
#include "nesting/engine/rotation_rules.h"
#include "nesting/engine/run_messages.h"
#include "nesting/geometry/contour_transforms.h"

namespace {

// Clamps stand this far above the sheet's bottom side.
constexpr double kClampY = 0.001;
// The usable rectangle is checked at its right and top sides once the parts leave this much of it free.
constexpr double kUsedExtentMargin = 1.2;
// Shrink factors of the passes.
constexpr double kFirstShrink = 0.99;
constexpr double kShrinkStepSmall = 0.0025;
constexpr double kSecondShrink = 0.98;
constexpr double kShrinkStepLarge = 0.01;
// Kept instances from which the restore of the best layout poses them in parallel.
constexpr int kParallelRestoreMinimum = 64;

enum class Phase { First, LongSide, OtherSide, Stv };

bool IsClamp(const PartInstance& instance) { return instance.Type != nullptr && instance.Type->Kind == kKindClamp; }

void Unplace(PartInstance& instance) {
    instance.Stock = -1;
    instance.Placed = 0;
    if (instance.TrialPose) instance.TrialPose->Valid = 0;
    if (instance.CommittedPose) instance.CommittedPose->Valid = 0;
}

// Unplaces the instances (through OrderIndex) on sheet k or on none; clamps only when asked.
void UnplaceOnSheet(CNestingEngine& engine, int k, bool clampsToo) {
    const int count = std::min(engine.OrderCount, static_cast<int>(engine.OrderIndex.size()));
    for (int n = 0; n < count; ++n) {
        PartInstance* part = placement::At(engine.PartInstances, engine.OrderIndex[static_cast<std::size_t>(n)]);
        if (part == nullptr || (!clampsToo && IsClamp(*part))) {
            continue;
        }
        if (k == -1 || part->Stock == k || part->Stock == -1) {
            Unplace(*part);
        }
    }
}

}  // namespace

// [measures] ----------------------------------------------------------------------------------------------------

PassMeasures MeasurePass(const CNestingEngine& engine, int k, double sheetMaxX, double sheetMaxY) {
    PassMeasures m;
    const BoundingBox& area = engine.UsableArea;
    bool any = false;
    for (const PartInstance& part : engine.PartInstances) {
        if (part.Stock != k || !part.CommittedPose || part.CommittedPose->Valid == 0 || part.Type == nullptr ||
            IsClamp(part)) {
            continue;
        }
        ++m.count;
        m.placedArea += part.Type->Area;
        m.XE = any ? std::max(m.XE, part.CommittedPose->Box.maxX) : part.CommittedPose->Box.maxX;
        m.YE = any ? std::max(m.YE, part.CommittedPose->Box.maxY) : part.CommittedPose->Box.maxY;
        any = true;
    }
    if (!any) {
        m.XE = area.minX;
        m.YE = area.minY;
    }
    const PartInstance* stock = placement::At(engine.StockInstances, k);
    m.KIsp = SheetUseRatio(m.placedArea, stock != nullptr && stock->Type != nullptr ? stock->Type->Area : 0.0);
    m.SS = (m.XE - area.minX) * (m.YE - area.minY);
    // An empty pass has SS 0: its SKIsp is 0, which no comparison finds better than another empty pass.
    m.SKIsp = m.SS > 0.0 ? m.placedArea / m.SS : 0.0;
    m.SSG = (area.maxY - area.minY) * (sheetMaxX - m.XE);
    m.SSV = (area.maxX - area.minX) * (sheetMaxY - m.YE);
    return m;
}

int CompareWithBestLayout(const CNestingEngine& engine, double area, double SKIsp, double SSG, double SSV,
                          double SS) {
    const BestLayout& best = engine.Best;
    if (area > best.PlacedArea) {
        return 0;
    }
    if (area != best.PlacedArea) {
        return 1;
    }
    bool better = false;
    switch (engine.NestingOptimizationOption) {
    case 1: better = SS < best.SS; break;
    case 2: better = SSG > best.SSG || (SSG == best.SSG && SSV > best.SSV); break;
    case 3: better = SSV > best.SSV || (SSV == best.SSV && SSG > best.SSG); break;
    default: better = SKIsp > best.SKIsp; break;
    }
    return better ? 0 : 1;
}

// [best layout] -------------------------------------------------------------------------------------------------

void ClearStockParts(CNestingEngine& engine, int k) { UnplaceOnSheet(engine, k, false); }

void SaveBestLayout(CNestingEngine& engine, const PassMeasures& pass, int k) {
    BestLayout& best = engine.Best;
    best.Clear();
    best.BestLayoutStock = k;
    best.XE = pass.XE;
    best.YE = pass.YE;
    best.PlacedArea = pass.placedArea;
    best.SS = pass.SS;
    best.SSV = pass.SSV;
    best.SSG = pass.SSG;
    best.KIsp = pass.KIsp;
    best.SKIsp = pass.SKIsp;
    best.ExtentMax = {engine.PlacedExtent.maxX, engine.PlacedExtent.maxY};
    const int count = std::min(engine.OrderCount, static_cast<int>(engine.OrderIndex.size()));
    for (int n = 0; n < count; ++n) {
        const int i = engine.OrderIndex[static_cast<std::size_t>(n)];
        const PartInstance* part = placement::At(engine.PartInstances, i);
        if (part == nullptr || part->Stock != k || !part->TrialPose || part->TrialPose->Valid == 0) {
            continue;
        }
        const PartPose& pose = *part->TrialPose;
        if (!best.Append({i, pose.X, pose.Y, pose.Angle, pose.ContourSet})) {
            break;
        }
    }
    UnplaceOnSheet(engine, k, true);
}

int RestoreBestLayout(CNestingEngine& engine, SheetResult& result) {
    const BestLayout& best = engine.Best;
    const int stock = best.BestLayoutStock;
    UnplaceOnSheet(engine, stock, true);
    const int count = best.Count();
    std::vector<PartInstance>& instances = engine.PartInstances;
    // Each iteration writes one distinct instance and its posed contours.
#pragma omp parallel for schedule(static) if (count >= kParallelRestoreMinimum)
    for (int n = 0; n < count; ++n) {
        const BestLayoutEntry& entry = best.Entries[static_cast<std::size_t>(n)];
        if (entry.Instance < 0 || static_cast<std::size_t>(entry.Instance) >= instances.size()) {
            continue;
        }
        PartInstance& part = instances[static_cast<std::size_t>(entry.Instance)];
        if (!part.TrialPose || !part.CommittedPose) {
            continue;
        }
        part.TrialPose->ContourSet = entry.ContourSet;
        ApplyPartPose(part, entry.ContourSet, {entry.X, entry.Y}, entry.Angle);
        CommitTrialPose(part, stock);
    }
    engine.PlacedIndex.Invalidate();
    result.count = count;
    result.placedArea = best.PlacedArea;
    result.KIsp = best.KIsp;
    result.XE = best.XE;
    result.YE = best.YE;
    return count;
}

// [holes] -------------------------------------------------------------------------------------------------------

int FillHoles(CNestingEngine& engine, int j) {
    engine.PlacementMode = kPlacementHoles;
    int result = -1;
    const int firstHost = engine.HoleHostCursor;
    // PlacedPartCount grows as parts go into holes (they become hosts in turn); it never passes kMaxPlacedParts.
    for (int h = firstHost; h < engine.PlacedPartCount; ++h) {
        const int host = engine.PlacedParts[static_cast<std::size_t>(h)];
        engine.HoleHost = host;
        engine.HolePlacedCount = 0;
        const PartInstance* hostPart = placement::At(engine.PartInstances, host);
        if (hostPart != nullptr && hostPart->Type != nullptr && hostPart->TrialPose) {
            const PartType& hostType = *hostPart->Type;
            const int holes = std::min(hostType.HoleCount(0), static_cast<int>(hostPart->TrialPose->Holes.size()));
            for (int hole = (h == firstHost ? engine.HoleCursor : 0); hole < holes; ++hole) {
                if (engine.PartInstanceCount <= engine.PlacedPartCount) {
                    break;
                }
                const Contour& posed = hostPart->TrialPose->Holes[static_cast<std::size_t>(hole)];
                engine.HoleWindow = posed.Box;
                engine.HoleWindowSize = {posed.Box.Width(), posed.Box.Height()};
                engine.HoleIndex = hole;
                const double holeArea = hostType.Holes[0][static_cast<std::size_t>(hole)].Area;
                double filled = 0.0;
                std::int32_t lastType = -1;
                int r = 0;
                for (int q = j; q < engine.PartInstanceCount && q < static_cast<int>(engine.PartOrder.size()); ++q) {
                    const PartInstance* part = placement::At(engine.PartInstances,
                                                             engine.PartOrder[static_cast<std::size_t>(q)]);
                    if (part == nullptr || part->Type == nullptr || !part->TrialPose || part->TrialPose->Valid != 0) {
                        continue;
                    }
                    const std::int32_t type = part->Type->TypeIndex;
                    if (type == lastType && r != 0) {
                        continue;
                    }
                    if (type != lastType) {
                        engine.PairWanted = engine.UseCluster;
                        engine.LandscapeWanted = engine.UseLandscape;
                    }
                    double needed = part->Type->Area * (engine.PairWanted != 0 ? 2.0 : 1.0);
                    if (needed + filled >= holeArea && engine.PairWanted != 0) {
                        engine.PairWanted = 0;
                        needed = part->Type->Area;
                    }
                    lastType = type;
                    if (needed + filled >= holeArea) {
                        r = -1;
                        continue;
                    }
                    const int before = engine.PlacedPartCount;
                    r = PlacePartInHole(engine, q, 0.0, 0.0, kAutomaticPlacement);
                    if (r == 0) {
                        result = 0;
                        const double outerArea =
                            part->Type->Outers[0].empty() ? part->Type->Area : part->Type->Outers[0].front().Area;
                        filled += (engine.PlacedPartCount - before) * outerArea;
                    }
                }
            }
        }
        engine.HoleHostCursor = h + 1;
        engine.HoleCursor = 0;
    }
    engine.PlacementMode = kPlacementMain;
    return result;
}

// [passes] ------------------------------------------------------------------------------------------------------

namespace {

// The clamps of sheet k on it, first in PlacedParts.
void PlaceClamps(CNestingEngine& engine, int k) {
    if (engine.ClampUse != 1) {
        return;
    }
    const PartInstance& stock = engine.StockInstances[static_cast<std::size_t>(k)];
    const int clamps = std::clamp(engine.ClampQuantity, 0, kMaxClamps);
    for (int c = 0; c < clamps; ++c) {
        PartInstance* clamp = placement::At(engine.PartInstances, engine.PartInstanceCount - engine.ClampQuantity + c);
        if (clamp == nullptr || !clamp->TrialPose || !IsClamp(*clamp)) {
            continue;  // a job whose clamp copies are missing never puts a part in a clamp's place
        }
        clamp->TrialPose->ContourSet = 0;
        ApplyPartPose(*clamp, 0, {stock.ClampX[static_cast<std::size_t>(c)], stock.ClampY[static_cast<std::size_t>(c)]},
                      0.0);
        CommitTrialPose(*clamp, k);
        engine.AppendPlacedPart(engine.PartInstanceCount - engine.ClampQuantity + c);
    }
    engine.PlacedIndex.Invalidate();
}

void SetClampPositions(CNestingEngine& engine, PartInstance& stock) {
    if (engine.ClampUse != 1) {
        stock.ClampFlag = 0;
        stock.ClampCount = 0;
        return;
    }
    const int clamps = std::clamp(engine.ClampQuantity, 0, kMaxClamps);
    stock.ClampFlag = 1;
    stock.ClampCount = clamps;
    const BoundingBox& drawing = stock.Type->DrawingBox;
    for (int c = 0; c < clamps; ++c) {
        stock.ClampY[static_cast<std::size_t>(c)] = kClampY;
        if (c == 0) {
            stock.ClampX[0] = engine.ClampCenterList == 1
                                  ? (drawing.Width() - (engine.ClampQuantity - 1) * engine.ClampingDistance) * 0.5
                                  : engine.Clamp1PozX;
        } else {
            stock.ClampX[static_cast<std::size_t>(c)] =
                stock.ClampX[static_cast<std::size_t>(c) - 1] + engine.ClampingDistance;
        }
    }
}

void StartPass(CNestingEngine& engine, const PartType& sheet) {
    BoundingBox& area = engine.UsableArea;
    engine.PairWanted = engine.UseCluster;
    engine.LandscapeWanted = engine.UseLandscape;
    engine.UsableSize = {area.Width(), area.Height()};
    engine.PassSize = engine.UsableSize;
    engine.LastPlacedInstance = -1;
    engine.PassPlacedCount = 0;
    engine.LastTypeIndex = kNoLastType;
    engine.PlacedExtent = {area.minX, area.minY, area.minX, area.minY};
    engine.ReferencePoint = {area.minX, area.minY};
    const BoundingBox corner{sheet.OuterBox.minX, sheet.OuterBox.minY, sheet.OuterBox.minX, sheet.OuterBox.minY};
    engine.StartWindow = corner;
    engine.HoleWindow = corner;
    engine.HoleWindowSize = {0.0, 0.0};
    engine.PlacementMode = kPlacementMain;
    engine.HoleIndex = 0;
    engine.PlacedPartCount = 0;
    engine.HoleHostCursor = 0;
    engine.HoleCursor = 0;
}

// The placement loop of a pass over PartOrder.
void PlaceParts(CNestingEngine& engine) {
    int r = 0;
    bool longPart = false;
    for (int j = 0; j < engine.PartInstanceCount && j < static_cast<int>(engine.PartOrder.size()); ++j) {
        if (RunStopAsked(engine)) {
            break;
        }
        PartInstance* part = placement::At(engine.PartInstances, engine.PartOrder[static_cast<std::size_t>(j)]);
        if (part == nullptr || part->Type == nullptr || !part->TrialPose || !part->CommittedPose ||
            part->Placed == 1) {
            continue;
        }
        PartType& type = *part->Type;
        if (r < 0 && r != -2 && type.TypeIndex == engine.LastTypeIndex) {
            continue;  // a type that failed once is not tried again in this pass
        }
        if (part->CommittedPose->Valid != 0) {
            engine.LastTypeIndex = type.TypeIndex;
            continue;
        }
        if (type.TypeIndex != engine.LastTypeIndex) {
            const double s = std::max(type.OuterBox.Width(), type.OuterBox.Height());
            longPart = false;
            if (engine.UsableArea.maxY < s && s < engine.UsableArea.maxX) {
                engine.NestingOptimizationOption = 0;
                longPart = type.RotationMode == kRotateFull && type.DeltaIndex != kDeltaInscribe;
            }
            if (engine.HoleMode == 1 && engine.LastTypeIndex >= 0) {
                engine.PairWanted = engine.UseCluster;
                engine.LandscapeWanted = engine.UseLandscape;
                const BoundingBox extent = engine.PlacedExtent;
                const host::ge::Point2d reference = engine.ReferencePoint;
                const BoundingBox window = engine.StartWindow;
                r = FillHoles(engine, j);
                engine.PairWanted = engine.UseCluster;
                engine.LandscapeWanted = engine.UseLandscape;
                engine.PlacedExtent = extent;
                engine.ReferencePoint = reference;
                engine.StartWindow = window;
                if (part->TrialPose->Valid != 0) {
                    continue;  // it went into a hole
                }
            }
            engine.PairWanted = engine.UseCluster;
            engine.LandscapeWanted = engine.UseLandscape;
        }
        // A long part that turns freely is tried at quarter turns only.
        const double deltaIndex = type.DeltaIndex;
        const double rotationStep = type.RotationStep;
        if (longPart) {
            type.DeltaIndex = kDeltaQuarterTurn;
            type.RotationStep = DeltaStepDegrees(kDeltaQuarterTurn);
        }
        r = PlacePart(engine, j, 0.0, 0.0, kAutomaticPlacement);
        if (longPart) {
            type.DeltaIndex = deltaIndex;
            type.RotationStep = rotationStep;
        }
        engine.LastTypeIndex = type.TypeIndex;
    }
}

void Trace(const CNestingEngine& engine, const std::string& line) {
    if (engine.PassTrace) engine.PassTrace(line);
}

void TracePass(const CNestingEngine& engine, const PassMeasures& m, double ks) {
    if (!engine.PassTrace) return;
    Trace(engine, host::sys::formatC(kTracePass, m.KIsp * 100.0, m.SKIsp * 100.0, m.XE, m.YE, m.count));
    Trace(engine, host::sys::formatC(kTracePassAreas, m.SS, m.SSG, m.SSV, ks));
}

void KeepPass(CNestingEngine& engine, const PassMeasures& m, int k) {
    SaveBestLayout(engine, m, k);
    const BestLayout& best = engine.Best;
    if (engine.PassTrace) {
        Trace(engine, host::sys::formatC(kTraceKept, best.KIsp * 100.0, best.SKIsp * 100.0, best.ExtentMax.x,
                                         best.ExtentMax.y, best.Count(), m.SSG + m.SSV));
    }
}

}  // namespace

bool RunStopAsked(CNestingEngine& engine) {
    if (!engine.RunStopped && engine.StopRequested && engine.StopRequested()) {
        engine.RunStopped = true;
    }
    return engine.RunStopped;
}

int OptimizeStock(CNestingEngine& engine, int k, SheetResult& result) {
    result = SheetResult{};
    PartInstance* stock = placement::At(engine.StockInstances, k);
    if (stock == nullptr || stock->Type == nullptr) {
        return 0;
    }
    const std::uint8_t savedPressing = engine.Pressing;
    const std::int32_t savedOption = engine.NestingOptimizationOption;
    engine.CurrentStock = k;
    engine.CurrentStockInstance = stock;
    const PartType& sheet = *stock->Type;
    BoundingBox& area = engine.UsableArea;
    area = sheet.OuterBox;
    const double sheetMaxX = sheet.OuterBox.maxX;
    const double sheetMaxY = sheet.OuterBox.maxY;
    const bool tall = sheetMaxX < sheetMaxY;
    engine.Best.Clear();
    engine.Best.PlacedArea = engine.Best.SS = engine.Best.SSV = engine.Best.SSG = 0.0;
    engine.Best.KIsp = engine.Best.SKIsp = engine.Best.XE = engine.Best.YE = 0.0;
    engine.StvPassCount = 0;
    engine.UseLandscape = 1;
    engine.UsableAreaCheck = 0;
    double ks = 1.0;
    Phase phase = Phase::First;
    double refX = sheetMaxX;
    double refY = sheetMaxY;
    SetClampPositions(engine, *stock);

    for (int pass = 0; pass < kMaxPassesPerSheet; ++pass) {
        StartPass(engine, sheet);
        ClearStockParts(engine, k);
        PlaceClamps(engine, k);
        engine.UseHole = engine.HoleMode;
        // The pressing pass is never run: its option is switched off for every pass of the sheet.
        engine.Pressing = 0;
        PlaceParts(engine);
        engine.PlacementMode = kPlacementMain;
        engine.LastTypeIndex = -1;

        const PassMeasures m = MeasurePass(engine, k, sheetMaxX, sheetMaxY);
        TracePass(engine, m, ks);
        engine.PassPlacedCount = m.count;
        if (engine.RunStopped) {
            // Stopped inside the pass: the first pass keeps what it placed, a later one leaves the best kept.
            if (phase == Phase::First) {
                KeepPass(engine, m, k);
            }
            break;
        }
        if (engine.UsableAreaCheck == 0 &&
            (m.XE * kUsedExtentMargin < area.maxX || m.YE * kUsedExtentMargin < area.maxX)) {
            engine.UsableAreaCheck = 1;
        }
        const bool better = CompareWithBestLayout(engine, m.placedArea, m.SKIsp, m.SSG, m.SSV, m.SS) == 0;
        bool finish = false;
        switch (phase) {
        case Phase::First:
            area.maxX = sheetMaxX;
            area.maxY = sheetMaxY;
            ks = kFirstShrink;
            phase = Phase::LongSide;
            if (tall) {
                refY = m.YE;
                refX = sheetMaxX;
            } else {
                refX = m.XE;
                refY = sheetMaxY;
            }
            KeepPass(engine, m, k);
            break;
        case Phase::LongSide:
            if (better) {
                if (tall) {
                    refY = m.YE;
                    area.maxY = ks * m.YE;
                } else {
                    refX = m.XE;
                    area.maxX = ks * m.XE;
                }
                KeepPass(engine, m, k);
            } else if (ks == kFirstShrink) {
                ks += kShrinkStepSmall;
                (tall ? area.maxY : area.maxX) = (tall ? refY : refX) * ks;
            } else {
                ks = kSecondShrink;
                phase = Phase::OtherSide;
                if (tall) {
                    area.maxX = refX * kSecondShrink;
                    area.maxY = refY;
                } else {
                    area.maxX = refX;
                    area.maxY = refY * kSecondShrink;
                }
            }
            break;
        case Phase::OtherSide:
            if (better) {
                if (tall) {
                    refX = m.XE;
                    area.maxX = m.XE * ks;
                } else {
                    refY = m.YE;
                    area.maxY = m.YE * ks;
                }
                KeepPass(engine, m, k);
            } else if (ks > kFirstShrink) {
                // The third failure of this phase: the last phase places on the whole sheet, portrait first.
                phase = Phase::Stv;
                engine.StvPassCount = 1;
                engine.UseLandscape = 0;
                engine.UsableAreaCheck = 0;
                Trace(engine, kTraceStv);
                area.maxX = sheetMaxX;
                area.maxY = sheetMaxY;
            } else {
                ks += ks < kFirstShrink ? kShrinkStepLarge : kShrinkStepSmall;
                (tall ? area.maxX : area.maxY) = (tall ? refX : refY) * ks;
            }
            break;
        case Phase::Stv:
            if (better) {
                KeepPass(engine, m, k);
            } else {
                engine.StvPassCount = 2;
                finish = true;
            }
            break;
        }
        if (finish) {
            break;
        }
    }

    ClearStockParts(engine, k);
    RestoreBestLayout(engine, result);
    const int clamps = engine.ClampUse == 1 ? engine.ClampQuantity : 0;
    stock->Placed = result.count > clamps ? 1 : 0;
    if (stock->TrialPose) {
        stock->TrialPose->Valid = stock->Placed;
    }
    stock->PlacedCount = result.count;
    stock->PlacedArea = result.placedArea;
    stock->KIsp = result.KIsp;
    stock->XE = result.XE;
    stock->YE = result.YE;
    engine.Pressing = savedPressing;
    engine.NestingOptimizationOption = savedOption;
    return 0;
}
