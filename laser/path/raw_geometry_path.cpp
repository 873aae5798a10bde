// Slicing the drawn geometry at a picked point and tracing a profile along the drawn entities.
#include "laser/path/raw_geometry_path.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "cadlib/angles.h"
#include "cadlib/host_variables.h"
#include "host/db/database.h"
#include "host/db/entities.h"
#include "host/db/resbuf.h"
#include "host/ed/commands/explode.h"
#include "host/ed/prompts.h"
#include "host/sys/number_text.h"
#include "host/ui/message_box.h"
#include "laser/job/drawing_slot.h"
#include "laser/path/path_groups.h"
#include "laser/path/raw_geometry_messages.h"
#include "laser/settings/laser_settings.h"

using host::db::ObjectId;
using host::db::ObjectPtr;
using host::db::OpenMode;
using host::ge::Point3d;

namespace {

// A pick takes the drawn entities within this distance of the point.
constexpr double kPickReach = 0.0005;
// The nearest-point object snap.
constexpr short kSnapNearest = 512;
constexpr int kSideLeft = 1;
// A profile has at most this many pieces: a drawing whose entities meet in a cycle the trace does not close (it
// cannot, each piece is visited once) still ends.
constexpr std::size_t kMostPieces = 1000000;
const char* const kPathLayer = "NC_Laser";

double Distance(const Point3d& a, const Point3d& b) { return std::hypot(a.x - b.x, a.y - b.y); }

double DistanceToSegment(const Point3d& p, const Point3d& a, const Point3d& b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double length2 = dx * dx + dy * dy;
    double t = length2 > 0.0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / length2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    return Distance(p, Point3d(a.x + t * dx, a.y + t * dy, 0.0));
}

// Distance from p to the counter-clockwise arc about c of radius r from angle s to angle e.
double DistanceToArc(const Point3d& p, const Point3d& c, double r, double s, double e, const Point3d& from,
                     const Point3d& to) {
    double angle = std::atan2(p.y - c.y, p.x - c.x);
    NormalizeAngle(angle);
    NormalizeAngle(s);
    NormalizeAngle(e);
    if (IsAngleInRange(s, e, angle)) return std::fabs(Distance(p, c) - r);
    return std::min(Distance(p, from), Distance(p, to));
}

// Distance from p to a drawn line, arc, circle or polyline; -1 for any other entity.
double DistanceToEntity(const host::db::Entity& e, const Point3d& p) {
    if (const auto* line = dynamic_cast<const host::db::Line*>(&e)) return DistanceToSegment(p, line->start(), line->end());
    if (const auto* arc = dynamic_cast<const host::db::Arc*>(&e)) {
        return DistanceToArc(p, arc->center(), arc->radius(), arc->startAngle(), arc->endAngle(), arc->startPoint(),
                             arc->endPoint());
    }
    if (const auto* circle = dynamic_cast<const host::db::Circle*>(&e)) {
        return std::fabs(Distance(p, circle->center()) - circle->radius());
    }
    if (const auto* polyline = dynamic_cast<const host::db::LwPolyline*>(&e)) {
        double best = -1.0;
        for (unsigned i = 0; i < polyline->numSegments(); ++i) {
            double d = -1.0;
            host::ge::CircArc2d arc;
            host::ge::LineSeg2d seg;
            if (polyline->getArcSegAt(i, arc) == host::db::Status::Ok) {
                const double s = arc.clockwise ? arc.endAngle : arc.startAngle;
                const double t = arc.clockwise ? arc.startAngle : arc.endAngle;
                const host::ge::Point2d a = arc.pointAtAngle(s), b = arc.pointAtAngle(t);
                d = DistanceToArc(p, {arc.center.x, arc.center.y, 0.0}, arc.radius, s, t, {a.x, a.y, 0.0},
                                  {b.x, b.y, 0.0});
            } else if (polyline->getLineSegAt(i, seg) == host::db::Status::Ok) {
                d = DistanceToSegment(p, {seg.start.x, seg.start.y, 0.0}, {seg.end.x, seg.end.y, 0.0});
            }
            if (d >= 0.0 && (best < 0.0 || d < best)) best = d;
        }
        return best;
    }
    return -1.0;
}

std::vector<ObjectId> ModelSpaceIds() {
    const host::db::Database* db = host::db::workingDatabase();
    if (db == nullptr) return {};
    ObjectPtr<host::db::BlockTableRecord> space(db->modelSpaceId(), OpenMode::Read);
    if (!space) return {};
    return space->entityIds();
}

// The drawn entities (not the path's own) within kPickReach of p.
std::vector<ObjectId> DrawnEntitiesAt(const Point3d& p) {
    std::vector<ObjectId> found;
    for (ObjectId id : ModelSpaceIds()) {
        ObjectPtr<host::db::Entity> e(id, OpenMode::Read);
        if (!e || e->layer() == kPathLayer) continue;
        const double d = DistanceToEntity(*e, p);
        if (d >= 0.0 && d <= kPickReach) found.push_back(id);
    }
    return found;
}

// One line or arc of a profile, in the direction it is travelled.
struct Piece {
    bool arc = false;
    bool reversed = false;
    Point3d from, to, centre;
};

bool ReadPiece(ObjectId id, Piece& piece) {
    ObjectPtr<host::db::Entity> e(id, OpenMode::Read);
    if (!e) return false;
    if (const auto* line = dynamic_cast<const host::db::Line*>(e.get())) {
        piece = {false, false, line->start(), line->end(), {}};
        return true;
    }
    if (const auto* arc = dynamic_cast<const host::db::Arc*>(e.get())) {
        piece = {true, false, arc->startPoint(), arc->endPoint(), arc->center()};
        return true;
    }
    return false;
}

void DrawPiece(const Piece& piece) {
    if (!piece.arc) {
        AddPathLine(piece.from, piece.to);
    } else if (piece.reversed) {
        AddPathArcCW(piece.centre, piece.from, piece.to);
    } else {
        AddPathArcCCW(piece.centre, piece.from, piece.to);
    }
}

// The drawn lines and arcs other than `self` that start or end at p.
std::vector<ObjectId> PiecesMeetingAt(const Point3d& p, ObjectId self) {
    std::vector<ObjectId> found;
    for (ObjectId id : ModelSpaceIds()) {
        if (id == self) continue;
        ObjectPtr<host::db::Entity> e(id, OpenMode::Read);
        if (!e || e->layer() == kPathLayer) continue;
        Point3d a, b;
        if (const auto* line = dynamic_cast<const host::db::Line*>(e.get())) {
            a = line->start(), b = line->end();
        } else if (const auto* arc = dynamic_cast<const host::db::Arc*>(e.get())) {
            a = arc->startPoint(), b = arc->endPoint();
        } else {
            continue;
        }
        if (a.isEqualTo(p) || b.isEqualTo(p)) found.push_back(id);
    }
    return found;
}

void RapidAndLeadIn(const SideLeadPoints& leads) {
    const CuttingJob* job = CurrentJob(LaserSettings());
    SetPen(kPenRapid);
    if (job != nullptr) AddPathLine(job->currentPoint, leads.leadInStart);
    SetPen(kPenCut);
    AddPathLine(leads.leadInStart, leads.contourPoint);
}

}  // namespace

int TraceProfileInteractively(ObjectId start, const SideLeadPoints& leads, int side) {
    {
        ObjectPtr<host::db::Entity> e(start, OpenMode::Read);
        if (!e) return kTraceNothing;
        if (const auto* circle = dynamic_cast<const host::db::Circle*>(e.get())) {
            const Point3d c = circle->center();
            const Point3d p = leads.contourPoint;
            const Point3d opposite(2.0 * c.x - p.x, 2.0 * c.y - p.y, 0.0);
            const bool sideOutside = Distance(leads.leadInStart, c) > circle->radius();
            // Counter-clockwise travel has the inside on its left.
            const bool ccw = (side == kSideLeft) != sideOutside;
            e.close();
            RapidAndLeadIn(leads);
            if (ccw) {
                AddPathArcCCW(c, p, opposite);
                AddPathArcCCW(c, opposite, p);
            } else {
                AddPathArcCW(c, p, opposite);
                AddPathArcCW(c, opposite, p);
            }
            AddPathLine(p, leads.leadOutEnd);
            return kTraceClosed;
        }
    }
    Piece piece;
    if (!ReadPiece(start, piece)) return kTraceNothing;
    RapidAndLeadIn(leads);
    const Point3d first = piece.from;
    std::set<ObjectId> visited{start};
    ObjectId current = start;
    for (std::size_t n = 0; n < kMostPieces; ++n) {
        DrawPiece(piece);
        const Point3d at = piece.to;
        const std::vector<ObjectId> next = PiecesMeetingAt(at, current);
        if (next.size() > 1) {
            const std::string where = host::sys::formatC("%.4f,%.4f", at.x, at.y);
            PrintLocalized(kTraceJunctionText, where.c_str(), static_cast<int>(next.size() + 1));
            return kTraceJunction;
        }
        if (next.empty()) return kTraceOpen;
        if (next.front() == start && at.isEqualTo(first)) {
            AddPathLine(at, leads.leadOutEnd);
            return kTraceClosed;
        }
        if (!visited.insert(next.front()).second) return kTraceOpen;
        current = next.front();
        if (!ReadPiece(current, piece)) return kTraceOpen;
        if (!piece.from.isEqualTo(at)) {
            std::swap(piece.from, piece.to);
            piece.reversed = true;
        }
    }
    return kTraceOpen;
}

int SliceRawGeometryAtPoint() {
    PathWriter().PathDescriptionText = "Slice";
    BeginPathGroup();
    int snapMode = 0;
    const bool snapRead = GetSysVarInt("OSMODE", snapMode) == host::db::RTNORM;
    SetSysVarInt("OSMODE", kSnapNearest);
    for (;;) {
        Point3d picked;
        if (host::ed::getPoint(nullptr, Localized(kRawContourPrompt), picked) != host::db::RTNORM) break;
        std::vector<ObjectId> ids = DrawnEntitiesAt(picked);
        if (ids.size() > 2) {
            host::ui::messageBox(Localized(kRawManyLinesText), {}, host::ui::MB_OK | host::ui::MB_ICONERROR);
            break;
        }
        if (ids.empty()) continue;
        bool sideGiven = false;
        Point3d side;
        if (ids.size() == 2) {
            if (host::ed::getPoint(nullptr, Localized(kRawProfileSidePrompt), side) != host::db::RTNORM) break;
            sideGiven = true;
            double d[2] = {0.0, 0.0};
            for (int i = 0; i < 2; ++i) {
                ObjectPtr<host::db::Entity> e(ids[static_cast<std::size_t>(i)], OpenMode::Read);
                d[i] = e ? DistanceToEntity(*e, side) : -1.0;
            }
            if (d[1] >= 0.0 && (d[0] < 0.0 || d[1] < d[0])) ids.front() = ids.back();
        }
        const ObjectId id = ids.front();
        SideLeadPoints leads;
        int code = 0;
        bool polyline = false, traceable = true;
        {
            ObjectPtr<host::db::Entity> e(id, OpenMode::Read);
            if (!e) continue;
            if (dynamic_cast<const host::db::LwPolyline*>(e.get()) != nullptr) {
                polyline = true;
            } else if (!sideGiven) {
                traceable = dynamic_cast<const host::db::Line*>(e.get()) || dynamic_cast<const host::db::Arc*>(e.get()) ||
                            dynamic_cast<const host::db::Circle*>(e.get());
            } else if (const auto* line = dynamic_cast<const host::db::Line*>(e.get())) {
                code = LineLeadPoints(line->start(), line->end(), side, leads);
            } else if (const auto* arc = dynamic_cast<const host::db::Arc*>(e.get())) {
                code = ArcLeadPoints(arc->center(), arc->radius(), arc->startAngle(), side, leads);
            } else if (const auto* circle = dynamic_cast<const host::db::Circle*>(e.get())) {
                code = CircleLeadPoints(circle->center(), circle->radius(), side, leads);
            } else {
                traceable = false;
            }
        }
        if (polyline) {
            const host::db::Status status = host::ed::explodeEntity(id);
            if (status != host::db::Status::Ok) PrintLocalized(kRawExplodeErrorText, static_cast<int>(status));
            continue;
        }
        if (!traceable) continue;
        if (!sideGiven && AskContourSide(id, leads, code) != 0) break;
        PathWriter().PathDescriptionText += SetCutColourForSide(code);
        TraceProfileInteractively(id, leads, code);
        StorePathDescription();
        // One profile makes one group.
        break;
    }
    if (snapRead) SetSysVarInt("OSMODE", static_cast<short>(snapMode));
    EndPathGroup();
    return 0;
}
