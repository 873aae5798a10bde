// PEDIT: turning lines, arcs and splines into polylines and editing polylines (close, open, join, width, decurve,
// line-type generation, reverse), for one polyline or a selection ("Multiple").
#include <algorithm>
#include <unordered_set>

#include "host/ed/answers.h"
#include "host/ed/command.h"
#include "host/ed/command_stack.h"
#include "host/ed/commands/command_bodies.h"
#include "host/ed/commands/command_support.h"
#include "host/ed/commands/poly_path.h"
#include "host/ed/commands/polyline_edit.h"
#include "host/ed/prompts.h"
#include "host/ed/sysvars.h"
#include "host/ed/transcript.h"

namespace host::ed::commands {

namespace {

using db::ObjectId;
using db::OpenMode;

constexpr int kDefaultPrecision = 10;

bool isConvertible(const db::Entity& e) {
    return dynamic_cast<const db::Line*>(&e) || dynamic_cast<const db::Arc*>(&e) || dynamic_cast<const db::Spline*>(&e);
}

const db::Entity* entityOf(ObjectId id) {
    return id.isNull() ? nullptr : dynamic_cast<const db::Entity*>(id.database()->peek(id));
}

// The entities to edit: the polyline picked, or a selection after "Multiple". nullopt when cancelled.
std::optional<std::vector<ObjectId>> chooseObjects(bool& multiple) {
    initGet(0, "Multiple _Multiple");
    db::EntityName name;
    ge::Point3d at;
    const int status = entSel("\nSelect polyline or [Multiple]: ", name, at);
    if (status == db::RTKWORD) {
        multiple = true;
        return selectObjects();
    }
    if (status != db::RTNORM) return std::nullopt;
    multiple = false;
    return std::vector<ObjectId>{db::nameToId(name)};
}

// Turns the lines, arcs and splines among `ids` into polylines when the user agrees (or PEDITACCEPT says so).
// Answers the polylines to edit, in the order of `ids`; nullopt when cancelled.
std::optional<std::vector<ObjectId>> polylinesToEdit(const std::vector<ObjectId>& ids, bool multiple) {
    std::vector<ObjectId> polylines;
    std::size_t convertible = 0, splines = 0, other = 0;
    for (ObjectId id : ids) {
        const db::Entity* e = entityOf(id);
        if (!e || e->isErased()) continue;
        if (dynamic_cast<const db::LwPolyline*>(e)) continue;
        if (isConvertible(*e)) {
            ++convertible;
            if (dynamic_cast<const db::Spline*>(e)) ++splines;
        } else {
            ++other;
        }
    }
    if (other > 0) print("\n" + counted(other, "object is", "objects are") + " not a polyline and cannot become one.");
    bool convert = false;
    if (convertible > 0) {
        if (getShort("PEDITACCEPT") != 0) {
            convert = true;
        } else {
            const char* question = multiple
                                       ? "\nConvert Lines, Arcs and Splines to polylines [Yes/No]? <Y>: "
                                       : "\nObject selected is not a polyline\nDo you want to turn it into one? <Y>: ";
            const auto yes = askYesNo(question, true);
            if (!yes) return std::nullopt;
            convert = *yes;
        }
    }
    SplineConversion conversion;
    conversion.arcs = getShort("PLINECONVERTMODE") != 0;
    if (convert && splines > 0) {
        const auto precision = askIntInRange("\nSpecify a precision <10>: ", 0, SplineConversion::kMaxPrecision,
                                             kDefaultPrecision);
        if (!precision) return std::nullopt;
        conversion.precision = *precision;
    }
    std::unordered_set<ObjectId> listed(polylines.begin(), polylines.end());   // each polyline once
    for (ObjectId id : ids) {
        const db::Entity* e = entityOf(id);
        if (!e || e->isErased()) continue;
        if (dynamic_cast<const db::LwPolyline*>(e)) {
            if (listed.insert(id).second) polylines.push_back(id);
        } else if (convert && isConvertible(*e)) {
            ObjectId pl;
            if (convertToPolyline(id, conversion, &pl) == db::Status::Ok) polylines.push_back(pl);
            else print("\nAn object could not be turned into a polyline.");
        }
    }
    return polylines;
}

// Applies a change to every polyline of the edit.
template <class Change>
void forEachPolyline(const std::vector<ObjectId>& polylines, Change&& change) {
    for (ObjectId id : polylines) {
        db::ObjectPtr<db::LwPolyline> pl(id, OpenMode::Write);
        if (pl) change(*pl);
    }
}

void joinOption(std::vector<ObjectId>& polylines) {
    double fuzz = 0.0;
    while (true) {
        initGet(RSG_NONEG, "Jointype _Jointype");
        const int status = getDist(nullptr, "\nEnter fuzz distance or [Jointype] <0.0000>: ", fuzz);
        if (status == db::RTNONE) fuzz = 0.0;
        else if (status == db::RTKWORD) {
            // Gaps within the fuzz are always bridged by a straight segment ("Add"); the question is answered.
            if (!askKeyword("\nEnter join type [Extend/Add/Both] <Add>: ", "Extend Add Both _Extend Add Both",
                            "Add"))
                return;
            continue;
        } else if (status != db::RTNORM) {
            return;
        }
        break;
    }
    JoinResult result;
    joinPolylines(polylines, fuzz, &result);
    // Closed polylines given are not joined and stay in the edit after the chains.
    std::vector<ObjectId> next = result.polylines;
    std::unordered_set<ObjectId> kept(next.begin(), next.end());
    for (ObjectId id : polylines)
        if (!id.isErased() && kept.insert(id).second) next.push_back(id);
    polylines = next;
    print("\n" + counted(std::size_t(result.joined), "segment", "segments") + " added to " +
          counted(result.polylines.size(), "polyline", "polylines"));
}

void peditCommand() {
    bool multiple = false;
    const auto chosen = chooseObjects(multiple);
    if (!chosen) return;
    auto polylines = polylinesToEdit(*chosen, multiple);
    if (!polylines) return;
    if (polylines->empty()) {
        // Declining to turn lines, arcs or splines into polylines ends the command; having nothing else fails it.
        const bool declined = std::any_of(chosen->begin(), chosen->end(), [](ObjectId id) {
            const db::Entity* e = entityOf(id);
            return e && !e->isErased() && isConvertible(*e);
        });
        if (!declined) fail("No polyline to edit.");
        return;
    }
    const std::string options = "Close Open Join Width Decurve Ltype Reverse _Close Open Join Width Decurve Ltype "
                                "Reverse";
    while (true) {
        const auto option = askKeyword("\nEnter an option [Close/Open/Join/Width/Decurve/Ltype gen/Reverse]: ",
                                       options, "");
        if (!option || option->empty()) return;
        if (*option == "Close" || *option == "Open") {
            const bool close = *option == "Close";
            forEachPolyline(*polylines, [&](db::LwPolyline& p) { p.setClosed(close); });
        } else if (*option == "Join") {
            joinOption(*polylines);
        } else if (*option == "Width") {
            double width = 0.0;
            initGet(RSG_NONEG);
            if (!answered(getDist(nullptr, "\nSpecify new width for all segments: ", width))) return;
            forEachPolyline(*polylines, [&](db::LwPolyline& p) {
                for (unsigned i = 0; i < p.numVerts(); ++i) p.setWidthsAt(i, width, width);
                p.setConstantWidth(width);
            });
        } else if (*option == "Decurve") {
            forEachPolyline(*polylines, [](db::LwPolyline& p) {
                for (unsigned i = 0; i < p.numVerts(); ++i) p.setBulgeAt(i, 0.0);
            });
        } else if (*option == "Ltype") {
            const auto on = askKeyword("\nEnter polyline linetype generation option [ON/OFF] <Off>: ",
                                       "ON OFF _ON OFF", "OFF");
            if (!on) return;
            forEachPolyline(*polylines, [&](db::LwPolyline& p) { p.setPlinegen(*on == "ON"); });
        } else if (*option == "Reverse") {
            forEachPolyline(*polylines, [](db::LwPolyline& p) { p.reverseCurve(); });
        }
    }
}

}  // namespace

void registerPeditCommand() { addHostCommand("PEDIT", 0, peditCommand); }

}  // namespace host::ed::commands
