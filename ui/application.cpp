#include "ui/application.h"

#include "ui/form.h"
#include "ui/message_box.h"

namespace qirelo::ui {

struct Application::Call {
    enum class State { Waiting, Running, Done, Cancelled };
    std::function<void()> function;
    State state = State::Waiting;
    std::exception_ptr error;
};

Application::Application(Backend& backend)
    : backend_(backend), main_thread_(std::this_thread::get_id()) {
    backend_.attach(*this);
}

Application::~Application() {
    // A worker still waiting must not wait for ever, nor wake up after the
    // object it waits on has gone: cancel its call, then let it leave.
    std::unique_lock lock(mutex_);
    for (auto& call : calls_)
        call->state = Call::State::Cancelled;
    calls_.clear();
    posted_.clear();
    finished_.notify_all();
    finished_.wait(lock, [&] { return waiting_ == 0; });
}

TimerService& Application::timers() {
    return backend_.timers();
}

void Application::set_main_form(Form& form) {
    main_form_ = &form;
    form.closed = [this] { terminate(); };
}

void Application::terminate() {
    if (terminated_)
        return;
    terminated_ = true;
    backend_.quit();
}

void Application::run() {
    if (main_form_)
        guard([this] { main_form_->show_form(); });
    Message message;
    while (!terminated_ && backend_.wait_message(message)) {
        handle(message);
        check_synchronize();
    }
}

bool Application::handle_message() {
    Message message;
    if (!backend_.peek_message(message))
        return false;
    handle(message);
    return true;
}

void Application::process_messages() {
    while (handle_message())
        check_synchronize();
    check_synchronize();
}

ModalResult Application::show_modal(Form& form) {
    form.modal_result_ = ModalResult::None;
    form.modal_ = true;
    struct Leave {
        Form& form;
        ~Leave() {
            form.modal_ = false;
            form.set_visible(false);
        }
    } leave{form};
    backend_.run_modal(form,
                       [&] { return form.modal_result_ != ModalResult::None || terminated_; });
    return form.modal_result_ == ModalResult::None ? ModalResult::Cancel : form.modal_result_;
}

void Application::handle(Message& message) {
    bool handled = false;
    if (OnMessage)
        guard([&] { OnMessage(message, handled); });
    if (handled || backend_.is_dialog_message(message))
        return;
    backend_.translate_message(message);
    backend_.dispatch_message(message);
}

void Application::synchronize(const std::function<void()>& function) {
    if (is_main_thread()) {
        function();
        return;
    }
    auto call = std::make_shared<Call>();
    call->function = function;
    std::unique_lock lock(mutex_);
    ++waiting_;
    struct Leave {
        Application& app;
        ~Leave() {
            --app.waiting_;
            app.finished_.notify_all();
        }
    } leave{*this}; // under the lock: declared after it, so it runs first
    calls_.push_back(call);
    queued_.notify_all();
    lock.unlock();
    backend_.wake();
    lock.lock();
    finished_.wait(lock, [&] {
        return call->state == Call::State::Done || call->state == Call::State::Cancelled;
    });
    if (call->state == Call::State::Cancelled)
        throw SynchronizeCancelled();
    if (call->error)
        std::rethrow_exception(call->error);
}

bool Application::check_synchronize() {
    bool ran = false;
    std::unique_lock lock(mutex_);
    while (!calls_.empty()) {
        std::shared_ptr<Call> call = calls_.front();
        calls_.pop_front();
        call->state = Call::State::Running;
        lock.unlock();
        try {
            call->function();
        } catch (...) {
            call->error = std::current_exception();
        }
        lock.lock();
        call->state = Call::State::Done;
        ran = true;
        finished_.notify_all();
    }
    while (!posted_.empty()) {
        std::function<void()> call = std::move(posted_.front());
        posted_.pop_front();
        lock.unlock();
        guard(call);
        lock.lock();
        ran = true;
    }
    return ran;
}

void Application::post(std::function<void()> call) {
    {
        std::lock_guard lock(mutex_);
        posted_.push_back(std::move(call));
    }
    queued_.notify_all();
    backend_.wake();
}

bool Application::wait_synchronize(std::chrono::milliseconds timeout) {
    {
        std::unique_lock lock(mutex_);
        queued_.wait_for(lock, timeout,
                         [&] { return !calls_.empty() || !posted_.empty() || wait_interrupted_; });
        wait_interrupted_ = false;
    }
    return check_synchronize();
}

void Application::interrupt_wait() {
    {
        std::lock_guard lock(mutex_);
        wait_interrupted_ = true;
    }
    queued_.notify_all();
}

std::size_t Application::pending_calls() {
    std::lock_guard lock(mutex_);
    return calls_.size() + posted_.size();
}

int Application::message_box(const std::string& text, unsigned flags) {
    return message_box(text, title_, flags);
}

int Application::message_box(const std::string& text, const std::string& caption, unsigned flags) {
    return backend_.message_boxes().show(text, caption, flags);
}

void Application::show_exception(const std::exception& error) {
    std::string text = error.what();
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.')
        text += '.';
    message_box(text, title_, kMbOk | kMbIconError);
}

void Application::guard(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& error) {
        show_exception(error);
    }
}

} // namespace qirelo::ui
