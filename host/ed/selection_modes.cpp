// Selection by the whole drawing, windows, crossing windows, fences, the last entity and groups, and the store of
// selection sets.
#include "host/ed/selection_modes.h"

#include <algorithm>
#include <map>
#include <unordered_set>

#include "host/db/dictionary.h"
#include "host/ed/selection.h"

namespace host::ed::detail {

namespace {

const db::Entity* entityOf(const db::Database& database, db::ObjectId id) {
    const db::DbObject* o = database.peek(id);
    const db::Entity* e = o ? o->asEntity() : nullptr;
    return e && !e->isErased() ? e : nullptr;
}

bool passes(const db::Entity& e, const SelectionFilter* filter) { return !filter || filter->matches(e); }

// The selectable top-level entities of model space, in drawing order.
template <class F>
void forEachSelectable(const db::Database& database, F&& f) {
    const auto* space = dynamic_cast<const db::BlockTableRecord*>(database.peek(database.modelSpaceId()));
    if (!space) return;
    for (db::ObjectId id : space->entityList()) {
        const db::Entity* e = entityOf(database, id);
        if (e && isSelectable(*e)) f(id, *e);
    }
}

struct EntityNameHash {
    std::size_t operator()(const db::EntityName& n) const noexcept {
        return std::hash<std::int64_t>()(n.word[0]) ^ (std::hash<std::int64_t>()(n.word[1]) * 0x9E3779B97F4A7C15ull);
    }
};

// One set: its members in the order they came, and the same names hashed, so that adding to a large set does not
// search it.
struct StoredSet {
    std::vector<db::EntityName> names;
    std::unordered_set<db::EntityName, EntityNameHash> members;
};

struct SetStore {
    std::map<std::int64_t, StoredSet> sets;
    std::int64_t next = 1;
    std::vector<db::EntityName> previous;
};

SetStore& store() {
    static SetStore s;
    return s;
}

}  // namespace

std::vector<db::ObjectId> selectAll(const db::Database& database, const SelectionFilter* filter) {
    std::vector<db::ObjectId> out;
    FilterPass pass(filter);
    for (db::ObjectId id = database.firstEntity(); !id.isNull(); id = database.nextEntity(id)) {
        const db::Entity* e = entityOf(database, id);
        if (e && pass.passes(*e)) out.push_back(id);
    }
    return out;
}

std::vector<db::ObjectId> selectAllUnfrozen(const db::Database& database, const SelectionFilter* filter) {
    std::vector<db::ObjectId> out;
    const auto* space = dynamic_cast<const db::BlockTableRecord*>(database.peek(database.modelSpaceId()));
    if (!space) return out;
    FilterPass pass(filter);
    for (db::ObjectId id : space->entityList()) {
        const db::Entity* e = entityOf(database, id);
        if (!e) continue;
        const auto* layer = dynamic_cast<const db::LayerTableRecord*>(database.peek(e->layerId()));
        if (layer && layer->isFrozen()) continue;
        if (pass.passes(*e)) out.push_back(id);
    }
    return out;
}

std::vector<db::ObjectId> selectInBox(const db::Database& database, const Box& box, bool crossing,
                                      const SelectionFilter* filter) {
    std::vector<db::ObjectId> out;
    FilterPass pass(filter);
    forEachSelectable(database, [&](db::ObjectId id, const db::Entity& e) {
        const auto extents = e.geomExtents();
        if (extents) {
            // Boxes that do not meet cannot touch; a window needs the extents inside.
            if (extents->max.x < box.lo.x || extents->min.x > box.hi.x || extents->max.y < box.lo.y ||
                extents->min.y > box.hi.y)
                return;
            if (!crossing && !(box.contains(extents->min.to2d()) && box.contains(extents->max.to2d()))) return;
        }
        if (!pass.passes(e)) return;
        const Shape shape = shapeOf(e);
        if (crossing ? touchesBox(shape, box) : insideBox(shape, box)) out.push_back(id);
    });
    return out;
}

std::vector<db::ObjectId> selectByFence(const db::Database& database, const std::vector<ge::Point2d>& points,
                                        const SelectionFilter* filter) {
    struct Met {
        double at;
        std::size_t order;
        db::ObjectId id;
    };
    std::vector<Met> met;
    if (points.empty()) return {};
    const Box reach = [&] {
        Box b{points.front(), points.front()};
        for (const ge::Point2d& p : points) b = Box::of({std::min(b.lo.x, p.x), std::min(b.lo.y, p.y)},
                                                        {std::max(b.hi.x, p.x), std::max(b.hi.y, p.y)});
        return b;
    }();
    std::size_t order = 0;
    forEachSelectable(database, [&](db::ObjectId id, const db::Entity& e) {
        ++order;
        // An entity whose box the fence's box does not meet cannot be met.
        if (const auto box = e.geomExtents())
            if (box->max.x < reach.lo.x || box->min.x > reach.hi.x || box->max.y < reach.lo.y ||
                box->min.y > reach.hi.y)
                return;
        if (!passes(e, filter)) return;
        if (const auto at = fenceDistance(shapeOf(e), points)) met.push_back({*at, order, id});
    });
    std::stable_sort(met.begin(), met.end(), [](const Met& a, const Met& b) { return a.at < b.at; });
    std::vector<db::ObjectId> out;
    for (const Met& m : met) out.push_back(m.id);
    return out;
}

std::optional<db::ObjectId> selectLast(const db::Database& database, const SelectionFilter* filter) {
    const db::ObjectId id = database.lastEntity();
    const db::Entity* e = id.isNull() ? nullptr : entityOf(database, id);
    if (!e || !passes(*e, filter)) return std::nullopt;
    return id;
}

std::optional<std::vector<db::ObjectId>> selectGroup(const db::Database& database, std::string_view name) {
    const auto* groups = dynamic_cast<const db::Dictionary*>(database.peek(database.groupDictionaryId()));
    if (!groups) return std::nullopt;
    const db::ObjectId id = groups->getAt(name);
    const auto* group = dynamic_cast<const db::Group*>(database.peek(id));
    if (!group || group->isErased()) return std::nullopt;
    return group->allEntityIds(false);
}

std::vector<db::ObjectId> withGroupMembers(const db::Database& database, const std::vector<db::ObjectId>& ids) {
    const auto* groups = dynamic_cast<const db::Dictionary*>(database.peek(database.groupDictionaryId()));
    if (!groups || ids.empty()) return ids;
    std::vector<const db::Group*> selectable;
    for (const auto& [name, id] : groups->entries())
        if (const auto* g = dynamic_cast<const db::Group*>(database.peek(id)); g && g->isSelectable())
            selectable.push_back(g);
    std::vector<db::ObjectId> out;
    std::unordered_set<db::ObjectId> seen;
    auto add = [&](db::ObjectId id) {
        if (seen.insert(id).second) out.push_back(id);
    };
    for (db::ObjectId id : ids) {
        add(id);
        for (const db::Group* g : selectable)
            if (g->has(id))
                for (db::ObjectId member : g->allEntityIds(false)) add(member);
    }
    return out;
}

db::EntityName storeSet(const std::vector<db::ObjectId>& members) {
    std::vector<db::EntityName> names;
    std::unordered_set<db::ObjectId> seen;   // one name per object, so a member is listed once
    for (db::ObjectId id : members) {
        if (seen.insert(id).second) names.push_back(db::idToName(id));
    }
    const std::int64_t number = store().next++;
    StoredSet& stored = store().sets[number];
    stored.members.insert(names.begin(), names.end());
    stored.names = std::move(names);
    db::EntityName name;
    name.word[0] = number;
    name.word[1] = kSelectionSetTag;
    return name;
}

namespace {

StoredSet* findSet(const db::EntityName& name) {
    if (name.word[1] != kSelectionSetTag) return nullptr;
    const auto it = store().sets.find(name.word[0]);
    return it == store().sets.end() ? nullptr : &it->second;
}

}  // namespace

const std::vector<db::EntityName>* storedSet(const db::EntityName& name) {
    const StoredSet* set = findSet(name);
    return set ? &set->names : nullptr;
}

bool addToStoredSet(const db::EntityName& set, const db::EntityName& entity) {
    StoredSet* stored = findSet(set);
    if (!stored) return false;
    if (stored->members.insert(entity).second) stored->names.push_back(entity);
    return true;
}

bool removeFromStoredSet(const db::EntityName& set, const db::EntityName& entity) {
    StoredSet* stored = findSet(set);
    if (!stored || stored->members.erase(entity) == 0) return false;
    stored->names.erase(std::find(stored->names.begin(), stored->names.end(), entity));
    return true;
}

bool freeSet(const db::EntityName& name) {
    if (name.word[1] != kSelectionSetTag) return false;
    return store().sets.erase(name.word[0]) != 0;
}

std::vector<db::ObjectId> liveIds(const std::vector<db::EntityName>& names) {
    std::vector<db::ObjectId> out;
    for (const db::EntityName& n : names) {
        const db::ObjectId id = db::nameToId(n);
        if (!id.isNull() && !id.isErased()) out.push_back(id);
    }
    return out;
}

void setPreviousSelection(const std::vector<db::ObjectId>& members) {
    store().previous.clear();
    for (db::ObjectId id : members) store().previous.push_back(db::idToName(id));
}

std::vector<db::ObjectId> previousSelection() { return liveIds(store().previous); }

}  // namespace host::ed::detail
