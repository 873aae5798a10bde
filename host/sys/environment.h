// Reading the process environment.
#pragma once

#include <optional>
#include <string>

namespace host::sys {

// The value of environment variable `name`, or nothing when it is not set.
std::optional<std::string> environmentValue(const char* name);

// The value when it is set and not empty: an empty TEMP or KESTRION_INSTALL counts as not given.
std::optional<std::string> nonEmptyEnvironmentValue(const char* name);

}  // namespace host::sys
