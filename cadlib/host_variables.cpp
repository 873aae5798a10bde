// Typed readers and writers of host system variables over the host's result-buffer interface.
#include "cadlib/host_variables.h"

#include "host/db/resbuf.h"
#include "host/ed/sysvars.h"

namespace {

using host::db::ResBuf;

// The variable's value, or false when the host answers anything but RTNORM.
bool readVariable(std::string_view name, ResBuf& value) {
    return host::ed::getVar(name, value) == host::db::RTNORM;
}

}  // namespace

int GetSysVarInt(std::string_view name, int& value) {
    ResBuf rb;
    if (!readVariable(name, rb)) return host::db::RTERROR;
    value = static_cast<int>(static_cast<short>(rb.integer()));
    return host::db::RTNORM;
}

int GetSysVarReal(std::string_view name, double& value) {
    ResBuf rb;
    if (!readVariable(name, rb)) return host::db::RTERROR;
    value = rb.real();
    return host::db::RTNORM;
}

int GetSysVarString(std::string_view name, std::string& value) {
    ResBuf rb;
    if (!readVariable(name, rb)) return host::db::RTERROR;
    value = rb.str();
    return host::db::RTNORM;
}

int GetSysVarPoint3d(std::string_view name, host::ge::Point3d& value) {
    ResBuf rb;
    if (!readVariable(name, rb)) return host::db::RTERROR;
    value = rb.point();
    return host::db::RTNORM;
}

int GetSysVarPoint2d(std::string_view name, host::ge::Point3d& value) {
    ResBuf rb;
    if (!readVariable(name, rb)) return host::db::RTERROR;
    const host::ge::Point3d p = rb.point();
    value.x = p.x;
    value.y = p.y;
    return host::db::RTNORM;
}

int GetSysVarPoint2dAs3d(std::string_view name, host::ge::Point3d& value) {
    ResBuf rb;
    if (!readVariable(name, rb)) return host::db::RTERROR;
    const host::ge::Point3d p = rb.point();
    value = host::ge::Point3d(p.x, p.y, 0.0);
    return host::db::RTNORM;
}

int SetSysVarInt(std::string_view name, short value) {
    return host::ed::setVar(name, ResBuf(host::db::RTSHORT, static_cast<int>(value)));
}

int SetSysVarReal(std::string_view name, double value) {
    return host::ed::setVar(name, ResBuf(host::db::RTREAL, value));
}

int SetSysVarString(std::string_view name, std::string_view value) {
    return host::ed::setVar(name, ResBuf(host::db::RTSTR, std::string(value)));
}

int SetSysVarPoint3d(std::string_view name, const host::ge::Point3d& value) {
    return host::ed::setVar(name, ResBuf(host::db::RT3DPOINT, value));
}

int SetSysVarPoint2d(std::string_view name, const host::ge::Point3d& value) {
    return host::ed::setVar(name, ResBuf(host::db::RTPOINT, value));
}
