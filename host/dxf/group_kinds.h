// How the value of each DXF group code is written in an ASCII file: the group-code ranges of the DXF reference.
#pragma once

#include <optional>

namespace host::dxf {

enum class GroupKind {
    String,   // text, written as it is (after encoding)
    Handle,   // hexadecimal handle text: 5, 105, 320-369, 390-399, 480-481, 1005
    Binary,   // hexadecimal bytes: 310-319, 1004
    Real,     // double
    Int16,    // 16-bit integer
    Int32,    // 32-bit integer
    Int64,    // 64-bit integer
    Bool,     // 290-299: an integer, 0 false, anything else true
};

// The kind of a group code's value, or nullopt for a number that is not a DXF group code (negative codes are
// names and markers of data lists and never appear in a file).
std::optional<GroupKind> groupKindOf(int code);

// True for the codes whose values are text in memory and need encoding in a file (as opposed to handle and binary
// text, which are always ASCII hexadecimal).
constexpr bool isTextKind(GroupKind k) { return k == GroupKind::String; }

}  // namespace host::dxf
