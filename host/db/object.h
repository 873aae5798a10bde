// The base of every database object: identity, owner, erase flag, extended data, and the write-enable contract.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/db/ids.h"
#include "host/db/object_memory.h"
#include "host/db/resbuf.h"
#include "host/db/status.h"

namespace host::db {

class Entity;

// One DXF group of an object the host does not model, kept as text so it is written back as it was read.
struct RawGroup {
    int code = 0;
    std::string value;
    bool operator==(const RawGroup&) const = default;
};
using RawGroups = std::vector<RawGroup>;

class DbObject {
public:
    virtual ~DbObject() = default;

    // Objects come from the host's object memory, which a drawing of many entities makes and frees cheaply.
    static void* operator new(std::size_t size) { return detail::allocateObject(size); }
    static void operator delete(void* object, std::size_t size) noexcept { detail::freeObject(object, size); }

    // A deep copy of the object's state, used by undo snapshots. Identity (id, owner) is copied too.
    virtual std::unique_ptr<DbObject> clone() const = 0;
    // The host's class name ("AcDbLine", "AcDbLayerTableRecord", ...), also the DXF subclass marker.
    virtual const char* className() const = 0;
    // The DXF record name ("LINE", "LAYER", "GROUP", ...).
    virtual const char* dxfName() const = 0;
    // The object as an entity, or null: what a cast to Entity answers, at the cost of one call.
    virtual const Entity* asEntity() const { return nullptr; }

    ObjectId objectId() const { return id_; }
    Handle handle() const { return id_.handle(); }
    Database* database() const { return id_.database(); }
    ObjectId ownerId() const { return owner_; }
    // Set by containers (dictionaries, tables, blocks) and the file reader on an object they hold open for write
    // or have just added; it is not checked here.
    void setOwnerId(ObjectId owner);

    bool isErased() const { return erased_; }
    // Erases (true) or un-erases (false). Needs the object open for write (or outside any database).
    Status erase(bool erasing = true);

    // Extended data. xData(app) answers the list of one application, starting with its 1001 item, or an empty
    // list; xData("") answers every application's list, one after another. setXData takes one or more
    // application lists, each starting with 1001; an application with no items after its 1001 loses its data.
    // Every application named must be registered in the object's database (RegAppNotFound otherwise).
    ResBufList xData(std::string_view app = {}) const;
    Status setXData(const ResBufList& list);
    // The applications that have data on the object, in the order they were first set.
    std::vector<std::string> xDataApplications() const;

    // Extension dictionary and reactors, kept for files that carry them.
    ObjectId extensionDictionary() const { return extDict_; }
    void setExtensionDictionary(ObjectId id) { extDict_ = id; }
    const std::vector<ObjectId>& reactors() const { return reactors_; }
    void addReactor(ObjectId id);
    void removeReactor(ObjectId id);

    // True while the object may be changed: open for write, or not in a database.
    bool isWriteEnabled() const;
    // Stops with a message when a change is made to an object that is not open for write.
    void assertWriteEnabled() const;
    bool isNewObject() const { return id_.isNull(); }

protected:
    DbObject() = default;
    DbObject(const DbObject&) = default;
    DbObject& operator=(const DbObject&) = default;

private:
    friend class Database;
    struct XDataApp {
        std::string app;
        ResBufList items;  // without the 1001 item
    };
    ObjectId id_;
    ObjectId owner_;
    bool erased_ = false;
    std::vector<XDataApp> xdata_;
    ObjectId extDict_;
    std::vector<ObjectId> reactors_;
};

// Implements clone() for a concrete class: class Line : public Cloneable<Line, Entity> { ... }.
template <class Derived, class Base>
class Cloneable : public Base {
public:
    using Base::Base;
    std::unique_ptr<DbObject> clone() const override {
        return std::make_unique<Derived>(static_cast<const Derived&>(*this));
    }
};

}  // namespace host::db
