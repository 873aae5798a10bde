// Inside the window layer: drawing one recorded call into pixels. The raster is one more reader of the records:
// it draws what a record says, with the system colours for edges and frame controls.
#pragma once

#include "host/ui/dc.h"
#include "host/ui/image.h"
#include "host/ui/system_tables.h"

namespace host::ui::detail {

// Draws `record` into `image`, clipped to record.clip and to the image.
void rasterize(const DrawRecord& record, Image& image, const SystemTables& system);

// Pieces the non-client painter also uses.
void drawEdgePixels(Image& image, const Rect& r, unsigned edge, unsigned sides, const Rect& clip,
                    const SystemTables& system);
void drawFrameControlPixels(Image& image, const Rect& r, unsigned type, unsigned state, const Rect& clip,
                            const SystemTables& system);
void drawTextPixels(Image& image, const DrawRecord& text, const Rect& clip);

}  // namespace host::ui::detail
