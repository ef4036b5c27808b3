#include "platform/win32/input.h"

#include <windows.h>

namespace qirelo::platform::win32 {

input::ScreenSize Win32Pointer::screen_size() {
    return {::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
}

void Win32Pointer::set_cursor_pos(input::Point to) {
    ::SetCursorPos(to.x, to.y);
}

input::Point Win32Pointer::cursor_pos() {
    POINT where{};
    ::GetCursorPos(&where);
    return {where.x, where.y};
}

void Win32Pointer::send_mouse_event(std::uint32_t flags) {
    ::mouse_event(flags, 0, 0, 0, 0);
}

} // namespace qirelo::platform::win32
