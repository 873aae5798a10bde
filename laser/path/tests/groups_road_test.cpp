// The path of a plate with two holes after contour creation and the automatic order: every group reads back, the
// totals agree with the groups, and deleting by pick, by selection and all keeps the groups, the flags, the
// totals and the stored job right.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "cadlib/host_variables.h"
#include "laser/contours/contour_creation.h"
#include "laser/contours/tests/creation_drawing_fixture.h"
#include "laser/path/tests/contour_lookup_fixture.h"
#include "laser/job/job_life_cycle.h"
#include "laser/path/automatic_cutting_order.h"
#include "laser/path/home_rapid.h"
#include "laser/path/path_deletion.h"
#include "laser/path/path_groups.h"
#include "laser/path/path_totals.h"

namespace {

using contour_testing::CreationTest;
using host::ge::Point3d;

class PathRoad : public path_testing::ContourLookupTest {
protected:
    void SetUp() override {
        CreationTest::SetUp();
        CLaserSettings& s = settings();
        saved_ = {s.PointHome, s.ModeEndPoint, s.ModeStartPoint, s.TrimLineUse, s.DirInstall};
        s.DirInstall = std::string(KESTRION_SOURCE_DIR) + "/data";
        s.PointHome = {0.0, 0.0, 0.0};
        s.ModeEndPoint = 1;
        PrepareDrawingJob(s);  // the line types of the path pens
    }
    void TearDown() override {
        CLaserSettings& s = settings();
        s.PointHome = saved_.home;
        s.ModeEndPoint = saved_.endPoint;
        s.ModeStartPoint = saved_.startPoint;
        s.TrimLineUse = saved_.trim;
        s.DirInstall = saved_.dirInstall;
        CreationTest::TearDown();
    }

public:
    // The plate of 200 x 100 at (10,10) drawn as four lines, with holes of radius 10 at (60,60) and (160,60),
    // its contours made and its path laid out with the home group.
    void PlateWithPath() {
        Line({10, 10}, {210, 10});
        Line({210, 10}, {210, 110});
        Line({210, 110}, {10, 110});
        Line({10, 110}, {10, 10});
        Circle({60, 60}, 10);
        Circle({160, 60}, 10);
        ASSERT_EQ(CreateContours(), 0) << Transcript();
        ASSERT_EQ(Job().contourCount, 3);
        ASSERT_EQ(SliceAuto(), 0) << Transcript();
        AddHomeRapid();
        ASSERT_EQ(Job().pathGroupCount, 4);
        ASSERT_EQ(Job().homeGroupPresent, 1u);
    }
    PathRecord Group(int n) {
        PathRecord r;
        ReadPathRecord(static_cast<unsigned>(n), r);
        return r;
    }
    std::uint64_t Handle(int i) { return Job().contours[static_cast<std::size_t>(i)].handle; }
    int Processed(int i) { return Job().contours[static_cast<std::size_t>(i)].processed; }
    void Answers(std::vector<std::string> lines) {
        host::ed::setInput(host::ed::ScriptInput::fromLines(std::move(lines), "answers.scr"));
    }
    // The totals as they stand equal what a regeneration finds.
    void ExpectTotalsAgree() {
        const CuttingJob before = Job();
        RegenPathTotals();
        EXPECT_NEAR(before.totalCutLength, Job().totalCutLength, 1e-9);
        EXPECT_NEAR(before.totalRapidLength, Job().totalRapidLength, 1e-9);
        EXPECT_NEAR(before.totalSeconds, Job().totalSeconds, 1e-9);
    }
    // The stored job read back gives the count and the flags the job holds now.
    void ExpectStoredJobAgrees() {
        const int count = Job().pathGroupCount;
        std::vector<int> flags;
        for (int i = 0; i < Job().contourCount; ++i) flags.push_back(Processed(i));
        CurrentSlot(settings())->dataVersion = kJobDataVersion200801;
        Job().pathGroupCount = -5;
        for (ContourRecord& r : Job().contours) r.processed = 7;
        ASSERT_EQ(ReadJobData(settings()), 0);
        EXPECT_EQ(Job().pathGroupCount, count);
        for (int i = 0; i < Job().contourCount; ++i) EXPECT_EQ(Processed(i), flags[static_cast<std::size_t>(i)]) << i;
    }
    std::string StatusLine() {
        std::string text;
        GetSysVarString("MODEMACRO", text);
        return text;
    }

private:
    struct Saved {
        std::array<double, 3> home;
        int endPoint, startPoint, trim;
        std::string dirInstall;
    } saved_{};
};

TEST_F(PathRoad, EveryGroupReadsBackAndTheTotalsFollowTheGroups) {
    PlateWithPath();
    const int plate = At(10, 10), near = At(50, 50), far = At(150, 50);
    const std::uint64_t order[] = {Handle(near), Handle(far), Handle(plate)};
    for (int n = 1; n <= 3; ++n) {
        const PathRecord r = Group(n);
        EXPECT_EQ(r.contourHandle, order[n - 1]) << n;
        EXPECT_EQ(r.shape, n < 3 ? kShapeCircle : kShapePolyline) << n;
        EXPECT_NE(r.rapidHandle, 0u) << n;  // cutting starts at home by default
        EXPECT_NE(r.leadInHandle, 0u) << n;
        if (n > 1) {
            EXPECT_EQ(r.rapidStart, Group(n - 1).leadOutEnd) << n;
        }
    }
    const PathRecord home = Group(4);
    EXPECT_EQ(home.shape, kShapeHomeGroup);
    const std::string homeHandle = FormatPathHandle(home.rapidHandle);
    EXPECT_EQ(home.description, "Rapid_Home " + homeHandle + " R=" + homeHandle);
    EXPECT_EQ(Job().currentPoint, Point3d(0, 0, 0));
    // The plate's perimeter and both circumferences with their leads; the rapids from home, between the contours
    // and back. Three pierces at the default beam switch time: the way home pierces nothing.
    EXPECT_NEAR(Job().totalCutLength, 752.66, 0.005);
    EXPECT_NEAR(Job().totalRapidLength, 457.53, 0.005);
    EXPECT_NEAR(Job().totalSeconds, 60.0 * (752.6637 / 300.0 + 457.5271 / 2000.0) + 3 * 2 * 0.1, 0.001);
    EXPECT_NEAR(Job().totalSeconds, 164.86, 0.005);
    ExpectTotalsAgree();
    EXPECT_NE(StatusLine().find("Contours=3/3"), std::string::npos) << StatusLine();
}

TEST_F(PathRoad, APickedPathGoesAndTheNextOneStartsWhereTheToolStood) {
    PlateWithPath();
    const int plate = At(10, 10), near = At(50, 50), far = At(150, 50);
    const Point3d afterFirstHole = Group(1).leadOutEnd;
    Answers({"170,60", ""});  // on the far hole (its path and its circle), then Enter
    EXPECT_EQ(CommandDelPick(), 0);
    ASSERT_EQ(Job().pathGroupCount, 3);
    EXPECT_EQ(Group(1).contourHandle, Handle(near));
    EXPECT_EQ(Group(2).contourHandle, Handle(plate));
    EXPECT_EQ(Group(3).shape, kShapeHomeGroup);
    EXPECT_EQ(Group(2).rapidStart, afterFirstHole);
    EXPECT_EQ(Processed(far), 0);
    EXPECT_EQ(Job().homeGroupPresent, 1u);
    ExpectTotalsAgree();
    EXPECT_NE(StatusLine().find("Contours=3/2"), std::string::npos) << StatusLine();
    ExpectStoredJobAgrees();

    // The automatic order cuts the hole again, after the home group has gone, and goes home again.
    CommandNCSliceAuto();
    ASSERT_EQ(Job().pathGroupCount, 4);
    EXPECT_EQ(Group(3).contourHandle, Handle(far));
    EXPECT_EQ(Group(3).rapidStart, Group(2).leadOutEnd);
    EXPECT_EQ(Group(4).shape, kShapeHomeGroup);
    EXPECT_EQ(Processed(far), 1);
    ExpectTotalsAgree();
}

TEST_F(PathRoad, SelectingEverythingRemovesTheWholePath) {
    PlateWithPath();
    Answers({"ALL", "", ""});
    EXPECT_EQ(CommandDelCrossing(), 0);
    EXPECT_EQ(Job().pathGroupCount, 0);
    EXPECT_EQ(Job().homeGroupPresent, 0u);
    EXPECT_EQ(Job().totalCutLength, 0.0);
    EXPECT_EQ(Job().totalSeconds, 0.0);
    EXPECT_EQ(Job().penState, kPenNoPath);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(Processed(i), 0) << i;
    EXPECT_NE(StatusLine().find("Contours=3/0"), std::string::npos) << StatusLine();
    ExpectStoredJobAgrees();
}

TEST_F(PathRoad, DeletingAllThenCuttingAgainGivesTheSamePath) {
    PlateWithPath();
    std::vector<std::string> before;
    for (int n = 1; n <= 4; ++n) {
        // Handles differ between runs; the points do not.
        const PathRecord r = Group(n);
        before.push_back(std::to_string(r.rapidStart.x) + "," + std::to_string(r.leadOutEnd.y));
    }
    const double cut = Job().totalCutLength, rapid = Job().totalRapidLength;
    EXPECT_EQ(CommandDelAll(), 0);
    EXPECT_EQ(Job().pathGroupCount, 0);
    ExpectStoredJobAgrees();
    CommandNCSliceAuto();
    ASSERT_EQ(Job().pathGroupCount, 4);
    for (int n = 1; n <= 4; ++n) {
        const PathRecord r = Group(n);
        EXPECT_EQ(std::to_string(r.rapidStart.x) + "," + std::to_string(r.leadOutEnd.y), before[n - 1]) << n;
    }
    EXPECT_NEAR(Job().totalCutLength, cut, 1e-9);
    EXPECT_NEAR(Job().totalRapidLength, rapid, 1e-9);
}

}  // namespace
