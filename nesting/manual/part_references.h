// The block references of a drawn sheet as the manual part commands see them: picking one, reading it, and
// finding the part instance it stands for.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "host/db/ids.h"
#include "host/ge/point.h"
#include "nesting/frame/nesting_state.h"
#include "nesting/job/job_file_layout.h"

// One block reference: its entity, block name, insertion point and rotation (radians).
struct PartReference {
    host::db::EntityName entity;
    std::string blockName;
    host::ge::Point3d position;
    double rotation = 0.0;
};

// The data of `entity` when it is an "INSERT" with a block name; nullopt for any other entity.
std::optional<PartReference> ReadPartReference(const host::db::EntityName& entity);

// Asks with `prompt` until a block reference is picked: a pick on empty space (ERRNO 7) and a pick of another
// entity ask again, as does a clamp when `refuseClamp`; Enter, Esc or any other end answers nullopt.
std::optional<PartReference> PickPartReference(std::string_view prompt, bool refuseClamp);

// Whether two rotations are the same at five decimals (each times 100000, plus 0.5, truncated to 32 bits).
bool SameRotation(double a, double b);

// The instance a reference stands for: the first part instance on stock instance `stock` whose committed pose is
// valid, whose type's block name is the reference's (case included), whose committed position is the insertion
// point at precision 10000 and whose committed angle is the rotation at five decimals. -1 when none.
int FindInstanceOfReference(const CNestingState& state, int stock, const PartReference& reference);

// The first part instance on stock instance `stock` whose committed pose is valid and whose type's block name is
// `blockName` (position and rotation not compared). -1 when none.
int FindInstanceOfType(const CNestingState& state, int stock, std::string_view blockName);
