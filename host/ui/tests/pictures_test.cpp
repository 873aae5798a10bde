// Pictures of windows: the raster drawn from records, frames and scroll bars, PNG files written and read back,
// and what a broken picture file gives.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "host/ui/dc.h"
#include "host/ui/desktop.h"
#include "host/ui/tests/ui_test_window.h"

namespace host::ui {
namespace {

namespace fs = std::filesystem;

using testing::scratch;

// A window with a caption, a border, a sunken child with text and a vertical scroll bar.
struct Sample : testing::LoggingWindow {
    Sample() {
        onMessage = [this](Message& m, std::intptr_t&) {
            if (m.id != WM_PAINT) return false;
            PaintDC dc(*this);
            dc.setBkMode(TRANSPARENT);
            dc.drawText("Part &name:", Rect{10, 10, 150, 30}, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
            dc.fillSolidRect(Rect{10, 40, 60, 60}, rgb(255, 176, 0));
            return true;
        };
    }
};

TEST(Pictures, SnapshotComposesFramesContentsAndChildren) {
    Desktop desktop;
    desktop.setRasterEnabled(true);
    Sample w;
    ASSERT_TRUE(w.create(kPlainWindowClass, "Insert part", WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU,
                         Rect{20, 20, 320, 220}, nullptr));
    testing::LoggingWindow list;
    ASSERT_TRUE(list.create(kPlainWindowClass, "", WS_CHILD | WS_VISIBLE | WS_VSCROLL, Rect{150, 40, 280, 140}, &w,
                            1, WS_EX_CLIENTEDGE));
    ScrollInfo info;
    info.mask = SIF_RANGE | SIF_PAGE;
    info.max = 99;
    info.page = 20;
    list.setScrollInfo(SB_VERT, info);
    desktop.pumpUntilIdle();

    const Image picture = desktop.snapshot(w);
    ASSERT_EQ(picture.width(), 300);
    ASSERT_EQ(picture.height(), 200);
    const Point client = w.clientToScreen(Point{0, 0}) - w.windowRect().topLeft();
    EXPECT_EQ(picture.at(client.x + 20, client.y + 50), rgb(255, 176, 0));
    EXPECT_EQ(picture.at(150, 8), desktop.sysColor(COLOR_ACTIVECAPTION));  // the caption bar
    // The list's client area is the window colour, its bar's arrow the face colour.
    const Point listClient = list.clientToScreen(Point{0, 0}) - w.windowRect().topLeft();
    EXPECT_EQ(picture.at(listClient.x + 5, listClient.y + 5), desktop.sysColor(COLOR_WINDOW));
    const Rect bar = list.clientRectOnScreen();
    EXPECT_EQ(picture.at(bar.right + 3 - w.windowRect().left, bar.top + 3 - w.windowRect().top),
              desktop.sysColor(COLOR_BTNFACE));
    // Some text was drawn: the label's row is not all window colour.
    int inked = 0;
    for (int x = client.x + 10; x < client.x + 80; ++x)
        for (int y = client.y + 10; y < client.y + 30; ++y) inked += picture.at(x, y) != desktop.sysColor(COLOR_WINDOW);
    EXPECT_GT(inked, 20);

    const fs::path file = scratch("sample-window.png");
    std::string error;
    ASSERT_TRUE(desktop.saveSnapshot(&w, file, &error)) << error;
    const PngRead back = readPng(file);
    ASSERT_TRUE(back.image) << back.error;
    EXPECT_TRUE(*back.image == picture);
    // The whole screen too, with the readable measurer, for a person to look at.
    desktop.setTextMeasurer(TextMeasurer::FreeType);
    w.invalidate();
    desktop.pumpUntilIdle();
    ASSERT_TRUE(desktop.saveSnapshot(nullptr, scratch("sample-screen.png"), &error)) << error;
}

TEST(Pictures, BrokenPictureFilesAreRefusedWithTheirName) {
    const fs::path missing = scratch("no-such-picture.png");
    fs::remove(missing);
    PngRead r = readPng(missing);
    EXPECT_FALSE(r.image);
    EXPECT_NE(r.error.find("no-such-picture.png"), std::string::npos);

    const fs::path text = scratch("not-a-picture.png");
    std::ofstream(text) << "hello";
    r = readPng(text);
    EXPECT_FALSE(r.image);
    EXPECT_NE(r.error.find("not a PNG file"), std::string::npos);

    // A real picture cut short.
    Image small(4, 3, rgb(1, 2, 3));
    const fs::path whole = scratch("small.png");
    std::string error;
    ASSERT_TRUE(writePng(small, whole, &error)) << error;
    std::ifstream in(whole, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(bytes.size(), 40u);
    const fs::path cut = scratch("cut.png");
    std::ofstream(cut, std::ios::binary) << bytes.substr(0, bytes.size() - 20);
    r = readPng(cut);
    EXPECT_FALSE(r.image);
    EXPECT_NE(r.error.find("cut.png"), std::string::npos);
    const PngRead good = readPng(whole);
    ASSERT_TRUE(good.image) << good.error;
    EXPECT_EQ(good.image->at(3, 2), rgb(1, 2, 3));

    EXPECT_FALSE(writePng(Image{}, scratch("empty.png"), &error));
    EXPECT_FALSE(writePng(small, scratch("no-such-folder") / "x.png", &error));
    EXPECT_NE(error.find("x.png"), std::string::npos);
}

TEST(Pictures, LoadedBitmapsStretchIntoTheirRectangle) {
    Desktop desktop;
    desktop.setRasterEnabled(true);
    testing::LoggingWindow w;
    ASSERT_TRUE(testing::createPopup(w, Rect{0, 0, 100, 100}));
    desktop.pumpUntilIdle();
    Image checker(2, 2, rgb(0, 0, 0));
    checker.set(1, 0, rgb(255, 255, 255));
    checker.set(0, 1, rgb(255, 255, 255));
    auto bitmap = std::make_shared<Bitmap>(checker, "checker.png");
    ClientDC dc(w);
    dc.drawBitmap(bitmap, Rect{10, 10, 30, 30});
    EXPECT_EQ(dc.pixel({10, 10}), rgb(0, 0, 0));
    EXPECT_EQ(dc.pixel({29, 10}), rgb(255, 255, 255));
    EXPECT_EQ(dc.pixel({29, 29}), rgb(0, 0, 0));
    ASSERT_EQ(w.displayList().ofKind(DrawOp::Bitmap).size(), 1u);
    EXPECT_EQ(w.displayList().ofKind(DrawOp::Bitmap)[0]->bitmap->name(), "checker.png");
}

}  // namespace
}  // namespace host::ui
