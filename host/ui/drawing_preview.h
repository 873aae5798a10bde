// The preview of a drawing file: its model space seen from above, scaled to fit a picture control, black on
// white. The file dialogs that choose drawings show it, and so do the dialogs that list drawings.
//
// The picture is made from the drawing itself (the host keeps no stored thumbnail): lines, arcs, circles,
// polylines and the boxes of texts, as the entities' outlines give them; block references are not followed.
#pragma once

#include <filesystem>
#include <memory>

#include "host/ui/image.h"

namespace host::ui {

class Window;

// A picture of `width` x `height` pixels of the drawing in `path`, nullptr when the file cannot be read as a
// drawing. An empty drawing gives a blank picture.
BitmapPtr makeDrawingPreview(const std::filesystem::path& path, int width, int height);

// Shows the drawing's preview in a picture control (a static of type SS_BITMAP, SS_CENTERIMAGE): the control
// keeps its size and shows the picture. False, and the control shows nothing, when the file cannot be read or
// the control is not a static.
bool displayPreviewFromDrawing(const std::filesystem::path& path, Window& area);

}  // namespace host::ui
