#include "upgrade/win32/native_host.h"

#include <windows.h>

#include <stdexcept>

namespace qirelo::upgrade::win32 {
namespace {

class Win32Event final : public CheckDoneEvent {
public:
    Win32Event() : handle_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
        if (!handle_) {
            throw std::runtime_error("The update check could not create its event");
        }
    }
    ~Win32Event() override { CloseHandle(handle_); }
    Win32Event(const Win32Event&) = delete;
    Win32Event& operator=(const Win32Event&) = delete;

    void Signal() override { SetEvent(handle_); }
    bool Signalled() const override { return WaitForSingleObject(handle_, 0) == WAIT_OBJECT_0; }
    HANDLE handle() const { return handle_; }

private:
    HANDLE handle_;
};

constexpr const char* kWindowClass = "TupAutoUpdaterWindow";

class Win32HiddenWindow final : public HiddenWindow {
public:
    Win32HiddenWindow() {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = &Win32HiddenWindow::Procedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = kWindowClass;
        RegisterClassA(&windowClass); // fails harmlessly when already registered
        // A top-level window (never shown): only those are asked at log-off.
        handle_ = CreateWindowExA(0, kWindowClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
        if (!handle_) {
            throw std::runtime_error("The update check could not create its window");
        }
        SetWindowLongPtrA(handle_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~Win32HiddenWindow() override { DestroyWindow(handle_); }
    Win32HiddenWindow(const Win32HiddenWindow&) = delete;
    Win32HiddenWindow& operator=(const Win32HiddenWindow&) = delete;

    bool SetTimer(unsigned id, unsigned milliseconds) override {
        return ::SetTimer(handle_, id, milliseconds, nullptr) != 0;
    }
    void KillTimer(unsigned id) override { ::KillTimer(handle_, id); }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<Win32HiddenWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        switch (message) {
        case WM_QUERYENDSESSION:
            return 1;
        case WM_TIMER:
            if (self && self->OnTimer) {
                self->OnTimer(static_cast<unsigned>(wParam));
            }
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
        }
    }

    HWND handle_;
};

} // namespace

std::unique_ptr<CheckDoneEvent> NativeUpdaterHost::NewCheckDoneEvent() {
    return std::make_unique<Win32Event>();
}

void NativeUpdaterHost::WaitProcessingMessages(const CheckDoneEvent& done) {
    const HANDLE event = static_cast<const Win32Event&>(done).handle();
    for (;;) {
        const DWORD woken = MsgWaitForMultipleObjects(1, &event, FALSE, INFINITE, QS_ALLINPUT);
        if (woken != WAIT_OBJECT_0 + 1) {
            return; // signalled, or the wait failed
        }
        application_.process_messages();
        if (Terminating()) {
            return;
        }
    }
}

std::unique_ptr<HiddenWindow> NativeUpdaterHost::AllocateHiddenWindow() {
    return std::make_unique<Win32HiddenWindow>();
}

} // namespace qirelo::upgrade::win32
