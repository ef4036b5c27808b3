// The real pointer and screen calls, in a window under Wine (Xvfb).

#include <gtest/gtest.h>

#include "platform/input/pointer.h"
#include "platform/win32/input.h"
#include "tests/platform/win32_test_window.h"

namespace qirelo::platform {
namespace {

using input::Point;

TEST(Win32PointerTest, ScreenSizeIsThePrimaryDisplays) {
    win32::Win32Pointer pointer;
    const input::ScreenSize size = pointer.screen_size();
    EXPECT_EQ(size.width, ::GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(size.height, ::GetSystemMetrics(SM_CYSCREEN));
    // The desktop window covers exactly the primary display.
    RECT desktop{};
    ::GetWindowRect(::GetDesktopWindow(), &desktop);
    EXPECT_EQ(size.width, desktop.right - desktop.left);
    EXPECT_EQ(size.height, desktop.bottom - desktop.top);
}

TEST(Win32PointerTest, SetCursorPosMovesThePointerThere) {
    win32::Win32Pointer pointer;
    for (Point to : {Point{123, 77}, Point{5, 300}, Point{400, 10}}) {
        pointer.set_cursor_pos(to);
        EXPECT_EQ(pointer.cursor_pos(), to);
        POINT system{};
        ::GetCursorPos(&system);
        EXPECT_EQ(system.x, to.x);
        EXPECT_EQ(system.y, to.y);
    }
}

TEST(Win32PointerTest, LeftPressAndReleaseClickTheButtonUnderThePointer) {
    testing::TestWindow window;
    win32::Win32Pointer pointer;
    const POINT centre = window.button_centre();
    pointer.set_cursor_pos({centre.x, centre.y});
    pointer.send_mouse_event(input::kMouseLeftDown);
    pointer.send_mouse_event(input::kMouseLeftUp);
    EXPECT_TRUE(testing::TestWindow::pump_until([&] { return window.button_clicks() == 1; }));

    // Off the button, a click reaches the window but not the button.
    pointer.set_cursor_pos({centre.x + 200, centre.y});
    pointer.send_mouse_event(input::kMouseLeftDown);
    pointer.send_mouse_event(input::kMouseLeftUp);
    testing::TestWindow::pump_until([] { return false; }, 300);
    EXPECT_EQ(window.button_clicks(), 1);
}

} // namespace
} // namespace qirelo::platform
