#include "upgrade/fake/manual_main_thread.h"

namespace qirelo::upgrade::fake {

void ManualMainThread::Post(std::function<void()> call) {
    std::lock_guard lock(mutex_);
    calls_.push_back(std::move(call));
    arrived_.notify_all();
}

void ManualMainThread::Wake() {
    std::lock_guard lock(mutex_);
    woken_ = true;
    arrived_.notify_all();
}

int ManualMainThread::RunPending() {
    int ran = 0;
    for (;;) {
        std::function<void()> call;
        {
            std::lock_guard lock(mutex_);
            if (calls_.empty()) {
                return ran;
            }
            call = std::move(calls_.front());
            calls_.pop_front();
        }
        call();
        ++ran;
    }
}

void ManualMainThread::ServeFor(std::chrono::milliseconds upTo) {
    {
        std::unique_lock lock(mutex_);
        arrived_.wait_for(lock, upTo, [this] { return woken_ || !calls_.empty(); });
        woken_ = false;
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
