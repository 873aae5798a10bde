// Path groups: names, the description read back, the writer's pens, rapids, lead-ins and degenerate lines, and a
// left-over group of the same name.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "host/ed/sysvars.h"
#include "host/sys/text_case.h"
#include "laser/path/path_group_commands.h"
#include "laser/path/path_lookup.h"
#include "laser/path/tests/groups_fixture.h"

namespace path_testing {
namespace {

TEST(PathGroupNames, NumbersAndNamesGoBothWays) {
    EXPECT_EQ(FormatPathGroupName(1), "DOROZ_1");
    EXPECT_EQ(FormatPathGroupName(4096), "DOROZ_4096");
    struct Case {
        const char* name;
        unsigned n;
    };
    const Case cases[] = {{"DOROZ_1", 1},  {"DOROZ_25", 25}, {"DOROZ_01", 0}, {"DOROZ_", 0},
                          {"DOROZ_3a", 0}, {"doroz_3", 0},   {"XDOROZ_3", 0}, {"DOROZ_-3", 0}};
    for (const Case& c : cases) EXPECT_EQ(PathGroupNumber(c.name), c.n) << c.name;
}

TEST(PathDescriptionText, TokensReadBackWithoutLinesInTheDrawing) {
    // No drawing: named lines cannot be opened, so their points stay zero and only the tokens count.
    struct Case {
        const char* text;
        const char* typeWord;
        int kind, shape, offsetSide, placement, closure;
        std::uint64_t contour, rapid, leadIn, leadOut;
        Point3d contourStart, contourEnd;
    };
    const Case cases[] = {
        {"Slice_Polyline T0 Offset=NR HP= 2A 1 2 1 0 N N N 210.0000 10.0000 210.0000 10.0000", "Slice_Polyline",
         0, 1, 2, 1, 0, 0x2A, 0, 0, 0, {210, 10}, {210, 10}},
        {"Slice_Circle T25 Offset=NL HP= ff 0 1 2 0 N N N 1.5000 2.5000 1.5000 2.5000", "Slice_Circle", 25, 0, 1,
         2, 0, 0xFF, 0, 0, 0, {1.5, 2.5}, {1.5, 2.5}},
        {"Slice_Polyline T13 Offset=NO HP= 10 1 0 2 1 N N N 0.0000 0.0000 5.0000 0.0000", "Slice_Polyline", 13, 1,
         0, 2, 1, 0x10, 0, 0, 0, {0, 0}, {5, 0}},
        {"MarkingPoint T6 Offset=NO HP= 7 2 0 0 2 N N N 3.0000 4.0000 3.0200 4.0000", "MarkingPoint", 6, 2, 0, 0, 2,
         7, 0, 0, 0, {3, 4}, {3.02, 4}},
        // A text cut short after the line tokens: the coordinates are zero.
        {"Slice_Polyline T3 Offset=NO HP= 9 1 0 1 2 N N N", "Slice_Polyline", 3, 1, 0, 1, 2, 9, 0, 0, 0, {}, {}},
        // Handles of lines the drawing does not hold: named, their points unknown.
        {"Slice_Polyline T0 Offset=NR HP= 2A 1 2 1 0 B C D 7.0000 8.0000 9.0000 1.0000", "Slice_Polyline", 0, 1, 2,
         1, 0, 0x2A, 0xB, 0xC, 0xD, {}, {}},
    };
    for (const Case& c : cases) {
        PathRecord r;
        ParsePathDescription(c.text, r);
        EXPECT_EQ(r.description, c.text);
        EXPECT_EQ(r.typeWord, c.typeWord) << c.text;
        EXPECT_EQ(r.kind, c.kind) << c.text;
        EXPECT_EQ(r.shape, c.shape) << c.text;
        EXPECT_EQ(r.offsetSide, c.offsetSide) << c.text;
        EXPECT_EQ(r.placement, c.placement) << c.text;
        EXPECT_EQ(r.closure, c.closure) << c.text;
        EXPECT_EQ(r.contourHandle, c.contour) << c.text;
        EXPECT_EQ(r.rapidHandle, c.rapid) << c.text;
        EXPECT_EQ(r.leadInHandle, c.leadIn) << c.text;
        EXPECT_EQ(r.leadOutHandle, c.leadOut) << c.text;
        EXPECT_EQ(r.contourStart, c.contourStart) << c.text;
        EXPECT_EQ(r.contourEnd, c.contourEnd) << c.text;
    }
}

TEST(PathDescriptionText, HomeGroupAndEmptyTextReadAsTheyShould) {
    PathRecord home;
    home.leadInHandle = 99;
    home.rapidStart = Point3d(5, 5);
    ParsePathDescription("Rapid_Home 1F", home);
    EXPECT_EQ(home.typeWord, "Rapid_Home");
    EXPECT_EQ(home.shape, kShapeHomeGroup);
    EXPECT_EQ(home.rapidHandle, 0x1Fu);
    EXPECT_EQ(home.leadInHandle, 0u);
    EXPECT_EQ(home.leadOutHandle, 0u);
    EXPECT_EQ(home.rapidStart, Point3d());
    EXPECT_EQ(home.leadOutEnd, Point3d());

    PathRecord empty;
    empty.kind = 9;
    empty.contourHandle = 4;
    ParsePathDescription("", empty);
    EXPECT_TRUE(empty.description.empty());
    EXPECT_EQ(empty.kind, 0);
    EXPECT_EQ(empty.contourHandle, 0u);
    EXPECT_EQ(empty.contourStart, Point3d());
}

// The role of each member comes from the description: the rapid token and "R=" name rapids, "S=" sensor-off
// cuts; every other member is a cut, a home group's last line included unless it is named.
TEST(PathDescriptionText, RoleTokensTellRapidsAndSensorOffCutsFromCuts) {
    const struct {
        const char* text;
        std::uint64_t member;
        PathMemberRole role;
    } cases[] = {
        {"Slice_Polyline T0 Offset=NO HP= 2A 1 0 1 0 3B 3C 3F 0.0000 0.0000 5.0000 0.0000 R=3D", 0x3B,
         PathMemberRole::Rapid},
        {"Slice_Polyline T0 Offset=NO HP= 2A 1 0 1 0 3B 3C 3F 0.0000 0.0000 5.0000 0.0000 R=3D", 0x3D,
         PathMemberRole::Rapid},
        {"Slice_Polyline T0 Offset=NO HP= 2A 1 0 1 0 3B 3C 3F 0.0000 0.0000 5.0000 0.0000 R=3D", 0x3E,
         PathMemberRole::Cut},
        {"Slice_Polyline T0 Offset=NO HP= 2A 1 0 1 0 3B 3C 3F 0.0000 0.0000 5.0000 0.0000 R=3D", 0x3C,
         PathMemberRole::Cut},
        {"Slice_Polyline T0 Offset=NO HP= 2A 1 0 1 0 N 3C 3F 0.0000 0.0000 5.0000 0.0000", 0x3C, PathMemberRole::Cut},
        {"Rapid_Home 4C R=4A S=4B", 0x4A, PathMemberRole::Rapid},
        {"Rapid_Home 4C R=4A S=4B", 0x4B, PathMemberRole::SensorOff},
        {"Rapid_Home 4C R=4A S=4B", 0x4C, PathMemberRole::Cut},  // the last trim stroke, not going home
        {"Rapid_Home 4C R=4C", 0x4C, PathMemberRole::Rapid},
        {"Rapid_Home 4C R= S=zz", 0x4C, PathMemberRole::Cut},    // marks without a handle name nothing
    };
    for (const auto& c : cases) {
        PathRecord r;
        ParsePathDescription(c.text, r);
        EXPECT_EQ(RoleOfPathMember(r, c.member), c.role) << c.text << " member " << std::hex << c.member;
    }
    // The role tokens do not disturb the tokens before them.
    PathRecord r;
    ParsePathDescription("Slice_Circle T25 Offset=NL HP= 2A 0 1 2 0 N N N 1.0000 2.0000 1.0000 2.0000 R=3D", r);
    EXPECT_EQ(r.kind, 25);
    EXPECT_EQ(r.rapidHandle, 0u);
    EXPECT_EQ(r.contourStart, Point3d(1, 2));
}

TEST(PathDescriptionText, ReplacingTheRapidTokenKeepsTheOthers) {
    EXPECT_EQ(ReplaceRapidToken("Slice_Polyline T0 Offset=NR HP= 2A 1 2 1 0 3B 3C N 1.0000 2.0000 3.0000 4.0000", "N"),
              "Slice_Polyline T0 Offset=NR HP= 2A 1 2 1 0 N 3C N 1.0000 2.0000 3.0000 4.0000");
    EXPECT_EQ(ReplaceRapidToken("Rapid_Home 3B", "N"), "Rapid_Home 3B");
}

using PathGroupWriter = PathTest;

TEST_F(PathGroupWriter, MissingGroupReadsAsAnEmptyRecord) {
    PathRecord r;
    r.shape = 5;
    EXPECT_EQ(ReadPathRecord(7, r), 0);
    EXPECT_TRUE(r.description.empty());
    EXPECT_EQ(r.shape, 0);
    EXPECT_EQ(r.rapidHandle, 0u);
}

TEST_F(PathGroupWriter, FirstGroupHasARapidOnlyWhenCuttingStartsAtHome) {
    struct Case {
        const char* what;
        int startAtHome;
        double leadIn;
        bool rapidDrawn;
        Point3d expectedRapidStart;
    };
    const Case cases[] = {
        {"not at home, with a lead-in", 0, 2.0, false, {8, 10}},
        {"not at home, without a lead-in", 0, 0.0, false, {10, 10}},
        {"at home, with a lead-in", 1, 2.0, true, {-5, -5}},
        {"at home, without a lead-in", 1, 0.0, true, {-5, -5}},
    };
    for (const Case& c : cases) {
        SetUp();
        Job().startAtHome = c.startAtHome;
        Job().homePoint = Point3d(-5, -5);
        const int contour = SquareContour(10, 10, 10);
        const unsigned n = WritePath(SquarePath(contour, 10, 10, 10, c.leadIn));
        ASSERT_EQ(n, 1u) << c.what;
        PathRecord r;
        ReadPathRecord(1, r);
        EXPECT_EQ(r.rapidHandle != 0, c.rapidDrawn) << c.what;
        EXPECT_EQ(r.leadInHandle != 0, c.leadIn > 0) << c.what;
        EXPECT_EQ(r.rapidStart, c.expectedRapidStart) << c.what;
        EXPECT_EQ(r.contourStart, Point3d(10, 10)) << c.what;
        EXPECT_EQ(r.leadOutEnd, c.leadIn > 0 ? Point3d(10, 8) : Point3d(10, 10)) << c.what;
        EXPECT_EQ(Job().contours[0].processed, 1) << c.what;
        // Members in travel order: rapid, lead-in, four sides, lead-out.
        const std::size_t expected = (c.rapidDrawn ? 1u : 0u) + (c.leadIn > 0 ? 2u : 0u) + 4u;
        EXPECT_EQ(Members(1).size(), expected) << c.what;
        TearDown();
    }
}

TEST_F(PathGroupWriter, LaterGroupsTravelFromTheCurrentPointAndReadBackTheirLines) {
    SquaresWithPaths(2);
    PathRecord second;
    ReadPathRecord(2, second);
    EXPECT_EQ(second.typeWord, "Slice_Polyline");
    EXPECT_EQ(second.contourHandle, Job().contours[1].handle);
    EXPECT_NE(second.rapidHandle, 0u);
    EXPECT_EQ(second.rapidStart, Point3d(0, -2));  // the end of group 1's lead-out
    EXPECT_EQ(second.leadInStart, Point3d(18, 0));
    EXPECT_EQ(second.contourStart, Point3d(20, 0));
    EXPECT_EQ(second.contourEnd, Point3d(20, 0));
    EXPECT_EQ(second.leadOutEnd, Point3d(20, -2));
    EXPECT_EQ(Job().currentPoint, Point3d(20, -2));
    EXPECT_EQ(Job().pathGroupCount, 2);
    const std::vector<ObjectId> members = Members(2);
    ASSERT_EQ(members.size(), 7u);
    EXPECT_EQ(members.front().handle().value, second.rapidHandle);
    EXPECT_EQ(members.back().handle().value, second.leadOutHandle);
    // Rapid with the rapid pen, cuts continuous, all on the path layer.
    EXPECT_EQ(Linetype(members[0]), Settings().TypeLineMove);
    EXPECT_EQ(ColorIndex(members[0]), std::stoi(Settings().ColorMove));
    for (std::size_t i = 1; i < members.size(); ++i) EXPECT_EQ(Linetype(members[i]), "Continuous") << i;
    for (ObjectId id : members) {
        ObjectPtr<host::db::Entity> e(id, OpenMode::Read);
        EXPECT_EQ(e->layer(), "NC_Laser");
    }
    const std::vector<std::string> tokens = Tokens(Description(2));
    ASSERT_EQ(tokens.size(), 16u);
    EXPECT_EQ(std::vector<std::string>(tokens.begin(), tokens.begin() + 9),
              (std::vector<std::string>{"Slice_Polyline", "T0", "Offset=NO", "HP=",
                                        FormatPathHandle(Job().contours[1].handle), "1", "0", "1", "0"}));
    EXPECT_EQ(tokens[9], FormatPathHandle(second.rapidHandle));
    EXPECT_EQ(tokens[12], "20.0000");
}

TEST_F(PathGroupWriter, ALineWhosePointsMeetIsNotDrawnAndNamesNothing) {
    Job().currentPoint = Point3d(3, 3);
    BeginPathGroup();
    EXPECT_TRUE(AddPathLine(Point3d(1, 1, 0), Point3d(1, 1, 5)).isNull());
    EXPECT_EQ(Job().currentPoint, Point3d(3, 3));
    EndPathGroup();
    EXPECT_EQ(Job().pathGroupCount, 0);
    EXPECT_FALSE(GroupExists(1));

    // A second group whose rapid would go nowhere writes "N" for it, not another line's handle.
    ASSERT_EQ(WritePath(SquarePath(SquareContour(0, 0, 10), 0, 0, 10)), 1u);
    const TestPath p = SquarePath(SquareContour(30, 0, 10), 30, 0, 10);
    Job().currentPoint = p.leadInStart;
    ASSERT_EQ(WritePath(p), 2u);
    PathRecord r;
    ReadPathRecord(2, r);
    EXPECT_EQ(r.rapidHandle, 0u);
    EXPECT_NE(r.leadInHandle, 0u);
    EXPECT_EQ(r.rapidStart, r.leadInStart);
    const std::vector<std::string> tokens = Tokens(Description(2));
    ASSERT_EQ(tokens.size(), 16u);
    EXPECT_EQ(tokens[9], "N");
    EXPECT_EQ(tokens[10], FormatPathHandle(r.leadInHandle));
}

TEST_F(PathGroupWriter, AWriterThatDrawsNothingLeavesNoGroupAndTheCountAndPenAsTheyWere) {
    const int contour = SquareContour(0, 0, 10);
    TestPath p;
    p.contour = contour;
    p.cut = {{0, 0}, {0, 0}};
    Job().startAtHome = 0;
    SetPen(kPenNoPath);
    EXPECT_EQ(WritePath(p), 0u);
    EXPECT_EQ(Job().pathGroupCount, 0);
    EXPECT_EQ(Job().penState, kPenNoPath);
    EXPECT_FALSE(GroupExists(1));
}

TEST_F(PathGroupWriter, ALeftOverGroupOfTheSameNameIsRemovedBeforeThePathIsWritten) {
    ObjectId stale;
    {
        auto line = std::make_unique<host::db::Line>(Point3d(100, 100), Point3d(200, 100));
        stale = Add(std::move(line), "NC_Laser");
    }
    ASSERT_EQ(CreateGroup("DOROZ_1", stale, "Slice_Polyline T0 left over"), kGroupDone);
    const int contour = SquareContour(0, 0, 10);
    ASSERT_EQ(WritePath(SquarePath(contour, 0, 0, 10)), 1u);
    EXPECT_TRUE(stale.isErased());
    const std::vector<ObjectId> members = Members(1);
    EXPECT_EQ(members.size(), 6u);  // lead-in, four sides, lead-out: the whole path, nothing of the old group
    PathRecord r;
    ReadPathRecord(1, r);
    EXPECT_EQ(r.contourHandle, Job().contours[0].handle);
    EXPECT_EQ(r.leadInHandle, members.front().handle().value);
}

TEST_F(PathGroupWriter, PensSetTheHostPenAndTheJobsState) {
    CLaserSettings& s = Settings();
    s.ColorMove = "3";
    s.ColorFeed = "1";
    s.ColorSensorOff = "200";
    struct Case {
        int pen;
        const char* color;
        std::string linetype;
    };
    const Case cases[] = {{kPenRapid, "3", s.TypeLineMove},
                          {kPenCut, "1", "Continuous"},
                          {kPenNoPath, "3", s.TypeLineMove},
                          {kPenSensorOff, "200", s.TypeLineSensorOff}};
    for (const Case& c : cases) {
        SetPen(c.pen);
        EXPECT_EQ(Job().penState, c.pen);
        EXPECT_EQ(host::ed::getText("CECOLOR"), c.color) << c.pen;
        EXPECT_EQ(host::sys::upperCase(host::ed::getText("CELTYPE")), host::sys::upperCase(c.linetype)) << c.pen;
    }
    // Any other state is only stored.
    SetPen(kPenCut);
    SetPen(7);
    EXPECT_EQ(Job().penState, 7);
    EXPECT_EQ(host::ed::getText("CECOLOR"), "1");
}

TEST_F(PathGroupWriter, TheOffsetSideChoosesTheCutColour) {
    CLaserSettings& s = Settings();
    s.ColorFeed_G40 = "1";
    s.ColorFeed_G41 = "5";
    s.ColorFeed_G42 = "6";
    const struct {
        int side;
        const char* word;
        const char* colour;
    } cases[] = {{0, " Offset=NO", "1"}, {1, " Offset=NL", "5"}, {2, " Offset=NR", "6"}};
    for (const auto& c : cases) {
        EXPECT_EQ(SetCutColourForSide(c.side), c.word);
        EXPECT_EQ(s.ColorFeed, c.colour);
    }
}

TEST_F(PathGroupWriter, ArcsJoinTheGroupAndMoveTheCurrentPoint) {
    PathWriter().PathDescriptionText = "Slice_Circle T0";
    BeginPathGroup();
    const ObjectId ccw = AddPathArcCCW(Point3d(0, 0), Point3d(10, 0), Point3d(0, 10));
    const ObjectId cw = AddPathArcCW(Point3d(0, 0), Point3d(0, 10), Point3d(10, 0));
    EndPathGroup();
    ASSERT_FALSE(ccw.isNull());
    ASSERT_FALSE(cw.isNull());
    EXPECT_EQ(Members(1), (std::vector<ObjectId>{ccw, cw}));
    EXPECT_EQ(Job().currentPoint, Point3d(10, 0));
    ObjectPtr<host::db::Arc> a(cw, OpenMode::Read);
    // Clockwise from (0,10) to (10,0) is the host arc counter-clockwise from (10,0) to (0,10).
    EXPECT_NEAR(a->startAngle(), 0.0, 1e-12);
    EXPECT_NEAR(a->endAngle(), std::numbers::pi / 2, 1e-12);
}

}  // namespace
}  // namespace path_testing
