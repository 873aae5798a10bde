// Static controls: how labels lay out their text, that setting the same text paints nothing (so a dialog that
// sets labels while it paints settles), clicks passing through or notifying, pictures and the drawn shapes.
#include "host/ui/static.h"

#include "host/ui/dc.h"
#include "host/ui/tests/control_fixture.h"

namespace host::ui {
namespace {

using testing::kCharWidth;

constexpr int kStaticId = 500;

class StaticTest : public testing::ControlTest {
protected:
    Static& make(std::uint32_t style, std::string_view text, Rect r = Rect{10, 10, 70, 40}) {
        EXPECT_TRUE(ControlTest::make(label, kStaticClass, text, style, r, kStaticId));
        return label;
    }
    Static label;
};

TEST_F(StaticTest, LabelsPlaceTheirTextByStyle) {
    struct Case {
        std::uint32_t style;
        const char* text;
        std::vector<std::string> lines;
        int firstX;
    };
    // 60 pixels: ten characters to a line.
    const Case cases[] = {
        {SS_LEFT, "Part name and size", {"Part name", "and size"}, 0},
        {SS_CENTER, "Qty", {"Qty"}, (60 - 3 * kCharWidth) / 2},
        {SS_RIGHT, "Qty", {"Qty"}, 60 - 3 * kCharWidth},
        {SS_LEFTNOWORDWRAP, "Part name and size", {"Part name and size"}, 0},
        {SS_LEFT, "&Name", {"Name"}, 0},
        {SS_LEFT | SS_NOPREFIX, "&Name", {"&Name"}, 0},
    };
    for (const Case& c : cases) {
        Static s;
        ASSERT_TRUE(ControlTest::make(s, kStaticClass, c.text, c.style, Rect{10, 10, 70, 40}, kStaticId));
        repaint(s);
        const auto texts = s.displayList().ofKind(DrawOp::Text);
        ASSERT_EQ(texts.size(), 1u) << c.text;
        std::vector<std::string> shown;
        for (const TextLine& l : texts[0]->lines) shown.push_back(l.text);
        EXPECT_EQ(shown, c.lines) << c.text << " " << c.style;
        EXPECT_EQ(texts[0]->lines[0].origin.x, c.firstX) << c.text << " " << c.style;
    }
}

// A dialog that sets its labels' texts from its own paint handler: the same text must not start another paint.
TEST_F(StaticTest, SettingTheSameTextPaintsNothing) {
    Static& s = make(SS_LEFT, "Version 1");
    int paints = 0;
    owner.onMessage = [&](Message& m, std::intptr_t&) {
        if (m.id == WM_PAINT) {
            ++paints;
            s.setText("Version 1");
        }
        return false;
    };
    owner.invalidate();
    EXPECT_EQ(desktop.pumpUntilIdle(), PumpResult::Idle);
    EXPECT_EQ(paints, 1);
    EXPECT_FALSE(s.hasUpdate());
    s.setText("Version 2");
    EXPECT_TRUE(s.hasUpdate());
    desktop.pumpUntilIdle();
    EXPECT_EQ(drawnTexts(s).back(), "Version 2");
}

TEST_F(StaticTest, ClicksPassThroughUnlessItNotifies) {
    Static& s = make(SS_LEFT, "Label");
    robot.clickAt(s, {5, 5});
    int ownerPresses = 0;
    for (const auto& e : owner.log) ownerPresses += e.id == WM_LBUTTONDOWN;
    EXPECT_EQ(ownerPresses, 1) << "the owner under the label gets the click";

    Static notifying;
    ASSERT_TRUE(ControlTest::make(notifying, kStaticClass, "Preview", SS_NOTIFY, Rect{10, 50, 70, 80}, kStaticId + 1));
    clearLog();
    robot.wait(1000);
    robot.doubleClickAt(notifying, {5, 5});
    EXPECT_EQ(commands(kStaticId + 1), (std::vector<int>{STN_CLICKED, STN_DBLCLK}));
    EXPECT_EQ(notifying.send(WM_GETDLGCODE), DLGC_STATIC);
}

TEST_F(StaticTest, APictureTakesItsBitmapsSize) {
    Static& s = make(SS_BITMAP, "235");
    auto bitmap = std::make_shared<Bitmap>(32, 24);
    EXPECT_EQ(s.send(STM_SETIMAGE, IMAGE_BITMAP, lParamFromPointer(&bitmap)), 0);
    EXPECT_EQ(s.clientRect(), (Rect{0, 0, 32, 24}));
    EXPECT_EQ(s.send(STM_GETIMAGE), lParamFromPointer(bitmap.get()));
    repaint(s);
    const auto pictures = s.displayList().ofKind(DrawOp::Bitmap);
    ASSERT_EQ(pictures.size(), 1u);
    EXPECT_EQ(pictures[0]->rect, (Rect{0, 0, 32, 24}));
    EXPECT_TRUE(drawnTexts(s).empty()) << "the picture's text names it and is not shown";

    Static centred;
    ASSERT_TRUE(ControlTest::make(centred, kStaticClass, "", SS_BITMAP | SS_CENTERIMAGE, Rect{10, 50, 70, 90},
                                  kStaticId + 1));
    centred.setBitmap(bitmap);
    EXPECT_EQ(centred.clientRect(), (Rect{0, 0, 60, 40}));
    repaint(centred);
    EXPECT_EQ(centred.displayList().ofKind(DrawOp::Bitmap)[0]->rect, (Rect{14, 8, 46, 32}));
}

TEST_F(StaticTest, ShapesDrawTheirKindOfRecord) {
    struct Case {
        std::uint32_t style;
        DrawOp op;
    };
    const Case cases[] = {
        {SS_BLACKRECT, DrawOp::FillRect}, {SS_GRAYFRAME, DrawOp::FrameRect}, {SS_ETCHEDHORZ, DrawOp::Edge},
        {SS_ETCHEDFRAME, DrawOp::Edge},
    };
    for (const Case& c : cases) {
        Static s;
        ASSERT_TRUE(ControlTest::make(s, kStaticClass, "", c.style, Rect{10, 10, 70, 40}, kStaticId));
        repaint(s);
        EXPECT_EQ(s.displayList().ofKind(c.op).size(), 1u) << c.style;
        EXPECT_TRUE(drawnTexts(s).empty()) << c.style;
    }
    Static black;
    ASSERT_TRUE(ControlTest::make(black, kStaticClass, "", SS_BLACKRECT, Rect{10, 10, 70, 40}, kStaticId));
    repaint(black);
    EXPECT_EQ(black.displayList().ofKind(DrawOp::FillRect)[0]->color, desktop.sysColor(COLOR_WINDOWFRAME));
}

}  // namespace
}  // namespace host::ui
