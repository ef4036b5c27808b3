#pragma once

// What a window system gives the application object: its message queue, its
// timers and its message boxes. The Win32 backend is the product's; the
// headless one (ui/headless) serves tests and tools.

#include <functional>

#include "ui/message.h"

namespace qirelo::ui {

class Application;
class Control;
class Form;
class MessageBoxes;
class TimerService;

class Backend {
public:
    virtual ~Backend() = default;

    // The application that this backend serves (its wake-ups and errors go
    // there); called once by the application's constructor.
    virtual void attach(Application& application) = 0;

    virtual TimerService& timers() = 0;
    virtual MessageBoxes& message_boxes() = 0;

    // Waits for the next message; false once the loop is to end.
    virtual bool wait_message(Message& out) = 0;
    // Takes the next message if one waits.
    virtual bool peek_message(Message& out) = 0;
    // The window's own key handling that comes before dispatch (Tab moves the
    // focus...); true when it has taken the message.
    virtual bool is_dialog_message(const Message& message) = 0;
    virtual void translate_message(const Message& message) = 0;
    virtual void dispatch_message(const Message& message) = 0;

    // From any thread: a call waits to be synchronized; the main thread must
    // run Application::check_synchronize soon, also inside modal loops.
    virtual void wake() = 0;
    // Ends wait_message: the loop is over.
    virtual void quit() = 0;

    // Gives a window made after start its native controls (none headless).
    virtual void realize(Form& form) = 0;
    // Shows a modal window and runs its loop: handles the application's
    // messages and synchronized calls until `done` says so or the loop is to
    // end; the program's other windows take no input meanwhile.
    virtual void run_modal(Form& form, const std::function<bool()>& done) = 0;
};

} // namespace qirelo::ui
