// TTO and TTI: a picked circle or polyline offset by a distance the user gives, drawn into the drawing.
#include "nesting/drawings/offset_test_command.h"

#include <vector>

#include "cadlib/entity_creation.h"
#include "cadlib/host_variables.h"
#include "host/db/database.h"
#include "host/db/resbuf.h"
#include "host/ed/prompts.h"
#include "nesting/drawings/drawing_messages.h"
#include "nesting/drawings/entity_contours.h"
#include "nesting/geometry/contour_offset.h"

using host::ge::Point3d;

namespace {

constexpr double kDefaultDistance = 10.0;

Point3d At(const host::ge::Point2d& p) { return {p.x, p.y, 0.0}; }

void DrawResult(const Contour& c) {
    SetSysVarString("CECOLOR", c.ContourClass == kClassOuter ? "6" : "3");
    for (const ContourElement& e : c.Elements) {
        host::db::ObjectId id;
        if (e.Type == kElementCircle) AddCircle(id, At(e.Centre), e.Radius);
        else if (e.Type == kElementLine) AddLine(id, At(e.Start), At(e.End));
        else if (e.Type == kElementArc) AddArcByPoints(id, At(e.Centre), At(e.Start), At(e.End));
    }
}

// The picked entity as a contour; false for an entity that is neither a circle nor a lightweight polyline.
bool ContourOfPick(const host::db::EntityName& name, Contour& c) {
    host::db::ObjectPtr<host::db::Entity> entity(host::db::nameToId(name), host::db::OpenMode::Read);
    if (!entity) return false;
    if (const auto* circle = dynamic_cast<const host::db::Circle*>(entity.get())) {
        CircleToContour(*circle, c);
        c.ContourClass = kClassOuter;
        return true;
    }
    if (const auto* polyline = dynamic_cast<const host::db::LwPolyline*>(entity.get())) {
        PolylineToContour(*polyline, c);
        c.GeometryKind = kGeometryChain;
        return true;
    }
    return false;
}

}  // namespace

void TestContourOffset(CNestingState& state, int mode) {
    double distance = kDefaultDistance;
    if (host::ed::getDist(nullptr, Localized(kPromptOffsetDistance), distance) != host::db::RTNORM) {
        distance = kDefaultDistance;
    } else if (distance < 0.0) {
        distance = -distance;
        mode = mode == kOffsetOutward ? kOffsetInward : kOffsetOutward;
    }
    for (;;) {
        host::db::EntityName picked;
        Point3d at;
        if (host::ed::entSel(Localized(kPromptOffsetObject), picked, at) != host::db::RTNORM) return;
        Contour source;
        if (!ContourOfPick(picked, source)) continue;
        std::vector<Contour> results;
        const int n = OffsetContour(state.Offset, source, mode, distance, results, state.Unit);
        for (int k = 0; k < n; ++k) DrawResult(results[static_cast<std::size_t>(k)]);
    }
}
