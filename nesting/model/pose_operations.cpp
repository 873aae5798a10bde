// Committing a part's trial pose and saving the poses of a sheet so that a placement can be undone.
#include <algorithm>
#include <cstddef>

#include "nesting/model/nesting_engine.h"

void CommitTrialPose(PartInstance& instance, std::int32_t stock) {
    if (!instance.TrialPose || !instance.CommittedPose) {
        return;
    }
    PartPose& trial = *instance.TrialPose;
    PartPose& committed = *instance.CommittedPose;
    committed.Angle = trial.Angle;
    committed.ContourSet = trial.ContourSet;
    committed.X = trial.X;
    committed.Y = trial.Y;
    committed.Box = trial.Box;
    committed.HoleCount = trial.HoleCount;
    committed.OuterCount = trial.OuterCount;
    trial.Valid = 1;
    committed.Valid = 1;
    instance.Placed = 1;
    instance.Stock = stock;
}

double SheetUseRatio(double placedArea, double sheetArea) {
    return sheetArea > 0.0 ? placedArea / sheetArea : 0.0;
}

void CNestingEngine::CommitPartPose(int i) {
    if (i >= 0 && static_cast<std::size_t>(i) < PartInstances.size()) {
        CommitTrialPose(PartInstances[static_cast<std::size_t>(i)], CurrentStock);
        PlacedIndex.Update(*this, i);
    }
}

void CNestingEngine::SavePoseSnapshot(std::vector<PartInstance>& instances, int count) {
    // Entries are indexed by instance, so neither the instances nor the buffer may be read past.
    const int limit = std::min({count, static_cast<int>(instances.size()), static_cast<int>(PoseSnapshots.size())});
    for (int i = 0; i < limit; ++i) {
        const PartInstance& instance = instances[static_cast<std::size_t>(i)];
        PoseSnapshot& entry = PoseSnapshots[static_cast<std::size_t>(i)];
        const bool onSheet = instance.Stock == CurrentStock && instance.CommittedPose &&
                             instance.CommittedPose->Valid != 0 && instance.TrialPose;
        if (onSheet) {
            const PartPose& trial = *instance.TrialPose;
            entry = PoseSnapshot{i, trial.Valid, CurrentStock, trial.X, trial.Y, trial.Angle};
        } else {
            entry.Valid = 0;
            entry.Stock = -1;
        }
    }
}
