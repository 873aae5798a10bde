// The insert-part dialog on a desktop of its own, as InsertPart fills it: rows of rectangle types with their placed
// and total copies, the colours of types whose copies are all placed or that have none, the ten buttons' choices,
// Enter, a focus in the heading row, and a picture of the dialog (nesting_insert_part_dialog.png in the build
// folder) for a person to look at.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "cadlib/messages.h"
#include "host/ui/constants.h"
#include "host/ui/desktop.h"
#include "host/ui/dialog_driver.h"
#include "host/ui/image.h"
#include "host/ui/message_box.h"
#include "nesting/manual/insert_part_dialog.h"

namespace {

using host::ui::DialogDriver;

struct TypeRow {
    const char* name;
    int placed;
    int total;
    int rotation;
    int delta;
    double sector;
    int priority;
};

// Three plates: some copies left, all placed, none at all; the second turns by sectors.
constexpr TypeRow kRows[] = {
    {"Part_100x50", 9, 10, 1, 0, 0.0, 2},
    {"Part_300x200", 4, 4, 2, 9, 24.0, 0},
    {"Part_60x60", 0, 0, 0, 0, 0.0, 8},
};

class InsertPartDialog : public ::testing::Test {
protected:
    void SetUp() override {
        host::ui::clearMessageBoxLog();
        // real glyphs, so that the picture shows what a person would see
        desktop.setRasterEnabled(true);
        desktop.setTextMeasurer(host::ui::TextMeasurer::FreeType);
        dialog.InstallFolder = KESTRION_SOURCE_DIR "/data";
        dialog.FillRows = [](CDialogInsertPart& d) {
            for (const TypeRow& row : kRows) {
                ASSERT_EQ(d.AddInsertRow(0, 0, row.name, row.name), kInsertRowAdded);
                const int at = d.Grid().RowTotal() - 1;
                d.ShowPlacedCounts(at, row.placed, row.total, 0.0, row.rotation, row.delta, row.sector,
                                   row.priority);
            }
        };
        ASSERT_TRUE(Open(dialog));
    }

    // Makes the dialog as a modeless one and shows it, as the modal loop would.
    bool Open(CDialogInsertPart& d) {
        if (!d.createModeless(nullptr)) return false;
        d.show();
        desktop.pumpUntilIdle();
        return true;
    }
    std::string Cell(int row, int column) { return dialog.Grid().GetCellText(row, column); }

    host::ui::Desktop desktop;
    CDialogInsertPart dialog;
};

TEST_F(InsertPartDialog, RowsShowEachTypesCopiesRulesAndColours) {
    CGridCtrl& grid = dialog.Grid();
    ASSERT_EQ(grid.RowTotal(), 4);
    ASSERT_EQ(grid.ColumnTotal(), kInsertColumns);
    EXPECT_EQ(Cell(0, kInsertNameColumn), "File Name");
    EXPECT_EQ(Cell(1, kInsertNumberColumn), "1");
    EXPECT_EQ(Cell(1, kInsertTypeColumn), "0");
    EXPECT_EQ(Cell(1, kInsertWidthColumn), "100.00");
    EXPECT_EQ(Cell(1, kInsertHeightColumn), "50.00");
    EXPECT_EQ(Cell(1, kInsertQuantityColumn), "9/10");
    EXPECT_EQ(Cell(1, kInsertRemainingColumn), "1");
    EXPECT_EQ(Cell(1, kInsertRotationColumn), "0-360");
    EXPECT_EQ(Cell(1, kInsertSectorColumn), "");
    EXPECT_EQ(Cell(1, kInsertPriorityColumn), "3");
    EXPECT_EQ(Cell(2, kInsertRotationColumn), "Sector");
    EXPECT_EQ(Cell(2, kInsertDeltaColumn), "90");
    EXPECT_EQ(Cell(2, kInsertSectorColumn), "24");
    EXPECT_EQ(Cell(2, kInsertRemainingColumn), "");
    EXPECT_EQ(Cell(3, kInsertRotationColumn), "No Rotate");
    EXPECT_EQ(Cell(3, kInsertDeltaColumn), "");
    // The path of a rectangle is its preview drawing of the same proportions.
    EXPECT_EQ(std::filesystem::path(Cell(1, kInsertPathColumn)).filename(), "10x5.dxf");
    // Every data cell is read-only; the full rows are coloured, the others keep the window colour.
    for (int c = kInsertTypeColumn; c <= kInsertPriorityColumn; ++c) {
        EXPECT_TRUE(grid.GetCellState(1, c) & CellStateReadOnly);
        EXPECT_EQ(grid.CellAt(2, c)->QueryBackColour(), kAllPlacedColour);
        EXPECT_EQ(grid.CellAt(3, c)->QueryBackColour(), kNoCopiesColour);
        EXPECT_NE(grid.CellAt(1, c)->QueryBackColour(), kAllPlacedColour);
    }
    // The focus starts on the first row, and the file name shows its path.
    EXPECT_EQ(grid.FocusCell().row, 1);
    EXPECT_EQ(dialog.itemText(kInsertFileNameId), Cell(1, kInsertPathColumn));

    // A second row of the same name is refused with a message and adds nothing.
    EXPECT_EQ(dialog.AddInsertRow(4, 0, "part_100x50", "part_100x50"), kInsertRowRefused);
    EXPECT_EQ(grid.RowTotal(), 4);
    ASSERT_EQ(host::ui::messageBoxLog().size(), 1u);
    EXPECT_EQ(host::ui::messageBoxLog()[0].text, "File  part_100x50  already is present at the table");

    // The picture, for a person to look at: no text may be cut off or overlap.
    const host::ui::Image shot = desktop.snapshot(dialog);
    std::string error;
    EXPECT_TRUE(host::ui::writePng(
        shot, std::filesystem::path(KESTRION_BINARY_DIR) / "nesting_insert_part_dialog.png", &error))
        << error;
}

TEST_F(InsertPartDialog, TheRussianDialogHasRoomForItsTexts) {
    SetLibraryLanguage(Language::Russian);
    CDialogInsertPart russian;
    russian.InstallFolder = dialog.InstallFolder;
    russian.FillRows = dialog.FillRows;
    const bool opened = Open(russian);
    SetLibraryLanguage(Language::English);
    ASSERT_TRUE(opened);
    dialog.show(host::ui::SW_HIDE);
    desktop.pumpUntilIdle();
    EXPECT_EQ(russian.text(), "Добавить деталь на текущий лист");
    EXPECT_EQ(russian.itemText(kInsertManualGroup), "Вставить в ручную");
    EXPECT_EQ(russian.Grid().GetCellText(0, kInsertSectorColumn), "Угловой сектор");
    std::string error;
    EXPECT_TRUE(host::ui::writePng(desktop.snapshot(russian),
                                   std::filesystem::path(KESTRION_BINARY_DIR) / "nesting_insert_part_dialog_ru.png",
                                   &error))
        << error;
}

TEST_F(InsertPartDialog, ButtonsChooseTheWayOrRefuseATypeWithNothingLeft) {
    struct Case {
        const char* button;  // id
        const char* angle;
        int automatic;
    };
    for (const Case& c : {Case{"238", "0", 1}, Case{"241", "270", 1}, Case{"237", "\\", 1}, Case{"243", "180", 0},
                          Case{"245", "270", 0}}) {
        SCOPED_TRACE(c.button);
        CDialogInsertPart d;
        d.FillRows = dialog.FillRows;
        ASSERT_TRUE(Open(d));
        ASSERT_TRUE(DialogDriver(d).press(c.button).done);
        EXPECT_TRUE(d.hasEnded());
        EXPECT_EQ(d.result(), host::ui::IDOK);
        EXPECT_EQ(d.ChosenRow(), 1);
        EXPECT_EQ(d.InsertAngleText, c.angle);
        EXPECT_EQ(d.AutomaticInsert, c.automatic);
    }
    // Row 0 is the headings: a script that names it is told, and the type chosen stays a row of data.
    const host::ui::DriveResult heading = DialogDriver(dialog).set("234", "0");
    EXPECT_FALSE(heading.done);
    EXPECT_NE(heading.why.find("has no row \"0\"; its rows are 1 to"), std::string::npos) << heading.why;
    EXPECT_GE(dialog.Grid().FocusCell().row, 1);
    // Enter is the manual insert turned by dragging.
    ASSERT_TRUE(DialogDriver(dialog).enter().done);
    EXPECT_EQ(dialog.result(), host::ui::IDOK);
    EXPECT_EQ(dialog.InsertAngleText, "\\");
    EXPECT_EQ(dialog.AutomaticInsert, 0);

    // A type whose copies are all placed: told, and the dialog stays open.
    CDialogInsertPart full;
    full.FillRows = dialog.FillRows;
    ASSERT_TRUE(Open(full));
    full.Grid().MoveFocusToCell(2, kInsertHeightColumn);
    ASSERT_TRUE(DialogDriver(full).press("242").done);
    EXPECT_FALSE(full.hasEnded());
    ASSERT_FALSE(host::ui::messageBoxLog().empty());
    EXPECT_EQ(host::ui::messageBoxLog().back().text, "All details 'Part_300x200' are placed");

    // Without a focus cell in a data row (the grid keeps a focus out of the heading row, so none at all) any
    // insert button closes the dialog as Cancel.
    full.Grid().MoveFocusToCell(-1, -1);
    ASSERT_TRUE(DialogDriver(full).press("239").done);
    EXPECT_TRUE(full.hasEnded());
    EXPECT_EQ(full.result(), host::ui::IDCANCEL);
}

}  // namespace
