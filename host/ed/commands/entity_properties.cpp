// Passing an entity's drawing properties on to the entities that replace it or are cut from it.
#include "host/ed/commands/entity_properties.h"

namespace host::ed {

void copyDrawingProperties(db::Entity& to, const db::Entity& from) {
    if (!from.layerId().isNull()) to.setLayer(from.layerId());
    to.setColor(from.color());
    if (!from.linetypeId().isNull()) to.setLinetype(from.linetypeId());
    to.setLinetypeScale(from.linetypeScale());
    to.setLineWeight(from.lineWeight());
    to.setVisible(from.isVisible());
}

}  // namespace host::ed
