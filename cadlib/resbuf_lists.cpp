// Finding, setting and appending elements of host result-buffer lists.
#include "cadlib/resbuf_lists.h"

#include <algorithm>

#include "host/db/entity_data.h"

namespace {

constexpr int kFound = 0;
constexpr int kNone = 1;

const host::db::ResBuf* firstWithCode(const host::db::ResBufList& list, int code) {
    const auto it = std::find_if(list.begin(), list.end(), [code](const host::db::ResBuf& rb) {
        return rb.code == code;
    });
    return it == list.end() ? nullptr : &*it;
}

}  // namespace

int FindResbufString(const host::db::ResBufList& list, int code, std::string& text) {
    const host::db::ResBuf* rb = firstWithCode(list, code);
    if (!rb) return kNone;
    text = rb->str();
    return kFound;
}

int FindResbufInt(const host::db::ResBufList& list, int code, int& value) {
    const host::db::ResBuf* rb = firstWithCode(list, code);
    if (!rb) return kNone;
    value = static_cast<int>(rb->integer());
    return kFound;
}

int FindResbufInt64(const host::db::ResBufList& list, int code, std::int64_t& value) {
    const host::db::ResBuf* rb = firstWithCode(list, code);
    if (!rb) return kNone;
    value = rb->integer();
    return kFound;
}

int GetEntityString(const host::db::EntityName& name, int code, std::string& text) {
    return FindResbufString(host::db::entGet(name), code, text);
}

int SetResbufPoint(host::db::ResBufList& list, int code, const host::ge::Point3d& point) {
    for (host::db::ResBuf& rb : list) {
        if (rb.code == code) {
            rb.value = point;
            break;
        }
    }
    return kFound;
}

host::db::ResBufList& AppendResbuf(host::db::ResBufList& list, host::db::ResBuf element) {
    list.push_back(std::move(element));
    return list;
}

host::db::ResBufList& AppendEntityName(host::db::ResBufList& list, const host::db::EntityName& name) {
    if (!list.empty()) list.emplace_back(host::db::RTENAME, name);
    return list;
}
