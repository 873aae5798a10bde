// Block definitions: purging unused ones, defining one from entities, reading a drawing file into one, references.
#include "host/ed/commands/block_edit.h"

#include <algorithm>
#include <set>
#include <system_error>

#include "host/dxf/dxf_file.h"
#include "host/ed/commands/entity_copy.h"
#include "host/ed/transcript.h"
#include "host/ed/wildcard.h"
#include "host/sys/paths.h"
#include "host/sys/text_case.h"

namespace host::ed {

namespace {

using db::ObjectId;
using db::OpenMode;
using db::Status;

constexpr std::string_view kDrawingExtension = ".dxf";
constexpr int kBlockFlagXref = 4;

const db::BlockTableRecord* blockRecord(const db::Database& database, ObjectId id) {
    return dynamic_cast<const db::BlockTableRecord*>(database.peek(id));
}

std::vector<ObjectId> blockIds(const db::Database& database) {
    const auto* table = dynamic_cast<const db::SymbolTable*>(database.peek(database.tableId(db::TableKind::Block)));
    return table ? table->recordIds() : std::vector<ObjectId>();
}

// The definitions in use: those live references reach from the layouts, following nested references.
std::set<ObjectId> usedBlocks(const db::Database& database) {
    std::set<ObjectId> used;
    std::vector<ObjectId> todo;
    for (ObjectId id : blockIds(database)) {
        const db::BlockTableRecord* b = blockRecord(database, id);
        if (b && b->isLayout()) todo.push_back(id);
    }
    // Each definition is walked once, so a definition that (wrongly) holds itself cannot loop.
    std::set<ObjectId> walked;
    while (!todo.empty()) {
        const ObjectId id = todo.back();
        todo.pop_back();
        if (!walked.insert(id).second) continue;
        const db::BlockTableRecord* b = blockRecord(database, id);
        if (!b) continue;
        for (ObjectId e : b->entityIds()) {
            const auto* ref = dynamic_cast<const db::BlockReference*>(database.peek(e));
            if (!ref || ref->blockTableRecord().isNull()) continue;
            used.insert(ref->blockTableRecord());
            todo.push_back(ref->blockTableRecord());
        }
    }
    return used;
}

bool isPurgeable(const db::BlockTableRecord& b) {
    return !b.isLayout() && !b.isAnonymous() && !b.isDependent() && (b.flags() & kBlockFlagXref) == 0 &&
           !b.name().empty() && b.name().front() != '*';
}

Status eraseObject(ObjectId id) {
    db::ObjectPtr<db::DbObject> object(id, OpenMode::Write);
    return object ? object->erase() : object.status();
}

// True when `block` is `target` or holds a reference that reaches it.
bool reaches(const db::Database& database, ObjectId block, ObjectId target, std::set<ObjectId>& walked) {
    if (block == target) return true;
    if (!walked.insert(block).second) return false;
    const db::BlockTableRecord* b = blockRecord(database, block);
    if (!b) return false;
    for (ObjectId e : b->entityIds()) {
        const auto* ref = dynamic_cast<const db::BlockReference*>(database.peek(e));
        if (ref && reaches(database, ref->blockTableRecord(), target, walked)) return true;
    }
    return false;
}

// True when a block may be named so (the rules of the block table, checked on a record of no table).
bool isValidBlockName(std::string_view name) {
    db::BlockTableRecord probe;
    return probe.setName(std::string(name)) == Status::Ok && !probe.isLayout() && name.front() != '*';
}

}  // namespace

std::vector<std::string> unusedBlocks(const db::Database& database, std::string_view pattern) {
    std::vector<std::string> names;
    const std::set<ObjectId> used = usedBlocks(database);
    for (ObjectId id : blockIds(database)) {
        const db::BlockTableRecord* b = blockRecord(database, id);
        if (b && !used.count(id) && isPurgeable(*b) && wildcardMatch(b->name(), pattern, true))
            names.push_back(b->name());
    }
    return names;
}

std::vector<std::string> purgeBlocks(db::Database& database, const std::vector<std::string>& names) {
    const std::vector<std::string> unused = unusedBlocks(database);
    std::set<ObjectId> going;
    for (const std::string& name : names) {
        const bool isUnused = std::any_of(unused.begin(), unused.end(),
                                          [&](const std::string& u) { return sys::equalsNoCase(u, name); });
        if (isUnused) going.insert(database.recordId(db::TableKind::Block, name));
    }
    // A definition that stays and refers to one that would go keeps it; repeat until nothing more is kept.
    for (bool kept = true; kept;) {
        kept = false;
        for (ObjectId id : blockIds(database)) {
            if (going.count(id)) continue;
            const db::BlockTableRecord* b = blockRecord(database, id);
            for (ObjectId e : b ? b->entityIds() : std::vector<ObjectId>()) {
                const auto* ref = dynamic_cast<const db::BlockReference*>(database.peek(e));
                if (ref && going.erase(ref->blockTableRecord())) kept = true;
            }
        }
    }
    std::vector<std::string> purged;
    for (ObjectId id : blockIds(database)) {
        if (!going.count(id)) continue;
        const std::string name = blockRecord(database, id)->name();
        for (ObjectId e : blockRecord(database, id)->entityIds()) eraseObject(e);
        if (eraseObject(id) == Status::Ok) purged.push_back(name);
    }
    return purged;
}

std::vector<std::string> purgeUnusedBlocks(db::Database& database, std::string_view pattern) {
    return purgeBlocks(database, unusedBlocks(database, pattern));
}

bool isBlockReferenced(const db::Database& database, ObjectId block) { return usedBlocks(database).count(block) > 0; }

DefineBlockOutcome defineBlock(db::Database& database, std::string_view name, const ge::Point3d& base,
                               const std::vector<ObjectId>& entities, bool redefine, ObjectId* block) {
    if (name.empty() || !isValidBlockName(name)) return DefineBlockOutcome::InvalidName;
    ObjectId id = database.recordId(db::TableKind::Block, name);
    if (!id.isNull()) {
        if (!redefine) return DefineBlockOutcome::Exists;
        const db::BlockTableRecord* b = blockRecord(database, id);
        if (!b || !isPurgeable(*b)) return DefineBlockOutcome::InvalidName;
    }
    std::vector<const db::Entity*> sources;
    for (ObjectId e : entities) {
        if (e.database() != &database) continue;
        const auto* entity = dynamic_cast<const db::Entity*>(database.peek(e));
        if (!entity || entity->isErased()) continue;
        if (std::find(sources.begin(), sources.end(), entity) != sources.end()) continue;
        if (const auto* ref = dynamic_cast<const db::BlockReference*>(entity); ref && !id.isNull()) {
            std::set<ObjectId> walked;
            if (reaches(database, ref->blockTableRecord(), id, walked)) return DefineBlockOutcome::SelfReference;
        }
        sources.push_back(entity);
    }
    if (sources.empty()) return DefineBlockOutcome::NothingToAdd;

    const bool existed = !id.isNull();
    if (existed) {
        db::ObjectPtr<db::BlockTableRecord> b(id, OpenMode::Write);
        if (!b) return DefineBlockOutcome::Failed;
        for (ObjectId e : b->entityIds()) eraseObject(e);
        b->setOrigin(base);
    } else {
        auto record = std::make_unique<db::BlockTableRecord>(std::string(name));
        record->setOrigin(base);
        db::ObjectPtr<db::SymbolTable> table(database.tableId(db::TableKind::Block), OpenMode::Write);
        if (!table || table->add(std::move(record), &id) != Status::Ok) return DefineBlockOutcome::Failed;
    }
    EntityCopier copier(database);
    for (const db::Entity* e : sources) {
        if (copier.copy(*e, id, ge::Matrix3d::identity()) != Status::Ok) return DefineBlockOutcome::Failed;
    }
    for (const db::Entity* e : sources) eraseObject(e->objectId());
    if (block) *block = id;
    return existed ? DefineBlockOutcome::Redefined : DefineBlockOutcome::Defined;
}

std::optional<std::filesystem::path> findDrawingFile(std::string_view name, const db::Database& current) {
    if (name.empty()) return std::nullopt;
    std::string stored(name);
    if (sys::extensionOf(stored).empty()) stored += kDrawingExtension;
    std::vector<std::filesystem::path> candidates{sys::resolveDrawingPath(stored)};
    const std::filesystem::path native = sys::toNativePath(stored);
    if (native.is_relative() && !current.fileName().empty()) {
        const std::string inFolder = (current.fileName().parent_path() / native).string();
        candidates.push_back(sys::resolveDrawingPath(inFolder));
    }
    for (const std::filesystem::path& p : candidates) {
        std::error_code ec;
        if (std::filesystem::is_regular_file(p, ec)) return p;
    }
    return std::nullopt;
}

ObjectId blockForInsert(db::Database& database, std::string_view name, std::string* error) {
    // A block of the very name given comes first: "Part_100.5x50" names a block, not the file "Part_100.5x50" of
    // block "Part_100".
    if (!name.empty() && isValidBlockName(name)) {
        if (ObjectId existing = database.recordId(db::TableKind::Block, name); !existing.isNull()) return existing;
    }
    const std::string blockName(sys::stemOf(name));
    const auto fail = [&](std::string message) {
        if (error) *error = std::move(message);
        return ObjectId();
    };
    if (blockName.empty() || !isValidBlockName(blockName))
        return fail("\"" + std::string(name) + "\" cannot be a block name.");
    if (ObjectId existing = database.recordId(db::TableKind::Block, blockName); !existing.isNull()) return existing;

    const std::optional<std::filesystem::path> file = findDrawingFile(name, database);
    if (!file) return fail("Cannot find the drawing file \"" + std::string(name) + "\".");
    const dxf::ReadResult read = dxf::readDxfFile(*file);
    if (!read) return fail(read.error);
    // What the reader repaired is told here too, as when the drawing is opened.
    for (const std::string& note : read.notes) print("\n" + note);
    const db::Database& source = *read.database;

    auto record = std::make_unique<db::BlockTableRecord>(blockName);
    record->setOrigin(source.header().insBase);
    record->setInsertUnits(source.header().insUnits);
    ObjectId id;
    {
        db::ObjectPtr<db::SymbolTable> table(database.tableId(db::TableKind::Block), OpenMode::Write);
        if (!table || table->add(std::move(record), &id) != Status::Ok)
            return fail("The block \"" + blockName + "\" cannot be defined.");
    }
    EntityCopier copier(database);
    const db::BlockTableRecord* ms = blockRecord(source, source.modelSpaceId());
    for (ObjectId e : ms ? ms->entityIds() : std::vector<ObjectId>()) {
        const auto* entity = dynamic_cast<const db::Entity*>(source.peek(e));
        if (!entity) continue;
        const Status s = copier.copy(*entity, id, ge::Matrix3d::identity());
        if (s != Status::Ok) {
            eraseObject(id);
            return fail(file->string() + ": an entity (" + entity->dxfName() + " " + entity->handle().text() +
                        ") cannot be copied: " + db::statusText(s));
        }
    }
    return id;
}

Status insertBlock(db::Database& database, ObjectId block, const ge::Point3d& position, const ge::Vector3d& scale,
                   double rotation, ObjectId* reference) {
    if (!blockRecord(database, block)) return Status::InvalidInput;
    auto ref = std::make_unique<db::BlockReference>(position, block);
    Status s = ref->setScaleFactors(scale);
    if (s == Status::Ok) s = ref->setRotation(rotation);
    if (s != Status::Ok) return s;
    db::ObjectPtr<db::BlockTableRecord> ms(database.modelSpaceId(), OpenMode::Write);
    if (!ms) return ms.status();
    return ms->appendEntity(std::move(ref), reference);
}

}  // namespace host::ed
