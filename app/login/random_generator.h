#pragma once

#include <cstdint>

namespace qirelo::app::login {

// The runtime's pseudo-random generator: a 32-bit linear congruential state,
// re-seeded on demand. Each owner keeps its own state, so no other code's
// draws shift its sequence and no thread shares it.
class RandomGenerator {
public:
    explicit RandomGenerator(std::uint32_t seed = 0) : state_(seed) {}

    // Re-seeds from a high-resolution clock, so two re-seeds in quick
    // succession still start different sequences.
    void Randomize();
    void Reseed(std::uint32_t seed) { state_ = seed; }

    // A value drawn uniformly from 0 to range - 1 (0 for a range of 0).
    std::uint32_t Random(std::uint32_t range);

private:
    std::uint32_t state_;
};

} // namespace qirelo::app::login
