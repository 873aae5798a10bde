// Offsets of circles and of chains with arcs, holes and sharp corners, checked against an independent measure:
// every point of every result lies at the offset distance from the source contour.
#include "nesting/geometry/contour_offset.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "host/ed/transcript.h"
#include "host/ge/angle.h"
#include "nesting/geometry/contour_kernel.h"
#include "nesting/geometry/offset_steps.h"
#include "nesting/testing/job_builder.h"

using host::ge::Point2d;

namespace {

using host::ge::kPi;
constexpr int kMillimetres = 0;
// Samples per element of a result, and how far from the distance a sample may lie.
constexpr int kSamples = 64;
constexpr double kDistanceTolerance = 1e-6;

// The counter-clockwise sweep of an arc element from StartAngle to EndAngle; equal angles are a whole turn.
double sweepOf(const ContourElement& e) {
    double sweep = e.EndAngle - e.StartAngle;
    while (sweep <= 0.0) sweep += 2 * kPi;
    return sweep;
}

bool angleOnArc(const ContourElement& arc, double a) {
    double from = a - arc.StartAngle;
    while (from < 0.0) from += 2 * kPi;
    while (from >= 2 * kPi) from -= 2 * kPi;
    return from <= sweepOf(arc);
}

// Distance from q to one element, computed from its geometry alone.
double distanceToElement(const Point2d& q, const ContourElement& e) {
    if (e.Type == kElementLine) {
        const double dx = e.End.x - e.Start.x, dy = e.End.y - e.Start.y;
        const double length2 = dx * dx + dy * dy;
        double t = length2 > 0.0 ? ((q.x - e.Start.x) * dx + (q.y - e.Start.y) * dy) / length2 : 0.0;
        t = std::clamp(t, 0.0, 1.0);
        return std::hypot(q.x - (e.Start.x + t * dx), q.y - (e.Start.y + t * dy));
    }
    const double fromCentre = std::hypot(q.x - e.Centre.x, q.y - e.Centre.y);
    if (e.Type == kElementCircle || angleOnArc(e, std::atan2(q.y - e.Centre.y, q.x - e.Centre.x))) {
        return std::fabs(fromCentre - e.Radius);
    }
    return std::min(std::hypot(q.x - e.Start.x, q.y - e.Start.y), std::hypot(q.x - e.End.x, q.y - e.End.y));
}

double distanceToContour(const Point2d& q, const Contour& c) {
    double best = std::numeric_limits<double>::infinity();
    for (const ContourElement& e : c.Elements) best = std::min(best, distanceToElement(q, e));
    return best;
}

// Points along the element in the contour's direction of travel, both ends included.
std::vector<Point2d> samplesOf(const ContourElement& e) {
    std::vector<Point2d> points;
    for (int i = 0; i <= kSamples; ++i) {
        const double t = static_cast<double>(i) / kSamples;
        if (e.Type == kElementLine) {
            points.push_back({e.Start.x + t * (e.End.x - e.Start.x), e.Start.y + t * (e.End.y - e.Start.y)});
            continue;
        }
        const double sweep = e.Type == kElementCircle ? 2 * kPi : sweepOf(e);
        const double a = e.Type == kElementArc && RunsBackward(e) ? e.EndAngle - t * sweep : e.StartAngle + t * sweep;
        points.push_back({e.Centre.x + e.Radius * std::cos(a), e.Centre.y + e.Radius * std::sin(a)});
    }
    return points;
}

// The largest deviation of any sampled point of the results from the distance to the source.
double worstDeviation(const std::vector<Contour>& results, const Contour& source, double distance) {
    double worst = 0.0;
    for (const Contour& result : results) {
        for (const ContourElement& e : result.Elements) {
            for (const Point2d& p : samplesOf(e)) {
                worst = std::max(worst, std::fabs(distanceToContour(p, source) - distance));
            }
        }
    }
    return worst;
}

// The signed area enclosed by the sampled outline (positive counter-clockwise).
double sampledArea(const Contour& c) {
    double twice = 0.0;
    for (const ContourElement& e : c.Elements) {
        const std::vector<Point2d> points = samplesOf(e);
        for (std::size_t i = 0; i + 1 < points.size(); ++i) {
            twice += points[i].x * points[i + 1].y - points[i + 1].x * points[i].y;
        }
    }
    return twice / 2.0;
}

// Each element of each result starts where the one before it ends.
void expectClosed(const std::vector<Contour>& results, const std::string& label) {
    for (const Contour& result : results) {
        if (result.GeometryKind == kGeometryCircle) continue;
        const std::size_t n = result.Elements.size();
        for (std::size_t k = 0; k < n; ++k) {
            const Point2d end = LogicalEnd(result.Elements[k]);
            const Point2d next = LogicalStart(result.Elements[(k + 1) % n]);
            EXPECT_LT(GetDistance(end, next), 1e-6) << label << ": joint " << k;
        }
    }
}

int countOfType(const Contour& c, std::int8_t type) {
    return static_cast<int>(std::count_if(c.Elements.begin(), c.Elements.end(),
                                          [type](const ContourElement& e) { return e.Type == type; }));
}

Contour lShape() { return MakePolygon({{0, 0}, {20, 0}, {20, 8}, {8, 8}, {8, 20}, {0, 20}}); }

TEST(OffsetContour, Circles) {
    struct Case {
        const char* label;
        int mode;
        double d;
        int count;
        double radius;
        std::uint8_t contourClass;
    };
    const Case cases[] = {
        {"outward by 2", kOffsetOutward, 2, 1, 7, kClassOuter},
        {"inward by 5 leaves radius 0", kOffsetInward, 5, 1, 0, kClassInner},
        {"inward by 6 leaves nothing", kOffsetInward, 6, 0, 0, 0},
        {"outward by -2 goes inward", kOffsetOutward, -2, 1, 3, kClassOuter},
        {"inward by -2 goes outward", kOffsetInward, -2, 1, 7, kClassInner},
    };
    for (const Case& c : cases) {
        OffsetWorkspace state;
        std::vector<Contour> out;
        const Contour circle = MakeCircle(5, {3, 4});
        ASSERT_EQ(OffsetContour(state, circle, c.mode, c.d, out, kMillimetres), c.count) << c.label;
        EXPECT_EQ(state.OffsetContourCount, c.count) << c.label;
        if (c.count == 0) {
            EXPECT_TRUE(out.empty()) << c.label;
            continue;
        }
        ASSERT_EQ(out.size(), 1u);
        const ContourElement& e = out[0].Elements.at(0);
        EXPECT_EQ(e.Radius, c.radius) << c.label;
        EXPECT_EQ(e.Centre, Point2d(3, 4)) << c.label;
        EXPECT_EQ(e.Start, Point2d(3 + c.radius, 4)) << c.label;
        EXPECT_EQ(out[0].ContourClass, c.contourClass) << c.label;
        EXPECT_EQ(out[0].Box, (BoundingBox{3 - c.radius, 4 - c.radius, 3 + c.radius, 4 + c.radius})) << c.label;
        EXPECT_DOUBLE_EQ(out[0].Area, kPi * c.radius * c.radius) << c.label;
    }
}

TEST(OffsetContour, SquareOutwardGetsRoundJointsAboutTheCorners) {
    OffsetWorkspace state;
    std::vector<Contour> out;
    const Contour square = MakeRectangle(10, 10);
    ASSERT_EQ(OffsetContour(state, square, kOffsetOutward, 1, out, kMillimetres), 1);
    const Contour& result = out[0];
    EXPECT_EQ(result.ContourClass, kClassOuter);
    EXPECT_EQ(countOfType(result, kElementLine), 4);
    EXPECT_EQ(countOfType(result, kElementArc), 4);
    for (const ContourElement& e : result.Elements) {
        if (e.Type == kElementLine) {
            EXPECT_NEAR(GetDistance(e.Start, e.End), 10.0, 1e-12);
        } else {
            EXPECT_DOUBLE_EQ(e.Radius, 1.0);
            EXPECT_NEAR(sweepOf(e), kPi / 2, 1e-12);
            const bool atCorner = (e.Centre.x == 0 || e.Centre.x == 10) && (e.Centre.y == 0 || e.Centre.y == 10);
            EXPECT_TRUE(atCorner) << e.Centre.x << "," << e.Centre.y;
        }
    }
    EXPECT_NEAR(sampledArea(result), 100 + 40 + kPi, 1e-2);
    EXPECT_NEAR(result.Box.minX, -1, 1e-12);
    EXPECT_NEAR(result.Box.maxY, 11, 1e-12);
    EXPECT_LT(worstDeviation(out, square, 1), kDistanceTolerance);
    expectClosed(out, "square outward");
}

TEST(OffsetContour, SquareInwardKeepsSharpCorners) {
    OffsetWorkspace state;
    std::vector<Contour> out;
    const Contour square = MakeRectangle(10, 10);
    ASSERT_EQ(OffsetContour(state, square, kOffsetInward, 1, out, kMillimetres), 1);
    const Contour& result = out[0];
    EXPECT_EQ(result.ContourClass, kClassInner);
    ASSERT_EQ(result.Elements.size(), 4u);
    for (const ContourElement& e : result.Elements) {
        EXPECT_EQ(e.Type, kElementLine);
        EXPECT_NEAR(GetDistance(e.Start, e.End), 8.0, 1e-9);
    }
    EXPECT_NEAR(std::fabs(sampledArea(result)), 64, 1e-6);
    EXPECT_EQ(result.Box, (BoundingBox{1, 1, 9, 9}));
    EXPECT_LT(worstDeviation(out, square, 1), kDistanceTolerance);
    expectClosed(out, "square inward");
}

TEST(OffsetContour, NothingIsLeftWhenTheOffsetCloses) {
    OffsetWorkspace state;
    std::vector<Contour> out{MakeCircle(1)};
    EXPECT_EQ(OffsetContour(state, MakeRectangle(10, 1), kOffsetInward, 0.6, out, kMillimetres), 0);
    EXPECT_EQ(state.OffsetContourCount, 0);
    ASSERT_EQ(out.size(), 1u);  // not written
    EXPECT_EQ(out[0].GeometryKind, kGeometryCircle);
    EXPECT_EQ(OffsetContour(state, MakeArcSlot(10, 4), kOffsetInward, 2.5, out, kMillimetres), 0);
    EXPECT_EQ(OffsetContour(state, Contour{}, kOffsetOutward, 1, out, kMillimetres), 0);
}

TEST(OffsetContour, KeepsTheDistanceOnContoursWithArcsAndCorners) {
    struct Case {
        const char* label;
        Contour source;
        int mode;
        double d;
        int count;
        double area;  // expected |area| of the result, or 0 when not checked
    };
    const double slotArea = 10 * 4 + kPi * 4, slotPerimeter = 20 + 4 * kPi;
    const Case cases[] = {
        {"slot outward", MakeArcSlot(10, 4), kOffsetOutward, 1, 1, slotArea + slotPerimeter + kPi},
        {"slot inward", MakeArcSlot(10, 4), kOffsetInward, 1, 1, 10 * 2 + kPi},
        {"slot inward nearly to its axis", MakeArcSlot(10, 4), kOffsetInward, 1.9, 1, 10 * 0.2 + kPi * 0.01},
        {"clockwise slot outward", ReverseContour(MakeArcSlot(10, 4)), kOffsetOutward, 1, 1,
         slotArea + slotPerimeter + kPi},
        {"clockwise square inward", ReverseContour(MakeRectangle(10, 10)), kOffsetInward, 2, 1, 36},
        {"L outward (concave corner)", lShape(), kOffsetOutward, 1, 1, 0},
        {"L inward (concave corner)", lShape(), kOffsetInward, 1, 1, 0},
        {"L outward by more than its notch", lShape(), kOffsetOutward, 7, 1, 0},
        {"sharp triangle outward", MakePolygon({{0, 0}, {20, 0}, {0, 5}}), kOffsetOutward, 1, 1, 0},
        {"sharp triangle inward", MakePolygon({{0, 0}, {20, 0}, {0, 5}}), kOffsetInward, 1, 1, 0},
        {"rounded corner outward", MakeChain({{{0, 0}, 0}, {{10, 0}, 0}, {{10, 8}, std::tan(kPi / 8)},
                                              {{8, 10}, 0}, {{0, 10}, 0}}),
         kOffsetOutward, 1.5, 1, 0},
        {"rounded corner inward past its radius", MakeChain({{{0, 0}, 0}, {{10, 0}, 0}, {{10, 8}, std::tan(kPi / 8)},
                                                             {{8, 10}, 0}, {{0, 10}, 0}}),
         kOffsetInward, 3, 1, 0},
        {"concave arc notch outward", MakeChain({{{0, 0}, 0}, {{10, 0}, 0}, {{10, 10}, 0}, {{7, 10}, -1.0},
                                                 {{3, 10}, 0}, {{0, 10}, 0}}),
         kOffsetOutward, 1, 1, 0},
        {"concave arc notch inward", MakeChain({{{0, 0}, 0}, {{10, 0}, 0}, {{10, 10}, 0}, {{7, 10}, -1.0},
                                                {{3, 10}, 0}, {{0, 10}, 0}}),
         kOffsetInward, 1, 1, 0},
    };
    for (const Case& c : cases) {
        OffsetWorkspace state;
        std::vector<Contour> out;
        ASSERT_EQ(OffsetContour(state, c.source, c.mode, c.d, out, kMillimetres), c.count) << c.label;
        EXPECT_LT(worstDeviation(out, c.source, c.d), kDistanceTolerance) << c.label;
        expectClosed(out, c.label);
        if (c.area > 0) {
            EXPECT_NEAR(std::fabs(sampledArea(out[0])), c.area, 2e-2) << c.label;
        }
        // The result lies on the side asked for: it encloses more than the source outward, less inward.
        const double sourceArea = std::fabs(sampledArea(c.source));
        const double resultArea = std::fabs(sampledArea(out[0]));
        if (c.mode == kOffsetOutward) {
            EXPECT_GT(resultArea, sourceArea) << c.label;
        } else {
            EXPECT_LT(resultArea, sourceArea) << c.label;
        }
    }
}

TEST(OffsetContour, APartWithHolesGrowsOutwardAndItsHolesShrink) {
    PartType part = MakeType(kKindPart, MakeRectangle(30, 20));
    AddHole(part, MakeCircle(3, {8, 10}));
    AddHole(part, MakeRectangle(6, 6, {18, 7}));
    const double gap = 1;
    std::vector<Contour> out;
    OffsetWorkspace state;
    ASSERT_EQ(OffsetContour(state, part.Outers[0][0], part.Outers[0][0].ContourClass, gap, out, kMillimetres), 1);
    EXPECT_EQ(out[0].ContourClass, kClassOuter);
    EXPECT_EQ(out[0].Box, (BoundingBox{-1, -1, 31, 21}));
    EXPECT_LT(worstDeviation(out, part.Outers[0][0], gap), kDistanceTolerance);
    for (const Contour& hole : part.Holes[0]) {
        ASSERT_EQ(OffsetContour(state, hole, hole.ContourClass, gap, out, kMillimetres), 1);
        EXPECT_EQ(out[0].ContourClass, kClassInner);
        EXPECT_LT(std::fabs(sampledArea(out[0])), std::fabs(sampledArea(hole)));
        EXPECT_LT(worstDeviation(out, hole, gap), kDistanceTolerance);
        EXPECT_EQ(out[0].Colour, hole.Colour);
        EXPECT_EQ(out[0].Owner, hole.Owner);
    }
    EXPECT_EQ(out[0].Box, (BoundingBox{19, 8, 23, 12}));  // the square hole, 4 x 4
}

TEST(OffsetContour, NearlyStraightCornersGetNoJoint) {
    // Outward, a corner that turns by 1e-4 radians leaves a gap below 1e-3 that a moved line end closes; a
    // corner that turns the other way makes the neighbours cross close to their ends, where they are cut.
    struct Case {
        const char* label;
        Contour source;
    };
    const Case cases[] = {
        {"convex", MakePolygon({{0, 0}, {10, 0}, {20, 0.001}, {20, 10}, {0, 10}})},
        {"concave", MakePolygon({{0, 0}, {10, 0}, {20, -0.05}, {20, 10}, {0, 10}})},
    };
    for (const Case& c : cases) {
        OffsetWorkspace state;
        std::vector<Contour> out;
        ASSERT_EQ(OffsetContour(state, c.source, kOffsetOutward, 1, out, kMillimetres), 1) << c.label;
        EXPECT_EQ(countOfType(out[0], kElementLine), 5) << c.label;
        EXPECT_EQ(countOfType(out[0], kElementArc), 4) << c.label;
        EXPECT_LT(worstDeviation(out, c.source, 1), 1e-4) << c.label;
        expectClosed(out, c.label);
    }
}

TEST(JoinOffsetElements, SmallGapsMoveTheLineEndAndLargerOnesGetARoundJoint) {
    // A shifted line ending at (10, 0) and a shifted arc starting `gap` to its right, tangent to the line's
    // carrier there (so the two do not cross); the source runs one unit above.
    for (const double gap : {0.0005, 0.002}) {
        ContourElement line;
        line.Type = kElementLine;
        line.Start = {0, 0};
        line.End = {10, 0};
        SetLineAngles(line);
        ContourElement arc;
        arc.Type = kElementArc;
        arc.Centre = {10 + gap, 5};
        arc.Radius = 5;
        arc.StartAngle = 1.5 * kPi;
        arc.EndAngle = 0.5 * kPi;
        PolarPoint(arc.Centre, arc.StartAngle, 5, arc.Start);
        PolarPoint(arc.Centre, arc.EndAngle, 5, arc.End);
        ContourElement placeholder = line;
        placeholder.Type = kElementJointPlaceholder;
        Contour raw;
        raw.Elements = {line, placeholder, arc, placeholder};
        ContourElement sourceLine = line;
        sourceLine.Start = {0, 1};
        sourceLine.End = {10, 1};
        ContourElement sourceArc = arc;
        sourceArc.Radius = 4;
        Contour source;
        source.Elements = {sourceLine, sourceArc};
        OffsetWorkspace state;
        JoinOffsetElements(state, raw, source, 1);
        if (gap < 0.001) {
            EXPECT_EQ(raw.Elements[0].End, arc.Start) << gap;
            EXPECT_EQ(raw.Elements[1].Type, kElementJointPlaceholder) << gap;
        } else {
            EXPECT_EQ(raw.Elements[0].End, Point2d(10, 0)) << gap;
            const ContourElement& joint = raw.Elements[1];
            EXPECT_EQ(joint.Type, kElementArc) << gap;
            EXPECT_EQ(joint.Radius, 1) << gap;
            EXPECT_EQ(joint.Centre, Point2d(10, 1)) << gap;
            EXPECT_EQ(LogicalStart(joint), Point2d(10, 0)) << gap;
            EXPECT_EQ(LogicalEnd(joint), arc.Start) << gap;
        }
    }
}

TEST(OffsetContour, TheResultLimitHoldsWithAMessage) {
    // A row of 4 x 4 beads joined by necks 0.5 wide: offset inward by 0.4, the necks close and every bead
    // becomes a contour of its own, more than the table of results can hold.
    constexpr int kBeads = kOffsetContourCapacity + 3;
    std::vector<Point2d> bottom, top;
    for (int i = 0; i < kBeads; ++i) {
        const double x = i * 5.0;
        bottom.insert(bottom.end(), {{x, 0}, {x + 4, 0}});
        if (i > 0) top.insert(top.end(), {{x - 1, 2.25}, {x, 2.25}});
        top.insert(top.end(), {{x, 4}, {x + 4, 4}});
        if (i + 1 < kBeads) bottom.insert(bottom.end(), {{x + 4, 1.75}, {x + 5, 1.75}});
    }
    std::vector<Point2d> points = bottom;
    points.insert(points.end(), top.rbegin(), top.rend());
    const Contour beads = MakePolygon(points);
    host::ed::transcript().clear();
    OffsetWorkspace state;
    std::vector<Contour> out;
    EXPECT_EQ(OffsetContour(state, beads, kOffsetInward, 0.4, out, kMillimetres), kOffsetContourCapacity);
    EXPECT_EQ(out.size(), static_cast<std::size_t>(kOffsetContourCapacity));
    EXPECT_NE(host::ed::transcript().text().find("more than 200 contours"), std::string::npos)
        << host::ed::transcript().text();
    EXPECT_EQ(state.OffsetContourCount, kOffsetContourCapacity);
    for (const Contour& bead : out) {
        // Where a neck was, the round joints about its corners bulge a little into it.
        EXPECT_NEAR(bead.Box.Height(), 3.2, 1e-9);
        EXPECT_GE(bead.Box.Width(), 3.2 - 1e-9);
        EXPECT_LT(bead.Box.Width(), 3.4);
    }
    // The distance check of a few beads (all of them would take long under the sanitizers).
    EXPECT_LT(worstDeviation({out.front(), out[1], out.back()}, beads, 0.4), kDistanceTolerance);
}

}  // namespace

namespace {

TEST(BuildOffsetContours, ATraceThatNeverReachesAnEndIsDropped) {
    // Two crossing records that both only start a valid piece: the first one's end candidate is the second, at
    // which no stretch can end, so the trace would walk round the raw offset for ever. It is dropped once it holds
    // more elements than a result can, and the offset ends without a result.
    const Contour raw = MakeRectangle(10, 10);
    const Contour source = MakeRectangle(2, 2, {100, 100});
    OffsetWorkspace state;
    state.OffsetPieceCount = 2;
    state.OffsetPieces[0] = OffsetCrossing{0, 0, {5, 0}, 5, 0, 1, 1};
    state.OffsetPieces[1] = OffsetCrossing{2, 0, {5, 10}, 5, 0, 1, 1};
    EXPECT_EQ(BuildOffsetContours(state, raw, source, source, 1), 0);
    EXPECT_EQ(state.OffsetContourCount, 0);
    EXPECT_EQ(state.OffsetPieces[0].Available, 0);
    EXPECT_EQ(state.OffsetPieces[1].Available, 0);
}

TEST(BuildOffsetContours, ATraceThatMeetsTheSourceIsDropped) {
    // The one valid stretch runs from (5, 0) on element 0 round to (0, 5) on element 3; its second piece crosses
    // the source, so it is dropped. With no start left and no result made, the whole raw offset would be kept,
    // but its first point lies too close to the source: no result.
    const Contour raw = MakeRectangle(10, 10);
    const Contour source = MakeRectangle(11, 1, {-0.5, -0.5});
    OffsetWorkspace state;
    state.OffsetPieceCount = 2;
    state.OffsetPieces[0] = OffsetCrossing{0, 0, {5, 0}, 5, 0, 1, 1};
    state.OffsetPieces[1] = OffsetCrossing{3, 1, {0, 5}, 5, 1, 0, 1};
    EXPECT_EQ(BuildOffsetContours(state, raw, source, source, 1), 0);
    EXPECT_EQ(state.OffsetPieces[0].Available, 0);
    // Far from the source the same raw offset, left without a start, is kept whole.
    const Contour farSource = MakeRectangle(2, 2, {100, 100});
    EXPECT_EQ(BuildOffsetContours(state, raw, farSource, farSource, 1), 1);
    EXPECT_EQ(state.OffsetContours[0].Elements.size(), 4u);
}

}  // namespace

namespace {

// A star of `points` tips between radii `inner` and `outer`, counter-clockwise; with `bulge` not 0 every edge
// from a tip inward is an arc of that bulge.
Contour star(int points, double inner, double outer, double bulge) {
    std::vector<ChainVertex> vertices;
    for (int i = 0; i < 2 * points; ++i) {
        const double r = i % 2 == 0 ? outer : inner;
        const double a = kPi * i / points + 0.1;
        vertices.push_back({{r * std::cos(a), r * std::sin(a)}, i % 2 == 0 ? bulge : 0.0});
    }
    return MakeChain(vertices);
}

TEST(OffsetContour, StarsKeepTheDistanceOnBothSides) {
    // Sharp tips, deep notches, and arcs that bulge out or in; outward every star gives one outer contour (and
    // the pockets its closing notches leave), inward the tips may come off; whatever is left keeps the distance.
    struct Case {
        const char* label;
        Contour source;
        double d;
    };
    const Case cases[] = {
        {"five tips", star(5, 4, 10, 0), 0.5},
        {"five tips, wide offset", star(5, 4, 10, 0), 3},
        {"seven tips, arcs bulging out", star(7, 5, 9, 0.3), 0.7},
        {"seven tips, arcs bulging in", star(7, 5, 9, -0.3), 0.7},
        {"twelve thin tips", star(12, 8, 10, 0), 0.25},
    };
    for (const Case& c : cases) {
        for (const int mode : {kOffsetOutward, kOffsetInward}) {
            OffsetWorkspace state;
            std::vector<Contour> out;
            const int n = OffsetContour(state, c.source, mode, c.d, out, kMillimetres);
            const std::string label = std::string(c.label) + (mode == kOffsetOutward ? " outward" : " inward");
            if (mode == kOffsetOutward) {
                // One outer contour; a notch that closes over may leave holes inside it.
                ASSERT_GE(n, 1) << label;
                const auto outers = std::count_if(out.begin(), out.end(),
                                                  [](const Contour& r) { return r.ContourClass == kClassOuter; });
                EXPECT_EQ(outers, 1) << label;
                for (const Contour& r : out) {
                    if (r.ContourClass != kClassOuter) {
                        EXPECT_LT(std::fabs(sampledArea(r)), std::fabs(sampledArea(c.source))) << label;
                    }
                }
            } else {
                EXPECT_GE(n, 1) << label;
            }
            EXPECT_LT(worstDeviation(out, c.source, c.d), kDistanceTolerance) << label;
            expectClosed(out, label);
        }
    }
}

}  // namespace
