// The engine's records on their own: boxes, contour copies, the best layout's capacity and the text limits.
#include <gtest/gtest.h>

#include <string>

#include "cadlib/messages.h"
#include "host/ed/transcript.h"
#include "nesting/model/best_layout.h"
#include "nesting/model/contour.h"
#include "nesting/model/part_instance.h"
#include "nesting/model/part_type.h"
#include "nesting/model/text_limits.h"

namespace {

TEST(BoundingBoxes, TheEmptyBoxBecomesWhateverItIsGrownBy) {
    BoundingBox box = BoundingBox::Empty();
    box.Include({-1, 2, 3, 4});
    EXPECT_EQ(box, (BoundingBox{-1, 2, 3, 4}));
    box.Include({0, -5, 1, 1});
    EXPECT_EQ(box, (BoundingBox{-1, -5, 3, 4}));
    box.Translate(1, 5);
    EXPECT_EQ(box, (BoundingBox{0, 0, 4, 9}));
    EXPECT_EQ(box.Width(), 4);
    EXPECT_EQ(box.Height(), 9);
}

TEST(ContourCopies, OwnTheirElements) {
    Contour source;
    source.Colour = 140;
    source.LineType = "CONTINUOUS";
    source.Layer = "0";
    source.ContourClass = kClassInner;
    source.Box = {0, 0, 2, 2};
    source.Area = 4;
    source.Elements.resize(3);
    source.Elements[1].Radius = 7;
    Contour copy;
    CopyContour(copy, source);
    EXPECT_EQ(copy.ElementCount(), 3);
    EXPECT_EQ(copy.LineType, "CONTINUOUS");
    EXPECT_EQ(copy.ContourClass, kClassInner);
    EXPECT_EQ(copy.Box, source.Box);
    EXPECT_EQ(copy.Area, 4);
    copy.Elements[1].Radius = 8;
    EXPECT_EQ(source.Elements[1].Radius, 7);
    CopyContour(source, source);  // a copy onto itself changes nothing
    EXPECT_EQ(source.ElementCount(), 3);
}

TEST(PartTypes, StartWithEveryTemplateAndNoSectors) {
    const PartType type;
    EXPECT_EQ(type.SingleTemplates.size(), 91u);
    EXPECT_EQ(type.PairTemplates.size(), 91u);
    EXPECT_EQ(type.SingleTemplates[90].SectorStart, 0.0);
    EXPECT_EQ(type.PairTemplates[0].SectorEnd, 0.0);
    EXPECT_EQ(type.PairVariantCount, 0);
    EXPECT_EQ(type.PairVariants[7].Quality, 0.0f);
    EXPECT_EQ(type.Aspect, 1.0);
}

TEST(SheetUse, AZeroOrNegativeSheetAreaNeverDivides) {
    EXPECT_EQ(SheetUseRatio(150, 600), 0.25);
    EXPECT_EQ(SheetUseRatio(150, 0), 0.0);
    EXPECT_EQ(SheetUseRatio(150, -1), 0.0);
    EXPECT_EQ(SheetUseRatio(0, 0), 0.0);
}

TEST(BestLayouts, HoldAt9000PartsAndSayWhenFull) {
    host::ed::transcript().clear();
    BestLayout layout;
    layout.BestLayoutStock = 2;
    for (int i = 0; i < 9000; ++i) {
        ASSERT_TRUE(layout.Append({i, 1.0 * i, 2.0, 0.0, 0}));
    }
    EXPECT_EQ(host::ed::transcript().text(), "");
    EXPECT_FALSE(layout.Append({9000, 0, 0, 0, 0}));
    EXPECT_EQ(layout.Count(), 9000);
    EXPECT_EQ(layout.Entries.back().Instance, 8999);
    EXPECT_EQ(host::ed::transcript().text(),
              "\nThe best layout of a sheet holds at most 9000 parts; the rest of the sheet is not kept.");
    layout.Clear();
    EXPECT_EQ(layout.Count(), 0);
    EXPECT_EQ(layout.BestLayoutStock, -1);
}

TEST(TextLimits, CountAndCutWholeCharacters) {
    struct Case {
        std::string text;
        std::size_t room;
        std::string cut;
        std::size_t characters;
    };
    const Case cases[] = {
        {"", 3, "", 0},
        {"abc", 3, "abc", 3},
        {"abcd", 3, "abc", 4},
        {"жжжж", 3, "жжж", 4},
        {"aжb", 2, "aж", 3},
        {"€uro", 1, "€", 4},
        {"abc", 0, "", 3},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CutToCharacters(c.text, c.room), c.cut) << c.text;
        EXPECT_EQ(CharacterCount(c.text), c.characters) << c.text;
    }
}

}  // namespace
