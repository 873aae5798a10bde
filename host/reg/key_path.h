// Registry key paths: the two hives, sub-key texts, and the product's version key.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace host::reg {

// The key every module of this build keeps its settings under, below HKEY_LOCAL_MACHINE. All modules share the
// one version "20.0", whatever release a module was first written for.
inline constexpr std::string_view kProductKey = "SOFTWARE\\Kestrion\\20.0";
// Its parent, which the menu loader opens only to see that the product is installed.
inline constexpr std::string_view kProductRootKey = "SOFTWARE\\Kestrion";

enum class Hive {
    LocalMachine,  // HKEY_LOCAL_MACHINE (HKLM)
    CurrentUser,   // HKEY_CURRENT_USER (HKCU)
};

// "HKEY_LOCAL_MACHINE" or "HKEY_CURRENT_USER", as the file writes them.
std::string_view hiveName(Hive hive);

// A hive named in full or abbreviated (HKLM, HKCU), in any case.
std::optional<Hive> parseHive(std::string_view name);

// A key: its hive and its sub-key path below the hive ("" for the hive itself). Sub-key names are compared
// without regard to case.
struct KeyPath {
    Hive hive = Hive::LocalMachine;
    std::string subKey;

    // "HKEY_LOCAL_MACHINE\SOFTWARE\Kestrion", with the text as written.
    std::string text() const;
};

// Splits a sub-key path at '\' into its names. One leading and one trailing '\' are ignored; an empty name
// inside ("A\\B"), a name longer than kMaxKeyNameLength characters, or more than kMaxKeyDepth names make the
// path invalid (nothing is returned). '/' is an ordinary character in a key name, as in the registry.
std::optional<std::vector<std::string>> splitSubKey(std::string_view subKey);

// A full key path, "HKLM\SOFTWARE\Kestrion\20.0" or "HKEY_CURRENT_USER\Software", parsed and checked.
std::optional<KeyPath> parseKeyPath(std::string_view fullPath);

// Bounds of names. A key name is at most 255 characters in the registry itself; the depth bound only keeps a
// damaged file from building a key chain deep enough to exhaust the stack of the recursive writer.
inline constexpr std::size_t kMaxKeyNameLength = 255;
inline constexpr std::size_t kMaxKeyDepth = 64;
inline constexpr std::size_t kMaxValueNameLength = 16383;

}  // namespace host::reg
