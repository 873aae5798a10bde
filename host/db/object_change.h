// Changing an object that another caller may already hold open for write (inside host/db only).
#pragma once

#include "host/db/database.h"

namespace host::db::detail {

// Runs `change(T&)` on the object with write access. When the object is already open for write (the caller of
// a container operation usually holds it), the change joins that open, which has already recorded it for undo;
// otherwise the object is opened for write for the call and closed after. Answers the open's failure (erased,
// open for read elsewhere, on a locked layer, another type) or the change's status.
template <class T, class Change>
Status changeObject(ObjectId id, Change&& change) {
    if (id.isNull()) return Status::NullObjectId;
    Database* db = id.database();
    if (db->isOpenForWrite(id)) {
        auto* object = dynamic_cast<T*>(const_cast<DbObject*>(db->peek(id)));
        return object ? change(*object) : Status::WrongObjectType;
    }
    ObjectPtr<T> object(id, OpenMode::Write, /*openErased=*/true);
    if (!object) return object.status();
    return change(*object);
}

}  // namespace host::db::detail
