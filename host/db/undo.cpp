// Undo steps: each records the objects it changed as they were before, and undo puts them back newest first.
//
// A step starts with beginUndoStep() and ends with endUndoStep(); nested pairs (a command that runs another
// command) make one step. Within a step the first write-open, creation or erase of an object records a clone of
// it (or "did not exist"), so a step holds each object once however often it changes. Undo swaps the clones back
// into their slots; an object the step created loses its slot's object, so its id stays safe to use (it answers
// erased) and its handle is never given again. A block is recorded without its list of entities (see UndoRecord).
#include <algorithm>
#include <utility>

#include "host/db/database.h"
#include "host/db/database_impl.h"

namespace host::db {

Database::Impl::UndoRecord Database::Impl::recordOf(std::uint32_t index) {
    DbObject* object = slots[index].object.get();
    if (!object) return {index, nullptr, std::nullopt};
    auto* block = dynamic_cast<BlockTableRecord*>(object);
    if (!block) return {index, object->clone(), std::nullopt};
    // The block is copied with its list lent out, and given the list back even when the copy fails.
    struct Lent {
        BlockTableRecord& block;
        std::vector<ObjectId> entities;
        ~Lent() { block.entities_ = std::move(entities); }
    } lent{*block, std::exchange(block->entities_, {})};
    return {index, block->clone(), lent.entities.size()};
}

void Database::Impl::restore(UndoRecord& record) {
    Slot& slot = slots[record.index];
    if (record.blockEntities) {
        // The list as it stands begins with the list the block had: only appending changes it.
        auto* before = static_cast<BlockTableRecord*>(record.before.get());
        if (auto* now = dynamic_cast<BlockTableRecord*>(slot.object.get())) {
            before->entities_ = std::move(now->entities_);
            if (before->entities_.size() > *record.blockEntities) before->entities_.resize(*record.blockEntities);
        }
    }
    slot.object = std::move(record.before);  // null for an object the step created
}

void Database::beginUndoStep() {
    if (impl_->stepDepth++ > 0) return;
    impl_->openStep = {};
    impl_->restartOpenStep({clayer_, celtype_, textStyle_, header_});
}

void Database::endUndoStep() {
    if (impl_->stepDepth == 0 || --impl_->stepDepth > 0) return;
    Impl::UndoStep& step = impl_->openStep;
    const Impl::CurrentValues now{clayer_, celtype_, textStyle_, header_};
    if (step.hasChanges(now)) {
        impl_->doneSteps.push_back(std::move(step));
        impl_->dropRedo();  // a new change: what was undone can no longer be done again on top of it
    }
    impl_->openStep = {};
}

bool Database::inUndoStep() const {
    return impl_->stepDepth > 0;
}

int Database::undoableSteps() const {
    const Impl::CurrentValues now{clayer_, celtype_, textStyle_, header_};
    const bool open = impl_->stepDepth > 0 && impl_->openStep.hasChanges(now);
    return static_cast<int>(impl_->doneSteps.size()) + (open ? 1 : 0);
}

Status Database::undo(int count, int* undone) {
    if (undone) *undone = 0;
    if (count <= 0) return Status::InvalidInput;

    // The steps to take back, newest first: the open step (when it changed anything), then finished ones.
    const Impl::CurrentValues now{clayer_, celtype_, textStyle_, header_};
    std::vector<Impl::UndoStep*> steps;
    if (impl_->stepDepth > 0 && impl_->openStep.hasChanges(now)) steps.push_back(&impl_->openStep);
    for (auto it = impl_->doneSteps.rbegin(); it != impl_->doneSteps.rend() && steps.size() < std::size_t(count);
         ++it)
        steps.push_back(&*it);
    if (steps.size() > std::size_t(count)) steps.resize(std::size_t(count));
    if (steps.empty()) return Status::UndoNotAvailable;

    // An open object would be left pointing at a replaced or destroyed one: refuse before changing anything.
    for (const Impl::UndoStep* step : steps) {
        for (const Impl::UndoRecord& r : step->records) {
            if (impl_->slots[r.index].isOpen()) return Status::UndoNotAvailable;
        }
    }

    // Undo from inside a running step cannot be redone: the step goes on from what the undo left.
    const bool redoable = impl_->stepDepth == 0;
    if (!redoable) impl_->dropRedo();
    for (Impl::UndoStep* step : steps) {
        if (redoable) {
            // What the step left, kept for redo before the records are used up.
            Impl::RedoStep again{{}, {clayer_, celtype_, textStyle_, header_}};
            for (const Impl::UndoRecord& r : step->records) {
                const DbObject* object = impl_->slots[r.index].object.get();
                again.records.push_back({r.index, object ? object->clone() : nullptr});
            }
            impl_->redoSteps.push_back(std::move(again));
        }
        for (auto r = step->records.rbegin(); r != step->records.rend(); ++r) impl_->restore(*r);
        clayer_ = step->values.clayer;
        celtype_ = step->values.celtype;
        textStyle_ = step->values.textStyle;
        header_ = step->values.header;
    }

    const int n = static_cast<int>(steps.size());
    std::size_t finished = steps.size();
    if (steps.front() == &impl_->openStep) --finished;
    impl_->doneSteps.resize(impl_->doneSteps.size() - finished);
    if (impl_->stepDepth > 0) {
        // The command goes on: its step stays open, empty, and records anew from the state the undo left.
        impl_->restartOpenStep({clayer_, celtype_, textStyle_, header_});
    }

    if (redoable) {
        impl_->redoGroups.push_back(n);
        impl_->slotsAtUndo = impl_->slots.size();
    }

    // The current values are those of the oldest undone step's start, when every record they name existed.
    impl_->walkBlock = {};
    markModified();
    if (undone) *undone = n;
    return Status::Ok;
}

Status Database::redo(int count, int* redone) {
    if (redone) *redone = 0;
    if (count <= 0) return Status::InvalidInput;
    // objects added since the undo (outside any step) would be lost from the lists that redo puts back
    if (impl_->slots.size() != impl_->slotsAtUndo) impl_->dropRedo();
    if (impl_->stepDepth > 0 || impl_->redoSteps.empty()) return Status::UndoNotAvailable;
    const std::size_t n = std::min(std::size_t(count), impl_->redoSteps.size());
    for (std::size_t k = 0; k < n; ++k) {
        for (const Impl::RedoRecord& r : impl_->redoSteps[impl_->redoSteps.size() - 1 - k].records) {
            if (impl_->slots[r.index].isOpen()) return Status::UndoNotAvailable;
        }
    }

    for (std::size_t k = 0; k < n; ++k) {
        Impl::RedoStep again = std::move(impl_->redoSteps.back());
        impl_->redoSteps.pop_back();
        // The step is done again as an undoable step whose records are the objects as they stand now.
        Impl::UndoStep step;
        step.values = {clayer_, celtype_, textStyle_, header_};
        for (const Impl::RedoRecord& r : again.records) step.records.push_back(impl_->recordOf(r.index));
        for (Impl::RedoRecord& r : again.records) impl_->slots[r.index].object = std::move(r.after);
        clayer_ = again.values.clayer;
        celtype_ = again.values.celtype;
        textStyle_ = again.values.textStyle;
        header_ = again.values.header;
        impl_->doneSteps.push_back(std::move(step));
    }
    // The groups of undos redone: the last ones, wholly or in part.
    for (std::size_t left = n; left > 0 && !impl_->redoGroups.empty();) {
        int& group = impl_->redoGroups.back();
        const std::size_t taken = std::min(left, std::size_t(group));
        group -= static_cast<int>(taken);
        left -= taken;
        if (group == 0) impl_->redoGroups.pop_back();
    }
    impl_->restartOpenStep({clayer_, celtype_, textStyle_, header_});

    impl_->walkBlock = {};
    markModified();
    if (redone) *redone = static_cast<int>(n);
    return Status::Ok;
}

int Database::redoableSteps() const {
    return impl_->slots.size() == impl_->slotsAtUndo ? static_cast<int>(impl_->redoSteps.size()) : 0;
}

int Database::lastUndoneGroup() const {
    return redoableSteps() > 0 && !impl_->redoGroups.empty() ? impl_->redoGroups.back() : 0;
}

void Database::clearUndo() {
    impl_->doneSteps.clear();
    impl_->dropRedo();
    impl_->restartOpenStep({clayer_, celtype_, textStyle_, header_});
}

}  // namespace host::db
