// The text layout of exported registry files: reading it strictly into a RegistryTree, and writing one out.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "host/reg/registry_tree.h"

namespace host::reg {

// Bounds of a registry file. A settings file holds a few hundred short values; these only keep a wrong or
// damaged file from exhausting memory. A value's text is bounded by the line.
inline constexpr std::size_t kMaxRegistryFileBytes = 16u << 20;  // 16 MiB as stored (UTF-16 is twice UTF-8)
inline constexpr std::size_t kMaxRegistryLineBytes = 1u << 16;   // 64 KiB of UTF-8 per line
inline constexpr std::size_t kMaxBinaryValueLines = 4096;        // continuation lines of one hex value

inline constexpr std::string_view kRegistryHeader = "Windows Registry Editor Version 5.00";
inline constexpr std::string_view kOldRegistryHeader = "REGEDIT4";

enum class RegistryFileEncoding {
    Utf8,     // UTF-8, with or without a byte-order mark; the form this system writes new files in
    Utf16le,  // UTF-16 little-endian with a byte-order mark, the form registry editors export
    Cp1251,   // single-byte Windows Cyrillic (old REGEDIT4 exports); written back as UTF-8
};

struct ParsedRegistry {
    RegistryTree tree;
    RegistryFileEncoding encoding = RegistryFileEncoding::Utf8;
};

// Reads the bytes of a registry file. Accepted, line by line (LF or CR LF ends):
//   - first (after blank lines) the header "Windows Registry Editor Version 5.00" or "REGEDIT4";
//   - blank lines, and comment lines starting with ';' (not kept);
//   - [HKEY_LOCAL_MACHINE\Sub\Key] or [HKEY_CURRENT_USER\...] (the hive in full, any case) starts a key, which
//     is created with its parents; [-HKEY_...\Key] removes a key and everything below it;
//   - "Name"=... or @=... (the default value), with \\ and \" the only escapes in quoted text, and the data
//     "text", dword:XXXXXXXX (1 to 8 hex digits), hex:bytes or hex(N):bytes (comma-separated pairs, continued on
//     the next lines after a final '\'), or - to remove the value. Spaces around '=' are allowed.
// A key or value named again merges with the first (a later value wins). Anything else stops the reading: the
// answer is nothing, and `error` is "<name>:<line>: <what is wrong>". An empty file is an empty registry.
std::optional<ParsedRegistry> parseRegistryFile(std::string_view bytes, std::string_view name, std::string* error);

// The tree as file text (UTF-8, CR LF): the header, then each key in tree order as "[path]", its values and a
// blank line. A hive's own key is written only when it holds values. Long hex values are wrapped as registry
// editors wrap them.
std::string formatRegistryText(const RegistryTree& tree);

// formatRegistryText in the bytes of `encoding` (UTF-16LE gets its byte-order mark; CP1251 is written as UTF-8).
std::string encodeRegistryFile(const RegistryTree& tree, RegistryFileEncoding encoding);

}  // namespace host::reg
