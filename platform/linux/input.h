#pragma once

// Keyboard and pointer on X11: synthesised events through XTEST, the pointer
// warped, the screen size of the default screen, the keyboard map read
// through XKB (group 0).
//
// A key the keyboard map lacks (F13..F16, Clear, Break on a PC map) is
// pressed on a spare key code bound to its keysym for the while, as X clients
// do; the binding is undone at the next drain once the key is up, after the
// program's windows have taken the key (a client that reads the map late
// would otherwise read it without the key), and at the latest when the
// keyboard goes.
//
// The key-state table is the calling thread's own, as on Windows: NumLock
// and CapsLock flips written into it change nothing on the X server. There is
// no per-thread message queue to drain; the drain flushes the connection so
// the events have reached the server before the next step.

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/input/keyboard.h"
#include "platform/input/pointer.h"
#include "platform/linux/key_map.h"
#include "platform/linux/x_display.h"

namespace qirelo::platform::native {

class XKeyboard final : public input::Keyboard {
public:
    // `invalid_key_name` shows the "Invalid KeyName" box; the program brings
    // it to the window system's thread. `settle`, run by the drain, returns
    // once the program's windows have taken the input sent so far.
    XKeyboard(std::shared_ptr<XDisplay> display, std::function<void()> invalid_key_name,
              std::function<void()> settle = {});
    ~XKeyboard() override;

    void send_key_event(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags) override;
    std::uint32_t map_virtual_key(std::uint32_t vk) override;
    std::uint16_t scan_char(char c) override;
    std::uint16_t key_state(int vk) override;
    input::KeyStateTable keyboard_state() override;
    void set_keyboard_state(const input::KeyStateTable& table) override;
    void activate_next_layout() override;
    void drain_keyboard_messages() override;
    void show_invalid_key_name() override;

private:
    input::KeyStateTable& thread_table();
    struct SpareKey {
        KeyCode code;
        KeySym sym;
    };
    std::optional<KeyCode> key_code_for(::_XDisplay* display, std::uint8_t vk) const;
    std::optional<KeyCode> lend_spare_key(::_XDisplay* display, std::uint8_t vk);
    void return_spare_keys(::_XDisplay* display, bool even_when_down);

    std::shared_ptr<XDisplay> display_;
    std::vector<SpareKey> spare_keys_; // lent to missing keys; under the display's lock
    std::function<void()> invalid_key_name_;
    std::function<void()> settle_;
};

class XPointer final : public input::Pointer {
public:
    explicit XPointer(std::shared_ptr<XDisplay> display) : display_(std::move(display)) {}

    input::ScreenSize screen_size() override;
    void set_cursor_pos(input::Point to) override;
    input::Point cursor_pos() override;
    void send_mouse_event(std::uint32_t flags) override;

private:
    std::shared_ptr<XDisplay> display_;
};

} // namespace qirelo::platform::native
