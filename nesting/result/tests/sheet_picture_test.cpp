// A small job of flanges, L-shapes, slots and plates nested by the engine, shown sheet by sheet as the run goes
// and then as the first sheet with its clamps and trim lines, and saved as the picture a user would see
// (nesting_result_sheet.svg in the build folder, left there to look at).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "host/db/resbuf.h"
#include "host/ed/command.h"
#include "host/ed/drawing_svg.h"
#include "host/sys/random.h"
#include "nesting/engine/nesting_run.h"
#include "nesting/result/contour_drawing.h"
#include "nesting/result/nest_report.h"
#include "nesting/result/sheet_drawing.h"
#include "nesting/result/trim_lines.h"
#include "nesting/result/tests/result_fixture.h"

namespace {

using host::db::ObjectId;
using host::db::ResBuf;
using nesting_result_testing::ResultTest;

class SheetPicture : public ResultTest {
protected:
    // Makes the block of a type from its engine contours, as the loader makes one from the part's drawing: the
    // entities are drawn in model space and gathered with "_.-BLOCK" about the type's origin.
    void DefineBlockOf(const PartType& type) {
        const std::vector<ObjectId> before = ModelSpace();
        for (const Contour& c : type.Outers[0]) DrawContour(c);
        for (const Contour& c : type.Holes[0]) DrawContour(c);
        host::db::ResBufList args = {ResBuf(host::db::RTSTR, "_.-BLOCK"), ResBuf(host::db::RTSTR, type.BlockName),
                                     ResBuf(host::db::RTSTR, "0,0")};
        for (ObjectId id : ModelSpace()) {
            if (std::find(before.begin(), before.end(), id) == before.end()) {
                args.emplace_back(host::db::RTENAME, host::db::idToName(id));
            }
        }
        args.emplace_back(host::db::RTSTR, "");
        ASSERT_EQ(host::ed::command(args), host::db::RTNORM) << Transcript();
    }
    int AddPart(PartType type, int quantity, std::uint8_t rotation = kRotateFull) {
        const int t = AddPartType(*state, std::move(type), quantity, 0, rotation);
        DefineBlockOf(state->PartTypes[static_cast<std::size_t>(t)]);
        return t;
    }
};

TEST_F(SheetPicture, ANestedJobDrawnSheetBySheetAndSavedAsAPicture) {
    host::sys::seedRandom(7);
    Stock(600, 400, 2);
    PartType flange = MakeType(kKindPart, MakeCircle(45), "FLANGE");
    AddHole(flange, MakeCircle(20));
    AddPart(std::move(flange), 3, kRotateNone);  // round: turning it gains nothing
    AddPart(MakeType(kKindPart, MakePolygon({{-60, -40}, {60, -40}, {60, -10}, {-30, -10}, {-30, 40}, {-60, 40}}),
                     "L_SHAPE"),
            3);
    AddPart(MakeType(kKindPart, MakeArcSlot(120, 30, {-60, 0}), "SLOT"), 2, kRotateNone);
    PartType plate = MakeRectangleType(kKindPart, 160, 90);
    AddHole(plate, MakeRectangle(60, 30, {-30, -15}));
    AddPart(std::move(plate), 2);
    Clamps(2, 40, 20);
    state->ClampCenterList = 1;
    state->ClampingDistance = 250;
    MakeInstances();
    state->CurrentJobPath = "/jobs/shop.nst";

    std::vector<int> progress;
    RunNesting(*state, [&](int sheet) {
        ShowSheetProgress(*state, sheet);
        progress.push_back(sheet);
        EXPECT_GT(Inserts().size(), 1u) << "the progress view shows the sheet " << sheet << " with parts";
    });
    ASSERT_FALSE(progress.empty());
    ASSERT_GE(state->UsedStockCount, 1);

    ASSERT_EQ(DrawNest(*state, 0, true), 0);
    const auto inserts = Inserts();
    ASSERT_GE(inserts.size(), 2u);
    ASSERT_GE(inserts.size(), 4u);
    EXPECT_EQ(inserts[0].block, "Clamp");
    EXPECT_EQ(inserts[1].block, "Clamp");
    EXPECT_EQ(inserts[2].block, "Stosk_600x400");
    const std::string report = BuildNestReport(*state);
    EXPECT_NE(report.find("Current Stock 1 : Stosk_600x400"), std::string::npos) << report;
    EXPECT_NE(Transcript().find("Stock=1/" + std::to_string(state->UsedStockCount) + " Parts=" +
                                std::to_string(inserts.size() - 3) + "/10 "),
              std::string::npos)
        << Transcript();

    ASSERT_EQ(DrawTrimLine(*state, true), 0);

    const std::filesystem::path picture = std::filesystem::path(KESTRION_BINARY_DIR) / "nesting_result_sheet.svg";
    std::string error;
    host::ed::SvgReport svg;
    ASSERT_TRUE(host::ed::writeSvgFile(Drawing(), picture, &error, {}, &svg)) << error;
    EXPECT_FALSE(svg.cutOff);
    EXPECT_TRUE(svg.notDrawn.empty());
    EXPECT_EQ(svg.hidden, 1u) << "the invisible marker";
    EXPECT_GE(svg.drawn, 4u * 3u + 2u * (inserts.size() - 3) + 2u)
        << "the four sides of the stock and of each clamp, every part's outlines and the two trim lines";
}

}  // namespace
