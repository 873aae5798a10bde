// Copying entities as new objects through their DXF groups, so that one path serves copies within a drawing and
// copies between drawings (where every record an entity names must be found or made in the target).
#include "host/ed/commands/entity_copy.h"

#include "host/db/entity_groups.h"
#include "host/sys/text_case.h"

namespace host::ed {

namespace {

using db::ObjectId;
using db::OpenMode;
using db::Status;

constexpr int kXDataApp = 1001;
// The block flags a copied definition keeps: anonymous (1) and "has attribute definitions" (2). External
// reference flags are not copied: the copy is a plain definition.
constexpr int kCopiedBlockFlags = 1 | 2;

// Finds the records copied groups name through the copier, which makes them in the target when missing.
class CopyResolver : public db::RecordResolver {
public:
    CopyResolver(EntityCopier& copier, const db::Database& source) : copier_(copier), source_(source) {}
    ObjectId record(db::TableKind kind, std::string_view name) override {
        return copier_.targetRecord(source_, kind, name);
    }

private:
    EntityCopier& copier_;
    const db::Database& source_;
};

// A new entity with the groups of `source`, records resolved through `resolver`; nullptr with the failure in
// `status`.
std::unique_ptr<db::Entity> newEntityLike(const db::Entity& source, db::RecordResolver& resolver, Status& status) {
    db::ResBufList groups;
    db::ResBufSink sink(groups, source.database());
    db::writeEntityGroups(source, sink);
    std::unique_ptr<db::Entity> copy;
    if (const auto* opaque = dynamic_cast<const db::OpaqueEntity*>(&source))
        copy = std::make_unique<db::OpaqueEntity>(opaque->dxfName(), opaque->groups());
    else
        copy = db::newEntityForDxf(source.dxfName(), groups);
    if (!copy) {
        status = Status::InvalidInput;
        return nullptr;
    }
    status = db::applyEntityGroups(*copy, groups, resolver);
    if (status != Status::Ok) return nullptr;
    return copy;
}

// True for entities whose parts are objects of their own (vertices, attributes), which can only be added once
// the owner is in the database.
bool hasSubEntities(const db::Entity& e) {
    if (dynamic_cast<const db::PolylineWithVertices*>(&e)) return true;
    const auto* ref = dynamic_cast<const db::BlockReference*>(&e);
    return ref && !ref->attributeIds().empty();
}

Status eraseNew(ObjectId id) {
    db::ObjectPtr<db::DbObject> object(id, OpenMode::Write, true);
    return object ? object->erase() : object.status();
}

}  // namespace

Status EntityCopier::copy(const db::Entity& source, ObjectId block, const ge::Matrix3d& xform, ObjectId* newId) {
    if (block.database() != &target_) return Status::InvalidInput;
    const db::Database& sourceDb = source.database() ? *source.database() : target_;
    CopyResolver resolver(*this, sourceDb);
    Status status = Status::Ok;
    std::unique_ptr<db::Entity> entity = newEntityLike(source, resolver, status);
    if (!entity) return status;

    const bool identity = xform == ge::Matrix3d::identity();
    const bool composite = hasSubEntities(source);
    if (!identity && !composite) {
        status = entity->transformBy(xform);
        if (status != Status::Ok) return status;
    }
    if (!identity && dynamic_cast<const db::BlockReference*>(&source) && !xform.isUniScaledOrtho())
        return Status::NotApplicable;

    ObjectId id;
    {
        db::ObjectPtr<db::BlockTableRecord> owner(block, OpenMode::Write);
        if (!owner) return owner.status();
        status = owner->appendEntity(std::move(entity), &id);
        if (status != Status::Ok) return status;
    }

    if (composite) {
        db::ObjectPtr<db::Entity> added(id, OpenMode::Write);
        if (!added) return added.status();
        if (auto* pline = dynamic_cast<db::PolylineWithVertices*>(added.get())) {
            for (ObjectId v : dynamic_cast<const db::PolylineWithVertices&>(source).vertexIds()) {
                const auto* vertex = dynamic_cast<const db::Entity*>(sourceDb.peek(v));
                if (!vertex || vertex->isErased()) continue;
                std::unique_ptr<db::Entity> part = newEntityLike(*vertex, resolver, status);
                auto* typed = dynamic_cast<db::PolylineVertex*>(part.get());
                if (typed) {
                    part.release();
                    status = pline->appendVertex(std::unique_ptr<db::PolylineVertex>(typed));
                }
                if (status != Status::Ok) break;
            }
        } else if (auto* ref = dynamic_cast<db::BlockReference*>(added.get())) {
            for (ObjectId a : dynamic_cast<const db::BlockReference&>(source).attributeIds()) {
                const auto* attribute = dynamic_cast<const db::Entity*>(sourceDb.peek(a));
                if (!attribute || attribute->isErased()) continue;
                std::unique_ptr<db::Entity> part = newEntityLike(*attribute, resolver, status);
                auto* typed = dynamic_cast<db::Attribute*>(part.get());
                if (typed) {
                    part.release();
                    status = ref->appendAttribute(std::unique_ptr<db::Attribute>(typed));
                }
                if (status != Status::Ok) break;
            }
        }
        if (status == Status::Ok && !identity) status = added->transformBy(xform);
        if (status != Status::Ok) {
            added->erase();
            return status;
        }
    }

    status = copyExtendedData(source, id);
    if (status != Status::Ok) {
        eraseNew(id);
        return status;
    }
    if (newId) *newId = id;
    return Status::Ok;
}

Status EntityCopier::copyExtendedData(const db::Entity& source, ObjectId copyId) {
    const db::ResBufList xdata = source.xData();
    if (xdata.empty()) return Status::Ok;
    for (const db::ResBuf& rb : xdata) {
        if (rb.code != kXDataApp || !target_.recordId(db::TableKind::RegApp, rb.str()).isNull()) continue;
        db::ObjectPtr<db::SymbolTable> apps(target_.tableId(db::TableKind::RegApp), OpenMode::Write);
        if (!apps) return apps.status();
        const Status s = apps->add(std::make_unique<db::RegAppTableRecord>(rb.str()));
        if (s != Status::Ok) return s;
    }
    db::ObjectPtr<db::Entity> copy(copyId, OpenMode::Write);
    if (!copy) return copy.status();
    return copy->setXData(xdata);
}

ObjectId EntityCopier::targetRecord(const db::Database& source, db::TableKind kind, std::string_view name) {
    if (name.empty()) return {};
    const ObjectId found = target_.recordId(kind, name);
    if (!found.isNull() || &source == &target_) return found;
    const ObjectId sourceId = source.recordId(kind, name);
    if (sourceId.isNull()) return {};
    if (kind == db::TableKind::Block) {
        const auto* block = dynamic_cast<const db::BlockTableRecord*>(source.peek(sourceId));
        return block ? copyBlockDefinition(source, *block) : ObjectId();
    }
    return copyTableRecord(source, kind, sourceId);
}

ObjectId EntityCopier::copyTableRecord(const db::Database& source, db::TableKind kind, ObjectId sourceId) {
    const db::DbObject* object = source.peek(sourceId);
    std::unique_ptr<db::SymbolTableRecord> record;
    if (const auto* layer = dynamic_cast<const db::LayerTableRecord*>(object)) {
        auto copy = std::make_unique<db::LayerTableRecord>(layer->name());
        copy->setColor(layer->color());
        const ObjectId linetype = targetRecord(source, db::TableKind::Linetype, source.recordName(layer->linetypeId()));
        if (!linetype.isNull()) copy->setLinetypeId(linetype);
        copy->setIsOff(layer->isOff());
        copy->setIsFrozen(layer->isFrozen());
        copy->setIsLocked(layer->isLocked());
        copy->setIsPlottable(layer->isPlottable());
        copy->setLineWeight(layer->lineWeight());
        record = std::move(copy);
    } else if (const auto* linetype = dynamic_cast<const db::LinetypeTableRecord*>(object)) {
        auto copy = std::make_unique<db::LinetypeTableRecord>(linetype->name());
        copy->setDescription(linetype->description());
        copy->setDashes(linetype->dashes());
        copy->setComplexElements(linetype->complexElements());
        record = std::move(copy);
    } else if (const auto* style = dynamic_cast<const db::TextStyleTableRecord*>(object)) {
        auto copy = std::make_unique<db::TextStyleTableRecord>(style->name());
        copy->setFontFile(style->fontFile());
        copy->setBigFontFile(style->bigFontFile());
        copy->setTextSize(style->textSize());
        copy->setWidthFactor(style->widthFactor());
        copy->setObliquingAngle(style->obliquingAngle());
        copy->setPriorSize(style->priorSize());
        copy->setGenerationFlags(style->generationFlags());
        record = std::move(copy);
    } else {
        return {};  // the other tables are not named by entities we copy
    }
    db::ObjectPtr<db::SymbolTable> table(target_.tableId(kind), OpenMode::Write);
    if (!table) return {};
    ObjectId id;
    return table->add(std::move(record), &id) == Status::Ok ? id : ObjectId();
}

ObjectId EntityCopier::copyBlockDefinition(const db::Database& source, const db::BlockTableRecord& block) {
    const std::string key = sys::upperCase(block.name());
    if (block.isLayout() || !copyingBlocks_.insert(key).second) return {};
    auto record = std::make_unique<db::BlockTableRecord>(block.name());
    record->setOrigin(block.origin());
    record->setFlags(block.flags() & kCopiedBlockFlags);
    record->setInsertUnits(block.insertUnits());
    record->setDescription(block.description());
    ObjectId id;
    {
        db::ObjectPtr<db::SymbolTable> table(target_.tableId(db::TableKind::Block), OpenMode::Write);
        if (!table || table->add(std::move(record), &id) != Status::Ok) {
            copyingBlocks_.erase(key);
            return {};
        }
    }
    for (ObjectId e : block.entityIds()) {
        const auto* entity = dynamic_cast<const db::Entity*>(source.peek(e));
        if (!entity || dynamic_cast<const db::BlockBegin*>(entity) || dynamic_cast<const db::BlockEnd*>(entity))
            continue;
        if (copy(*entity, id, ge::Matrix3d::identity()) != Status::Ok) {
            eraseNew(id);
            id = {};
            break;
        }
    }
    copyingBlocks_.erase(key);
    return id;
}

}  // namespace host::ed
