// Geometry conversion: ellipses and elliptical arcs (a mirrored one too) redrawn as circular arcs that follow the
// ellipse, splines turned into polylines after the questions are answered within their ranges, the maximum
// deviation of the smoothing checked at its bounds, and selections without anything to convert.
#include "laser/drawing/conversion_commands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "cadlib/host_variables.h"
#include "cadlib/layers.h"
#include "host/ed/sysvars.h"
#include "host/sys/number_text.h"
#include "laser/drawing/tests/drawing_commands_fixture.h"

namespace {

using drawing_testing::Count;
using drawing_testing::PreparedDrawingTest;
using host::db::ObjectId;
using host::ge::Point3d;
using host::ge::Vector3d;

constexpr double kPi = 3.14159265358979323846;

double DistanceToSegment(const Point3d& p, const Point3d& a, const Point3d& b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double length2 = dx * dx + dy * dy;
    double t = length2 > 0.0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / length2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

// The distance in plan from `p` to a curve given by dense points.
double DistanceToPoints(const Point3d& p, const std::vector<Point3d>& curve) {
    double best = std::numeric_limits<double>::max();
    for (std::size_t i = 1; i < curve.size(); ++i) best = std::min(best, DistanceToSegment(p, curve[i - 1], curve[i]));
    return best;
}

// Points along a circular arc, its ends included.
std::vector<Point3d> ArcPoints(const host::db::Arc& arc, int pieces) {
    double sweep = arc.endAngle() - arc.startAngle();
    if (sweep <= 0.0) sweep += 2 * kPi;
    std::vector<Point3d> points;
    for (int i = 0; i <= pieces; ++i) {
        const double angle = arc.startAngle() + sweep * i / pieces;
        points.emplace_back(arc.center().x + arc.radius() * std::cos(angle),
                            arc.center().y + arc.radius() * std::sin(angle), 0.0);
    }
    return points;
}

TEST_F(PreparedDrawingTest, EllipsesBecomeArcsThatFollowThemOnTheirOwnSide) {
    struct Case {
        const char* what;
        Vector3d normal;
        double start, end;  // parameters
        std::size_t arcs;
    };
    const Case cases[] = {
        {"a whole ellipse", {0, 0, 1}, 0.0, 2 * kPi, 20},
        {"the upper half", {0, 0, 1}, 0.0, kPi, 10},
        // Seen from above this arc runs clockwise from the major axis and lies below it; drawn over the
        // angles as they stand it came out above the axis.
        {"a mirrored half", {0, 0, -1}, 0.0, kPi, 10},
        {"a mirrored 135 degrees across the axis", {0, 0, -1}, 1.5 * kPi, 2.25 * kPi, 8},
    };
    for (const Case& c : cases) {
        SetUp();
        Layer("Parts");
        SetCurrentLayer("Parts");
        auto shape = std::make_unique<host::db::Ellipse>();
        ASSERT_EQ(shape->set({100, 50, 0}, c.normal, {40, 0, 0}, 0.5, c.start, c.end), host::db::Status::Ok);
        const std::vector<Point3d> curve = shape->tessellate(4000);
        const ObjectId ellipse = Add(std::move(shape), "EngraveLine");
        const Point3d onCurve = curve[curve.size() / 2];
        Answer({host::sys::formatC("%.9f,%.9f", onCurve.x, onCurve.y), ""});
        Run("Convert_Ellipse_to_Polyline");

        EXPECT_TRUE(ellipse.isErased()) << c.what;
        EXPECT_EQ(Count(Transcript(), "Converted ellipses - 1"), 1u) << c.what << Transcript();
        EXPECT_EQ(host::ed::getText("CLAYER"), "Parts") << c.what;
        EXPECT_EQ(host::ed::getShort("PELLIPSE"), 1) << c.what;
        const auto arcs = Entities("ARC", "EngraveLine");
        ASSERT_EQ(arcs.size(), c.arcs) << c.what;
        // Each arc lies on the ellipse's own part, and together they reach its ends.
        double worst = 0.0;
        std::vector<Point3d> drawn;
        for (const ObjectId id : arcs) {
            for (const Point3d& p : ArcPoints(*Open<host::db::Arc>(id), 8)) {
                worst = std::max(worst, DistanceToPoints(p, curve));
                drawn.push_back(p);
            }
        }
        EXPECT_LT(worst, 0.2) << c.what;
        double farthest = 0.0;
        for (std::size_t i = 0; i < curve.size(); i += 50) {
            double nearest = std::numeric_limits<double>::max();
            for (const Point3d& p : drawn) nearest = std::min(nearest, p.distanceTo(curve[i]));
            farthest = std::max(farthest, nearest);
        }
        EXPECT_LT(farthest, 3.0) << c.what << ": a part of the ellipse has no arc near it";
        TearDown();
    }
}

TEST_F(PreparedDrawingTest, SplineBecomesAPolylineAfterAnswersWithinRange) {
    for (const int accept : {0, 1}) {
        SetUp();
        SetSysVarInt("PEDITACCEPT", static_cast<short>(accept));
        auto shape = std::make_unique<host::db::Spline>();
        ASSERT_EQ(shape->setNurbsData(3, 8, {0, 0, 0, 0, 1, 1, 1, 1}, {{0, 0, 0}, {30, 60, 0}, {70, -20, 0}, {100, 40, 0}}),
                  host::db::Status::Ok);
        const std::vector<Point3d> curve = shape->tessellate(2000);
        const Point3d onCurve = shape->evaluate(0.5);
        Add(std::move(shape), "MarkLine");
        // 2 and -1 are no segment type, 100 is no precision: each is asked again.
        Answer({host::sys::formatC("%.9f,%.9f", onCurve.x, onCurve.y), "", "2", "-1", "1", "100", "10"});
        Run("Convert_Spline_to_Polyline");

        const std::string text = Transcript();
        EXPECT_EQ(Count(text, "Segment Type (0-line, 1-arc) [0]"), 3u) << text;
        EXPECT_EQ(Count(text, "Specify precision (0-99) [10]"), 2u) << text;
        EXPECT_EQ(Count(text, "Converted Splines - 1"), 1u) << text;
        EXPECT_EQ(host::ed::getShort("PLINECONVERTMODE"), 1);
        EXPECT_TRUE(Entities("SPLINE", "MarkLine").empty()) << "PEDITACCEPT " << accept;
        const auto polylines = Entities("LWPOLYLINE", "MarkLine");
        ASSERT_EQ(polylines.size(), 1u) << "PEDITACCEPT " << accept << text;
        {
            auto polyline = Open<host::db::LwPolyline>(polylines[0]);
            bool anyArc = false;
            for (const auto& v : polyline->vertices()) {
                EXPECT_LT(DistanceToPoints({v.point.x, v.point.y, 0}, curve), 0.01);
                anyArc = anyArc || v.bulge != 0.0;
            }
            EXPECT_TRUE(anyArc) << "segment type 1 asks for arcs";
        }
        TearDown();
    }
}

// The point halfway along a polyline segment from a to b with the given bulge.
Point3d SegmentMiddle(const Point3d& a, const Point3d& b, double bulge) {
    const double dx = b.x - a.x, dy = b.y - a.y, chord = std::hypot(dx, dy);
    const double sagitta = bulge * chord / 2.0;
    return {(a.x + b.x) / 2.0 + (chord > 0.0 ? dy / chord * sagitta : 0.0),
            (a.y + b.y) / 2.0 - (chord > 0.0 ? dx / chord * sagitta : 0.0), 0.0};
}

// A spline stored by fit points alone (seven points of a quarter circle of radius 100, the file's tangents at
// its ends) was turned into the polygon through the points, up to 0.86 off the circle, whatever the precision
// and segment type. It is converted as the curve through its points: every vertex and every segment's middle
// lies on the circle within what the precision allows.
TEST_F(PreparedDrawingTest, ASplineGivenByFitPointsIsConvertedAlongItsCurve) {
    struct Case {
        const char* type;
        const char* precision;
        double within;
    };
    const Case cases[] = {
        {"0", "10", 0.01}, {"1", "10", 0.01}, {"1", "0", 0.05}, {"0", "99", 0.01},
        {"0", "0", 0.25},  // two straight segments for each 15 degrees: their own sagitta is 0.21
    };
    for (const Case& c : cases) {
        SetUp();
        std::vector<Point3d> fit;
        for (int i = 0; i <= 6; ++i) {
            const double angle = kPi / 2 * i / 6;
            fit.emplace_back(200.0 + 100.0 * std::cos(angle), 100.0 + 100.0 * std::sin(angle), 0.0);
        }
        auto shape = std::make_unique<host::db::Spline>();
        ASSERT_EQ(shape->setFitData(fit, {0, 1, 0}, {-1, 0, 0}), host::db::Status::Ok);
        Add(std::move(shape), "MarkLine");
        Answer({host::sys::formatC("%.9f,%.9f", fit[3].x, fit[3].y), "", c.type, c.precision});
        Run("Convert_Spline_to_Polyline");
        const std::string what = std::string("type ") + c.type + ", precision " + c.precision;
        EXPECT_EQ(Count(Transcript(), "Converted Splines - 1"), 1u) << what << Transcript();
        const auto polylines = Entities("LWPOLYLINE", "MarkLine");
        ASSERT_EQ(polylines.size(), 1u) << what << Transcript();
        std::vector<host::db::LwPolyline::Vertex> vertices;
        {
            auto polyline = Open<host::db::LwPolyline>(polylines[0]);
            vertices = polyline->vertices();
        }
        ASSERT_GE(vertices.size(), 2u) << what;
        const auto offCircle = [](const Point3d& p) { return std::abs(std::hypot(p.x - 200.0, p.y - 100.0) - 100.0); };
        double worst = 0.0;
        for (std::size_t i = 0; i < vertices.size(); ++i) {
            const Point3d a{vertices[i].point.x, vertices[i].point.y, 0.0};
            worst = std::max(worst, offCircle(a));
            if (i + 1 == vertices.size()) break;
            const Point3d b{vertices[i + 1].point.x, vertices[i + 1].point.y, 0.0};
            worst = std::max(worst, offCircle(SegmentMiddle(a, b, vertices[i].bulge)));
        }
        EXPECT_LT(worst, c.within) << what;
        EXPECT_TRUE(Point3d(vertices.front().point.x, vertices.front().point.y, 0).isEqualTo(fit.front())) << what;
        EXPECT_TRUE(Point3d(vertices.back().point.x, vertices.back().point.y, 0).isEqualTo(fit.back())) << what;
        TearDown();
    }
}

TEST_F(PreparedDrawingTest, SelectionsWithNothingToConvertCountZeroAndChangeNothing) {
    const ObjectId line = Line({0, 0, 0}, {50, 0, 0});
    const ObjectId circle = Circle({100, 0, 0}, 10);
    const std::size_t entities = ModelSpace().size();
    struct Case {
        const char* command;
        std::vector<std::string> answers;
        const char* line;
    };
    const Case cases[] = {
        {"Convert_Spline_to_Polyline", {"25,0", "110,0", "", "", ""}, "Converted Splines - 0"},
        {"Convert_Ellipse_to_Polyline", {"25,0", "110,0", ""}, "Converted ellipses - 0"},
        {"SmoothingPolyline", {"25,0", "110,0", "", ""},
         "Converted polylines - 0, Points before - 0, Points after - 0"},
        {"Convert_Spline_to_Polyline", {"^C"}, "Converted Splines - 0"},
    };
    for (const Case& c : cases) {
        host::ed::transcript().clear();
        Answer(c.answers);
        Run(c.command);
        EXPECT_EQ(Count(Transcript(), c.line), 1u) << c.command << Transcript();
        EXPECT_EQ(ModelSpace().size(), entities) << c.command;
        EXPECT_FALSE(line.isErased());
        EXPECT_FALSE(circle.isErased());
    }
    // The counts speak the user's language.
    SetLanguageFlag(1);
    host::ed::transcript().clear();
    Answer({"^C"});
    Run("Convert_Ellipse_to_Polyline");
    EXPECT_EQ(Count(Transcript(), "Выберите контуры"), 1u) << Transcript();
    EXPECT_EQ(Count(Transcript(), "Преобразовано эллипсов - 0"), 1u) << Transcript();
}

TEST_F(PreparedDrawingTest, SmoothingAsksForADeviationWithinItsBounds) {
    struct Case {
        std::vector<std::string> answers;
        std::size_t asked;
    };
    const Case cases[] = {
        {{"0", "0.0000001"}, 2}, {{"11", "10"}, 2}, {{"-1", "", "0.5"}, 3}, {{""}, 1}, {{"^C"}, 1},
    };
    for (const Case& c : cases) {
        host::ed::transcript().clear();
        std::vector<std::string> answers = {""};  // nothing selected: the question still comes
        answers.insert(answers.end(), c.answers.begin(), c.answers.end());
        Answer(answers);
        Run("SmoothingPolyline");
        const std::string text = Transcript();
        EXPECT_EQ(Count(text, "Specify the maximum deviation of the profile [0.0500]"), c.asked) << c.answers.front()
                                                                                               << text;
        EXPECT_EQ(Count(text, "Converted polylines - 0"), 1u) << text;
    }
}

TEST_F(PreparedDrawingTest, SmoothingReplacesA3dPolylineByAFlatOneWithNoMoreVertices) {
    const ObjectId polyline3d = Add(std::make_unique<host::db::Polyline3d>(), "0");
    Change<host::db::Polyline3d>(polyline3d, [](host::db::Polyline3d& p) {
        for (const Point3d& v : {Point3d(0, 0, 1), Point3d(10, 0, 2), Point3d(20, 0, 3), Point3d(30, 0, 4),
                                 Point3d(30, 10, 5)}) {
            p.appendVertex(std::make_unique<host::db::PolylineVertex>(v));
        }
    });
    Answer({"15,0", "", "0.5"});
    Run("SmoothingPolyline");
    EXPECT_TRUE(polyline3d.isErased());
    EXPECT_TRUE(Entities("POLYLINE", "0").empty());
    const auto flat = Entities("LWPOLYLINE", "0");
    ASSERT_EQ(flat.size(), 1u);
    const unsigned after = Open<host::db::LwPolyline>(flat[0])->numVerts();
    EXPECT_LE(after, 5u);
    EXPECT_EQ(Count(Transcript(), host::sys::formatC("Converted polylines - 1, Points before - 5, Points after - %u",
                                                      after)),
              1u)
        << Transcript();
}

}  // namespace
