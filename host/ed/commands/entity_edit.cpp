// Erasing and transforming the entities a command was given.
#include "host/ed/commands/entity_edit.h"

namespace host::ed {

namespace {

template <class Change>
EditCount changeEach(const std::vector<db::ObjectId>& entities, Change&& change) {
    EditCount count;
    for (db::ObjectId id : entities) {
        if (id.isNull() || id.isErased()) continue;
        db::ObjectPtr<db::Entity> e(id, db::OpenMode::Write);
        if (!e) {
            if (e.status() != db::Status::WrongObjectType) ++count.refused;
            continue;
        }
        if (change(*e) == db::Status::Ok) ++count.done;
        else ++count.refused;
    }
    return count;
}

}  // namespace

EditCount eraseEntities(const std::vector<db::ObjectId>& entities) {
    return changeEach(entities, [](db::Entity& e) { return e.erase(); });
}

EditCount transformEntities(const std::vector<db::ObjectId>& entities, const ge::Matrix3d& transform) {
    return changeEach(entities, [&](db::Entity& e) { return e.transformBy(transform); });
}

}  // namespace host::ed
