#include "platform/fake/input.h"

#include <string>

#include "platform/fake/us_layout.h"

namespace qirelo::platform::fake {

void FakeKeyboard::send_key_event(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags) {
    log_.record("keybd_event vk=" + hex(vk) + " scan=" + hex(scan) +
                " flags=" + std::to_string(flags));
}

std::uint32_t FakeKeyboard::map_virtual_key(std::uint32_t vk) {
    const std::uint32_t scan = us_scan_code(vk);
    log_.record("MapVirtualKeyA vk=" + hex(vk) + " type=0 -> " + hex(scan), true);
    return scan;
}

std::uint16_t FakeKeyboard::scan_char(char c) {
    const auto byte = static_cast<unsigned char>(c);
    const auto found = overrides_.find(byte);
    const std::uint16_t result = found != overrides_.end() ? found->second : us_char_scan(byte);
    log_.record("VkKeyScanA char=" + hex(byte) + " -> " + hex(result, 4), true);
    return result;
}

std::uint16_t FakeKeyboard::key_state(int vk) {
    const std::uint8_t entry = table_[static_cast<std::uint8_t>(vk)];
    const auto state = static_cast<std::uint16_t>((entry & 0x80 ? 0x8000 : 0) | (entry & 0x01));
    log_.record("GetKeyState vk=" + hex(static_cast<unsigned>(vk)) + " -> " + hex(state, 4), true);
    return state;
}

input::KeyStateTable FakeKeyboard::keyboard_state() {
    log_.record("GetKeyboardState", true);
    return table_;
}

void FakeKeyboard::set_keyboard_state(const input::KeyStateTable& table) {
    bool changed = false;
    for (unsigned vk = 0; vk < table.size(); ++vk) {
        if ((table[vk] & 0x01) != (table_[vk] & 0x01)) {
            log_.record("SetKeyboardState " + hex(vk) + (table[vk] & 0x01 ? " on" : " off"));
            changed = true;
        }
    }
    if (!changed) {
        log_.record("SetKeyboardState unchanged");
    }
    table_ = table;
}

void FakeKeyboard::activate_next_layout() {
    log_.record("ActivateKeyboardLayout 1 0");
}

void FakeKeyboard::drain_keyboard_messages() {
    log_.record("drain");
}

void FakeKeyboard::show_invalid_key_name() {
    log_.record("MessageBox \"Invalid KeyName\" \"SendKeys\"");
}

input::ScreenSize FakePointer::screen_size() {
    log_.record("GetSystemMetrics SM_CXSCREEN -> " + std::to_string(screen_.width), true);
    log_.record("GetSystemMetrics SM_CYSCREEN -> " + std::to_string(screen_.height), true);
    return screen_;
}

void FakePointer::set_cursor_pos(input::Point to) {
    where_ = to;
    log_.record("SetCursorPos " + std::to_string(to.x) + " " + std::to_string(to.y));
}

input::Point FakePointer::cursor_pos() {
    log_.record("GetCursorPos -> " + std::to_string(where_.x) + " " + std::to_string(where_.y),
                true);
    return where_;
}

void FakePointer::send_mouse_event(std::uint32_t flags) {
    log_.record("mouse_event flags=" + std::to_string(flags));
}

} // namespace qirelo::platform::fake
