// Rectangle names and the preview drawing a rectangle's proportions choose.
#include <gtest/gtest.h>

#include <filesystem>

#include "cadlib/rectangle_names.h"
#include "host/dxf/dxf_file.h"

namespace {

TEST(ParseRectangleName, ReadsWidthAndHeight) {
    const struct {
        const char* name;
        double width, height;
    } cases[] = {
        {"Stock_1250x2500", 1250, 2500},
        {"Part_12.5x7.25", 12.5, 7.25},
        {"Part_300x200x5", 300, 200},   // a further "x" ends the height
        {"Part_300x200_b", 300, 200},   // only the first "_" splits
        {"NoUnderscore", 0, 0},
        {"Part_300", 300, 0},           // no "x": no height
        {"Part_widexhigh", 0, 0},       // no numbers read as 0
        {"Part_300X200", 300, 0},       // the separator is a lower-case x
        {"", 0, 0},
    };
    for (const auto& c : cases) {
        double w = -1, h = -1;
        ParseRectangleName(c.name, w, h);
        EXPECT_DOUBLE_EQ(w, c.width) << c.name;
        EXPECT_DOUBLE_EQ(h, c.height) << c.name;
    }
}

TEST(GetRectangleBlockPath, ChoosesThePreviewByProportion) {
    const struct {
        double width, height;
        const char* file;
    } cases[] = {
        {200, 100, "10x5.dxf"},    {100, 200, "5x10.dxf"},   {2500, 100, "10x05.dxf"},
        {100, 2500, "05x10.dxf"},  {1000, 1020, "10x10.dxf"}, {1020, 1000, "10x10.dxf"},
        {500, 500, "10x10.dxf"},   {2000, 100, "10x1.dxf"},   {2001, 100, "10x05.dxf"},
        {1000, 149, "10x1.dxf"},   {1000, 150, "10x2.dxf"},   {1000, 0, "10x05.dxf"},
        {0, 1000, "05x10.dxf"},    {0, 0, "10x10.dxf"},       {1250, 2500, "5x10.dxf"},
    };
    for (const auto& c : cases) {
        std::filesystem::path path;
        GetRectangleBlockPath(path, "/opt/kestrion", c.width, c.height);
        EXPECT_EQ(path, std::filesystem::path("/opt/kestrion/block") / c.file) << c.width << " x " << c.height;
    }
}

// Every name the rule can produce exists in the installed library and is a drawing the host reads.
TEST(GetRectangleBlockPath, EveryChosenPreviewIsShipped) {
    const std::filesystem::path install = std::filesystem::path(KESTRION_SOURCE_DIR) / "data";
    for (int step = 0; step <= 200; ++step) {
        for (const bool wide : {true, false}) {
            const double shortSide = step * 0.1;
            std::filesystem::path path;
            GetRectangleBlockPath(path, install, wide ? 20.0 : shortSide, wide ? shortSide : 20.0);
            ASSERT_TRUE(std::filesystem::exists(path)) << path;
            const auto read = host::dxf::readDxfFile(path);
            ASSERT_TRUE(read) << read.error;
            EXPECT_GT(read.database->objectCount(), 0u);
        }
    }
}

}  // namespace
