// The static control ("Static"): a label (left, centred or right, wrapped at words unless SS_LEFTNOWORDWRAP or
// SS_SIMPLE, '&' marking a mnemonic unless SS_NOPREFIX), a picture showing a bitmap (SS_BITMAP), and the filled
// rectangles, frames and etched lines (SS_BLACKRECT ... SS_ETCHEDFRAME).
//
// A static takes no input: it answers HTTRANSPARENT, so clicks reach what lies under it, unless it has
// SS_NOTIFY; then a click sends STN_CLICKED and a double click STN_DBLCLK to the owner (WM_COMMAND).
// Setting the text a static already shows changes nothing and repaints nothing: dialogs that set label texts
// from their paint handlers do not paint without end.
//
// A picture (SS_BITMAP) takes its size from the bitmap it is given, unless SS_CENTERIMAGE keeps its size and
// centres the bitmap. Messages: STM_SETIMAGE (wParam IMAGE_BITMAP, lParam = const BitmapPtr*; answers the
// previous bitmap's Bitmap*, for comparison only) and STM_GETIMAGE (answers the Bitmap* shown).
#pragma once

#include <cstdint>

#include "host/ui/image.h"
#include "host/ui/window.h"

namespace host::ui {

class Static : public Window {
public:
    Static();
    ~Static() override;

    // The SS_* type (SS_TYPEMASK part of the style).
    std::uint32_t staticType() const;
    // The DT_* format the text is drawn with.
    unsigned textFormat() const;

    void setBitmap(BitmapPtr bitmap);
    const BitmapPtr& bitmap() const { return bitmap_; }

    std::intptr_t windowProc(Message& m) override;

private:
    void paint();

    BitmapPtr bitmap_;
};

}  // namespace host::ui
