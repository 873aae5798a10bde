// The nesting module's state object: its construction, the entity arrays of a load and the release of the
// instances' poses before a new job.
#include "nesting/frame/nesting_state.h"

#include <cstddef>

void EntityNameList::Reset(std::size_t capacity) {
    names_.clear();
    names_.shrink_to_fit();
    names_.reserve(capacity);
}

void EntityNameList::Free() {
    names_.clear();
    names_.shrink_to_fit();
}

void EntityNameList::Append(const host::db::EntityName& name) {
    if (names_.size() == names_.capacity()) {
        names_.reserve(names_.capacity() + kEntityGrowth);
    }
    names_.push_back(name);
}

CNestingState::CNestingState() = default;

CNestingState::~CNestingState() = default;

namespace {

// Drops the trial and committed poses of every instance of a job array with their posed contours.
void FreePoses(std::vector<PartInstance>& instances, std::int32_t count) {
    if (instances.empty() || count < 1) {
        return;
    }
    for (PartInstance& instance : instances) {
        instance.TrialPose.reset();
        instance.CommittedPose.reset();
    }
}

}  // namespace

int CNestingState::FreeStockInstances() {
    FreePoses(StockInstances, StockInstanceCount);
    return 0;
}

int CNestingState::FreePartInstances() {
    FreePoses(PartInstances, PartInstanceCount);
    return 0;
}

int CNestingState::AppendCopiedEntity(const host::db::EntityName& name) {
    CopiedEntities.Append(name);
    return 0;
}

int CNestingState::AppendSpecialEntity(const host::db::EntityName& name) {
    SpecialEntities.Append(name);
    return 0;
}
