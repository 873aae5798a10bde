// Dictionaries: named entries in the order they were added, names compared without regard to case.
#include "host/db/dictionary.h"

#include <algorithm>

#include "host/db/database.h"
#include "host/sys/text_case.h"
#include "host/db/object_change.h"

namespace host::db {

ObjectId Dictionary::getAt(std::string_view name) const {
    for (const Entry& e : entries_) {
        if (!e.second.isErased() && sys::equalsNoCase(e.first, name)) return e.second;
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
    // An entry whose object was erased no longer holds its name.
    std::erase_if(entries_, [&](const Entry& e) { return sys::equalsNoCase(e.first, name); });
    entries_.emplace_back(std::string(name), added);
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
    if (name.empty()) return Status::InvalidInput;
    if (id == objectId()) return Status::InvalidInput;
    if (has(name) || !nameOf(id).empty()) return Status::DuplicateKey;
    const ObjectId self = objectId();
    const Status s = detail::changeObject<DbObject>(id, [&](DbObject& o) {
        if (o.isErased()) return Status::WasErased;
        o.setOwnerId(self);
        return Status::Ok;
    });
    if (s != Status::Ok) return s;
    std::erase_if(entries_, [&](const Entry& e) { return sys::equalsNoCase(e.first, name); });
    entries_.emplace_back(std::string(name), id);
    return Status::Ok;
}

namespace {

// The entry of a name: a live one first, else one whose object is erased or gone.
template <class Entries>
auto findEntry(Entries& entries, std::string_view name) {
    auto live = std::find_if(entries.begin(), entries.end(), [&](const auto& e) {
        return !e.second.isErased() && sys::equalsNoCase(e.first, name);
    });
    if (live != entries.end()) return live;
    return std::find_if(entries.begin(), entries.end(),
                        [&](const auto& e) { return sys::equalsNoCase(e.first, name); });
}

}  // namespace

Status Dictionary::remove(std::string_view name) {
    if (!isWriteEnabled()) return Status::NotOpenForWrite;
    auto it = findEntry(entries_, name);
    if (it == entries_.end()) return Status::KeyNotFound;
    if (!it->second.isErased()) {
        const Status s = detail::changeObject<DbObject>(it->second, [](DbObject& o) { return o.erase(); });
        if (s != Status::Ok) return s;
    }
    entries_.erase(it);
    return Status::Ok;
}

Status Dictionary::removeKeepObject(std::string_view name) {
    if (!isWriteEnabled()) return Status::NotOpenForWrite;
    auto it = findEntry(entries_, name);
    if (it == entries_.end()) return Status::KeyNotFound;
    if (it->second.database() && it->second.database()->peek(it->second)) {
        const Status s = detail::changeObject<DbObject>(it->second, [](DbObject& o) {
            o.setOwnerId({});
            return Status::Ok;
        });
        if (s != Status::Ok) return s;
    }
    entries_.erase(it);
    return Status::Ok;
}

Status Dictionary::rename(std::string_view oldName, std::string newName) {
    if (!isWriteEnabled()) return Status::NotOpenForWrite;
    if (newName.empty()) return Status::InvalidInput;
    auto it = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) {
        return !e.second.isErased() && sys::equalsNoCase(e.first, oldName);
    });
    if (it == entries_.end()) return Status::KeyNotFound;
    const ObjectId other = getAt(newName);
    if (!other.isNull() && other != it->second) return Status::DuplicateKey;
    const ObjectId id = it->second;
    std::erase_if(entries_, [&](const Entry& e) { return e.second != id && sys::equalsNoCase(e.first, newName); });
    it = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.second == id; });
    it->first = std::move(newName);
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
