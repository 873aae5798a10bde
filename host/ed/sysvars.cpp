// Reading and setting system variables: the session's values, type and range checks, and the host's messages
// for what it refuses.
#include "host/ed/sysvars.h"

#include <cmath>
#include <map>

#include "host/ed/sysvar_table.h"
#include "host/ed/transcript.h"
#include "host/sys/encoding.h"
#include "host/sys/number_text.h"

namespace host::ed {

namespace {

using detail::SysVarSpec;

// The session's values by upper-case name, filled from the table's defaults at first use.
std::map<std::string, db::ResBuf>& sessionValues() {
    static std::map<std::string, db::ResBuf> values = [] {
        std::map<std::string, db::ResBuf> v;
        for (const SysVarSpec& s : detail::sysVarTable())
            if (!s.get) v[s.name] = s.initial;
        return v;
    }();
    return values;
}

void refuse(const std::string& message) { print("\n" + message); }

std::string rangeText(const SysVarSpec& s) {
    const auto n = [](double v) { return sys::formatShortest(v); };
    if (s.aboveMin && s.min && !s.max) return "greater than " + n(*s.min);
    if (s.min && s.max) return "from " + n(*s.min) + " to " + n(*s.max);
    if (s.min) return "at least " + n(*s.min);
    return "at most " + n(*s.max);
}

const char* typeText(VarType t) {
    switch (t) {
    case VarType::Short:
    case VarType::Long: return "an integer";
    case VarType::Real: return "a number";
    case VarType::String: return "a text";
    case VarType::Point2d:
    case VarType::Point3d: return "a point";
    }
    return "a value";
}

// The value in the variable's own form, or nullopt when its type cannot become that.
std::optional<db::ResBuf> convert(const SysVarSpec& s, const db::ResBuf& v) {
    const bool integer = v.code == db::RTSHORT || v.code == db::RTLONG || v.code == db::RTINT64;
    const bool real = v.code == db::RTREAL || v.code == db::RTANG || v.code == db::RTORINT;
    const bool point = v.code == db::RTPOINT || v.code == db::RT3DPOINT;
    switch (s.type) {
    case VarType::Short:
    case VarType::Long:
        if (!integer) return std::nullopt;
        return db::ResBuf(detail::resultTypeOf(s.type), v.integer());
    case VarType::Real:
        if (integer) return db::ResBuf(db::RTREAL, double(v.integer()));
        if (real && std::isfinite(v.real())) return db::ResBuf(db::RTREAL, v.real());
        return std::nullopt;
    case VarType::String:
        if (v.code != db::RTSTR) return std::nullopt;
        return v;
    case VarType::Point2d:
    case VarType::Point3d: {
        if (!point) return std::nullopt;
        ge::Point3d p = v.point();
        if (v.code == db::RTPOINT || s.type == VarType::Point2d) p.z = 0.0;
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) return std::nullopt;
        return db::ResBuf(detail::resultTypeOf(s.type), p);
    }
    }
    return std::nullopt;
}

// Where the value breaks the variable's range, in words; "" when it is inside.
std::string outOfRange(const SysVarSpec& s, const db::ResBuf& v) {
    if (s.type == VarType::String) {
        if (sys::utf8CharacterCount(v.str()) > s.maxChars)
            return "Value too long for \"" + s.name + "\": at most " + std::to_string(s.maxChars) + " characters.";
        return {};
    }
    if (s.type != VarType::Short && s.type != VarType::Long && s.type != VarType::Real) return {};
    const double x = s.type == VarType::Real ? v.real() : double(v.integer());
    double lo = s.min.value_or(-HUGE_VAL), hi = s.max.value_or(HUGE_VAL);
    if (s.type == VarType::Short) {
        lo = std::max(lo, -32768.0);
        hi = std::min(hi, 32767.0);
    } else if (s.type == VarType::Long) {
        lo = std::max(lo, -2147483648.0);
        hi = std::min(hi, 2147483647.0);
    }
    const bool below = s.aboveMin ? x <= lo : x < lo;
    if (!below && x <= hi) return {};
    const std::string shown = s.type == VarType::Real ? sys::formatShortest(x) : std::to_string(v.integer());
    SysVarSpec bounds = s;
    bounds.min = lo > -HUGE_VAL ? std::optional<double>(lo) : std::nullopt;
    bounds.max = hi < HUGE_VAL ? std::optional<double>(hi) : std::nullopt;
    return "Value out of range for \"" + s.name + "\": " + shown + " (" + rangeText(bounds) + ").";
}

}  // namespace

int getVar(std::string_view name, db::ResBuf& value) {
    const SysVarSpec* s = detail::findSysVar(name);
    if (!s) return db::RTERROR;
    if (s->get) return s->get(value) ? db::RTNORM : db::RTERROR;
    value = sessionValues()[s->name];
    return db::RTNORM;
}

int setVar(std::string_view name, const db::ResBuf& value) {
    const SysVarSpec* s = detail::findSysVar(name);
    if (!s) {
        refuse("Unknown variable \"" + std::string(name) + "\".");
        return db::RTERROR;
    }
    if (s->readOnly) {
        refuse("Variable \"" + s->name + "\" is read-only.");
        return db::RTERROR;
    }
    const std::optional<db::ResBuf> v = convert(*s, value);
    if (!v) {
        refuse("Variable \"" + s->name + "\" takes " + typeText(s->type) + ".");
        return db::RTERROR;
    }
    if (const std::string why = outOfRange(*s, *v); !why.empty()) {
        refuse(why);
        return db::RTERROR;
    }
    if (s->set) {
        // A value the drawing already holds changes nothing: writing it again would mark an untouched drawing
        // changed, and QUIT would then offer to save it.
        if (db::ResBuf current; s->get && getVar(s->name, current) == db::RTNORM && current == *v) return db::RTNORM;
        if (const std::string why = s->set(*v); !why.empty()) {
            refuse(why);
            return db::RTERROR;
        }
        return db::RTNORM;
    }
    sessionValues()[s->name] = *v;
    return db::RTNORM;
}

int getShort(std::string_view name, int fallback) {
    db::ResBuf v;
    if (getVar(name, v) != db::RTNORM) return fallback;
    if (v.code != db::RTSHORT && v.code != db::RTLONG) return fallback;
    return int(v.integer());
}

double getRealVar(std::string_view name, double fallback) {
    db::ResBuf v;
    if (getVar(name, v) != db::RTNORM) return fallback;
    if (v.code == db::RTREAL) return v.real();
    if (v.code == db::RTSHORT || v.code == db::RTLONG) return double(v.integer());
    return fallback;
}

std::string getText(std::string_view name) {
    db::ResBuf v;
    if (getVar(name, v) != db::RTNORM) return {};
    return v.str();
}

void setErrno(int value) { sessionValues()["ERRNO"] = db::ResBuf(db::RTSHORT, value); }

void resetSystemVariables() {
    auto& values = sessionValues();
    for (const SysVarSpec& s : detail::sysVarTable())
        if (!s.get) values[s.name] = s.initial;
}

}  // namespace host::ed
