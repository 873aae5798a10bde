// The host's environment values, kept for the session.
#include "host/ed/env_values.h"

#include <map>

#include "host/sys/text_case.h"

namespace host::ed {

namespace {

std::map<std::string, std::string>& values() {
    static std::map<std::string, std::string> byUpperName;
    return byUpperName;
}

}  // namespace

std::string getEnvValue(std::string_view name) {
    const auto it = values().find(sys::upperCase(name));
    return it == values().end() ? std::string() : it->second;
}

void setEnvValue(std::string_view name, std::string_view value) {
    values()[sys::upperCase(name)] = std::string(value);
}

std::vector<std::string> supportFolders() {
    std::vector<std::string> folders;
    const std::string path = getEnvValue(kSupportPathValue);
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t end = std::min(path.find(';', start), path.size());
        if (end > start) folders.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return folders;
}

}  // namespace host::ed
