// Host command sequences run with fixed answers, and the UCS reset.
#include "cadlib/host_commands.h"

#include <string>

#include "host/db/database.h"
#include "host/db/resbuf.h"
#include "host/ed/command.h"
#include "host/ed/selection.h"

using host::db::ResBuf;
using host::db::ResBufList;
using host::db::RTENAME;
using host::db::RTSTR;

namespace {

constexpr const char* kBasePoint = "0,0";

ResBuf Text(const char* s) { return ResBuf(RTSTR, s); }

// One command on one entity: select it, end the selection, the base point 0,0, then the user's answer.
int StartOnEntity(const char* name, const host::db::EntityName& entity) {
    return host::ed::command({Text(name), ResBuf(RTENAME, entity), Text(""), Text(kBasePoint),
                              ResBuf(RTSTR, std::string(host::ed::kPauseToken))});
}

}  // namespace

int PurgeAllBlocks() { return host::ed::command({Text("_.-purge"), Text("_B"), Text("*"), Text("_N")}); }

int RegenAll() { return host::ed::command({Text("_.regenall")}); }

int ExplodeAllBlockReferences() {
    const ResBufList filter = {ResBuf(0, "INSERT")};
    host::db::EntityName set;
    if (host::ed::ssGet("_X", nullptr, nullptr, &filter, set) != host::db::RTNORM) return host::db::RTNORM;
    ResBufList args = {Text("_.explode")};
    std::int32_t length = 0;
    host::ed::ssLength(set, length);
    for (std::int32_t i = 0; i < length; ++i) {
        host::db::EntityName entity;
        if (host::ed::ssName(set, i, entity) == host::db::RTNORM) args.emplace_back(RTENAME, entity);
    }
    const int status = host::ed::command(args);
    host::ed::ssFree(set);
    return status;
}

int SetUcsToWorld() {
    host::db::Database* db = host::db::workingDatabase();
    if (!db) return host::db::RTERROR;
    host::db::ObjectPtr<host::db::ViewportTableRecord> active(
        db->recordId(host::db::TableKind::Viewport, "*Active"), host::db::OpenMode::Write);
    if (!active || active->setUcsToWorld() != host::db::Status::Ok) return host::db::RTERROR;
    return host::db::RTNORM;
}

int StartMove(const host::db::EntityName& entity) { return StartOnEntity("_.move", entity); }

int StartRotate(const host::db::EntityName& entity) { return StartOnEntity("_.rotate", entity); }
