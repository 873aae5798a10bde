// The host's environment values: named texts of the session that modules read and set, such as "ACAD", the support
// search path (folders separated by ';') where the host looks for menu files and other support files.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace host::ed {

// The support search path's name.
inline constexpr std::string_view kSupportPathValue = "ACAD";

// The value of `name` (names compared without regard to case); "" when it was never set.
std::string getEnvValue(std::string_view name);
void setEnvValue(std::string_view name, std::string_view value);

// The support search path split at ';', empty entries left out, each entry whole as it was written.
std::vector<std::string> supportFolders();

}  // namespace host::ed
