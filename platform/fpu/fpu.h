#pragma once

// The x87 floating-point control word of the process: exception masks,
// precision and rounding.

#include <cstdint>

namespace qirelo::platform {

// All six exceptions masked, 64-bit precision, round to nearest.
inline constexpr std::uint16_t kFpuControlWordExtended = 0x133F;

class Fpu {
public:
    virtual ~Fpu() = default;
    // The word in force on the calling thread.
    virtual std::uint16_t control_word() = 0;
    // The word for the whole process: the calling thread's now, and that of
    // every thread the client starts from now on.
    virtual void set_control_word(std::uint16_t word) = 0;
};

// The processor's own x87 unit (fnstcw / fldcw).
class X87Fpu final : public Fpu {
public:
    std::uint16_t control_word() override;
    void set_control_word(std::uint16_t word) override;
};

// Gives the calling thread the word last set for the process, if any. Every
// thread the client starts calls it first: a new thread otherwise begins on
// the system's default word (Windows) or on its creator's (Linux).
void adopt_process_fpu_control_word();

} // namespace qirelo::platform
