// Selection sets: ssGet's modes, and adding, removing, counting, naming and freeing the members of a set.
#include "host/ed/selection.h"

#include <algorithm>

#include "host/ed/selection_modes.h"
#include "host/ed/sysvars.h"
#include "host/sys/text_case.h"

namespace host::ed {

namespace {

// ERRNO after a selection that found nothing.
constexpr int kErrnoNothingFound = 7;

bool isLiveEntity(db::ObjectId id) {
    if (id.isNull() || id.isErased()) return false;
    return dynamic_cast<const db::Entity*>(id.database()->peek(id)) != nullptr;
}

// The mode without its "_" and in upper case: "_X" and "x" are both "X".
std::string modeName(std::string_view mode) {
    while (!mode.empty() && mode.front() == '_') mode.remove_prefix(1);
    return sys::upperCase(mode);
}

int finish(const std::vector<db::ObjectId>& members, db::EntityName& set) {
    if (members.empty()) {
        setErrno(kErrnoNothingFound);
        return db::RTERROR;
    }
    set = detail::storeSet(members);
    detail::setPreviousSelection(members);
    setErrno(0);
    return db::RTNORM;
}

}  // namespace

int ssGet(std::string_view mode, const ge::Point3d* pt1, const ge::Point3d* pt2, const db::ResBufList* filter,
          db::EntityName& set, const std::vector<ge::Point3d>* fencePoints) {
    std::optional<SelectionFilter> compiled;
    if (filter && !filter->empty()) {
        compiled = SelectionFilter::compile(*filter);
        if (!compiled) return db::RTERROR;
    }
    const SelectionFilter* f = compiled ? &*compiled : nullptr;
    const std::string name = modeName(mode);
    if (name.empty()) {
        std::vector<db::ObjectId> members;
        const int status = detail::selectByUser(f, members);
        if (status != db::RTNORM) return status;
        return finish(members, set);
    }
    const db::Database* db = db::workingDatabase();
    if (!db) return db::RTERROR;
    std::vector<db::ObjectId> members;
    if (name == "X") {
        members = detail::selectAll(*db, f);
    } else if (name == "C" || name == "W") {
        if (!pt1 || !pt2) return db::RTERROR;
        members = detail::selectInBox(*db, detail::Box::of(pt1->to2d(), pt2->to2d()), name == "C", f);
    } else if (name == "F") {
        std::vector<ge::Point2d> points;
        if (fencePoints) {
            for (const ge::Point3d& p : *fencePoints) points.push_back(p.to2d());
        } else if (pt1 && pt2) {
            points = {pt1->to2d(), pt2->to2d()};
        }
        if (points.size() < 2) return db::RTERROR;
        members = detail::selectByFence(*db, points, f);
    } else if (name == "L") {
        if (const auto last = detail::selectLast(*db, f)) members.push_back(*last);
    } else if (name == "P") {
        for (db::ObjectId id : detail::previousSelection())
            if (!f || f->matches(id)) members.push_back(id);
    } else if (name == "I") {
        // The host keeps no selection made before a command (no pickfirst set): nothing is implied.
    } else {
        return db::RTERROR;
    }
    return finish(members, set);
}

bool matchesFilter(db::ObjectId entity, const db::ResBufList& filter) {
    const auto compiled = SelectionFilter::compile(filter);
    return compiled && compiled->matches(entity);
}

int ssAdd(const db::EntityName* entity, const db::EntityName* set, db::EntityName& result) {
    std::optional<db::ObjectId> id;
    if (entity) {
        id = db::nameToId(*entity);
        if (!isLiveEntity(*id)) return db::RTERROR;
    }
    if (!set) {
        result = detail::storeSet(id ? std::vector<db::ObjectId>{*id} : std::vector<db::ObjectId>{});
        return db::RTNORM;
    }
    if (!detail::storedSet(*set)) return db::RTERROR;
    if (entity) detail::addToStoredSet(*set, *entity);
    result = *set;
    return db::RTNORM;
}

int ssDel(const db::EntityName& entity, const db::EntityName& set) {
    return detail::removeFromStoredSet(set, entity) ? db::RTNORM : db::RTERROR;
}

int ssLength(const db::EntityName& set, std::int32_t& length) {
    const std::vector<db::EntityName>* members = detail::storedSet(set);
    if (!members) return db::RTERROR;
    length = std::int32_t(members->size());
    return db::RTNORM;
}

int ssName(const db::EntityName& set, std::int32_t index, db::EntityName& entity) {
    const std::vector<db::EntityName>* members = detail::storedSet(set);
    if (!members || index < 0 || std::size_t(index) >= members->size()) return db::RTERROR;
    entity = (*members)[std::size_t(index)];
    return db::RTNORM;
}

int ssMemb(const db::EntityName& entity, const db::EntityName& set) {
    const std::vector<db::EntityName>* members = detail::storedSet(set);
    if (!members) return db::RTERROR;
    return std::find(members->begin(), members->end(), entity) != members->end() ? db::RTNORM : db::RTERROR;
}

int ssFree(const db::EntityName& set) { return detail::freeSet(set) ? db::RTNORM : db::RTERROR; }

std::vector<db::ObjectId> selectionIds(const db::EntityName& set) {
    const std::vector<db::EntityName>* members = detail::storedSet(set);
    return members ? detail::liveIds(*members) : std::vector<db::ObjectId>{};
}

}  // namespace host::ed
