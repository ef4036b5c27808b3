#include "app/login/random_generator.h"

#include <chrono>

namespace qirelo::app::login {

void RandomGenerator::Randomize() {
    const auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    state_ = static_cast<std::uint32_t>(ticks) ^ static_cast<std::uint32_t>(ticks >> 32);
}

std::uint32_t RandomGenerator::Random(std::uint32_t range) {
    state_ = state_ * 0x08088405u + 1u;
    // The high bits of the product scale the state onto the range evenly; the
    // low bits of a linear congruential state are the weak ones.
    return static_cast<std::uint32_t>((static_cast<std::uint64_t>(state_) * range) >> 32);
}

} // namespace qirelo::app::login
