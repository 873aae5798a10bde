// A drawing database: its objects by id and handle, its tables and dictionaries, its header values, opening and
// closing objects, walking entities, and undo.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "host/db/dictionary.h"
#include "host/db/entities.h"
#include "host/db/tables.h"

namespace host::db {

enum class OpenMode { Read, Write };

// Header values the host keeps by name. Values of other header variables read from a file are kept as read, in
// order, and written back.
struct Header {
    ge::Point3d insBase;
    int insUnits = 4;            // millimetres
    int pdMode = 0;
    double pdSize = 0.0;
    double ltScale = 1.0;
    double celtScale = 1.0;
    Color ceColor;               // BYLAYER
    std::string projectName;
    std::string acadVersion = "AC1015";
    int measurement = 1;         // metric
    // The code page declared in the file ($DWGCODEPAGE). Text is written in its bytes where it has the characters
    // and as \U+XXXX escapes where it lacks them, so the page never changes a character.
    std::string codePage = "ANSI_1251";
    struct Other {
        std::string name;        // "$DIMSCALE"
        RawGroups groups;
        bool operator==(const Other&) const = default;
    };
    std::vector<Other> others;
    // The CLASS records of the file's CLASSES section (each record's groups after "0 CLASS"), written back as read.
    std::vector<RawGroups> classes;
    bool operator==(const Header&) const = default;
};

class Database {
public:
    // A new drawing with what every drawing has: the tables with "0", "Continuous", "ByLayer", "ByBlock",
    // "Standard", "ACAD", "*Active", model and paper space, the named-object dictionary with "ACAD_GROUP".
    // With `empty`, nothing at all (the file reader fills it and then calls ensureDefaults()).
    explicit Database(bool empty = false);
    // Every object must be closed first: a drawing closed with an object open stops with a message.
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // The serial number in entity names; unique within the session.
    std::uint64_t serial() const { return serial_; }
    // The file the drawing was read from or last saved to ("" for a new drawing).
    const std::filesystem::path& fileName() const { return fileName_; }
    void setFileName(std::filesystem::path p) { fileName_ = std::move(p); }

    // ---- objects
    // Adds an object owned by `owner`. With a handle (from a file) it keeps it, else it takes the next one.
    // DuplicateKey when the handle is taken, AlreadyInDb for an object that has an id.
    Status addObject(std::unique_ptr<DbObject> object, ObjectId owner, ObjectId* id = nullptr, Handle handle = {});
    // The id of the object with this handle, or the null id. Never creates anything.
    ObjectId idFromHandle(Handle h) const;
    Handle handleOf(ObjectId id) const;
    // Gives an object the next handle. Used by the file reader only, for an object it made itself (a record the
    // file names but does not hold) whose handle the file then gives one of its own objects; nothing refers to
    // the made object by handle yet. NullObjectId for an id of no object of this database.
    Status moveToNextHandle(ObjectId id);
    // The next handle to be given out ($HANDSEED); raised, never lowered.
    Handle handSeed() const { return Handle(nextHandle_); }
    void raiseHandSeed(Handle h);
    // Opening: the object for reading or writing, answered through `out`.
    //   WasErased for an erased object (unless openErased), OnLockedLayer for writing an entity on a locked layer,
    //   WasOpenForWrite when it is already open for write, WasOpenForRead when writing an object open for read,
    //   WrongDatabase for an id of another database, NullObjectId for the null id or an unknown index. An object
    //   whose creation was undone answers WasErased, even with openErased. Opening for read is shared; opening for
    //   write is exclusive and records the object for undo.
    Status openObject(ObjectId id, OpenMode mode, DbObject*& out, bool openErased = false);
    // Closes one open of that mode: NotOpenForWrite (write) or InvalidInput (read) when there is none.
    Status closeObject(ObjectId id, OpenMode mode);
    // From read to write without closing: WasOpenForRead when others read it too, OnLockedLayer as for
    // openObject, InvalidInput when it is not open for read.
    Status upgradeOpen(ObjectId id);
    bool isOpenForWrite(ObjectId id) const;
    // What openObject(id, Write) would answer now, without opening the object or recording it for undo.
    Status writeOpenStatus(ObjectId id) const;
    // A read-only look at an object without opening it (for walkers and writers). nullptr for the null id.
    const DbObject* peek(ObjectId id) const;
    // All live object ids in handle order (erased included when asked).
    std::vector<ObjectId> allObjectIds(bool includeErased = false) const;
    // The number of objects that are not erased.
    std::size_t objectCount() const;

    // ---- tables and dictionaries
    ObjectId tableId(TableKind kind) const;
    ObjectId modelSpaceId() const;
    ObjectId paperSpaceId() const;
    ObjectId namedObjectsDictionaryId() const { return nod_; }
    ObjectId groupDictionaryId() const;   // "ACAD_GROUP" in the named-object dictionary
    // Looks up a record by name in a table: null id when absent.
    ObjectId recordId(TableKind kind, std::string_view name) const;
    // The name of a symbol-table record ("" for the null id).
    std::string recordName(ObjectId id) const;
    // Adds the records, tables and dictionaries every drawing must have where they are missing.
    void ensureDefaults();
    // Used by the file reader: sets the table or dictionary it read.
    void setTableId(TableKind kind, ObjectId id);
    void setNamedObjectsDictionaryId(ObjectId id) { nod_ = id; }

    // ---- current values (CLAYER, CELTYPE, TEXTSTYLE as ids; CECOLOR and CELTSCALE in the header)
    // The setters take a live record of their own table in this database: NullObjectId, WrongDatabase, KeyNotFound
    // (an object that is not such a record), WasErased; a frozen layer cannot become current (NotApplicable).
    ObjectId currentLayer() const { return clayer_; }
    Status setCurrentLayer(ObjectId layer);
    ObjectId currentLinetype() const { return celtype_; }
    Status setCurrentLinetype(ObjectId lt);
    ObjectId currentTextStyle() const { return textStyle_; }
    Status setCurrentTextStyle(ObjectId style);
    Header& header() { return header_; }
    const Header& header() const { return header_; }

    // ---- extents: visible model-space entities on layers that are on and thawed; invisible texts do not count.
    // With nothing to count, EXTMIN is (1e20, 1e20, 1e20) and EXTMAX (-1e20, -1e20, -1e20), as hosts write them.
    ge::Point3d extMin() const;
    ge::Point3d extMax() const;

    // ---- walking entities: model space in order, then paper space; erased entities are skipped. The current
    // entity may be erased after its next has been taken. nextEntity(null) is firstEntity(); an object that is
    // not a model- or paper-space entity has no next.
    ObjectId firstEntity() const;
    ObjectId nextEntity(ObjectId after) const;
    // The live model- or paper-space entity that was added last (what a command just drew).
    ObjectId lastEntity() const;

    // ---- undo. A step records the state of every object before its first change in the step (opened for write,
    // added or erased), and the current values and header at its start. Changes outside a step are not undoable
    // (reading a file). Nested begin/end pairs (a command run by a command) make one step. An object whose
    // creation is undone is gone (until a redo brings it back): its id answers erased and its handle is not given
    // again.
    void beginUndoStep();
    void endUndoStep();
    bool inUndoStep() const;
    // Undoes the last `count` finished steps (the open step first, when one is open and has changes). Answers how
    // many steps were undone. Objects that are open cannot be undone: UndoNotAvailable, nothing changed.
    Status undo(int count, int* undone = nullptr);
    int undoableSteps() const;
    void clearUndo();
    // Does the last `count` undone steps again, the last undone first, and makes them undoable again. Possible
    // while nothing has changed since the undo: a finished step with changes, a new object, or an undo from inside
    // a running step drops what could be redone. Answers how many steps were redone; UndoNotAvailable (nothing
    // changed) when there is nothing to redo, a step is open, or an object the steps name is open.
    Status redo(int count, int* redone = nullptr);
    int redoableSteps() const;
    // How many steps the last undo that can still be redone took back (0 when none): what REDO does again.
    int lastUndoneGroup() const;
    // Marks the database changed (any write) and drops the cached extents.
    void markModified();
    bool isModified() const { return modified_; }
    void clearModified() { modified_ = false; }

private:
    Handle takeHandle();

    struct Impl;
    std::unique_ptr<Impl> impl_;
    std::uint64_t serial_;
    std::filesystem::path fileName_;
    std::uint64_t nextHandle_ = 1;
    std::uint64_t freeBelowSeed_ = 1;  // where takeHandle looks once the seed is at the top
    ObjectId nod_, clayer_, celtype_, textStyle_;
    Header header_;
    bool modified_ = false;
};

// The working database: where new entities go and what the editor's commands act on. Set by the document manager.
Database* workingDatabase();
void setWorkingDatabase(Database* db);
// The open database with this serial number, or nullptr.
Database* databaseBySerial(std::uint64_t serial);

// An object opened for read or write, closed when the pointer goes (or by close()).
template <class T>
class ObjectPtr {
public:
    ObjectPtr() = default;
    ObjectPtr(ObjectId id, OpenMode mode, bool openErased = false) { open(id, mode, openErased); }
    ~ObjectPtr() { close(); }
    ObjectPtr(const ObjectPtr&) = delete;
    ObjectPtr& operator=(const ObjectPtr&) = delete;
    ObjectPtr(ObjectPtr&& o) noexcept : id_(o.id_), mode_(o.mode_), obj_(o.obj_), status_(o.status_) {
        o.obj_ = nullptr;
    }
    ObjectPtr& operator=(ObjectPtr&& o) noexcept {
        if (this != &o) {
            close();
            id_ = o.id_, mode_ = o.mode_, obj_ = o.obj_, status_ = o.status_;
            o.obj_ = nullptr;
        }
        return *this;
    }

    Status open(ObjectId id, OpenMode mode, bool openErased = false) {
        close();
        id_ = id;
        mode_ = mode;
        if (id.isNull()) return status_ = Status::NullObjectId;
        DbObject* raw = nullptr;
        status_ = id.database()->openObject(id, mode, raw, openErased);
        if (status_ != Status::Ok) return status_;
        obj_ = dynamic_cast<T*>(raw);
        if (!obj_) {
            id.database()->closeObject(id, mode);
            status_ = Status::WrongObjectType;
        }
        return status_;
    }
    Status close() {
        if (!obj_) return Status::Ok;
        obj_ = nullptr;
        return id_.database()->closeObject(id_, mode_);
    }
    Status upgradeOpen() {
        if (!obj_) return Status::NullObjectId;
        if (mode_ == OpenMode::Write) return Status::Ok;
        Status s = id_.database()->upgradeOpen(id_);
        if (s == Status::Ok) mode_ = OpenMode::Write;
        return s;
    }

    Status status() const { return status_; }
    bool isOpen() const { return obj_ != nullptr; }
    explicit operator bool() const { return obj_ != nullptr; }
    T* get() const { return obj_; }
    T* operator->() const { return obj_; }
    T& operator*() const { return *obj_; }
    ObjectId id() const { return id_; }

private:
    ObjectId id_;
    OpenMode mode_ = OpenMode::Read;
    T* obj_ = nullptr;
    Status status_ = Status::NullObjectId;
};

}  // namespace host::db
