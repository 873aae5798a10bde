// A nested sheet in the drawing: which stock is sheet k, the marker the cutting-path module reads, the clamp,
// stock and part inserts with their poses, the summary line, the refusals, and the progress view of the run.
#include <gtest/gtest.h>

#include <filesystem>
#include <numbers>

#include "host/db/resbuf.h"
#include "host/dxf/dxf_file.h"
#include "host/ed/selection.h"
#include "nesting/result/sheet_drawing.h"
#include "nesting/result/tests/result_fixture.h"

namespace {

using host::db::ResBuf;
using host::db::ResBufList;
using host::ge::Point3d;
using host::db::ObjectId;
using host::db::ObjectPtr;
using host::db::OpenMode;
using nesting_result_testing::ResultTest;

constexpr double kExact = 1e-12;

class SheetDrawing : public ResultTest {
protected:
    // Two sheets of 1000 x 500, three parts of 100 x 50.
    void TwoSheetsThreeParts() {
        Stock(1000, 500, 2);
        Part(100, 50, 3);
        MakeInstances();
    }
};

// The "Kstr" list of every text of `db`'s model space that reads "Kstr_ST".
std::vector<ResBufList> MarkerLists(host::db::Database& db) {
    std::vector<ResBufList> lists;
    ObjectPtr<host::db::BlockTableRecord> model(db.modelSpaceId(), OpenMode::Read);
    for (ObjectId id : model->entityIds()) {
        ObjectPtr<host::db::Text> text(id, OpenMode::Read);
        if (text && text->textString() == "Kstr_ST") lists.push_back(text->xData("Kstr"));
    }
    return lists;
}

TEST_F(SheetDrawing, SheetKIsTheKthPlacedStockAndTheFirstWhenThereAreFewer) {
    Stock(1000, 500, 4);
    Part(100, 50, 1);
    MakeInstances();
    EXPECT_EQ(StockOfSheet(*state, 0), std::nullopt) << "no stock placed: no sheet";
    state->StockInstances[1].Placed = 1;
    state->StockInstances[3].Placed = 1;
    EXPECT_EQ(StockOfSheet(*state, 0), 1);
    EXPECT_EQ(StockOfSheet(*state, 1), 3);
    EXPECT_EQ(StockOfSheet(*state, 2), 1);
    EXPECT_EQ(StockOfSheet(*state, -1), 1);
}

TEST_F(SheetDrawing, DrawsTheMarkerClampsStockAndPartsOfTheSheet) {
    Stock(1000, 500, 1);
    Part(100, 50, 3);
    Clamps(2);
    MakeInstances();
    state->CurrentJobPath = "/jobs/plates.nst";
    state->MaterialName = "STEEL.MAT";
    state->MaterialNumber = "1.0038";
    state->MaterialDensity = 7.85e-06;
    state->MaterialThickness = 4.0;
    Place(0, 0, 100, 100);
    Place(1, 0, 250, 100, std::numbers::pi / 2);
    Place(2, 0, 400.25, 125.5);
    PartInstance& sheet = state->StockInstances[0];
    sheet.ClampFlag = 1;
    sheet.ClampCount = 2;
    sheet.ClampX = {300, 600, 0, 0, 0};
    sheet.ClampY = {0.001, 0.001, 0, 0, 0};
    Line({0, 0, 0}, {5, 5, 0});  // what the drawing held before

    ASSERT_EQ(DrawNest(*state, 0, true), 0);

    const std::vector<ObjectId> entities = ModelSpace();
    ASSERT_EQ(entities.size(), 7u) << "the marker, 2 clamps, the stock and 3 parts; the old line is gone";
    ObjectPtr<host::db::Text> marker(entities[0], OpenMode::Read);
    ASSERT_TRUE(marker);
    EXPECT_EQ(marker->textString(), "Kstr_ST");
    EXPECT_EQ(marker->layer(), "NC_Laser");
    EXPECT_FALSE(marker->isVisible());
    EXPECT_EQ(marker->position(), (Point3d{0, 0, 0}));
    EXPECT_EQ(marker->height(), 0.0);
    EXPECT_EQ(marker->rotation(), 0.0);
    const ResBufList expected = {
        ResBuf(1001, "Kstr"),          ResBuf(1040, 2008.0),        ResBuf(1071, 2),
        ResBuf(1071, 0),               ResBuf(1000, "/jobs/plates.nst"), ResBuf(1000, "STEEL.MAT"),
        ResBuf(1000, "1.0038"),        ResBuf(1040, 7.85e-06),      ResBuf(1040, 4.0),
    };
    EXPECT_EQ(marker->xData("Kstr"), expected);
    marker.close();

    const auto inserts = Inserts();
    ASSERT_EQ(inserts.size(), 6u);
    EXPECT_EQ(inserts[0].block, "Clamp");
    EXPECT_EQ(inserts[0].at, (Point3d{300, 0.001, 0}));
    EXPECT_EQ(inserts[1].at, (Point3d{600, 0.001, 0}));
    EXPECT_EQ(inserts[2].block, "Stosk_1000x500");
    EXPECT_EQ(inserts[2].at, (Point3d{0, 0, 0}));
    EXPECT_EQ(inserts[3].block, "Part_100x50");
    EXPECT_EQ(inserts[3].at, (Point3d{100, 100, 0}));
    EXPECT_EQ(inserts[4].at, (Point3d{250, 100, 0}));
    // the angle goes as degrees written "%.16e" and comes back as the same radians
    EXPECT_NEAR(inserts[4].rotation, std::numbers::pi / 2, kExact);
    EXPECT_EQ(inserts[5].at, (Point3d{400.25, 125.5, 0}));
    EXPECT_EQ(inserts[5].rotation, 0.0);

    EXPECT_NE(Transcript().find("\n\rStock=1/1 Parts=3/3 Metal recovery=3.00% "), std::string::npos)
        << Transcript();
    EXPECT_EQ(Transcript().find("not registered"), std::string::npos) << "a new drawing gets the application";
    EXPECT_EQ(state->ShownSheet, 0);
    EXPECT_TRUE(MessageBoxTexts().empty());
}

TEST_F(SheetDrawing, TheMarkerIsFoundAndReadAsTheCuttingPathModuleFindsANestedSheet) {
    TwoSheetsThreeParts();
    state->CurrentJobPath = "C:\\Nest\\job.nst";
    state->MaterialName = "SHEET.MAT";
    state->MaterialNumber = "77";
    state->MaterialDensity = 8e-06;
    state->MaterialThickness = 3.0;
    Place(0, 0, 100, 100);
    Place(1, 1, 100, 100);
    ASSERT_EQ(DrawNest(*state, 1, false), 0);

    // The selection by which the cutting-path module finds its stored texts.
    const ResBufList filter = {ResBuf(-4, "<and"), ResBuf(0, "TEXT"),      ResBuf(8, "NC_Laser"),
                               ResBuf(10, Point3d{0, 0, 0}), ResBuf(1, "Kstr_ST"), ResBuf(-4, "and>")};
    host::db::EntityName set;
    ASSERT_EQ(host::ed::ssGet("_X", nullptr, nullptr, &filter, set), host::db::RTNORM);
    const std::vector<ObjectId> found = host::ed::selectionIds(set);
    host::ed::ssFree(set);
    ASSERT_EQ(found.size(), 1u);

    // Saved and read back, the record is item for item that of a sheet the cutting-path module's own tests take
    // over (its fixture), the sheet index aside.
    const std::filesystem::path file =
        std::filesystem::path(KESTRION_BINARY_DIR) / "nesting_result_marker_sheet.dxf";
    std::string error;
    ASSERT_TRUE(host::dxf::writeDxfFile(Drawing(), file, &error)) << error;
    host::dxf::ReadResult saved = host::dxf::readDxfFile(file);
    ASSERT_TRUE(saved) << saved.error;
    host::dxf::ReadResult reference = host::dxf::readDxfFile(std::filesystem::path(KESTRION_SOURCE_DIR) /
                                                            "laser/job/tests/fixtures/nest_2008.dxf");
    ASSERT_TRUE(reference) << reference.error;
    const std::vector<ResBufList> ours = MarkerLists(*saved.database);
    const std::vector<ResBufList> theirs = MarkerLists(*reference.database);
    ASSERT_EQ(ours.size(), 1u);
    ASSERT_EQ(theirs.size(), 1u);
    ResBufList expected = theirs[0];
    ASSERT_EQ(expected.size(), 9u);
    expected[3] = ResBuf(1071, 1);
    EXPECT_EQ(ours[0], expected);
    std::filesystem::remove(file);
}

TEST_F(SheetDrawing, AFirstStockWithoutPartsIsSkippedAndTheSheetTakesItsOwnClamps) {
    TwoSheetsThreeParts();
    Clamps(1);
    MakeInstances();
    Place(0, 1, 100, 100);
    state->StockInstances[1].ClampFlag = 1;
    state->StockInstances[1].ClampCount = 1;
    state->StockInstances[1].ClampX[0] = 777;
    ASSERT_EQ(DrawNest(*state, 0, false), 0);
    const auto inserts = Inserts();
    ASSERT_EQ(inserts.size(), 3u);
    EXPECT_EQ(inserts[0].block, "Clamp");
    EXPECT_EQ(inserts[0].at.x, 777);
    EXPECT_EQ(inserts[2].at, (Point3d{100, 100, 0}));
    EXPECT_NE(Transcript().find("Stock=1/1 Parts=1/3 Metal recovery=1.00% "), std::string::npos) << Transcript();
}

TEST_F(SheetDrawing, WithoutASheetAnInformationBoxSaysSoAndNothingChanges) {
    const struct {
        Language language;
        const char* text;
    } cases[] = {
        {Language::English, "There are no placed details\n\rCheck up the initial data"},
        {Language::Russian, "Детали не размещены\n\rПроверьте исходные данные"},
    };
    TwoSheetsThreeParts();  // loaded, never run
    const ObjectId kept = Line({0, 0, 0}, {5, 5, 0});
    state->ShownSheet = 4;
    for (const auto& c : cases) {
        SetLibraryLanguage(c.language);
        host::ui::clearMessageBoxLog();
        EXPECT_EQ(DrawNest(*state, -1, true), -1);
        ASSERT_EQ(host::ui::messageBoxLog().size(), 1u);
        EXPECT_EQ(host::ui::messageBoxLog()[0].text, c.text);
        EXPECT_EQ(host::ui::messageBoxLog()[0].style, host::ui::MB_OK | host::ui::MB_ICONINFORMATION);
    }
    EXPECT_EQ(ModelSpace(), std::vector<ObjectId>{kept});
    EXPECT_EQ(state->ShownSheet, 4);
    EXPECT_EQ(Transcript().find("Stock="), std::string::npos);
}

TEST_F(SheetDrawing, PagingWrapsAroundTheSheets) {
    Stock(1000, 500, 3);
    Part(100, 50, 3);
    MakeInstances();
    for (int i = 0; i < 3; ++i) Place(i, i, 100, 100);
    state->CurrentJobPath = "job.nst";
    // From sheet 0: back to the last, forward to the first, on to the second.
    const struct {
        bool next;
        int sheet;
    } steps[] = {{false, 2}, {true, 0}, {true, 1}, {false, 0}};
    for (const auto& step : steps) {
        host::ed::transcript().clear();
        ASSERT_EQ(step.next ? ShowNextSheet(*state) : ShowPreviousSheet(*state), 0);
        EXPECT_EQ(state->ShownSheet, step.sheet);
        const std::vector<ResBufList> markers = MarkerLists(Drawing());
        ASSERT_EQ(markers.size(), 1u);
        EXPECT_EQ(markers[0][3], ResBuf(1071, step.sheet));
        EXPECT_NE(Transcript().find("Stock=" + std::to_string(step.sheet + 1) + "/3 Parts=1/3"), std::string::npos)
            << Transcript();
    }
}

TEST_F(SheetDrawing, PagingBeforeAnyRunOnlyTellsThereIsNoSheet) {
    TwoSheetsThreeParts();
    const ObjectId kept = Line({0, 0, 0}, {5, 5, 0});
    EXPECT_EQ(ShowPreviousSheet(*state), -1);
    EXPECT_EQ(state->ShownSheet, -1);
    EXPECT_EQ(ShowNextSheet(*state), -1);
    EXPECT_EQ(state->ShownSheet, 0);
    EXPECT_EQ(MessageBoxTexts().size(), 2u);
    EXPECT_EQ(ModelSpace(), std::vector<ObjectId>{kept});
}

TEST_F(SheetDrawing, APartWhoseBlockCannotBeInsertedIsToldAndNotCounted) {
    Stock(1000, 500, 1);
    Part(100, 50, 2);
    Part(30, 30, 2, /*defineBlock=*/false);  // its block was never made
    MakeInstances();
    for (int i = 0; i < 4; ++i) Place(i, 0, 100 + 150 * i, 100);
    ASSERT_EQ(DrawNest(*state, 0, false), 0);
    EXPECT_EQ(Inserts().size(), 3u) << "the stock and the two parts that have a block";
    EXPECT_NE(Transcript().find("The block 'Part_30x30' could not be inserted: 2 part(s) are not drawn"),
              std::string::npos)
        << Transcript();
    EXPECT_NE(Transcript().find("Stock=1/1 Parts=2/4 Metal recovery=2.00% "), std::string::npos) << Transcript();
}

TEST_F(SheetDrawing, ABlockNamedWithADecimalSizeIsInserted) {
    Stock(1000, 500, 1);
    const int t = Part(100.5, 50, 1, /*defineBlock=*/false);
    state->PartTypes[static_cast<std::size_t>(t)].BlockName = "Part_100.5x50";
    Define("Part_100.5x50", 100.5, 50, kAnchorCentre);
    MakeInstances();
    Place(0, 0, 100, 100);
    ASSERT_EQ(DrawNest(*state, 0, false), 0);
    const auto inserts = Inserts();
    ASSERT_EQ(inserts.size(), 2u) << Transcript();
    EXPECT_EQ(inserts[1].block, "Part_100.5x50");
}

TEST_F(SheetDrawing, TheProgressViewDrawsTheStockAndThePartsOfThePlacementOrderOnIt) {
    TwoSheetsThreeParts();
    Place(0, 0, 100, 100);
    Place(1, 1, 200, 100, std::numbers::pi);
    Place(2, 1, 300, 100);
    state->PartOrder = {2, 1, 0};
    state->OrderCount = 3;
    Line({0, 0, 0}, {5, 5, 0});
    ShowSheetProgress(*state, 1);
    const auto inserts = Inserts();
    ASSERT_EQ(inserts.size(), 3u);
    EXPECT_EQ(ModelSpace().size(), 3u) << "no marker, nothing of before";
    EXPECT_EQ(inserts[0].block, "Stosk_1000x500");
    EXPECT_EQ(inserts[1].at.x, 300);
    EXPECT_EQ(inserts[2].at.x, 200);
    EXPECT_NEAR(inserts[2].rotation, std::numbers::pi, kExact);

    ShowSheetProgress(*state, 7);  // no such stock: nothing happens
    EXPECT_EQ(Inserts().size(), 3u);
}

}  // namespace
