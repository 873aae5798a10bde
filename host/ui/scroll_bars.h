// Inside the window layer: the parts of a standard scroll bar (arrows, track, thumb) and what a click on each
// part means.
#pragma once

#include "host/ui/geometry.h"
#include "host/ui/window.h"

namespace host::ui {

struct ScrollBarParts {
    Rect bar, lowArrow, highArrow, track, thumb;  // window coordinates; thumb empty when there is none
};

// The parts of a window's bar (SB_HORZ or SB_VERT); all empty when the bar is hidden.
ScrollBarParts scrollBarParts(const Window& w, int bar);
// The SB_* code of a press at a screen point on the bar, or -1 (the thumb, a disabled part, outside).
int scrollCodeAt(const Window& w, int bar, Point screen);

}  // namespace host::ui
