// The host's clipboard for entities: copies kept in a drawing of their own, pasted back as new entities.
#include "host/ed/commands/clipboard.h"

#include <algorithm>

#include "host/ed/commands/entity_copy.h"

namespace host::ed {

namespace {

std::vector<db::ObjectId> storedEntities(const db::Database& store) {
    const auto* ms = dynamic_cast<const db::BlockTableRecord*>(store.peek(store.modelSpaceId()));
    return ms ? ms->entityIds() : std::vector<db::ObjectId>();
}

}  // namespace

Clipboard::Clipboard() = default;
Clipboard::~Clipboard() = default;

void Clipboard::clear() {
    store_.reset();
    base_ = {};
}

bool Clipboard::empty() const { return size() == 0; }

std::size_t Clipboard::size() const { return store_ ? storedEntities(*store_).size() : 0; }

std::vector<db::ObjectId> Clipboard::copyFrom(const std::vector<db::ObjectId>& entities) {
    clear();
    auto store = std::make_unique<db::Database>();
    EntityCopier copier(*store);
    std::optional<db::Extents> box;
    std::vector<db::ObjectId> copied;
    for (db::ObjectId id : entities) {
        if (id.isNull() || id.isErased()) continue;
        const auto* e = dynamic_cast<const db::Entity*>(id.database()->peek(id));
        if (!e || dynamic_cast<const db::OpaqueEntity*>(e)) continue;
        if (std::find(copied.begin(), copied.end(), id) != copied.end()) continue;
        if (copier.copy(*e, store->modelSpaceId(), ge::Matrix3d::identity()) != db::Status::Ok) return {};
        if (const std::optional<db::Extents> ext = e->geomExtents()) {
            if (box) box->add(*ext);
            else box = ext;
        }
        copied.push_back(id);
    }
    if (copied.empty()) return {};
    store_ = std::move(store);
    base_ = box ? ge::Point3d(box->min.x, box->min.y, 0.0) : ge::Point3d();
    return copied;
}

db::Status Clipboard::pasteInto(db::Database& target, const ge::Point3d& at, std::vector<db::ObjectId>* created) {
    if (empty()) return db::Status::InvalidInput;
    EntityCopier copier(target);
    const ge::Matrix3d move = ge::Matrix3d::translation(at - base_);
    std::vector<db::ObjectId> made;
    for (db::ObjectId id : storedEntities(*store_)) {
        const auto* e = dynamic_cast<const db::Entity*>(store_->peek(id));
        db::ObjectId copy;
        const db::Status s = copier.copy(*e, target.modelSpaceId(), move, &copy);
        if (s != db::Status::Ok) {
            for (db::ObjectId m : made) {
                db::ObjectPtr<db::Entity> gone(m, db::OpenMode::Write);
                if (gone) gone->erase();
            }
            return s;
        }
        made.push_back(copy);
    }
    if (created) created->insert(created->end(), made.begin(), made.end());
    return db::Status::Ok;
}

Clipboard& clipboard() {
    // Never destroyed: the drawing it holds must not outlive the database registry at exit.
    static Clipboard* theClipboard = new Clipboard;
    return *theClipboard;
}

}  // namespace host::ed
