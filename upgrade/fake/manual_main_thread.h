#pragma once

#include "upgrade/main_thread.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace qirelo::upgrade::fake {

// A main thread for tests: the thread that makes it plays the main thread,
// and handed-over calls wait until it runs them with RunPending, ServeCalls
// or ServeFor.
class ManualMainThread final : public MainThread {
public:
    void Synchronize(const std::function<void()>& call) override;
    bool IsMainThread() const override { return std::this_thread::get_id() == mainId_; }
    void ServeCalls(std::chrono::milliseconds upTo) override;
    void ServeFor(std::chrono::milliseconds upTo) override { ServeCalls(upTo); }
    bool Terminating() const override { return terminating_; }

    // Runs every call handed over so far; returns how many ran.
    int RunPending();
    // Serves calls until `done` holds or `limit` passes; returns done().
    bool ServeUntil(const std::function<bool()>& done,
                    std::chrono::milliseconds limit = std::chrono::seconds(10));
    void SetTerminating(bool terminating) { terminating_ = terminating; }

private:
    struct Call;

    const std::thread::id mainId_ = std::this_thread::get_id();
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::shared_ptr<Call>> calls_;
    bool terminating_ = false;
};

} // namespace qirelo::upgrade::fake
