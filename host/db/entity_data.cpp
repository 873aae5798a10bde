// Entity data lists: reading and changing entities by name through lists of DXF groups, walking the drawing's
// entities, and deleting and undeleting them.
#include "host/db/entity_data.h"

#include <algorithm>

#include "host/db/database.h"
#include "host/db/entity_groups.h"
#include "host/sys/text_case.h"

namespace host::db {

namespace {

constexpr int kName = -1;
constexpr int kXDataSentinel = -3;
constexpr int kType = 0;
constexpr int kHandle = 5;
constexpr int kPaperSpace = 67;
constexpr int kOwner = 330;
constexpr int kXDataApp = 1001;
constexpr std::string_view kAllApplications = "*";

// Records for entMod: layers are made when missing (as a CAD host does when a list names a new layer); every
// other record must exist. With `dryRun` nothing is made: a missing layer answers layer "0", so a list can be
// checked on a copy of the entity without changing the drawing.
class ModResolver : public RecordResolver {
public:
    ModResolver(Database& db, bool dryRun) : db_(db), dryRun_(dryRun) {}

    ObjectId record(TableKind kind, std::string_view name) override {
        const ObjectId found = db_.recordId(kind, name);
        if (!found.isNull() || kind != TableKind::Layer || name.empty()) return found;
        if (dryRun_) return db_.recordId(TableKind::Layer, "0");
        ObjectPtr<SymbolTable> layers(db_.tableId(TableKind::Layer), OpenMode::Write);
        if (!layers) return {};
        ObjectId id;
        layers->add(std::make_unique<LayerTableRecord>(std::string(name)), &id);
        return id;
    }

private:
    Database& db_;
    bool dryRun_;
};

// The extended data of a list: the groups after its -3 group (or from its first 1001 group).
ResBufList extendedDataOf(const ResBufList& list) {
    auto it = std::find_if(list.begin(), list.end(),
                           [](const ResBuf& rb) { return rb.code == kXDataSentinel || rb.code == kXDataApp; });
    if (it != list.end() && it->code == kXDataSentinel) ++it;
    return ResBufList(it, list.end());
}

// True when the identity groups of the list (-1 aside) say what the entity is.
bool identityMatches(const ResBufList& list, const Entity& e) {
    for (const ResBuf& rb : list) {
        if (rb.code == kXDataSentinel || rb.code == kXDataApp) break;
        if (rb.code == kType && rb.str() != e.dxfName()) return false;
        if (rb.code == kHandle && !sys::equalsNoCase(rb.str(), e.handle().text())) return false;
        if (rb.code == kOwner && !(rb.name() == idToName(e.ownerId()))) return false;
        // Which space an entity is in is its owner's business, not a value to change.
        if (rb.code == kPaperSpace && (rb.integer() != 0) != e.inPaperSpace()) return false;
    }
    return true;
}

Status applyAll(Entity& e, const ResBufList& list, RecordResolver& resolver) {
    const Status s = applyEntityGroups(e, list, resolver);
    if (s != Status::Ok) return s;
    const ResBufList xdata = extendedDataOf(list);
    return xdata.empty() ? Status::Ok : e.setXData(xdata);
}

}  // namespace

ResBufList entGet(const EntityName& name, const std::vector<std::string>& applications) {
    const ObjectId id = nameToId(name);
    if (id.isNull()) return {};
    const auto* e = dynamic_cast<const Entity*>(id.database()->peek(id));
    if (!e || e->isErased()) return {};
    ResBufList out;
    out.emplace_back(kName, name);
    out.emplace_back(kType, e->dxfName());
    out.emplace_back(kOwner, idToName(e->ownerId()));
    out.emplace_back(kHandle, e->handle().text());
    ResBufSink sink(out, id.database());
    writeEntityGroups(*e, sink);

    ResBufList xdata;
    const bool all = std::find(applications.begin(), applications.end(), kAllApplications) != applications.end();
    if (all) {
        xdata = e->xData();
    } else {
        for (const std::string& app : applications) {
            const ResBufList one = e->xData(app);
            xdata.insert(xdata.end(), one.begin(), one.end());
        }
    }
    if (!xdata.empty()) {
        out.emplace_back(kXDataSentinel);
        out.insert(out.end(), xdata.begin(), xdata.end());
    }
    return out;
}

int entMod(const ResBufList& list) {
    auto nameGroup = std::find_if(list.begin(), list.end(), [](const ResBuf& rb) { return rb.code == kName; });
    if (nameGroup == list.end()) return RTERROR;
    const ObjectId id = nameToId(nameGroup->name());
    if (id.isNull()) return RTERROR;
    ObjectPtr<Entity> entity(id, OpenMode::Write);
    if (!entity || !identityMatches(list, *entity)) return RTERROR;
    Database& db = *id.database();

    // All or nothing: the list is first applied to a copy (write-enabled, as it has the open entity's id).
    std::unique_ptr<DbObject> copy = entity->clone();
    auto* trial = dynamic_cast<Entity*>(copy.get());
    ModResolver dryRun(db, true);
    if (!trial || applyAll(*trial, list, dryRun) != Status::Ok) return RTERROR;

    ModResolver resolver(db, false);
    return applyAll(*entity, list, resolver) == Status::Ok ? RTNORM : RTERROR;
}

int entNext(const EntityName& after, EntityName& next) {
    ObjectId id;
    if (after.isNil()) {
        Database* db = workingDatabase();
        if (!db) return RTERROR;
        id = db->firstEntity();
    } else {
        const ObjectId current = nameToId(after);
        if (current.isNull()) return RTERROR;
        id = current.database()->nextEntity(current);
    }
    if (id.isNull()) return RTERROR;
    next = idToName(id);
    return RTNORM;
}

int entLast(EntityName& last) {
    Database* db = workingDatabase();
    if (!db) return RTERROR;
    const ObjectId id = db->lastEntity();
    if (id.isNull()) return RTERROR;
    last = idToName(id);
    return RTNORM;
}

int entDel(const EntityName& name) {
    const ObjectId id = nameToId(name);
    if (id.isNull()) return RTERROR;
    ObjectPtr<Entity> entity(id, OpenMode::Write, true);
    if (!entity) return RTERROR;
    return entity->erase(!entity->isErased()) == Status::Ok ? RTNORM : RTERROR;
}

}  // namespace host::db
