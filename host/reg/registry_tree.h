// The registry's content in memory: keys holding values and sub-keys, in the order they were first written.
// Used inside host/reg; callers go through Registry.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "host/reg/key_path.h"

namespace host::reg {

enum class ValueType {
    String,  // REG_SZ: "text"
    Dword,   // REG_DWORD: dword:0000002a
    Binary,  // any hex form (hex:, hex(2):, hex(7): ...): kept as read and written back, never interpreted
};

struct RegistryValue {
    std::string name;  // "" is the key's default value, written "@"
    ValueType type = ValueType::String;
    std::string text;  // String: the text. Binary: the type tag as written, "hex" or "hex(2)"
    std::uint32_t dword = 0;
    std::vector<std::uint8_t> bytes;  // Binary only

    friend bool operator==(const RegistryValue&, const RegistryValue&) = default;
};

// Where each name of a list stands, by its upper-cased form, so that finding a name among many does not walk the
// list: a key of 40,000 values took 38 s to read when every value line searched the values before it. The index
// is a cache beside the list it indexes and takes no part in comparing nodes. A caller checks the position it
// gets (see RegistryKeyNode): a list changed without its index falls back to a walk, never to a wrong answer.
class NamePositions {
public:
    std::optional<std::size_t> find(const std::string& folded) const;
    void add(std::string folded, std::size_t position) { positions_.insert_or_assign(std::move(folded), position); }
    void clear() { positions_.clear(); }
    std::size_t size() const { return positions_.size(); }

    friend bool operator==(const NamePositions&, const NamePositions&) { return true; }

private:
    std::unordered_map<std::string, std::size_t> positions_;
};

struct RegistryKeyNode {
    std::string name;    // as first written
    std::string folded;  // upper-cased name, for lookups without regard to case
    // Change these only through the functions below (and RegistryTree), which keep the indexes in step.
    std::vector<RegistryValue> values;
    std::vector<RegistryKeyNode> children;
    NamePositions valueIndex = {};
    NamePositions childIndex = {};

    // Lookups by name without regard to case; nullptr / nothing when absent.
    const RegistryValue* findValue(std::string_view valueName) const;
    RegistryValue* findValue(std::string_view valueName);
    const RegistryKeyNode* findChild(std::string_view childName) const;
    RegistryKeyNode* findChild(std::string_view childName);
    // Adds or replaces (a replaced value keeps its place and the case of its first name).
    void setValue(RegistryValue value);
    bool removeValue(std::string_view valueName);
    // Adds a sub-key (the caller has made sure there is none of that name) and answers it.
    RegistryKeyNode& addChild(std::string childName);
    bool removeChild(std::string_view childName);

    friend bool operator==(const RegistryKeyNode&, const RegistryKeyNode&) = default;
};

// Both hives. A plain value: copying it copies everything, which is how a change is tried before it is kept.
struct RegistryTree {
    RegistryKeyNode localMachine{"HKEY_LOCAL_MACHINE", "HKEY_LOCAL_MACHINE", {}, {}, {}, {}};
    RegistryKeyNode currentUser{"HKEY_CURRENT_USER", "HKEY_CURRENT_USER", {}, {}, {}, {}};

    RegistryKeyNode& root(Hive hive) { return hive == Hive::LocalMachine ? localMachine : currentUser; }
    const RegistryKeyNode& root(Hive hive) const { return hive == Hive::LocalMachine ? localMachine : currentUser; }
    // The key at `names` below `hive`, or nullptr.
    const RegistryKeyNode* find(Hive hive, const std::vector<std::string>& names) const;
    RegistryKeyNode* find(Hive hive, const std::vector<std::string>& names);
    // The key at `names`, created with its missing parents.
    RegistryKeyNode& ensure(Hive hive, const std::vector<std::string>& names);
    // Removes the key at `names` with everything below it; false when there is no such key (or names is empty).
    bool remove(Hive hive, const std::vector<std::string>& names);

    bool empty() const;

    friend bool operator==(const RegistryTree&, const RegistryTree&) = default;
};

}  // namespace host::reg
