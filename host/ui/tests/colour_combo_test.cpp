// The colour combo: its items with their colour indices, the ByLayer and ByBlock switches, recent colours,
// choosing by index and by name, the user's choice as a combo's, and the swatches it paints.
#include "host/ui/colour_combo.h"

#include "host/ui/tests/control_fixture.h"

namespace host::ui {
namespace {

constexpr int kColourComboId = 900;

class ColourComboTest : public testing::ControlTest {
protected:
    ColourCombo& make() {
        EXPECT_TRUE(ControlTest::make(combo, kColourComboClass, "", CBS_DROPDOWN | WS_TABSTOP,
                                      Rect{10, 10, 160, 200}, kColourComboId));
        clearLog();
        return combo;
    }
    std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (int i = 0; i < combo.count(); ++i) out.push_back(combo.itemText(i));
        return out;
    }
    ColourCombo combo;
};

TEST_F(ColourComboTest, ItemsAreTheNamedColoursWithByLayerAndByBlock) {
    ColourCombo& c = make();
    EXPECT_EQ(c.comboType(), static_cast<int>(CBS_DROPDOWNLIST)) << "always a drop-down list";
    EXPECT_EQ(texts(), (std::vector<std::string>{"ByLayer", "ByBlock", "Red", "Yellow", "Green", "Cyan", "Blue",
                                                 "Magenta", "White"}));
    EXPECT_EQ(c.colorIndexOfItem(0), kColorByLayer);
    EXPECT_EQ(c.colorIndexOfItem(1), kColorByBlock);
    EXPECT_EQ(c.send(CB_GETITEMDATA, 4), 3);
    EXPECT_EQ(c.currentItemColorIndex(), -1);
    EXPECT_TRUE(desktop.classes().isDerivedFrom(kColourComboClass, kComboBoxClass));

    c.setCurrentItemColorIndex(5);
    c.setUseByBlock(false);
    c.setUseByLayer(false);
    EXPECT_EQ(c.count(), 7);
    EXPECT_EQ(c.itemText(0), "Red");
    EXPECT_EQ(c.currentItemColorIndex(), 5) << "the current colour stays current";
    EXPECT_EQ(c.findItemByColorIndex(kColorByLayer), -1);
    EXPECT_FALSE(c.setCurrentItemColorIndex(kColorByLayer));
    EXPECT_TRUE(commands(kColourComboId).empty()) << "a program's changes send nothing";
}

TEST_F(ColourComboTest, RecentColoursComeNewestFirstAndAreBounded) {
    ColourCombo& c = make();
    for (int index : {30, 40, 3, 30, 92, 132, 140, 190, 256}) c.addColorToMRU(index);
    EXPECT_EQ(c.recentColors(), (std::vector<int>{190, 140, 132, 92, 30})) << "named colours and ByLayer are left out";
    EXPECT_EQ(c.itemText(9), "Color 190");
    EXPECT_EQ(c.count(), 9 + ColourCombo::kMaxRecent);
    EXPECT_TRUE(c.setCurrentItemColorIndex(241));
    EXPECT_EQ(c.currentItemColorIndex(), 241);
    EXPECT_EQ(c.recentColors().front(), 241);
    EXPECT_EQ(c.text(), "Color 241");
}

TEST_F(ColourComboTest, TextNamesAColour) {
    ColourCombo& c = make();
    struct Case {
        const char* text;
        std::intptr_t answer;
        int colour;
    };
    const Case cases[] = {
        {"red", 1, 1},           {"Color 12", 1, 12}, {"210", 1, 210},         {"ByBlock", 1, kColorByBlock},
        {"Colour 5", CB_ERR, kColorByBlock},          {"300", CB_ERR, kColorByBlock},
        {"", CB_ERR, kColorByBlock},
    };
    for (const Case& k : cases) {
        EXPECT_EQ(c.send(WM_SETTEXT, 0, lParamFromPointer(k.text)), k.answer) << k.text;
        EXPECT_EQ(c.currentItemColorIndex(), k.colour) << k.text;
    }
    EXPECT_EQ(ColourCombo::colorName(12), "Color 12");
    EXPECT_EQ(ColourCombo::colorIndexFromName("MAGENTA"), 6);
}

TEST_F(ColourComboTest, TheUserChoosesAsInAnyCombo) {
    ColourCombo& c = make();
    c.setCurrentItemColorIndex(1);
    c.setFocus();
    clearLog();
    robot.key(VK_DOWN);
    EXPECT_EQ(c.currentItemColorIndex(), 2);
    EXPECT_EQ(commands(kColourComboId), (std::vector<int>{CBN_SELCHANGE}));
}

TEST_F(ColourComboTest, ItemsShowASwatchOfThePaletteColour) {
    ColourCombo& c = make();
    c.setCurrentItemColorIndex(1);
    repaint(c);
    const auto swatches = c.displayList().ofKind(DrawOp::Rectangle);
    ASSERT_EQ(swatches.size(), 1u);
    EXPECT_EQ(swatches[0]->brush.color, rgb(255, 0, 0));
    EXPECT_EQ(drawnTexts(c), (std::vector<std::string>{"Red"}));
    const Rect swatch = swatches[0]->rect;
    EXPECT_LT(swatch.right, c.displayList().ofKind(DrawOp::Text)[0]->lines[0].origin.x);
    EXPECT_EQ(ColourCombo::swatchColor(5), rgb(0, 0, 255));
    EXPECT_EQ(ColourCombo::swatchColor(kColorByLayer), rgb(255, 255, 255));
}

}  // namespace
}  // namespace host::ui
