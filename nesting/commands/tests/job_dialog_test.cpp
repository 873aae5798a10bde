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

// The number fields of the job are read whole when it is saved: a text of a number's characters that is not one
// number is refused naming the field, the field gets back what it kept, and no file is written.
TEST_F(JobDialogTest, NumberFieldsRefuseATextThatIsNotOneNumberAndKeepTheirValue) {
    struct Field {
        const char* control;  // as the driver names it
        bool onStockPage;
        int id;
        const char* kept;
        const char* name;  // as the message names it
    };
    const std::vector<Field> fields{{"229", false, 229, "10.00", "Offsets, Stock"},
                                    {"230", false, 230, "4.00", "Offsets, Part"},
                                    {"Density", true, 221, "7.85e-06", "Density"},
                                    {"Thickness", true, 201, "1.0", "Thickness"}};
    // Only these reach the check: the fields refuse any other character as it is typed.
    const std::vector<std::string> texts{"42.0.0", ".", "2..", "2.5.1", ""};
    for (const Field& f : fields) {
        for (const std::string& text : texts) {
            SCOPED_TRACE(std::string(f.control) + " = \"" + text + "\"");
            host::ui::clearMessageBoxLog();
            const fs::path job = folder / "job.nst";
            COpenDialogNesting fresh;
            fresh.JobFilePath = job.string();
            fresh.InstallFolder = nesting_frame_testing::kDataFolder.string();
            fresh.EdgeOffsetText = "10.00";
            fresh.PartGapText = "4.00";
            std::string shown;
            bool ended = true;
            host::ui::testing::IdleSteps idle(
                desktop, {Answer(host::ui::IDOK),  // the job file is not found
                          [&](Dialog& d) {
                              EXPECT_TRUE(DialogDriver(d).set(f.control, text).done);
                              DialogDriver(d).press("OK");
                          },
                          Answer(host::ui::IDOK),  // the refusal
                          [&](Dialog& d) {
                              ended = d.hasEnded();
                              shown = f.onStockPage ? fresh.StockPage()->itemText(f.id) : d.itemText(f.id);
                              DialogDriver(d).escape();
                          }});
            fresh.doModal();
            EXPECT_FALSE(ended);
            EXPECT_EQ(shown, f.kept);
            ASSERT_EQ(Boxes().size(), 2u);
            EXPECT_EQ(Boxes()[1], std::string(f.name) + ": \"" + text + "\" is not a number. The field keeps " +
                                      f.kept + ".");
            EXPECT_FALSE(fs::exists(job));
        }
    }
}

TEST_F(JobDialogTest, NumberFieldsTakeAWholeNumberInTheirRangeAndRefuseOneOutsideIt) {
    const fs::path job = folder / "job.nst";
    Show(job.string(), {Answer(host::ui::IDOK),
                        [](Dialog& d) {
                            DialogDriver driver(d);
                            driver.set("229", "20000");
                            driver.press("OK");
                        },
                        Answer(host::ui::IDOK),
                        [](Dialog& d) {
                            EXPECT_EQ(d.itemText(229), "10.00");
                            DialogDriver driver(d);
                            driver.set("229", "12.5");
                            driver.set("Density", "8e-06");
                            driver.set("Thickness", "2.");
                            driver.press("OK");
                        }});
    EXPECT_TRUE(Shown("Offsets, Stock: \"20000\" is not a number from 0 to 10000. The field keeps 10.00."));
    const std::string written = readBytes(job);
    EXPECT_NE(written.find("\r\n8e-06\r\n2.\r\n\r\n\r\n12.5\r\n4.00\r\n"), std::string::npos) << written;
}

// The rectangle's sides are read whole too: "2.." adds no rectangle 2 wide.
TEST_F(JobDialogTest, RectangleSidesThatAreNotOneNumberAddNoRectangle) {
    Show("", {Answer(host::ui::IDOK),
              [](Dialog& d) {
                  DialogDriver driver(d);
                  driver.set("Width", "1000");
                  driver.set("Height", "500");
                  driver.press("Add Stock Rectangle");
                  driver.set("Width", "2..");
                  driver.press("Add Stock Rectangle");
              },
              Answer(host::ui::IDOK),
              [this](Dialog& d) {
                  EXPECT_EQ(dialog.StockPage()->DataRowCount(), 1);
                  EXPECT_EQ(dialog.StockPage()->itemText(246), "1000");
                  DialogDriver driver(d);
                  driver.set("Height", "");
                  driver.press("Add Stock Rectangle");
              },
              Answer(host::ui::IDOK),
              [this](Dialog& d) {
                  EXPECT_EQ(dialog.StockPage()->DataRowCount(), 1);
                  EXPECT_EQ(dialog.StockPage()->itemText(247), "500");
                  DialogDriver(d).escape();
              }});
    const std::vector<std::string> boxes = Boxes();
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[1], "Width: \"2..\" is not a number. The field keeps 1000.");
    EXPECT_EQ(boxes[2], "Height: \"\" is not a number. The field keeps 500.");
}

// A side longer than a job holds was added, and the job saved with it was refused at its next Load: such a side is
// refused in the field, naming the range, and the longest a job holds is taken.
TEST_F(JobDialogTest, RectangleSidesLongerThanAJobHoldsAddNoRectangle) {
    Show("", {Answer(host::ui::IDOK),
              [](Dialog& d) {
                  DialogDriver driver(d);
                  driver.set("Width", "500");
                  driver.set("Height", "300");
                  driver.press("Add Stock Rectangle");
                  driver.set("Width", "100001");
                  driver.press("Add Stock Rectangle");
              },
              Answer(host::ui::IDOK),
              [this](Dialog& d) {
                  EXPECT_EQ(dialog.StockPage()->DataRowCount(), 1);
                  EXPECT_EQ(dialog.StockPage()->itemText(246), "500");
                  DialogDriver driver(d);
                  driver.set("Height", "99999999");
                  driver.press("Add Stock Rectangle");
              },
              Answer(host::ui::IDOK),
              [this](Dialog& d) {
                  EXPECT_EQ(dialog.StockPage()->DataRowCount(), 1);
                  EXPECT_EQ(dialog.StockPage()->itemText(247), "300");
                  DialogDriver driver(d);
                  driver.set("Width", "100000");
                  driver.press("Add Stock Rectangle");
                  EXPECT_EQ(dialog.StockPage()->DataRowCount(), 2);
                  driver.escape();
              }});
    const std::vector<std::string> boxes = Boxes();
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[1], "Width: \"100001\" is not a number from 0 to 100000. The field keeps 500.");
    EXPECT_EQ(boxes[2], "Height: \"99999999\" is not a number from 0 to 100000. The field keeps 300.");
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
                            // (a number in the cell's range, but longer than a number's line)
                            dialog.StockPage()->Grid.TypeIntoCell(1, kGrainColumn, "0." + std::string(28, '0') + "1");
                            driver.press("OK");
                        },
                        Answer(host::ui::IDOK),
                        [](Dialog& d) { DialogDriver(d).escape(); }});
    EXPECT_TRUE(Shown("The value of \"Grain angle\" is too long: at most 24 characters.")) << Boxes().back();
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

// Quantity and choice cells take only what they can hold: through the driver's set, as a script and the terminal
// set them, and typed into the cell; a refused text is told with what the cell takes, and the cell keeps its value.
TEST_F(JobDialogTest, QuantityAndChoiceCellsRefuseWhatTheyCannotHold) {
    struct Case {
        int column;
        const char* text;
        const char* shown;    // the cell afterwards
        const char* message;  // the part of the refusal told, empty when the text is taken
    };
    const char* const rotations = "choose one of No Rotate, 0-360, Sector, Sector+180.";
    const char* const quantity = "The quantity must be a whole number from 0 to 10000";
    const std::vector<Case> cases{
        {kRotationColumn, "xyz", "0-360", rotations},
        {kRotationColumn, "", "0-360", rotations},
        {kRotationColumn, "sector+180", "Sector+180", ""},  // either case, shown as listed
        {kDeltaColumn, "7", "Any", "choose one of Any, 1, 2, 5, 10, 15, 30, 45, 60, 90, 180, Inscribe."},
        {kDeltaColumn, "", "Any", "\"\" is not a choice of \"Delta angle\""},  // the part is turned
        {kDeltaColumn, "inscribe", "Inscribe", ""},
        {kPartPriorityColumn, "0", "3", "choose one of 1, 2, 3, 4, 5, 6, 7, 8, 9."},
        {kPartPriorityColumn, "3.0", "3", "\"3.0\" is not a choice of \"Priority\""},
        {kPartPriorityColumn, "9", "9", ""},
        {kQuantityColumn, "-3", "1", quantity},
        {kQuantityColumn, "abc", "1", quantity},
        {kQuantityColumn, "2.5", "1", quantity},
        {kQuantityColumn, "1e3", "1", quantity},
        {kQuantityColumn, "10001", "1", quantity},
        {kQuantityColumn, "99999999999999999999", "1", quantity},
        {kQuantityColumn, "", "1", quantity},
        {kQuantityColumn, "10000", "10000", ""},
        {kQuantityColumn, "0", "0", ""},
        {kGrainColumn, "90", "90", ""},
        {kGrainColumn, "-45.5", "-45.5", ""},
        {kGrainColumn, "400", "0", "\"Grain angle\" must be a number from -360 to 360 degrees, not \"400\""},
        {kGrainColumn, "9O", "0", "not \"9O\""},
        {kGrainColumn, "", "0", "not \"\""},
        {kSectorColumn, "30", "30", ""},
        {kSectorColumn, "", "", ""},
        {kSectorColumn, "3.0.0", "", "\"Angular sector\" must be a number from 0 to 360 degrees, not \"3.0.0\""},
        {kSectorColumn, "-30", "", "not \"-30\""},
    };
    std::vector<Step> steps{Answer(host::ui::IDOK), [](Dialog& d) {
                                DialogDriver driver(d);
                                driver.selectTab("Parts");
                                driver.set("Width", "100");
                                driver.set("Height", "50");
                                driver.press("Add Part Rectangle");
                            }};
    for (const Case& c : cases) {
        steps.push_back([this, c](Dialog& d) {
            CPagePart& part = *dialog.PartPage();
            part.Grid.SetCellText(1, kRotationColumn, "0-360");
            part.Grid.SetCellText(1, kDeltaColumn, "Any");
            part.Grid.SetCellText(1, kPartPriorityColumn, "3");
            part.Grid.SetCellText(1, kQuantityColumn, "1");
            part.Grid.SetCellText(1, kGrainColumn, "0");
            part.Grid.SetCellText(1, kSectorColumn, "");
            host::ui::clearMessageBoxLog();
            const std::string value = "1 " + std::to_string(c.column) + " \"" + c.text + "\"";
            EXPECT_TRUE(DialogDriver(d).set("223", value).done) << c.text;
        });
        if (*c.message) steps.push_back(Answer(host::ui::IDOK));
        steps.push_back([this, c](Dialog&) {
            SCOPED_TRACE(std::string(c.text) + " in column " + std::to_string(c.column));
            EXPECT_EQ(dialog.PartPage()->CellText(1, c.column), c.shown);
            if (*c.message) {
                ASSERT_EQ(Boxes().size(), 1u);
                EXPECT_NE(Boxes()[0].find(c.message), std::string::npos) << Boxes()[0];
                EXPECT_NE(Boxes()[0].find("The cell keeps its value."), std::string::npos) << Boxes()[0];
            } else {
                EXPECT_TRUE(Boxes().empty());
            }
        });
    }
    // Typed into the cell: the editor's text goes through the same check.
    steps.push_back([this](Dialog& d) {
        CPagePart& part = *dialog.PartPage();
        host::ui::clearMessageBoxLog();
        part.Grid.SetCellText(1, kQuantityColumn, "1");
        part.Grid.ClickCell(1, kQuantityColumn);
        part.Grid.setFocus();
        DialogDriver(d).robot().type("2.5");
        ASSERT_NE(part.Grid.CellAt(1, kQuantityColumn)->QueryEditor(), nullptr);
        DialogDriver(d).robot().key(host::ui::VK_TAB);
    });
    steps.push_back(Answer(host::ui::IDOK));
    steps.push_back([this](Dialog& d) {
        EXPECT_EQ(dialog.PartPage()->CellText(1, kQuantityColumn), "1");
        EXPECT_TRUE(Shown("not \"2.5\""));
        // A part that is not turned has no angle step: the rotation rules empty its cell, and so may the user.
        CPagePart& part = *dialog.PartPage();
        part.Grid.TypeIntoCell(1, kRotationColumn, "No Rotate");
        part.Grid.ClickCell(1, kQuantityColumn);
        EXPECT_EQ(part.CellText(1, kDeltaColumn), "");
        EXPECT_TRUE(DialogDriver(d).set("223", "1 9 Any").done);
        EXPECT_TRUE(DialogDriver(d).set("223", "1 9 \"\"").done);
        EXPECT_EQ(part.CellText(1, kDeltaColumn), "");
        DialogDriver(d).escape();
    });
    Show("", std::move(steps));
}

// The heading row and the number column belong to the grid: neither a script's row 0 nor a text for column 0
// reaches them, so a column stays named by its heading.
TEST_F(JobDialogTest, TheHeadingRowAndTheRowNumbersCannotBeWritten) {
    Show("", {Answer(host::ui::IDOK), [this](Dialog& d) {
                  DialogDriver driver(d);
                  driver.selectTab("Parts");
                  driver.set("Width", "100");
                  driver.set("Height", "50");
                  driver.press("Add Part Rectangle");
                  CPagePart& part = *dialog.PartPage();
                  for (const char* value : {"0 Qty 5", "0 6 5", "0", "1 0 7"}) {
                      SCOPED_TRACE(value);
                      EXPECT_FALSE(driver.set("223", value).done);
                      EXPECT_FALSE(part.Grid.TakeValue(value));
                  }
                  EXPECT_EQ(part.CellText(0, kQuantityColumn), "Qty");
                  EXPECT_EQ(part.CellText(1, 0), "1");
                  EXPECT_TRUE(driver.set("223", "1 Qty 5").done);
                  EXPECT_EQ(part.CellText(1, kQuantityColumn), "5");
                  // The listing names what the choice cells take.
                  const std::string shown = driver.describe();
                  for (const char* line : {"8:Type Rotate takes one of: No Rotate, 0-360, Sector, Sector+180\n",
                                           "9:Delta angle takes one of: Any, 1, 2, 5, 10, 15, 30, 45, 60, 90, 180, "
                                           "Inscribe\n",
                                           "11:Priority takes one of: 1, 2, 3, 4, 5, 6, 7, 8, 9"})
                      EXPECT_NE(shown.find(line), std::string::npos) << line << "\n" << shown;
                  driver.escape();
              }});
}

// A job file that did not load whole is not replaced by OK without asking: the tables show what was read before
// the fault, the message names the line, and No keeps the file as it was (and the dialog open); Yes writes what
// the tables show.
TEST_F(JobDialogTest, OkAsksBeforeReplacingAJobFileThatDidNotLoadWhole) {
    fs::copy_file(kDrawings / "flange.dxf", folder / "flange.dxf");
    const std::string flange = (folder / "flange.dxf").string();
    auto file = [&](const std::string& delta, const std::string& secondPart) {
        std::string text;
        for (const std::string& line : std::vector<std::string>{
                 "Kestrion Nesting TQ450", "", "St37", "", "7.85e-06", "3", "", "", "10", "4", "4", "", "", "1",  //
                 "0", "Stosk_1000x500", "Sheet", "2", "0", "2", "", "", "",                                        //
                 "", "", "2",                                                                                       //
                 "0", "Part_100x50", "Part_100x50", "10", "0", "1", "0", "0", "0", "2", "0", "", "", "",           //
                 "2", secondPart, "5", "0", "1", delta, "0", "0", "2", "0", "", "", "",                            //
                 "", "", "0"})
            text += line + "\r\n";
        return text;
    };
    struct Case {
        const char* what;
        std::string text;
        int parts;           // rows read
        const char* told;    // part of the load's message
        int replaceAnswer;   // the answer to the question
    };
    const std::vector<Case> cases{
        {"a delta index out of range", file("12", flange), 1,
         "Line 46, part 2: the delta angle index must be a whole number from 0 to 11, not \"12\".", host::ui::IDNO},
        {"a missing part drawing", file("0", (folder / "gone.dxf").string()), 1, "File not found:", host::ui::IDNO},
        {"cut short", file("0", flange).substr(0, file("0", flange).size() - 20), 1, "the file ends where", host::ui::IDNO},
        {"a delta index out of range, replaced", file("12", flange), 1, "Line 46, part 2", host::ui::IDYES},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        host::ui::clearMessageBoxLog();
        const fs::path job = folder / "job.nst";
        writeBytes(job, c.text);
        COpenDialogNesting fresh;
        fresh.JobFilePath = job.string();
        fresh.InstallFolder = nesting_frame_testing::kDataFolder.string();
        int parts = -1;
        std::string stockTitle;
        host::ui::testing::IdleSteps idle(
            desktop, {Answer(host::ui::IDOK),  // what is wrong with the file
                      [&](Dialog& d) {
                          parts = fresh.PartPage()->DataRowCount();
                          stockTitle = fresh.StockPage()->CellText(1, kTitleColumn);
                          DialogDriver(d).press("OK");
                      },
                      [&](Dialog& box) {
                          auto* question = dynamic_cast<host::ui::MessageBoxDialog*>(&box);
                          ASSERT_NE(question, nullptr);
                          EXPECT_NE(question->message().find("was not read whole"), std::string::npos)
                              << question->message();
                          question->answer(c.replaceAnswer);
                      },
                      [&](Dialog& d) {
                          if (!d.hasEnded()) DialogDriver(d).escape();
                      }});
        fresh.doModal();
        EXPECT_NE(Boxes()[0].find(c.told), std::string::npos) << Boxes()[0];
        EXPECT_EQ(parts, c.parts);
        EXPECT_EQ(stockTitle, "Sheet");
        if (c.replaceAnswer == host::ui::IDNO) {
            EXPECT_EQ(readBytes(job), c.text);
        } else {
            const std::string written = readBytes(job);
            EXPECT_NE(written.find("Part_100x50"), std::string::npos) << written;
            EXPECT_NE(written.find("St37"), std::string::npos) << written;
            EXPECT_EQ(written.find("flange"), std::string::npos) << written;
        }
    }
}

// OK saves to the path in the job file field. Over the file loaded (however the path is written) or the one last
// written it saves without a word; over another job file the user typed there it asks first, No keeping that file
// and the dialog open.
TEST_F(JobDialogTest, OkAsksBeforeReplacingAnotherJobFileTypedInThePathField) {
    auto makeJob = [&](const fs::path& path, const std::string& edgeOffset) {
        fs::remove(path);
        COpenDialogNesting maker;
        maker.JobFilePath = path.string();
        maker.InstallFolder = nesting_frame_testing::kDataFolder.string();
        maker.EdgeOffsetText = edgeOffset;
        maker.PartGapText = "4.00";
        host::ui::testing::IdleSteps idle(desktop, {Answer(host::ui::IDOK),  // no such file yet
                                                    [](Dialog& d) { DialogDriver(d).press("OK"); }});
        ASSERT_EQ(maker.doModal(), host::ui::IDOK);
    };
    const fs::path mine = folder / "mine.nst";
    const fs::path other = folder / "other.nst";
    struct Case {
        const char* what;
        std::string typed;  // the path field's text before OK
        int answer;         // the answer to the question; 0: no question is expected
        bool otherKept;
    };
    const std::vector<Case> cases{
        {"another job, No", other.string(), host::ui::IDNO, true},
        {"another job, Yes", other.string(), host::ui::IDYES, false},
        {"another job written otherwise, No", (folder / "." / "other.nst").string(), host::ui::IDNO, true},
        {"the job loaded, written otherwise", (folder / "." / "mine.nst").string(), 0, true},
        {"a new file", (folder / "new.nst").string(), 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove(folder / "new.nst");
        makeJob(mine, "10.00");
        makeJob(other, "20.00");
        const std::string otherBefore = readBytes(other);
        host::ui::clearMessageBoxLog();
        COpenDialogNesting fresh;
        fresh.JobFilePath = mine.string();
        fresh.InstallFolder = nesting_frame_testing::kDataFolder.string();
        std::vector<Step> steps{[&](Dialog& d) {
            DialogDriver driver(d);
            host::ui::Window* field = d.item(201);  // the job file path
            ASSERT_NE(field, nullptr);
            const host::ui::DriveResult typed = driver.set(*field, c.typed);
            ASSERT_TRUE(typed.done) << typed.why << " over \"" << d.text() << "\"";
            driver.press("OK");
        }};
        if (c.answer != 0) steps.push_back(Answer(c.answer));
        steps.push_back([](Dialog& d) {
            if (!d.hasEnded()) DialogDriver(d).escape();
        });
        host::ui::testing::IdleSteps idle(desktop, std::move(steps));
        const std::intptr_t result = fresh.doModal();
        EXPECT_EQ(Shown("already exists"), c.answer != 0);
        EXPECT_EQ(result, c.answer == host::ui::IDNO ? host::ui::IDCANCEL : host::ui::IDOK);
        EXPECT_EQ(readBytes(other) == otherBefore, c.otherKept);
    }
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
