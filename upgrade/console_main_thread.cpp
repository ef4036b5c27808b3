#include "upgrade/console_main_thread.h"

#include <exception>

namespace qirelo::upgrade {

namespace {

// How long a side waits for the other, yielding, before it sleeps.
constexpr std::chrono::microseconds kYieldFor{50};

// True when `ready` came to hold within kYieldFor.
template <typename Ready> bool YieldUntil(Ready ready) {
    const auto until = std::chrono::steady_clock::now() + kYieldFor;
    while (!ready()) {
        if (std::chrono::steady_clock::now() >= until) {
            return ready();
        }
        std::this_thread::yield();
    }
    return true;
}

} // namespace

struct ConsoleMainThread::Call {
    const std::function<void()>* function;
    std::exception_ptr error;
    std::atomic<bool> done{false};
};

void ConsoleMainThread::Synchronize(const std::function<void()>& function) {
    if (IsMainThread()) {
        function();
        return;
    }
    Call call{&function, nullptr, {}};
    {
        std::lock_guard lock(mutex_);
        calls_.push_back(&call);
        ++pending_;
    }
    callCame_.notify_one();
    const auto done = [&] { return call.done.load(std::memory_order_acquire); };
    if (!YieldUntil(done)) {
        std::unique_lock lock(mutex_);
        callDone_.wait(lock, done);
    }
    if (call.error) {
        std::rethrow_exception(call.error);
    }
}

bool ConsoleMainThread::RunPending() {
    bool ran = false;
    for (;;) {
        Call* call = nullptr;
        {
            std::lock_guard lock(mutex_);
            if (calls_.empty()) {
                return ran;
            }
            call = calls_.front();
            calls_.pop_front();
            --pending_;
        }
        try {
            (*call->function)();
        } catch (...) {
            call->error = std::current_exception();
        }
        {
            // Under the lock, so a worker about to sleep sees it; the call
            // may be gone as soon as `done` is set.
            std::lock_guard lock(mutex_);
            call->done.store(true, std::memory_order_release);
        }
        callDone_.notify_all();
        ran = true;
    }
}

void ConsoleMainThread::ServeCalls(std::chrono::milliseconds upTo) {
    if (RunPending()) {
        return;
    }
    const auto callOrWake = [this] {
        return pending_.load(std::memory_order_acquire) > 0 || woken_.load();
    };
    if (!YieldUntil(callOrWake)) {
        std::unique_lock lock(mutex_);
        callCame_.wait_for(lock, upTo, callOrWake);
    }
    woken_ = false;
    RunPending();
}

void ConsoleMainThread::Wake() {
    {
        // Under the lock, so a main thread about to sleep sees it.
        std::lock_guard lock(mutex_);
        woken_ = true;
    }
    callCame_.notify_all();
}

} // namespace qirelo::upgrade
