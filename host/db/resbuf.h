// Result buffers: the host's typed value lists used for entity data lists, extended data, selection filters,
// command arguments and system variables. A value's `code` is either a result type (RTREAL ...) or a DXF group code.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "host/db/ids.h"
#include "host/ge/point.h"

namespace host::db {

// Result types and statuses of the host, with their historical values.
inline constexpr int RTNONE = 5000;
inline constexpr int RTREAL = 5001;
inline constexpr int RTPOINT = 5002;
inline constexpr int RTSHORT = 5003;
inline constexpr int RTANG = 5004;
inline constexpr int RTSTR = 5005;
inline constexpr int RTENAME = 5006;
inline constexpr int RTPICKS = 5007;
inline constexpr int RTORINT = 5008;
inline constexpr int RT3DPOINT = 5009;
inline constexpr int RTLONG = 5010;
inline constexpr int RTVOID = 5014;
inline constexpr int RTLB = 5016;
inline constexpr int RTLE = 5017;
inline constexpr int RTDOTE = 5018;
inline constexpr int RTNIL = 5019;
inline constexpr int RTDXF0 = 5020;
inline constexpr int RTT = 5021;
inline constexpr int RTRESBUF = 5023;
inline constexpr int RTMODELESS = 5027;
inline constexpr int RTLONG_PTR = 5030;
inline constexpr int RTINT64 = 5031;

inline constexpr int RTNORM = 5100;
inline constexpr int RTERROR = -5001;
inline constexpr int RTCAN = -5002;
inline constexpr int RTREJ = -5003;
inline constexpr int RTFAIL = -5004;
inline constexpr int RTKWORD = -5005;
inline constexpr int RTINPUTTRUNCATED = -5008;

// How the value of a code is held.
enum class ValueKind {
    None,     // RTNONE, RTLB, RTLE, RTDOTE, RTNIL, RTT, RTVOID: no value
    Real,     // double
    Int16,    // short
    Int32,    // 32-bit integer
    Int64,    // 64-bit integer
    String,   // text (also handles in text form, group 5, 105, 320-369, 1005)
    Point,    // 2D or 3D point
    Name,     // entity name (RTENAME, DXF -1, -2, 330-369 when read as names)
    Binary,   // chunk of bytes (310-319, 1004)
    Bool,     // 290-299
};

// The value kind of a result type or DXF group code, as the host's lists hold it. Unknown codes answer None.
ValueKind valueKindOf(int code);

struct ResBuf {
    using Value = std::variant<std::monostate, double, std::int64_t, std::string, ge::Point3d, EntityName,
                               std::vector<std::uint8_t>>;

    int code = RTNONE;
    Value value;

    ResBuf() = default;
    ResBuf(int c) : code(c) {}
    ResBuf(int c, double v) : code(c), value(v) {}
    ResBuf(int c, std::int64_t v) : code(c), value(v) {}
    ResBuf(int c, int v) : code(c), value(std::int64_t(v)) {}
    ResBuf(int c, std::string v) : code(c), value(std::move(v)) {}
    ResBuf(int c, const char* v) : code(c), value(std::string(v)) {}
    ResBuf(int c, ge::Point3d v) : code(c), value(v) {}
    ResBuf(int c, EntityName v) : code(c), value(v) {}

    double real() const;                      // 0 when not a real
    std::int64_t integer() const;             // 0 when not an integer
    const std::string& str() const;           // "" when not a string
    ge::Point3d point() const;                // origin when not a point
    EntityName name() const;                  // nil when not a name

    bool operator==(const ResBuf&) const = default;
};

using ResBufList = std::vector<ResBuf>;

}  // namespace host::db
