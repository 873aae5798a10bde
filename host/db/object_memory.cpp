// Memory for database objects.
//
// A drawing holds many small objects of a few sizes (a line, an arc: under 300 bytes each), made in runs of
// hundreds of thousands by an import and all freed together when the drawing closes. From the general heap, the
// first such run pays a page fault for every 4 KB it touches, and a closed drawing's memory is handed back to the
// system only to be faulted in again by the next one. Here objects come from large regions the kernel may back
// with huge pages, and a freed object's memory stays on a free list of its size for the next object of that size.
// Under AddressSanitizer objects use the general heap, so that the sanitizer still sees every object on its own.
#include "host/db/object_memory.h"

#include <array>
#include <cstdint>
#include <mutex>
#include <new>

#if defined(__linux__) && !defined(__SANITIZE_ADDRESS__)
#include <sys/mman.h>
#define HOST_DB_OBJECT_POOL 1
#endif

namespace host::db::detail {

#ifdef HOST_DB_OBJECT_POOL

namespace {

constexpr std::size_t kGrain = 16;               // sizes are rounded up to this; it is also the alignment
constexpr std::size_t kLargestPooled = 1024;     // bigger objects (rare) use the general heap
constexpr std::size_t kRegionBytes = 8u << 20;   // 8 MB, four huge pages
constexpr std::size_t kClasses = kLargestPooled / kGrain;

static_assert(kGrain >= alignof(std::max_align_t));

struct FreeBlock {
    FreeBlock* next;
};

struct Pool {
    std::mutex mutex;
    std::array<FreeBlock*, kClasses> freeLists{};
    char* next = nullptr;  // the unused rest of the newest region
    char* end = nullptr;

    // A new region; false when the system has no memory to give.
    bool grow() {
        void* region = ::mmap(nullptr, kRegionBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (region == MAP_FAILED) return false;
#ifdef MADV_HUGEPAGE
        ::madvise(region, kRegionBytes, MADV_HUGEPAGE);  // a hint: without huge pages the region still serves
#endif
        next = static_cast<char*>(region);
        end = next + kRegionBytes;
        return true;
    }
};

// Never destroyed: objects of static drawings may be freed after every other static has gone.
Pool& pool() {
    static Pool* p = new Pool;
    return *p;
}

std::size_t classOf(std::size_t size) {
    return (size + kGrain - 1) / kGrain - 1;
}

}  // namespace

void* allocateObject(std::size_t size) {
    if (size == 0 || size > kLargestPooled) return ::operator new(size);
    const std::size_t c = classOf(size);
    Pool& p = pool();
    std::lock_guard lock(p.mutex);
    if (FreeBlock* block = p.freeLists[c]) {
        p.freeLists[c] = block->next;
        return block;
    }
    const std::size_t bytes = (c + 1) * kGrain;
    if (std::size_t(p.end - p.next) < bytes) {
        // The rest of the old region is given to the free lists of the sizes it can hold, then a new one is made.
        while (std::size_t(p.end - p.next) >= kGrain) {
            const std::size_t rest = std::size_t(p.end - p.next);
            const std::size_t restClass = (rest >= kLargestPooled ? kLargestPooled : rest) / kGrain - 1;
            auto* block = reinterpret_cast<FreeBlock*>(p.next);
            block->next = p.freeLists[restClass];
            p.freeLists[restClass] = block;
            p.next += (restClass + 1) * kGrain;
        }
        if (!p.grow()) throw std::bad_alloc();
    }
    void* out = p.next;
    p.next += bytes;
    return out;
}

void freeObject(void* object, std::size_t size) noexcept {
    if (!object) return;
    if (size == 0 || size > kLargestPooled) {
        ::operator delete(object);
        return;
    }
    Pool& p = pool();
    std::lock_guard lock(p.mutex);
    auto* block = static_cast<FreeBlock*>(object);
    const std::size_t c = classOf(size);
    block->next = p.freeLists[c];
    p.freeLists[c] = block;
}

#else

void* allocateObject(std::size_t size) {
    return ::operator new(size);
}

void freeObject(void* object, std::size_t) noexcept {
    ::operator delete(object);
}

#endif

}  // namespace host::db::detail
