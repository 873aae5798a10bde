// Intersections of lines, circles and arcs in the plane, with tangency and the tolerance of the caller.
//
// Every function takes the tolerance as a length (tol.equalPoint) and turns it into what each test needs: a
// parameter tolerance of tol / length on a segment, an angle of tol / radius on an arc, a band of +-tol about a
// radius or a centre distance. A point within the tolerance of a bounded operand's end counts as on it (ends are
// included). Nothing here answers NaN: near-tangent cases are decided by the band tests before any square root
// or inverse cosine, and the cosine is clamped anyway.
#pragma once

#include <array>

#include "host/ge/curve.h"

namespace host::ge {

enum class IntersectKind {
    None,      // no common point
    Points,    // `count` (1 or 2) points where the operands cross or meet (an end on the other operand counts)
    Tangent,   // one point where the operands touch without crossing (count 1)
    Parallel,  // two lines that never meet: parallel apart, or collinear with no common point (count 0)
    Overlap,   // the operands share a piece (collinear segments, arcs of one circle): no single points (count 0)
};

struct Intersections2d {
    IntersectKind kind = IntersectKind::None;
    int count = 0;  // points valid in `points`
    std::array<Point2d, 2> points{};
    // For two lines that overlap: the common piece, running in the first operand's direction. Two infinite lines
    // answer the first operand's segment.
    LineSeg2d overlap;

    bool empty() const { return count == 0; }
};

// Whether a line operand is the segment between its points or the infinite line through them.
enum class LineExtent { Segment, Infinite };

// Line with line: at most one point (Points, count 1). Segments that meet end to end, or at an end on the
// other's inside, answer that point (snapped onto the segments). Lines whose directions
// differ by less than tol.equalVector (as the sine of the angle) are parallel: Parallel when apart, or when
// collinear with no common point; Overlap when collinear and sharing a piece longer than the tolerance;
// Points (count 1) when collinear and touching at one end only. A zero-length segment is taken as a point: it
// answers Points when it lies on the other operand, None otherwise (also for two zero-length segments that
// coincide: Points).
Intersections2d intersectLines(const LineSeg2d& a, const LineSeg2d& b, LineExtent aExtent = LineExtent::Segment,
                               LineExtent bExtent = LineExtent::Segment, const Tolerance& tol = globalTolerance());

// Line with circle. Points come in the line's direction of travel (from its start towards its end). A line
// whose distance from the centre is the radius within the tolerance touches: Tangent, the foot of the
// perpendicular. A radius that is not positive is refused: None.
Intersections2d intersectLineCircle(const LineSeg2d& line, const Point2d& center, double radius,
                                    LineExtent extent = LineExtent::Segment,
                                    const Tolerance& tol = globalTolerance());

// Line with arc: the line-circle points that lie on the arc, in the line's direction. A tangent point off the
// arc answers None.
Intersections2d intersectLineArc(const LineSeg2d& line, const CircArc2d& arc,
                                 LineExtent extent = LineExtent::Segment, const Tolerance& tol = globalTolerance());

// Circle with circle. With two points, the first is to the left of the direction from c1 to c2 (at the angle
// phi + alpha seen from c1) and the second to the right (phi - alpha). Circles whose centre distance is r1 + r2
// or |r1 - r2| within the tolerance touch: Tangent, one point on the line of centres. Coincident circles (centres
// and radii equal within the tolerance) answer Overlap; concentric different circles None. A radius that is not
// positive is refused: None.
Intersections2d intersectCircles(const Point2d& c1, double r1, const Point2d& c2, double r2,
                                 const Tolerance& tol = globalTolerance());

// Arc with arc (either may be a full circle): the circle-circle points that lie on both arcs, in the
// circle-circle order. Arcs of one circle answer Overlap when their sweeps share more than the tolerance, else
// the end points they share (Points, up to two, in the order of a's start then a's end), else None.
Intersections2d intersectArcs(const CircArc2d& a, const CircArc2d& b, const Tolerance& tol = globalTolerance());

// Point on a curve, within the tolerance as a distance.
bool isPointOnLine(const LineSeg2d& line, const Point2d& p, LineExtent extent = LineExtent::Segment,
                   const Tolerance& tol = globalTolerance());
bool isPointOnArc(const CircArc2d& arc, const Point2d& p, const Tolerance& tol = globalTolerance());

}  // namespace host::ge
