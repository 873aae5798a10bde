// Handles as text, object ids' handle and erased flag, and entity names.
#include "host/db/ids.h"

#include <cctype>
#include <charconv>
#include <limits>

#include "host/db/database.h"

namespace host::db {

namespace {
constexpr std::size_t kMaxHandleDigits = 16;  // 64 bits
}

std::string Handle::text() const {
    char buf[kMaxHandleDigits];
    const auto r = std::to_chars(buf, buf + sizeof buf, value, 16);
    std::string out(buf, r.ptr);
    for (char& c : out) c = char(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

std::optional<Handle> Handle::parse(std::string_view text) {
    if (text.empty() || text.size() > kMaxHandleDigits) return std::nullopt;
    for (char c : text) {
        if (!std::isxdigit(static_cast<unsigned char>(c))) return std::nullopt;
    }
    std::uint64_t v = 0;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), v, 16);
    if (r.ec != std::errc() || r.ptr != text.data() + text.size()) return std::nullopt;
    return Handle(v);
}

Handle ObjectId::handle() const {
    return db_ ? db_->handleOf(*this) : Handle();
}

bool ObjectId::isErased() const {
    if (!db_) return true;
    const DbObject* o = db_->peek(*this);
    return !o || o->isErased();
}

EntityName idToName(ObjectId id) {
    EntityName n;
    if (id.isNull()) return n;
    n.word[0] = static_cast<std::int64_t>(id.database()->serial());
    n.word[1] = static_cast<std::int64_t>(id.index()) + 1;
    return n;
}

ObjectId nameToId(const EntityName& name) {
    if (name.isNil() || name.word[0] <= 0 || name.word[1] <= 0) return {};
    if (name.word[1] - 1 > std::int64_t(std::numeric_limits<std::uint32_t>::max())) return {};
    Database* db = databaseBySerial(static_cast<std::uint64_t>(name.word[0]));
    if (!db) return {};
    const ObjectId id(db, static_cast<std::uint32_t>(name.word[1] - 1));
    return db->peek(id) ? id : ObjectId();
}

}  // namespace host::db
