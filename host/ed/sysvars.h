// System variables: one typed table with the host's defaults, read and set by name without regard to case.
#pragma once

#include <string>
#include <string_view>

#include "host/db/resbuf.h"

namespace host::ed {

enum class VarType { Short, Long, Real, String, Point2d, Point3d };

// Reads a variable into `value` (code RTSHORT, RTLONG, RTREAL, RTSTR, RTPOINT or RT3DPOINT with its value).
// RTERROR for an unknown name.
int getVar(std::string_view name, db::ResBuf& value);
// Sets a variable. RTERROR for an unknown or read-only name, a value of the wrong type, or one out of range (the
// table holds each variable's range); the host's message is printed as a host would.
int setVar(std::string_view name, const db::ResBuf& value);

// Conveniences for the host's own code.
int getShort(std::string_view name, int fallback = 0);
double getReal(std::string_view name, double fallback = 0.0);
std::string getText(std::string_view name);
void setErrno(int value);  // ERRNO, which the host itself sets on failed picks and selections

}  // namespace host::ed
