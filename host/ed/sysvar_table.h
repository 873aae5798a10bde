// The table of system variables (inside the editor): each variable's name, type, default, range, and where its
// value lives (the session, the working drawing, or a value computed when read).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/db/resbuf.h"
#include "host/ed/sysvars.h"

namespace host::ed::detail {

// Reads a drawing's or a computed value into `out` (with the variable's result type); false when there is
// nothing to read (no working drawing).
using SysVarGetter = bool (*)(db::ResBuf& out);
// Applies a value already checked for type and range. Answers "" when it was taken, else the host's message
// saying why not (printed by setVar).
using SysVarSetter = std::string (*)(const db::ResBuf& value);

struct SysVarSpec {
    std::string name;           // upper case
    VarType type = VarType::Short;
    db::ResBuf initial;         // the host's default, for variables of the session
    bool readOnly = false;
    // Numbers: the allowed range, both ends included unless `aboveMin` (then the value must exceed min).
    std::optional<double> min, max;
    bool aboveMin = false;
    // Longest text of a string variable, in characters (a resource bound, not a format limit).
    std::size_t maxChars = 4096;
    // Variables of the working drawing and computed ones; null for variables the session keeps.
    SysVarGetter get = nullptr;
    SysVarSetter set = nullptr;
};

const std::vector<SysVarSpec>& sysVarTable();
// The variable of that name, without regard to case; nullptr when there is none.
const SysVarSpec* findSysVar(std::string_view name);
// The result type a variable answers with (RTSHORT, RTLONG, RTREAL, RTSTR, RTPOINT, RT3DPOINT).
int resultTypeOf(VarType type);

}  // namespace host::ed::detail
