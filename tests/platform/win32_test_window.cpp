#include "tests/platform/win32_test_window.h"

#include <stdexcept>

namespace qirelo::testing {

namespace {

constexpr const char* kClassName = "QireloBoundaryTestWindow";
constexpr int kButtonId = 101;

void register_class_once(WNDPROC procedure) {
    static const bool registered = [procedure] {
        WNDCLASSA type{};
        type.lpfnWndProc = procedure;
        type.hInstance = ::GetModuleHandleA(nullptr);
        type.lpszClassName = kClassName;
        type.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        type.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
        return ::RegisterClassA(&type) != 0;
    }();
    if (!registered) {
        throw std::runtime_error("RegisterClassA failed");
    }
}

} // namespace

TestWindow::TestWindow() {
    register_class_once(&TestWindow::procedure);
    const HINSTANCE instance = ::GetModuleHandleA(nullptr);
    window_ = ::CreateWindowExA(0, kClassName, "boundary test", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                40, 40, 400, 200, nullptr, nullptr, instance, this);
    if (window_ == nullptr) {
        throw std::runtime_error("CreateWindowExA failed");
    }
    ::SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    edit_ = ::CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL,
                              10, 10, 360, 24, window_, nullptr, instance, nullptr);
    button_ = ::CreateWindowExA(
        0, "BUTTON", "Press", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 60, 120, 40, window_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kButtonId)), instance, nullptr);
    ::ShowWindow(window_, SW_SHOWNORMAL);
    ::UpdateWindow(window_);
    ::SetForegroundWindow(window_);
    ::SetFocus(edit_);
    pump_until([] { return false; }, 300);
}

TestWindow::~TestWindow() {
    ::DestroyWindow(window_);
    pump_until([] { return false; }, 50);
}

std::string TestWindow::edit_text() const {
    char text[512] = {};
    ::GetWindowTextA(edit_, text, sizeof text);
    return text;
}

int TestWindow::caret() const {
    DWORD start = 0;
    DWORD end = 0;
    ::SendMessageA(edit_, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                   reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(end);
}

POINT TestWindow::button_centre() const {
    RECT area{};
    ::GetWindowRect(button_, &area);
    return {(area.left + area.right) / 2, (area.top + area.bottom) / 2};
}

bool TestWindow::pump_until(const std::function<bool()>& done, int millis) {
    const ULONGLONG until = ::GetTickCount64() + static_cast<ULONGLONG>(millis);
    for (;;) {
        MSG message;
        while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageA(&message);
        }
        if (done()) {
            return true;
        }
        if (::GetTickCount64() >= until) {
            return false;
        }
        ::Sleep(10);
    }
}

LRESULT CALLBACK TestWindow::procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    auto* self = reinterpret_cast<TestWindow*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self != nullptr && message == WM_COMMAND && LOWORD(w) == kButtonId &&
        HIWORD(w) == BN_CLICKED) {
        ++self->clicks_;
        return 0;
    }
    return ::DefWindowProcA(window, message, w, l);
}

} // namespace qirelo::testing
