#pragma once

#include "upgrade/main_thread.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace qirelo::upgrade {

// The main thread of a program without a window (qirelo-tool, the transfer
// benchmark): the thread that makes it serves the calls workers hand over
// while it waits in ServeCalls. A transfer hands over one call per block, so
// both sides first wait for each other a few microseconds, yielding the
// processor meanwhile, before they sleep: a thread woken from sleep costs
// tens of microseconds on a virtual machine, more than the call itself.
class ConsoleMainThread final : public MainThread {
public:
    void Synchronize(const std::function<void()>& call) override;
    bool IsMainThread() const override { return std::this_thread::get_id() == mainId_; }
    void ServeCalls(std::chrono::milliseconds upTo) override;
    void ServeFor(std::chrono::milliseconds upTo) override { ServeCalls(upTo); }
    void Wake() override;
    bool Terminating() const override { return false; }

private:
    struct Call;
    // Runs every call handed over so far; true when there was one.
    bool RunPending();

    const std::thread::id mainId_ = std::this_thread::get_id();
    std::mutex mutex_;
    std::condition_variable callCame_;
    std::condition_variable callDone_;
    std::deque<Call*> calls_;
    std::atomic<int> pending_{0};
    std::atomic<bool> woken_{false};
};

} // namespace qirelo::upgrade
