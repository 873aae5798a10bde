// Joining loaded contours, contour boxes, and the transforms that pose contours and parts.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "host/ge/angle.h"
#include "nesting/geometry/contour_box.h"
#include "nesting/geometry/contour_join.h"
#include "nesting/geometry/contour_kernel.h"
#include "nesting/geometry/contour_transforms.h"
#include "nesting/testing/job_builder.h"

using host::ge::Point2d;

namespace {

using host::ge::kPi;
constexpr double kDegree = kPi / 180.0;

Point2d pointOnCircle(Point2d centre, double r, double angle) {
    return {centre.x + r * std::cos(angle), centre.y + r * std::sin(angle)};
}

// An arc from `from` to `to` degrees about `centre`, closed by the line back from its end to its start.
Contour arcAndChord(Point2d centre, double r, double from, double to) {
    ContourElement arc;
    arc.Type = kElementArc;
    arc.Centre = centre;
    arc.Radius = r;
    arc.StartAngle = from * kDegree;
    arc.EndAngle = to * kDegree;
    arc.Start = pointOnCircle(centre, r, arc.StartAngle);
    arc.End = pointOnCircle(centre, r, arc.EndAngle);
    ContourElement chord;
    chord.Type = kElementLine;
    chord.Start = arc.End;
    chord.End = arc.Start;
    SetLineAngles(chord);
    Contour contour;
    contour.Elements = {arc, chord};
    return contour;
}

void expectBox(const BoundingBox& actual, const BoundingBox& expected, const char* label) {
    EXPECT_NEAR(actual.minX, expected.minX, 1e-12) << label;
    EXPECT_NEAR(actual.minY, expected.minY, 1e-12) << label;
    EXPECT_NEAR(actual.maxX, expected.maxX, 1e-12) << label;
    EXPECT_NEAR(actual.maxY, expected.maxY, 1e-12) << label;
}

// Every element starts exactly where the one before it ends (in the contour's direction of travel).
void expectJoinedExactly(const Contour& contour) {
    const std::size_t n = contour.Elements.size();
    for (std::size_t k = 0; k < n; ++k) {
        EXPECT_EQ(LogicalEnd(contour.Elements[k]), LogicalStart(contour.Elements[(k + 1) % n])) << "joint " << k;
    }
}

TEST(ComputeContourBox, ArcsWidenTheBoxAtTheAxisPointsTheyPass) {
    const double c10 = std::cos(10 * kDegree), s10 = std::sin(10 * kDegree);
    struct Case {
        const char* label;
        Contour contour;
        BoundingBox expected;
    };
    const Case cases[] = {
        {"arc from 350 to 10 degrees passes angle 0", arcAndChord({0, 0}, 1, 350, 10), {c10, -s10, 1, s10}},
        {"arc from 80 to 100 degrees passes pi/2", arcAndChord({5, 5}, 2, 80, 100),
         {5 - 2 * s10, 5 + 2 * c10, 5 + 2 * s10, 7}},
        {"arc from 10 to 350 degrees passes pi/2, pi, 3pi/2", arcAndChord({0, 0}, 1, 10, 350), {-1, -1, c10, 1}},
        {"slot with half-circle ends", MakeArcSlot(10, 4), {-2, -2, 12, 2}},
        {"circle", MakeCircle(3, {1, 2}), {-2, -1, 4, 5}},
        {"rectangle", MakeRectangle(4, 3, {1, 1}), {1, 1, 5, 4}},
        {"no elements", Contour{}, BoundingBox::Empty()},
    };
    for (const Case& c : cases) {
        BoundingBox box{};
        ComputeContourBox(c.contour, box);
        expectBox(box, c.expected, c.label);
    }
}

TEST(JoinContourElements, ClosesTheGapAtTheLastJoint) {
    std::vector<Contour> contours{MakeRectangle(10, 10)};
    contours[0].Elements.back().End = {0.0, 1e-9};  // the last line ends just above the first line's start
    EXPECT_EQ(JoinContourElements(contours, 0), 0);
    EXPECT_EQ(contours[0].Elements.front().Start, Point2d(0.0, 1e-9));
    expectJoinedExactly(contours[0]);
    const ContourElement& first = contours[0].Elements.front();
    EXPECT_DOUBLE_EQ(first.StartAngle, GetDirectionAngle(first.Start, first.End));
}

TEST(JoinContourElements, RefitsArcsAndMovesLineEnds) {
    // A slot (line, arc, line, arc) and a clockwise slot (reversed arcs), each with small gaps at every joint.
    for (const Contour& shape : {MakeArcSlot(10, 4), ReverseContour(MakeArcSlot(10, 4))}) {
        std::vector<Contour> contours{shape};
        for (ContourElement& e : contours[0].Elements) {
            e.Start.x += 3e-7;
            e.End.y -= 2e-7;
        }
        JoinContourElements(contours, 0);
        expectJoinedExactly(contours[0]);
        // An arc after a line keeps its ends; the lines move onto them. Its radius is the mean of its ends'.
        for (const ContourElement& e : contours[0].Elements) {
            if (e.Type != kElementArc) continue;
            EXPECT_DOUBLE_EQ(e.Radius, (GetDistance(e.Centre, e.Start) + GetDistance(e.Centre, e.End)) / 2.0);
            EXPECT_NEAR(e.Radius, 2.0, 1e-6);
        }
    }
}

TEST(JoinContourElements, RefitsTheCentreOfAnArcFollowingAnArc) {
    // Two half circles of radius 1 about the origin; the second one's start is 1e-6 off the first one's end.
    std::vector<Contour> contours{MakeChain({{{1, 0}, 1.0}, {{-1, 0}, 1.0}})};
    contours[0].Elements[1].Start = {-1.0, 1e-6};
    JoinContourElements(contours, 0);
    expectJoinedExactly(contours[0]);
    for (const ContourElement& arc : contours[0].Elements) {
        EXPECT_NEAR(GetDistance(arc.Centre, arc.Start), arc.Radius, 1e-12);
        EXPECT_NEAR(GetDistance(arc.Centre, arc.End), arc.Radius, 1e-12);
        EXPECT_NEAR(arc.Centre.x, 0.0, 1e-6);
        EXPECT_NEAR(arc.Centre.y, 0.0, 1e-6);
    }
}

TEST(JoinContourElements, LeavesCirclesAndBadIndexesAlone) {
    std::vector<Contour> contours{MakeCircle(2, {1, 1})};
    const Contour before = contours[0];
    JoinContourElements(contours, 0);
    EXPECT_EQ(contours[0].Elements[0].Start, before.Elements[0].Start);
    EXPECT_EQ(JoinContourElements(contours, 5), 0);
    EXPECT_EQ(JoinContourElements(contours, -1), 0);
}

TEST(RotatePoint, QuarterTurnsAreExact) {
    struct Case {
        double angle;
        Point2d expected;
    };
    const Case cases[] = {
        {0.0, {11, 22}},
        {kPi / 2, {8, 21}},
        {kPi, {9, 18}},
        {270 * kDegree, {12, 19}},
    };
    for (const Case& c : cases) {
        Point2d out;
        RotatePoint({1, 2}, out, {10, 20}, c.angle);
        EXPECT_EQ(out, c.expected) << c.angle;
    }
    Point2d out;
    RotatePoint({1, 2}, out, {0, 0}, kPi / 2);
    EXPECT_EQ(out, Point2d(-2, 1));
    RotatePoint({1, 2}, out, {0, 0}, 0.3);
    EXPECT_NEAR(out.x, std::cos(0.3) - 2 * std::sin(0.3), 1e-12);
    EXPECT_NEAR(out.y, std::sin(0.3) + 2 * std::cos(0.3), 1e-12);
}

TEST(TransformContour, TurnsAnglesWithTheContourAndRepeatsExactly) {
    const Contour src = MakeArcSlot(10, 4);
    Contour dst = src;
    TransformContour(src, dst, {100, 50}, 30 * kDegree);
    const std::vector<ContourElement> first = dst.Elements;
    TransformContour(src, dst, {100, 50}, 30 * kDegree);
    for (std::size_t k = 0; k < first.size(); ++k) {
        EXPECT_EQ(dst.Elements[k].StartAngle, first[k].StartAngle);
        EXPECT_EQ(dst.Elements[k].EndAngle, first[k].EndAngle);
        EXPECT_EQ(dst.Elements[k].Start, first[k].Start);
    }
    for (const ContourElement& e : dst.Elements) {
        EXPECT_GE(e.StartAngle, 0.0);
        EXPECT_LT(e.StartAngle, 2 * kPi);
        const double along = e.Type == kElementLine ? GetDirectionAngle(e.Start, e.End)
                                                    : GetDirectionAngle(e.Centre, e.Start);
        EXPECT_NEAR(e.StartAngle, along, 1e-12);
    }
    // The slot's box turned by 30 degrees about the origin, then moved.
    BoundingBox expected;
    ComputeContourBox(dst, expected);
    EXPECT_EQ(dst.Box, expected);
    EXPECT_NEAR(dst.Box.maxX, 100 + 10 * std::cos(30 * kDegree) + 2, 1e-9);
}

TEST(TransformContour, AtAngleZeroMovesTheBoxAndKeepsTheAngles) {
    const Contour src = MakeCircle(3, {1, 1});
    Contour dst = src;
    TransformContour(src, dst, {10, 0}, 0.0);
    EXPECT_EQ(dst.Box, (BoundingBox{8, -2, 14, 4}));
    EXPECT_EQ(dst.Elements[0].Start, Point2d(14, 1));
    const Contour square = MakeRectangle(2, 2);
    Contour moved = square;
    TransformContour(square, moved, {5, 5}, 0.0);
    EXPECT_EQ(moved.Elements[1].StartAngle, square.Elements[1].StartAngle);
    EXPECT_EQ(moved.Elements[1].End, Point2d(7, 7));
}

TEST(PartPose, PosesAllListsOrOnlyTheOuterOnes) {
    PartType type = MakeRectangleType(kKindPart, 20, 10);
    AddHole(type, MakeCircle(2));
    PartInstance instance;
    instance.Type = &type;

    ApplyPartPose(instance, 0, {100, 50}, kPi / 2);
    ASSERT_TRUE(instance.TrialPose.has_value());
    const PartPose& pose = *instance.TrialPose;
    EXPECT_EQ(pose.Box, (BoundingBox{95, 40, 105, 60}));
    ASSERT_EQ(pose.Holes.size(), 1u);
    EXPECT_EQ(pose.Holes[0].Elements[0].Centre, Point2d(100, 50));
    EXPECT_EQ(pose.X, 100);
    EXPECT_EQ(pose.Angle, kPi / 2);

    ApplyPartPose(instance, 0, {0, 0}, 2 * kPi + 0.5);
    EXPECT_DOUBLE_EQ(instance.TrialPose->Angle, 0.5);
    ApplyOuterPose(instance, 0, {0, 0}, 2 * kPi + 0.5);
    EXPECT_EQ(instance.TrialPose->Angle, 2 * kPi + 0.5);

    // Moving the part moves its outer contours and box, not its holes.
    ApplyPartPose(instance, 0, {0, 0}, 0.0);
    TranslatePart(instance, 3, 4);
    EXPECT_EQ(instance.TrialPose->Box, (BoundingBox{-7, -1, 13, 9}));
    EXPECT_EQ(instance.TrialPose->Outers[0].Box, (BoundingBox{-7, -1, 13, 9}));
    EXPECT_EQ(instance.TrialPose->Outers[0].Elements[0].Start, Point2d(-7, -1));
    EXPECT_EQ(instance.TrialPose->Holes[0].Elements[0].Centre, Point2d(0, 0));
    EXPECT_EQ(instance.TrialPose->X, 3);
    EXPECT_EQ(instance.TrialPose->Y, 4);
}

TEST(PartPose, ATypeWithoutOuterContoursLeavesTheEmptyBox) {
    PartType type;
    PartInstance instance;
    instance.Type = &type;
    ApplyPartPose(instance, 1, {5, 5}, 0.0);  // contour set 1 exists but is empty
    EXPECT_EQ(instance.TrialPose->Box, BoundingBox::Empty());
}

}  // namespace
