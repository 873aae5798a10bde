// Object snap at a point: the entities under the aperture, the snap points each mode gives on them, and the rule
// that chooses one.
//
// The rule, in order:
//   1. Candidates are the entities that show (as for a pick) whose outline comes within the aperture of the point
//      (APERTURE pixels at the view's scale). None: RTERROR.
//   2. Among the snap points of the modes other than _NEA that lie within the aperture, the nearest to the point.
//   3. Else, with _NEA asked, the nearest point of a candidate's outline.
//   4. Else the nearest snap point of the other modes anywhere on the candidates (the far end of a long line
//      crossing the aperture, the centre of a circle whose edge crosses it), intersections excepted.
// Ties go to the mode named first, then to the entity drawn last.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "host/db/database.h"
#include "host/ed/display.h"
#include "host/ed/pick_geometry.h"
#include "host/ed/prompts.h"
#include "host/ed/selection.h"
#include "host/ed/sysvars.h"
#include "host/ge/angle.h"
#include "host/ge/intersect.h"
#include "host/sys/text_case.h"

namespace host::ed {

namespace {

using db::OutlinePiece;
using detail::Shape;

enum class Mode { End, Mid, Cen, Nea, Int, Per, Qua, Nod, Ins };

// The full names of the modes: a mode is named by three or more of its first letters, with or without "_".
struct ModeName {
    const char* name;
    Mode mode;
};
constexpr ModeName kModeNames[] = {
    {"ENDPOINT", Mode::End},     {"MIDPOINT", Mode::Mid},      {"CENTER", Mode::Cen},
    {"NEAREST", Mode::Nea},      {"INTERSECTION", Mode::Int},  {"PERPENDICULAR", Mode::Per},
    {"QUADRANT", Mode::Qua},     {"NODE", Mode::Nod},          {"INSERTION", Mode::Ins},
};
constexpr std::size_t kMinModeLetters = 3;

// The modes of a list such as "_END,_NEA"; nullopt for a word that names no mode. "_NON" (none) adds nothing.
std::optional<std::vector<Mode>> parseModes(std::string_view list) {
    std::vector<Mode> modes;
    while (!list.empty()) {
        const std::size_t comma = list.find(',');
        std::string word = sys::upperCase(list.substr(0, comma));
        list = comma == std::string_view::npos ? std::string_view() : list.substr(comma + 1);
        while (!word.empty() && (word.front() == '_' || word.front() == ' ')) word.erase(0, 1);
        while (!word.empty() && word.back() == ' ') word.pop_back();
        if (word.empty()) continue;
        if (word.size() >= kMinModeLetters && std::string_view("NONE").starts_with(word)) continue;
        bool found = false;
        for (const ModeName& m : kModeNames) {
            if (word.size() >= kMinModeLetters && std::string_view(m.name).starts_with(word)) {
                if (std::find(modes.begin(), modes.end(), m.mode) == modes.end()) modes.push_back(m.mode);
                found = true;
                break;
            }
        }
        if (!found) return std::nullopt;
    }
    return modes;
}

struct Candidate {
    db::ObjectId id;
    const db::Entity* entity;
    Shape shape;
    std::size_t order;  // drawing order
};

// A snap point found, with what decides among equals.
struct Found {
    ge::Point3d point;
    double distance = HUGE_VAL;
    std::size_t modeRank = 0;
    std::size_t order = 0;

    // Better: nearer; then the mode named first; then the entity drawn last.
    bool betterThan(const Found& o) const {
        if (distance != o.distance) return distance < o.distance;
        if (modeRank != o.modeRank) return modeRank < o.modeRank;
        return order > o.order;
    }
};

bool isTextPart(const db::ObjectId id) {
    const db::DbObject* o = id.database()->peek(id);
    return dynamic_cast<const db::Text*>(o) || dynamic_cast<const db::MText*>(o);
}

// Spline and ellipse outlines are chords: only their first and last ends are the entity's ends.
bool isChorded(const db::ObjectId id) {
    const db::DbObject* o = id.database()->peek(id);
    return dynamic_cast<const db::Spline*>(o) || dynamic_cast<const db::Ellipse*>(o);
}

ge::Point3d at(const ge::Point2d& p, double z) { return {p.x, p.y, z}; }

double lineZ(const OutlinePiece& piece, const ge::Point2d& p) {
    const double t = std::clamp(piece.line.paramOf(p), 0.0, 1.0);
    return piece.z0 + (piece.z1 - piece.z0) * t;
}

// The snap points a mode gives on one candidate (intersections and nearest points apart).
void snapPoints(Mode mode, const Candidate& c, const ge::Point3d& last, std::vector<ge::Point3d>& out) {
    const auto& pieces = c.shape.pieces;
    if (mode == Mode::Ins) {
        if (const auto* ref = dynamic_cast<const db::BlockReference*>(c.entity)) out.push_back(ref->position());
        else if (const auto* text = dynamic_cast<const db::Text*>(c.entity)) {
            const bool justified = text->horizontalMode() != 0 || text->verticalMode() != 0;
            out.push_back(justified ? text->alignmentPoint() : text->position());
        } else if (const auto* mtext = dynamic_cast<const db::MText*>(c.entity)) {
            out.push_back(mtext->location());
        }
        return;
    }
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const OutlinePiece& p = pieces[i].piece;
        const db::ObjectId part = c.shape.parts[pieces[i].part].entity;
        if (isTextPart(part)) continue;
        const bool chorded = isChorded(part);
        switch (mode) {
        case Mode::End: {
            if (p.kind == OutlinePiece::Kind::Point || (p.kind == OutlinePiece::Kind::Arc && p.arc.full)) break;
            const bool firstOfPart = i == 0 || pieces[i - 1].part != pieces[i].part;
            const bool lastOfPart = i + 1 == pieces.size() || pieces[i + 1].part != pieces[i].part;
            const ge::Point2d s = p.kind == OutlinePiece::Kind::Line ? p.line.start : p.arc.startPoint();
            const ge::Point2d e = p.kind == OutlinePiece::Kind::Line ? p.line.end : p.arc.endPoint();
            if (!chorded || firstOfPart) out.push_back(at(s, p.z0));
            if (!chorded || lastOfPart) out.push_back(at(e, p.kind == OutlinePiece::Kind::Line ? p.z1 : p.z0));
            break;
        }
        case Mode::Mid:
            if (chorded) break;
            if (p.kind == OutlinePiece::Kind::Line) out.push_back(at(p.line.midPoint(), (p.z0 + p.z1) / 2));
            if (p.kind == OutlinePiece::Kind::Arc && !p.arc.full) {
                const double mid = p.arc.startAngle + (p.arc.clockwise ? -1 : 1) * p.arc.sweep() / 2;
                out.push_back(at(p.arc.pointAtAngle(mid), p.z0));
            }
            break;
        case Mode::Cen:
            if (p.kind == OutlinePiece::Kind::Arc) out.push_back(at(p.arc.center, p.z0));
            break;
        case Mode::Qua:
            if (p.kind != OutlinePiece::Kind::Arc) break;
            for (int q = 0; q < 4; ++q) {
                const double a = q * ge::kHalfPi;
                if (p.arc.containsAngle(a)) out.push_back(at(p.arc.pointAtAngle(a), p.z0));
            }
            break;
        case Mode::Nod:
            if (p.kind == OutlinePiece::Kind::Point &&
                dynamic_cast<const db::PointEntity*>(part.database()->peek(part)))
                out.push_back(at(p.line.start, p.z0));
            break;
        case Mode::Per: {
            const ge::Point2d from = last.to2d();
            if (p.kind == OutlinePiece::Kind::Line && !p.line.isDegenerate()) {
                const double t = p.line.paramOf(from);
                if (t >= 0.0 && t <= 1.0) out.push_back(at(p.line.pointAt(t), lineZ(p, p.line.pointAt(t))));
            } else if (p.kind == OutlinePiece::Kind::Arc && from != p.arc.center) {
                const double a = ge::angleFromTo(p.arc.center, from);
                for (double angle : {a, ge::normalizeAngle(a + ge::kPi)})
                    if (p.arc.containsAngle(angle)) out.push_back(at(p.arc.pointAtAngle(angle), p.z0));
            }
            break;
        }
        case Mode::Nea:
        case Mode::Int:
        case Mode::Ins: break;
        }
    }
}

// Crossings of two candidates' outlines.
void intersections(const Candidate& a, const Candidate& b, std::vector<ge::Point3d>& out) {
    for (const detail::ShapePiece& x : a.shape.pieces) {
        if (isTextPart(a.shape.parts[x.part].entity)) continue;
        for (const detail::ShapePiece& y : b.shape.pieces) {
            if (isTextPart(b.shape.parts[y.part].entity)) continue;
            const OutlinePiece &p = x.piece, &q = y.piece;
            ge::Intersections2d r;
            using K = OutlinePiece::Kind;
            if (p.kind == K::Line && q.kind == K::Line) r = ge::intersectLines(p.line, q.line);
            else if (p.kind == K::Line && q.kind == K::Arc) r = ge::intersectLineArc(p.line, q.arc);
            else if (p.kind == K::Arc && q.kind == K::Line) r = ge::intersectLineArc(q.line, p.arc);
            else if (p.kind == K::Arc && q.kind == K::Arc) r = ge::intersectArcs(p.arc, q.arc);
            for (int i = 0; i < r.count; ++i) {
                const ge::Point2d pt = r.points[std::size_t(i)];
                out.push_back(at(pt, p.kind == K::Line ? lineZ(p, pt) : p.z0));
            }
        }
    }
}

int osnapAt(const db::Database& database, const ge::Point3d& point, const std::vector<Mode>& modes,
            double aperture, const ge::Point3d& last, ge::Point3d& result) {
    const ge::Point2d p = point.to2d();
    std::vector<Candidate> candidates;
    const auto* space = dynamic_cast<const db::BlockTableRecord*>(database.peek(database.modelSpaceId()));
    if (!space) return db::RTERROR;
    std::size_t order = 0;
    for (db::ObjectId id : space->entityList()) {
        ++order;
        const auto* e = dynamic_cast<const db::Entity*>(database.peek(id));
        if (!e || !detail::isSelectable(*e)) continue;
        if (const auto box = e->geomExtents())
            if (p.x < box->min.x - aperture || p.x > box->max.x + aperture || p.y < box->min.y - aperture ||
                p.y > box->max.y + aperture)
                continue;
        Shape shape = detail::shapeOf(*e);
        bool near = false;
        for (const detail::ShapePiece& sp : shape.pieces) near = near || detail::distanceTo(sp.piece, p) <= aperture;
        if (near) candidates.push_back({id, e, std::move(shape), order});
    }
    if (candidates.empty()) return db::RTERROR;

    std::optional<Found> within, anywhere, nearest;
    auto offer = [&](std::optional<Found>& best, const ge::Point3d& q, std::size_t rank, std::size_t ord) {
        const Found f{q, q.to2d().distanceTo(p), rank, ord};
        if (!best || f.betterThan(*best)) best = f;
    };
    for (std::size_t rank = 0; rank < modes.size(); ++rank) {
        const Mode mode = modes[rank];
        if (mode == Mode::Nea) {
            for (const Candidate& c : candidates)
                for (const detail::ShapePiece& sp : c.shape.pieces) {
                    if (isTextPart(c.shape.parts[sp.part].entity)) continue;
                    const ge::Point2d q = detail::nearestPoint(sp.piece, p);
                    const double z = sp.piece.kind == OutlinePiece::Kind::Line ? lineZ(sp.piece, q) : sp.piece.z0;
                    offer(nearest, at(q, z), rank, c.order);
                }
            continue;
        }
        std::vector<ge::Point3d> points;
        for (std::size_t i = 0; i < candidates.size(); ++i) {
            points.clear();
            if (mode == Mode::Int) {
                for (std::size_t j = 0; j < candidates.size(); ++j)
                    if (j != i) intersections(candidates[i], candidates[j], points);
            } else {
                snapPoints(mode, candidates[i], last, points);
            }
            for (const ge::Point3d& q : points) {
                if (q.to2d().distanceTo(p) <= aperture) offer(within, q, rank, candidates[i].order);
                else if (mode != Mode::Int) offer(anywhere, q, rank, candidates[i].order);
            }
        }
    }
    for (const auto* choice : {&within, &nearest, &anywhere}) {
        if (*choice) {
            result = (*choice)->point;
            return db::RTNORM;
        }
    }
    return db::RTERROR;
}

}  // namespace

int osnap(const ge::Point3d& point, std::string_view modes, ge::Point3d& result) {
    const db::Database* db = db::workingDatabase();
    const auto parsed = parseModes(modes);
    if (!db || !parsed) return db::RTERROR;
    if (parsed->empty()) {
        result = point;  // "_NON": the point as given
        return db::RTNORM;
    }
    return osnapAt(*db, point, *parsed, pixelsToUnits(*db, getShort("APERTURE", 10)), lastPoint(), result);
}

}  // namespace host::ed
