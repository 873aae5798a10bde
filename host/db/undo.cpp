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

void Database::Impl::swapRecord(UndoRecord& record, bool forward) {
    Slot& slot = slots[record.index];
    if (record.blockEntities) {
        auto* kept = static_cast<BlockTableRecord*>(record.before.get());
        if (auto* now = dynamic_cast<BlockTableRecord*>(slot.object.get()); kept && now) {
            const std::size_t atStart = *record.blockEntities;
            if (!forward) {
                // Undo: the list as it stands begins with the list the block had; only appending changes it.
                kept->entities_.assign(now->entities_.begin(),
                                       now->entities_.begin() + std::min(atStart, now->entities_.size()));
            } else {
                // Redo: the list the step left, and what was appended since the undo (outside any step).
                for (std::size_t i = atStart; i < now->entities_.size(); ++i) kept->entities_.push_back(now->entities_[i]);
            }
        }
    }
    std::swap(slot.object, record.before);  // undo: null for an object the step created
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
        impl_->undoneSteps.clear();
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

    for (Impl::UndoStep* step : steps) {
        step->endValues = {clayer_, celtype_, textStyle_, header_};
        for (auto r = step->records.rbegin(); r != step->records.rend(); ++r) impl_->swapRecord(*r, false);
        clayer_ = step->values.clayer;
        celtype_ = step->values.celtype;
        textStyle_ = step->values.textStyle;
        header_ = step->values.header;
    }

    const int n = static_cast<int>(steps.size());
    std::size_t finished = steps.size();
    if (steps.front() == &impl_->openStep) {
        --finished;
        // What the running command had done is not redone: the command goes on from here.
        impl_->undoneSteps.clear();
    }
    // Newest first: the oldest undone step ends on top, the first to redo.
    for (std::size_t i = 0; i < finished; ++i) {
        impl_->undoneSteps.push_back(std::move(impl_->doneSteps[impl_->doneSteps.size() - 1 - i]));
    }
    impl_->doneSteps.resize(impl_->doneSteps.size() - finished);
    if (impl_->stepDepth > 0) {
        // The command goes on: its step stays open, empty, and records anew from the state the undo left.
        impl_->restartOpenStep({clayer_, celtype_, textStyle_, header_});
    }

    // The current values are those of the oldest undone step's start, when every record they name existed.
    impl_->walkBlock = {};
    markModified();
    if (undone) *undone = n;
    return Status::Ok;
}

int Database::redoableSteps() const {
    return static_cast<int>(impl_->undoneSteps.size());
}

Status Database::redo(int count, int* redone) {
    if (redone) *redone = 0;
    if (count <= 0) return Status::InvalidInput;
    std::vector<Impl::UndoStep>& undone = impl_->undoneSteps;
    const std::size_t n = std::min(std::size_t(count), undone.size());
    if (n == 0) return Status::UndoNotAvailable;
    for (std::size_t i = 0; i < n; ++i) {
        for (const Impl::UndoRecord& r : undone[undone.size() - 1 - i].records) {
            if (impl_->slots[r.index].isOpen()) return Status::UndoNotAvailable;
        }
    }
    for (std::size_t i = 0; i < n; ++i) {
        Impl::UndoStep step = std::move(undone.back());
        undone.pop_back();
        for (Impl::UndoRecord& r : step.records) impl_->swapRecord(r, true);
        clayer_ = step.endValues.clayer;
        celtype_ = step.endValues.celtype;
        textStyle_ = step.endValues.textStyle;
        header_ = step.endValues.header;
        impl_->doneSteps.push_back(std::move(step));
    }
    if (impl_->stepDepth > 0) impl_->restartOpenStep({clayer_, celtype_, textStyle_, header_});
    impl_->walkBlock = {};
    markModified();
    if (redone) *redone = static_cast<int>(n);
    return Status::Ok;
}

void Database::clearUndo() {
    impl_->undoneSteps.clear();
    impl_->doneSteps.clear();
    impl_->restartOpenStep({clayer_, celtype_, textStyle_, header_});
}

}  // namespace host::db
