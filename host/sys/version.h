// The product's name and version, as the program and the About boxes show them.
#pragma once

#include <string_view>

namespace host::sys {

inline constexpr std::string_view kProductName = "Kestrion";
inline constexpr std::string_view kProductVersion = "0.9.0";

}  // namespace host::sys
