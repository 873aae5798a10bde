// Tests of the polyline path writer: jumper gaps on lines and arcs, the gap's short cuts and rapid, the settings
// that switch gaps and loops, corner loops, and engraving outlines written without leads or offset.
#include <gtest/gtest.h>

#include <cmath>

#include "laser/path/polyline_path.h"
#include "laser/path/tests/leads_fixture.h"

namespace {

using leads_testing::LeadsTest;
using leads_testing::Near;
using leads_testing::Tokens;
using host::ge::Point3d;

class PolylinePath : public LeadsTest {
protected:
    void SetUp() override {
        LeadsTest::SetUp();
        // Cut counter-clockwise, so a rectangle started at its lower-left corner runs along its bottom first.
        settings().CutLineDirection = 2;
    }

public:
    // The rectangle (0, 0)-(100, 50) with jumper points, as contours.
    int Part(const std::vector<Point3d>& jumpers) {
        Rectangle(0, 0, 100, 50);
        for (const Point3d& p : jumpers) Point(p, "JumperLine");
        Create();
        return At(0, 0);
    }
    // The cut of the part from (0, 0) as (start, end, is-rapid) per member, lead-in and lead-out included.
    std::vector<Member> Cut(int part) {
        Job().currentPoint = {-10, -10, 0};
        Job().pathGroupCount = 0;   // always the first group: no rapid
        Write({0, 0, 0}, part);
        return MemberShapes(static_cast<unsigned>(Job().pathGroupCount));
    }
};

TEST_F(PolylinePath, AJumperGapLeavesTheContourIntoTheScrapAndCrossesAsARapid) {
    const int part = Part({{50, 0}});
    const auto m = Cut(part);
    // lead-in; (0,0)-(49.5,0); out to (49.5,-0.5); rapid to (50.5,-6); back to (50.5,0); on to (100,0); ...
    ASSERT_GE(m.size(), 6u);
    EXPECT_TRUE(Near(m[1].a, {0, 0}) && Near(m[1].b, {49.5, 0}));
    EXPECT_TRUE(Near(m[2].b, {49.5, -0.5}));
    EXPECT_TRUE(Near(m[3].a, {49.5, -0.5}) && Near(m[3].b, {50.5, -6}));
    EXPECT_NE(m[3].linetype, "Continuous");
    EXPECT_TRUE(Near(m[4].b, {50.5, 0}));
    EXPECT_EQ(m[4].linetype, "Continuous");
    // The description names the crossing as a rapid, and nothing else: the lines out and back are cuts.
    const unsigned n = static_cast<unsigned>(Job().pathGroupCount);
    const PathRecord record = Path(n);
    const std::vector<host::db::ObjectId> ids = Members(n);
    for (std::size_t i = 0; i < ids.size(); ++i) {
        const PathMemberRole role = i == 3 ? PathMemberRole::Rapid : PathMemberRole::Cut;
        EXPECT_EQ(RoleOfPathMember(record, ids[i].handle().value), role) << "member " << i;
    }
    EXPECT_TRUE(Near(m[5].a, {50.5, 0}) && Near(m[5].b, {100, 0}));
}

TEST_F(PolylinePath, GapsAreSwitchedOffByTheSettingOrAWidthOfZero) {
    const int part = Part({{50, 0}});
    EXPECT_EQ(Cut(part).size(), 10u);   // lead-in, four sides, the gap's three lines, lead-out
    settings().UseJamper = 0;
    EXPECT_EQ(Cut(part).size(), 6u);
    settings().UseJamper = 1;
    settings().JamperWidth = 0.0;
    EXPECT_EQ(Cut(part).size(), 6u);
}

TEST_F(PolylinePath, GapsOnALineFollowTheTravelAndStayOffItsEnd) {
    const int part = Part({});
    const GapContour contour{Rec(part).handle, kShapePolyline, kPlacementOuter};
    const GapSizes sizes{1.0, 0.5, 6.0};
    struct Case {
        const char* what;
        std::vector<Point3d> jumpers;
        std::vector<double> starts;   // x of each gap's start, in cut order
    } cases[] = {
        {"in the middle", {{50, 0}}, {49.5}},
        {"near the end: moved to end half a width before it", {{99.8, 0}}, {98.5}},
        {"near the start: not moved", {{0.2, 0}}, {-0.3}},
        {"two, in the order of travel", {{70, 0}, {30, 0}}, {29.5, 69.5}},
        {"off the segment", {{50, 1}, {150, 0}}, {}},
    };
    for (const Case& c : cases) {
        const auto gaps = JumperGapsOnLine({0, 0, 0}, {100, 0, 0}, c.jumpers, contour, sizes);
        ASSERT_EQ(gaps.size(), c.starts.size()) << c.what;
        for (std::size_t i = 0; i < gaps.size(); ++i) {
            EXPECT_NEAR(gaps[i].gapStart.x, c.starts[i], 1e-9) << c.what;
            EXPECT_NEAR(gaps[i].gapEnd.x - gaps[i].gapStart.x, 1.0, 1e-9) << c.what;
            // The short cuts point into the scrap below the part.
            EXPECT_NEAR(gaps[i].gapLeadOutEnd.y, -0.5, 1e-9) << c.what;
            EXPECT_NEAR(gaps[i].gapLeadInStart.y, -6.0, 1e-9) << c.what;
        }
    }
    // Short cuts of no length: the gap's ends are its leads, and only the rapid crosses.
    const auto gaps = JumperGapsOnLine({0, 0, 0}, {100, 0, 0}, {{50, 0}}, contour, GapSizes{1.0, 0.0, 0.0});
    ASSERT_EQ(gaps.size(), 1u);
    EXPECT_TRUE(Near(gaps[0].gapLeadOutEnd, gaps[0].gapStart, 0.0));
    EXPECT_TRUE(Near(gaps[0].gapLeadInStart, gaps[0].gapEnd, 0.0));
}

TEST_F(PolylinePath, GapsOnAnArcPointAwayFromThePartOnBothSidesOfIt) {
    // A part whose right side is a half circle about (100, 25), taken as a part and as a hole.
    Polyline({{0, 0}, {100, 0, 1.0}, {100, 50}, {0, 50}}, true);
    Create();
    const int part = At(0, 0);
    const GapSizes sizes{1.0, 0.5, 6.0};
    const double h = 2.0 * std::asin(1.0 / 100.0);
    struct Case {
        std::uint8_t placement;
        double outward;   // sign of the short cuts along the radius
    } cases[] = {{kPlacementOuter, 1.0}, {kPlacementInner, -1.0}};
    for (const Case& c : cases) {
        const GapContour contour{Rec(part).handle, kShapePolyline, c.placement};
        const auto gaps =
            JumperGapsOnArc({100, 0, 0}, {100, 50, 0}, {100, 25, 0}, 1.0, {{125, 25}, {0, 25}}, contour, sizes);
        ASSERT_EQ(gaps.size(), 1u);
        EXPECT_NEAR(gaps[0].jumperAngle, 0.0, 1e-9);
        EXPECT_TRUE(Near(gaps[0].gapStart, {100 + 25 * std::cos(h), 25 - 25 * std::sin(h)}, 1e-9));
        EXPECT_TRUE(Near(gaps[0].gapEnd, {100 + 25 * std::cos(h), 25 + 25 * std::sin(h)}, 1e-9));
        EXPECT_NEAR(gaps[0].gapLeadOutEnd.x - gaps[0].gapStart.x, 0.5 * c.outward, 1e-9);
        EXPECT_NEAR(gaps[0].gapLeadInStart.x - gaps[0].gapEnd.x, 6.0 * c.outward, 1e-9);
    }
}

TEST_F(PolylinePath, AnArcIsCutThroughItsGapInTheDirectionOfTravel) {
    Polyline({{0, 0}, {100, 0, 1.0}, {100, 50}, {0, 50}}, true);
    Point({125, 25}, "JumperLine");
    Create();
    const int part = At(0, 0);
    const auto m = Cut(part);
    int arcs = 0;
    for (const auto& member : m) arcs += member.arc ? 1 : 0;
    EXPECT_EQ(arcs, 2);   // the half circle, cut in two by its gap
    // Consecutive members join: the cut is one unbroken way from the lead-in to the lead-out.
    for (std::size_t i = 1; i < m.size(); ++i) {
        const Point3d prevEnd = m[i - 1].arc && !Near(m[i - 1].b, m[i].a) ? m[i - 1].a : m[i - 1].b;
        const Point3d next = m[i].arc && !Near(m[i].a, prevEnd) ? m[i].b : m[i].a;
        EXPECT_TRUE(Near(prevEnd, next)) << "member " << i;
    }
}

TEST_F(PolylinePath, LoopsGoOnSharpCornersButNotOnTheStartCorner) {
    const int part = Part({});
    settings().UseJamper = 0;
    struct Case {
        int useLoop;
        double angle, radius;
        std::size_t members;
    } cases[] = {
        {0, 100.0, 0.0, 6u},                // no loops: lead-in, four sides, lead-out
        {1, 100.0, 0.0, 6u + 3u * 3u},      // three square corners, three lines each
        {1, 80.0, 0.0, 6u},                 // square corners are not sharp enough for 80 degrees
        {1, 100.0, 1.0, 6u + 3u * 5u},      // with arcs: two arcs more per loop
    };
    for (const Case& c : cases) {
        settings().UseLoop = c.useLoop;
        settings().LoopAngle = c.angle;
        settings().LoopRadius = c.radius;
        EXPECT_EQ(Cut(part).size(), c.members) << c.useLoop << " " << c.angle << " " << c.radius;
    }
}

TEST_F(PolylinePath, AnEngravingIsWrittenAsItsRapidAndItsSegmentsOnly) {
    Rectangle(0, 0, 100, 50, "EngraveLine");
    Create();
    const int engraving = At(0, 0);
    Rec(engraving).closure = kClosureNoLeads;
    settings().UseLoop = 1;
    Job().pathGroupCount = 1;
    Job().currentPoint = {-10, -10, 0};
    const auto t = Tokens(Write({0, 0, 0}, engraving));
    ASSERT_EQ(t.size(), 16u);
    EXPECT_EQ(t[1] + " " + t[2], "T2 Offset=NO");
    EXPECT_NE(t[9], "N");
    EXPECT_EQ(t[10] + t[11], "NN");
    EXPECT_EQ(Members(2).size(), 5u);   // the rapid and four sides, no loops
}

TEST_F(PolylinePath, ALeadOutThatIsNotDrawnIsNotNamed) {
    // A lead-out cut to nothing (its end on the start point): the description says "N", never the handle of the
    // contour's last side, which would make readers take the side for the lead-out.
    const int part = Part({});
    LeadInPlan plan;
    plan.startPoint = {0, 0, 0};
    plan.contourIndex = part;
    plan.startOnVertex = 1;
    plan.startSegment = 0;
    plan.direction = kCutForward;
    plan.offsetSide = kOffsetRight;
    plan.leadInLength = 6.0;
    plan.leadInStart = {-6, 0, 0};
    plan.leadOutLength = 3.0;
    plan.leadOutEnd = plan.startPoint;
    ASSERT_EQ(WritePolylinePath(Job(), settings(), plan), 0);
    const auto t = Tokens(Description(1));
    ASSERT_EQ(t.size(), 16u);
    EXPECT_EQ(t[11], "N");
    EXPECT_EQ(Members(1).size(), 5u);
    const PathRecord r = Path(1);
    EXPECT_TRUE(Near(r.contourEnd, {0, 0}));
}

TEST_F(PolylinePath, JumperPointsBeyondWhatAContourTakesAreCutThroughAndTheUserIsTold) {
    const int part = Part({});
    // Jumper point records of the part beyond the table of one contour.
    CuttingJob& job = Job();
    ContourRecord jumper;
    jumper.kind = ContourKind::KindJumperPoint;
    jumper.parentHandle = Rec(part).handle;
    const std::size_t extra = kMaxJumperPointsPerContour + 2;
    job.contours.insert(job.contours.begin() + job.contourCount, extra, jumper);
    job.contourCount += static_cast<int>(extra);
    host::ed::transcript().clear();
    EXPECT_EQ(CollectJumperPoints(job, settings(), part).size(), kMaxJumperPointsPerContour);
    EXPECT_NE(Transcript().find("502"), std::string::npos) << Transcript();

    // More gaps on one side than a piece takes.
    std::vector<Point3d> points;
    for (std::size_t i = 0; i <= kMaxJumperGapsPerPiece; ++i) points.push_back({0.5 + 0.9 * double(i), 0, 0});
    host::ed::transcript().clear();
    const GapContour contour{Rec(part).handle, kShapePolyline, kPlacementOuter};
    const auto gaps = JumperGapsOnLine({0, 0, 0}, {100, 0, 0}, points, contour, GapSizes{0.1, 0.5, 6.0});
    EXPECT_EQ(gaps.size(), kMaxJumperGapsPerPiece);
    EXPECT_NE(Transcript().find("101"), std::string::npos) << Transcript();
}

}  // namespace
