#include "ui/headless/backend.h"

#include <stdexcept>

#include "ui/application.h"
#include "ui/form.h"

namespace qirelo::ui::headless {

int RecordingMessageBoxes::show(const std::string& text, const std::string& caption,
                                unsigned flags) {
    shown.push_back(Shown{text, caption, flags});
    if (while_shown)
        while_shown(shown.back());
    if (answers.empty())
        return kIdOk;
    const int answer = answers.front();
    answers.pop_front();
    return answer;
}

void Backend::run_modal(Form& form, const std::function<bool()>& done) {
    form.show_form();
    if (while_modal)
        while_modal(form);
    if (application_)
        application_->process_messages();
    if (!done())
        throw std::logic_error("nobody answered the modal window " + form.name());
}

void Backend::post(const Message& message) {
    std::lock_guard lock(mutex_);
    queue_.push_back(message);
    ready_.notify_all();
}

bool Backend::wait_message(Message& out) {
    std::unique_lock lock(mutex_);
    ready_.wait(lock, [&] { return quit_ || woken_ || !queue_.empty(); });
    if (quit_)
        return false;
    if (!queue_.empty()) {
        out = queue_.front();
        queue_.pop_front();
    } else {
        out = Message{}; // a wake-up: the loop then runs the waiting calls
    }
    woken_ = false;
    return true;
}

bool Backend::peek_message(Message& out) {
    std::lock_guard lock(mutex_);
    if (queue_.empty())
        return false;
    out = queue_.front();
    queue_.pop_front();
    return true;
}

void Backend::dispatch_message(const Message& message) {
    dispatched.push_back(message);
    if (on_dispatch)
        on_dispatch(message);
}

void Backend::wake() {
    std::lock_guard lock(mutex_);
    woken_ = true;
    ready_.notify_all();
}

void Backend::quit() {
    std::lock_guard lock(mutex_);
    quit_ = true;
    ready_.notify_all();
}

} // namespace qirelo::ui::headless
