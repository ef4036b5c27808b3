#pragma once

// The keyboard boundary: synthesised key events, the current layout's answers
// for characters and keys, the calling thread's key-state table, and the few
// window-system calls the keystroke sender needs around them.

#include <array>
#include <cstdint>

namespace qirelo::platform::input {

// The calling thread's 256-entry key-state table: bit 0 of an entry is the
// key's toggle (NumLock, CapsLock on), bit 7 says the key is down.
using KeyStateTable = std::array<std::uint8_t, 256>;

// keybd_event flags.
inline constexpr std::uint32_t kKeyEventExtendedKey = 0x1;
inline constexpr std::uint32_t kKeyEventKeyUp = 0x2;

// What scan_char answers for a character the layout has no key for.
inline constexpr std::uint16_t kNoKeyForChar = 0xFFFF;

class Keyboard {
public:
    virtual ~Keyboard() = default;

    // keybd_event(vk, scan, flags, 0): one event into the system input stream.
    virtual void send_key_event(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags) = 0;

    // MapVirtualKeyA(vk, 0): the key's scan code in the low byte, 0 if none.
    virtual std::uint32_t map_virtual_key(std::uint32_t vk) = 0;

    // VkKeyScanA(c): virtual key in the low byte, shift state in the high
    // byte (1 Shift, 2 Ctrl, 4 Alt), kNoKeyForChar when the layout has none.
    virtual std::uint16_t scan_char(char c) = 0;

    // GetKeyState(vk): bit 0 the toggle, bit 15 the key is down.
    virtual std::uint16_t key_state(int vk) = 0;

    // GetKeyboardState / SetKeyboardState of the calling thread.
    virtual KeyStateTable keyboard_state() = 0;
    virtual void set_keyboard_state(const KeyStateTable& table) = 0;

    // ActivateKeyboardLayout(HKL_NEXT, 0).
    virtual void activate_next_layout() = 0;

    // Takes the calling thread's pending keyboard messages (0x0100 to 0x0108)
    // off its queue, translating and dispatching each, until none is left.
    virtual void drain_keyboard_messages() = 0;

    // The modal box "Invalid KeyName", caption "SendKeys", no owner, OK only.
    virtual void show_invalid_key_name() = 0;
};

} // namespace qirelo::platform::input
