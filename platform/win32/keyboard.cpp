#include "platform/win32/input.h"

#include <windows.h>

namespace qirelo::platform::win32 {

void Win32Keyboard::send_key_event(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags) {
    ::keybd_event(vk, scan, flags, 0);
}

std::uint32_t Win32Keyboard::map_virtual_key(std::uint32_t vk) {
    return ::MapVirtualKeyA(vk, MAPVK_VK_TO_VSC);
}

std::uint16_t Win32Keyboard::scan_char(char c) {
    return static_cast<std::uint16_t>(::VkKeyScanA(c));
}

std::uint16_t Win32Keyboard::key_state(int vk) {
    return static_cast<std::uint16_t>(::GetKeyState(vk));
}

input::KeyStateTable Win32Keyboard::keyboard_state() {
    input::KeyStateTable table{};
    ::GetKeyboardState(table.data());
    return table;
}

void Win32Keyboard::set_keyboard_state(const input::KeyStateTable& table) {
    // SetKeyboardState takes a non-const buffer but only reads it.
    input::KeyStateTable copy = table;
    ::SetKeyboardState(copy.data());
}

void Win32Keyboard::activate_next_layout() {
    ::ActivateKeyboardLayout(reinterpret_cast<HKL>(HKL_NEXT), 0);
}

void Win32Keyboard::drain_keyboard_messages() {
    // 0x0108 rather than WM_KEYLAST: the range the sender has always drained.
    MSG message;
    while (::PeekMessageA(&message, nullptr, WM_KEYFIRST, 0x0108, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
}

void Win32Keyboard::show_invalid_key_name() {
    ::MessageBoxA(nullptr, "Invalid KeyName", "SendKeys", MB_OK);
}

} // namespace qirelo::platform::win32
