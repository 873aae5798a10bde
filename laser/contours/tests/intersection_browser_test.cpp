// The intersection browser of the check command: zoom, choosing and deleting a piece with every pair it is in,
// stale pairs, pairs of another drawing, and the contour creation run afterwards.
#include "laser/contours/intersection_browser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/ed/display.h"
#include "host/ed/input.h"
#include "host/ui/message_box.h"
#include "laser/contours/contour_entity_table.h"
#include "laser/contours/tests/contour_stage_fixture.h"
#include "laser/job/drawing_slot.h"
#include "laser/job/job_life_cycle.h"

namespace {

using host::db::ObjectId;

int recreations = 0;
int CountRecreation() {
    ++recreations;
    return 0;
}

class IntersectionBrowser : public contour_testing::DrawingTest {
protected:
    void SetUp() override {
        DrawingTest::SetUp();
        recreations = 0;
        ASSERT_EQ(OnLoadDrawing(settings()), 0);
        ASSERT_NE(CurrentSlot(settings()), nullptr);
        IntersectionPairs() = IntersectionPairTable{};
    }
    void TearDown() override {
        OnUnloadDrawing(settings());
        IntersectionPairs() = IntersectionPairTable{};
        DrawingTest::TearDown();
    }
    // The plate with a line drawn last straight through it; scanned as contour creation does.
    ObjectId PlateWithCrossingLine() {
        Line({10, 10}, {210, 10});
        Line({210, 10}, {210, 110});
        Line({210, 110}, {10, 110});
        Line({10, 110}, {10, 10});
        const ObjectId through = Line({110, 0}, {110, 120});
        BuildContourEntities(ContourEntities());
        ScanEntityCrossings(ContourEntities(), IntersectionPairs());
        return through;
    }
    void Answer(std::vector<std::string> lines) {
        host::ed::setInput(host::ed::ScriptInput::fromLines(std::move(lines), "answers.scr"));
    }
    std::string Transcript() { return host::ed::transcript().text(); }
    std::vector<std::string> Zooms() {
        std::vector<std::string> out;
        for (const host::ed::DisplayEvent& e : host::ed::displayLog()) {
            if (e.kind == host::ed::DisplayEvent::Kind::Zoom) out.push_back(host::ed::describe(e));
        }
        return out;
    }
};

TEST_F(IntersectionBrowser, DeletingTheChosenPieceRemovesEveryPairItIsInAndMakesTheContoursAgain) {
    const ObjectId through = PlateWithCrossingLine();
    host::ed::clearDisplayLog();
    const int before = CurrentSlot(settings())->changeCounter;
    Answer({"Z", "1", "D"});

    EXPECT_EQ(CheckLineIntersections(kIntersectionCommandMode, CountRecreation), 0);
    EXPECT_NE(Transcript().find("The pair of contours is highlighted [1/2] "), std::string::npos) << Transcript();
    EXPECT_NE(Transcript().find("Select [Zoom/Next/Previous/contour 1/contour 2/Delete contour/Exit] "),
              std::string::npos);
    // The nearest end is 10 away: a height of 4 x 10 about the crossing.
    ASSERT_FALSE(Zooms().empty());
    EXPECT_NE(Zooms()[0].find("center 110,10 height 40"), std::string::npos) << Zooms()[0];
    EXPECT_TRUE(through.isErased()) << "of two lines the later one is piece 1";
    EXPECT_TRUE(IntersectionPairs().pairs.empty());
    EXPECT_NE(Transcript().find("\n\rIntersected contours are not present.\n\r"), std::string::npos);
    EXPECT_EQ(recreations, 1);
    EXPECT_EQ(CurrentSlot(settings())->changeCounter, before + 1);
    EXPECT_TRUE(host::ed::highlightedEntities(db()).empty());
}

TEST_F(IntersectionBrowser, KeysStepChooseAndComplainWithoutDeleting) {
    const ObjectId through = PlateWithCrossingLine();
    Answer({"n", "", "msgbox OK", "D", "msgbox OK", "2", "p", "?", "msgbox OK", "e"});
    EXPECT_EQ(CheckLineIntersections(kIntersectionCommandMode, CountRecreation), 2);
    EXPECT_NE(Transcript().find("[2/2] "), std::string::npos);
    const auto& boxes = host::ui::messageBoxLog();
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].text, "Invalid symbol\n\nEnter one of the symbol - Z,N,P,1,2,D,E");
    EXPECT_EQ(boxes[1].text, "Choose a contour 1 or 2 and repeat the command 'Delete'");
    EXPECT_EQ(boxes[2].text, boxes[0].text);
    EXPECT_FALSE(through.isErased());
    EXPECT_EQ(recreations, 0) << "nothing was deleted";
    EXPECT_TRUE(host::ed::highlightedEntities(db()).empty());
}

TEST_F(IntersectionBrowser, ZoomHeightsAreClampedAndScaledByPlusAndMinus) {
    PlateWithCrossingLine();
    IntersectionPairs().pairs[0].nearestEndDistance = 100.0;
    host::ed::clearDisplayLog();
    Answer({"z", "+", "-", "-", "<Esc>"});
    CheckLineIntersections(kIntersectionCommandMode, CountRecreation);
    const std::vector<std::string> zooms = Zooms();
    // The distance is kept within 40 before it is multiplied: 4 x 40.
    ASSERT_EQ(zooms.size(), 4u);
    EXPECT_NE(zooms[0].find("height 160"), std::string::npos) << zooms[0];
    EXPECT_NE(zooms[1].find("height 40"), std::string::npos) << zooms[1];
    EXPECT_NE(zooms[2].find("height 160"), std::string::npos) << zooms[2];
    EXPECT_NE(zooms[3].find("height 640"), std::string::npos) << zooms[3];

    // A tiny distance is raised to the smallest one first: 4 x 0.0001.
    IntersectionPairs().pairs[0].nearestEndDistance = 0.00001;
    host::ed::clearDisplayLog();
    Answer({"z", "e"});
    CheckLineIntersections(kIntersectionCommandMode, CountRecreation);
    ASSERT_EQ(Zooms().size(), 1u);
    EXPECT_NE(Zooms()[0].find("height 4e-04"), std::string::npos) << Zooms()[0];
}

TEST_F(IntersectionBrowser, PairsOfAPieceErasedMeanwhileAreDroppedAndTheContoursMadeAgain) {
    const ObjectId through = PlateWithCrossingLine();
    {
        host::db::ObjectPtr<host::db::Entity> e(through, host::db::OpenMode::Write);
        e->erase();
    }
    Answer({});
    EXPECT_EQ(CheckLineIntersections(kIntersectionCommandMode, CountRecreation), 0);
    EXPECT_TRUE(IntersectionPairs().pairs.empty());
    EXPECT_EQ(recreations, 1);
}

TEST_F(IntersectionBrowser, WithoutPairsOrWithPairsOfAnotherDrawingTheContoursAreMadeAfresh) {
    Answer({});
    EXPECT_EQ(CheckLineIntersections(kIntersectionCommandMode, CountRecreation), 0);
    EXPECT_EQ(recreations, 1);

    // Pairs found in another drawing are never browsed here, and that drawing is left alone.
    const ObjectId through = PlateWithCrossingLine();
    IntersectionPairs().drawingSerial += 1000;
    Answer({"1", "D"});
    EXPECT_EQ(CheckLineIntersections(kIntersectionCommandMode, CountRecreation), 0);
    EXPECT_EQ(recreations, 2);
    EXPECT_FALSE(through.isErased());
    EXPECT_EQ(IntersectionPairs().pairs.size(), 2u);
    EXPECT_EQ(Transcript().find("The pair of contours is highlighted"), std::string::npos);
}

}  // namespace
