// Keeping the loaded job aside while another loads, and putting it back when that load fails.
#include "nesting/commands/job_rollback.h"

#include <utility>

#include "host/db/database.h"
#include "nesting/job/job_instances.h"

JobRollback::JobRollback(CNestingState& state)
    : state_(state),
      stockTypeCount_(state.StockTypeCount),
      partTypeCount_(state.PartTypeCount),
      stockInstanceCount_(state.StockInstanceCount),
      partInstanceCount_(state.PartInstanceCount),
      stockTypes_(std::move(state.StockTypes)),
      partTypes_(std::move(state.PartTypes)),
      stockInstances_(std::move(state.StockInstances)),
      partInstances_(std::move(state.PartInstances)),
      orderIndex_(std::move(state.OrderIndex)),
      partOrder_(std::move(state.PartOrder)),
      currentStockInstance_(state.CurrentStockInstance),
      currentStock_(state.CurrentStock),
      orderCount_(state.OrderCount),
      shownSheet_(state.ShownSheet),
      usedStockCount_(state.UsedStockCount),
      placedTotal_(state.PlacedTotal),
      clampQuantity_(state.ClampQuantity),
      rectMode_(state.RectMode),
      materialName_(state.MaterialName),
      materialNumber_(state.MaterialNumber),
      materialDensity_(state.MaterialDensity),
      materialThickness_(state.MaterialThickness),
      halfPartGap_(state.HalfPartGap),
      edgeGap_(state.EdgeGap),
      lastFileNesting_(state.LastFileNesting),
      currentJobPath_(state.CurrentJobPath) {
    // the moved-from arrays are empty; nothing of the state names the kept instances any more
    state.StockTypes.clear();
    state.PartTypes.clear();
    state.StockInstances.clear();
    state.PartInstances.clear();
    state.OrderIndex.clear();
    state.PartOrder.clear();
    state.StockTypeCount = state.PartTypeCount = 0;
    state.StockInstanceCount = state.PartInstanceCount = 0;
    state.CurrentStockInstance = nullptr;
    state.OrderCount = 0;
}

JobRollback::~JobRollback() {
    if (committed_) return;
    if (drawingChanged_) {
        host::db::Database* db = host::db::workingDatabase();
        if (db == nullptr || db->undo(1) != host::db::Status::Ok) {
            // the blocks of the kept job are gone with the drawing's content: a job without them cannot be
            // drawn, so none is kept
            return;
        }
    }
    ReleaseJobInstances(state_);
    state_.StockTypeCount = stockTypeCount_;
    state_.PartTypeCount = partTypeCount_;
    state_.StockInstanceCount = stockInstanceCount_;
    state_.PartInstanceCount = partInstanceCount_;
    state_.StockTypes = std::move(stockTypes_);
    state_.PartTypes = std::move(partTypes_);
    state_.StockInstances = std::move(stockInstances_);
    state_.PartInstances = std::move(partInstances_);
    state_.OrderIndex = std::move(orderIndex_);
    state_.PartOrder = std::move(partOrder_);
    state_.CurrentStockInstance = currentStockInstance_;
    state_.CurrentStock = currentStock_;
    state_.OrderCount = orderCount_;
    state_.ShownSheet = shownSheet_;
    state_.UsedStockCount = usedStockCount_;
    state_.PlacedTotal = placedTotal_;
    state_.ClampQuantity = clampQuantity_;
    state_.RectMode = rectMode_;
    state_.MaterialName = materialName_;
    state_.MaterialNumber = materialNumber_;
    state_.MaterialDensity = materialDensity_;
    state_.MaterialThickness = materialThickness_;
    state_.HalfPartGap = halfPartGap_;
    state_.EdgeGap = edgeGap_;
    state_.LastFileNesting = lastFileNesting_;
    state_.CurrentJobPath = currentJobPath_;
}
