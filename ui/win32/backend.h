#pragma once

// The Win32 backend: the thread's message queue (W functions, the windows are
// Unicode), the system's timers, MessageBoxW, the fonts of the controls, and
// a hidden window that takes timer ticks and Synchronize wake-ups, so both
// also work inside modal loops (message boxes).

#include <windows.h>

#include <map>
#include <memory>

#include "ui/backend.h"
#include "ui/font.h"
#include "ui/message_box.h"
#include "ui/timer.h"
#include "ui/win32/handles.h"

namespace qirelo::ui::win32 {

class WindowPeer;

class Backend final : public ui::Backend, private TimerService, private MessageBoxes {
public:
    Backend();
    ~Backend() override;

    void attach(Application& application) override { application_ = &application; }
    Application& application() { return *application_; }
    TimerService& timers() override { return *this; }
    MessageBoxes& message_boxes() override { return *this; }

    bool wait_message(Message& out) override;
    bool peek_message(Message& out) override;
    bool is_dialog_message(const Message& message) override;
    void translate_message(const Message& message) override;
    void dispatch_message(const Message& message) override;
    void wake() override;
    void quit() override;
    void realize(Form& form) override;
    // Disables the thread's other top windows (the owner among them) while
    // the loop runs, as a modal dialog does, and enables them again before
    // the modal window hides, so the owner is activated again.
    void run_modal(Form& form, const std::function<bool()>& done) override;

    HINSTANCE instance() const { return instance_; }
    // The font for a widget font, made once and kept while the backend lives.
    HFONT font(const Font& font);
    HBRUSH brush(Color color);
    static COLORREF rgb(Color color);

    // Runs a widget's event from a window procedure: errors go to the
    // application's general error handler, never through system frames.
    void guard(const std::function<void()>& handler);

private:
    void start(Timer& timer) override;
    void stop(Timer& timer) override;
    int show(const std::string& text, const std::string& caption, unsigned flags) override;
    static LRESULT CALLBACK hidden_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

    HINSTANCE instance_;
    Application* application_ = nullptr;
    HWND hidden_ = nullptr;
    std::map<UINT_PTR, Timer*> timers_;
    UINT_PTR next_timer_id_ = 1;
    std::map<std::pair<std::string, std::tuple<int, int, bool, bool, bool>>, GdiObject<HFONT>>
        fonts_;
    std::map<Color, GdiObject<HBRUSH>> brushes_;
};

MSG to_msg(const Message& message);
Message from_msg(const MSG& msg);

} // namespace qirelo::ui::win32
