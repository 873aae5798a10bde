// The all-or-nothing of a job load: what the load replaces is kept aside, and a load that fails puts it back, so
// that the previous job stays whole, nested sheets and all, and the drawing shows what it showed before.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "nesting/frame/nesting_state.h"

class JobRollback {
public:
    // Takes the job out of `state`: its types, instances and placement order (their storage kept, so the
    // instances' type pointers stay valid), the run's result, the material and the job paths. The state is left
    // without a job for the load to fill.
    explicit JobRollback(CNestingState& state);
    // Unless the load was committed: the load's job is dropped and the kept one put back; when the drawing was
    // changed (DrawingWillChange), the drawing's changes since the command began are taken back as well.
    ~JobRollback();
    JobRollback(const JobRollback&) = delete;
    JobRollback& operator=(const JobRollback&) = delete;

    // Called before the load clears the drawing.
    void DrawingWillChange() { drawingChanged_ = true; }
    // The load succeeded: the kept job is dropped.
    void Commit() { committed_ = true; }

private:
    CNestingState& state_;
    bool committed_ = false;
    bool drawingChanged_ = false;

    std::int32_t stockTypeCount_, partTypeCount_, stockInstanceCount_, partInstanceCount_;
    std::vector<PartType> stockTypes_, partTypes_;
    std::vector<PartInstance> stockInstances_, partInstances_;
    std::vector<std::int32_t> orderIndex_, partOrder_;
    PartInstance* currentStockInstance_;
    std::int32_t currentStock_, orderCount_, shownSheet_, usedStockCount_, placedTotal_, clampQuantity_;
    std::uint8_t rectMode_;
    std::string materialName_, materialNumber_;
    double materialDensity_, materialThickness_, halfPartGap_, edgeGap_;
    std::string lastFileNesting_, currentJobPath_;
};
