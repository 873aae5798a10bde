// The grid's off-screen drawing surface: a memory DC the size of a target DC's clip box that copies its picture
// to the target in one block when it goes.
#pragma once

#include "host/ui/dc.h"
#include "host/ui/geometry.h"

class CGridBufferDC : public host::ui::MemoryDC {
public:
    // Covers the target's clip box, with logical coordinates the target's, filled with its background colour.
    explicit CGridBufferDC(host::ui::DC& target);
    // Copies the picture to the same place of the target (SRCCOPY).
    ~CGridBufferDC() override;
    CGridBufferDC(const CGridBufferDC&) = delete;
    CGridBufferDC& operator=(const CGridBufferDC&) = delete;

    const host::ui::Rect& Area() const { return area_; }

private:
    host::ui::DC& target_;
    host::ui::BitmapPtr bitmap_;
    host::ui::BitmapPtr previous_;
    host::ui::Rect area_;
};
