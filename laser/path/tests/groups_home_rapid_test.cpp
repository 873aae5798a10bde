// The home group: the rapid home, the trim-line strokes with the sensor-off pen, when no group is made, and its
// measurement.
#include <gtest/gtest.h>

#include <cmath>

#include "laser/path/home_rapid.h"
#include "laser/path/path_totals.h"
#include "laser/path/tests/groups_fixture.h"

namespace path_testing {
namespace {

class HomeRapid : public PathTest {
protected:
    void SetUp() override {
        PathTest::SetUp();
        CLaserSettings& s = Settings();
        s.ModeEndPoint = 1;
        s.TrimLineUse = 0;
        s.DistZAxisTrackingSensorON = 15.0;
        s.DistZAxisTrackingSensorOFF = 12.0;
        // The job takes its feeds from the settings whenever it is stored.
        s.FeedCut = 300.0;
        s.FeedRapid = 10000.0;
        s.TimeLaserOnOff = 0.5;
        WriteJobData(s);
        CuttingJob& job = Job();
        job.homePoint = Point3d(0, 0);
        job.trimLineBits = 0;
    }

public:
    // One square contour with its path, ending at (10,8).
    void OnePath() { ASSERT_EQ(WritePath(SquarePath(SquareContour(10, 10, 10), 10, 10, 10)), 1u); }
    void VerticalTrimLine(Point3d a, Point3d b) {
        Job().trimLineBits |= kTrimLineVertical;
        Job().verticalTrimStart = a;
        Job().verticalTrimEnd = b;
    }
    void HorizontalTrimLine(Point3d a, Point3d b) {
        Job().trimLineBits |= kTrimLineHorizontal;
        Job().horizontalTrimStart = a;
        Job().horizontalTrimEnd = b;
    }
    // The lines of group n as (start, end, linetype).
    struct Stroke {
        Point3d from, to;
        std::string linetype;
        bool operator==(const Stroke&) const = default;
    };
    std::vector<Stroke> Strokes(unsigned n) {
        std::vector<Stroke> strokes;
        for (ObjectId id : Members(n)) {
            const auto [from, to] = LineEnds(id);
            strokes.push_back({from, to, Linetype(id)});
        }
        return strokes;
    }
};

TEST_F(HomeRapid, ReturningHomeAddsOneRapidNamedInTheDescription) {
    OnePath();
    RegenPathTotals();
    const double rapidBefore = Job().totalRapidLength, secondsBefore = Job().totalSeconds;
    const int counterBefore = Slot().changeCounter;
    AddHomeRapid();
    ASSERT_EQ(Job().pathGroupCount, 2);
    EXPECT_EQ(Job().homeGroupPresent, 1u);
    const std::vector<ObjectId> members = Members(2);
    ASSERT_EQ(members.size(), 1u);
    EXPECT_EQ(LineEnds(members[0]), std::make_pair(Point3d(10, 8), Point3d(0, 0)));
    EXPECT_EQ(Linetype(members[0]), Settings().TypeLineMove);
    // The description names the last line, and says that it is a rapid (whatever its line type).
    const std::string handle = FormatPathHandle(members[0].handle().value);
    EXPECT_EQ(Description(2), "Rapid_Home " + handle + " R=" + handle);
    PathRecord r;
    ReadPathRecord(2, r);
    EXPECT_EQ(r.shape, kShapeHomeGroup);
    EXPECT_EQ(r.rapidHandle, members[0].handle().value);
    EXPECT_EQ(RoleOfPathMember(r, members[0].handle().value), PathMemberRole::Rapid);
    EXPECT_EQ(Job().currentPoint, Point3d(0, 0));
    // Its rapid joins the totals, as a regeneration finds them; nothing is pierced on the way home.
    const double home = std::hypot(10.0, 8.0);
    EXPECT_NEAR(Job().totalRapidLength, rapidBefore + home, 1e-9);
    EXPECT_NEAR(Job().totalSeconds, secondsBefore + 60.0 * home / 10000.0, 1e-9);
    const double total = Job().totalSeconds;
    RegenPathTotals();
    EXPECT_NEAR(Job().totalSeconds, total, 1e-9);
    EXPECT_EQ(Slot().changeCounter, counterBefore + 1);
}

TEST_F(HomeRapid, TrimLinesAreCutWithTheSensorOffNearTheirEnds) {
    const std::string rapid = Settings().TypeLineMove, off = Settings().TypeLineSensorOff, cut = "Continuous";
    struct Case {
        const char* what;
        int modeEndPoint;
        bool vertical, horizontal;
        std::vector<Stroke> strokes;
    };
    const Case cases[] = {
        {"vertical line, not going home",
         0,
         true,
         false,
         {{{10, 8}, {1000, 1485}, rapid},
          {{1000, 1485}, {1000, 1512}, off},
          {{1000, 1512}, {1000, 1485}, rapid},
          {{1000, 1485}, {1000, 15}, cut},
          {{1000, 15}, {1000, -12}, off}}},
        {"horizontal line, then home",
         1,
         false,
         true,
         {{{10, 8}, {1500, 1000}, rapid},
          {{1500, 1000}, {15, 1000}, cut},
          {{15, 1000}, {-12, 1000}, off},
          {{-12, 1000}, {0, 0}, rapid}}},
        {"both lines: the horizontal one first",
         1,
         true,
         true,
         {{{10, 8}, {1500, 1000}, rapid},
          {{1500, 1000}, {15, 1000}, cut},
          {{15, 1000}, {-12, 1000}, off},
          {{-12, 1000}, {1000, 1485}, rapid},
          {{1000, 1485}, {1000, 1512}, off},
          {{1000, 1512}, {1000, 1485}, rapid},
          {{1000, 1485}, {1000, 15}, cut},
          {{1000, 15}, {1000, -12}, off},
          {{1000, -12}, {0, 0}, rapid}}},
    };
    for (const Case& c : cases) {
        SetUp();
        Settings().TrimLineUse = 1;
        Settings().ModeEndPoint = c.modeEndPoint;
        // Stored with their ends either way round: the strokes do not depend on it.
        if (c.vertical) VerticalTrimLine({1000, 1500}, {1000, 0});
        if (c.horizontal) HorizontalTrimLine({0, 1000}, {1500, 1000});
        OnePath();
        AddHomeRapid();
        ASSERT_EQ(Job().pathGroupCount, 2) << c.what;
        const std::vector<Stroke> strokes = Strokes(2);
        ASSERT_EQ(strokes.size(), c.strokes.size()) << c.what;
        // The description names each stroke's role as its pen draws it.
        PathRecord record;
        ReadPathRecord(2, record);
        const std::vector<ObjectId> members = Members(2);
        for (std::size_t i = 0; i < strokes.size(); ++i) {
            EXPECT_TRUE(SameXY(strokes[i].from, c.strokes[i].from) && SameXY(strokes[i].to, c.strokes[i].to))
                << c.what << ", stroke " << i;
            EXPECT_EQ(strokes[i].linetype, c.strokes[i].linetype) << c.what << ", stroke " << i;
            const PathMemberRole role = c.strokes[i].linetype == rapid ? PathMemberRole::Rapid
                                        : c.strokes[i].linetype == off ? PathMemberRole::SensorOff
                                                                       : PathMemberRole::Cut;
            EXPECT_EQ(RoleOfPathMember(record, members[i].handle().value), role) << c.what << ", stroke " << i;
        }
        EXPECT_EQ(Description(2).rfind("Rapid_Home " + FormatPathHandle(members.back().handle().value) + " ", 0), 0u)
            << c.what;
        EXPECT_EQ(Job().penState, kPenRapid) << c.what;
        TearDown();
    }
}

TEST_F(HomeRapid, AHomeGroupWithTrimStrokesMeasuresEachStrokeOnce) {
    Settings().TrimLineUse = 1;
    VerticalTrimLine({1000, 0}, {1000, 1500});
    OnePath();
    AddHomeRapid();
    PathGroupMeasure m;
    MeasurePathGroup(2, m);
    const double toTrim = Point3d(10, 8).distanceTo(Point3d(1000, 1485));
    const double home = Point3d(1000, -12).distanceTo(Point3d(0, 0));
    EXPECT_NEAR(m.rapid, toTrim + 27.0 + home, 1e-9);
    EXPECT_NEAR(m.cut, 27.0 + 1470.0 + 27.0, 1e-9);
    EXPECT_EQ(m.pierceCount, 2);  // the top edge, then the cut down
}

TEST_F(HomeRapid, NoHomeGroupIsMadeWhenThereIsNothingToDraw) {
    struct Case {
        const char* what;
        bool path;
        int modeEndPoint, trimLineUse;
        Point3d home;
    };
    const Case cases[] = {
        {"no contour path", false, 1, 1, {0, 0}},
        {"neither home nor trim lines", true, 0, 0, {0, 0}},
        {"trim lines on but none stored", true, 0, 1, {0, 0}},
        {"the path ends at home", true, 1, 0, {10, 8}},
    };
    for (const Case& c : cases) {
        SetUp();
        Settings().ModeEndPoint = c.modeEndPoint;
        Settings().TrimLineUse = c.trimLineUse;
        Job().homePoint = c.home;
        if (c.path) OnePath();
        const int count = Job().pathGroupCount;
        AddHomeRapid();
        EXPECT_EQ(Job().pathGroupCount, count) << c.what;
        EXPECT_EQ(Job().homeGroupPresent, 0u) << c.what;
        EXPECT_FALSE(GroupExists(static_cast<unsigned>(count + 1))) << c.what;
        TearDown();
    }
}

TEST_F(HomeRapid, ASecondRunChangesNothing) {
    OnePath();
    AddHomeRapid();
    const double seconds = Job().totalSeconds;
    const int counter = Slot().changeCounter;
    AddHomeRapid();
    EXPECT_EQ(Job().pathGroupCount, 2);
    EXPECT_FALSE(GroupExists(3));
    EXPECT_EQ(Job().totalSeconds, seconds);
    EXPECT_EQ(Slot().changeCounter, counter);
}

}  // namespace
}  // namespace path_testing
