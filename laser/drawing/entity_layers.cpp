// Layer and line type of an entity and of what it owns.
#include "laser/drawing/entity_layers.h"

#include "host/db/database.h"
#include "host/db/entities.h"

std::vector<host::db::ObjectId> SubEntities(const host::db::Entity& entity) {
    if (const auto* polyline = dynamic_cast<const host::db::PolylineWithVertices*>(&entity)) {
        return polyline->vertexIds();
    }
    if (const auto* reference = dynamic_cast<const host::db::BlockReference*>(&entity)) {
        return reference->attributeIds();
    }
    return {};
}

void SetLayerAndLinetype(host::db::Entity& entity, std::string_view layer, std::string_view linetype) {
    entity.setLayer(layer);
    entity.setLinetype(linetype);
}

void SetSubEntitiesLayerAndLinetype(const std::vector<host::db::ObjectId>& owned, std::string_view layer,
                                    std::string_view linetype) {
    for (const host::db::ObjectId sub : owned) {
        host::db::ObjectPtr<host::db::Entity> part(sub, host::db::OpenMode::Write);
        if (part) SetLayerAndLinetype(*part, layer, linetype);
    }
}
