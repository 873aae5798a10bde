// Property sheets: pages made when their tab is first opened, the start page, a page that refuses to be left,
// OK and Apply writing every page made, Cancel writing nothing, modified marks enabling Apply, a sheet without
// Apply, and the sheet's messages.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/ui/dialog_driver.h"
#include "host/ui/property_sheet.h"
#include "host/ui/tab_control.h"
#include "host/ui/tests/dialog_test_support.h"
#include "host/ui/tests/sample_dialogs.h"

namespace host::ui {
namespace {

using samples::MachineSettings;
using samples::MachineSettingsSheet;
using testing::DialogTest;
using testing::IdleSteps;

PropertySheet& sheetOf(Dialog& d) {
    auto* sheet = dynamic_cast<PropertySheet*>(&d);
    EXPECT_NE(sheet, nullptr);
    return *sheet;
}

// Which pages have their windows, as "GCN" letters for made pages and '-' for the others.
std::string made(PropertySheet& sheet) {
    std::string s;
    for (int i = 0; i < sheet.pageCount(); ++i) s += sheet.page(i)->exists() ? sheet.page(i)->title()[0] : '-';
    return s;
}

TEST_F(DialogTest, PagesAreMadeWhenTheirTabIsFirstOpened) {
    MachineSettings settings;
    MachineSettingsSheet sheet(settings);
    IdleSteps steps(desktop, {[&](Dialog& d) {
                                  PropertySheet& s = sheetOf(d);
                                  EXPECT_EQ(s.text(), "Machine Settings");
                                  EXPECT_EQ(made(s), "G--");
                                  EXPECT_EQ(s.activeIndex(), 0);
                                  // The tabs are the pages' captions; the focus is on the page's first field.
                                  auto* tabs = dynamic_cast<TabControl*>(s.tabControl());
                                  ASSERT_NE(tabs, nullptr);
                                  ASSERT_EQ(tabs->itemCount(), 3);
                                  EXPECT_EQ(tabs->item(1)->text, "Cutting");
                                  EXPECT_EQ(desktop.focus(), s.page(0)->item(samples::kMachineEdit));
                                  EXPECT_EQ(s.page(0)->itemText(samples::kMachineEdit), "Laser 3015");
                                  EXPECT_TRUE(DialogDriver(d).selectTab("Notes").done);
                              },
                              [&](Dialog& d) {
                                  PropertySheet& s = sheetOf(d);
                                  EXPECT_EQ(made(s), "G-N");
                                  EXPECT_EQ(s.activeIndex(), 2);
                                  EXPECT_TRUE(s.page(2)->isVisible());
                                  EXPECT_FALSE(s.page(0)->isVisible());
                                  EXPECT_TRUE(DialogDriver(d).selectTab("2").done);  // by number
                              },
                              [&](Dialog& d) {
                                  EXPECT_EQ(made(sheetOf(d)), "GCN");
                                  EXPECT_EQ(sheetOf(d).page(1)->itemText(samples::kSpeedEdit), "3000");
                                  robot.key(VK_ESCAPE);
                              }});
    EXPECT_EQ(sheet.doModal(), IDCANCEL);
    EXPECT_FALSE(sheet.page(0)->exists());
}

TEST_F(DialogTest, TheStartPageIsTheOnlyOneMadeAtFirst) {
    MachineSettings settings;
    MachineSettingsSheet sheet(settings, nullptr, 1);
    IdleSteps steps(desktop, {[&](Dialog& d) {
                                  EXPECT_EQ(made(sheetOf(d)), "-C-");
                                  EXPECT_EQ(desktop.focus(), sheetOf(d).page(1)->item(samples::kSpeedEdit));
                                  robot.key(VK_ESCAPE);
                              }});
    EXPECT_EQ(sheet.doModal(), IDCANCEL);
}

TEST_F(DialogTest, APageRefusesToBeLeftWhileItsValueIsWrong) {
    MachineSettings settings;
    MachineSettingsSheet sheet(settings, nullptr, 1);
    IdleSteps steps(desktop, {[&](Dialog& d) {
                                  DialogDriver driver(d);
                                  EXPECT_TRUE(driver.set("Speed (mm/min)", "0").done);
                                  // Leaving is refused: the page says why and keeps its tab.
                                  const DriveResult r = driver.selectTab("General");
                                  EXPECT_FALSE(r.done);
                                  EXPECT_NE(r.why.find("refused to be left"), std::string::npos) << r.why;
                                  EXPECT_EQ(sheetOf(d).activeIndex(), 1);
                                  EXPECT_EQ(made(sheetOf(d)), "-C-");
                                  EXPECT_EQ(desktop.focus(), sheetOf(d).page(1)->item(samples::kSpeedEdit));
                                  // OK is refused the same way.
                                  robot.key(VK_RETURN);
                                  EXPECT_FALSE(d.hasEnded());
                                  EXPECT_TRUE(driver.set("Speed (mm/min)", "2500").done);
                                  EXPECT_TRUE(driver.selectTab("General").done);
                                  robot.key(VK_RETURN);
                              }});
    EXPECT_EQ(sheet.doModal(), IDOK);
    ASSERT_EQ(messageBoxLog().size(), 2u);
    EXPECT_EQ(messageBoxLog()[0].text, "The speed must be greater than 0.");
    EXPECT_EQ(messageBoxLog()[0].owner, "Cutting");
    EXPECT_DOUBLE_EQ(settings.speed, 2500);
}

TEST_F(DialogTest, OKWritesEveryPageMadeAndCancelWritesNothing) {
    for (const bool ok : {true, false}) {
        MachineSettings settings;
        MachineSettingsSheet sheet(settings);
        IdleSteps steps(desktop, {[&](Dialog& d) {
                                      DialogDriver driver(d);
                                      EXPECT_TRUE(driver.set("Machine name", "Plasma 2").done);
                                      EXPECT_TRUE(driver.set("Use profiles", "off").done);
                                      EXPECT_TRUE(driver.selectTab("Notes").done);
                                      EXPECT_TRUE(driver.set(std::to_string(samples::kNotesEdit), "one\\ntwo").done);
                                      // Shown on one line again, as a script writes it.
                                      EXPECT_NE(driver.describe().find("#1301: \"one\\ntwo\""), std::string::npos)
                                          << driver.describe();
                                      // Enter and Esc belong to the notes' edit: the buttons are clicked.
                                      EXPECT_TRUE(driver.press(ok ? "OK" : "Cancel").done);
                                  }});
        EXPECT_EQ(sheet.doModal(), ok ? IDOK : IDCANCEL);
        if (ok) {
            EXPECT_EQ(settings.machine, "Plasma 2");
            EXPECT_FALSE(settings.useProfiles);
            EXPECT_EQ(settings.notes, "one\r\ntwo");
        } else {
            EXPECT_EQ(settings.machine, "Laser 3015");
            EXPECT_TRUE(settings.useProfiles);
            EXPECT_EQ(settings.notes, "");
        }
        EXPECT_DOUBLE_EQ(settings.speed, 3000);  // the Cutting page was never made
    }
}

TEST_F(DialogTest, ModifiedMarksEnableApplyWhichWritesAndStaysOpen) {
    MachineSettings settings;
    MachineSettingsSheet sheet(settings);
    IdleSteps steps(desktop, {[&](Dialog& d) {
                                  PropertySheet& s = sheetOf(d);
                                  EXPECT_FALSE(s.isApplyEnabled());  // loading the fields marks nothing
                                  EXPECT_FALSE(s.page(0)->isModified());
                                  DialogDriver driver(d);
                                  EXPECT_TRUE(driver.set("Machine name", "Fiber").done);
                                  EXPECT_TRUE(s.page(0)->isModified());
                                  EXPECT_TRUE(s.isApplyEnabled());
                                  EXPECT_TRUE(driver.press("Apply").done);
                                  EXPECT_EQ(settings.machine, "Fiber");
                                  EXPECT_FALSE(s.isApplyEnabled());
                                  EXPECT_FALSE(s.page(0)->isModified());
                                  EXPECT_FALSE(d.hasEnded());
                                  EXPECT_TRUE(driver.set("Machine name", "Fiber 2").done);
                                  robot.key(VK_ESCAPE);
                              }});
    EXPECT_EQ(sheet.doModal(), IDCANCEL);
    EXPECT_EQ(settings.machine, "Fiber");  // what Apply wrote stays; the later change does not
}

TEST_F(DialogTest, ASheetWithoutApplyHasOnlyOKAndCancel) {
    MachineSettings settings;
    MachineSettingsSheet with(settings), without(settings);
    without.setFlags(PSH_NOAPPLYNOW);
    int widthWith = 0, widthWithout = 0;
    {
        IdleSteps steps(desktop, {[&](Dialog& d) {
                                      EXPECT_NE(d.item(ID_APPLY_NOW), nullptr);
                                      widthWith = d.clientRect().width();
                                      robot.key(VK_ESCAPE);
                                  }});
        with.doModal();
    }
    IdleSteps steps(desktop, {[&](Dialog& d) {
                                  EXPECT_EQ(d.item(ID_APPLY_NOW), nullptr);
                                  EXPECT_FALSE(sheetOf(d).pressButton(PSBTN_APPLYNOW));
                                  widthWithout = d.clientRect().width();
                                  EXPECT_TRUE(sheetOf(d).pressButton(PSBTN_OK));
                              }});
    EXPECT_EQ(without.doModal(), IDOK);
    EXPECT_EQ(widthWith, widthWithout);  // the pages set the width, not the buttons
}

TEST_F(DialogTest, TheSheetAnswersItsMessages) {
    MachineSettings settings;
    MachineSettingsSheet sheet(settings);
    IdleSteps steps(desktop, {[&](Dialog& d) {
                                  EXPECT_EQ(d.send(PSM_SETCURSEL, 2), 1);
                                  EXPECT_EQ(pointerFromParam<Window>(d.send(PSM_GETCURRENTPAGEHWND)),
                                            sheetOf(d).page(2));
                                  EXPECT_EQ(d.send(PSM_SETCURSEL, 7), 0);
                                  d.send(PSM_CHANGED, wParamFromPointer(sheetOf(d).page(2)));
                                  EXPECT_TRUE(sheetOf(d).isApplyEnabled());
                                  d.send(PSM_UNCHANGED, wParamFromPointer(sheetOf(d).page(2)));
                                  EXPECT_FALSE(sheetOf(d).isApplyEnabled());
                                  d.send(PSM_PRESSBUTTON, PSBTN_CANCEL);
                              }});
    EXPECT_EQ(sheet.doModal(), IDCANCEL);
}

}  // namespace
}  // namespace host::ui
