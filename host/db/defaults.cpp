// What every drawing has (tables, default records, layout blocks, the group dictionary), finding records by
// name, and the current layer, line type and text style.
#include <memory>

#include "host/db/database.h"
#include "host/db/database_impl.h"
#include "host/sys/text_case.h"

namespace host::db {

namespace {

constexpr const char* kModelSpace = "*Model_Space";
constexpr const char* kPaperSpace = "*Paper_Space";
constexpr const char* kGroupDictionary = "ACAD_GROUP";
constexpr int kWhite = 7;

constexpr TableKind kAllTables[] = {TableKind::Block,    TableKind::Layer, TableKind::Linetype,
                                    TableKind::TextStyle, TableKind::RegApp, TableKind::Viewport,
                                    TableKind::View,      TableKind::Ucs,   TableKind::DimStyle};
static_assert(std::size(kAllTables) == kTableKindCount);

// The record when `id` names a live record of that class in this database, else nullptr.
template <class Record>
const Record* liveRecord(const Database& db, ObjectId id) {
    if (id.database() != &db) return nullptr;
    const auto* r = dynamic_cast<const Record*>(db.peek(id));
    return r && !r->isErased() ? r : nullptr;
}

// Finds a record by name or adds the one `make` builds. Used while the database is being set up, when nothing is
// open, so the opens cannot fail.
template <class Make>
ObjectId ensureRecord(Database& db, TableKind kind, std::string_view name, Make make) {
    ObjectId id = db.recordId(kind, name);
    if (!id.isNull()) return id;
    ObjectPtr<SymbolTable> table(db.tableId(kind), OpenMode::Write);
    if (table) table->add(make(), &id);
    return id;
}

void ensureBlockMarkers(Database& db, ObjectId blockId, ObjectId layer0) {
    const auto* present = dynamic_cast<const BlockTableRecord*>(db.peek(blockId));
    if (!present || (db.peek(present->blockBegin()) && db.peek(present->blockEnd()))) return;
    ObjectPtr<BlockTableRecord> block(blockId, OpenMode::Write);
    if (!block) return;
    auto addMarker = [&](std::unique_ptr<Entity> marker) {
        if (!layer0.isNull()) marker->setLayer(layer0);
        ObjectId id;
        db.addObject(std::move(marker), blockId, &id);
        return id;
    };
    if (block->blockBegin().isNull() || !db.peek(block->blockBegin()))
        block->attachBlockBegin(addMarker(std::make_unique<BlockBegin>()));
    if (block->blockEnd().isNull() || !db.peek(block->blockEnd()))
        block->attachBlockEnd(addMarker(std::make_unique<BlockEnd>()));
}

}  // namespace

void Database::ensureDefaults() {
    for (TableKind kind : kAllTables) {
        const auto* table = dynamic_cast<const SymbolTable*>(peek(tableId(kind)));
        if (table && table->kind() == kind && !table->isErased()) continue;
        ObjectId id;
        addObject(std::make_unique<SymbolTable>(kind), {}, &id);
        setTableId(kind, id);
    }

    ensureRecord(*this, TableKind::Linetype, "ByBlock",
                 [] { return std::make_unique<LinetypeTableRecord>("ByBlock"); });
    const ObjectId byLayer = ensureRecord(*this, TableKind::Linetype, "ByLayer",
                                          [] { return std::make_unique<LinetypeTableRecord>("ByLayer"); });
    const ObjectId continuous = ensureRecord(*this, TableKind::Linetype, "Continuous", [] {
        auto r = std::make_unique<LinetypeTableRecord>("Continuous");
        r->setDescription("Solid line");
        return r;
    });
    const ObjectId layer0 = ensureRecord(*this, TableKind::Layer, "0", [&] {
        auto r = std::make_unique<LayerTableRecord>("0");
        r->setColor(Color::fromIndex(kWhite));
        r->setLinetypeId(continuous);
        return r;
    });
    const ObjectId standard = ensureRecord(*this, TableKind::TextStyle, "Standard",
                                           [] { return std::make_unique<TextStyleTableRecord>("Standard"); });
    ensureRecord(*this, TableKind::RegApp, "ACAD", [] { return std::make_unique<RegAppTableRecord>("ACAD"); });
    ensureRecord(*this, TableKind::Viewport, "*Active",
                 [] { return std::make_unique<ViewportTableRecord>("*Active"); });
    const ObjectId model = ensureRecord(*this, TableKind::Block, kModelSpace,
                                        [] { return std::make_unique<BlockTableRecord>(kModelSpace); });
    const ObjectId paper = ensureRecord(*this, TableKind::Block, kPaperSpace,
                                        [] { return std::make_unique<BlockTableRecord>(kPaperSpace); });
    ensureBlockMarkers(*this, model, layer0);
    ensureBlockMarkers(*this, paper, layer0);

    const auto* nod = dynamic_cast<const Dictionary*>(peek(nod_));
    if (!nod || nod->isErased()) {
        addObject(std::make_unique<Dictionary>(), {}, &nod_);
        nod = dynamic_cast<const Dictionary*>(peek(nod_));
    }
    if (!nod->has(kGroupDictionary)) {
        ObjectPtr<Dictionary> writable(nod_, OpenMode::Write);
        if (writable) writable->setAt(kGroupDictionary, std::make_unique<Dictionary>());
    }

    if (!liveRecord<LayerTableRecord>(*this, clayer_)) clayer_ = layer0;
    if (!liveRecord<LinetypeTableRecord>(*this, celtype_)) celtype_ = byLayer;
    if (!liveRecord<TextStyleTableRecord>(*this, textStyle_)) textStyle_ = standard;
}

ObjectId Database::recordId(TableKind kind, std::string_view name) const {
    const auto* table = dynamic_cast<const SymbolTable*>(peek(tableId(kind)));
    return table ? table->getAt(name) : ObjectId();
}

std::string Database::recordName(ObjectId id) const {
    if (id.isNull()) return {};
    const auto* r = dynamic_cast<const SymbolTableRecord*>(id.database()->peek(id));
    return r ? r->name() : std::string();
}

namespace {

ObjectId layoutBlock(const Database& db, ObjectId& cached, const char* name) {
    const auto* block = dynamic_cast<const BlockTableRecord*>(db.peek(cached));
    // The stored name is nearly always spelled as asked: the same bytes spare the comparison without case.
    if (!block || block->isErased() || (block->name() != name && !sys::equalsNoCase(block->name(), name)))
        cached = db.recordId(TableKind::Block, name);
    return cached;
}

}  // namespace

ObjectId Database::modelSpaceId() const {
    return layoutBlock(*this, impl_->modelSpace, kModelSpace);
}

ObjectId Database::paperSpaceId() const {
    return layoutBlock(*this, impl_->paperSpace, kPaperSpace);
}

ObjectId Database::groupDictionaryId() const {
    const auto* nod = dynamic_cast<const Dictionary*>(peek(nod_));
    return nod ? nod->getAt(kGroupDictionary) : ObjectId();
}

// ---- current values

namespace {

template <class Record>
Status checkCurrentRecord(const Database& db, ObjectId id) {
    if (id.isNull()) return Status::NullObjectId;
    if (id.database() != &db) return Status::WrongDatabase;
    const DbObject* o = db.peek(id);
    if (!o) return Status::NullObjectId;
    if (!dynamic_cast<const Record*>(o)) return Status::KeyNotFound;  // a record of another table
    if (o->isErased()) return Status::WasErased;
    return Status::Ok;
}

}  // namespace

Status Database::setCurrentLayer(ObjectId layer) {
    const Status s = checkCurrentRecord<LayerTableRecord>(*this, layer);
    if (s != Status::Ok) return s;
    if (static_cast<const LayerTableRecord*>(peek(layer))->isFrozen()) return Status::NotApplicable;
    clayer_ = layer;
    return Status::Ok;
}

Status Database::setCurrentLinetype(ObjectId lt) {
    const Status s = checkCurrentRecord<LinetypeTableRecord>(*this, lt);
    if (s == Status::Ok) celtype_ = lt;
    return s;
}

Status Database::setCurrentTextStyle(ObjectId style) {
    const Status s = checkCurrentRecord<TextStyleTableRecord>(*this, style);
    if (s == Status::Ok) textStyle_ = style;
    return s;
}

}  // namespace host::db
