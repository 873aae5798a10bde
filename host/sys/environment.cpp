// Environment variables through getenv, copied out at once.
#include "host/sys/environment.h"

#include <cstdlib>

namespace host::sys {

std::optional<std::string> environmentValue(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr) return std::nullopt;
    return std::string(value);
}

std::optional<std::string> nonEmptyEnvironmentValue(const char* name) {
    auto value = environmentValue(name);
    if (value && value->empty()) return std::nullopt;
    return value;
}

}  // namespace host::sys
