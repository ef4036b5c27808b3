#pragma once

// The backend without a window system: tests and tools. Messages are what the
// test posts; dispatched ones are recorded; timers run on a virtual clock;
// message boxes are recorded and answered from a list the test fills; a
// modal window is answered by the test's while_modal, which acts as its user.

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "ui/backend.h"
#include "ui/headless/virtual_timers.h"
#include "ui/message_box.h"

namespace qirelo::ui::headless {

class RecordingMessageBoxes final : public MessageBoxes {
public:
    struct Shown {
        std::string text;
        std::string caption;
        unsigned flags = 0;
    };

    int show(const std::string& text, const std::string& caption, unsigned flags) override;

    std::vector<Shown> shown;
    std::deque<int> answers; // answered in order; kIdOk once they run out
    // Runs while the box is "up", as the user's reading time: a test can look
    // at the world then, or pump the application as a modal loop would.
    std::function<void(const Shown&)> while_shown;
};

class Backend final : public ui::Backend {
public:
    void attach(Application& application) override { application_ = &application; }
    TimerService& timers() override { return timers_; }
    MessageBoxes& message_boxes() override { return boxes_; }

    bool wait_message(Message& out) override;
    bool peek_message(Message& out) override;
    bool is_dialog_message(const Message&) override { return false; }
    void translate_message(const Message& message) override { translated.push_back(message); }
    void dispatch_message(const Message& message) override;
    void wake() override;
    void quit() override;
    void realize(Form&) override {}
    // Shows the window, runs while_modal, then the waiting messages and
    // calls; raises
    // std::logic_error when the window is still unanswered (a test that
    // forgot its user would otherwise wait for ever).
    void run_modal(Form& form, const std::function<bool()>& done) override;

    // Plays the user of a modal window, which is shown when it runs.
    std::function<void(Form&)> while_modal;

    // From any thread.
    void post(const Message& message);

    VirtualTimers& clock() { return timers_; }
    RecordingMessageBoxes& boxes() { return boxes_; }

    std::vector<Message> translated;
    std::vector<Message> dispatched;
    std::function<void(const Message&)> on_dispatch;

private:
    Application* application_ = nullptr;
    VirtualTimers timers_;
    RecordingMessageBoxes boxes_;
    std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<Message> queue_;
    bool woken_ = false;
    bool quit_ = false;
};

} // namespace qirelo::ui::headless
