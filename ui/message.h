#pragma once

// A message as the application's loop takes it from the queue: the window it
// is for (an opaque handle, 0 in tests), its number and parameters, as the
// window system gives them.

#include <cstdint>

namespace qirelo::ui {

struct Message {
    std::uintptr_t window = 0;
    std::uint32_t message = 0;
    std::uintptr_t wparam = 0;
    std::intptr_t lparam = 0;
    std::uint32_t time = 0;
    int x = 0; // pointer position when the message was posted
    int y = 0;
};

// Message numbers the portable code names.
inline constexpr std::uint32_t kKeyDown = 0x100;
inline constexpr std::uint32_t kKeyUp = 0x101;
inline constexpr std::uint32_t kChar = 0x102;
inline constexpr std::uint32_t kSysKeyDown = 0x104;
inline constexpr std::uint32_t kKeyLast = 0x108;

// Virtual key codes the portable code names.
inline constexpr std::uint16_t kVkBack = 8;
inline constexpr std::uint16_t kVkTab = 9;
inline constexpr std::uint16_t kVkReturn = 13;
inline constexpr std::uint16_t kVkShift = 16;
inline constexpr std::uint16_t kVkControl = 17;
inline constexpr std::uint16_t kVkEscape = 27;
inline constexpr std::uint16_t kVkLeft = 37;
inline constexpr std::uint16_t kVkRight = 39;
inline constexpr std::uint16_t kVkDelete = 46;

// Modifier keys held during a key event.
struct ShiftState {
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
};

} // namespace qirelo::ui
