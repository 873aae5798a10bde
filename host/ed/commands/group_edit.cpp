// Named groups of a drawing as -GROUP edits them.
#include "host/ed/commands/group_edit.h"

#include <string>

namespace host::ed {

namespace {

using db::ObjectId;
using db::OpenMode;
using db::Status;

constexpr std::string_view kForbiddenNameCharacters = "<>/\\\":;?,=`";
constexpr std::string_view kAnonymousName = "*";
constexpr std::string_view kAnonymousPrefix = "*A";

bool isValidGroupName(std::string_view name) {
    if (name.empty()) return false;
    for (char c : name) {
        if (static_cast<unsigned char>(c) < 0x20 || kForbiddenNameCharacters.find(c) != std::string_view::npos)
            return false;
    }
    return true;
}

GroupOutcome outcomeOf(Status s) {
    switch (s) {
    case Status::Ok: return GroupOutcome::Done;
    case Status::DuplicateKey: return GroupOutcome::Exists;
    case Status::KeyNotFound: return GroupOutcome::NotFound;
    default: return GroupOutcome::Failed;
    }
}

template <class Change>
GroupOutcome changeGroup(db::Database& database, std::string_view name, Change&& change) {
    const ObjectId id = findGroup(database, name);
    if (id.isNull()) return GroupOutcome::NotFound;
    db::ObjectPtr<db::Group> group(id, OpenMode::Write);
    if (!group) return GroupOutcome::Failed;
    return outcomeOf(change(*group));
}

bool isLiveEntityOf(const db::Database& database, ObjectId id) {
    if (id.database() != &database || id.isErased()) return false;
    return dynamic_cast<const db::Entity*>(database.peek(id)) != nullptr;
}

}  // namespace

ObjectId findGroup(const db::Database& database, std::string_view name) {
    const auto* groups = dynamic_cast<const db::Dictionary*>(database.peek(database.groupDictionaryId()));
    return groups && !name.empty() ? groups->getAt(name) : ObjectId();
}

GroupOutcome createGroup(db::Database& database, std::string_view name, std::string_view description,
                         const std::vector<ObjectId>& members, ObjectId* group) {
    db::ObjectPtr<db::Dictionary> groups(database.groupDictionaryId(), OpenMode::Write);
    if (!groups) return GroupOutcome::Failed;
    const bool anonymous = name == kAnonymousName;
    std::string key(name);
    if (anonymous) {
        for (std::size_t n = 1;; ++n) {
            key = std::string(kAnonymousPrefix) + std::to_string(n);
            if (!groups->has(key)) break;
        }
    } else if (!isValidGroupName(name)) {
        return GroupOutcome::InvalidName;
    } else if (groups->has(name)) {
        return GroupOutcome::Exists;
    }
    auto made = std::make_unique<db::Group>(std::string(description));
    made->setAnonymous(anonymous);
    ObjectId id;
    if (groups->setAt(key, std::move(made), &id) != Status::Ok) return GroupOutcome::Failed;
    groups.close();
    db::ObjectPtr<db::Group> g(id, OpenMode::Write);
    for (ObjectId m : members) {
        if (isLiveEntityOf(database, m) && !g->has(m)) g->append(m);
    }
    if (group) *group = id;
    return GroupOutcome::Done;
}

GroupOutcome explodeGroup(db::Database& database, std::string_view name) {
    if (findGroup(database, name).isNull()) return GroupOutcome::NotFound;
    db::ObjectPtr<db::Dictionary> groups(database.groupDictionaryId(), OpenMode::Write);
    if (!groups) return GroupOutcome::Failed;
    return outcomeOf(groups->remove(name));
}

GroupOutcome renameGroup(db::Database& database, std::string_view oldName, std::string_view newName) {
    if (findGroup(database, oldName).isNull()) return GroupOutcome::NotFound;
    if (!isValidGroupName(newName)) return GroupOutcome::InvalidName;
    const ObjectId taken = findGroup(database, newName);
    if (!taken.isNull() && taken != findGroup(database, oldName)) return GroupOutcome::Exists;
    db::ObjectPtr<db::Dictionary> groups(database.groupDictionaryId(), OpenMode::Write);
    if (!groups) return GroupOutcome::Failed;
    return outcomeOf(groups->rename(oldName, std::string(newName)));
}

GroupOutcome addToGroup(db::Database& database, std::string_view name, const std::vector<ObjectId>& entities) {
    return changeGroup(database, name, [&](db::Group& g) {
        for (ObjectId id : entities) {
            if (!isLiveEntityOf(database, id) || g.has(id)) continue;
            const Status s = g.append(id);
            if (s != Status::Ok) return s;
        }
        return Status::Ok;
    });
}

GroupOutcome removeFromGroup(db::Database& database, std::string_view name, const std::vector<ObjectId>& entities) {
    return changeGroup(database, name, [&](db::Group& g) {
        for (ObjectId id : entities) {
            if (g.has(id)) g.remove(id);
        }
        return Status::Ok;
    });
}

GroupOutcome setGroupSelectable(db::Database& database, std::string_view name, bool selectable) {
    return changeGroup(database, name, [&](db::Group& g) { return g.setSelectable(selectable); });
}

}  // namespace host::ed
