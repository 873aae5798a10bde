// The postprocessor editor with a test at its controls: the nine pages as a person sees them (a picture of each in
// the build folder), the template checks at focus loss, page leave and OK, and Save As.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "host/sys/tests/scratch_folder.h"
#include "host/ui/constants.h"
#include "host/ui/dialog_driver.h"
#include "host/ui/message_box.h"
#include "host/ui/tests/dialog_test_support.h"
#include "laser/post/postprocessor_editor.h"
#include "laser/post/tests/post_test_support.h"

namespace {

namespace fs = std::filesystem;
using host::ui::Dialog;
using host::ui::DialogDriver;
using host::ui::testing::IdleSteps;

class PostprocessorEditor : public host::ui::testing::DialogTest {
protected:
    PostprocessorEditor() {
        SetLanguageFlag(0);
        EXPECT_EQ(ReadPostprocessorFile(editor.settings, post_test::ShippedLaser()), 0);
        editor.setFlags(host::ui::PSH_NOAPPLYNOW);
    }

    CDialogPostProcessor editor{"Postprocessor"};
};

TEST_F(PostprocessorEditor, ShowsItsNinePagesReadably) {
    // Pictures with real glyphs, so the labels can be read (and seen to fit).
    desktop.setRasterEnabled(true);
    desktop.setTextMeasurer(host::ui::TextMeasurer::FreeType);
    const char* titles[] = {"General", "Code",        "Format",    "Move",   "Circular Codes",
                            "Cut command", "Cange power", "Start-End", "Profile"};
    std::vector<IdleSteps::Step> steps;
    for (int i = 0; i < 9; ++i) {
        steps.push_back([&, i](Dialog& d) {
            DialogDriver driver(d);
            ASSERT_TRUE(driver.selectTab(std::to_string(i + 1)).done);
            EXPECT_EQ(editor.activeIndex(), i);
            EXPECT_EQ(editor.activePage()->title(), titles[i]);
            // Every row of the page shows, with its label.
            for (const PostPageRow& row : editor.page(std::size_t(i)).rows())
                EXPECT_NE(editor.page(std::size_t(i)).item(row.id), nullptr) << titles[i] << " " << row.label;
            std::string error;
            const fs::path png = fs::path(KESTRION_BINARY_DIR) / ("postprocessor_page_" + std::to_string(i + 1) + ".png");
            EXPECT_TRUE(desktop.saveSnapshot(&editor, png, &error)) << error;
        });
    }
    steps.push_back([](Dialog& d) { DialogDriver(d).escape(); });
    IdleSteps run(desktop, std::move(steps));
    EXPECT_EQ(editor.doModal(), host::ui::IDCANCEL);
    EXPECT_EQ(run.left(), 0u);
}

TEST_F(PostprocessorEditor, AnUnknownKeywordKeepsTheUserOnItsEditAndItsPage) {
    const std::string bad = "<N-CODE><ARC-Z><EOB>";
    host::ui::Window* circle = nullptr;
    IdleSteps run(desktop, {
        [](Dialog& d) { ASSERT_TRUE(DialogDriver(d).selectTab("Move").done); },
        [&](Dialog& d) {
            DialogDriver driver(d);
            ASSERT_TRUE(driver.set("Circle", bad).done);
            circle = driver.find("Circle");
            driver.click(*circle);
            // Clicking into another edit: the message names the keyword, the focus comes back with all selected.
            driver.click(*driver.find("Linear"));
        },
        [](Dialog& d) { DialogDriver(d).enter(); },  // the message box
        [&](Dialog&) {
            ASSERT_EQ(host::ui::messageBoxLog().size(), 1u);
            EXPECT_NE(host::ui::messageBoxLog().back().text.find("<ARC-Z>"), std::string::npos);
            EXPECT_EQ(desktop.focus(), circle);
            const std::intptr_t sel = circle->send(host::ui::EM_GETSEL);
            EXPECT_EQ(sel & 0xFFFF, 0);
            EXPECT_EQ((sel >> 16) & 0xFFFF, static_cast<std::intptr_t>(bad.size()));
            // Leaving the page is refused as well.
            EXPECT_FALSE(editor.setActivePage(0));
        },
        [](Dialog& d) { DialogDriver(d).enter(); },  // its message
        [&](Dialog&) {
            EXPECT_EQ(editor.activeIndex(), 3);
            EXPECT_EQ(host::ui::messageBoxLog().size(), 2u);
        },
        [](Dialog& d) { DialogDriver(d).escape(); },
    });
    EXPECT_EQ(editor.doModal(), host::ui::IDCANCEL);
    EXPECT_EQ(run.left(), 0u);
    // Cancel keeps nothing of the edits.
    EXPECT_EQ(editor.settings.CircleStr.find("ARC-Z"), std::string::npos);
}

// The power page is left as a user leaves it: the bad text typed into its edit, then a click on another tab (the
// edit loses the focus to the tabs). The page changes, and OK tells the fault. Before, the focus loss showed the
// fault and sent the focus back into the edit, which ended the click: the page shown refused to be left.
TEST_F(PostprocessorEditor, ThePowerPageIsLeftWithABadTextButOkChecksEveryTemplate) {
    editor.settings.EndFileStr = "%<EOB><BOGUS>";  // on a page the user never opens
    // A message box that a step may or may not have opened is answered; the sheet itself is left alone.
    auto answerBox = [this](Dialog& d) {
        if (&d != &editor) DialogDriver(d).enter();
    };
    IdleSteps run(desktop, {
        [](Dialog& d) { ASSERT_TRUE(DialogDriver(d).selectTab("Cange power").done); },
        [](Dialog& d) { ASSERT_TRUE(DialogDriver(d).set("Piercing", "<PIERCE>").done); },
        [&](Dialog& d) {
            host::ui::clearMessageBoxLog();
            // The page has no check of its own when it is left: a click on the tab leaves it.
            EXPECT_TRUE(DialogDriver(d).selectTab("Code").done);
        },
        answerBox,
        [&](Dialog&) {
            EXPECT_EQ(editor.activeIndex(), 1);
            host::ui::clearMessageBoxLog();
            editor.pressButton(host::ui::PSBTN_OK);
        },
        answerBox,
        [&](Dialog&) {
            ASSERT_EQ(host::ui::messageBoxLog().size(), 1u);
            EXPECT_NE(host::ui::messageBoxLog()[0].text.find("<PIERCE>"), std::string::npos);
            EXPECT_EQ(editor.activeIndex(), 6);
            EXPECT_FALSE(editor.hasEnded());
            editor.settings.PiercingMode.clear();
            editor.page(6).updateData(false);
            host::ui::clearMessageBoxLog();
            editor.pressButton(host::ui::PSBTN_OK);
        },
        answerBox,
        [&](Dialog&) {
            ASSERT_EQ(host::ui::messageBoxLog().size(), 1u);
            EXPECT_NE(host::ui::messageBoxLog()[0].text.find("<BOGUS>"), std::string::npos);
            EXPECT_EQ(editor.activeIndex(), 7);  // Start-End, where the bad template is
            EXPECT_FALSE(editor.hasEnded());
        },
        [](Dialog& d) { DialogDriver(d).escape(); },
    });
    EXPECT_EQ(editor.doModal(), host::ui::IDCANCEL);
    EXPECT_EQ(run.left(), 0u);
}

// A coordinate format without decimals ("43" typed for "4.3") would cut in whole millimetres: the editor refuses
// it, on the Format page when OK is pressed there, and from any page for a format the file already held.
TEST_F(PostprocessorEditor, ACoordinateFormatWithoutDecimalsIsRefused) {
    editor.settings.YFormat = "43";  // as the file held it
    auto answerBox = [this](Dialog& d) {
        if (&d != &editor) DialogDriver(d).enter();
    };
    IdleSteps run(desktop, {
        [&](Dialog&) {
            host::ui::clearMessageBoxLog();
            editor.pressButton(host::ui::PSBTN_OK);  // from the General page
        },
        answerBox,
        [&](Dialog& d) {
            ASSERT_EQ(host::ui::messageBoxLog().size(), 1u);
            EXPECT_NE(host::ui::messageBoxLog()[0].text.find("\"Y format\" gives no decimals"), std::string::npos)
                << host::ui::messageBoxLog()[0].text;
            EXPECT_FALSE(editor.hasEnded());
            EXPECT_EQ(editor.activeIndex(), 2);
            EXPECT_EQ(desktop.focus(), DialogDriver(d).find("Y format"));
            ASSERT_TRUE(DialogDriver(d).set("Y format", "4.3").done);
            ASSERT_TRUE(DialogDriver(d).set("X format", "43").done);
            host::ui::clearMessageBoxLog();
            editor.pressButton(host::ui::PSBTN_OK);
        },
        answerBox,
        [&](Dialog&) {
            ASSERT_EQ(host::ui::messageBoxLog().size(), 1u);
            EXPECT_NE(host::ui::messageBoxLog()[0].text.find("\"X format\" gives no decimals"), std::string::npos)
                << host::ui::messageBoxLog()[0].text;
            EXPECT_FALSE(editor.hasEnded());
        },
        [](Dialog& d) { ASSERT_TRUE(DialogDriver(d).set("Scale XYZ", "1000").done); },
        [](Dialog& d) { ASSERT_TRUE(DialogDriver(d).set("X format", "7").done); },
        [&](Dialog&) { editor.pressButton(host::ui::PSBTN_OK); },  // thousandths as whole numbers: no fault
    });
    EXPECT_EQ(editor.doModal(), host::ui::IDOK);
    EXPECT_EQ(run.left(), 0u);
    EXPECT_EQ(editor.settings.XFormat, "7");
    EXPECT_EQ(editor.settings.YFormat, "4.3");
}

// OK writes the file named in the path field. The file opened is saved over however its path is written; another
// file that is there is replaced only after a question whose No keeps it and the editor open.
TEST_F(PostprocessorEditor, OkAsksBeforeReplacingAnotherFileNamedInThePathField) {
    host::sys::testing::ScratchFolder folder;
    const fs::path mine = folder / "MINE.MXT";
    const fs::path other = folder / "other.MXT";
    struct Case {
        const char* what;
        fs::path typed;
        int answer;  // the answer to the question; 0: no question is expected
        bool saved;
    };
    const std::vector<Case> cases{
        {"another file, No", other, host::ui::IDNO, false},
        {"another file, Yes", other, host::ui::IDYES, true},
        {"another file in another case", folder / "OTHER.MXT", host::ui::IDNO, false},
        {"the file opened, written otherwise", folder / "." / "MINE.MXT", 0, true},
        {"a new file", folder / "new.MXT", 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::copy_file(post_test::ShippedLaser(), mine, fs::copy_options::overwrite_existing);
        host::sys::testing::writeBytes(other, "kept\r\n");
        host::sys::testing::writeBytes(folder / "OTHER.MXT", "kept too\r\n");
        fs::remove(folder / "new.MXT");
        host::ui::clearMessageBoxLog();
        std::vector<IdleSteps::Step> steps{[&](Dialog& d) {
            ASSERT_TRUE(DialogDriver(d).set("CNC File", c.typed.string()).done);
            DialogDriver(d).ok();
        }};
        if (c.answer != 0) {
            steps.push_back([&](Dialog& d) {
                auto* box = dynamic_cast<host::ui::MessageBoxDialog*>(&d);
                ASSERT_NE(box, nullptr);
                EXPECT_NE(box->message().find("already exists"), std::string::npos) << box->message();
                box->answer(c.answer);
            });
        }
        steps.push_back([](Dialog& d) {
            if (!d.hasEnded()) DialogDriver(d).escape();
        });
        IdleSteps run(desktop, std::move(steps));
        fs::path saved;
        EXPECT_EQ(EditPostprocessor(mine, &saved), c.saved);
        EXPECT_EQ(host::ui::messageBoxLog().size(), c.answer != 0 ? 1u : 0u);
        if (c.saved) {
            EXPECT_TRUE(fs::equivalent(saved, c.typed));
        }
        EXPECT_EQ(host::sys::testing::readBytes(other) == "kept\r\n", c.typed != other || !c.saved);
        EXPECT_EQ(host::sys::testing::readBytes(folder / "OTHER.MXT"), "kept too\r\n");
    }
}

}  // namespace
