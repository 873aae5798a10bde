// The moves a drawing's saved path groups make, for whole-program tests that compare NC programs with them.
#pragma once

#include <cmath>
#include <string>
#include <vector>

#include "host/db/database.h"
#include "host/db/dictionary.h"
#include "host/db/entities.h"
#include "host/sys/text_case.h"

namespace e2e {

// A point the tool reaches, and whether it got there cutting.
struct Visit {
    host::ge::Point3d at;
    bool cutting = false;
};

inline bool near(const host::ge::Point3d& a, const host::ge::Point3d& b, double tolerance = 2e-3) {
    return std::abs(a.x - b.x) < tolerance && std::abs(a.y - b.y) < tolerance;
}

// Adds `v` unless the tool stands there already.
inline void visit(std::vector<Visit>& visits, const Visit& v) {
    const host::ge::Point3d last = visits.empty() ? host::ge::Point3d() : visits.back().at;
    if (!near(last, v.at)) visits.push_back(v);
}

// The points the saved path groups take the tool to, in group order: the end of every line (a cut for
// "CONTINUOUS", a rapid otherwise), and with `arcEnds` the far end of every arc of a contour (the end the tool is
// not at); the two half arcs of a circle bring the tool back to where the circle began.
inline std::vector<Visit> pathVisits(const host::db::Database& db, int& circles, bool arcEnds = false) {
    const auto* groups = dynamic_cast<const host::db::Dictionary*>(db.peek(db.groupDictionaryId()));
    std::vector<Visit> visits;
    circles = 0;
    if (groups == nullptr) return visits;
    for (int n = 1;; ++n) {
        const host::db::ObjectId id = groups->getAt("DOROZ_" + std::to_string(n));
        if (id.isNull()) break;
        const auto* group = dynamic_cast<const host::db::Group*>(db.peek(id));
        const bool circle = group->description().rfind("Slice_Circle", 0) == 0;
        circles += circle ? 1 : 0;
        for (host::db::ObjectId m : group->allEntityIds()) {
            const auto* e = dynamic_cast<const host::db::Entity*>(db.peek(m));
            if (const auto* line = dynamic_cast<const host::db::Line*>(e)) {
                visit(visits, {line->end(), host::sys::equalsNoCase(line->linetype(), "CONTINUOUS")});
            } else if (const auto* arc = dynamic_cast<const host::db::Arc*>(e); arc && !circle && arcEnds) {
                const host::ge::Point3d at = visits.empty() ? host::ge::Point3d() : visits.back().at;
                const host::ge::Point3d start = arc->startPoint(), end = arc->endPoint();
                visit(visits, {near(at, start, 1e-2) ? end : start, true});
            }
            // The whole circle ends where it started: no new point.
        }
    }
    return visits;
}

}  // namespace e2e
