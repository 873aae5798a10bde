// Hive names and the parsing of key paths.
#include "host/reg/key_path.h"

#include "host/sys/encoding.h"
#include "host/sys/text_case.h"

namespace host::reg {

namespace {

constexpr std::string_view kLocalMachine = "HKEY_LOCAL_MACHINE";
constexpr std::string_view kCurrentUser = "HKEY_CURRENT_USER";
constexpr std::string_view kLocalMachineShort = "HKLM";
constexpr std::string_view kCurrentUserShort = "HKCU";
constexpr char kSeparator = '\\';

}  // namespace

std::string_view hiveName(Hive hive) { return hive == Hive::LocalMachine ? kLocalMachine : kCurrentUser; }

std::optional<Hive> parseHive(std::string_view name) {
    using sys::equalsNoCase;
    if (equalsNoCase(name, kLocalMachine) || equalsNoCase(name, kLocalMachineShort)) return Hive::LocalMachine;
    if (equalsNoCase(name, kCurrentUser) || equalsNoCase(name, kCurrentUserShort)) return Hive::CurrentUser;
    return std::nullopt;
}

std::string KeyPath::text() const {
    std::string out(hiveName(hive));
    if (!subKey.empty()) {
        out.push_back(kSeparator);
        out += subKey;
    }
    return out;
}

std::optional<std::vector<std::string>> splitSubKey(std::string_view subKey) {
    if (!subKey.empty() && subKey.front() == kSeparator) subKey.remove_prefix(1);
    if (!subKey.empty() && subKey.back() == kSeparator) subKey.remove_suffix(1);
    std::vector<std::string> names;
    if (subKey.empty()) return names;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = subKey.find(kSeparator, start);
        const std::string_view name = subKey.substr(start, end == std::string_view::npos ? end : end - start);
        if (name.empty() || sys::utf8CharacterCount(name) > kMaxKeyNameLength) return std::nullopt;
        names.emplace_back(name);
        if (names.size() > kMaxKeyDepth) return std::nullopt;
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    return names;
}

std::optional<KeyPath> parseKeyPath(std::string_view fullPath) {
    const std::size_t cut = fullPath.find(kSeparator);
    const auto hive = parseHive(fullPath.substr(0, cut));
    if (!hive) return std::nullopt;
    const std::string_view rest = cut == std::string_view::npos ? std::string_view() : fullPath.substr(cut + 1);
    const auto names = splitSubKey(rest);
    if (!names) return std::nullopt;
    KeyPath path{*hive, {}};
    for (const std::string& name : *names) {
        if (!path.subKey.empty()) path.subKey.push_back(kSeparator);
        path.subKey += name;
    }
    return path;
}

}  // namespace host::reg
