#pragma once

// The Win32 keyboard and pointer: user32 calls, one to one.

#include "platform/input/keyboard.h"
#include "platform/input/pointer.h"

namespace qirelo::platform::win32 {

class Win32Keyboard final : public input::Keyboard {
public:
    void send_key_event(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags) override;
    std::uint32_t map_virtual_key(std::uint32_t vk) override;
    std::uint16_t scan_char(char c) override;
    std::uint16_t key_state(int vk) override;
    input::KeyStateTable keyboard_state() override;
    void set_keyboard_state(const input::KeyStateTable& table) override;
    void activate_next_layout() override;
    void drain_keyboard_messages() override;
    void show_invalid_key_name() override;
};

class Win32Pointer final : public input::Pointer {
public:
    input::ScreenSize screen_size() override;
    void set_cursor_pos(input::Point to) override;
    input::Point cursor_pos() override;
    void send_mouse_event(std::uint32_t flags) override;
};

} // namespace qirelo::platform::win32
