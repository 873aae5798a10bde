// The host's random numbers in place of the C library's rand(): 15 bits, the same sequence on every machine.
#pragma once

#include <cstdint>

namespace host::sys {

// The largest value rand() gives, as the modules' formulas assume (x / 32767).
inline constexpr int kRandMax = 32767;

// The linear congruential generator of the C standard's own example: state = state * 1103515245 + 12345 (mod
// 2^32), value = bits 16..30 of the new state. Seed 1 gives 16838, 5758, 10113, 17515, ... glibc's rand() is
// another generator with a 31-bit range, so it is not used: runs must repeat on every machine.
class Random15 {
public:
    explicit Random15(std::uint32_t seed = 1) : state_(seed) {}
    void seed(std::uint32_t seed) { state_ = seed; }
    // The next value, 0..kRandMax.
    int next() {
        state_ = state_ * kMultiplier + kIncrement;
        return static_cast<int>((state_ >> 16) & kRandMax);
    }

private:
    static constexpr std::uint32_t kMultiplier = 1103515245u;
    static constexpr std::uint32_t kIncrement = 12345u;
    std::uint32_t state_;
};

// The process's one generator, as srand() and rand(): not seeded, it starts as if seeded with 1. Safe to call
// from several threads (each call takes one value of the one sequence).
void seedRandom(std::uint32_t seed);
int nextRandom();

}  // namespace host::sys
