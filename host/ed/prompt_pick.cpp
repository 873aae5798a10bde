// Entity picks at a prompt: the answer is a point (or, from a module, an entity name), the entity nearest to it
// within the pick box is the answer, and ERRNO tells a miss from the end of picking.
#include <cmath>

#include "host/db/database.h"
#include "host/ed/answers.h"
#include "host/ed/command.h"
#include "host/ed/pick_geometry.h"
#include "host/ed/prompt_parse.h"
#include "host/ed/prompts.h"
#include "host/ed/sysvars.h"
#include "host/ed/transcript.h"

namespace host::ed {

namespace {

// ERRNO values the host sets at entity picks.
constexpr int kErrnoNone = 0;
constexpr int kErrnoPickMissed = 7;
constexpr int kErrnoNullInput = 52;

constexpr std::string_view kNeedsPick = "Invalid selection. Expects a point";

struct Picked {
    db::ObjectId entity;       // the top-level entity
    detail::ShapePart part;    // the innermost part hit
    ge::Point3d point;
};

// The entity an RTENAME argument names, as a pick: the point is the entity's nearest to the last point.
std::optional<Picked> pickByName(const db::EntityName& name) {
    const db::ObjectId id = db::nameToId(name);
    if (id.isNull() || id.isErased()) return std::nullopt;
    const auto* e = dynamic_cast<const db::Entity*>(id.database()->peek(id));
    if (!e) return std::nullopt;
    Picked picked{id, {id, {}, ge::Matrix3d::identity()}, lastPoint()};
    const detail::Shape shape = detail::shapeOf(*e);
    double best = HUGE_VAL;
    for (const detail::ShapePiece& sp : shape.pieces) {
        const ge::Point2d q = detail::nearestPoint(sp.piece, picked.point.to2d());
        if (const double d = q.distanceTo(picked.point.to2d()); d < best) {
            best = d;
            picked.point = ge::Point3d(q, sp.piece.z0);
        }
    }
    return picked;
}

// Asks for a pick until one hits, misses, or picking ends. Answers the status and fills `picked` on a hit.
int askPick(std::string_view prompt, std::optional<Picked>& picked) {
    const detail::PromptSettings settings = detail::takePromptSettings();
    while (true) {
        const Answer answer = nextAnswer(prompt);
        switch (answer.kind) {
        case Answer::Kind::Cancel:
        case Answer::Kind::EndOfInput:
        case Answer::Kind::EndOfArguments: setErrno(kErrnoNone); return db::RTCAN;
        case Answer::Kind::Enter: setErrno(kErrnoNullInput); return db::RTNONE;
        case Answer::Kind::Value: break;
        }
        const db::ResBuf& v = answer.value;
        std::optional<ge::Point3d> point;
        if (v.code == db::RTENAME) {
            picked = pickByName(v.name());
            if (picked) {
                setErrno(kErrnoNone);
                return db::RTNORM;
            }
        } else if (v.code == db::RTPOINT || v.code == db::RT3DPOINT) {
            point = v.point();
            if (v.code == db::RTPOINT) point->z = 0.0;
        } else if (v.code == db::RTSTR) {
            point = detail::parsePoint(v.str(), lastPoint());
            if (!point) {
                if (const auto keyword = settings.keywords.match(v.str())) {
                    detail::setLastKeyword(*keyword);
                    setErrno(kErrnoNone);
                    return db::RTKWORD;
                }
                if (settings.flags & RSG_OTHER) {
                    detail::setLastKeyword(v.str());
                    setErrno(kErrnoNone);
                    return db::RTKWORD;
                }
            }
        }
        if (point) {
            const db::Database* db = db::workingDatabase();
            const auto hit = db ? detail::pickNearest(*db, point->to2d(), detail::pickAperture(*db)) : std::nullopt;
            if (!hit) {
                setErrno(kErrnoPickMissed);
                return db::RTERROR;
            }
            picked = Picked{hit->entity, hit->part, *point};
            setErrno(kErrnoNone);
            return db::RTNORM;
        }
        print("\n" + std::string(kNeedsPick) + (settings.keywords.empty() ? "." : " or option keyword."));
        if (answer.fromArguments) {
            setCommandResult(db::RTERROR);
            setErrno(kErrnoNone);
            return db::RTERROR;
        }
        retryFromInput();
    }
}

}  // namespace

int entSel(std::string_view prompt, db::EntityName& entity, ge::Point3d& pickPoint) {
    std::optional<Picked> picked;
    const int status = askPick(prompt, picked);
    if (status == db::RTNORM) {
        entity = db::idToName(picked->entity);
        pickPoint = picked->point;
    }
    return status;
}

int nentSel(std::string_view prompt, db::EntityName& entity, ge::Point3d& pickPoint, ge::Matrix3d* toWorld,
            std::vector<db::EntityName>* containers) {
    std::optional<Picked> picked;
    const int status = askPick(prompt, picked);
    if (status == db::RTNORM) {
        entity = db::idToName(picked->part.entity);
        pickPoint = picked->point;
        if (toWorld) *toWorld = picked->part.toWorld;
        if (containers) {
            containers->clear();
            for (db::ObjectId id : picked->part.containers) containers->push_back(db::idToName(id));
        }
    }
    return status;
}

}  // namespace host::ed
