// The public outline of an entity: the plan-view pieces the intersections use, and the boxes of texts.
#include "host/db/outline.h"

#include "host/db/entity_geometry.h"

namespace host::db {

namespace {

OutlinePiece fromPlanPiece(const detail::PlanPiece& p) {
    OutlinePiece out;
    switch (p.kind) {
    case detail::PlanPiece::Kind::Point: out.kind = OutlinePiece::Kind::Point; break;
    case detail::PlanPiece::Kind::Line: out.kind = OutlinePiece::Kind::Line; break;
    case detail::PlanPiece::Kind::Arc: out.kind = OutlinePiece::Kind::Arc; break;
    }
    out.line = p.line;
    out.arc = p.arc;
    out.z0 = p.z0;
    out.z1 = p.z1;
    return out;
}

void addBox(std::vector<OutlinePiece>& out, const std::vector<ge::Point3d>& corners) {
    for (std::size_t i = 0; i < corners.size(); ++i) {
        const ge::Point3d& a = corners[i];
        const ge::Point3d& b = corners[(i + 1) % corners.size()];
        OutlinePiece piece;
        piece.line = {a.to2d(), b.to2d()};
        piece.z0 = a.z;
        piece.z1 = b.z;
        out.push_back(piece);
    }
}

}  // namespace

std::vector<OutlinePiece> entityOutline(const Entity& entity) {
    std::vector<OutlinePiece> out;
    if (const auto* text = dynamic_cast<const Text*>(&entity)) {
        addBox(out, detail::textBoxCorners(*text));
    } else if (const auto* mtext = dynamic_cast<const MText*>(&entity)) {
        addBox(out, detail::textBoxCorners(*mtext));
    } else {
        for (const detail::PlanPiece& p : detail::planPieces(entity, false)) out.push_back(fromPlanPiece(p));
    }
    return out;
}

}  // namespace host::db
