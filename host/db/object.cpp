// The database object base: owner, erase flag, reactors, extended data and the write-enable contract.
#include "host/db/object.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "host/db/database.h"
#include "host/sys/text_case.h"

namespace host::db {

namespace {

constexpr int kXDataApp = 1001;
constexpr int kXDataString = 1000;
constexpr int kXDataControl = 1002;
constexpr int kXDataLayer = 1003;
constexpr int kXDataBinary = 1004;
constexpr int kXDataHandle = 1005;
constexpr int kXDataPointFirst = 1010, kXDataPointLast = 1013;
constexpr int kXDataRealFirst = 1040, kXDataRealLast = 1042;
constexpr int kXDataInt16 = 1070;
constexpr int kXDataInt32 = 1071;

template <class T>
bool holds(const ResBuf& rb) {
    return std::holds_alternative<T>(rb.value);
}

bool isFinite(const ge::Point3d& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

// One item of an application's list: the codes and values extended data may hold. `depth` follows the 1002
// braces, which must open before they close.
bool validItem(const ResBuf& rb, int& depth) {
    switch (rb.code) {
    case kXDataString:
    case kXDataLayer: return holds<std::string>(rb);
    case kXDataControl:
        if (rb.str() == "{") return ++depth, true;
        if (rb.str() == "}") return depth-- > 0;
        return false;
    case kXDataBinary: return holds<std::vector<std::uint8_t>>(rb);
    case kXDataHandle: return holds<std::string>(rb) && Handle::parse(rb.str()).has_value();
    case kXDataInt16:
        return holds<std::int64_t>(rb) && rb.integer() >= std::numeric_limits<std::int16_t>::min() &&
               rb.integer() <= std::numeric_limits<std::int16_t>::max();
    case kXDataInt32:
        return holds<std::int64_t>(rb) && rb.integer() >= std::numeric_limits<std::int32_t>::min() &&
               rb.integer() <= std::numeric_limits<std::int32_t>::max();
    default: break;
    }
    if (rb.code >= kXDataPointFirst && rb.code <= kXDataPointLast)
        return holds<ge::Point3d>(rb) && isFinite(rb.point());
    if (rb.code >= kXDataRealFirst && rb.code <= kXDataRealLast)
        return holds<double>(rb) && std::isfinite(rb.real());
    return false;
}

}  // namespace

void DbObject::setOwnerId(ObjectId owner) {
    owner_ = owner;
}

Status DbObject::erase(bool erasing) {
    if (!isWriteEnabled()) return Status::NotOpenForWrite;
    erased_ = erasing;
    if (Database* db = database()) db->markModified();
    return Status::Ok;
}

ResBufList DbObject::xData(std::string_view app) const {
    ResBufList out;
    for (const XDataApp& a : xdata_) {
        if (!app.empty() && !sys::equalsNoCase(a.app, app)) continue;
        out.emplace_back(kXDataApp, a.app);
        out.insert(out.end(), a.items.begin(), a.items.end());
    }
    return out;
}

// Checks the whole list before anything changes, so a bad item leaves the object's data as it was.
Status DbObject::setXData(const ResBufList& list) {
    if (!isWriteEnabled()) return Status::NotOpenForWrite;
    if (list.empty()) return Status::Ok;
    if (list.front().code != kXDataApp) return Status::InvalidInput;

    const Database* registry = database() ? database() : workingDatabase();
    std::vector<XDataApp> parsed;
    int depth = 0;
    for (const ResBuf& rb : list) {
        if (rb.code == kXDataApp) {
            if (depth != 0) return Status::InvalidInput;  // an open "{" before the next application
            if (!holds<std::string>(rb) || rb.str().empty()) return Status::InvalidInput;
            std::string name = rb.str();
            if (registry) {
                const ObjectId rec = registry->recordId(TableKind::RegApp, name);
                if (rec.isNull()) return Status::RegAppNotFound;
                name = registry->recordName(rec);  // as registered
            }
            parsed.push_back({std::move(name), {}});
            continue;
        }
        if (!validItem(rb, depth)) return Status::InvalidInput;
        parsed.back().items.push_back(rb);
    }
    if (depth != 0) return Status::InvalidInput;

    for (XDataApp& p : parsed) {
        auto it = std::find_if(xdata_.begin(), xdata_.end(),
                               [&](const XDataApp& a) { return sys::equalsNoCase(a.app, p.app); });
        if (p.items.empty()) {
            if (it != xdata_.end()) xdata_.erase(it);
        } else if (it != xdata_.end()) {
            it->items = std::move(p.items);
        } else {
            xdata_.push_back(std::move(p));
        }
    }
    if (Database* db = database()) db->markModified();
    return Status::Ok;
}

std::vector<std::string> DbObject::xDataApplications() const {
    std::vector<std::string> out;
    out.reserve(xdata_.size());
    for (const XDataApp& a : xdata_) out.push_back(a.app);
    return out;
}

void DbObject::addReactor(ObjectId id) {
    if (id.isNull() || std::find(reactors_.begin(), reactors_.end(), id) != reactors_.end()) return;
    reactors_.push_back(id);
}

void DbObject::removeReactor(ObjectId id) {
    reactors_.erase(std::remove(reactors_.begin(), reactors_.end(), id), reactors_.end());
}

bool DbObject::isWriteEnabled() const {
    return id_.isNull() || id_.database()->isOpenForWrite(id_);
}

void DbObject::assertWriteEnabled() const {
    if (isWriteEnabled()) return;
    std::fprintf(stderr,
                 "host::db: %s with handle %s was changed while not open for write. Open it with "
                 "ObjectPtr<...>(id, OpenMode::Write), or call upgradeOpen() on a read-open pointer, before "
                 "changing it.\n",
                 className(), handle().text().c_str());
    std::fflush(stderr);
    std::abort();
}

}  // namespace host::db
