// Clean-up at the nodes and joining: pieces drawn twice, nodes of three or more cut pieces with the node browser,
// ends snapped onto the node's first piece, and the PEDIT runs per kind group.
#include "laser/contours/node_cleanup.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include <string>
#include <vector>

#include "cadlib/angles.h"
#include "host/db/database.h"
#include "host/ed/display.h"
#include "host/ed/input.h"
#include "host/ed/transcript.h"
#include "host/ui/message_box.h"
#include "laser/contours/contour_entity_table.h"
#include "laser/contours/contour_joining.h"
#include "laser/contours/node_browser.h"
#include "laser/contours/tests/contour_stage_fixture.h"

namespace {

using cadlib::kHalfPi;
using cadlib::kPi;
using host::db::ObjectId;
using host::db::ObjectPtr;
using host::db::OpenMode;
using host::ge::Point3d;

class NodeCleanup : public contour_testing::DrawingTest {
protected:
    void SetUp() override {
        DrawingTest::SetUp();
        settings().AutoConnectDist = 0.0001;
        settings().AutoConnect = 1;
        settings().AutoDelCopy = 1;
        settings().Warn3Point = 1;
    }
    ContourEntityStage& Stage() { return ContourEntities(); }
    void Build() { ExplodeLoosePolylines(Stage()); }
    void Answer(std::vector<std::string> lines) {
        host::ed::setInput(host::ed::ScriptInput::fromLines(std::move(lines), "answers.scr"));
    }
    std::string Transcript() { return host::ed::transcript().text(); }
    // The plate (10,10)-(210,110) drawn as four lines on `layer`.
    void Plate(const std::string& layer = "0") {
        Line({10, 10}, {210, 10}, layer);
        Line({210, 10}, {210, 110}, layer);
        Line({210, 110}, {10, 110}, layer);
        Line({10, 110}, {10, 10}, layer);
    }
};

TEST_F(NodeCleanup, DuplicatesAreErasedOnlyWhenTheyRunBetweenTheSameNodes) {
    struct Case {
        const char* what;
        int autoDelCopy;
        std::function<std::vector<ObjectId>(NodeCleanup&)> draw;  // the later copy last
        bool laterErased;
    };
    const Case cases[] = {
        {"a line drawn twice, ends swapped", 1,
         [](NodeCleanup& t) {
             return std::vector<ObjectId>{t.Line({0, 0}, {10, 0}), t.Line({10, 0}, {0, 0})};
         },
         true},
        {"the same arc drawn twice", 1,
         [](NodeCleanup& t) {
             return std::vector<ObjectId>{t.Arc({5, 0}, 5, 0, kPi), t.Arc({5, 0}, 5, 0, kPi)};
         },
         true},
        {"two arcs between the same nodes with different centres", 1,
         [](NodeCleanup& t) {
             return std::vector<ObjectId>{t.Arc({5, 0}, 5, 0, kPi), t.Arc({5, 5}, std::hypot(5.0, 5.0), -kPi / 4,
                                                                              kPi + kPi / 4)};
         },
         false},
        {"a line and an arc between the same nodes", 1,
         [](NodeCleanup& t) {
             return std::vector<ObjectId>{t.Line({10, 0}, {0, 0}), t.Arc({5, 0}, 5, 0, kPi)};
         },
         false},
        // Circles meet at no node, nor do the ends of an arc that meets nothing: these pairs were never found.
        {"a circle drawn twice", 1,
         [](NodeCleanup& t) {
             return std::vector<ObjectId>{t.Circle({50, 50}, 10), t.Circle({50, 50}, 10)};
         },
         true},
        {"a circle drawn twice, the copy a grid step's fraction off", 1,
         [](NodeCleanup& t) {
             return std::vector<ObjectId>{t.Circle({50, 50}, 10), t.Circle({50.00004, 50}, 10)};
         },
         true},
        {"two concentric circles", 1,
         [](NodeCleanup& t) {
             return std::vector<ObjectId>{t.Circle({50, 50}, 10), t.Circle({50, 50}, 12)};
         },
         false},
        {"two circles of one radius side by side", 1,
         [](NodeCleanup& t) {
             return std::vector<ObjectId>{t.Circle({50, 50}, 10), t.Circle({50.001, 50}, 10)};
         },
         false},
        {"a circle drawn twice on layers of different kinds", 1,
         [](NodeCleanup& t) {
             return std::vector<ObjectId>{t.Circle({50, 50}, 10), t.Circle({50, 50}, 10, "EngraveLine")};
         },
         false},
        {"an arc of nearly a whole turn drawn twice", 1,
         [](NodeCleanup& t) {
             return std::vector<ObjectId>{t.Arc({50, 50}, 10, kHalfPi, kHalfPi - 0.0002),
                                          t.Arc({50, 50}, 10, kHalfPi, kHalfPi - 0.0002)};
         },
         true},
        {"circle removal switched off", 0,
         [](NodeCleanup& t) {
             return std::vector<ObjectId>{t.Circle({50, 50}, 10), t.Circle({50, 50}, 10)};
         },
         false},
        {"duplicate removal switched off", 0,
         [](NodeCleanup& t) {
             return std::vector<ObjectId>{t.Line({0, 0}, {10, 0}), t.Line({10, 0}, {0, 0})};
         },
         false},
    };
    for (const Case& c : cases) {
        SetUp();
        settings().AutoDelCopy = c.autoDelCopy;
        const std::vector<ObjectId> ids = c.draw(*this);
        Build();
        RemoveDuplicateEntities(Stage());
        EXPECT_FALSE(ids[0].isErased()) << c.what;
        EXPECT_EQ(ids[1].isErased(), c.laterErased) << c.what;
        const ContourEntity& later = Stage().ContourEntityTable[1];
        EXPECT_EQ(later.type == kEntityDropped, c.laterErased) << c.what;
        if (c.laterErased) {
            EXPECT_EQ(later.startNode, 0u);
            EXPECT_EQ(later.endNode, 0u);
        }
        TearDown();
    }
}

TEST_F(NodeCleanup, AnArcLaterInTheTableMovesItsStartOntoTheLinesEndAndKeepsItsRadius) {
    settings().AutoConnectDist = 0.01;
    Line({0, 0}, {10, 0});
    // Its start (10.005, 0) lies 0.005 from the line's end.
    const ObjectId arc = Arc({10.005, 5}, 5, -kHalfPi, 0);
    Build();
    ASSERT_EQ(Stage().NodeList.size(), 1u);
    MergeEntitiesAtNodes(Stage());

    ObjectPtr<host::db::Arc> a(arc, OpenMode::Read);
    EXPECT_TRUE(a->startPoint().isEqualTo({10, 0, 0}, {1e-9, 1e-12}));
    EXPECT_TRUE(a->endPoint().isEqualTo({15.005, 5, 0}, {1e-9, 1e-12}));
    EXPECT_NEAR(a->radius(), 5.0, 1e-12);
    EXPECT_NEAR(a->center().x, 10.0, 0.01) << "the centre that fits, nearer the old one";
    const ContourEntity& record = Stage().ContourEntityTable[1];
    EXPECT_TRUE(record.startPoint.isEqualTo(a->startPoint()));
    EXPECT_TRUE(record.center.isEqualTo(a->center()));
}

TEST_F(NodeCleanup, ALineLaterInTheTableMovesOntoTheFirstPiecesEnd) {
    settings().AutoConnectDist = 0.01;
    Arc({10.005, 5}, 5, -kHalfPi, 0);
    const ObjectId line = Line({0, 0}, {10, 0});
    Build();
    MergeEntitiesAtNodes(Stage());
    ObjectPtr<host::db::Line> l(line, OpenMode::Read);
    EXPECT_TRUE(l->end().isEqualTo({10.005, 0, 0}, {1e-9, 1e-12}));
    EXPECT_EQ(l->start(), Point3d(0, 0, 0));
}

TEST_F(NodeCleanup, NothingMovesWithAutoConnectOff) {
    settings().AutoConnect = 0;
    settings().AutoConnectDist = 0.0001;
    Line({0, 0}, {10, 0});
    const ObjectId line = Line({10, 5e-8}, {10, 10});  // an exact node (within 1e-7), listed
    Build();
    ASSERT_EQ(Stage().NodeList.size(), 1u);
    MergeEntitiesAtNodes(Stage());
    ObjectPtr<host::db::Line> l(line, OpenMode::Read);
    EXPECT_EQ(l->start(), Point3d(10, 5e-8, 0));
}

TEST_F(NodeCleanup, ATripleNodeStopsForTheBrowserAndDeletingTheSpurLetsCreationGoOn) {
    Plate();
    const ObjectId spur = Line({210, 110}, {250, 150});
    Build();
    // Top menu: Modify; pieces <1/3>, <2/3>, then the spur <3/3> is deleted.
    Answer({"msgbox OK", "M", "N", "N", "D"});
    EXPECT_EQ(CheckTripleNodes(Stage()), 0);
    EXPECT_TRUE(spur.isErased());
    ASSERT_EQ(host::ui::messageBoxLog().size(), 1u);
    EXPECT_EQ(host::ui::messageBoxLog()[0].text,
              "\nERROR!!!\nThe geometry contains common points for three or more objects.\nCorrect an error and "
              "continue to form contours.");
    EXPECT_EQ(host::ui::messageBoxLog()[0].style & host::ui::MB_ICONMASK, host::ui::MB_ICONSTOP);
    EXPECT_NE(Transcript().find("Highlighted objects - 3"), std::string::npos);
    EXPECT_NE(Transcript().find("<3/3>"), std::string::npos);
    EXPECT_EQ(Stage().ContourEntityTable[4].type, kEntityDropped);
    EXPECT_EQ(ModelSpace().size(), 4u);
}

TEST_F(NodeCleanup, ExitAtATripleNodeStopsCreationAndChangesNothing) {
    for (const std::vector<std::string>& answers :
         {std::vector<std::string>{"msgbox OK", "E"}, std::vector<std::string>{"msgbox OK", "M", "E", "x", "msgbox OK", "e"}}) {
        SetUp();
        Plate();
        Line({210, 110}, {250, 150});
        Build();
        Answer(answers);
        EXPECT_EQ(CheckTripleNodes(Stage()), -1) << answers.back();
        EXPECT_NE(Transcript().find("\n\rFUNCTION IS INTERRUPTED!!!"), std::string::npos);
        EXPECT_NE(Transcript().find("\n\rTHE GEOMETRY CONTAINS POINTS - COMMON FOR THREE OR MORE OBJECTS."),
                  std::string::npos);
        EXPECT_NE(Transcript().find("\n\rCORRECT GEOMETRY AND REPEAT THE COMMAND TO FORM CONTOURS."),
                  std::string::npos);
        EXPECT_EQ(ModelSpace().size(), 5u);
        TearDown();
    }
}

// Before: Esc (or the end of a script) in the browser ended contour creation as if Exit was chosen. A cancel only
// closes the browser: the node stays as it is, is not asked about again, and creation goes on.
TEST_F(NodeCleanup, EscapeAtATripleNodeClosesTheBrowserAndCreationGoesOn) {
    for (const std::vector<std::string>& answers :
         {std::vector<std::string>{"msgbox OK", "<Esc>"}, std::vector<std::string>{"msgbox OK", "M", "<Esc>"},
          std::vector<std::string>{"msgbox OK"}}) {
        SetUp();
        Plate();
        Line({210, 110}, {250, 150});
        Build();
        Answer(answers);
        EXPECT_EQ(CheckTripleNodes(Stage()), 0) << answers.back();
        EXPECT_EQ(Transcript().find("FUNCTION IS INTERRUPTED"), std::string::npos) << answers.back();
        EXPECT_NE(Transcript().find("The objects meeting at this point are left as they are."), std::string::npos);
        const std::string text = Transcript();
        EXPECT_EQ(text.find("Highlighted objects - 3"), text.rfind("Highlighted objects - 3")) << "asked once";
        EXPECT_EQ(ModelSpace().size(), 5u);
        TearDown();
    }
}

TEST_F(NodeCleanup, NextAtTheTopMenuRepeatsThePassUntilTheNodeIsRepaired) {
    Plate();
    const ObjectId spur = Line({210, 110}, {250, 150});
    Build();
    // Next leaves the node as it is, so the pass comes round to it again; then it is repaired.
    Answer({"msgbox OK", "N", "M", "P", "D"});
    EXPECT_EQ(CheckTripleNodes(Stage()), 0);
    EXPECT_TRUE(spur.isErased());
    EXPECT_EQ(host::ui::messageBoxLog().size(), 1u) << "the error box shows once";
}

TEST_F(NodeCleanup, TriplesOfKindsThatDoNotCountOrWithTheWarningOffPass) {
    Plate("NoLeadIn");
    Line({210, 110}, {250, 150}, "NoLeadIn");
    Build();
    EXPECT_EQ(CheckTripleNodes(Stage()), 0);
    EXPECT_TRUE(host::ui::messageBoxLog().empty());

    SetUp();
    settings().Warn3Point = 0;
    Plate();
    Line({210, 110}, {250, 150});
    Build();
    EXPECT_EQ(CheckTripleNodes(Stage()), 0);
    EXPECT_TRUE(host::ui::messageBoxLog().empty());
}

TEST_F(NodeCleanup, TheBrowserReportsInvalidKeysAndCountsWhatIsLeft) {
    // Four lines at one node: deleting two leaves two, which ends the browser.
    Line({0, 0}, {10, 0});
    Line({0, 0}, {0, 10});
    Line({0, 0}, {-10, 0});
    Line({0, 0}, {0, -10});
    Build();
    ASSERT_EQ(Stage().NodeList.size(), 1u);
    Stage().NodeMembers = {0, 1, 2, 3};
    Answer({"", "msgbox OK", "Zoom", "M", "q", "msgbox OK", "D", "d"});
    host::ed::clearDisplayLog();
    int exitCode = -7;
    EXPECT_EQ(BrowseNodeObjects(Stage().NodeList[0], exitCode, Stage()), 2);
    // The window about the node: eight times the distance to the nearest far end (scale 2), the larger of the
    // two sizes taken across.
    std::vector<std::string> zooms;
    for (const host::ed::DisplayEvent& e : host::ed::displayLog()) {
        if (e.kind == host::ed::DisplayEvent::Kind::Zoom) zooms.push_back(host::ed::describe(e));
    }
    ASSERT_EQ(zooms.size(), 1u);
    EXPECT_EQ(zooms[0], "zoom window: center 0,0 height 160");
    EXPECT_EQ(exitCode, kNodeBrowserReduced);
    ASSERT_EQ(host::ui::messageBoxLog().size(), 2u);
    EXPECT_EQ(host::ui::messageBoxLog()[0].text, "Invalid symbol\n\nEnter one of the symbol - Z,N,M,E");
    EXPECT_EQ(host::ui::messageBoxLog()[1].text, "Invalid symbol\n\nEnter one of the symbol - Z,N,P,D,E");
    EXPECT_EQ(ModelSpace().size(), 2u);

    // Next at the top menu leaves the list as it is.
    Answer({"n"});
    EXPECT_EQ(BrowseNodeObjects(Stage().NodeList[0], exitCode, Stage()), 2);
    EXPECT_EQ(exitCode, kNodeBrowserNext);
}

TEST_F(NodeCleanup, JoiningRunsOnePeditPerKindGroupAndLeavesCirclesAlone) {
    Plate();
    Line({300, 0}, {400, 0}, "EngraveLine");
    Line({400, 0}, {400, 50}, "MarkLine");
    const ObjectId circle = Circle({60, 60}, 10);
    const ObjectId point = Point({60, 60}, "MarkPoint");
    Build();
    MergeEntitiesAtNodes(Stage());
    EXPECT_EQ(JoinEntitiesByKind(Stage()), 0) << Transcript();
    EXPECT_EQ(Stage().ContourEntityCount, 7) << "the circle left the table";

    int polylines = 0, closed = 0;
    for (ObjectId id : ModelSpace()) {
        ObjectPtr<host::db::Entity> e(id, OpenMode::Read);
        if (auto* pl = dynamic_cast<host::db::LwPolyline*>(e.get())) {
            ++polylines;
            if (pl->isClosed()) {
                ++closed;
                EXPECT_EQ(pl->numVerts(), 4u);
                EXPECT_EQ(pl->layer(), "0");
            } else {
                EXPECT_EQ(pl->numVerts(), 3u) << "engraving and marking lines join as one group";
            }
        }
    }
    EXPECT_EQ(polylines, 2);
    EXPECT_EQ(closed, 1);
    EXPECT_FALSE(circle.isErased());
    EXPECT_FALSE(point.isErased());
}

TEST_F(NodeCleanup, TheTableIsCompactedByMovingTheLastRecordIntoEachGap) {
    ContourEntityStage stage;
    auto piece = [](std::uint8_t type, int tag) {
        ContourEntity e;
        e.type = type;
        e.kind = ContourKind::KindUnset;  // never joined: only the compaction is seen
        e.radius = tag;
        return e;
    };
    stage.ContourEntityTable = {piece(kEntityLine, 0), piece(kEntityDropped, 1), piece(kEntityCircle, 2),
                                piece(kEntityArc, 3), piece(kEntityCircle, 4), piece(kEntityDropped, 5), {}};
    stage.ContourEntityCount = 6;
    EXPECT_EQ(JoinEntitiesByKind(stage), 0);
    ASSERT_EQ(stage.ContourEntityCount, 2);
    EXPECT_EQ(stage.ContourEntityTable.size(), 3u);
    EXPECT_EQ(stage.ContourEntityTable[0].radius, 0);
    EXPECT_EQ(stage.ContourEntityTable[1].radius, 3);
}

}  // namespace
