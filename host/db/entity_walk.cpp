// Walking the drawing's entities: model space in order, then paper space, erased entities skipped.
//
// Erasing is a flag, so the block lists keep their order while a walk deletes the entity it stands on; taking the
// next entity first and then erasing the current one is safe. The walk remembers where it stood, so stepping
// through n entities costs n steps, not n^2.
#include "host/db/database.h"
#include "host/db/database_impl.h"

namespace host::db {

namespace {

const std::vector<ObjectId>* entityList(const Database& db, ObjectId block) {
    const auto* record = dynamic_cast<const BlockTableRecord*>(db.peek(block));
    return record ? &record->entityList() : nullptr;
}

}  // namespace

ObjectId Database::Impl::firstLiveFrom(const Database& db, ObjectId block, std::size_t pos) const {
    const std::vector<ObjectId>* list = entityList(db, block);
    if (!list) return {};
    for (; pos < list->size(); ++pos) {
        const DbObject* o = db.peek((*list)[pos]);
        if (o && !o->isErased()) {
            walkBlock = block;
            walkPos = pos;
            return (*list)[pos];
        }
    }
    return {};
}

ObjectId Database::firstEntity() const {
    const ObjectId id = impl_->firstLiveFrom(*this, modelSpaceId(), 0);
    return id.isNull() ? impl_->firstLiveFrom(*this, paperSpaceId(), 0) : id;
}

ObjectId Database::nextEntity(ObjectId after) const {
    if (after.isNull()) return firstEntity();
    const DbObject* current = after.database() == this ? peek(after) : nullptr;
    if (!current) return {};
    const ObjectId block = current->ownerId();
    const ObjectId model = modelSpaceId();
    if (block != model && block != paperSpaceId()) return {};  // not a drawing entity (a vertex, a block's own)
    const std::vector<ObjectId>* list = entityList(*this, block);
    if (!list) return {};

    std::size_t pos = impl_->walkPos;
    if (impl_->walkBlock != block || pos >= list->size() || (*list)[pos] != after) {
        pos = 0;
        while (pos < list->size() && (*list)[pos] != after) ++pos;
        if (pos == list->size()) return {};
    }
    ObjectId next = impl_->firstLiveFrom(*this, block, pos + 1);
    if (next.isNull() && block == model) next = impl_->firstLiveFrom(*this, paperSpaceId(), 0);
    return next;
}

// The entity created last among the live entities of model and paper space (what a command just drew). Erasing
// the last entity again and again walks back through the drawing.
ObjectId Database::lastEntity() const {
    const ObjectId model = modelSpaceId(), paper = paperSpaceId();
    for (std::size_t i = impl_->slots.size(); i-- > 0;) {
        const DbObject* o = impl_->slots[i].object.get();
        if (!o || o->isErased() || (o->ownerId() != model && o->ownerId() != paper)) continue;
        const auto* block = static_cast<const BlockTableRecord*>(peek(o->ownerId()));
        const ObjectId id(const_cast<Database*>(this), static_cast<std::uint32_t>(i));
        if (id != block->blockBegin() && id != block->blockEnd()) return id;
    }
    return {};
}

}  // namespace host::db
