// POINT, RECTANGLE and -BOUNDARY: the host's drawing commands. New entities take the drawing's current layer,
// colour, line type and line-type scale.
#include <cmath>
#include <cstdio>

#include "host/ed/answers.h"
#include "host/ed/command.h"
#include "host/ed/commands/boundary_trace.h"
#include "host/ed/commands/command_bodies.h"
#include "host/ed/commands/command_support.h"
#include "host/ed/prompts.h"
#include "host/ed/transcript.h"

namespace host::ed::commands {

namespace {

db::Status appendToModelSpace(db::Database& db, std::unique_ptr<db::Entity> entity) {
    db::ObjectPtr<db::BlockTableRecord> ms(db.modelSpaceId(), db::OpenMode::Write);
    return ms ? ms->appendEntity(std::move(entity)) : ms.status();
}

void pointCommand() {
    db::Database* db = drawing();
    if (!db) return;
    char modes[96];
    std::snprintf(modes, sizeof modes, "\nCurrent point modes:  PDMODE=%d  PDSIZE=%.4f", db->header().pdMode,
                  db->header().pdSize);
    print(modes);
    ge::Point3d p;
    if (!answered(getPoint(nullptr, "\nSpecify a point: ", p))) return;
    if (appendToModelSpace(*db, std::make_unique<db::PointEntity>(p)) != db::Status::Ok)
        fail("The point could not be added.");
}

// RECTANGLE: a closed polyline from the first corner, along x to the other corner's x, then round.
void rectangleCommand() {
    db::Database* db = drawing();
    if (!db) return;
    ge::Point3d first;
    if (!answered(getPoint(nullptr, "\nSpecify first corner point: ", first))) return;
    // The other corner must differ from the first in x and in y.
    const double tol = ge::globalTolerance().equalPoint;
    const Checked<ge::Point3d> other = askPointChecked(
        "\nSpecify other corner point: ", first, "The corners make no rectangle: they must differ in x and in y.",
        [&](const ge::Point3d& p) { return std::abs(p.x - first.x) > tol && std::abs(p.y - first.y) > tol; });
    if (other.status == db::RTNONE) setCommandResult(db::RTCAN);
    if (other.status != db::RTNORM) return;
    auto pline = std::make_unique<db::LwPolyline>();
    pline->addVertexAt(0, {first.x, first.y});
    pline->addVertexAt(1, {other.value.x, first.y});
    pline->addVertexAt(2, {other.value.x, other.value.y});
    pline->addVertexAt(3, {first.x, other.value.y});
    pline->setClosed(true);
    pline->setElevation(first.z);
    if (appendToModelSpace(*db, std::move(pline)) != db::Status::Ok) fail("The rectangle could not be added.");
}

// -BOUNDARY: a closed polyline round each point given, until Enter. A point with no closed outline round it is
// told and makes the command fail (the points after it are still taken).
void boundaryCommand() {
    db::Database* db = drawing();
    if (!db) return;
    std::size_t created = 0;
    while (true) {
        ge::Point3d p;
        const int status = getPoint(nullptr, "\nPick internal point: ", p);
        if (status == db::RTNONE) break;
        if (status != db::RTNORM) return;
        switch (addBoundary(*db, p.to2d())) {
        case BoundaryOutcome::Created: ++created; break;
        case BoundaryOutcome::NotFound: fail("Valid boundary not found."); break;
        case BoundaryOutcome::Failed: fail("The boundary could not be added."); break;
        }
    }
    print("\nBOUNDARY created " + counted(created, "polyline", "polylines"));
}

}  // namespace

void registerDrawCommands() {
    addHostCommand("POINT", 0, pointCommand);
    addHostCommand("RECTANGLE", 0, rectangleCommand);
    addHostCommand("RECTANG", 0, rectangleCommand);
    addHostCommand("-BOUNDARY", 0, boundaryCommand);
}

}  // namespace host::ed::commands
