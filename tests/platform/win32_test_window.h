#pragma once

// A real top-level window for the Win32 boundary tests: an edit box and a push
// button, brought to the foreground with the keyboard focus in the edit box.
// Runs on the thread that creates it; pump() delivers its messages.

#include <windows.h>

#include <functional>
#include <string>

namespace qirelo::testing {

class TestWindow {
public:
    TestWindow();
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND window() const { return window_; }
    HWND edit() const { return edit_; }
    HWND button() const { return button_; }

    std::string edit_text() const;
    // The caret's character position in the edit box.
    int caret() const;
    // The centre of the button in screen pixels.
    POINT button_centre() const;
    int button_clicks() const { return clicks_; }

    // Delivers this thread's messages until `done` holds or `millis` pass.
    // True when `done` held.
    static bool pump_until(const std::function<bool()>& done, int millis = 3000);

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM w, LPARAM l);

    HWND window_ = nullptr;
    HWND edit_ = nullptr;
    HWND button_ = nullptr;
    int clicks_ = 0;
};

} // namespace qirelo::testing
