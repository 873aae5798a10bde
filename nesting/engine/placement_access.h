// Small accessors shared by the placement files: the current group, its part type, the sheet's type and the
// quality row in use, each checked against the engine's tables.
#pragma once

#include <algorithm>
#include <cstddef>

#include "nesting/model/nesting_engine.h"

namespace placement {

// Element i of a table, or nothing when i lies outside it.
template <class T>
T* At(std::vector<T>& table, int i) {
    return (i >= 0 && static_cast<std::size_t>(i) < table.size()) ? &table[static_cast<std::size_t>(i)] : nullptr;
}
template <class T>
const T* At(const std::vector<T>& table, int i) {
    return (i >= 0 && static_cast<std::size_t>(i) < table.size()) ? &table[static_cast<std::size_t>(i)] : nullptr;
}

inline PartGroup* CurrentGroup(CNestingEngine& engine) { return At(engine.Groups, engine.CurrentGroup); }
inline const PartGroup* CurrentGroup(const CNestingEngine& engine) { return At(engine.Groups, engine.CurrentGroup); }

// The type of the group's first member, or nothing.
inline const PartType* GroupType(const CNestingEngine& engine, const PartGroup& group) {
    if (group.MemberCount < 1) {
        return nullptr;
    }
    const PartInstance* first = At(engine.PartInstances, group.Members[0].Instance);
    return first != nullptr ? first->Type : nullptr;
}

// The type of the sheet being filled, or nothing.
inline const PartType* SheetType(const CNestingEngine& engine) {
    return engine.CurrentStockInstance != nullptr ? engine.CurrentStockInstance->Type : nullptr;
}

// The quality row in use.
inline const QualityRow& Quality(const CNestingEngine& engine) {
    return engine.QualityTable[static_cast<std::size_t>(std::clamp(engine.QualityLevel, 0, kQualityLevelCount - 1))];
}

// Whether the box lies inside the area, touching its sides allowed.
inline bool BoxWithin(const BoundingBox& box, const BoundingBox& area) {
    return box.minX >= area.minX && box.minY >= area.minY && box.maxX <= area.maxX && box.maxY <= area.maxY;
}

// Whether the box lies strictly inside the area on all four sides.
inline bool BoxStrictlyWithin(const BoundingBox& box, const BoundingBox& area) {
    return box.minX > area.minX && box.minY > area.minY && box.maxX < area.maxX && box.maxY < area.maxY;
}

}  // namespace placement
