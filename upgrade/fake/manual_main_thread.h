#pragma once

#include "upgrade/main_thread.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

namespace qirelo::upgrade::fake {

// A main thread for tests: handed-over calls wait until the test's own
// thread, playing the main thread, runs them with RunPending or ServeFor.
class ManualMainThread final : public MainThread {
public:
    bool Synchronize(const std::function<void()>& call, std::stop_token stop) override;
    void ServeFor(std::chrono::milliseconds upTo) override;
    bool Terminating() const override { return terminating_; }

    // Runs every call handed over so far; returns how many ran.
    int RunPending();
    // Serves calls until `done` holds or `limit` passes; returns done().
    bool ServeUntil(const std::function<bool()>& done,
                    std::chrono::milliseconds limit = std::chrono::seconds(10));
    void SetTerminating(bool terminating) { terminating_ = terminating; }

private:
    struct Call;

    std::mutex mutex_;
    std::condition_variable_any changed_;
    std::deque<std::shared_ptr<Call>> calls_;
    bool terminating_ = false;
};

} // namespace qirelo::upgrade::fake
