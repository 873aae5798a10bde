// The DXF group-code ranges, from the DXF reference's table of group code value types.
#include "host/dxf/group_kinds.h"

namespace host::dxf {

namespace {

struct Range {
    int first, last;
    GroupKind kind;
};

// Ordered by first code; the gaps between ranges are codes the format does not define.
constexpr Range kRanges[] = {
    {0, 4, GroupKind::String},       {5, 5, GroupKind::Handle},      {6, 9, GroupKind::String},
    {10, 59, GroupKind::Real},       {60, 79, GroupKind::Int16},     {90, 99, GroupKind::Int32},
    {100, 102, GroupKind::String},   {105, 105, GroupKind::Handle},  {110, 149, GroupKind::Real},
    {160, 169, GroupKind::Int64},    {170, 179, GroupKind::Int16},   {210, 239, GroupKind::Real},
    {270, 289, GroupKind::Int16},    {290, 299, GroupKind::Bool},    {300, 309, GroupKind::String},
    {310, 319, GroupKind::Binary},   {320, 369, GroupKind::Handle},  {370, 389, GroupKind::Int16},
    {390, 399, GroupKind::Handle},   {400, 409, GroupKind::Int16},   {410, 419, GroupKind::String},
    {420, 429, GroupKind::Int32},    {430, 439, GroupKind::String},  {440, 459, GroupKind::Int32},
    {460, 469, GroupKind::Real},     {470, 479, GroupKind::String},  {480, 481, GroupKind::Handle},
    {999, 999, GroupKind::String},   {1000, 1003, GroupKind::String}, {1004, 1004, GroupKind::Binary},
    {1005, 1005, GroupKind::Handle}, {1006, 1009, GroupKind::String}, {1010, 1059, GroupKind::Real},
    {1060, 1070, GroupKind::Int16},  {1071, 1071, GroupKind::Int32},
};

}  // namespace

std::optional<GroupKind> groupKindOf(int code) {
    // A direct table for the common codes keeps the tokenizer's per-group cost to one load.
    static const auto table = [] {
        struct Table {
            signed char kind[1072];
        } t{};
        for (auto& k : t.kind) k = -1;
        for (const Range& r : kRanges)
            for (int c = r.first; c <= r.last; ++c) t.kind[c] = static_cast<signed char>(r.kind);
        return t;
    }();
    if (code < 0 || code > 1071) return std::nullopt;
    const int k = table.kind[code];
    if (k < 0) return std::nullopt;
    return static_cast<GroupKind>(k);
}

}  // namespace host::dxf
