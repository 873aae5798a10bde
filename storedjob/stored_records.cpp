// The stored job layout: versions, packed contour flags, stored contours, the item reader, the header items of
// the settings record and the contour table behind its directory.
#include "storedjob/stored_records.h"

#include <algorithm>
#include <cmath>
#include <variant>

#include "host/db/ids.h"

using host::db::Handle;
using host::db::ResBuf;
using host::db::ResBufList;
using host::ge::Point3d;

namespace {

// The one version-independent check of a stored float: 2008.01 and friends, times 100, cut to an integer.
constexpr int kVersionKey2005 = 200500;
constexpr int kVersionKey2008 = 200800;
constexpr int kVersionKey200801 = 200801;

double FiniteOrZero(double v) { return std::isfinite(v) ? v : 0.0; }

void AppendLong(ResBufList& list, std::int64_t value) {
    list.emplace_back(kStoredCodeLong, static_cast<std::int64_t>(static_cast<std::int32_t>(value)));
}

void AppendHandlePair(ResBufList& list, std::uint64_t handle) {
    const Handle h(handle);
    AppendLong(list, static_cast<std::int32_t>(h.high()));
    AppendLong(list, static_cast<std::int32_t>(h.low()));
}

void AppendReal(ResBufList& list, double value) { list.emplace_back(kStoredCodeReal, FiniteOrZero(value)); }

template <class T>
T Failed(bool& ok, T value) {
    ok = false;
    return value;
}

}  // namespace

// ===================================================================== versions and flags

std::optional<JobDataVersion> JobDataVersionOf(float storedVersion) {
    const float scaled = storedVersion * 100.0f;
    if (!std::isfinite(scaled) || std::fabs(scaled) > 1e9f) return std::nullopt;
    switch (static_cast<int>(scaled)) {
        case kVersionKey2005: return JobDataVersion::V2005;
        case kVersionKey2008: return JobDataVersion::V2008;
        case kVersionKey200801: return JobDataVersion::V200801;
        default: return std::nullopt;
    }
}

std::int32_t PackContourFlags(const ContourRecord& r) {
    // the record's bytes are packed as small signed numbers
    const auto s = [](std::uint8_t b) { return static_cast<std::int32_t>(static_cast<std::int8_t>(b)); };
    return ((((s(static_cast<std::uint8_t>(r.kind)) * 16 + s(r.shape)) * 8 + s(r.placement)) * 8 + s(r.closure)) * 8 +
            s(r.role)) * 8 + s(r.processed);
}

void UnpackContourFlags(std::int32_t flags, JobDataVersion version, ContourRecord& r) {
    const auto bits = [flags](int shift, int width) {
        return static_cast<std::uint8_t>((static_cast<std::uint32_t>(flags) >> shift) & ((1u << width) - 1));
    };
    r.processed = bits(0, 3);
    if (version == JobDataVersion::V2005) {
        r.shape = bits(3, 3);
        r.closure = bits(6, 3);
        r.role = bits(9, 3);
        r.placement = bits(12, 3);
        return;
    }
    r.role = bits(3, 3);
    r.closure = bits(6, 3);
    r.placement = bits(9, 3);
    r.shape = bits(12, 4);
    r.kind = static_cast<ContourKind>(bits(16, 8));
}

// ===================================================================== stored contours

void AppendStoredContour(ResBufList& list, const ContourRecord& r) {
    AppendLong(list, PackContourFlags(r));
    AppendHandlePair(list, r.handle);
    AppendHandlePair(list, r.parentHandle);
    AppendReal(list, r.minX);
    AppendReal(list, r.minY);
    AppendReal(list, r.maxX);
    AppendReal(list, r.maxY);
    AppendReal(list, r.area);
}

bool ReadStoredContour(const ResBufList& items, std::size_t first, JobDataVersion version, ContourRecord& record) {
    StoredList list(items);
    ContourRecord r = record;
    const std::int32_t flags = list.Long(first);
    r.handle = list.HandlePair(first + 1);
    r.parentHandle = list.HandlePair(first + 3);
    r.minX = list.Real(first + 5);
    r.minY = list.Real(first + 6);
    r.maxX = list.Real(first + 7);
    r.maxY = list.Real(first + 8);
    r.area = list.Real(first + 9);
    if (!list.ok()) return false;
    UnpackContourFlags(flags, version, r);
    record = r;
    return true;
}

int ContourBatchCount(int contourCount) { return contourCount < 0 ? 0 : contourCount / kContoursPerBatch + 1; }

// ===================================================================== the item reader

const ResBuf* StoredList::Item(std::size_t i, int code) {
    if (!ok_ || i >= list_.size() || list_[i].code != code) return Failed<const ResBuf*>(ok_, nullptr);
    return &list_[i];
}

double StoredList::Real(std::size_t i) {
    const ResBuf* rb = Item(i, kStoredCodeReal);
    return rb && std::holds_alternative<double>(rb->value) ? std::get<double>(rb->value) : Failed(ok_, 0.0);
}

std::int32_t StoredList::Long(std::size_t i) {
    const ResBuf* rb = Item(i, kStoredCodeLong);
    if (!rb || !std::holds_alternative<std::int64_t>(rb->value)) return Failed(ok_, 0);
    return static_cast<std::int32_t>(std::get<std::int64_t>(rb->value));
}

std::string StoredList::String(std::size_t i) {
    const ResBuf* rb = Item(i, kStoredCodeText);
    return rb && std::holds_alternative<std::string>(rb->value) ? std::get<std::string>(rb->value)
                                                                : Failed(ok_, std::string());
}

Point3d StoredList::Point(std::size_t i) {
    const ResBuf* rb = Item(i, kStoredCodePoint);
    return rb && std::holds_alternative<Point3d>(rb->value) ? std::get<Point3d>(rb->value) : Failed(ok_, Point3d());
}

std::uint64_t StoredList::HandleText(std::size_t i) {
    std::string text = String(i);
    if (!ok_) return 0;
    auto h = Handle::parse(text);
    return h ? h->value : Failed(ok_, std::uint64_t{0});
}

std::uint64_t StoredList::HandlePair(std::size_t i) {
    const auto high = static_cast<std::uint32_t>(Long(i));
    const auto low = static_cast<std::uint32_t>(Long(i + 1));
    return Handle(low, high).value;
}

// ===================================================================== the header items

const JobSettingsPositions& PositionsOf(JobDataVersion version) {
    static constexpr JobSettingsPositions k2005 = {20, 25, 29, 0, 0};
    static constexpr JobSettingsPositions k2008 = {23, 30, 34, 41, 10};
    static constexpr JobSettingsPositions k200801 = {23, 30, 34, 41, 11};
    switch (version) {
        case JobDataVersion::V2005: return k2005;
        case JobDataVersion::V2008: return k2008;
        case JobDataVersion::V200801: break;
    }
    return k200801;
}

StoredHeaderProblem ReadStoredJobHeader(const ResBufList& items, StoredJobHeader& header) {
    StoredList l(items);
    const double number = l.Real(kSettingsVersionItem);
    const std::int32_t status = l.Long(kSettingsStatusItem);
    if (!l.ok()) return StoredHeaderProblem::NotReadable;
    const auto version = JobDataVersionOf(static_cast<float>(number));
    if (!version) return StoredHeaderProblem::UnknownVersion;
    if (status != 1) return StoredHeaderProblem::NoContours;

    const JobSettingsPositions& at = PositionsOf(*version);
    StoredJobHeader h;
    h.version = *version;
    h.status = status;
    h.directoryHandle = l.HandleText(kSettingsDirectoryItem);
    h.unit = l.Long(kSettingsUnitItem);
    h.extentsMin = l.Point(at.extents);
    h.extentsMax = l.Point(at.extents + 1);
    h.area = l.Real(at.area);
    h.lastIndex = l.Long(at.contourCount);
    h.innerCount = l.Long(at.contourCount + 1);
    h.outerCount = l.Long(at.contourCount + 2);
    h.openCount = l.Long(at.contourCount + 3);
    for (std::size_t k = 0; k < at.kindCountItems; ++k) h.kindCountSum += l.Counter(at.kindCounts + k);
    if (!l.ok()) return StoredHeaderProblem::NotReadable;
    if (h.lastIndex < 0 || h.lastIndex > kMaxStoredContourCount) return StoredHeaderProblem::BadCount;
    header = h;
    return StoredHeaderProblem::None;
}

// ===================================================================== the contour table

bool ReadStoredContourBatch(const ResBufList& batch, std::size_t count, JobDataVersion version, ContourRecord* out) {
    if (batch.size() < 1 + count * kStoredContourItems) return false;
    for (std::size_t r = 0; r < count; ++r) {
        if (!ReadStoredContour(batch, 1 + r * kStoredContourItems, version, out[r])) return false;
    }
    return true;
}

std::optional<std::vector<ContourRecord>> ReadStoredContourTable(const ResBufList& directory, int lastIndex,
                                                                 JobDataVersion version,
                                                                 const StoredListLookup& lookup) {
    if (lastIndex < 0 || lastIndex > kMaxStoredContourCount) return std::nullopt;
    // the directory must list a batch for every 201 records before the table is made
    StoredList pairs(directory);
    const auto batches = static_cast<std::size_t>(ContourBatchCount(lastIndex));
    if (pairs.size() < 1 + 2 * batches) return std::nullopt;
    std::vector<ContourRecord> table(static_cast<std::size_t>(lastIndex) + 1);
    std::size_t pair = 1;
    for (int first = 0; first <= lastIndex; pair += 2) {
        const std::uint64_t handle = pairs.HandlePair(pair);
        if (!pairs.ok()) return std::nullopt;
        const int last = std::min(first + kContoursPerBatch - 1, lastIndex);
        const std::optional<ResBufList> batch = lookup(handle);
        if (!batch) return std::nullopt;
        const auto count = static_cast<std::size_t>(last - first) + 1;
        if (!ReadStoredContourBatch(*batch, count, version, table.data() + first)) return std::nullopt;
        first = last + 1;
    }
    return table;
}
