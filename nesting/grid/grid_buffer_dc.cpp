// The grid's off-screen drawing surface.
#include "nesting/grid/grid_buffer_dc.h"

#include <memory>

#include "host/ui/image.h"

CGridBufferDC::CGridBufferDC(host::ui::DC& target) : MemoryDC(target), target_(target), area_(target.clipBox()) {
    if (area_.isEmpty()) return;
    bitmap_ = std::make_shared<host::ui::Bitmap>(area_.width(), area_.height());
    previous_ = selectBitmap(bitmap_);
    setWindowOrg(area_.topLeft());
    fillSolidRect(area_, target.bkColor());
}

CGridBufferDC::~CGridBufferDC() {
    if (!bitmap_) return;
    target_.bitBlt(area_.left, area_.top, area_.width(), area_.height(), *this, area_.left, area_.top,
                   host::ui::SRCCOPY);
    selectBitmap(previous_);
}
