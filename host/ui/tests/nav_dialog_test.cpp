// The navigation dialog for drawings: several files chosen at once, given back as full paths and names in their
// folder, and the preview that follows the name box.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "host/sys/tests/scratch_folder.h"
#include "host/ui/dialog_driver.h"
#include "host/ui/drawing_preview.h"
#include "host/ui/nav_dialog.h"
#include "host/ui/static.h"
#include "host/ui/tests/dialog_test_support.h"

namespace host::ui {
namespace {

namespace fs = std::filesystem;
using sys::testing::ScratchFolder;
using sys::testing::writeBytes;
using testing::DialogTest;
using testing::IdleSteps;

// A drawing of one line from (0, 0) to (100, 50).
constexpr const char* kLineDrawing =
    "0\nSECTION\n2\nENTITIES\n0\nLINE\n8\n0\n10\n0\n20\n0\n11\n100\n21\n50\n0\nENDSEC\n0\nEOF\n";

int DarkPixels(const Bitmap& bitmap) {
    const Image* image = bitmap.pixelsIfAny();
    int dark = 0;
    for (int y = 0; image && y < image->height(); ++y)
        for (int x = 0; x < image->width(); ++x) dark += image->at(x, y) == rgb(0, 0, 0);
    return dark;
}

struct NavDialogTest : DialogTest {
    ScratchFolder folder;
    void SetUp() override {
        writeBytes(folder / "plate.dxf", kLineDrawing);
        writeBytes(folder / "flange.dxf", kLineDrawing);
        writeBytes(folder / "notes.txt", "not a drawing");
    }
    NavDialogOptions options() const {
        NavDialogOptions o;
        o.caption = "Part";
        o.filters = {{"All files", "*.*"}, {"*.dxf files", "*.dxf"}};
        o.initialFolder = folder.path().string();
        o.multiSelect = true;
        return o;
    }
};

TEST_F(NavDialogTest, SeveralDrawingsAreChosenInTheOrderNamed) {
    NavDialog dialog(options());
    IdleSteps steps(desktop, {[&](Dialog& d) {
        EXPECT_EQ(d.text(), "Part");
        DialogDriver driver(d);
        EXPECT_TRUE(driver.set(std::to_string(kFileNameEditId), "\"plate.dxf\" \"flange.dxf\"").done);
        driver.enter();
    }});
    ASSERT_EQ(dialog.doModal(), IDOK);
    const std::vector<NavItem> items = dialog.items();
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].text, (folder.path() / "plate.dxf").string());
    EXPECT_EQ(items[0].textInFolder, "plate.dxf");
    EXPECT_EQ(items[1].textInFolder, "flange.dxf");
}

TEST_F(NavDialogTest, ThePreviewShowsTheDrawingTheNameBoxNames) {
    NavDialog dialog(options());
    IdleSteps steps(desktop, {[&](Dialog& d) {
        DialogDriver driver(d);
        auto* area = dynamic_cast<Static*>(d.item(kNavPreviewId));
        ASSERT_NE(area, nullptr);
        driver.set(std::to_string(kFileNameEditId), "plate.dxf");
        EXPECT_EQ(dialog.previewedFile(), (folder.path() / "plate.dxf").string());
        ASSERT_NE(area->bitmap(), nullptr);
        EXPECT_GT(DarkPixels(*area->bitmap()), 50);  // the line, scaled to the area
        // A file that is no drawing, or several names, show nothing.
        driver.set(std::to_string(kFileNameEditId), "notes.txt");
        EXPECT_EQ(dialog.previewedFile(), "");
        driver.set(std::to_string(kFileNameEditId), "\"plate.dxf\" \"flange.dxf\"");
        EXPECT_EQ(dialog.previewedFile(), "");
        EXPECT_EQ(area->bitmap(), nullptr);
        driver.escape();
    }});
    EXPECT_EQ(dialog.doModal(), IDCANCEL);
    EXPECT_EQ(makeDrawingPreview(folder / "notes.txt", 40, 40), nullptr);
}

}  // namespace
}  // namespace host::ui
