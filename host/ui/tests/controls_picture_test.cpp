// Every control on one panel, painted into the raster: pixel probes of what each control must show, and a PNG
// of the panel (metric and DejaVu text) for a person to look at.
#include <gtest/gtest.h>

#include <filesystem>

#include "host/ui/button.h"
#include "host/ui/colour_combo.h"
#include "host/ui/combo_box.h"
#include "host/ui/edit.h"
#include "host/ui/list_box.h"
#include "host/ui/slider.h"
#include "host/ui/spin.h"
#include "host/ui/static.h"
#include "host/ui/tab_control.h"
#include "host/ui/tests/ui_test_window.h"

namespace host::ui {
namespace {

namespace fs = std::filesystem;

using testing::scratch;

// A panel of controls as a dialog lays them out. The group box is made last: the picture composes siblings
// made earlier over later ones, and a group box's own picture would cover the buttons inside it.
struct Panel {
    explicit Panel(Desktop& desktop) {
        // A dialog's look: the face colour behind the controls.
        desktop.classes().registerClass({"ControlsPanel", 0, IDC_ARROW, COLOR_BTNFACE, {}, ""});
        window.create("ControlsPanel", "Controls", WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU,
                      Rect{40, 40, 500, 330}, nullptr);
        const std::uint32_t child = WS_CHILD | WS_VISIBLE;
        label.create(kStaticClass, "Part &name:", child | SS_LEFT, Rect{10, 12, 90, 28}, &window, 100);
        edit.create(kEditClass, "Flange 40", child | ES_AUTOHSCROLL, Rect{95, 10, 215, 30}, &window, 101,
                    WS_EX_CLIENTEDGE);
        ok.create(kButtonClass, "OK", child | BS_DEFPUSHBUTTON, Rect{360, 10, 440, 34}, &window, IDOK);
        mirror.create(kButtonClass, "Mirror", child | BS_AUTOCHECKBOX, Rect{10, 40, 110, 60}, &window, 102);
        left.create(kButtonClass, "Left", child | BS_AUTORADIOBUTTON | WS_GROUP, Rect{240, 60, 330, 78}, &window, 103);
        right.create(kButtonClass, "Right", child | BS_AUTORADIOBUTTON, Rect{240, 80, 330, 98}, &window, 104);
        list.create(kListBoxClass, "", child | LBS_NOTIFY | WS_VSCROLL, Rect{10, 70, 110, 130}, &window, 105,
                    WS_EX_CLIENTEDGE);
        combo.create(kComboBoxClass, "", child | CBS_DROPDOWNLIST, Rect{120, 40, 230, 140}, &window, 106);
        slider.create(kSliderClass, "", child | TBS_AUTOTICKS, Rect{10, 140, 227, 170}, &window, 107);
        amount.create(kEditClass, "3", child | ES_AUTOHSCROLL, Rect{240, 140, 300, 160}, &window, 108,
                      WS_EX_CLIENTEDGE);
        spin.create(kSpinClass, "", child | UDS_AUTOBUDDY | UDS_ALIGNRIGHT | UDS_SETBUDDYINT, Rect{0, 0, 16, 20},
                    &window, 109);
        colour.create(kColourComboClass, "", child | CBS_DROPDOWNLIST, Rect{310, 140, 440, 240}, &window, 110);
        tabs.create(kTabControlClass, "", child, Rect{10, 180, 300, 270}, &window, 111);
        group.create(kButtonClass, "Home point", child | BS_GROUPBOX, Rect{230, 42, 350, 104}, &window, 112);

        for (const char* t : {"Stock", "Part", "Offcut", "Remnant", "Sheet", "Strip"}) list.addString(t);
        list.setCurrentSelection(1);
        for (const char* t : {"Diamond", "Flame", "Laser", "Waterjet"}) combo.addString(t);
        combo.setCurrentSelection(2);
        mirror.setCheck(BST_CHECKED);
        right.setCheck(BST_CHECKED);
        slider.setRange(0, 9);
        slider.setPosition(4);
        spin.setRange(0, 10);
        colour.setCurrentItemColorIndex(1);
        for (const char* t : {"General", "Code", "Format"}) tabs.insertItem(tabs.itemCount(), TabItem{TCIF_TEXT, t});
        desktop.pumpUntilIdle();
    }

    // A point of a control's client area in the panel's picture.
    Point at(const Window& control, Point client) const {
        return control.clientToScreen(client) - window.windowRect().topLeft();
    }

    Window window;
    Static label;
    Edit edit, amount;
    Button ok, mirror, left, right, group;
    ListBox list;
    ComboBox combo;
    Slider slider;
    Spin spin;
    ColourCombo colour;
    TabControl tabs;
};

TEST(ControlsPicture, EachControlShowsItsState) {
    Desktop desktop;
    desktop.setRasterEnabled(true);
    Panel panel(desktop);
    const Image picture = desktop.snapshot(panel.window);
    const ColorRef face = desktop.sysColor(COLOR_BTNFACE);
    const ColorRef highlight = desktop.sysColor(COLOR_HIGHLIGHT);

    // The selected row of the list (row 1 of 12-pixel rows) is highlighted.
    EXPECT_EQ(picture.at(panel.at(panel.list, {60, 18}).x, panel.at(panel.list, {60, 18}).y), highlight);
    EXPECT_EQ(picture.at(panel.at(panel.list, {60, 42}).x, panel.at(panel.list, {60, 42}).y),
              desktop.sysColor(COLOR_WINDOW));
    // The colour combo's swatch is red.
    const Point swatch = panel.at(panel.colour, {8, 9});
    EXPECT_EQ(picture.at(swatch.x, swatch.y), rgb(255, 0, 0));
    // The check box is ticked: its box holds dark pixels; the unchecked radio's dot is empty.
    auto darkIn = [&](const Window& w, const Rect& r) {
        int dark = 0;
        for (int x = r.left; x < r.right; ++x)
            for (int y = r.top; y < r.bottom; ++y) {
                const Point p = panel.at(w, {x, y});
                const ColorRef c = picture.at(p.x, p.y);
                dark += redOf(c) + greenOf(c) + blueOf(c) < 200;
            }
        return dark;
    };
    const int boxTop = (20 - Button::kBoxSize) / 2;
    const Rect inner{3, boxTop + 3, Button::kBoxSize - 3, boxTop + Button::kBoxSize - 3};
    EXPECT_GT(darkIn(panel.mirror, inner), 5);
    EXPECT_GT(darkIn(panel.right, Rect{4, 4, 9, 9}.offsetBy(0, (18 - Button::kBoxSize) / 2)), 3);
    EXPECT_EQ(darkIn(panel.left, Rect{4, 4, 9, 9}.offsetBy(0, (18 - Button::kBoxSize) / 2)), 0);
    // The slider's thumb stands on the face colour at position 4.
    const Point thumb = panel.at(panel.slider, panel.slider.thumbRect().center());
    EXPECT_EQ(picture.at(thumb.x, thumb.y), face);
    // The spin's buddy shows its position.
    EXPECT_EQ(panel.amount.text(), "3");

    std::string error;
    ASSERT_TRUE(desktop.saveSnapshot(&panel.window, scratch("controls-metric.png"), &error)) << error;
    desktop.setTextMeasurer(TextMeasurer::FreeType);
    panel.window.redraw(RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_ERASE);
    desktop.pumpUntilIdle();
    ASSERT_TRUE(desktop.saveSnapshot(&panel.window, scratch("controls.png"), &error)) << error;
    EXPECT_TRUE(fs::exists(scratch("controls.png")));

    // The colour combo dropped: its list is a window of its own, on top of the screen.
    panel.colour.showDropDown(true);
    desktop.pumpUntilIdle();
    const Image screen = desktop.snapshot();
    const Window* list = panel.colour.listWindow();
    ASSERT_TRUE(list && list->isVisible());
    const int row = panel.colour.findItemByColorIndex(1);
    const int rowHeight = panel.colour.itemHeight();
    const Point current = list->clientToScreen(Point{list->clientRect().right - 4, row * rowHeight + rowHeight / 2});
    EXPECT_EQ(screen.at(current.x, current.y), highlight) << "the current colour is highlighted";
    ASSERT_TRUE(desktop.saveSnapshot(nullptr, scratch("controls-dropped.png"), &error)) << error;
}

}  // namespace
}  // namespace host::ui
