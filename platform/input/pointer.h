#pragma once

// The pointer boundary: the primary display's size, the system pointer's
// position and synthesised mouse-button events.

#include <cstdint>

namespace qirelo::platform::input {

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct ScreenSize {
    int width = 0;
    int height = 0;
    friend bool operator==(const ScreenSize&, const ScreenSize&) = default;
};

// mouse_event flags.
inline constexpr std::uint32_t kMouseLeftDown = 0x2;
inline constexpr std::uint32_t kMouseLeftUp = 0x4;

class Pointer {
public:
    virtual ~Pointer() = default;

    // GetSystemMetrics(SM_CXSCREEN) and (SM_CYSCREEN), read afresh.
    virtual ScreenSize screen_size() = 0;

    // SetCursorPos / GetCursorPos, in screen pixels.
    virtual void set_cursor_pos(Point to) = 0;
    virtual Point cursor_pos() = 0;

    // mouse_event(flags, 0, 0, 0, 0): a button event at the pointer's place,
    // delivered like real input to the window under the pointer.
    virtual void send_mouse_event(std::uint32_t flags) = 0;
};

} // namespace qirelo::platform::input
