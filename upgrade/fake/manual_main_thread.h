#pragma once

#include "upgrade/main_thread_queue.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

namespace qirelo::upgrade::fake {

// A main-thread queue for tests: posted calls wait until the test's own
// thread, playing the main thread, runs them with RunPending or ServeFor.
class ManualMainThread final : public MainThreadQueue {
public:
    void Post(std::function<void()> call) override;
    void ServeFor(std::chrono::milliseconds upTo) override;
    void Wake() override;
    bool Terminating() const override { return terminating_; }

    // Runs every call posted so far, and those they post; returns how many ran.
    int RunPending();
    // Serves calls until `done` holds or `limit` passes; returns done().
    bool ServeUntil(const std::function<bool()>& done,
                    std::chrono::milliseconds limit = std::chrono::seconds(10));
    void SetTerminating(bool terminating) { terminating_ = terminating; }

private:
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::deque<std::function<void()>> calls_;
    bool woken_ = false;
    bool terminating_ = false;
};

} // namespace qirelo::upgrade::fake
