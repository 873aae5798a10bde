// Passing an entity's drawing properties on to the entities that replace it or are cut from it.
#pragma once

#include "host/db/entity.h"

namespace host::ed {

// Gives `to` the layer, colour, line type, line-type scale, lineweight and visibility of `from` (both of one
// drawing; `to` may be new and detached).
void copyDrawingProperties(db::Entity& to, const db::Entity& from);

}  // namespace host::ed
