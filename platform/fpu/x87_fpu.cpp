#include "platform/fpu/fpu.h"

namespace qirelo::platform {

#if defined(__i386__) || defined(__x86_64__)

std::uint16_t X87Fpu::control_word() {
    std::uint16_t word = 0;
    __asm__ volatile("fnstcw %0" : "=m"(word));
    return word;
}

void X87Fpu::set_control_word(std::uint16_t word) {
    __asm__ volatile("fldcw %0" : : "m"(word));
}

#else

// No x87 unit on this processor: the word is only remembered, so the start-up
// and close steps still pair up.
namespace {
std::uint16_t remembered = 0x037F;
}
std::uint16_t X87Fpu::control_word() {
    return remembered;
}
void X87Fpu::set_control_word(std::uint16_t word) {
    remembered = word;
}

#endif

} // namespace qirelo::platform
