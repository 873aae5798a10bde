// Picking and opening one entity, and crossing-window selections for the library's commands.
#include "cadlib/entity_selection.h"

#include "cadlib/messages.h"
#include "host/ed/prompts.h"
#include "host/ed/selection.h"

namespace {

constexpr TwoLanguageText kSelectObject{"\nSelect an object: ", "\nВыберите объект: "};

}  // namespace

host::db::ObjectPtr<host::db::Entity> SelectAndOpenEntity(host::db::ObjectId& id, host::db::OpenMode mode) {
    id = host::db::ObjectId();
    host::db::EntityName name;
    host::ge::Point3d pick;
    if (host::ed::entSel(Localized(kSelectObject), name, pick) != host::db::RTNORM) return {};
    id = host::db::nameToId(name);
    return host::db::ObjectPtr<host::db::Entity>(id, mode);
}

int SelectCrossing(const host::ge::Point3d& corner1, const host::ge::Point3d& corner2,
                   const host::db::ResBufList& filter) {
    host::db::EntityName set;
    const int status = host::ed::ssGet("_C", &corner1, &corner2, &filter, set);
    if (status == host::db::RTNORM) host::ed::ssFree(set);
    return status;
}
