// The start point of a contour: marking points, circles, polylines of other kinds by nearness, and the corner
// classes of ordinary cut contours.
#include "laser/path/start_point.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "cadlib/angles.h"
#include "cadlib/entity_access.h"
#include "cadlib/entity_creation.h"
#include "cadlib/polyline_contour.h"
#include "host/db/database.h"
#include "host/ge/curve.h"
#include "laser/job/drawing_slot.h"
#include "laser/path/lead_plan.h"
#include "laser/settings/laser_settings.h"

using host::ge::Point3d;

namespace {

constexpr double kEmptyScore = 1e20;
// Slots of the candidate table (slot 2 is never used).
constexpr int kSlotArcArc = 0;       // a smooth junction of two arcs
constexpr int kSlotLineArc = 1;      // a smooth junction of a line and an arc
constexpr int kSlotSharp = 3;        // below 40 degrees
constexpr int kSlotCount = 9;
// Corner types stored in the corner slots.
constexpr std::uint8_t kCornerTwoLines = 0;
constexpr std::uint8_t kCornerWithArc = 1;
// The lead reference length is this many lead-in lengths: an arc of smaller radius than it is too tight to start
// a lead on.
constexpr double kLeadReferenceFactor = 1.5;

struct Slot {
    bool valid = false;
    std::uint8_t type = 100;
    int flag = 127;
    double radius = kEmptyScore;
    double score = kEmptyScore;
    Point3d point;
};

double Distance(const Point3d& a, const Point3d& b) {
    return std::hypot(b.x - a.x, b.y - a.y);
}

// The score of a candidate: the way in plus the way on, or the way in alone when the two points coincide.
double Score(const Point3d& a, const Point3d& b, const Point3d& p) {
    if (a.x == b.x && a.y == b.y) return Distance(a, p);
    return Distance(a, p) + Distance(b, p);
}

// A segment of the polyline as the corner test sees it.
struct SegmentShape {
    bool isArc = false;
    double bulge = 0.0;
    double radius = 0.0;
    host::ge::Point2d centre;
};

SegmentShape ShapeOf(const host::db::LwPolyline& polyline, unsigned segment) {
    SegmentShape shape;
    double bulge = 0.0;
    polyline.getBulgeAt(segment, bulge);
    host::ge::CircArc2d arc;
    if (bulge != 0.0 && polyline.getArcSegAt(segment, arc) == host::db::Status::Ok) {
        shape.isArc = true;
        shape.bulge = bulge;
        shape.radius = arc.radius;
        shape.centre = arc.center;
    }
    return shape;
}

// The corner slot of an angle in degrees; -1 when the vertex is no start candidate as a corner.
int CornerSlot(double degrees) {
    if (degrees < 40.0) return 3;
    if (degrees < 170.0) return 4;
    if (degrees < 179.0) return 5;
    if (degrees < 190.0) return 6;   // exactly 179, or 181 to below 190
    if (degrees < 350.0) return 7;
    if (degrees < 360.0) return 8;
    return -1;
}

void Store(Slot& slot, int flag, double radius, double score, const Point3d& point) {
    slot.valid = true;
    slot.flag = flag;
    slot.radius = radius;
    slot.score = score;
    slot.point = point;
}

// A line meeting an arc smoothly: a tight arc bending away from the scrap is a poor place to start a lead.
void OfferLineArc(Slot& slot, int mode, int flag, double radius, double score, double l15, const Point3d& point) {
    if (mode == 0 && score < slot.score) {
        Store(slot, 0, radius, score, point);
        return;
    }
    bool take;
    if (!slot.valid) {
        take = true;
    } else if (score > slot.score) {
        if (slot.flag > flag) take = true;
        else if (slot.radius <= l15) take = false;
        else take = slot.radius >= 1.5 * radius;
    } else if (mode == 1) {
        take = true;
    } else if (slot.flag < flag) {
        take = false;
    } else if (slot.radius >= radius) {
        take = true;
    } else {
        take = !(radius > l15);
    }
    if (take) Store(slot, flag, radius, score, point);
}

// Two arcs meeting smoothly.
void OfferArcArc(Slot& slot, int mode, int flag, double radius, double score, double l15, const Point3d& point) {
    if (mode == 0) {
        if (score < slot.score) Store(slot, 0, radius, score, point);
        return;
    }
    bool take = false;
    if (score < slot.score) {
        if (mode == 1) {
            take = !(flag == 1 && radius < l15 && slot.valid && slot.radius < radius);
        } else if (mode == 2) {
            if (flag == 0) {
                take = !slot.valid || slot.flag == 1 || radius <= l15 || 1.5 * slot.radius >= radius;
            } else {
                take = radius >= l15 || !slot.valid || 1.5 * slot.radius >= radius;
            }
        }
    } else if (!slot.valid) {
        take = true;
    } else if (flag == 0) {
        if (mode == 1) take = false;
        else if (slot.flag > 0) take = true;
        else if (slot.radius <= l15) take = false;
        else take = 1.5 * slot.radius > radius;
    } else {
        if (slot.flag == 0) take = false;
        else if (slot.radius <= l15) take = false;
        else take = 1.5 * slot.radius > radius;
    }
    if (take) Store(slot, flag, radius, score, point);
}

// A corner between two lines displaces a corner touching an arc; within a type the lower score wins.
void OfferCorner(Slot& slot, std::uint8_t type, double radius, double score, const Point3d& point) {
    bool take;
    if (!slot.valid) take = true;
    else if (type == kCornerTwoLines && slot.type == kCornerWithArc) take = true;
    else if (type == kCornerWithArc && slot.type == kCornerTwoLines) take = false;
    else take = score < slot.score;
    if (take) {
        Store(slot, slot.flag, radius, score, point);
        slot.type = type;
    }
}

// The final choice among the slots.
struct Choice {
    const Slot* slot = nullptr;
    double score = kEmptyScore;
    double radius() const { return slot ? slot->radius : kEmptyScore; }
    bool take(const Slot& s) {
        if (s.valid && s.score < score) {
            slot = &s;
            score = s.score;
            return true;
        }
        return false;
    }
};

// Slot 1, slot 0 and the sharp corners, when no ordinary corner was chosen.
void ChooseSmoothOrSharp(Choice& choice, const Slot (&slots)[kSlotCount], double l15) {
    const bool tookLineArc = choice.take(slots[kSlotLineArc]);
    if (tookLineArc && l15 >= slots[kSlotLineArc].radius) return;
    const Slot& arcs = slots[kSlotArcArc];
    if (arcs.valid && (l15 >= arcs.radius || choice.radius() > arcs.radius || choice.score > arcs.score)) {
        choice.slot = &arcs;
        choice.score = arcs.score;
    }
    if (choice.slot == nullptr) choice.take(slots[kSlotSharp]);
}

}  // namespace

void ChooseStartVertex(const host::db::LwPolyline& polyline, const Point3d& a, Point3d& start, const Point3d& b,
                       int placement, double leadInLength, int zahodTypePoint) {
    const unsigned n = polyline.numVerts();
    if (n == 0) return;
    if (!polyline.isClosed()) {
        // Only the two ends of an open contour can start it: the nearer one by score.
        Point3d first, last;
        polyline.getPointAt(0, first);
        polyline.getPointAt(n - 1, last);
        first.z = last.z = 0.0;
        start = Score(a, b, first) <= Score(a, b, last) ? first : last;
        return;
    }
    const double l15 = kLeadReferenceFactor * leadInLength;
    const bool inner = placement == kPlacementInner;
    Slot slots[kSlotCount];
    for (unsigned i = 0; i < n; ++i) {
        Point3d p;
        polyline.getPointAt(i, p);
        p.z = 0.0;
        const unsigned incoming = i == 0 ? n - 1 : i - 1;
        double outAngle = 0.0, backAngle = 0.0;
        int outIsLine = 1, inIsLine = 1;
        if (GetSegmentDirectionAtPoint(polyline, static_cast<int>(i), p, outAngle, outIsLine) != 0) continue;
        if (GetSegmentDirectionAtPoint(polyline, static_cast<int>(incoming), p, backAngle, inIsLine) != 0) continue;
        const SegmentShape out = ShapeOf(polyline, i);
        const SegmentShape in = ShapeOf(polyline, incoming);
        double corner = outAngle - backAngle;
        NormalizeAngle(corner);
        if (inner) corner = cadlib::kTwoPi - corner;
        const double degrees = corner / cadlib::kRadiansPerDegree;
        const double score = Score(a, b, p);
        if (degrees > 179.0 && degrees < 181.0) {
            if (!in.isArc && !out.isArc) continue;
            if (in.isArc != out.isArc) {
                const SegmentShape& arc = in.isArc ? in : out;
                int flag = arc.bulge <= 0.0 ? 1 : 0;
                if (inner) flag = 1 - flag;
                OfferLineArc(slots[kSlotLineArc], zahodTypePoint, flag, arc.radius, score, l15, p);
            } else {
                const double centres = in.centre.distanceTo(out.centre);
                int flag = in.radius + out.radius <= centres ? 1 : 0;
                if (inner) flag = 1 - flag;
                OfferArcArc(slots[kSlotArcArc], zahodTypePoint, flag, std::min(in.radius, out.radius), score, l15,
                            p);
            }
            continue;
        }
        const int slot = CornerSlot(degrees);
        if (slot < 0) continue;
        const std::uint8_t type = (in.isArc || out.isArc) ? kCornerWithArc : kCornerTwoLines;
        OfferCorner(slots[slot], type, std::max(in.radius, out.radius), score, p);
    }

    Choice choice;
    switch (zahodTypePoint) {
        case 0:
            for (int s : {7, 4, 6, 5, 8, 1, 0}) choice.take(slots[s]);
            if (choice.slot == nullptr) choice.take(slots[kSlotSharp]);
            break;
        case 1:
            for (int s : {7, 4, 6, 5, 8}) choice.take(slots[s]);
            if (choice.slot == nullptr) ChooseSmoothOrSharp(choice, slots, l15);
            break;
        case 2: {
            choice.take(slots[7]);
            choice.take(slots[4]);
            if (choice.slot != nullptr) break;
            choice.take(slots[6]);
            choice.take(slots[5]);
            if (choice.slot != nullptr) break;
            if (choice.take(slots[8])) break;
            ChooseSmoothOrSharp(choice, slots, l15);
            break;
        }
        default:
            break;
    }
    if (choice.slot != nullptr) start = choice.slot->point;
}

int FindStartPointInJob(const CuttingJob& job, const CLaserSettings& settings, const Point3d& a, Point3d& start,
                        const Point3d& b, int contourIndex) {
    if (contourIndex < 0 || contourIndex >= static_cast<int>(job.contours.size())) return kStartPointKept;
    const ContourRecord& record = job.contours[static_cast<std::size_t>(contourIndex)];
    if (record.kind == ContourKind::MarkPoint) {
        start = {record.maxX, record.maxY, 0.0};
        return kStartPointKept;
    }
    if (record.shape == kShapeCircle) {
        host::db::ObjectPtr<host::db::Circle> circle(IdOfHandle(record.handle), host::db::OpenMode::Read);
        if (!circle) return kStartPointKept;
        const host::db::Line reference(a, b);
        const std::vector<Point3d> crossings = circle->intersectWith(reference);
        if (!crossings.empty()) {
            start = {crossings.front().x, crossings.front().y, 0.0};
        } else {
            const Point3d c = circle->center();
            const double angle = std::atan2((a.y + b.y) / 2.0 - c.y, (a.x + b.x) / 2.0 - c.x);
            start = PointAtAngle(c, angle, circle->radius());
        }
        return kStartPointChosen;
    }
    host::db::ObjectPtr<host::db::LwPolyline> polyline(IdOfHandle(record.handle), host::db::OpenMode::Read);
    if (!polyline || polyline->numVerts() == 0) return kStartPointKept;
    const bool open = !polyline->isClosed();
    int answer = kStartPointChosen;
    if (record.kind == ContourKind::KindBase) {
        ChooseStartVertex(*polyline, a, start, b, record.placement, job.leadInSpan, settings.ZahodTypePoint);
    } else {
        const unsigned n = polyline->numVerts();
        double best = Score(a, b, start);
        answer = kStartPointKept;
        for (unsigned i = 0; i < n; ++i) {
            if (open && i != 0 && i != n - 1) continue;
            Point3d p;
            polyline->getPointAt(i, p);
            p.z = 0.0;
            const double score = Score(a, b, p);
            if (score < best) {
                best = score;
                start = p;
                answer = kStartPointChosen;
            }
        }
    }
    return open ? kStartPointOpenLine : answer;
}

int FindStartPoint(const Point3d& a, Point3d& start, const Point3d& b, int contourIndex) {
    CLaserSettings& settings = LaserSettings();
    const CuttingJob* job = CurrentJob(settings);
    if (job == nullptr) return kStartPointKept;
    return FindStartPointInJob(*job, settings, a, start, b, contourIndex);
}

int NearestEntryPoint(const CuttingJob& job, const Point3d& point, Point3d& start, int contourIndex) {
    if (contourIndex < 0 || contourIndex >= static_cast<int>(job.contours.size())) return -1;
    const ContourRecord& record = job.contours[static_cast<std::size_t>(contourIndex)];
    if (record.shape == kShapeCircle) {
        host::db::ObjectPtr<host::db::Circle> circle(IdOfHandle(record.handle), host::db::OpenMode::Read);
        if (!circle) return -1;
        const Point3d c = circle->center();
        start = PointAtAngle(c, std::atan2(point.y - c.y, point.x - c.x), circle->radius());
        return 0;
    }
    host::db::ObjectPtr<host::db::LwPolyline> polyline(IdOfHandle(record.handle), host::db::OpenMode::Read);
    if (!polyline || polyline->numVerts() == 0) return -1;
    const unsigned n = polyline->numVerts();
    const bool open = !polyline->isClosed();
    double best = 0.0;
    for (unsigned i = 0; i < n; ++i) {
        if (open && i != 0 && i != n - 1) continue;
        Point3d p;
        polyline->getPointAt(i, p);
        p.z = 0.0;
        const double d = Distance(point, p);
        if (i == 0 || d < best) {
            best = d;
            start = p;
        }
    }
    return 0;
}

int FinishContourAt(CuttingJob& job, const Point3d& a, const Point3d& b, int contourIndex) {
    if (contourIndex < 0 || contourIndex >= static_cast<int>(job.contours.size())) return -1;
    ContourRecord& record = job.contours[static_cast<std::size_t>(contourIndex)];
    host::db::ObjectId line;
    AddLine(line, a, b);
    Point3d end = b;
    if (record.closure != kClosureClosed && record.shape == kShapePolyline) {
        host::db::ObjectPtr<host::db::LwPolyline> polyline(IdOfHandle(record.handle), host::db::OpenMode::Read);
        if (polyline && polyline->numVerts() > 0) {
            Point3d first, last;
            polyline->getPointAt(0, first);
            polyline->getPointAt(polyline->numVerts() - 1, last);
            const bool atFirst = first.x == b.x && first.y == b.y;
            end = atFirst ? last : first;
            end.z = 0.0;
        }
    }
    job.currentPoint = end;
    record.processed = 1;
    return 0;
}
