// The process-wide 15-bit generator.
#include "host/sys/random.h"

#include <mutex>

namespace host::sys {

namespace {

std::mutex g_randomMutex;
Random15 g_random;

}  // namespace

void seedRandom(std::uint32_t seed) {
    std::lock_guard lock(g_randomMutex);
    g_random.seed(seed);
}

int nextRandom() {
    std::lock_guard lock(g_randomMutex);
    return g_random.next();
}

}  // namespace host::sys
