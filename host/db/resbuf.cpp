// Value kinds of result types and DXF group codes, and the typed accessors of a result buffer.
#include "host/db/resbuf.h"

namespace host::db {

namespace {

struct CodeRange {
    int first, last;
    ValueKind kind;
};

// The DXF group-code ranges as result buffers hold them. Two places differ from the file view: codes 10-37,
// 110-112, 210 and 1010-1013 are whole points (their Y and Z groups only exist in files), and 38/39 (elevation,
// thickness) are plain reals. 330-369, 390-399 and 480-481 are object references, held as entity names.
constexpr CodeRange kDxfRanges[] = {
    {-5, -5, ValueKind::None},      // persistent reactor chain marker
    {-4, -4, ValueKind::String},    // selection-filter operator "<AND" ...
    {-3, -3, ValueKind::None},      // extended-data sentinel
    {-2, -1, ValueKind::Name},      // entity name
    {0, 9, ValueKind::String},
    {10, 37, ValueKind::Point},
    {38, 59, ValueKind::Real},
    {60, 79, ValueKind::Int16},
    {90, 99, ValueKind::Int32},
    {100, 102, ValueKind::String},  // subclass marker, control strings
    {105, 105, ValueKind::String},  // handle
    {110, 112, ValueKind::Point},   // UCS origin and axes
    {113, 149, ValueKind::Real},
    {160, 169, ValueKind::Int64},
    {170, 179, ValueKind::Int16},
    {210, 210, ValueKind::Point},   // extrusion direction
    {211, 239, ValueKind::Real},
    {270, 289, ValueKind::Int16},
    {290, 299, ValueKind::Bool},
    {300, 309, ValueKind::String},
    {310, 319, ValueKind::Binary},
    {320, 329, ValueKind::String},  // handles that are not object references
    {330, 369, ValueKind::Name},
    {370, 389, ValueKind::Int16},
    {390, 399, ValueKind::Name},
    {400, 409, ValueKind::Int16},
    {410, 419, ValueKind::String},
    {420, 429, ValueKind::Int32},
    {430, 439, ValueKind::String},
    {440, 459, ValueKind::Int32},
    {460, 469, ValueKind::Real},
    {470, 479, ValueKind::String},
    {480, 481, ValueKind::Name},
    {999, 999, ValueKind::String},  // comment
    {1000, 1003, ValueKind::String},
    {1004, 1004, ValueKind::Binary},
    {1005, 1009, ValueKind::String},
    {1010, 1019, ValueKind::Point},
    {1020, 1059, ValueKind::Real},
    {1060, 1070, ValueKind::Int16},
    {1071, 1071, ValueKind::Int32},
};

ValueKind resultTypeKind(int code) {
    switch (code) {
    case RTREAL:
    case RTANG:
    case RTORINT: return ValueKind::Real;
    case RTPOINT:
    case RT3DPOINT: return ValueKind::Point;
    case RTSHORT: return ValueKind::Int16;
    case RTLONG:
    case RTMODELESS: return ValueKind::Int32;
    case RTLONG_PTR:
    case RTINT64: return ValueKind::Int64;
    case RTSTR:
    case RTDXF0: return ValueKind::String;
    case RTENAME:
    case RTPICKS: return ValueKind::Name;
    default: return ValueKind::None;  // RTNONE, RTVOID, RTLB, RTLE, RTDOTE, RTNIL, RTT, RTRESBUF
    }
}

}  // namespace

ValueKind valueKindOf(int code) {
    if (code >= RTNONE && code <= RTINT64) return resultTypeKind(code);
    for (const CodeRange& r : kDxfRanges) {
        if (code >= r.first && code <= r.last) return r.kind;
    }
    return ValueKind::None;
}

double ResBuf::real() const {
    const double* v = std::get_if<double>(&value);
    return v ? *v : 0.0;
}

std::int64_t ResBuf::integer() const {
    const std::int64_t* v = std::get_if<std::int64_t>(&value);
    return v ? *v : 0;
}

const std::string& ResBuf::str() const {
    static const std::string kEmpty;
    const std::string* v = std::get_if<std::string>(&value);
    return v ? *v : kEmpty;
}

ge::Point3d ResBuf::point() const {
    const ge::Point3d* v = std::get_if<ge::Point3d>(&value);
    return v ? *v : ge::Point3d();
}

EntityName ResBuf::name() const {
    const EntityName* v = std::get_if<EntityName>(&value);
    return v ? *v : EntityName();
}

}  // namespace host::db
