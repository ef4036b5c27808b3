#include "upgrade/fake/manual_main_thread.h"

#include <exception>

namespace qirelo::upgrade::fake {

struct ManualMainThread::Call {
    enum class State { Waiting, Running, Done };
    std::function<void()> function;
    State state = State::Waiting;
    std::exception_ptr error;
};

void ManualMainThread::Synchronize(const std::function<void()>& function) {
    if (IsMainThread()) {
        function();
        return;
    }
    auto call = std::make_shared<Call>();
    call->function = function;
    std::unique_lock lock(mutex_);
    calls_.push_back(call);
    changed_.notify_all();
    changed_.wait(lock, [&] { return call->state == Call::State::Done; });
    if (call->error) {
        std::rethrow_exception(call->error);
    }
}

int ManualMainThread::RunPending() {
    int ran = 0;
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
        changed_.notify_all();
        ++ran;
    }
    return ran;
}

void ManualMainThread::ServeCalls(std::chrono::milliseconds upTo) {
    {
        std::unique_lock lock(mutex_);
        changed_.wait_for(lock, upTo, [this] { return !calls_.empty(); });
    }
    RunPending();
}

bool ManualMainThread::ServeUntil(const std::function<bool()>& done,
                                  std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done() && std::chrono::steady_clock::now() < deadline) {
        ServeFor(std::chrono::milliseconds(5));
    }
    return done();
}

} // namespace qirelo::upgrade::fake
