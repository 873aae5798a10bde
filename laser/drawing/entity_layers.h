// Moving one entity onto a layer with a line type, together with the entities it owns that carry a layer of their
// own (the vertices of a polyline with vertex objects, the attributes of a block reference).
#pragma once

#include <string_view>
#include <vector>

#include "host/db/entity.h"

// The vertices of a polyline with vertex objects, the attributes of a block reference; none for other entities.
std::vector<host::db::ObjectId> SubEntities(const host::db::Entity& entity);

// Gives the entity (open for write) the layer and the line type; a layer or line type the drawing lacks is passed
// over and the entity keeps that property as it was.
void SetLayerAndLinetype(host::db::Entity& entity, std::string_view layer, std::string_view linetype);

// SetLayerAndLinetype on each of `owned` (ids of sub-entities read while their owner was open), each opened for
// write on its own; one that cannot be opened is passed over.
void SetSubEntitiesLayerAndLinetype(const std::vector<host::db::ObjectId>& owned, std::string_view layer,
                                    std::string_view linetype);
