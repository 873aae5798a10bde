// Undo steps: each records the objects it changed as they were before, and undo puts them back newest first.
//
// A step starts with beginUndoStep() and ends with endUndoStep(); nested pairs (a command that runs another
// command) make one step. Within a step the first write-open, creation or erase of an object records a clone of
// it (or "did not exist"), so a step holds each object once however often it changes. Undo swaps the clones back
// into their slots; an object the step created loses its slot's object, so its id stays safe to use (it answers
// erased) and its handle is never given again. A block is recorded without its list of entities (see UndoRecord).
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
    if (step.hasChanges(now)) impl_->doneSteps.push_back(std::move(step));
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

    // The current values are those of the oldest undone step's start, when every record they name existed.
    impl_->walkBlock = {};
    markModified();
    if (undone) *undone = n;
    return Status::Ok;
}

void Database::clearUndo() {
    impl_->doneSteps.clear();
    impl_->restartOpenStep({clayer_, celtype_, textStyle_, header_});
}

}  // namespace host::db
