#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <list>
#include <mutex>
#include <thread>

namespace qirelo::upgrade {

// A run's stop request: a flag, waits it cuts short, and callbacks it runs
// (to abort a blocking call). Built on a plain mutex and condition variable
// because MinGW's std::stop_token, over GCC 12's futex-less atomic waits, can
// lose the wake-up that ends a callback's deregistration and hang the thread.
class StopSignal {
public:
    StopSignal() = default;
    StopSignal(const StopSignal&) = delete;
    StopSignal& operator=(const StopSignal&) = delete;

    // Sets the flag, wakes every wait and runs each registered callback once,
    // on the calling thread. Later calls do nothing.
    void Request();
    bool Requested() const;
    // Waits up to `duration`; returns at once when the stop is requested.
    // True when it was.
    bool WaitFor(std::chrono::milliseconds duration);

    // Runs `action` on the stop, at once if the stop is already requested.
    // Its destruction waits for an `action` running on another thread.
    class Callback {
    public:
        Callback(StopSignal& signal, std::function<void()> action);
        ~Callback();
        Callback(const Callback&) = delete;
        Callback& operator=(const Callback&) = delete;

    private:
        friend class StopSignal;
        StopSignal& signal_;
        std::function<void()> action_;
        bool registered_ = false;
    };

private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    bool requested_ = false;
    std::list<Callback*> callbacks_;
    Callback* running_ = nullptr;
    std::thread::id runner_;
};

} // namespace qirelo::upgrade
