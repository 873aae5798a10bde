// Breaking lines, arcs, circles and lightweight polylines between two points.
#include "host/ed/commands/break_curve.h"

#include <algorithm>
#include <cmath>

#include "host/ed/commands/entity_copy.h"
#include "host/ed/commands/entity_properties.h"
#include "host/ed/commands/poly_path.h"
#include "host/ge/angle.h"

namespace host::ed {

namespace {

using db::ObjectId;
using db::OpenMode;
using db::Status;

double tolerance() { return ge::globalTolerance().equalPoint; }

// A copy of the entity (properties and extended data included) after the last entity of its block.
Status copyOf(const db::Entity& e, ObjectId& copy) {
    EntityCopier copier(*e.database());
    return copier.copy(e, e.ownerId(), ge::Matrix3d::identity(), &copy);
}

Status eraseEntity(ObjectId id) {
    db::ObjectPtr<db::Entity> e(id, OpenMode::Write);
    return e ? e->erase() : e.status();
}

// A piece [from, to] of a curve of length `length` given by parameters scaled to its length.
struct Span {
    double from, to;
    bool empty() const { return to - from <= tolerance(); }
};

// The pieces of an open curve of length `length` left after removing what lies between a and b.
std::pair<Span, Span> remainingSpans(double a, double b, double length) {
    if (a > b) std::swap(a, b);
    return {{0.0, a}, {b, length}};
}

Status breakLine(ObjectId id, const ge::Point3d& p1, const ge::Point3d& p2, std::vector<ObjectId>& out) {
    const auto* line = dynamic_cast<const db::Line*>(id.database()->peek(id));
    const ge::Point3d s = line->start(), e = line->end();
    const ge::Vector3d dir = e - s;
    const double length = dir.length();
    if (length <= tolerance()) return Status::NotApplicable;
    const auto along = [&](const ge::Point3d& p) { return std::clamp((p - s).dot(dir) / length, 0.0, length); };
    const auto at = [&](double t) { return s + dir * (t / length); };
    const auto [before, after] = remainingSpans(along(p1), along(p2), length);
    ObjectId second;
    if (!after.empty() && !before.empty()) {
        const Status st = copyOf(*line, second);
        if (st != Status::Ok) return st;
        db::ObjectPtr<db::Line> piece(second, OpenMode::Write);
        piece->setStart(at(after.from));
    }
    if (before.empty() && after.empty()) return eraseEntity(id);
    db::ObjectPtr<db::Line> self(id, OpenMode::Write);
    if (!self) return self.status();
    if (before.empty()) {
        self->setStart(at(after.from));
    } else {
        self->setEnd(at(before.to));
    }
    out.push_back(id);
    if (!second.isNull()) out.push_back(second);
    return Status::Ok;
}

// The plane angle of a world point seen from the centre of a circle or arc with this normal.
double angleInPlane(const ge::Vector3d& normal, const ge::Point3d& center, const ge::Point3d& p) {
    PolyPath plane;
    plane.normal = normal;
    return ge::angleFromTo(planePoint(plane, center), planePoint(plane, p));
}

Status breakArc(ObjectId id, const ge::Point3d& p1, const ge::Point3d& p2, std::vector<ObjectId>& out) {
    const auto* arc = dynamic_cast<const db::Arc*>(id.database()->peek(id));
    const double start = arc->startAngle(), r = arc->radius();
    double sweep = ge::ccwSweep(start, arc->endAngle());
    if (sweep == 0.0) sweep = ge::kTwoPi;
    // A point beyond the arc's ends goes to the nearer end.
    const auto along = [&](const ge::Point3d& p) {
        const double off = ge::ccwSweep(start, angleInPlane(arc->normal(), arc->center(), p));
        if (off <= sweep) return off * r;
        return (ge::kTwoPi - off) < (off - sweep) ? 0.0 : sweep * r;
    };
    const auto [before, after] = remainingSpans(along(p1), along(p2), sweep * r);
    if (before.empty() && after.empty()) return eraseEntity(id);
    ObjectId second;
    if (!after.empty() && !before.empty()) {
        const Status st = copyOf(*arc, second);
        if (st != Status::Ok) return st;
        db::ObjectPtr<db::Arc> piece(second, OpenMode::Write);
        piece->setStartAngle(start + after.from / r);
    }
    db::ObjectPtr<db::Arc> self(id, OpenMode::Write);
    if (!self) return self.status();
    if (before.empty()) {
        self->setStartAngle(start + after.from / r);
    } else {
        self->setEndAngle(start + before.to / r);
    }
    out.push_back(id);
    if (!second.isNull()) out.push_back(second);
    return Status::Ok;
}

Status breakCircle(ObjectId id, const ge::Point3d& p1, const ge::Point3d& p2, std::vector<ObjectId>& out) {
    const auto* circle = dynamic_cast<const db::Circle*>(id.database()->peek(id));
    const double a1 = angleInPlane(circle->normal(), circle->center(), p1);
    const double a2 = angleInPlane(circle->normal(), circle->center(), p2);
    if (ge::ccwSweep(a1, a2) * circle->radius() <= tolerance()) return Status::InvalidInput;
    auto arc = std::make_unique<db::Arc>(circle->center(), circle->radius(), a2, a1);
    arc->setNormal(circle->normal());
    arc->setThickness(circle->thickness());
    copyDrawingProperties(*arc, *circle);
    const db::ResBufList xdata = circle->xData();
    ObjectId added;
    {
        db::ObjectPtr<db::BlockTableRecord> space(circle->ownerId(), OpenMode::Write);
        if (!space) return space.status();
        const Status s = space->appendEntity(std::move(arc), &added);
        if (s != Status::Ok) return s;
    }
    if (!xdata.empty()) {
        db::ObjectPtr<db::Entity> piece(added, OpenMode::Write);
        if (piece) piece->setXData(xdata);
    }
    const Status s = eraseEntity(id);
    if (s != Status::Ok) {
        eraseEntity(added);
        return s;
    }
    out.push_back(added);
    return Status::Ok;
}

// Parameter along a path to its length from the start, and back.
double lengthTo(const PolyPath& path, double param) {
    double sum = 0.0;
    const auto whole = unsigned(param);
    for (unsigned i = 0; i < whole && i < path.numSegments(); ++i) sum += path.segmentLength(i);
    if (whole < path.numSegments()) sum += path.segmentLength(whole) * (param - whole);
    return sum;
}

Status breakPolyline(ObjectId id, const ge::Point3d& p1, const ge::Point3d& p2, std::vector<ObjectId>& out) {
    const auto* pl = dynamic_cast<const db::LwPolyline*>(id.database()->peek(id));
    const PolyPath path = *polyPathOf(*pl);
    if (path.numSegments() == 0) return Status::NotApplicable;
    const double a = path.closestParam(planePoint(path, p1));
    const double b = path.closestParam(planePoint(path, p2));
    const double end = path.endParam();

    if (path.closed) {
        // What is left runs from the second point on to the first, through the start.
        const PolyPath left = b < a ? path.piece(b, a) : path.piece(b, a + end);
        db::ObjectPtr<db::LwPolyline> self(id, OpenMode::Write);
        if (!self) return self.status();
        const Status s = writePolyPath(*self, left);
        if (s == Status::Ok) out.push_back(id);
        return s;
    }

    const double la = lengthTo(path, std::min(a, b)), lb = lengthTo(path, std::max(a, b));
    const double total = lengthTo(path, end);
    const auto [before, after] = remainingSpans(la, lb, total);
    if (before.empty() && after.empty()) return eraseEntity(id);
    ObjectId second;
    if (!after.empty() && !before.empty()) {
        const Status st = copyOf(*pl, second);
        if (st != Status::Ok) return st;
        db::ObjectPtr<db::LwPolyline> piece(second, OpenMode::Write);
        writePolyPath(*piece, path.piece(std::max(a, b), end));
    }
    db::ObjectPtr<db::LwPolyline> self(id, OpenMode::Write);
    if (!self) return self.status();
    const Status s = writePolyPath(*self, before.empty() ? path.piece(std::max(a, b), end)
                                                         : path.piece(0.0, std::min(a, b)));
    if (s != Status::Ok) return s;
    out.push_back(id);
    if (!second.isNull()) out.push_back(second);
    return Status::Ok;
}

}  // namespace

Status breakEntity(ObjectId entity, const ge::Point3d& first, const ge::Point3d& second,
                   std::vector<ObjectId>* pieces) {
    if (entity.isNull()) return Status::NullObjectId;
    const auto* e = dynamic_cast<const db::Entity*>(entity.database()->peek(entity));
    if (!e) return Status::WrongObjectType;
    if (e->isErased()) return Status::WasErased;
    std::vector<ObjectId> out;
    Status s = Status::NotApplicable;
    if (dynamic_cast<const db::Line*>(e)) s = breakLine(entity, first, second, out);
    else if (dynamic_cast<const db::Arc*>(e)) s = breakArc(entity, first, second, out);
    else if (dynamic_cast<const db::Circle*>(e)) s = breakCircle(entity, first, second, out);
    else if (dynamic_cast<const db::LwPolyline*>(e)) s = breakPolyline(entity, first, second, out);
    if (s == Status::Ok && pieces) *pieces = out;
    return s;
}

}  // namespace host::ed
