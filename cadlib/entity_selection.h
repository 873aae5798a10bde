// Picking one entity and opening it, and a crossing-window selection with a filter.
#pragma once

#include "host/db/database.h"
#include "host/db/entity.h"
#include "host/db/resbuf.h"
#include "host/ge/point.h"

// Asks "Select an object:" (or its Russian form), lets the user pick one entity, stores its id in `id` and
// answers it opened in `mode` (closed when the answer goes out of scope). Nothing picked (Enter, Esc, a miss):
// a null id and an answer that is not open.
host::db::ObjectPtr<host::db::Entity> SelectAndOpenEntity(host::db::ObjectId& id, host::db::OpenMode mode);

// A crossing-window selection between two corners with `filter`; answers the host's selection status (RTNORM
// when something was selected). The selection set is not kept.
int SelectCrossing(const host::ge::Point3d& corner1, const host::ge::Point3d& corner2,
                   const host::db::ResBufList& filter);
