#pragma once

// The application object: title, the message hook, the message loop, the
// general error handler, and Synchronize.
//
// The message hook OnMessage sees every message that the loop takes from the
// queue, before anything else; a message it marks handled is neither
// translated nor dispatched.
//
// synchronize(call) runs `call` on the main thread while the calling worker
// waits; an error raised by the call is raised again in the worker. Called on
// the main thread it runs the call at once. The main thread runs waiting calls
// in its loop, in modal loops, and whenever check_synchronize is called (tests
// pump it). A worker stops its own waits through the worker component,
// which skips a call served after its stop; std::stop_token is not used here
// because MinGW's can lose the wake-up that ends a callback's removal.

#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>

#include "ui/backend.h"
#include "ui/message.h"
#include "ui/modal_result.h"

namespace qirelo::ui {

class Form;
class MessageBoxes;
class TimerService;

class SynchronizeCancelled : public std::runtime_error {
public:
    SynchronizeCancelled() : std::runtime_error("synchronized call cancelled") {}
};

class Application {
public:
    explicit Application(Backend& backend);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    const std::string& title() const { return title_; }
    void set_title(std::string title) { title_ = std::move(title); }

    Backend& backend() { return backend_; }
    TimerService& timers();

    std::function<void(Message& message, bool& handled)> OnMessage;

    // The loop. run() shows the main form and handles messages until the main
    // form has closed or terminate() is called.
    void set_main_form(Form& form);
    Form* main_form() const { return main_form_; }
    void run();
    void terminate();
    bool terminated() const { return terminated_; }
    // Handles one message if one waits; false when none did.
    bool handle_message();
    // Handles every waiting message and every waiting synchronized call.
    void process_messages();
    // Shows `form` modally and returns its answer once it has one (Cancel
    // when the loop ended first); the form is hidden again.
    ModalResult show_modal(Form& form);
    // What the loop does with a message the hook left unhandled.
    void translate_message(const Message& message) { backend_.translate_message(message); }
    void dispatch_message(const Message& message) { backend_.dispatch_message(message); }

    // Threads.
    bool is_main_thread() const { return std::this_thread::get_id() == main_thread_; }
    void synchronize(const std::function<void()>& call);
    // Main thread: runs the calls that wait; true when one ran.
    bool check_synchronize();
    // Main thread (tests): waits up to `timeout` for a call to wait, then runs
    // the waiting calls; true when one ran.
    bool wait_synchronize(std::chrono::milliseconds timeout);
    // Any thread: ends the main thread's wait_synchronize at once, or its next
    // one when it is not waiting, so that it learns of what it waits for (a
    // worker's end) without waiting out its time.
    void interrupt_wait();
    // How many calls wait to be run.
    std::size_t pending_calls();
    // From any thread: runs `call` later on the main thread, from the loop,
    // without waiting for it (what a window posts to itself). An error it
    // raises goes to the general error handler.
    void post(std::function<void()> call);

    // Message boxes; the caption defaults to the title.
    int message_box(const std::string& text, unsigned flags = 0x40);
    int message_box(const std::string& text, const std::string& caption, unsigned flags);

    // The general error handler: the error's message in a box with the stop
    // icon, a full stop added when the text ends in a letter or digit.
    void show_exception(const std::exception& error);
    // Runs `handler`; an error escaping it goes to the general error handler
    // and the program goes on.
    void guard(const std::function<void()>& handler);

private:
    struct Call;
    void handle(Message& message);

    Backend& backend_;
    std::string title_;
    Form* main_form_ = nullptr;
    bool terminated_ = false;
    std::thread::id main_thread_;

    mutable std::mutex mutex_;
    std::condition_variable queued_;   // a call waits (the main thread waits on it in tests)
    std::condition_variable finished_; // a call has run (workers wait on it)
    std::deque<std::shared_ptr<Call>> calls_;
    std::deque<std::function<void()>> posted_;
    int waiting_ = 0; // workers inside synchronize
    bool wait_interrupted_ = false;
};

} // namespace qirelo::ui
