// Path totals: each group measured by its contour's kind, circles, marking points, arcs across 0 degrees, jumper
// gaps, zero feeds, and the totals over all groups.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>

#include "laser/path/path_totals.h"
#include "laser/path/tests/groups_fixture.h"

namespace path_testing {
namespace {

constexpr double kFeedCut = 300.0, kFeedEngrave = 200.0, kFeedHeat = 100.0, kFeedRapid = 10000.0;
constexpr double kLaserOnOff = 0.5;

class PathTotals : public PathTest {
protected:
    void SetUp() override {
        PathTest::SetUp();
        // The job takes its feeds from the settings whenever it is stored.
        CLaserSettings& s = Settings();
        s.FeedCut = kFeedCut;
        s.EngraveCut = kFeedEngrave;
        s.HeatTreatmentCut = kFeedHeat;
        s.FeedRapid = kFeedRapid;
        s.TimeLaserOnOff = kLaserOnOff;
        WriteJobData(s);
        CuttingJob& job = Job();
        job.startAtHome = 1;
        job.homePoint = Point3d(-2, -10);
    }

public:
    // Writes a group by hand: `head` after the type word and kind, `draw` makes the members, `tail` ends the text.
    unsigned Group(int contour, const std::string& typeWord, const std::function<void()>& draw, const char* tail) {
        const ContourRecord& r = Job().contours[static_cast<std::size_t>(contour)];
        PathWriterState& w = PathWriter();
        w.PathDescriptionText = typeWord + " T" + std::to_string(static_cast<int>(r.kind));
        BeginPathGroup();
        w.PathDescriptionText += " Offset=NO HP= " + FormatPathHandle(r.handle) + " " + std::to_string(r.shape) +
                                 " 0 1 0";
        draw();
        w.PathDescriptionText += tail;
        AppendMemberRoleTokens();
        StorePathDescription();
        EndPathGroup();
        return static_cast<unsigned>(Job().pathGroupCount);
    }
};

double Seconds(double cut, double engrave, double heat, double rapid, int pierces) {
    return 60.0 * (cut / kFeedCut + engrave / kFeedEngrave + heat / kFeedHeat + rapid / kFeedRapid) +
           2.0 * pierces * kLaserOnOff;
}

TEST_F(PathTotals, ALengthIsBookedByTheContoursKind) {
    // A square of side 10 with a rapid of 10 from home, lead-in 2, four sides, lead-out 2: 44 of cutting length.
    struct Case {
        ContourKind kind;
        double PathGroupMeasure::*booked;
        double seconds;
    };
    const Case cases[] = {
        {ContourKind::KindBase, &PathGroupMeasure::cut, Seconds(44, 0, 0, 10, 1)},
        {ContourKind::NoLeadIn, &PathGroupMeasure::cut, Seconds(44, 0, 0, 10, 1)},
        {ContourKind::EngraveLine, &PathGroupMeasure::engrave, Seconds(0, 44, 0, 10, 1)},
        {ContourKind::HeatTreatmentLine, &PathGroupMeasure::heat, Seconds(0, 0, 44, 10, 1)},
        {ContourKind::CutT2Line, &PathGroupMeasure::cutT2, Seconds(0, 0, 0, 10, 1)},
        {ContourKind::EngraveAndMarkLine, &PathGroupMeasure::engraveMark, Seconds(0, 0, 0, 10, 1)},
        {ContourKind::MarkLine, &PathGroupMeasure::mark, Seconds(0, 0, 0, 10, 1)},
    };
    for (const Case& c : cases) {
        SetUp();
        const int contour = SquareContour(0, 0, 10, c.kind);
        ASSERT_EQ(WritePath(SquarePath(contour, 0, 0, 10)), 1u);
        PathGroupMeasure m;
        EXPECT_EQ(MeasurePathGroup(1, m), 0);
        const int kind = static_cast<int>(c.kind);
        EXPECT_DOUBLE_EQ(m.rapid, 10.0) << kind;
        EXPECT_DOUBLE_EQ(m.*c.booked, 44.0) << kind;
        const double all = m.cut + m.cutT2 + m.engrave + m.engraveMark + m.mark + m.heat;
        EXPECT_DOUBLE_EQ(all, 44.0) << kind << ": booked once";
        EXPECT_EQ(m.pierceCount, 1) << kind;
        EXPECT_NEAR(m.seconds, c.seconds, 1e-9) << kind;
        TearDown();
    }
}

TEST_F(PathTotals, ACircleCountsItsWholeCircumferenceWithItsLeads) {
    const int contour = AddContour(Add(std::make_unique<host::db::Circle>(Point3d(50, 0), 10.0)), kShapeCircle);
    const unsigned n = Group(
        contour, "Slice_Circle",
        [] {
            // Lead-in of 3 from (37,0) to (40,0), the circle as two halves, lead-out of 3 back.
            AddRapidAndLeadIn(Point3d(40, 0), 3.0, Point3d(37, 0));
            AddPathArcCW(Point3d(50, 0), Point3d(40, 0), Point3d(60, 0));
            AddPathArcCW(Point3d(50, 0), Point3d(60, 0), Point3d(40, 0));
            AppendPathHandleToken(AddPathLine(Point3d(40, 0), Point3d(37, 0)));
        },
        " 40.0000 0.0000 40.0000 0.0000");
    PathGroupMeasure m;
    MeasurePathGroup(n, m);
    EXPECT_NEAR(m.cut, 2 * std::numbers::pi * 10 + 3 + 3, 1e-9);
    EXPECT_NEAR(m.rapid, Point3d(-2, -10).distanceTo(Point3d(37, 0)), 1e-9);
}

TEST_F(PathTotals, AMarkingPointMeasuresOnlyItsRapidAndOnePierce) {
    const int contour =
        AddContour(Add(std::make_unique<host::db::PointEntity>(Point3d(30, 0)), "MarkPoint"), kShapePoint,
                   ContourKind::MarkPoint, kPlacementNone, kClosureNoLeads);
    const unsigned n = Group(
        contour, "MarkingPoint",
        [] {
            AddRapidAndLeadIn(Point3d(30, 0), 0.0, Point3d());
            SetPen(kPenCut);
            AddPathLine(Point3d(30, 0), Point3d(30.02, 0));
            AppendPathHandleToken({});
        },
        " 30.0000 0.0000 30.0200 0.0000");
    PathGroupMeasure m;
    MeasurePathGroup(n, m);
    const double rapid = Point3d(-2, -10).distanceTo(Point3d(30, 0));
    EXPECT_NEAR(m.rapid, rapid, 1e-9);
    EXPECT_EQ(m.cut, 0.0);
    EXPECT_EQ(m.mark, 0.0);
    EXPECT_NEAR(m.seconds, 60.0 * rapid / kFeedRapid + 2 * kLaserOnOff, 1e-9);
}

TEST_F(PathTotals, AnArcAcrossZeroDegreesCountsItsShortSweep) {
    Job().startAtHome = 0;
    const int contour = SquareContour(0, 0, 10);
    const double a = 350.0 * std::numbers::pi / 180.0, b = 10.0 * std::numbers::pi / 180.0;
    const Point3d from(10 * std::cos(a), 10 * std::sin(a)), to(10 * std::cos(b), 10 * std::sin(b));
    const unsigned n = Group(
        contour, "Slice_Polyline",
        [&] {
            AddRapidAndLeadIn(from, 0.0, Point3d());
            AddPathArcCCW(Point3d(0, 0), from, to);
            AppendPathHandleToken({});
        },
        " 9.8481 -1.7365 9.8481 1.7365");
    PathGroupMeasure m;
    MeasurePathGroup(n, m);
    EXPECT_NEAR(m.cut, 10.0 * 20.0 * std::numbers::pi / 180.0, 1e-9);
    EXPECT_EQ(m.rapid, 0.0);
}

TEST_F(PathTotals, AJumperGapIsARapidAndTheCutAfterItAPierce) {
    Job().startAtHome = 0;
    const int contour = SquareContour(0, 0, 10);
    const unsigned n = Group(
        contour, "Slice_Polyline",
        [] {
            AddRapidAndLeadIn(Point3d(0, 0), 0.0, Point3d());
            AddPathLine(Point3d(0, 0), Point3d(4, 0));
            SetPen(kPenRapid);
            AddPathLine(Point3d(4, 0), Point3d(6, 0));
            SetPen(kPenCut);
            AddPathLine(Point3d(6, 0), Point3d(10, 0));
            AppendPathHandleToken({});
        },
        " 0.0000 0.0000 10.0000 0.0000");
    PathGroupMeasure m;
    MeasurePathGroup(n, m);
    EXPECT_DOUBLE_EQ(m.cut, 8.0);
    EXPECT_DOUBLE_EQ(m.rapid, 2.0);
    EXPECT_EQ(m.pierceCount, 2);
    EXPECT_NEAR(m.seconds, Seconds(8, 0, 0, 2, 2), 1e-9);
}

TEST_F(PathTotals, AZeroFeedTimesItsKindAsNothing) {
    CuttingJob& job = Job();
    Settings().EngraveCut = 0.0;
    Settings().HeatTreatmentCut = 0.0;
    WriteJobData(Settings());
    ASSERT_EQ(job.feedHeatTreatment, 0.0);
    const int base = SquareContour(0, 0, 10);
    const int heat = SquareContour(20, 0, 10, ContourKind::HeatTreatmentLine);
    WritePath(SquarePath(base, 0, 0, 10));
    WritePath(SquarePath(heat, 20, 0, 10));
    RegenPathTotals();
    EXPECT_FALSE(std::isnan(job.totalSeconds));
    PathGroupMeasure first, second;
    MeasurePathGroup(1, first);
    MeasurePathGroup(2, second);
    EXPECT_NEAR(first.seconds, Seconds(44, 0, 0, 10, 1), 1e-9);
    EXPECT_NEAR(second.seconds, 60.0 * second.rapid / kFeedRapid + 2 * kLaserOnOff, 1e-9);
    EXPECT_DOUBLE_EQ(job.totalHeatLength, 44.0);
}

TEST_F(PathTotals, RegenSumsEveryGroupAndStartsFromNothing) {
    CuttingJob& job = Job();
    job.totalCutLength = job.totalRapidLength = job.totalSeconds = job.totalMarkLength = 123.0;
    EXPECT_EQ(RegenPathTotals(), 0);
    EXPECT_EQ(job.totalCutLength, 0.0);
    EXPECT_EQ(job.totalRapidLength, 0.0);
    EXPECT_EQ(job.totalSeconds, 0.0);
    EXPECT_EQ(job.totalMarkLength, 0.0);

    SquaresWithPaths(3);
    RegenPathTotals();
    double cut = 0, rapid = 0, seconds = 0;
    for (unsigned n = 1; n <= 3; ++n) {
        PathGroupMeasure m;
        MeasurePathGroup(n, m);
        cut += m.cut;
        rapid += m.rapid;
        seconds += m.seconds;
    }
    EXPECT_DOUBLE_EQ(job.totalCutLength, 3 * 44.0);
    EXPECT_DOUBLE_EQ(job.totalCutLength, cut);
    // Home (-2,-10) to (-2,0), then from each lead-out end (x,-2) to the next lead-in start (x+18,0).
    EXPECT_NEAR(job.totalRapidLength, 10.0 + 2 * std::hypot(18.0, 2.0), 1e-9);
    EXPECT_DOUBLE_EQ(job.totalRapidLength, rapid);
    EXPECT_DOUBLE_EQ(job.totalSeconds, seconds);
}

}  // namespace
}  // namespace path_testing
