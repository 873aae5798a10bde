// The ACI palette: fixed entries, the structure of the hue rows, the greys, and nearest-colour lookup.
#include "host/ed/aci_colors.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace host::ed {
namespace {

TEST(AciColors, NamedColoursGreysAndRowEntries) {
    struct Case {
        int index;
        std::uint32_t rgb;
    };
    const Case cases[] = {
        {1, 0xFF0000}, {2, 0xFFFF00}, {3, 0x00FF00}, {4, 0x00FFFF}, {5, 0x0000FF}, {6, 0xFF00FF}, {7, 0xFFFFFF},
        {8, 0x808080}, {9, 0xC0C0C0},
        {10, 0xFF0000}, {11, 0xFF7F7F}, {12, 0xA50000}, {14, 0x7F0000}, {16, 0x4C0000}, {18, 0x260000},
        {30, 0xFF7F00}, {50, 0xFFFF00}, {90, 0x00FF00}, {130, 0x00FFFF}, {170, 0x0000FF}, {210, 0xFF00FF},
        {40, 0xFFBF00}, {41, 0xFFDF7F}, {140, 0x00BFFF}, {250, 0x333333}, {251, 0x505050}, {252, 0x696969},
        {253, 0x828282}, {254, 0xBEBEBE}, {255, 0xFFFFFF},
    };
    for (const Case& c : cases) EXPECT_EQ(aciToRgb(c.index), c.rgb) << "index " << c.index;
}

TEST(AciColors, EachHueRowDarkensAndPalesInOrder) {
    // Every row of ten: the full shade is at least as bright as the next level's, and each pale shade is brighter
    // than its full shade (a typo in the table breaks one of these).
    auto brightness = [](std::uint32_t rgb) { return ((rgb >> 16) & 0xFF) + ((rgb >> 8) & 0xFF) + (rgb & 0xFF); };
    for (int row = 10; row < 250; row += 10) {
        for (int level = 0; level < 5; ++level) {
            const int full = row + 2 * level;
            EXPECT_GT(brightness(aciToRgb(full + 1)), brightness(aciToRgb(full))) << "index " << full;
            if (level < 4) {
                EXPECT_GT(brightness(aciToRgb(full)), brightness(aciToRgb(full + 2))) << "index " << full;
            }
        }
    }
}

TEST(AciColors, OutOfRangeAndBackground) {
    EXPECT_EQ(aciToRgb(-1), 0xFFFFFFu);
    EXPECT_EQ(aciToRgb(256), 0xFFFFFFu);
    EXPECT_EQ(aciToRgb(0), 0x000000u);
    EXPECT_EQ(onWhiteBackground(aciToRgb(7)), 0x000000u);
    EXPECT_EQ(onWhiteBackground(aciToRgb(255)), 0x000000u);
    EXPECT_EQ(onWhiteBackground(0xFF0000), 0xFF0000u);
    EXPECT_EQ(onWhiteBackground(0xFEFEFE), 0xFEFEFEu);
}

TEST(AciColors, NearestIndexPrefersTheLowerOnATie) {
    EXPECT_EQ(nearestAci(0xFF0000), 1);
    EXPECT_EQ(nearestAci(0xFFFFFF), 7);
    EXPECT_EQ(nearestAci(0x000000), 18);  // index 0 is not a colour: the darkest red (0x260000) is nearest
    EXPECT_EQ(nearestAci(0x7F0001), 14);
    for (int i = 1; i < kAciCount; ++i) EXPECT_EQ(aciToRgb(nearestAci(aciToRgb(i))), aciToRgb(i)) << "index " << i;
}

}  // namespace
}  // namespace host::ed
