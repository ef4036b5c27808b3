#pragma once

// The Qt backend: Qt's event loop stands for the message queue, QTimer for
// the window system's timers, QMessageBox for message boxes.
//
// Key presses and releases for the application's windows are taken off Qt's
// delivery and handed to the application as keyboard messages (virtual-key
// code in wParam, the extended-key flag in lParam) at once, in their place
// among the other input, so its message hook sees them before they are
// dispatched, as on Windows; dispatching one hands the original event to the
// widget it was for. Inside modal loops
// (message boxes, a wait for a page's answer) keys go their own way, and
// synchronized calls and timers still run there.

#include <QObject>
#include <QPointer>

#include <deque>
#include <map>
#include <memory>

#include "ui/backend.h"
#include "ui/message_box.h"
#include "ui/timer.h"

class QKeyEvent;
class QTimer;

namespace qirelo::ui::qt {

class Backend final : public QObject,
                      public ui::Backend,
                      private TimerService,
                      private MessageBoxes {
public:
    Backend();
    ~Backend() override;

    void attach(Application& application) override { application_ = &application; }
    Application& application() { return *application_; }
    TimerService& timers() override { return *this; }
    MessageBoxes& message_boxes() override { return *this; }

    bool wait_message(Message& out) override;
    bool peek_message(Message& out) override;
    bool is_dialog_message(const Message&) override { return false; }
    void translate_message(const Message&) override {}
    void dispatch_message(const Message& message) override;
    void wake() override;
    void quit() override;
    void realize(Form& form) override;
    // Qt's own window modality keeps the other windows from input; the loop
    // runs Qt's events (and with them the application's) until done.
    void run_modal(Form& form, const std::function<bool()>& done) override;

    // Runs a widget's event from a Qt signal or event handler: errors go to
    // the application's general error handler, never through Qt's frames.
    void guard(const std::function<void()>& handler);

    // Main thread: handles every input event that the window system had sent
    // to this program before the call (one round trip to the X server).
    static void settle_input();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;

private:
    struct HeldKey {
        QPointer<QObject> receiver;
        std::unique_ptr<QKeyEvent> event;
    };

    void start(Timer& timer) override;
    void stop(Timer& timer) override;
    int show(const std::string& text, const std::string& caption, unsigned flags) override;
    bool take(Message& out);

    Application* application_ = nullptr;
    std::map<Timer*, std::unique_ptr<QTimer>> timers_;
    std::deque<Message> queue_;
    std::map<std::uintptr_t, HeldKey> held_;
    std::uintptr_t next_key_ = 1;
    int loop_level_ = -1; // the level of the application's own loop while it waits
    bool delivering_ = false;
    bool handing_over_ = false; // a key is being handed to the application
    bool quit_ = false;
};

} // namespace qirelo::ui::qt
