// A small placement job for the engine's tests: one sheet and one part type, the engine's work state set as a
// pass sets it, and the part's group loaded, so that single placement operations can be called directly.
#pragma once

#include <cmath>
#include <numbers>
#include <optional>

#include "cadlib/angles.h"
#include "host/sys/random.h"
#include "nesting/engine/tests/engine_fixture.h"
#include "nesting/geometry/contour_transforms.h"
#include "nesting/model/nesting_engine.h"
#include "nesting/testing/job_builder.h"

namespace nesting_engine_testing {

inline constexpr double kDeg = std::numbers::pi / 180.0;
// Positions and angles the engine computes exactly, up to rounding.
inline constexpr double kExact = 1e-9;

inline double Normalized(double angle) {
    NormalizeAngle(angle);
    return angle;
}

// The angular distance of two angles, 0 to pi.
inline double AngleGap(double a, double b) {
    const double d = Normalized(a - b);
    return std::min(d, 2.0 * std::numbers::pi - d);
}

class PlacementJob : public EngineRegistryTest {
protected:
    // A sheet (width x height, grain in degrees) with `quantity` copies of `part` under the rotation mode; the
    // engine's pass state as at the start of a pass on an empty sheet, group 0 loaded with the first copy.
    void MakeJob(PartType part, int quantity, std::uint8_t mode, double sheetWidth = 1000, double sheetHeight = 500,
                 double sheetGrain = 0.0) {
        host::sys::seedRandom(1);
        PartType sheet = MakeRectangleType(kKindStock, sheetWidth, sheetHeight);
        sheet.Grain = sheetGrain;
        AddStockType(engine, sheet, 1);
        AddPartType(engine, std::move(part), quantity, 0, mode);
        ASSERT_TRUE(AddInstances(engine));
        OrderAsAdded();
        StartPass();
        engine.LoadGroupTemplate(0, 1);
        engine.CurrentGroup = 0;
    }

    // Every part instance in the order it was added.
    void OrderAsAdded() {
        engine.OrderIndex.clear();
        engine.PartOrder.clear();
        for (int i = 0; i < engine.PartInstanceCount; ++i) {
            engine.OrderIndex.push_back(i);
            engine.PartOrder.push_back(i);
        }
        engine.OrderCount = engine.PartInstanceCount;
    }

    void StartPass() {
        engine.CurrentStock = 0;
        engine.CurrentStockInstance = &engine.StockInstances[0];
        const BoundingBox sheet = engine.StockInstances[0].Type->OuterBox;
        engine.UsableArea = sheet;
        engine.UsableSize = {sheet.Width(), sheet.Height()};
        engine.PassSize = engine.UsableSize;
        engine.PlacedExtent = {sheet.minX, sheet.minY, sheet.minX, sheet.minY};
        engine.ReferencePoint = {sheet.minX, sheet.minY};
        engine.StartWindow = {sheet.minX, sheet.minY, sheet.minX, sheet.minY};
        engine.PassPlacedCount = 0;
        engine.PlacedPartCount = 0;
        engine.UseLandscape = 1;
        engine.LandscapeWanted = 1;
        engine.PairWanted = 0;
        engine.UseCluster = 0;
    }

    // Puts part instance i on the sheet at (x, y, angle) as a committed part.
    void PlaceAt(int i, double x, double y, double angle = 0.0) {
        PartInstance& part = engine.PartInstances[static_cast<std::size_t>(i)];
        ApplyPartPose(part, 0, {x, y}, angle);
        engine.CommitPartPose(i);
        engine.AppendPlacedPart(i);
        engine.PlacedExtent.Include(part.TrialPose->Box);
        ++engine.PassPlacedCount;
    }

    PartGroup& Group(int g = 0) { return engine.Groups[static_cast<std::size_t>(g)]; }
    PartInstance& Part(int i) { return engine.PartInstances[static_cast<std::size_t>(i)]; }

    // A fresh engine in the same place, for tables of cases that each need their own job.
    void NewEngine() { holder_.emplace(); }

private:
    std::optional<CNestingEngine> holder_{std::in_place};

protected:
    CNestingEngine& engine = *holder_;
};

}  // namespace nesting_engine_testing
