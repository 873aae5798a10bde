// Typed readers and writers of host system variables, each answering a host status.
//
// Readers answer RTNORM and store the value, or RTERROR and leave the output as it was; they do not check the
// type the host reports. Writers build one value of the named type and answer the host's status of the set.
#pragma once

#include <string>
#include <string_view>

#include "host/ge/point.h"

// The variable's value as a 32-bit integer (a short of -1 gives -1).
int GetSysVarInt(std::string_view name, int& value);
int GetSysVarReal(std::string_view name, double& value);
int GetSysVarString(std::string_view name, std::string& value);
int GetSysVarPoint3d(std::string_view name, host::ge::Point3d& value);
// Only x and y are written; z stays as it was.
int GetSysVarPoint2d(std::string_view name, host::ge::Point3d& value);
// x and y of the variable, z = 0.
int GetSysVarPoint2dAs3d(std::string_view name, host::ge::Point3d& value);

int SetSysVarInt(std::string_view name, short value);
int SetSysVarReal(std::string_view name, double value);
int SetSysVarString(std::string_view name, std::string_view value);
int SetSysVarPoint3d(std::string_view name, const host::ge::Point3d& value);
// Passed as a 2D point; the host ignores z.
int SetSysVarPoint2d(std::string_view name, const host::ge::Point3d& value);
