// The handle index of a Database: which slot holds the object of each handle given out (inside host/db only).
//
// Handles the database gives out itself only ever grow, and a file's handles mostly come in rising order too, so
// those go to the end of a sorted array: no allocation per object and lookups by binary search. A handle below
// the array's last one (a file's records in another order) goes to a small ordered map beside it. A handle taken
// back is only marked in the array, so the reader's renumbering of a made-up record costs no shifting.
#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>
#include <map>
#include <optional>
#include <vector>

namespace host::db {

class HandleIndex {
public:
    // The slot of a handle, or nullopt when the handle is not given out.
    std::optional<std::uint32_t> find(std::uint64_t handle) const {
        if (const Entry* e = inArray(handle)) {
            if (e->slot != kTaken) return e->slot;
        }
        auto it = others_.find(handle);
        if (it == others_.end()) return std::nullopt;
        return it->second;
    }
    bool contains(std::uint64_t handle) const { return find(handle).has_value(); }

    // Adds a handle that is not in the index.
    void insert(std::uint64_t handle, std::uint32_t slot) {
        if (ascending_.empty() || handle > ascending_.back().handle) {
            ascending_.push_back({handle, slot});
        } else {
            others_.emplace(handle, slot);
        }
        ++size_;
    }

    // Takes a handle out; nothing when it is not in the index.
    void erase(std::uint64_t handle) {
        if (Entry* e = inArray(handle); e && e->slot != kTaken) {
            e->slot = kTaken;
            --size_;
        } else if (others_.erase(handle) != 0) {
            --size_;
        }
    }

    std::size_t size() const { return size_; }

    // Calls f(handle, slot) for every handle in rising order.
    template <class F>
    void forEachInOrder(F&& f) const {
        auto other = others_.begin();
        for (const Entry& e : ascending_) {
            for (; other != others_.end() && other->first < e.handle; ++other) f(other->first, other->second);
            if (e.slot != kTaken) f(e.handle, e.slot);
        }
        for (; other != others_.end(); ++other) f(other->first, other->second);
    }

private:
    static constexpr std::uint32_t kTaken = std::numeric_limits<std::uint32_t>::max();
    struct Entry {
        std::uint64_t handle;
        std::uint32_t slot;  // kTaken once the handle was taken back
    };

    const Entry* inArray(std::uint64_t handle) const {
        auto it = std::lower_bound(ascending_.begin(), ascending_.end(), handle,
                                   [](const Entry& e, std::uint64_t h) { return e.handle < h; });
        return it != ascending_.end() && it->handle == handle ? &*it : nullptr;
    }
    Entry* inArray(std::uint64_t handle) {
        return const_cast<Entry*>(static_cast<const HandleIndex*>(this)->inArray(handle));
    }

    std::vector<Entry> ascending_;
    std::map<std::uint64_t, std::uint32_t> others_;
    std::size_t size_ = 0;
};

}  // namespace host::db
