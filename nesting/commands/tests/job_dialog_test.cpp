// The job dialog and its pages, driven as a user drives them while the dialog waits: the checks of typed
// offsets, OK that returns only after the job file was written and asks before replacing a file that is not a
// job file, values too long for their line, Clear, the rectangle input, the rotation rules of the part rows and
// the reading of a job file into the tables.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "host/sys/tests/scratch_folder.h"
#include "host/ui/desktop.h"
#include "host/ui/dialog_driver.h"
#include "host/ui/file_dialog.h"
#include "host/ui/message_box.h"
#include "host/ui/tests/dialog_test_support.h"
#include "nesting/dialogs/job_dialog.h"
#include "nesting/frame/tests/state_fixture.h"

namespace job_dialog_unit {

namespace fs = std::filesystem;
using host::sys::testing::readBytes;
using host::sys::testing::ScratchFolder;
using host::sys::testing::writeBytes;
using host::ui::Dialog;
using host::ui::DialogDriver;
using Step = std::function<void(Dialog&)>;

const fs::path kDrawings = fs::path(KESTRION_SOURCE_DIR) / "nesting" / "drawings" / "tests" / "fixtures";

class JobDialogTest : public nesting_frame_testing::StateTest {
protected:
    void SetUp() override {
        StateTest::SetUp();
        host::ui::clearMessageBoxLog();
    }

    // Shows the dialog on `path` and takes `steps` while it waits (the innermost dialog each time: a message box
    // over it when one shows); answers doModal's answer.
    std::intptr_t Show(const std::string& path, std::vector<Step> steps) {
        dialog.JobFilePath = path;
        dialog.InstallFolder = nesting_frame_testing::kDataFolder.string();
        dialog.EdgeOffsetText = "10.00";
        dialog.PartGapText = "4.00";
        host::ui::testing::IdleSteps idle(desktop, std::move(steps));
        return dialog.doModal();
    }

    static Step Answer(int id) {
        return [id](Dialog& d) {
            auto* box = dynamic_cast<host::ui::MessageBoxDialog*>(&d);
            ASSERT_NE(box, nullptr) << "a message box was expected over \"" << d.text() << "\"";
            box->answer(id);
        };
    }
    // The texts of the message boxes shown, in order.
    static std::vector<std::string> Boxes() {
        std::vector<std::string> texts;
        for (const auto& r : host::ui::messageBoxLog()) texts.push_back(r.text);
        return texts;
    }
    static bool Shown(const std::string& part) {
        for (const auto& r : host::ui::messageBoxLog())
            if (r.text.find(part) != std::string::npos) return true;
        return false;
    }

    host::ui::Desktop desktop;
    host::ui::UseDialogUser nobody{nullptr};
    COpenDialogNesting dialog;
    ScratchFolder folder;
};

TEST_F(JobDialogTest, OffsetsRefuseForeignCharactersAndTakeTinyValuesAsNone) {
    Show("", {Answer(host::ui::IDOK),  // no job was opened before
              [](Dialog& d) { DialogDriver(d).set("229", "1,"); },
              Answer(host::ui::IDOK),  // "Invalid symbol"
              [](Dialog& d) {
                  // Refused whole: the offset keeps what it showed, not the "1" before the comma.
                  EXPECT_EQ(d.itemText(229), "10.00");
                  DialogDriver(d).set("230", "0.001");
                  DialogDriver(d).set("229", "5");  // the part gap loses the focus
                  EXPECT_EQ(d.itemText(230), "0.000");
                  DialogDriver(d).escape();
              }});
    EXPECT_EQ(Boxes(), (std::vector<std::string>{"No nesting job was opened before.\n\rLoad a job file, or add "
                                                 "stocks and parts and press OK. ",
                                                 "Invalid symbol in the string - 1,"}));
}

TEST_F(JobDialogTest, OkThatCannotWriteTheFileKeepsTheDialogOpen) {
    const std::string path = (folder / "no_such_folder" / "job.nst").string();
    const std::intptr_t answer =
        Show(path, {Answer(host::ui::IDOK),
                    [](Dialog& d) { DialogDriver(d).press("OK"); },
                    Answer(host::ui::IDOK),  // cannot create
                    [](Dialog& d) {
                        EXPECT_FALSE(d.hasEnded());
                        DialogDriver(d).escape();
                    }});
    EXPECT_EQ(answer, host::ui::IDCANCEL);
    EXPECT_TRUE(Shown("ERROR!!!\n\rIt is not possible to create the file " + path + " "));
    EXPECT_FALSE(fs::exists(path));
}

TEST_F(JobDialogTest, OkAsksBeforeReplacingAFileThatIsNotAJobFile) {
    const fs::path notes = folder / "notes.txt";
    writeBytes(notes, "not a job\r\n");
    const std::intptr_t first = Show(notes.string(), {Answer(host::ui::IDOK),  // incorrect format
                                                      [](Dialog& d) { DialogDriver(d).press("OK"); },
                                                      Answer(host::ui::IDNO),
                                                      [](Dialog& d) { DialogDriver(d).escape(); }});
    EXPECT_EQ(first, host::ui::IDCANCEL);
    EXPECT_EQ(readBytes(notes), "not a job\r\n");
    EXPECT_TRUE(Shown("is not a nesting job file"));

    host::ui::clearMessageBoxLog();
    const std::intptr_t second = Show(notes.string(), {Answer(host::ui::IDOK),
                                                       [](Dialog& d) { DialogDriver(d).press("OK"); },
                                                       Answer(host::ui::IDYES)});
    EXPECT_EQ(second, host::ui::IDOK);
    EXPECT_EQ(readBytes(notes).substr(0, 22), "Kestrion Nesting TQ450");
}

TEST_F(JobDialogTest, AValueTooLongForItsLineIsBoundedOrRefusedNamingTheField) {
    const fs::path job = folder / "job.nst";
    Show(job.string(), {Answer(host::ui::IDOK),
                        [this](Dialog& d) {
                            DialogDriver driver(d);
                            // An edit takes no more than its line holds: a longer value is refused whole.
                            const host::ui::DriveResult tooLong = driver.set("Material", std::string(80, 'M'));
                            EXPECT_FALSE(tooLong.done);
                            EXPECT_EQ(tooLong.why, "The edit \"Material\" takes at most 70 characters; the value "
                                                   "has 80. The field keeps its value.");
                            EXPECT_EQ(dialog.StockPage()->itemText(220), "");
                            EXPECT_TRUE(driver.set("Material", std::string(70, 'M')).done);
                            EXPECT_EQ(dialog.StockPage()->itemText(220), std::string(70, 'M'));
                            // A table cell is refused when the job is saved.
                            driver.set("Width", "1000");
                            driver.set("Height", "500");
                            driver.press("Add Stock Rectangle");
                            dialog.StockPage()->Grid.TypeIntoCell(1, kQuantityColumn, std::string(30, '7'));
                            driver.press("OK");
                        },
                        Answer(host::ui::IDOK),
                        [](Dialog& d) { DialogDriver(d).escape(); }});
    EXPECT_TRUE(Shown("The value of \"Qty\" is too long: at most 24 characters.")) << Boxes().back();
    EXPECT_FALSE(fs::exists(job));
}

TEST_F(JobDialogTest, RectanglesAreCheckedAndClearKeepsMaterialAndOffsets) {
    Show("", {Answer(host::ui::IDOK),
              [](Dialog& d) {
                  DialogDriver driver(d);
                  driver.press("Add Stock Rectangle");  // width and height 0
              },
              Answer(host::ui::IDOK),
              [](Dialog& d) {
                  DialogDriver driver(d);
                  driver.set("Width", "1000");
                  driver.set("Height", "500");
                  driver.press("Add Stock Rectangle");
                  driver.press("Add Stock Rectangle");  // the same name again
              },
              Answer(host::ui::IDOK),
              [this](Dialog& d) {
                  CPageStock& stock = *dialog.StockPage();
                  ASSERT_EQ(stock.DataRowCount(), 1);
                  EXPECT_EQ(stock.CellText(1, kTitleColumn), "Stosk_1000x500");
                  EXPECT_EQ(stock.CellText(1, kWidthColumn), "1000.00");
                  DialogDriver driver(d);
                  // Delete takes the rows holding the focus or a selected cell, none when nothing is chosen.
                  stock.Grid.ClearSelection();
                  driver.press("Delete");
                  EXPECT_EQ(stock.DataRowCount(), 1);
                  stock.Grid.ClickCell(1, kQuantityColumn);
                  driver.press("Delete");
                  EXPECT_EQ(stock.DataRowCount(), 0);
                  driver.set("Height", "400");
                  driver.press("Add Stock Rectangle");
                  driver.set("Material", "St37");
                  driver.press("Clear");
                  EXPECT_EQ(stock.DataRowCount(), 0);
                  EXPECT_EQ(d.itemText(229), "10.00");
                  EXPECT_EQ(stock.itemText(220), "St37");
                  driver.escape();
              }});
    const std::vector<std::string> boxes = Boxes();
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[1], "Error. Incorrect value of Height or Width of stock");
    EXPECT_EQ(boxes[2], "Duplicate file.\n\rThe file is in the table   \n\rStosk_1000x500");
}

TEST_F(JobDialogTest, RotationCellsOfARowAreMadeConsistentWhenTheUserClicksElsewhere) {
    struct Case {
        const char* type;
        const char* delta;
        const char* sector;
        const char* deltaAfter;
        const char* sectorAfter;
    };
    const std::vector<Case> cases{
        {"No Rotate", "15", "30", "", ""},
        {"Sector", "", "", "Any", "30"},
        {"Sector+180", "5", "", "5", "30"},
        {"0-360", "", "45", "Any", ""},
        {"Sideways", "5", "45", "5", "45"},  // a text not in the list changes nothing
    };
    Show("", {Answer(host::ui::IDOK), [&](Dialog& d) {
                  DialogDriver driver(d);
                  driver.selectTab("Parts");
                  CPagePart& part = *dialog.PartPage();
                  driver.set("Width", "100");
                  driver.set("Height", "50");
                  driver.press("Add Part Rectangle");
                  for (const Case& c : cases) {
                      SCOPED_TRACE(c.type);
                      part.Grid.SetCellText(1, kDeltaColumn, c.delta);
                      part.Grid.SetCellText(1, kSectorColumn, c.sector);
                      part.Grid.TypeIntoCell(1, kRotationColumn, c.type);
                      part.Grid.ClickCell(1, kQuantityColumn);
                      EXPECT_EQ(part.CellText(1, kDeltaColumn), c.deltaAfter);
                      EXPECT_EQ(part.CellText(1, kSectorColumn), c.sectorAfter);
                  }
                  // A sector typed into a "0-360" row goes at the next click; a second click on the same cell
                  // applies nothing.
                  part.Grid.TypeIntoCell(1, kRotationColumn, "0-360");
                  part.Grid.TypeIntoCell(1, kSectorColumn, "60");
                  part.Grid.ClickCell(1, kSectorColumn);
                  EXPECT_EQ(part.CellText(1, kSectorColumn), "60");
                  part.Grid.ClickCell(1, kGrainColumn);
                  EXPECT_EQ(part.CellText(1, kSectorColumn), "");
                  driver.escape();
              }});
}

TEST_F(JobDialogTest, AJobFileFillsTheTablesAndRefusedDrawingsAreReportedTogether) {
    fs::copy_file(kDrawings / "flange.dxf", folder / "FLANGE.DXF");
    fs::copy_file(kDrawings / "no_contours.dxf", folder / "no_contours.dxf");
    const std::string flange = (folder / "FLANGE.DXF").string();
    const std::string noContours = (folder / "no_contours.dxf").string();
    // An older file: its rectangle stock has no file-name line and takes its name line as its title.
    std::string text;
    for (const std::string& line :
         std::vector<std::string>{"Kestrion Nesting TQ440", "", "St37", "1.0037", "7.85e-06", "3", "", "", "10", "4",
                                  "4", "", "", "1", "0", "Stosk_1000x2000", "1", "0", "1", "", "", "", "", "", "3",
                                  "2", flange, "12", "0", "2", "5", "12", "-12", "4", "0", "", "", "",  //
                                  "2", flange, "1", "0", "1", "0", "0", "0", "2", "0", "", "", "",      //
                                  "2", noContours, "1", "0", "1", "0", "0", "0", "2", "0", "", "", "",  //
                                  "", "", "0"})
        text += line + "\r\n";
    const fs::path job = folder / "old.nst";
    writeBytes(job, text);
    Show(job.string(), {[&](Dialog& box) {
                            auto* report = dynamic_cast<host::ui::MessageBoxDialog*>(&box);
                            ASSERT_NE(report, nullptr);
                            EXPECT_NE(report->message().find("Duplicate file.\n\rThe file is in the table   \n\r" +
                                                             flange),
                                      std::string::npos)
                                << report->message();
                            EXPECT_NE(report->message().find(noContours), std::string::npos);
                            report->answer(host::ui::IDNO);
                        },
                        [&](Dialog& d) {
                            CPageStock& stock = *dialog.StockPage();
                            CPagePart& part = *dialog.PartPage();
                            ASSERT_EQ(stock.DataRowCount(), 1);
                            EXPECT_EQ(stock.CellText(1, kTitleColumn), "Stosk_1000x2000");
                            EXPECT_EQ(stock.CellText(1, kStockPriorityColumn), "2");
                            ASSERT_EQ(part.DataRowCount(), 1);
                            EXPECT_EQ(part.CellText(1, kTitleColumn), "FLANGE");
                            EXPECT_EQ(part.CellText(1, kRotationColumn), "Sector");
                            EXPECT_EQ(part.CellText(1, kDeltaColumn), "15");
                            EXPECT_EQ(part.CellText(1, kSectorColumn), "24");
                            EXPECT_EQ(part.CellText(1, kPartPriorityColumn), "5");
                            EXPECT_EQ(stock.itemText(220), "St37");
                            EXPECT_EQ(d.itemText(229), "10");
                            DialogDriver(d).escape();
                        }});
    EXPECT_EQ(host::ui::messageBoxLog().size(), 1u);
}

TEST_F(JobDialogTest, YesOfTheReportOpensTheDrawingsWithoutContoursThatWereChosen) {
    fs::copy_file(kDrawings / "no_contours.dxf", folder / "no_contours.dxf");
    fs::copy_file(kDrawings / "flange.dxf", folder / "flange.dxf");
    std::vector<std::string> list;
    std::vector<std::string> opened;
    dialog.FilesWithoutContours = &list;
    dialog.OpenFilesWithoutContours = [&] { opened = list; };
    Show("", {Answer(host::ui::IDOK),
              [](Dialog& d) {
                  DialogDriver driver(d);
                  driver.selectTab("Parts");
                  driver.press("Add Part DWG");
              },
              [&](Dialog& files) {
                  EXPECT_EQ(files.text(), "Part");
                  DialogDriver driver(files);
                  driver.set(std::to_string(host::ui::kFileNameEditId),
                             "\"" + (folder / "no_contours.dxf").string() + "\" \"" + (folder / "flange.dxf").string() +
                                 "\"");
                  driver.enter();
              },
              Answer(host::ui::IDYES),
              [&](Dialog& d) {
                  EXPECT_EQ(dialog.PartPage()->DataRowCount(), 1);
                  EXPECT_EQ(dialog.PartPage()->CellText(1, kTitleColumn), "flange");
                  DialogDriver(d).escape();
              }});
    EXPECT_EQ(opened, (std::vector<std::string>{(folder / "no_contours.dxf").string()}));
    EXPECT_TRUE(list.empty());
}

}  // namespace job_dialog_unit
