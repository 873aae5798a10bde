// Groups: a described, ordered set of entities, named by its entry in the group dictionary.
#include <algorithm>
#include <unordered_set>

#include "host/db/database.h"
#include "host/db/dictionary.h"
#include "host/db/object_change.h"

namespace host::db {

namespace {

// Why an id cannot join the group, or Ok.
Status checkNewMember(const Group& group, ObjectId id) {
    if (id.isNull()) return Status::NullObjectId;
    if (group.database() && id.database() != group.database()) return Status::WrongDatabase;
    const DbObject* o = id.database()->peek(id);
    if (!o) return Status::NullObjectId;
    if (!dynamic_cast<const Entity*>(o)) return Status::WrongObjectType;
    if (o->isErased()) return Status::WasErased;
    if (group.has(id)) return Status::DuplicateKey;
    return Status::Ok;
}

const Dictionary* owningDictionary(const Group& group) {
    Database* db = group.database();
    return db ? dynamic_cast<const Dictionary*>(db->peek(group.ownerId())) : nullptr;
}

}  // namespace

std::string Group::name() const {
    const Dictionary* dict = owningDictionary(*this);
    return dict ? dict->nameOf(objectId()) : std::string();
}

Status Group::setName(std::string name) {
    if (!isWriteEnabled()) return Status::NotOpenForWrite;
    if (!database()) return Status::NotInDatabase;
    if (!owningDictionary(*this)) return Status::NotApplicable;
    const std::string current = this->name();
    if (current.empty()) return Status::KeyNotFound;
    return detail::changeObject<Dictionary>(ownerId(),
                                            [&](Dictionary& d) { return d.rename(current, std::move(name)); });
}

Status Group::setDescription(std::string d) {
    if (!isWriteEnabled()) return Status::NotOpenForWrite;
    description_ = std::move(d);
    return Status::Ok;
}

Status Group::setSelectable(bool on) {
    if (!isWriteEnabled()) return Status::NotOpenForWrite;
    selectable_ = on;
    return Status::Ok;
}

Status Group::append(ObjectId id) {
    return insertAt(unsigned(members_.size()), id);
}

// All or nothing: one bad id (or the same id twice) adds none.
Status Group::append(const std::vector<ObjectId>& ids) {
    if (!isWriteEnabled()) return Status::NotOpenForWrite;
    std::unordered_set<ObjectId> seen;
    for (ObjectId id : ids) {
        const Status s = checkNewMember(*this, id);
        if (s != Status::Ok) return s;
        if (!seen.insert(id).second) return Status::DuplicateKey;
    }
    members_.insert(members_.end(), ids.begin(), ids.end());
    return Status::Ok;
}

Status Group::prepend(ObjectId id) {
    return insertAt(0, id);
}

Status Group::insertAt(unsigned index, ObjectId id) {
    if (!isWriteEnabled()) return Status::NotOpenForWrite;
    if (index > members_.size()) return Status::InvalidIndex;
    const Status s = checkNewMember(*this, id);
    if (s != Status::Ok) return s;
    members_.insert(members_.begin() + index, id);
    return Status::Ok;
}

Status Group::remove(ObjectId id) {
    if (!isWriteEnabled()) return Status::NotOpenForWrite;
    auto it = std::find(members_.begin(), members_.end(), id);
    if (it == members_.end()) return Status::KeyNotFound;
    members_.erase(it);
    return Status::Ok;
}

Status Group::removeAt(unsigned index) {
    if (!isWriteEnabled()) return Status::NotOpenForWrite;
    if (index >= members_.size()) return Status::InvalidIndex;
    members_.erase(members_.begin() + index);
    return Status::Ok;
}

Status Group::transfer(unsigned from, unsigned to, unsigned count) {
    if (!isWriteEnabled()) return Status::NotOpenForWrite;
    const std::uint64_t n = members_.size();
    if (std::uint64_t(from) + count > n || std::uint64_t(to) + count > n) return Status::InvalidIndex;
    std::vector<ObjectId> moved(members_.begin() + from, members_.begin() + from + count);
    members_.erase(members_.begin() + from, members_.begin() + from + count);
    members_.insert(members_.begin() + to, moved.begin(), moved.end());
    return Status::Ok;
}

Status Group::reverse() {
    if (!isWriteEnabled()) return Status::NotOpenForWrite;
    std::reverse(members_.begin(), members_.end());
    return Status::Ok;
}

Status Group::clear() {
    if (!isWriteEnabled()) return Status::NotOpenForWrite;
    members_.clear();
    return Status::Ok;
}

Status Group::indexOf(ObjectId id, unsigned& index) const {
    auto it = std::find(members_.begin(), members_.end(), id);
    if (it == members_.end()) return Status::KeyNotFound;
    index = unsigned(it - members_.begin());
    return Status::Ok;
}

bool Group::has(ObjectId id) const {
    return std::find(members_.begin(), members_.end(), id) != members_.end();
}

std::vector<ObjectId> Group::allEntityIds(bool includeErased) const {
    if (includeErased) return members_;
    std::vector<ObjectId> out;
    out.reserve(members_.size());
    for (ObjectId id : members_) {
        if (!id.isErased()) out.push_back(id);
    }
    return out;
}

unsigned Group::numEntities(bool includeErased) const {
    if (includeErased) return unsigned(members_.size());
    return unsigned(std::count_if(members_.begin(), members_.end(), [](ObjectId id) { return !id.isErased(); }));
}

// Opens every live member for write first, so that a member that cannot change (a locked layer) leaves all as
// they were.
Status Group::setVisibility(bool visible) {
    std::vector<ObjectPtr<Entity>> open;
    for (ObjectId id : allEntityIds()) {
        ObjectPtr<Entity> e(id, OpenMode::Write);
        if (!e) return e.status();
        open.push_back(std::move(e));
    }
    for (ObjectPtr<Entity>& e : open) e->setVisible(visible);
    return Status::Ok;
}

}  // namespace host::db
