// Building the instances of a loaded job and releasing them.
#include "nesting/job/job_instances.h"

int BuildInstances(CNestingEngine& engine) {
    ReleaseJobInstances(engine);
    engine.StockInstances = MakeTypeInstances(engine.StockTypes, engine.StockTypeCount);
    engine.PartInstances = MakeTypeInstances(engine.PartTypes, engine.PartTypeCount);
    // A quantity below 0 would once have lowered the count below the records written; the count is what was made.
    engine.StockInstanceCount = static_cast<std::int32_t>(engine.StockInstances.size()) - 1;
    engine.PartInstanceCount = static_cast<std::int32_t>(engine.PartInstances.size()) - 1;
    return 0;
}

void ReleaseJobInstances(CNestingEngine& engine) {
    engine.StockInstances.clear();
    engine.StockInstances.shrink_to_fit();
    engine.PartInstances.clear();
    engine.PartInstances.shrink_to_fit();
    engine.StockInstanceCount = 0;
    engine.PartInstanceCount = 0;
    engine.CurrentStockInstance = nullptr;
    engine.CurrentStock = 0;
    engine.PlacedPartCount = 0;
    engine.LastPlacedInstance = -1;
    engine.OrderCount = 0;
    engine.OrderIndex.clear();
    engine.PartOrder.clear();
    engine.ShownSheet = 0;
    engine.UsedStockCount = 0;
    engine.PlacedTotal = 0;
    engine.Best.Clear();
}
