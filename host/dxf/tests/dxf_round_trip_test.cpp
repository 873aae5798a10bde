// A drawing with every entity kind, table, group, kind of extended data and header value, saved and read back:
// equal object by object, handles included, and the second file equal to the first byte for byte.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "host/dxf/dxf_file.h"
#include "host/dxf/tests/drawing_compare.h"
#include "host/dxf/tests/sample_drawing.h"

namespace host::dxf {
namespace {

using testing::buildSampleDrawing;
using testing::expectSameDrawing;

TEST(DxfRoundTrip, EveryKindComesBackEqualWithItsHandle) {
    testing::SampleIds ids;
    const auto original = buildSampleDrawing(&ids);
    const std::string first = writeDxfText(*original);
    const ReadResult back = readDxfText(first, "first.dxf");
    ASSERT_TRUE(back) << back.error;
    expectSameDrawing(*original, *back.database, {.ignoreMadeByWriter = true});
    // The objects the writer made for other readers (layouts) are in the drawing read back with the handles the
    // file gave them, so writing it again gives the same file.
    const std::string second = writeDxfText(*back.database);
    EXPECT_EQ(first, second);
    EXPECT_GE(back.database->handSeed(), original->handSeed());
    const ReadResult again = readDxfText(second, "second.dxf");
    ASSERT_TRUE(again) << again.error;
    expectSameDrawing(*back.database, *again.database);
}

TEST(DxfRoundTrip, FileOnDiskKeepsTheDrawingAndNamesIt) {
    const auto original = buildSampleDrawing();
    const auto dir = std::filesystem::temp_directory_path() / "kestrion-dxf-round-trip";
    std::filesystem::create_directories(dir);
    const auto path = dir / "sample.dxf";
    std::string error;
    ASSERT_TRUE(writeDxfFile(*original, path, &error)) << error;
    EXPECT_TRUE(original->fileName().empty());  // saving does not rename the drawing
    const ReadResult back = readDxfFile(path);
    ASSERT_TRUE(back) << back.error;
    EXPECT_EQ(back.database->fileName(), path);
    expectSameDrawing(*original, *back.database, {.ignoreMadeByWriter = true});
    EXPECT_FALSE(back.database->isModified());
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace host::dxf
