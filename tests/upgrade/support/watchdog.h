#pragma once

// Ends the test program with a message when a step has not come back within
// its limit. A deadlocked step never comes back, so without it the test could
// only hang until ctest gives up on it.

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>

namespace qirelo::upgrade::testing {

class Watchdog {
public:
    Watchdog(std::chrono::milliseconds limit, std::string step)
        : step_(std::move(step)), guard_([this, limit] { Guard(limit); }) {}
    ~Watchdog() {
        {
            std::lock_guard lock(mutex_);
            done_ = true;
        }
        changed_.notify_all();
        guard_.join();
    }
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

private:
    void Guard(std::chrono::milliseconds limit) {
        std::unique_lock lock(mutex_);
        if (!changed_.wait_for(lock, limit, [this] { return done_; })) {
            std::fprintf(stderr, "FAILED: %s did not come back within %lld ms (deadlock)\n",
                         step_.c_str(), static_cast<long long>(limit.count()));
            std::fflush(stderr);
            std::_Exit(1);
        }
    }

    std::string step_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool done_ = false;
    std::thread guard_;
};

} // namespace qirelo::upgrade::testing
