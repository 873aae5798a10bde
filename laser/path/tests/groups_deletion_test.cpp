// Deleting path groups: renumbering and re-linking, the first and the last group, the home group, the four
// commands and the job they store.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "laser/frame/command_table.h"
#include "laser/frame/frame_commands.h"
#include "laser/path/home_rapid.h"
#include "laser/path/path_deletion.h"
#include "laser/path/path_lookup.h"
#include "laser/path/path_totals.h"
#include "laser/path/tests/groups_fixture.h"

namespace path_testing {
namespace {

const PathGroupCommandTexts kNoTexts{};

class PathDeletion : public PathTest {
public:
    // The contour handle each group's description names, in group order.
    std::vector<std::uint64_t> GroupContours() {
        std::vector<std::uint64_t> handles;
        for (int n = 1; n <= Job().pathGroupCount; ++n) {
            PathRecord r;
            ReadPathRecord(static_cast<unsigned>(n), r);
            handles.push_back(r.contourHandle);
        }
        return handles;
    }
    std::uint64_t ContourHandle(int index) { return Job().contours[static_cast<std::size_t>(index)].handle; }
    int Processed(int index) { return Job().contours[static_cast<std::size_t>(index)].processed; }
    // Groups 1..count exist and count + 1 does not.
    void ExpectGroupsWithoutGaps() {
        for (int n = 1; n <= Job().pathGroupCount; ++n) EXPECT_TRUE(GroupExists(static_cast<unsigned>(n))) << n;
        EXPECT_FALSE(GroupExists(static_cast<unsigned>(Job().pathGroupCount + 1)));
    }
    // The totals as a regeneration finds them.
    void ExpectTotalsAgree() {
        const CuttingJob before = Job();
        RegenPathTotals();
        EXPECT_DOUBLE_EQ(before.totalCutLength, Job().totalCutLength);
        EXPECT_DOUBLE_EQ(before.totalRapidLength, Job().totalRapidLength);
        EXPECT_DOUBLE_EQ(before.totalSeconds, Job().totalSeconds);
    }
    // Writes a marking point's group as the marking-point writer does.
    void MarkingPointPath(Point3d at) {
        const int contour = AddContour(Add(std::make_unique<host::db::PointEntity>(at), "MarkPoint"), kShapePoint,
                                       ContourKind::MarkPoint, kPlacementNone, kClosureNoLeads);
        PathWriterState& w = PathWriter();
        w.PathDescriptionText = "MarkingPoint T6";
        BeginPathGroup();
        w.PathDescriptionText += " Offset=NO HP= " + FormatPathHandle(ContourHandle(contour)) + " 2 0 0 2";
        AddRapidAndLeadIn(at, 0.0, Point3d());
        AddPathLine(at, Point3d(at.x + 0.02, at.y));
        AppendPathHandleToken({});
        w.PathDescriptionText += " 0 0 0 0";
        Job().contours[static_cast<std::size_t>(contour)].processed = 1;
        StorePathDescription();
        EndPathGroup();
    }
};

TEST_F(PathDeletion, DeletingAMiddleGroupRenumbersTheOthersAndRelinksTheNextRapid) {
    SquaresWithPaths(5);
    PathRecord removed;
    ReadPathRecord(2, removed);
    EXPECT_EQ(RemovePathGroup(2, kNoTexts), PathRemoval::GroupsLeft);
    EXPECT_EQ(Job().pathGroupCount, 4);
    ExpectGroupsWithoutGaps();
    EXPECT_EQ(GroupContours(),
              (std::vector<std::uint64_t>{ContourHandle(0), ContourHandle(2), ContourHandle(3), ContourHandle(4)}));
    EXPECT_EQ(Processed(1), 0);
    EXPECT_EQ(Processed(2), 1);
    PathRecord next;
    ReadPathRecord(2, next);
    EXPECT_EQ(next.rapidStart, removed.rapidStart);
    EXPECT_EQ(next.rapidStart, Point3d(0, -2));
    EXPECT_EQ(Job().currentPoint, Point3d(80, -2));  // the last group is untouched
    ExpectTotalsAgree();
    EXPECT_NEAR(Job().totalRapidLength, std::hypot(38.0, 2.0) + 2 * std::hypot(18.0, 2.0), 1e-9);
}

TEST_F(PathDeletion, DeletingTheFirstGroupFollowsTheStartAtHomeSetting) {
    for (int startAtHome : {0, 1}) {
        SetUp();
        Job().startAtHome = startAtHome;
        Job().homePoint = Point3d(-10, -10);
        SquaresWithPaths(3);
        RemovePathGroup(1, kNoTexts);
        ExpectGroupsWithoutGaps();
        PathRecord first;
        ReadPathRecord(1, first);
        EXPECT_EQ(first.contourHandle, ContourHandle(1));
        const std::vector<std::string> tokens = Tokens(Description(1));
        ASSERT_EQ(tokens.size(), 16u);
        if (startAtHome == 0) {
            // The rapid line is gone and the description says so; the path starts where the rapid ended.
            EXPECT_EQ(first.rapidHandle, 0u);
            EXPECT_EQ(tokens[9], "N");
            EXPECT_EQ(Members(1).size(), 6u);
            EXPECT_EQ(Job().pathStartPoint, Point3d(18, 0));
        } else {
            EXPECT_NE(first.rapidHandle, 0u);
            EXPECT_EQ(first.rapidStart, Point3d(-10, -10));
            EXPECT_EQ(Members(1).size(), 7u);
        }
        ExpectTotalsAgree();
        TearDown();
    }
}

TEST_F(PathDeletion, DeletingTheLastGroupMovesTheCurrentPointAndPenToTheNewLast) {
    SquaresWithPaths(3);
    SetPen(kPenRapid);
    RemovePathGroup(3, kNoTexts);
    EXPECT_EQ(Job().pathGroupCount, 2);
    EXPECT_EQ(Job().currentPoint, Point3d(20, -2));
    EXPECT_EQ(Job().penState, kPenCut);  // group 2 ends with its lead-out, a cut
    ExpectGroupsWithoutGaps();
}

TEST_F(PathDeletion, DeletingTheOnlyGroupLeavesNoPath) {
    SquaresWithPaths(1);
    EXPECT_EQ(RemovePathGroup(1, kNoTexts), PathRemoval::NoneLeft);
    EXPECT_EQ(Job().pathGroupCount, 0);
    EXPECT_EQ(Job().currentPoint, Point3d());
    EXPECT_EQ(Job().penState, kPenNoPath);
    EXPECT_EQ(Job().totalCutLength, 0.0);
    EXPECT_FALSE(GroupExists(1));
    EXPECT_EQ(RemovePathGroup(1, kNoTexts), PathRemoval::NotRemoved);
}

TEST_F(PathDeletion, DelLastOnTheHomeGroupClearsItsFlagAndLeavesTheContoursCut) {
    Settings().ModeEndPoint = 1;
    Job().homePoint = Point3d(-5, -5);
    SquaresWithPaths(2);
    AddHomeRapid();
    ASSERT_EQ(Job().homeGroupPresent, 1u);
    ASSERT_EQ(Job().pathGroupCount, 3);
    const int counter = Slot().changeCounter;
    EXPECT_EQ(CommandDelLast(), 0);
    EXPECT_EQ(Job().homeGroupPresent, 0u);
    EXPECT_EQ(Job().pathGroupCount, 2);
    EXPECT_FALSE(GroupExists(3));
    EXPECT_EQ(Processed(0), 1);
    EXPECT_EQ(Processed(1), 1);
    EXPECT_EQ(Job().currentPoint, Point3d(20, -2));
    EXPECT_EQ(Slot().changeCounter, counter + 1);
    // Then the last contour group: its contour is uncut again.
    CommandDelLast();
    EXPECT_EQ(Job().pathGroupCount, 1);
    EXPECT_EQ(Processed(1), 0);
    ExpectTotalsAgree();
}

TEST_F(PathDeletion, TheHomeGroupIsRelinkedByItsFirstStrokeAndKeepsItsFlag) {
    Settings().ModeEndPoint = 1;
    Settings().TrimLineUse = 1;
    Job().trimLineBits = kTrimLineVertical;
    Job().verticalTrimStart = Point3d(100, 0);
    Job().verticalTrimEnd = Point3d(100, 50);
    SquaresWithPaths(1);
    MarkingPointPath(Point3d(25, 5));
    AddHomeRapid();
    ASSERT_EQ(Job().pathGroupCount, 3);
    const std::vector<ObjectId> homeBefore = Members(3);
    const auto [homeRapidFrom, homeRapidTo] = LineEnds(homeBefore.back());
    PathRecord marking;
    ReadPathRecord(2, marking);

    RemovePathGroup(2, kNoTexts);  // the marking point, just before the home group
    EXPECT_EQ(Job().homeGroupPresent, 1u);
    ASSERT_EQ(Job().pathGroupCount, 2);
    const std::vector<ObjectId> home = Members(2);
    ASSERT_EQ(home, homeBefore);
    // The first trim stroke now starts where the tool stood before the marking point; the rapid home is as it was.
    EXPECT_EQ(LineEnds(home.front()).first, marking.rapidStart);
    EXPECT_EQ(marking.rapidStart, Point3d(0, -2));
    EXPECT_EQ(LineEnds(home.back()), std::make_pair(homeRapidFrom, homeRapidTo));
    EXPECT_EQ(Tokens(Description(2)).front(), "Rapid_Home");
}

TEST_F(PathDeletion, DelAllRemovesEveryGroupAndStoresTheJob) {
    Settings().ModeEndPoint = 1;
    Job().homePoint = Point3d(-5, -5);
    SquaresWithPaths(3);
    AddHomeRapid();
    const int counter = Slot().changeCounter;
    EXPECT_EQ(CommandDelAll(), 0);
    EXPECT_EQ(Job().pathGroupCount, 0);
    EXPECT_EQ(Job().homeGroupPresent, 0u);
    EXPECT_EQ(Job().penState, kPenNoPath);
    EXPECT_EQ(Job().currentPoint, Point3d());
    EXPECT_EQ(Job().totalRapidLength, 0.0);
    EXPECT_EQ(Slot().changeCounter, counter + 1);
    for (unsigned n = 1; n <= 4; ++n) EXPECT_FALSE(GroupExists(n)) << n;
    for (int i = 0; i < 3; ++i) EXPECT_EQ(Processed(i), 0) << i;
    // No path line is left in the drawing.
    ObjectPtr<host::db::BlockTableRecord> space(db().modelSpaceId(), OpenMode::Read);
    for (ObjectId id : space->entityIds()) {
        if (id.isErased()) continue;
        ObjectPtr<host::db::Entity> e(id, OpenMode::Read);
        EXPECT_NE(e->layer() == "NC_Laser" && dynamic_cast<const host::db::Line*>(e.get()) != nullptr, true);
    }
    // What is stored reads back as it stands.
    Slot().dataVersion = kJobDataVersion200801;
    Job().pathGroupCount = 9;
    Job().contours[1].processed = 1;
    ASSERT_EQ(ReadJobData(Settings()), 0);
    EXPECT_EQ(Job().pathGroupCount, 0);
    EXPECT_EQ(Processed(1), 0);
}

TEST_F(PathDeletion, DelPickRemovesThePickedGroupsUntilEnter) {
    SquaresWithPaths(4);
    // A miss and a wrong answer are asked again; a pick on the path of group 2, then on what is then group 3 (the
    // old group 4).
    Answers({"500,500", "nonsense", "25,0", "65,0", ""});
    const int counter = Slot().changeCounter;
    EXPECT_EQ(CommandDelPick(), 0);
    EXPECT_EQ(Job().pathGroupCount, 2);
    ExpectGroupsWithoutGaps();
    EXPECT_EQ(GroupContours(), (std::vector<std::uint64_t>{ContourHandle(0), ContourHandle(2)}));
    EXPECT_EQ(Processed(1), 0);
    EXPECT_EQ(Processed(3), 0);
    EXPECT_EQ(Job().currentPoint, Point3d(40, -2));
    EXPECT_EQ(Slot().changeCounter, counter + 1);
    EXPECT_NE(Transcript().find("Choose the processed contour for the removal"), std::string::npos);
    EXPECT_NE(Transcript().find("Invalid selection"), std::string::npos);
    ExpectTotalsAgree();
    // What is stored reads back as it stands.
    Slot().dataVersion = kJobDataVersion200801;
    Job().pathGroupCount = 9;
    ASSERT_EQ(ReadJobData(Settings()), 0);
    EXPECT_EQ(Job().pathGroupCount, 2);
    EXPECT_EQ(Processed(3), 0);
}

TEST_F(PathDeletion, PickPathGroupNamesTheGroupOfThePathLineUnderThePick) {
    SquaresWithPaths(3);
    Answers({"45,0"});
    std::string name;
    EXPECT_EQ(PickPathGroup("\nPick ", name), 3u);
    EXPECT_EQ(name, "DOROZ_3");
    // Enter ends with no group.
    Answers({""});
    name.clear();
    EXPECT_EQ(PickPathGroup("\nPick ", name), 0u);
    EXPECT_TRUE(name.empty());
}

TEST_F(PathDeletion, GroupEndsFollowTheTravelWhateverWayTheMembersAreDrawn) {
    // Group 1: a rapid, then a clockwise arc (drawn by the host from its end back to its start).
    Job().pathGroupCount = 1;  // so that the group below gets its rapid
    Job().currentPoint = Point3d(-5, 0);
    PathWriter().PathDescriptionText = "Slice_Polyline T0";
    BeginPathGroup();
    SetPen(kPenRapid);
    AddPathLine(Point3d(-5, 0), Point3d(0, 10));
    SetPen(kPenCut);
    AddPathArcCW(Point3d(0, 0), Point3d(0, 10), Point3d(10, 0));
    // The description names the rapid: it is what tells it from a cut.
    AppendMemberRoleTokens();
    StorePathDescription();
    EndPathGroup();
    // Group 2: one cut line.
    PathWriter().PathDescriptionText = "Slice_Polyline T0";
    BeginPathGroup();
    AddPathLine(Point3d(10, 0), Point3d(20, 5));
    EndPathGroup();
    ASSERT_EQ(Job().pathGroupCount, 3);

    struct Case {
        unsigned n;
        Point3d first, last;
        bool firstIsCut, lastIsCut;
    };
    const Case cases[] = {{2, {-5, 0}, {10, 0}, false, true}, {3, {10, 0}, {20, 5}, true, true}};
    for (const Case& c : cases) {
        Point3d first, last;
        bool firstIsCut = false, lastIsCut = false;
        ObjectId firstId, lastId;
        ASSERT_EQ(GetPathGroupEnds(c.n, first, last, firstIsCut, lastIsCut, firstId, lastId), 0) << c.n;
        EXPECT_TRUE(SameXY(first, c.first, 1e-9)) << c.n;
        EXPECT_TRUE(SameXY(last, c.last, 1e-9)) << c.n;
        EXPECT_EQ(firstIsCut, c.firstIsCut) << c.n;
        EXPECT_EQ(lastIsCut, c.lastIsCut) << c.n;
        EXPECT_EQ(firstId, Members(c.n).front()) << c.n;
        EXPECT_EQ(lastId, Members(c.n).back()) << c.n;
    }
    Point3d first, last;
    bool cut = false;
    EXPECT_EQ(GetPathGroupEndPoints(9, first, last, cut), -1);
}

TEST_F(PathDeletion, DelCrossingRemovesEachGroupTheSelectionTouchesOnce) {
    SquaresWithPaths(5);
    // A crossing window over members of groups 2 and 3 (several of each, and the contours under them).
    Answers({"C", "21,-1", "45,1", "", ""});
    EXPECT_EQ(CommandDelCrossing(), 0);
    EXPECT_EQ(Job().pathGroupCount, 3);
    ExpectGroupsWithoutGaps();
    EXPECT_EQ(GroupContours(), (std::vector<std::uint64_t>{ContourHandle(0), ContourHandle(3), ContourHandle(4)}));
    for (int i : {1, 2}) EXPECT_EQ(Processed(i), 0) << i;
    for (int i : {0, 3, 4}) EXPECT_EQ(Processed(i), 1) << i;
    PathRecord second;
    ReadPathRecord(2, second);
    EXPECT_EQ(second.rapidStart, Point3d(0, -2));  // from the end of group 1, wherever the gap was
    ExpectTotalsAgree();
}

TEST_F(PathDeletion, TheCommandsRunTheirCoresInTheirFrames) {
    SquaresWithPaths(2);
    WriteJobData(Settings());
    const auto commands = LaserCommandTable();
    const auto find = [&](std::string_view name) {
        return std::find_if(commands.begin(), commands.end(),
                            [&](const LaserCommand& c) { return name == c.localName; });
    };
    for (const char* name : {"NCDelLast", "NCDelAll", "NCDelPick", "NCDelCrossing", "NCRegen", "NCRapidHome"}) {
        ASSERT_NE(find(name), commands.end()) << name;
        EXPECT_NE(find(name)->work, nullptr) << name;
    }
    Job().totalCutLength = 0.0;
    RunLaserCommand(*find("NCRegen"));
    EXPECT_DOUBLE_EQ(Job().totalCutLength, 88.0);
    RunLaserCommand(*find("NCDelLast"));
    EXPECT_EQ(Job().pathGroupCount, 1);
    RunLaserCommand(*find("NCRapidHome"));
    EXPECT_EQ(Job().homeGroupPresent, Settings().ModeEndPoint != 0 || Settings().TrimLineUse != 0 ? 1u : 0u);
    RunLaserCommand(*find("NCDelAll"));
    EXPECT_EQ(Job().pathGroupCount, 0);
}

TEST_F(PathDeletion, MarkingTheStartOfANestingErasesThePathFirst) {
    SquaresWithPaths(2);
    CommandSetStartNesting();
    EXPECT_EQ(Job().pathGroupCount, 0);
    EXPECT_FALSE(GroupExists(1));
    EXPECT_EQ(Processed(0), 0);
    EXPECT_EQ(Slot().status, kSlotNesting);
    EXPECT_EQ(Slot().locked, 1);
}

TEST_F(PathDeletion, ADrawingMarkedAsANestingStartLosesItsPathAtTheNextCommand) {
    SquaresWithPaths(2);
    Slot().locked = 1;
    PrepareDrawingJob(Settings());
    EXPECT_EQ(Job().pathGroupCount, 0);
    for (unsigned n = 1; n <= 2; ++n) EXPECT_FALSE(GroupExists(n)) << n;
    for (int i = 0; i < 2; ++i) EXPECT_EQ(Processed(i), 0) << i;
    EXPECT_EQ(Slot().locked, 1) << "the mark stays until contours are made again";
}

}  // namespace

}  // namespace path_testing
