// Placing one part by hand: the placement state rebuilt for the chosen sheet, then the part placed from the
// user's place with the rules of a run.
#include "nesting/engine/manual_placement.h"

#include <algorithm>
#include <cstddef>

#include "nesting/engine/part_placement.h"

int PlacePartManually(CNestingEngine& engine, int k, int& instance, double& x, double& y, double& angle) {
    const int stockCount = std::min<int>(engine.StockInstanceCount, static_cast<int>(engine.StockInstances.size()));
    const int partCount = std::min<int>(engine.PartInstanceCount, static_cast<int>(engine.PartInstances.size()));
    if (k < 0 || k >= stockCount || instance < 0 || instance >= partCount) {
        return -1;
    }
    PartInstance& stock = engine.StockInstances[static_cast<std::size_t>(k)];
    if (stock.Type == nullptr) {
        return -1;
    }
    const auto position = std::find(engine.PartOrder.begin(), engine.PartOrder.end(), instance);
    if (position == engine.PartOrder.end()) {
        return -1;
    }
    const int j = static_cast<int>(position - engine.PartOrder.begin());

    engine.PlacedPartCount = 0;
    for (int i = 0; i < partCount; ++i) {
        const PartInstance& part = engine.PartInstances[static_cast<std::size_t>(i)];
        if (part.Placed && part.Stock == k && !engine.AppendPlacedPart(i)) {
            return -1;
        }
    }
    engine.CurrentStock = k;
    engine.CurrentStockInstance = &stock;
    engine.LastPlacedInstance = -1;
    engine.PassPlacedCount = engine.PlacedPartCount;

    const BoundingBox& sheet = stock.Type->OuterBox;
    engine.UsableArea = sheet;
    engine.UsableSize = {sheet.Width(), sheet.Height()};
    engine.PlacedExtent = {sheet.minX, sheet.minY, sheet.minX, sheet.minY};

    // The part's area is judged against this sheet, not against the last pass of the run, which may have filled
    // a smaller sheet: the run's pass size comes back afterwards.
    const host::ge::Vector2d runPassSize = engine.PassSize;
    engine.PassSize = engine.UsableSize;
    engine.ManualPlacement = 1;
    const int result = PlacePart(engine, j, x, y, angle);
    engine.ManualPlacement = 0;
    engine.PassSize = runPassSize;
    return result;
}
