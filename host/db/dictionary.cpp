// Dictionaries: named entries in the order they were added, names compared without regard to case.
#include "host/db/dictionary.h"

#include <algorithm>

#include "host/db/database.h"
#include "host/db/object_change.h"
#include "host/sys/text_case.h"

namespace host::db {

// ---- the name index

const std::vector<ObjectId>* Dictionary::idsNamed(std::string_view name) const {
    if (!byNameValid_) {
        byName_.clear();
        for (const Entry& e : entries_) byName_[sys::upperCase(e.first)].push_back(e.second);
        byNameValid_ = true;
    }
    auto it = byName_.find(sys::upperCase(name));
    return it == byName_.end() ? nullptr : &it->second;
}

void Dictionary::indexInsert(const std::string& name, ObjectId id) const {
    if (byNameValid_) byName_[sys::upperCase(name)].push_back(id);
}

void Dictionary::indexErase(const std::string& name, ObjectId id) const {
    if (!byNameValid_) return;
    auto it = byName_.find(sys::upperCase(name));
    if (it == byName_.end()) return;
    std::erase(it->second, id);
    if (it->second.empty()) byName_.erase(it);
}

// Entries of that name other than `keep` hold erased objects when this is called: they lose the name.
void Dictionary::dropEntriesNamed(std::string_view name, ObjectId keep) {
    const std::vector<ObjectId>* ids = idsNamed(name);
    if (!ids) return;
    const std::vector<ObjectId> stale = *ids;
    for (ObjectId id : stale) {
        if (id == keep) continue;
        auto it = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.second == id; });
        if (it == entries_.end()) continue;
        indexErase(it->first, id);
        entries_.erase(it);
    }
}

// ---- entries

ObjectId Dictionary::getAt(std::string_view name) const {
    if (const std::vector<ObjectId>* ids = idsNamed(name)) {
        for (ObjectId id : *ids) {
            if (!id.isErased()) return id;
        }
    }
    return {};
}

Status Dictionary::setAt(std::string_view name, std::unique_ptr<DbObject> object, ObjectId* id) {
    if (!object) return Status::InvalidInput;
    Database* db = database();
    if (!db) return Status::NotInDatabase;
    if (!isWriteEnabled()) return Status::NotOpenForWrite;
    if (name.empty()) return Status::InvalidInput;
    if (!object->isNewObject()) return Status::AlreadyInDb;
    if (has(name)) return Status::DuplicateKey;
    ObjectId added;
    const Status s = db->addObject(std::move(object), objectId(), &added);
    if (s != Status::Ok) return s;
    dropEntriesNamed(name, {});  // an entry whose object was erased no longer holds its name
    entries_.emplace_back(std::string(name), added);
    indexInsert(entries_.back().first, added);
    if (id) *id = added;
    return Status::Ok;
}

// The object becomes owned by this dictionary; it must not already be an entry of it.
Status Dictionary::setAt(std::string_view name, ObjectId id) {
    Database* db = database();
    if (!db) return Status::NotInDatabase;
    if (!isWriteEnabled()) return Status::NotOpenForWrite;
    if (id.isNull()) return Status::NullObjectId;
    if (id.database() != db) return Status::WrongDatabase;
    if (name.empty() || id == objectId()) return Status::InvalidInput;
    if (has(name) || !nameOf(id).empty()) return Status::DuplicateKey;
    const ObjectId self = objectId();
    const Status s = detail::changeObject<DbObject>(id, [&](DbObject& o) {
        if (o.isErased()) return Status::WasErased;
        o.setOwnerId(self);
        return Status::Ok;
    });
    if (s != Status::Ok) return s;
    dropEntriesNamed(name, {});
    entries_.emplace_back(std::string(name), id);
    indexInsert(entries_.back().first, id);
    return Status::Ok;
}

namespace {

// The entry of a name: a live one first, else one whose object is erased or gone; null id when none.
ObjectId entryNamed(const std::vector<ObjectId>* ids) {
    if (!ids || ids->empty()) return {};
    for (ObjectId id : *ids) {
        if (!id.isErased()) return id;
    }
    return ids->front();
}

}  // namespace

Status Dictionary::remove(std::string_view name) {
    if (!isWriteEnabled()) return Status::NotOpenForWrite;
    const ObjectId id = entryNamed(idsNamed(name));
    if (id.isNull()) return Status::KeyNotFound;
    if (!id.isErased()) {
        const Status s = detail::changeObject<DbObject>(id, [](DbObject& o) { return o.erase(); });
        if (s != Status::Ok) return s;
    }
    auto it = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.second == id; });
    indexErase(it->first, id);
    entries_.erase(it);
    return Status::Ok;
}

Status Dictionary::removeKeepObject(std::string_view name) {
    if (!isWriteEnabled()) return Status::NotOpenForWrite;
    const ObjectId id = entryNamed(idsNamed(name));
    if (id.isNull()) return Status::KeyNotFound;
    if (id.database()->peek(id)) {
        const Status s = detail::changeObject<DbObject>(id, [](DbObject& o) {
            o.setOwnerId({});
            return Status::Ok;
        });
        if (s != Status::Ok) return s;
    }
    auto it = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.second == id; });
    indexErase(it->first, id);
    entries_.erase(it);
    return Status::Ok;
}

Status Dictionary::rename(std::string_view oldName, std::string newName) {
    if (!isWriteEnabled()) return Status::NotOpenForWrite;
    if (newName.empty()) return Status::InvalidInput;
    const ObjectId id = getAt(oldName);
    if (id.isNull()) return Status::KeyNotFound;
    const ObjectId other = getAt(newName);
    if (!other.isNull() && other != id) return Status::DuplicateKey;
    dropEntriesNamed(newName, id);
    auto it = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.second == id; });
    indexErase(it->first, id);
    it->first = std::move(newName);
    indexInsert(it->first, id);
    return Status::Ok;
}

std::string Dictionary::nameOf(ObjectId id) const {
    for (const Entry& e : entries_) {
        if (e.second == id) return e.first;
    }
    return {};
}

std::vector<Dictionary::Entry> Dictionary::entries() const {
    std::vector<Entry> out;
    out.reserve(entries_.size());
    for (const Entry& e : entries_) {
        if (!e.second.isErased()) out.push_back(e);
    }
    return out;
}

std::size_t Dictionary::numEntries() const {
    return std::size_t(std::count_if(entries_.begin(), entries_.end(),
                                     [](const Entry& e) { return !e.second.isErased(); }));
}

}  // namespace host::db
