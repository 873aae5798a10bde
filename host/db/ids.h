// Identity of database objects: in-memory object ids, persistent handles and entity names.
#pragma once

#include <compare>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace host::db {

class Database;

// A persistent 64-bit handle. Never reused within a database, kept exactly through save and reload.
struct Handle {
    std::uint64_t value = 0;

    constexpr Handle() = default;
    constexpr explicit Handle(std::uint64_t v) : value(v) {}
    constexpr Handle(std::uint32_t low, std::uint32_t high) : value((std::uint64_t(high) << 32) | low) {}

    constexpr bool isNull() const { return value == 0; }
    constexpr std::uint32_t low() const { return std::uint32_t(value); }
    constexpr std::uint32_t high() const { return std::uint32_t(value >> 32); }
    // Upper-case hexadecimal without leading zeros ("0" for the null handle), as the host prints handles.
    std::string text() const;
    // Parses hexadecimal text of 1-16 digits, either case; anything else answers nullopt.
    static std::optional<Handle> parse(std::string_view text);

    constexpr auto operator<=>(const Handle&) const = default;
};

// An object id: which object of which open database. Valid while the database lives; the null id names nothing.
class ObjectId {
public:
    constexpr ObjectId() = default;
    constexpr ObjectId(Database* db, std::uint32_t index) : db_(db), index_(index) {}

    static constexpr ObjectId null() { return {}; }
    constexpr bool isNull() const { return db_ == nullptr; }
    constexpr explicit operator bool() const { return db_ != nullptr; }

    Database* database() const { return db_; }
    std::uint32_t index() const { return index_; }
    // The object's handle; the null handle for the null id.
    Handle handle() const;
    // True when the object is erased (also true for the null id).
    bool isErased() const;

    constexpr auto operator<=>(const ObjectId&) const = default;

private:
    Database* db_ = nullptr;
    std::uint32_t index_ = 0;
};

// The host's entity name: two 64-bit words, valid while the drawing is open. Word 0 names the database (a serial
// number that no other database of the session has), word 1 the object within it (index + 1). {0, 0} is nil.
struct EntityName {
    std::int64_t word[2] = {0, 0};

    constexpr bool isNil() const { return word[0] == 0 && word[1] == 0; }
    constexpr bool operator==(const EntityName& o) const { return word[0] == o.word[0] && word[1] == o.word[1]; }
};

// Name <-> id. nameToId answers the null id when the name is nil, names a closed drawing or no object.
EntityName idToName(ObjectId id);
ObjectId nameToId(const EntityName& name);

}  // namespace host::db

template <>
struct std::hash<host::db::ObjectId> {
    std::size_t operator()(const host::db::ObjectId& id) const noexcept {
        return std::hash<const void*>()(id.database()) ^ (std::size_t(id.index()) * 0x9E3779B97F4A7C15ull);
    }
};
