// A drawing database's objects: the session's registry of databases, adding objects, handles, and opening and
// closing objects with the statuses callers rely on.
#include "host/db/database.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <map>
#include <mutex>

#include "host/db/database_impl.h"

namespace host::db {

// ---- the session's databases

namespace {

// Serial numbers start at 1 so that word 0 of an entity name is never 0; they are never given twice.
std::atomic<std::uint64_t> nextSerial{1};

struct Registry {
    std::mutex mutex;
    std::map<std::uint64_t, Database*> bySerial;
    Database* working = nullptr;
};

Registry& registry() {
    static Registry r;
    return r;
}

constexpr std::uint64_t kLastHandle = std::numeric_limits<std::uint64_t>::max();

}  // namespace

Database* workingDatabase() {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    return r.working;
}

void setWorkingDatabase(Database* db) {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    r.working = db;
}

Database* databaseBySerial(std::uint64_t serial) {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    auto it = r.bySerial.find(serial);
    return it == r.bySerial.end() ? nullptr : it->second;
}

Database::Database(bool empty) : impl_(std::make_unique<Impl>()), serial_(nextSerial++) {
    {
        Registry& r = registry();
        std::lock_guard lock(r.mutex);
        r.bySerial[serial_] = this;
    }
    if (!empty) ensureDefaults();
    modified_ = false;
}

// An object still open here would be closed later through a dangling database: stop while the cause is known.
Database::~Database() {
    for (const Impl::Slot& s : impl_->slots) {
        if (!s.isOpen() || !s.object) continue;
        std::fprintf(stderr,
                     "host::db: a drawing is being closed while its %s with handle %s is still open. Close every "
                     "ObjectPtr (let it go out of scope) before the Database.\n",
                     s.object->className(), s.handle.text().c_str());
        std::fflush(stderr);
        std::abort();
    }
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    r.bySerial.erase(serial_);
    if (r.working == this) r.working = nullptr;
}

// ---- objects

Status Database::addObject(std::unique_ptr<DbObject> object, ObjectId owner, ObjectId* id, Handle handle) {
    if (!object) return Status::InvalidInput;
    if (!object->id_.isNull()) return Status::AlreadyInDb;
    if (!owner.isNull() && owner.database() != this) return Status::WrongDatabase;
    if (impl_->slots.size() >= std::numeric_limits<std::uint32_t>::max()) return Status::InvalidInput;
    if (handle.isNull()) {
        handle = takeHandle();
    } else {
        if (impl_->byHandle.contains(handle.value)) return Status::DuplicateKey;
        raiseHandSeed(Handle(handle.value == kLastHandle ? kLastHandle : handle.value + 1));
    }

    const auto index = static_cast<std::uint32_t>(impl_->slots.size());
    object->id_ = ObjectId(this, index);
    object->owner_ = owner;
    impl_->slots.push_back({std::move(object), handle});
    impl_->byHandle.insert(handle.value, index);
    impl_->recordCreation(index);
    markModified();
    if (id) *id = ObjectId(this, index);
    return Status::Ok;
}

ObjectId Database::idFromHandle(Handle h) const {
    const std::optional<std::uint32_t> index = impl_->byHandle.find(h.value);
    if (!index || !impl_->slots[*index].object) return {};
    return ObjectId(const_cast<Database*>(this), *index);
}

Handle Database::handleOf(ObjectId id) const {
    const Impl::Slot* s = impl_->slotOf(this, id);
    return s ? s->handle : Handle();
}

Status Database::moveToNextHandle(ObjectId id) {
    Impl::Slot* s = impl_->slotOf(this, id);
    if (!s) return Status::NullObjectId;
    const Handle next = takeHandle();
    impl_->byHandle.erase(s->handle.value);
    s->handle = next;
    impl_->byHandle.insert(s->handle.value, id.index());
    return Status::Ok;
}

// The seed and up. A file may give its objects handles up to the top of the 64-bit range (some writers spread
// them over all of it): past the top, the lowest handle no object holds. There is always one, since a drawing
// holds fewer than 2^32 objects.
Handle Database::takeHandle() {
    if (nextHandle_ != kLastHandle) return Handle(nextHandle_++);
    while (impl_->byHandle.contains(freeBelowSeed_)) ++freeBelowSeed_;
    return Handle(freeBelowSeed_++);
}

void Database::raiseHandSeed(Handle h) {
    if (h.value > nextHandle_) nextHandle_ = h.value;
}

namespace {

// An entity on a locked layer may be read but not changed.
bool isOnLockedLayer(const Database& db, const DbObject& object) {
    const Entity* entity = object.asEntity();
    if (!entity) return false;
    const auto* layer = dynamic_cast<const LayerTableRecord*>(db.peek(entity->layerId()));
    return layer && layer->isLocked();
}

}  // namespace

Status Database::openObject(ObjectId id, OpenMode mode, DbObject*& out, bool openErased) {
    out = nullptr;
    if (id.isNull()) return Status::NullObjectId;
    if (id.database() != this) return Status::WrongDatabase;
    Impl::Slot* s = impl_->slotOf(this, id);
    if (!s) return Status::NullObjectId;
    if (!s->object) return Status::WasErased;  // its creation was undone
    if (s->object->isErased() && !openErased) return Status::WasErased;
    if (s->writer) return Status::WasOpenForWrite;
    if (mode == OpenMode::Read) {
        ++s->readers;
        out = s->object.get();
        return Status::Ok;
    }
    if (s->readers > 0) return Status::WasOpenForRead;
    if (isOnLockedLayer(*this, *s->object)) return Status::OnLockedLayer;
    impl_->recordBeforeChange(id.index());
    s->writer = true;
    markModified();
    out = s->object.get();
    return Status::Ok;
}

Status Database::closeObject(ObjectId id, OpenMode mode) {
    if (id.isNull()) return Status::NullObjectId;
    if (id.database() != this) return Status::WrongDatabase;
    Impl::Slot* s = impl_->slotOf(this, id);
    if (!s) return Status::NullObjectId;
    if (mode == OpenMode::Write) {
        if (!s->writer) return Status::NotOpenForWrite;
        s->writer = false;
        markModified();  // the extents may have changed while it was open
        return Status::Ok;
    }
    if (s->readers == 0) return Status::InvalidInput;
    --s->readers;
    return Status::Ok;
}

Status Database::upgradeOpen(ObjectId id) {
    if (id.isNull()) return Status::NullObjectId;
    if (id.database() != this) return Status::WrongDatabase;
    Impl::Slot* s = impl_->slotOf(this, id);
    if (!s || !s->object) return Status::NullObjectId;
    if (s->writer) return Status::WasOpenForWrite;
    if (s->readers == 0) return Status::InvalidInput;  // not open: open it for write instead
    if (s->readers > 1) return Status::WasOpenForRead;
    if (isOnLockedLayer(*this, *s->object)) return Status::OnLockedLayer;
    impl_->recordBeforeChange(id.index());
    s->readers = 0;
    s->writer = true;
    markModified();
    return Status::Ok;
}

Status Database::writeOpenStatus(ObjectId id) const {
    if (id.isNull()) return Status::NullObjectId;
    if (id.database() != this) return Status::WrongDatabase;
    const Impl::Slot* s = impl_->slotOf(this, id);
    if (!s) return Status::NullObjectId;
    if (!s->object || s->object->isErased()) return Status::WasErased;
    if (s->writer) return Status::WasOpenForWrite;
    if (s->readers > 0) return Status::WasOpenForRead;
    if (isOnLockedLayer(*this, *s->object)) return Status::OnLockedLayer;
    return Status::Ok;
}

bool Database::isOpenForWrite(ObjectId id) const {
    const Impl::Slot* s = impl_->slotOf(this, id);
    return s && s->writer;
}

const DbObject* Database::peek(ObjectId id) const {
    const Impl::Slot* s = impl_->slotOf(this, id);
    return s ? s->object.get() : nullptr;
}

std::vector<ObjectId> Database::allObjectIds(bool includeErased) const {
    std::vector<ObjectId> out;
    out.reserve(impl_->byHandle.size());
    impl_->byHandle.forEachInOrder([&](std::uint64_t, std::uint32_t index) {
        const DbObject* o = impl_->slots[index].object.get();
        if (o && (includeErased || !o->isErased())) out.emplace_back(const_cast<Database*>(this), index);
    });
    return out;
}

std::size_t Database::objectCount() const {
    std::size_t n = 0;
    for (const Impl::Slot& s : impl_->slots) n += (s.object && !s.object->isErased()) ? 1 : 0;
    return n;
}

void Database::markModified() {
    modified_ = true;
    impl_->extents.reset();
}

// ---- tables

ObjectId Database::tableId(TableKind kind) const {
    return impl_->tables[static_cast<std::size_t>(kind)];
}

void Database::setTableId(TableKind kind, ObjectId id) {
    impl_->tables[static_cast<std::size_t>(kind)] = id;
}

}  // namespace host::db
