// Text measuring with the metric font, and DrawText's placement, wrapping, prefixes and ellipsis.
#include <gtest/gtest.h>

#include "host/ui/dc.h"
#include "host/ui/desktop.h"
#include "host/ui/tests/ui_test_window.h"
#include "host/ui/text_layout.h"

namespace host::ui {
namespace {

TEST(TextMeasuring, MetricFontIsComputableByHand) {
    const LogFont twelve{};
    EXPECT_EQ(measureText(TextMeasurer::Metric, twelve, "Qty"), (Size{18, 12}));
    EXPECT_EQ(measureText(TextMeasurer::Metric, twelve, ""), (Size{0, 12}));
    EXPECT_EQ(measureText(TextMeasurer::Metric, twelve, "Сталь"), (Size{30, 12}));  // characters, not bytes
    const TextMetrics m = measureMetrics(TextMeasurer::Metric, LogFont{.height = -15});
    EXPECT_EQ(m.height, 15);
    EXPECT_EQ(m.ascent, 12);
    EXPECT_EQ(m.descent, 3);
    EXPECT_EQ(m.averageCharWidth, 8);
    EXPECT_EQ(m.overhang, 0);
    EXPECT_EQ(measureText(TextMeasurer::Metric, LogFont{.height = 0}, "ab"), (Size{12, 12}));
    EXPECT_EQ(measureText(TextMeasurer::Metric, LogFont{.height = 13}, "ab"), (Size{14, 13}));
    EXPECT_EQ(measureText(TextMeasurer::Metric, LogFont{.escapement = 900}, "Qty"), (Size{12, 18}));
}

TEST(TextMeasuring, FreeTypeMeasuresProportionally) {
    if (fontFileFor(LogFont{}, false).empty()) GTEST_SKIP() << "DejaVu is not installed";
    const LogFont f{};
    const int narrow = measureText(TextMeasurer::FreeType, f, "iiii").width;
    const int wide = measureText(TextMeasurer::FreeType, f, "WWWW").width;
    EXPECT_LT(narrow, wide);
    EXPECT_GT(narrow, 0);
    EXPECT_GT(measureMetrics(TextMeasurer::FreeType, f).height, 12);  // DejaVu's cell is taller than its em
}

// DrawText in a 12-pixel metric font: 6 pixels a character, lines 12 high.
TEST(DrawText, PlacesLinesByTheFormat) {
    struct Case {
        const char* what;
        const char* text;
        Rect rect;
        unsigned format;
        std::vector<TextLine> lines;
        int result;
    };
    const unsigned single = DT_SINGLELINE | DT_NOPREFIX;
    const Case cases[] = {
        {"centred both ways", "Qty", {0, 0, 84, 18}, single | DT_CENTER | DT_VCENTER, {{"Qty", {33, 3}, 18}}, 15},
        {"right and bottom", "Qty", {0, 0, 84, 18}, single | DT_RIGHT | DT_BOTTOM, {{"Qty", {66, 6}, 18}}, 18},
        {"left top", "Qty", {5, 5, 84, 18}, single, {{"Qty", {5, 5}, 18}}, 12},
        {"the default cell format", "Hello world", {0, 0, 40, 18}, 0x8824, {{"Hel...", {0, 3}, 36}}, 15},
        {"exact fit keeps the text", "abcdef", {0, 0, 36, 12}, single | DT_END_ELLIPSIS, {{"abcdef", {0, 0}, 36}}, 12},
        {"one pixel short cuts it", "abcdef", {0, 0, 35, 12}, single | DT_END_ELLIPSIS, {{"ab...", {0, 0}, 30}}, 12},
        {"prefix marks", "&Save && close", {0, 0, 200, 12}, DT_SINGLELINE, {{"Save & close", {0, 0}, 72}}, 12},
        {"no prefix", "&Save", {0, 0, 200, 12}, single, {{"&Save", {0, 0}, 30}}, 12},
        {"line breaks", "a\r\nbb\nccc", {0, 0, 200, 50}, DT_NOPREFIX | DT_CENTER,
         {{"a", {97, 0}, 6}, {"bb", {94, 12}, 12}, {"ccc", {91, 24}, 18}}, 36},
        {"single line ignores breaks", "a\r\nb", {0, 0, 200, 12}, single, {{"ab", {0, 0}, 12}}, 12},
        {"word wrap", "one two three", {0, 0, 50, 50}, DT_WORDBREAK | DT_NOPREFIX,
         {{"one two", {0, 0}, 42}, {"three", {0, 12}, 30}}, 24},
        {"a long word stays whole", "abcdefghij", {0, 0, 30, 50}, DT_WORDBREAK, {{"abcdefghij", {0, 0}, 60}}, 12},
        {"tabs expand to 8 characters", "a\tb", {0, 0, 200, 12}, single | DT_EXPANDTABS,
         {{std::string("a") + std::string(7, ' ') + "b", {0, 0}, 54}}, 12},
    };
    Desktop desktop;
    testing::LoggingWindow w;
    ASSERT_TRUE(testing::createPopup(w, Rect{0, 0, 300, 100}));
    ClientDC dc(w);
    for (const Case& c : cases) {
        w.clearDisplayList();
        const int result = dc.drawText(c.text, c.rect, c.format);
        EXPECT_EQ(result, c.result) << c.what;
        ASSERT_EQ(w.displayList().size(), 1u) << c.what;
        const DrawRecord& r = w.displayList()[0];
        EXPECT_EQ(r.text, c.text) << c.what;
        EXPECT_EQ(r.lines, c.lines) << c.what;
        EXPECT_EQ(r.flags, c.format) << c.what;
        EXPECT_EQ(r.rect, c.rect) << c.what;
    }
}

TEST(DrawText, CalcRectMeasuresWithoutDrawing) {
    Desktop desktop;
    testing::LoggingWindow w;
    ASSERT_TRUE(testing::createPopup(w, Rect{0, 0, 300, 100}));
    ClientDC dc(w);
    Rect r{5, 5, 5, 5};
    EXPECT_EQ(dc.drawText("Qty", r, DT_CALCRECT | DT_SINGLELINE), 12);
    EXPECT_EQ(r, (Rect{5, 5, 23, 17}));
    Rect wrapped{0, 0, 50, 0};
    EXPECT_EQ(dc.drawText("one two three", wrapped, DT_CALCRECT | DT_WORDBREAK), 24);
    EXPECT_EQ(wrapped, (Rect{0, 0, 42, 24}));
    Rect lines{0, 0, 0, 0};
    dc.drawText("a\nlonger", lines, DT_CALCRECT);
    EXPECT_EQ(lines, (Rect{0, 0, 36, 24}));
    EXPECT_TRUE(w.displayList().empty());
    // The selected font counts.
    dc.selectFont(Font::create(LogFont{.height = -20}));
    Rect big{0, 0, 0, 0};
    dc.drawText("ab", big, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(big, (Rect{0, 0, 20, 20}));
}

TEST(DrawText, TextOutFollowsTheAlignment) {
    Desktop desktop;
    testing::LoggingWindow w;
    ASSERT_TRUE(testing::createPopup(w, Rect{0, 0, 300, 100}));
    ClientDC dc(w);
    dc.setTextAlign(TA_RIGHT | TA_BASELINE);
    dc.textOut(100, 50, "abc");
    ASSERT_EQ(w.displayList().size(), 1u);
    EXPECT_EQ(w.displayList()[0].lines[0].origin, (Point{82, 41}));  // 18 wide, ascent 9
    EXPECT_EQ(dc.textExtent("abc"), (Size{18, 12}));
    EXPECT_EQ(dc.textMetrics().ascent, 9);
}

}  // namespace
}  // namespace host::ui
