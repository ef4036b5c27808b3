#pragma once

// The x87 floating-point control word of the calling thread (the main one):
// exception masks, precision and rounding.

#include <cstdint>

namespace qirelo::platform {

// All six exceptions masked, 64-bit precision, round to nearest.
inline constexpr std::uint16_t kFpuControlWordExtended = 0x133F;

class Fpu {
public:
    virtual ~Fpu() = default;
    virtual std::uint16_t control_word() = 0;
    virtual void set_control_word(std::uint16_t word) = 0;
};

// The processor's own x87 unit (fnstcw / fldcw).
class X87Fpu final : public Fpu {
public:
    std::uint16_t control_word() override;
    void set_control_word(std::uint16_t word) override;
};

} // namespace qirelo::platform
