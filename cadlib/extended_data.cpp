// Extended-data appenders: the object's list of the application, one item longer.
#include "cadlib/extended_data.h"

#include <cstdio>
#include <memory>
#include <string>

#include "host/db/database.h"

using host::db::DbObject;
using host::db::ObjectPtr;
using host::db::OpenMode;
using host::db::ResBuf;
using host::db::Status;

namespace {

constexpr int kAppended = 0;
constexpr int kNotAppended = 1;

// Adds the application to the drawing's application table unless it is there.
Status RegisterApplication(host::db::Database& db, std::string_view app) {
    if (!db.recordId(host::db::TableKind::RegApp, app).isNull()) return Status::Ok;
    ObjectPtr<host::db::SymbolTable> apps(db.tableId(host::db::TableKind::RegApp), OpenMode::Write);
    if (!apps) return apps.status();
    return apps->add(std::make_unique<host::db::RegAppTableRecord>(std::string(app)));
}

int Append(host::db::ObjectId object, std::string_view app, ResBuf item) {
    if (app.empty()) return kNotAppended;
    ObjectPtr<DbObject> target(object, OpenMode::Write);
    if (!target) return kNotAppended;
    auto list = target->xData(app);
    if (list.empty()) {
        if (RegisterApplication(*object.database(), app) != Status::Ok) return kNotAppended;
        list.emplace_back(kXDataAppName, std::string(app));
    }
    list.push_back(std::move(item));
    return target->setXData(list) == Status::Ok ? kAppended : kNotAppended;
}

}  // namespace

int AppendXDataString(host::db::ObjectId object, std::string_view app, std::string_view text) {
    return Append(object, app, ResBuf(kXDataString, std::string(text)));
}

int AppendXDataPoint(host::db::ObjectId object, std::string_view app, const host::ge::Point3d& point) {
    return Append(object, app, ResBuf(kXDataPoint, point));
}

int AppendXDataReal(host::db::ObjectId object, std::string_view app, double value) {
    return Append(object, app, ResBuf(kXDataReal, value));
}

int AppendXDataHandle(host::db::ObjectId object, std::string_view app, host::db::Handle handle) {
    char text[17];
    std::snprintf(text, sizeof text, "%llX", static_cast<unsigned long long>(handle.value));
    return Append(object, app, ResBuf(kXDataHandle, std::string(text)));
}

int AppendXDataLong(host::db::ObjectId object, std::string_view app, int value) {
    return Append(object, app, ResBuf(kXDataLong, value));
}
