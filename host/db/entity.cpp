// The entity base: layer, colour, line type, line-type scale, visibility and lineweight, and the extents box.
#include "host/db/entity.h"

#include <algorithm>
#include <cmath>

#include "host/db/database.h"
#include "host/db/entity_geometry.h"

namespace host::db {

namespace {

// The lineweights a drawing file may hold, in 1/100 mm, besides the three "by" values below.
constexpr int kLineWeights[] = {0,  5,  9,  13, 15, 18, 20,  25,  30,  35,  40,  50,
                                53, 60, 70, 80, 90, 100, 106, 120, 140, 158, 200, 211};
constexpr int kLineWeightByLayer = -1, kLineWeightByBlock = -2, kLineWeightDefault = -3;
constexpr std::uint32_t kMaxRgb = 0xFFFFFF;
constexpr int kColorByEntity = 257;  // the index stored beside a true colour

// Where a name is looked up: the entity's drawing, or for a new entity the working drawing.
Database* lookupDatabase(const Entity& e) { return e.database() ? e.database() : workingDatabase(); }

}  // namespace

void Extents::add(const ge::Point3d& p) {
    min = {std::min(min.x, p.x), std::min(min.y, p.y), std::min(min.z, p.z)};
    max = {std::max(max.x, p.x), std::max(max.y, p.y), std::max(max.z, p.z)};
}

void Extents::add(const Extents& e) {
    add(e.min);
    add(e.max);
}

std::string Entity::layer() const {
    if (layer_.isNull()) return "0";
    return layer_.database()->recordName(layer_);
}

Status Entity::setLayer(ObjectId layer) {
    assertWriteEnabled();
    const Status s = detail::checkRecord<LayerTableRecord>(*this, layer);
    if (s != Status::Ok) return s;
    layer_ = layer;
    return Status::Ok;
}

Status Entity::setLayer(std::string_view name) {
    assertWriteEnabled();
    Database* db = lookupDatabase(*this);
    if (!db) return Status::NotInDatabase;
    const ObjectId id = db->recordId(TableKind::Layer, name);
    if (id.isNull()) return Status::KeyNotFound;
    return setLayer(id);
}

Status Entity::setColor(const Color& c) {
    assertWriteEnabled();
    if (c.index < Color::kByBlock || c.index > kColorByEntity) return Status::InvalidInput;
    if (c.rgb && *c.rgb > kMaxRgb) return Status::InvalidInput;
    if (!c.rgb && c.index == kColorByEntity) return Status::InvalidInput;  // "by entity" needs its colour
    color_ = c;
    return Status::Ok;
}

Status Entity::setColorIndex(int aci) {
    assertWriteEnabled();
    if (aci < Color::kByBlock || aci > Color::kByLayer) return Status::InvalidInput;
    color_ = Color::fromIndex(aci);
    return Status::Ok;
}

std::string Entity::linetype() const {
    if (linetype_.isNull()) return "ByLayer";
    return linetype_.database()->recordName(linetype_);
}

Status Entity::setLinetype(ObjectId linetype) {
    assertWriteEnabled();
    const Status s = detail::checkRecord<LinetypeTableRecord>(*this, linetype);
    if (s != Status::Ok) return s;
    linetype_ = linetype;
    return Status::Ok;
}

Status Entity::setLinetype(std::string_view name) {
    assertWriteEnabled();
    Database* db = lookupDatabase(*this);
    if (!db) return Status::NotInDatabase;
    const ObjectId id = db->recordId(TableKind::Linetype, name);
    if (id.isNull()) return Status::KeyNotFound;
    return setLinetype(id);
}

Status Entity::setLinetypeScale(double s) {
    assertWriteEnabled();
    if (!(s > 0.0) || !std::isfinite(s)) return Status::InvalidInput;
    ltscale_ = s;
    return Status::Ok;
}

void Entity::rememberObjectPoint(int code, const ge::Vector3d& plane, const ge::Point3d& object,
                                 const ge::Point3d& world) {
    const auto unit = detail::unitNormal(plane);
    auto it = std::find_if(objectPoints_.begin(), objectPoints_.end(),
                           [code](const ObjectPoint& p) { return p.code == code; });
    if (!unit) {
        if (it != objectPoints_.end()) objectPoints_.erase(it);
        return;
    }
    const ObjectPoint point{code, *unit, object, world};
    if (it != objectPoints_.end())
        *it = point;
    else
        objectPoints_.push_back(point);
}

std::optional<ge::Point3d> Entity::rememberedObjectPoint(int code, const ge::Vector3d& normal,
                                                         const ge::Point3d& world) const {
    for (const ObjectPoint& p : objectPoints_)
        if (p.code == code && p.normal == normal && p.world == world) return p.object;
    return std::nullopt;
}

Status Entity::setVisible(bool visible) {
    assertWriteEnabled();
    visible_ = visible;
    return Status::Ok;
}

Status Entity::setLineWeight(int weight) {
    assertWriteEnabled();
    const bool byValue = weight == kLineWeightByLayer || weight == kLineWeightByBlock || weight == kLineWeightDefault;
    if (!byValue && std::find(std::begin(kLineWeights), std::end(kLineWeights), weight) == std::end(kLineWeights))
        return Status::InvalidInput;
    lineweight_ = weight;
    return Status::Ok;
}

void Entity::setPropertiesFrom(const Database& db) {
    assertWriteEnabled();
    layer_ = db.currentLayer();
    linetype_ = db.currentLinetype();
    color_ = db.header().ceColor;
    ltscale_ = db.header().celtScale;
}

}  // namespace host::db
