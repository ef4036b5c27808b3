#include "platform/fpu/fpu.h"

#include <atomic>

namespace qirelo::platform {
namespace {

// The word set for the process; -1 until one is set.
std::atomic<int> process_word{-1};

#if defined(__i386__) || defined(__x86_64__)

std::uint16_t load_thread_word() {
    std::uint16_t word = 0;
    __asm__ volatile("fnstcw %0" : "=m"(word));
    return word;
}

void store_thread_word(std::uint16_t word) {
    __asm__ volatile("fldcw %0" : : "m"(word));
}

#else

// No x87 unit on this processor: the word is only remembered, so the start-up
// and close steps still pair up.
thread_local std::uint16_t remembered = 0x037F;
std::uint16_t load_thread_word() {
    return remembered;
}
void store_thread_word(std::uint16_t word) {
    remembered = word;
}

#endif

} // namespace

std::uint16_t X87Fpu::control_word() {
    return load_thread_word();
}

void X87Fpu::set_control_word(std::uint16_t word) {
    process_word = word;
    store_thread_word(word);
}

void adopt_process_fpu_control_word() {
    const int word = process_word;
    if (word >= 0) {
        store_thread_word(static_cast<std::uint16_t>(word));
    }
}

} // namespace qirelo::platform
