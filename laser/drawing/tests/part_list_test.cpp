// The part list: its limit of 20 parts and the message in both languages, the check that a part's drawing can be
// read, the file dialog in a part's folder, a part inserted from the navigation dialog and dragged into place,
// and the angles and points of a turned part.
#include "laser/drawing/part_list.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>

#include "cadlib/angles.h"
#include "host/sys/folders.h"
#include "host/ui/message_box.h"
#include "laser/drawing/tests/drawing_commands_fixture.h"
#include "laser/settings/laser_settings.h"

namespace {

namespace fs = std::filesystem;
using host::ge::Point3d;

class PartListTest : public drawing_testing::OpenedDrawingTest {
protected:
    void SetUp() override {
        OpenedDrawingTest::SetUp();
        host::ui::clearMessageBoxLog();
    }

public:
    static std::string Template(const std::string& name) {
        return (host::sys::installFolder() / "Templates" / name).string();
    }
    static PartListEntry Part(const std::string& name, const std::string& path) {
        return {name, path, 2, 3, 1.5, true};
    }
    static std::string LastBox() {
        const auto& log = host::ui::messageBoxLog();
        return log.empty() ? std::string() : log.back().text;
    }
};

TEST_F(PartListTest, ANewListHoldsItsDefaults) {
    const PartList list;
    EXPECT_EQ(list.firstValue, 5.0);
    EXPECT_EQ(list.secondValue, 4.0);
    EXPECT_EQ(list.defaults.density, CLaserSettings{}.Density);
    EXPECT_EQ(list.defaults.thickness, CLaserSettings{}.Thin);
    EXPECT_EQ(list.defaults.firstValue, 30.0);
    EXPECT_EQ(list.defaults.secondValue, 20.0);
    EXPECT_EQ(list.defaults.wholeValue, 1);
    EXPECT_EQ(list.defaults.lastValue, 600.0);
    EXPECT_TRUE(list.entries.empty());
}

TEST_F(PartListTest, TheTwentyFirstPartIsRefusedInTheUsersLanguage) {
    PartList list;
    for (std::size_t i = 0; i < kMaxPartListEntries; ++i) {
        ASSERT_EQ(AddPart(list, Part("P" + std::to_string(i), Template("Flange.dxf"))), 0) << i << LastBox();
    }
    EXPECT_TRUE(host::ui::messageBoxLog().empty());
    struct Case {
        int language;
        const char* text;
    };
    const Case cases[] = {
        {0, "The detail will be not added.\nIt is possible to place no more than 20 details."},
        {1, "Деталь не будет добавлена.\nМожно разместить не более 20 деталей."},
    };
    for (const Case& c : cases) {
        SetLanguageFlag(c.language);
        host::ui::clearMessageBoxLog();
        EXPECT_EQ(AddPart(list, Part("Extra", Template("Gusset.dxf"))), -1);
        ASSERT_EQ(host::ui::messageBoxLog().size(), 1u);
        EXPECT_EQ(LastBox(), c.text);
        ASSERT_EQ(list.entries.size(), kMaxPartListEntries);
        EXPECT_EQ(list.entries.back().name, "P19");
    }
}

TEST_F(PartListTest, APartWhoseDrawingCannotBeReadIsRefusedWithTheReason) {
    const fs::path broken = fs::temp_directory_path() / "part_list_broken.dxf";
    {
        std::ofstream out(broken);
        out << "0\nSECTION\n2\nENTITIES\n0\nLINE\n10\nnot a number\n";
    }
    PartList list;
    // A stored ".dwg" name finds the shipped ".dxf" drawing.
    const std::string flangeAsDwg = (host::sys::installFolder() / "Templates" / "Flange.dwg").string();
    ASSERT_EQ(AddPart(list, Part("Flange", flangeAsDwg)), 0) << LastBox();
    for (const std::string& path : {broken.string(), Template("NoSuchPart.dxf")}) {
        host::ui::clearMessageBoxLog();
        EXPECT_EQ(AddPart(list, Part("Bad", path)), -1) << path;
        ASSERT_EQ(host::ui::messageBoxLog().size(), 1u) << path;
        EXPECT_EQ(LastBox().rfind("The detail will be not added.\nIts drawing cannot be read:\n", 0), 0u) << LastBox();
        EXPECT_NE(LastBox().find(fs::path(path).filename().string()), std::string::npos) << LastBox();
        ASSERT_EQ(list.entries.size(), 1u) << path;
        EXPECT_EQ(list.entries.front().name, "Flange");
        EXPECT_EQ(list.entries.front().drawingPath, flangeAsDwg);
    }
    fs::remove(broken);
}

TEST_F(PartListTest, TheFileDialogOpensInTheFolderOfThePath) {
    // "Flange.dxf" typed alone is found only in the templates folder; elsewhere OK is refused and the user cancels.
    struct Case {
        std::string path;
        bool chosen;
    };
    const std::string templates = (host::sys::installFolder() / "Templates").string();
    const Case cases[] = {
        {templates + "/Bracket.dwg", true},
        {templates + "\\Gusset.dwg", true},  // a stored path
        {templates + "/Items/Hole.dxf", false},
    };
    for (const Case& c : cases) {
        host::ui::clearMessageBoxLog();
        Answer({"file Flange.dxf", "file cancel"});
        EXPECT_EQ(ChoosePartFile(c.path), c.chosen) << c.path;
        EXPECT_EQ(host::ui::messageBoxLog().empty(), c.chosen) << c.path;
    }
    Answer({"file cancel"});
    EXPECT_FALSE(ChoosePartFile(templates + "/Flange.dxf"));
}

TEST_F(PartListTest, TheFirstChosenPartIsDraggedTurnedAndLeftABlockReference) {
    Answer({"file \"" + Template("Flange.dxf") + "\" \"" + Template("Gusset.dxf") + "\"", "50,60", "50,70"});
    EXPECT_EQ(InsertPartFromNavigation(), 0) << Transcript();
    ASSERT_EQ(ModelSpace().size(), 1u) << Transcript();
    const auto reference = Open<host::db::BlockReference>(ModelSpace().front());
    ASSERT_TRUE(reference);
    EXPECT_NEAR(reference->position().x, 50.0, 1e-9);
    EXPECT_NEAR(reference->position().y, 60.0, 1e-9);
    EXPECT_NEAR(reference->rotation(), cadlib::kPi / 2, 1e-9);
    EXPECT_EQ(reference->scaleFactors().x, 1.0);
    const auto block = Open<host::db::BlockTableRecord>(reference->blockTableRecord());
    ASSERT_TRUE(block);
    EXPECT_EQ(block->name(), "Flange");
}

TEST_F(PartListTest, ACancelledDialogOrDragLeavesNoTrace) {
    struct Case {
        std::vector<std::string> answers;
        int answer;
    };
    const Case cases[] = {
        {{"file cancel"}, 1},
        {{"file \"" + Template("Flange.dxf") + "\"", "^C"}, -1},          // Esc while it is dragged
        {{"file \"" + Template("Flange.dxf") + "\"", "50,60", "^C"}, -1},  // Esc while it is turned
    };
    for (const Case& c : cases) {
        host::ed::transcript().clear();
        Answer(c.answers);
        EXPECT_EQ(InsertPartFromNavigation(), c.answer) << c.answers.back();
        EXPECT_TRUE(ModelSpace().empty()) << c.answers.back() << Transcript();
        // The part was inserted and dragged before the Esc.
        EXPECT_EQ(drawing_testing::Count(Transcript(), "Specify a point"), c.answers.size() > 1 ? 1u : 0u)
            << Transcript();
    }
}

TEST_F(PartListTest, TurnedAnglesStayWithinATurn) {
    constexpr double pi = cadlib::kPi;
    struct Case {
        double rotation;
        std::array<double, 5> angles;
        std::array<double, 5> turned;
    };
    const Case cases[] = {
        {0.0, {0.0, pi, 2 * pi, -pi / 2, 3 * pi}, {0.0, pi, 0.0, 3 * pi / 2, pi}},
        {pi / 2, {0.0, 3 * pi / 2, pi, -pi / 2, 2 * pi}, {pi / 2, 0.0, 3 * pi / 2, 0.0, pi / 2}},
        {-pi, {0.0, pi / 4, pi, 2 * pi, -2 * pi}, {pi, 5 * pi / 4, 0.0, pi, pi}},
        {-5 * pi / 2, {pi / 2, pi, 0.0, 0.0, 0.0}, {0.0, pi / 2, 3 * pi / 2, 3 * pi / 2, 3 * pi / 2}},
    };
    for (const Case& c : cases) {
        std::array<double, 5> angles = c.angles;
        TurnPartPoints(angles, c.rotation, {}, 1.0, 0, 0.0, 1.0, 0.0, 1.0);
        for (std::size_t i = 0; i < angles.size(); ++i) {
            EXPECT_GE(angles[i], 0.0) << c.rotation << " " << i;
            EXPECT_LT(angles[i], 2 * pi) << c.rotation << " " << i;
            // 2*pi less a rounding error is as good as 0.
            EXPECT_NEAR(std::remainder(angles[i] - c.turned[i], 2 * pi), 0.0, 1e-12) << c.rotation << " " << i;
        }
    }
}

TEST_F(PartListTest, ThePointsFollowTheTurnedAnglesFromTheBase) {
    constexpr double pi = cadlib::kPi;
    const Point3d base(10.0, 20.0, 0.0);
    struct Case {
        int mode;
        Point3d along;
    };
    // The first angle 0 turned by pi/2 points up; mode 2 turns it round.
    for (const Case& c : {Case{0, {10.0, 25.0, 0.0}}, Case{1, {10.0, 25.0, 0.0}}, Case{2, {10.0, 15.0, 0.0}}}) {
        std::array<double, 5> angles{0.0, 0.0, 0.0, 0.0, 0.0};
        const TurnedPartPoints p = TurnPartPoints(angles, pi / 2, base, 5.0, c.mode, 0.0, 3.0, pi / 2, 4.0);
        EXPECT_NEAR(p.along.x, c.along.x, 1e-12) << c.mode;
        EXPECT_NEAR(p.along.y, c.along.y, 1e-12) << c.mode;
        EXPECT_NEAR(p.first.x, 10.0, 1e-12);
        EXPECT_NEAR(p.first.y, 23.0, 1e-12);
        EXPECT_NEAR(p.second.x, 6.0, 1e-12);
        EXPECT_NEAR(p.second.y, 20.0, 1e-12);
    }
}

}  // namespace
