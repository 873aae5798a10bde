// Rotation and translation of points, contours and part poses.
#include "nesting/geometry/contour_transforms.h"

#include <cmath>

#include "cadlib/angles.h"
#include "nesting/geometry/contour_box.h"
#include "nesting/geometry/contour_kernel.h"

using host::ge::Point2d;

namespace {

// 270 degrees as the pose angles are written (270 * DEG), not 3 * pi / 2: callers pass that value.
const double kThreeQuarterTurn = 270.0 * cadlib::kRadiansPerDegree;

// An arc angle turned with its contour: brought back into [0, 2*pi) by one turn.
double turnArcAngle(double a, double angle) {
    double t = a + angle;
    if (t >= cadlib::kTwoPi) {
        t -= cadlib::kTwoPi;
    } else if (t < 0.0) {
        t += cadlib::kTwoPi;
    }
    return t;
}

double turnLineAngle(double a, double angle) {
    double t = a + angle;
    NormalizeAngle(t);
    return t;
}

void moveElement(ContourElement& e, double dx, double dy) {
    switch (e.Type) {
    case kElementCircle:
        TranslatePoint(e.Centre, e.Centre, dx, dy);
        TranslatePoint(e.Start, e.Start, dx, dy);
        break;
    case kElementLine:
        TranslatePoint(e.Start, e.Start, dx, dy);
        TranslatePoint(e.End, e.End, dx, dy);
        break;
    case kElementArc:
        TranslatePoint(e.Centre, e.Centre, dx, dy);
        TranslatePoint(e.Start, e.Start, dx, dy);
        TranslatePoint(e.End, e.End, dx, dy);
        break;
    default: break;
    }
}

// Poses list `from` into `to` (made a copy first when its length differs) and grows `box` by the posed boxes.
void poseList(const std::vector<Contour>& from, std::vector<Contour>& to, const Point2d& offset, double angle,
              BoundingBox* box) {
    if (to.size() != from.size()) to = from;
    for (std::size_t k = 0; k < from.size(); ++k) {
        TransformContour(from[k], to[k], offset, angle);
        if (box != nullptr) box->Include(to[k].Box);
    }
}

bool validSet(int set) { return set >= 0 && set < kContourSetCount; }

}  // namespace

void RotatePoint(const Point2d& p, Point2d& out, const Point2d& offset, double angle) {
    if (angle == 0.0) {
        out = Point2d{offset.x + p.x, offset.y + p.y};
    } else if (angle == cadlib::kHalfPi) {
        out = Point2d{offset.x - p.y, offset.y + p.x};
    } else if (angle == cadlib::kPi) {
        out = Point2d{offset.x - p.x, offset.y - p.y};
    } else if (angle == kThreeQuarterTurn) {
        out = Point2d{offset.x + p.y, offset.y - p.x};
    } else {
        const double r = std::sqrt(p.x * p.x + p.y * p.y);
        const double a = GetDirectionAngle(Point2d{0.0, 0.0}, p);
        out = Point2d{offset.x + r * std::cos(a + angle), offset.y + r * std::sin(a + angle)};
    }
}

void TranslatePoint(const Point2d& p, Point2d& out, double dx, double dy) { out = Point2d{p.x + dx, p.y + dy}; }

void TransformContour(const Contour& src, Contour& dst, const Point2d& offset, double angle) {
    if (dst.Elements.size() != src.Elements.size()) dst = src;
    dst.GeometryKind = src.GeometryKind;
    for (std::size_t k = 0; k < src.Elements.size(); ++k) {
        const ContourElement& s = src.Elements[k];
        ContourElement& d = dst.Elements[k];
        switch (s.Type) {
        case kElementCircle:
            RotatePoint(s.Centre, d.Centre, offset, angle);
            d.Start = Point2d{d.Centre.x + d.Radius, d.Centre.y};
            d.Type = kElementCircle;
            d.StartAngle = d.EndAngle = 0.0;
            break;
        case kElementLine:
            RotatePoint(s.Start, d.Start, offset, angle);
            RotatePoint(s.End, d.End, offset, angle);
            d.Type = kElementLine;
            d.StartAngle = angle == 0.0 ? s.StartAngle : turnLineAngle(s.StartAngle, angle);
            d.EndAngle = angle == 0.0 ? s.EndAngle : turnLineAngle(s.EndAngle, angle);
            break;
        case kElementArc:
            RotatePoint(s.Centre, d.Centre, offset, angle);
            RotatePoint(s.Start, d.Start, offset, angle);
            RotatePoint(s.End, d.End, offset, angle);
            d.Type = kElementArc;
            d.StartAngle = angle == 0.0 ? s.StartAngle : turnArcAngle(s.StartAngle, angle);
            d.EndAngle = angle == 0.0 ? s.EndAngle : turnArcAngle(s.EndAngle, angle);
            break;
        default: break;
        }
    }
    if (angle != 0.0) {
        ComputeContourBox(dst, dst.Box);
    } else {
        dst.Box = src.Box;
        dst.Box.Translate(offset.x, offset.y);
    }
}

int ApplyPartPose(PartInstance& instance, int set, const Point2d& offset, double angle) {
    if (instance.Type == nullptr || !validSet(set)) return 0;
    const PartType& type = *instance.Type;
    if (!instance.TrialPose) instance.TrialPose.emplace();
    PartPose& pose = *instance.TrialPose;
    pose.Box = BoundingBox::Empty();
    poseList(type.Outers[set], pose.Outers, offset, angle, &pose.Box);
    poseList(type.Holes[set], pose.Holes, offset, angle, nullptr);
    poseList(type.Defects[set], pose.Defects, offset, angle, nullptr);
    pose.OuterCount = static_cast<std::int32_t>(pose.Outers.size());
    pose.HoleCount = static_cast<std::int32_t>(pose.Holes.size());
    pose.DefectCount = static_cast<std::int32_t>(pose.Defects.size());
    pose.X = offset.x;
    pose.Y = offset.y;
    pose.Angle = angle >= cadlib::kTwoPi ? angle - cadlib::kTwoPi : angle;
    return 0;
}

int ApplyOuterPose(PartInstance& instance, int set, const Point2d& offset, double angle) {
    if (instance.Type == nullptr || !validSet(set)) return 0;
    const PartType& type = *instance.Type;
    if (!instance.TrialPose) instance.TrialPose.emplace();
    PartPose& pose = *instance.TrialPose;
    pose.Angle = angle;
    pose.ContourSet = static_cast<std::uint8_t>(set);
    pose.Box = BoundingBox::Empty();
    poseList(type.Outers[set], pose.Outers, offset, angle, &pose.Box);
    pose.OuterCount = static_cast<std::int32_t>(pose.Outers.size());
    pose.X = offset.x;
    pose.Y = offset.y;
    return 0;
}

void TranslatePart(PartInstance& instance, double dx, double dy) {
    if (!instance.TrialPose) return;
    PartPose& pose = *instance.TrialPose;
    for (Contour& contour : pose.Outers) {
        for (ContourElement& e : contour.Elements) moveElement(e, dx, dy);
        contour.Box.Translate(dx, dy);
    }
    pose.Box.Translate(dx, dy);
    pose.X += dx;
    pose.Y += dy;
}
