#pragma once

// Recording keyboard and pointer: every call becomes one line of a CallLog,
// in the format that `qirelo-tool sendkeys` prints:
//
//   keybd_event vk=0x1B scan=0x01 flags=0      drain
//   MapVirtualKeyA vk=0x1B type=0 -> 0x01      VkKeyScanA char=0x41 -> 0x0141
//   GetKeyState vk=0x90 -> 0x0001              GetKeyboardState
//   SetKeyboardState 0x90 on                   ActivateKeyboardLayout 1 0
//   MessageBox "Invalid KeyName" "SendKeys"
//   GetSystemMetrics SM_CXSCREEN -> 800        SetCursorPos 396 230
//   GetCursorPos -> 396 230                    mouse_event flags=2
//
// The keyboard answers through the US layout unless a test overrides a
// character; the key-state table is the fake's own and starts all clear.

#include <cstdint>
#include <map>

#include "platform/fake/call_log.h"
#include "platform/input/keyboard.h"
#include "platform/input/pointer.h"

namespace qirelo::platform::fake {

class FakeKeyboard final : public input::Keyboard {
public:
    explicit FakeKeyboard(CallLog& log) : log_(log) {}

    // Makes scan_char answer `result` for `c` instead of the US layout's answer.
    void set_char_scan(char c, std::uint16_t result) {
        overrides_[static_cast<unsigned char>(c)] = result;
    }
    const input::KeyStateTable& table() const { return table_; }

    void send_key_event(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags) override;
    std::uint32_t map_virtual_key(std::uint32_t vk) override;
    std::uint16_t scan_char(char c) override;
    std::uint16_t key_state(int vk) override;
    input::KeyStateTable keyboard_state() override;
    // Records one line per entry whose toggle bit changed ("SetKeyboardState
    // 0x14 off"), or "SetKeyboardState unchanged".
    void set_keyboard_state(const input::KeyStateTable& table) override;
    void activate_next_layout() override;
    void drain_keyboard_messages() override;
    void show_invalid_key_name() override;

private:
    CallLog& log_;
    std::map<unsigned char, std::uint16_t> overrides_;
    input::KeyStateTable table_{};
};

class FakePointer final : public input::Pointer {
public:
    FakePointer(CallLog& log, input::ScreenSize screen) : log_(log), screen_(screen) {}

    void set_screen(input::ScreenSize screen) { screen_ = screen; }
    input::Point where() const { return where_; }

    input::ScreenSize screen_size() override;
    void set_cursor_pos(input::Point to) override;
    input::Point cursor_pos() override;
    void send_mouse_event(std::uint32_t flags) override;

private:
    CallLog& log_;
    input::ScreenSize screen_;
    input::Point where_;
};

} // namespace qirelo::platform::fake
