// The device context and the paint cycle: update areas, WM_ERASEBKGND and WM_PAINT, recorded calls in client
// coordinates, immediate drawing, pixels at the exclusive edges, saved states, origins, memory DCs and BitBlt.
#include <gtest/gtest.h>

#include "host/ui/dc.h"
#include "host/ui/desktop.h"
#include "host/ui/tests/ui_test_window.h"

namespace host::ui {
namespace {

using testing::LoggingWindow;

// A window that draws what `paint` says in its WM_PAINT.
struct Canvas : LoggingWindow {
    std::function<void(PaintDC&)> paint;
    Rect lastPaintRect{};
    Canvas() {
        onMessage = [this](Message& m, std::intptr_t&) {
            if (m.id != WM_PAINT) return false;
            PaintDC dc(*this);
            lastPaintRect = dc.paintRect();
            if (paint) paint(dc);
            return true;
        };
    }
};

struct DcFixture : ::testing::Test {
    Desktop desktop;
    Canvas w;
    void SetUp() override {
        ASSERT_TRUE(testing::createPopup(w, Rect{0, 0, 200, 100}));
        desktop.pumpUntilIdle();
        w.log.clear();
        w.clearDisplayList();
        desktop.clearInvalidations();
    }
};

TEST_F(DcFixture, InvalidationsCollectAndOnePaintCoversTheirBox) {
    w.invalidateRect(Rect{10, 10, 20, 20});
    w.invalidateRect(Rect{150, 50, 250, 60}, false);  // clipped to the client area
    EXPECT_EQ(w.updateRects(), (std::vector<Rect>{{10, 10, 20, 20}, {150, 50, 200, 60}}));
    ASSERT_EQ(desktop.invalidations().size(), 2u);
    EXPECT_EQ(desktop.invalidations()[1].rect, (Rect{150, 50, 200, 60}));
    EXPECT_FALSE(desktop.invalidations()[1].erase);
    desktop.pumpUntilIdle();
    EXPECT_EQ(w.ids(), (std::vector<unsigned>{WM_PAINT, WM_ERASEBKGND}));
    EXPECT_EQ(w.lastPaintRect, (Rect{10, 10, 200, 60}));
    EXPECT_FALSE(w.hasUpdate());
    // The default erase filled the paint box with the class colour, through the paint DC.
    ASSERT_EQ(w.displayList().size(), 1u);
    EXPECT_EQ(w.displayList()[0].op, DrawOp::FillRect);
    EXPECT_EQ(w.displayList()[0].rect, (Rect{10, 10, 200, 60}));
    EXPECT_EQ(w.displayList()[0].color, desktop.sysColor(COLOR_WINDOW));
    EXPECT_EQ(w.displayList()[0].source, DrawSource::Paint);

    w.log.clear();
    w.invalidateRect(Rect{0, 0, 5, 5}, false);
    desktop.pumpUntilIdle();
    EXPECT_EQ(w.ids(), (std::vector<unsigned>{WM_PAINT}));  // no erase asked
    w.invalidateRect(Rect{300, 300, 400, 400});  // wholly outside: nothing to paint
    EXPECT_FALSE(w.hasUpdate());
}

TEST_F(DcFixture, PaintHandlersThatNeverPaintOrNeverSettle) {
    // A handler that ignores WM_PAINT would be asked again for ever; its window counts as painted.
    w.onMessage = [](Message& m, std::intptr_t&) { return m.id == WM_PAINT; };
    w.invalidate();
    EXPECT_EQ(desktop.pumpUntilIdle(), PumpResult::Idle);
    EXPECT_EQ(w.count(WM_PAINT), 1);
    // One that invalidates itself in every paint never settles; the pump says so instead of hanging.
    w.onMessage = [this](Message& m, std::intptr_t&) {
        if (m.id != WM_PAINT) return false;
        PaintDC dc(w);
        w.invalidate();
        return true;
    };
    w.invalidate();
    EXPECT_EQ(desktop.pumpUntilIdle(), PumpResult::Unsettled);
}

TEST_F(DcFixture, ClientDcDrawsAtOnceTaggedImmediate) {
    ClientDC dc(w);
    EXPECT_EQ(dc.clipBox(), (Rect{0, 0, 200, 100}));
    dc.fillSolidRect(Rect{1, 2, 3, 4}, rgb(255, 255, 0));
    ASSERT_EQ(w.displayList().size(), 1u);
    EXPECT_EQ(w.displayList()[0].source, DrawSource::Immediate);
    EXPECT_EQ(w.displayList()[0].color, rgb(255, 255, 0));
    EXPECT_FALSE(w.hasUpdate());
}

TEST_F(DcFixture, RectanglesAndLinesLeaveOutTheirFarEdges) {
    desktop.setRasterEnabled(true);
    desktop.pumpUntilIdle();
    ClientDC dc(w);
    const ColorRef red = rgb(255, 0, 0), blue = rgb(0, 0, 255);
    dc.fillRect(Rect{2, 2, 5, 4}, Brush::solid(red));
    dc.selectPen(Pen::solid(blue));
    dc.moveTo({10, 10});
    dc.lineTo({15, 10});
    dc.moveTo({20, 10});
    dc.lineTo({20, 13});
    struct Probe {
        int x, y;
        ColorRef expected;
    };
    const ColorRef white = rgb(255, 255, 255);
    const Probe probes[] = {{2, 2, red},     {4, 3, red},   {5, 3, white},  {4, 4, white}, {1, 2, white},
                            {10, 10, blue},  {14, 10, blue}, {15, 10, white}, {20, 12, blue}, {20, 13, white}};
    for (const Probe& p : probes) EXPECT_EQ(dc.pixel({p.x, p.y}), p.expected) << p.x << "," << p.y;
    EXPECT_EQ(dc.pixel({500, 500}), CLR_INVALID);
}

TEST_F(DcFixture, SaveAndRestoreBringBackObjectsColoursAndOrigin) {
    ClientDC dc(w);
    const Font big = Font::create(LogFont{.height = -20});
    dc.selectPen(Pen::solid(rgb(1, 2, 3), 2));
    dc.setTextColor(rgb(9, 9, 9));
    const int first = dc.save();
    EXPECT_EQ(first, 1);
    dc.selectPen(Pen::null());
    dc.selectBrush(Brush::null());
    dc.selectFont(big);
    dc.setTextColor(rgb(200, 0, 0));
    dc.setBkMode(TRANSPARENT);
    dc.setWindowOrg({5, 5});
    EXPECT_EQ(dc.save(), 2);
    dc.setTextColor(rgb(0, 200, 0));
    EXPECT_TRUE(dc.restore(-1));
    EXPECT_EQ(dc.textColor(), rgb(200, 0, 0));
    EXPECT_TRUE(dc.font() == big);
    EXPECT_TRUE(dc.restore(first));
    EXPECT_EQ(dc.pen(), Pen::solid(rgb(1, 2, 3), 2));
    EXPECT_EQ(dc.brush(), Brush::solid(rgb(255, 255, 255)));
    EXPECT_TRUE(dc.font().isNull());
    EXPECT_EQ(dc.textColor(), rgb(9, 9, 9));
    EXPECT_EQ(dc.bkMode(), OPAQUE);
    EXPECT_EQ(dc.windowOrg(), (Point{0, 0}));
    EXPECT_FALSE(dc.restore(-1));  // nothing saved any more
    EXPECT_FALSE(dc.restore(3));
}

TEST_F(DcFixture, OriginsAndClipMapLogicalToClientCoordinates) {
    ClientDC dc(w);
    dc.setWindowOrg({30, 0});  // the horizontal scroll of a table: column x = 30 is at the left edge
    dc.fillRect(Rect{30, 0, 40, 10}, Brush::solid(0));
    EXPECT_EQ(w.displayList()[0].rect, (Rect{0, 0, 10, 10}));
    EXPECT_EQ(dc.clipBox(), (Rect{30, 0, 230, 100}));
    EXPECT_TRUE(dc.intersectClipRect(Rect{40, 10, 60, 20}));
    EXPECT_EQ(dc.clipBox(), (Rect{40, 10, 60, 20}));
    dc.fillRect(Rect{30, 0, 40, 10}, Brush::solid(0));
    EXPECT_EQ(w.displayList()[1].clip, (Rect{10, 10, 30, 20}));
    EXPECT_FALSE(dc.intersectClipRect(Rect{0, 0, 1, 1}));
}

// The double buffer of a table's paint: cells drawn into a memory bitmap the size of the clip box, with the
// window origin at the clip box, then one BitBlt. The window still sees each cell's text at its own place.
TEST_F(DcFixture, MemoryDrawingReachesTheWindowThroughBitBlt) {
    desktop.setRasterEnabled(true);
    desktop.pumpUntilIdle();
    w.clearDisplayList();
    w.paint = [](PaintDC& dc) {
        const Rect box = dc.clipBox();
        MemoryDC memory(dc);
        memory.selectBitmap(std::make_shared<Bitmap>(box.width(), box.height()));
        memory.setWindowOrg(box.topLeft());
        memory.fillRect(Rect{40, 20, 100, 38}, Brush::solid(rgb(255, 255, 0)));
        memory.drawText("7", Rect{40, 20, 100, 38}, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
        memory.fillRect(Rect{0, 0, 10, 10}, Brush::solid(0));  // outside the block copied: not published
        dc.bitBlt(box.left, box.top, box.width(), box.height(), memory, box.left, box.top, SRCCOPY);
    };
    w.invalidateRect(Rect{30, 15, 120, 45}, false);
    desktop.pumpUntilIdle();
    const auto blits = w.displayList().ofKind(DrawOp::BitBlt);
    ASSERT_EQ(blits.size(), 1u);
    EXPECT_EQ(blits[0]->rect, (Rect{30, 15, 120, 45}));
    const auto texts = w.displayList().texts("7");
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0]->source, DrawSource::Blit);
    EXPECT_EQ(texts[0]->rect, (Rect{40, 20, 100, 38}));
    EXPECT_EQ(texts[0]->lines[0].origin, (Point{40, 23}));
    EXPECT_EQ(w.displayList().ofKind(DrawOp::FillRect).size(), 1u);
    EXPECT_EQ(w.raster()->at(99, 21), rgb(255, 255, 0));
    EXPECT_EQ(w.raster()->at(100, 21), rgb(255, 255, 255));
}

TEST_F(DcFixture, EdgesShrinkWithAdjustAndUseTheSystemColours) {
    desktop.setRasterEnabled(true);
    desktop.pumpUntilIdle();
    ClientDC dc(w);
    Rect cell{10, 10, 30, 20};
    dc.drawEdge(cell, BDR_SUNKENINNER, BF_RECT | BF_ADJUST);
    EXPECT_EQ(cell, (Rect{11, 11, 29, 19}));
    EXPECT_EQ(dc.pixel({10, 10}), desktop.sysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(dc.pixel({29, 19}), desktop.sysColor(COLOR_3DLIGHT));
    Rect raised{40, 10, 60, 20};
    dc.drawEdge(raised, EDGE_RAISED, BF_RECT | BF_ADJUST);
    EXPECT_EQ(raised, (Rect{42, 12, 58, 18}));
    EXPECT_EQ(dc.pixel({41, 11}), desktop.sysColor(COLOR_3DHIGHLIGHT));
    EXPECT_EQ(dc.pixel({59, 19}), desktop.sysColor(COLOR_3DDKSHADOW));
}

TEST_F(DcFixture, SystemColourChangeReachesEveryWindow) {
    LoggingWindow child;
    ASSERT_TRUE(testing::createChild(child, w, Rect{0, 0, 10, 10}));
    desktop.pumpUntilIdle();
    desktop.system().setColor(COLOR_WINDOW, rgb(250, 240, 230));
    desktop.broadcastSysColorChange();
    EXPECT_EQ(w.count(WM_SYSCOLORCHANGE), 1);
    EXPECT_EQ(child.count(WM_SYSCOLORCHANGE), 1);
    EXPECT_TRUE(w.hasUpdate());
    EXPECT_EQ(desktop.sysColorBrush(COLOR_WINDOW)->color, rgb(250, 240, 230));
}

}  // namespace
}  // namespace host::ui
