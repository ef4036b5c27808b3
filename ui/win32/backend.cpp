#include "ui/win32/backend.h"

#include <stdexcept>
#include <tuple>
#include <vector>

#include "ui/application.h"
#include "ui/form.h"
#include "ui/win32/peers.h"
#include "ui/win32/text.h"
#include "ui/win32/window_peer.h"

namespace qirelo::ui::win32 {
namespace {

constexpr UINT kWake = WM_APP + 1;
constexpr wchar_t kHiddenClass[] = L"QireloHidden";

// The thread's visible, enabled top windows other than `except`, disabled
// until the owner goes.
class DisabledWindows {
public:
    explicit DisabledWindows(HWND except) : except_(except) {
        EnumThreadWindows(GetCurrentThreadId(), collect, reinterpret_cast<LPARAM>(this));
        for (HWND window : windows_)
            EnableWindow(window, FALSE);
    }
    ~DisabledWindows() {
        for (HWND window : windows_)
            EnableWindow(window, TRUE);
    }
    DisabledWindows(const DisabledWindows&) = delete;
    DisabledWindows& operator=(const DisabledWindows&) = delete;

private:
    static BOOL CALLBACK collect(HWND window, LPARAM self) {
        auto* disabled = reinterpret_cast<DisabledWindows*>(self);
        if (window != disabled->except_ && IsWindowVisible(window) && IsWindowEnabled(window))
            disabled->windows_.push_back(window);
        return TRUE;
    }

    HWND except_;
    std::vector<HWND> windows_;
};

} // namespace

MSG to_msg(const Message& message) {
    MSG msg{};
    msg.hwnd = reinterpret_cast<HWND>(message.window);
    msg.message = message.message;
    msg.wParam = message.wparam;
    msg.lParam = message.lparam;
    msg.time = message.time;
    msg.pt = POINT{message.x, message.y};
    return msg;
}

Message from_msg(const MSG& msg) {
    return Message{reinterpret_cast<std::uintptr_t>(msg.hwnd),
                   msg.message,
                   msg.wParam,
                   msg.lParam,
                   static_cast<std::uint32_t>(msg.time),
                   static_cast<int>(msg.pt.x),
                   static_cast<int>(msg.pt.y)};
}

Backend::Backend() : instance_(GetModuleHandleW(nullptr)) {
    WNDCLASSW hidden{};
    hidden.lpfnWndProc = hidden_proc;
    hidden.hInstance = instance_;
    hidden.lpszClassName = kHiddenClass;
    RegisterClassW(&hidden);
    hidden_ = CreateWindowExW(0, kHiddenClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance_,
                              nullptr);
    if (!hidden_)
        throw std::runtime_error("cannot create the application's hidden window");
    SetWindowLongPtrW(hidden_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    register_window_classes(instance_);
}

Backend::~Backend() {
    for (const auto& [id, timer] : timers_)
        KillTimer(hidden_, id);
    SetWindowLongPtrW(hidden_, GWLP_USERDATA, 0);
    DestroyWindow(hidden_);
}

LRESULT CALLBACK Backend::hidden_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* self = reinterpret_cast<Backend*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && message == WM_TIMER) {
        auto found = self->timers_.find(wparam);
        if (found != self->timers_.end()) {
            Timer* timer = found->second;
            self->guard([timer] { timer->elapsed(); });
        }
        return 0;
    }
    if (self && message == kWake && self->application_) {
        self->guard([self] { self->application_->check_synchronize(); });
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

void Backend::guard(const std::function<void()>& handler) {
    if (application_)
        application_->guard(handler);
    else
        handler();
}

bool Backend::wait_message(Message& out) {
    MSG msg;
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0)
        return false;
    out = from_msg(msg);
    return true;
}

bool Backend::peek_message(Message& out) {
    MSG msg;
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        return false;
    if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam)); // leave it for the loop
        return false;
    }
    out = from_msg(msg);
    return true;
}

bool Backend::is_dialog_message(const Message& message) {
    if (message.message != WM_KEYDOWN && message.message != WM_SYSCHAR)
        return false;
    WindowPeer* peer = WindowPeer::find(reinterpret_cast<HWND>(message.window));
    if (!peer)
        return false;
    if (message.message == WM_KEYDOWN)
        return peer->dialog_key(static_cast<WORD>(message.wparam));
    // Alt and a letter: the button that the letter names.
    Form* form = peer->control().form();
    bool taken = false;
    if (form && message.wparam < 0x80)
        guard([&] { taken = form->accelerator_key(static_cast<char>(message.wparam)); });
    return taken;
}

void Backend::translate_message(const Message& message) {
    const MSG msg = to_msg(message);
    TranslateMessage(&msg);
}

void Backend::dispatch_message(const Message& message) {
    const MSG msg = to_msg(message);
    DispatchMessageW(&msg);
}

void Backend::wake() {
    PostMessageW(hidden_, kWake, 0, 0);
}

void Backend::quit() {
    PostThreadMessageW(GetWindowThreadProcessId(hidden_, nullptr), WM_QUIT, 0, 0);
}

void Backend::realize(Form& form) {
    win32::realize(*this, form);
}

void Backend::run_modal(Form& form, const std::function<bool()>& done) {
    // The window that was active takes the activation back before the modal
    // one hides, as a dialog's owner does.
    struct Reactivate {
        HWND window = GetActiveWindow();
        ~Reactivate() {
            if (window && IsWindow(window))
                SetActiveWindow(window);
        }
    } previous;
    const DisabledWindows others(window_of(form));
    form.show_form();
    MSG msg;
    while (!done()) {
        if (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE))
            break; // the program ends: the outer loop takes the quit
        if (!application_->handle_message()) {
            application_->check_synchronize();
            if (!done())
                WaitMessage();
        }
        application_->check_synchronize();
    }
}

void Backend::start(Timer& timer) {
    stop(timer);
    const UINT_PTR id = next_timer_id_++;
    timers_[id] = &timer;
    SetTimer(hidden_, id, static_cast<UINT>(timer.interval().count()), nullptr);
}

void Backend::stop(Timer& timer) {
    for (auto it = timers_.begin(); it != timers_.end();) {
        if (it->second == &timer) {
            KillTimer(hidden_, it->first);
            it = timers_.erase(it);
        } else {
            ++it;
        }
    }
}

int Backend::show(const std::string& text, const std::string& caption, unsigned flags) {
    return MessageBoxW(GetActiveWindow(), wide(text).c_str(), wide(caption).c_str(), flags);
}

HFONT Backend::font(const Font& font) {
    auto key =
        std::make_pair(font.name, std::make_tuple(font.height, static_cast<int>(font.charset),
                                                  font.bold, font.italic, font.underline));
    auto found = fonts_.find(key);
    if (found != fonts_.end())
        return found->second.get();
    const std::wstring face = wide(font.name);
    HFONT handle =
        CreateFontW(-font.height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, font.italic,
                    font.underline, FALSE, static_cast<BYTE>(font.charset), OUT_DEFAULT_PRECIS,
                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, face.c_str());
    return fonts_.emplace(key, GdiObject<HFONT>(handle)).first->second.get();
}

COLORREF Backend::rgb(Color color) {
    if (is_system_color(color))
        return GetSysColor(static_cast<int>(color & 0xFF));
    return static_cast<COLORREF>(color & 0xFFFFFF);
}

HBRUSH Backend::brush(Color color) {
    auto found = brushes_.find(color);
    if (found != brushes_.end())
        return found->second.get();
    return brushes_.emplace(color, GdiObject<HBRUSH>(CreateSolidBrush(rgb(color))))
        .first->second.get();
}

} // namespace qirelo::ui::win32
