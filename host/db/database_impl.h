// The inside of a Database: object slots, the handle index, undo steps and cached values (inside host/db only).
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <unordered_set>
#include <vector>

#include "host/db/database.h"
#include "host/db/handle_index.h"

namespace host::db {

inline constexpr std::size_t kTableKindCount = 9;  // TableKind::Block ... TableKind::DimStyle

struct Database::Impl {
    // One object of the drawing. A slot is never reused: its index is the object id and part of the entity name.
    struct Slot {
        std::unique_ptr<DbObject> object;  // null once undo took back the object's creation ("dead")
        Handle handle;
        int readers = 0;
        bool writer = false;
        bool isOpen() const { return readers > 0 || writer; }
    };

    // The state of one object before the first change in a step; `before` is null for an object the step added.
    // A block is kept without its list of entities, which only ever grows: `blockEntities` is how many entities
    // it had, and undo cuts the list as it then stands back to that many. So a step that adds a few entities to
    // a drawing of many records a few objects, not a copy of the whole drawing's list.
    struct UndoRecord {
        std::uint32_t index;
        std::unique_ptr<DbObject> before;
        std::optional<std::size_t> blockEntities;
    };
    // The current values at the start of a step, which undo puts back with the objects.
    struct CurrentValues {
        ObjectId clayer, celtype, textStyle;
        Header header;
        bool operator==(const CurrentValues&) const = default;
    };
    struct UndoStep {
        std::vector<UndoRecord> records;
        // Each object is recorded once per step. An object the step created (slot index `firstNew` or above) is
        // covered by its creation record, so a drawing of many new entities keeps no set of them.
        std::unordered_set<std::uint32_t> recorded;
        std::uint32_t firstNew = 0;
        CurrentValues values;
        bool hasChanges(const CurrentValues& now) const { return !records.empty() || !(values == now); }
    };

    std::vector<Slot> slots;
    HandleIndex byHandle;  // every handle given out, dead slots included
    std::array<ObjectId, kTableKindCount> tables;

    std::vector<UndoStep> doneSteps;  // finished steps, oldest first
    UndoStep openStep;
    // An undone step as undo found it: each object the step had recorded as it then stood (null for one that did
    // not exist), a block with its whole list of entities, and the current values then.
    struct RedoRecord {
        std::uint32_t index;
        std::unique_ptr<DbObject> after;
    };
    struct RedoStep {
        std::vector<RedoRecord> records;
        CurrentValues values;
    };
    std::vector<RedoStep> redoSteps;  // undone steps that can be done again, the next to redo last
    std::vector<int> redoGroups;      // how many steps each undo that can still be redone took back, oldest first
    std::size_t slotsAtUndo = 0;      // objects of the drawing when the last undo ended
    void dropRedo() {
        redoSteps.clear();
        redoGroups.clear();
    }
    int stepDepth = 0;                // nested begin/end pairs form one step

    // Cached answers, dropped by markModified().
    mutable std::optional<std::pair<ge::Point3d, ge::Point3d>> extents;
    // Where the last entity walk stood, so that walking the next entity does not search the block's list again.
    mutable ObjectId walkBlock;
    mutable std::size_t walkPos = 0;
    // The two layout blocks, found by name once and checked on each use.
    mutable ObjectId modelSpace, paperSpace;

    // The first live entity of `block` at or after `pos`, remembered as the walk's position; null when none.
    ObjectId firstLiveFrom(const Database& db, ObjectId block, std::size_t pos) const;

    // The slot of an id of this database, or nullptr (null id, other database, unknown index).
    Slot* slotOf(const Database* self, ObjectId id) {
        if (id.database() != self || id.index() >= slots.size()) return nullptr;
        return &slots[id.index()];
    }
    const Slot* slotOf(const Database* self, ObjectId id) const {
        if (id.database() != self || id.index() >= slots.size()) return nullptr;
        return &slots[id.index()];
    }

    // Records the object's state before its first change in the open step (nothing outside a step).
    void recordBeforeChange(std::uint32_t index) {
        if (stepDepth == 0 || index >= openStep.firstNew || !openStep.recorded.insert(index).second) return;
        openStep.records.push_back(recordOf(index));
    }
    // `index` is a slot just added, so no record of the step names it yet.
    void recordCreation(std::uint32_t index) {
        if (stepDepth == 0) return;
        openStep.records.push_back({index, nullptr, std::nullopt});
    }
    // Empties the open step: it records anew from the objects as they now stand.
    void restartOpenStep(const CurrentValues& now) {
        openStep.records.clear();
        openStep.recorded.clear();
        openStep.firstNew = static_cast<std::uint32_t>(slots.size());
        openStep.values = now;
    }
    // The record of the object in a slot as it stands (undo.cpp).
    UndoRecord recordOf(std::uint32_t index);
    // Puts a record's state back into its slot; the record is used up (undo.cpp).
    void restore(UndoRecord& record);
};

}  // namespace host::db
