// Erasing and transforming the entities a command was given.
#pragma once

#include <vector>

#include "host/db/database.h"
#include "host/ge/matrix.h"

namespace host::ed {

struct EditCount {
    int done = 0;     // entities changed
    int refused = 0;  // entities that could not be (on a locked layer, or unable to take the transform)
};

// Erases each live entity (erased ones and ids that name no entity are passed over).
EditCount eraseEntities(const std::vector<db::ObjectId>& entities);

// Transforms each live entity; one that cannot take the transform (a non-uniform scale of an arc, an entity the
// host keeps as read) or cannot be opened for write stays as it was and is counted as refused.
EditCount transformEntities(const std::vector<db::ObjectId>& entities, const ge::Matrix3d& transform);

}  // namespace host::ed
