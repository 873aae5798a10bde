// Block definitions: appending entities, their order, and the block's own values.
#include <cmath>

#include "host/db/database.h"
#include "host/sys/text_case.h"
#include "host/db/tables.h"

namespace host::db {

namespace {
constexpr std::string_view kModelSpace = "*Model_Space";
constexpr std::string_view kPaperSpacePrefix = "*Paper_Space";  // "*Paper_Space", "*Paper_Space0", ...
constexpr int kMaxInsUnits = 24;                                 // the last INSUNITS code (parsecs)

// Names compared without regard to case; the same bytes (the usual case) answer without decoding either name.
bool sameName(std::string_view a, std::string_view b) {
    return a == b || sys::equalsNoCase(a, b);
}
}  // namespace

// The entity takes the database's current properties unless it arrives with a layer (a copy, an explode).
Status BlockTableRecord::appendEntity(std::unique_ptr<Entity> entity, ObjectId* id) {
    if (!entity) return Status::InvalidInput;
    Database* db = database();
    if (!db) return Status::NotInDatabase;
    if (!isWriteEnabled()) return Status::NotOpenForWrite;
    if (!entity->isNewObject()) return Status::AlreadyInDb;
    if (entity->layerId().isNull()) entity->setPropertiesFrom(*db);
    entity->setPaperSpace(!sameName(name(), kModelSpace) && isLayout());
    ObjectId added;
    const Status s = db->addObject(std::move(entity), objectId(), &added);
    if (s != Status::Ok) return s;
    entities_.push_back(added);
    if (id) *id = added;
    return Status::Ok;
}

std::vector<ObjectId> BlockTableRecord::entityIds(bool includeErased) const {
    if (includeErased) return entities_;
    std::vector<ObjectId> out;
    out.reserve(entities_.size());
    for (ObjectId id : entities_) {
        if (!id.isErased()) out.push_back(id);
    }
    return out;
}

Status BlockTableRecord::setOrigin(const ge::Point3d& p) {
    if (!isWriteEnabled()) return Status::NotOpenForWrite;
    if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) return Status::InvalidInput;
    origin_ = p;
    return Status::Ok;
}

bool BlockTableRecord::isLayout() const {
    const std::string& n = name();
    return sameName(n, kModelSpace) ||
           (n.size() >= kPaperSpacePrefix.size() &&
            sys::equalsNoCase(std::string_view(n).substr(0, kPaperSpacePrefix.size()), kPaperSpacePrefix));
}

Status BlockTableRecord::setInsertUnits(int u) {
    if (!isWriteEnabled()) return Status::NotOpenForWrite;
    if (u < 0 || u > kMaxInsUnits) return Status::InvalidInput;
    insUnits_ = u;
    return Status::Ok;
}

Status BlockTableRecord::setDescription(std::string d) {
    if (!isWriteEnabled()) return Status::NotOpenForWrite;
    description_ = std::move(d);
    return Status::Ok;
}

Status BlockTableRecord::setXrefPath(std::string p) {
    if (!isWriteEnabled()) return Status::NotOpenForWrite;
    xref_ = std::move(p);
    return Status::Ok;
}

}  // namespace host::db
