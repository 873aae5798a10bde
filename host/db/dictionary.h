// Dictionaries (the named-object dictionary and the group dictionary under it) and groups.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "host/db/object.h"

namespace host::db {

// Named entries in the order they were added; names are compared without regard to case.
class Dictionary : public Cloneable<Dictionary, DbObject> {
public:
    using Entry = std::pair<std::string, ObjectId>;

    const char* className() const override { return "AcDbDictionary"; }
    const char* dxfName() const override { return "DICTIONARY"; }

    ObjectId getAt(std::string_view name) const;  // null id when absent or erased
    bool has(std::string_view name) const { return !getAt(name).isNull(); }
    // Adds an object under a name (the dictionary must be in a database and open for write; the object becomes
    // the database's, owned by the dictionary). DuplicateKey when the name is taken.
    Status setAt(std::string_view name, std::unique_ptr<DbObject> object, ObjectId* id = nullptr);
    // Adds an existing object of the same database under a name.
    Status setAt(std::string_view name, ObjectId id);
    // Removes the entry and erases its object. KeyNotFound when absent.
    Status remove(std::string_view name);
    // Removes the entry but keeps the object (it loses its owner).
    Status removeKeepObject(std::string_view name);
    Status rename(std::string_view oldName, std::string newName);
    // The name under which an object is stored, or "".
    std::string nameOf(ObjectId id) const;
    // A copy of the entries, so a walk survives removal of the current entry. Erased objects are left out.
    std::vector<Entry> entries() const;
    std::size_t numEntries() const;
    // Hard-owner flag (group 280) and duplicate-record cloning (group 281), kept for files.
    int cloningFlag() const { return cloning_; }
    void setCloningFlag(int f) { cloning_ = f; }
    bool hardOwner() const { return hardOwner_; }
    void setHardOwner(bool on) { hardOwner_ = on; }

    // Used by the file reader: attaches an entry whose object is added separately.
    void attachEntry(std::string name, ObjectId id) {
        entries_.emplace_back(std::move(name), id);
        byNameValid_ = false;
    }

private:
    const std::vector<ObjectId>* idsNamed(std::string_view name) const;
    void indexInsert(const std::string& name, ObjectId id) const;
    void indexErase(const std::string& name, ObjectId id) const;
    void dropEntriesNamed(std::string_view name, ObjectId keep);

    std::vector<Entry> entries_;
    // The entries' ids by upper-cased name, built on the first look-up and kept up to date after: a drawing keeps
    // one group per cut path, and commands look them up by name one after another.
    mutable std::unordered_map<std::string, std::vector<ObjectId>> byName_;
    mutable bool byNameValid_ = false;
    int cloning_ = 1;
    bool hardOwner_ = false;
};

// A named group of entities with a description (no length limit) and an order of members.
class Group : public Cloneable<Group, DbObject> {
public:
    Group() = default;
    explicit Group(std::string description, bool selectable = true)
        : description_(std::move(description)), selectable_(selectable) {}
    const char* className() const override { return "AcDbGroup"; }
    const char* dxfName() const override { return "GROUP"; }

    // The name under which the group is stored in the group dictionary ("" when in none).
    std::string name() const;
    // Renames the group in its dictionary. DuplicateKey when the name is taken.
    Status setName(std::string name);
    const std::string& description() const { return description_; }
    Status setDescription(std::string d);
    bool isSelectable() const { return selectable_; }
    Status setSelectable(bool on);
    bool isAnonymous() const { return anonymous_; }
    void setAnonymous(bool on) { anonymous_ = on; }

    // Members. Ids must be entities of the group's database: WrongDatabase otherwise; DuplicateKey for an id that
    // is already a member; InvalidIndex for an index past the end.
    Status append(ObjectId id);
    Status append(const std::vector<ObjectId>& ids);
    Status prepend(ObjectId id);
    Status insertAt(unsigned index, ObjectId id);
    Status remove(ObjectId id);
    Status removeAt(unsigned index);
    // Moves `count` members starting at `from` so that they start at index `to` of the resulting list: on
    // [a b c d e], transfer(0, 2, 2) gives [c d a b e] and transfer(3, 0, 2) gives [d e a b c]. InvalidIndex
    // unless from + count and to + count are within the list.
    Status transfer(unsigned from, unsigned to, unsigned count);
    Status reverse();
    Status clear();
    // Index of a member among all members, erased ones included. KeyNotFound when not a member.
    Status indexOf(ObjectId id, unsigned& index) const;
    bool has(ObjectId id) const;
    // Member ids in order, erased members left out unless asked.
    std::vector<ObjectId> allEntityIds(bool includeErased = false) const;
    unsigned numEntities(bool includeErased = false) const;
    // Shows or hides every live member (entity visibility, group 60). The group itself need not be open; each
    // member is opened for write, and when one cannot be (a locked layer) none changes and its status is answered.
    Status setVisibility(bool visible);

private:
    std::string description_;
    bool selectable_ = true;
    bool anonymous_ = false;
    std::vector<ObjectId> members_;
};

// Any other object of the OBJECTS section (LAYOUT, PLOTSETTINGS, XRECORD, MLINESTYLE, ...), kept as read.
class OpaqueObject : public Cloneable<OpaqueObject, DbObject> {
public:
    OpaqueObject(std::string dxfName, RawGroups groups) : name_(std::move(dxfName)), groups_(std::move(groups)) {}
    const char* className() const override { return "AcDbObject"; }
    const char* dxfName() const override { return name_.c_str(); }
    const RawGroups& groups() const { return groups_; }

private:
    std::string name_;
    RawGroups groups_;
};

}  // namespace host::db
