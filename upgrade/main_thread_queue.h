#pragma once

#include <chrono>
#include <functional>

namespace qirelo::upgrade {

// How a worker reaches the main thread: the application's queue of calls that
// the main thread runs while it dispatches its messages. The worker-thread
// component takes it as a reference so it does not depend on the widget set.
class MainThreadQueue {
public:
    virtual ~MainThreadQueue() = default;

    // Any thread: queues `call` to run on the main thread, in order, and
    // returns at once.
    virtual void Post(std::function<void()> call) = 0;

    // Main thread: dispatches what is pending (posted calls and the window
    // system's messages), waiting up to `upTo` for something to arrive, and
    // returns after the first batch or when Wake() is called.
    virtual void ServeFor(std::chrono::milliseconds upTo) = 0;

    // Any thread: ends a ServeFor wait early so its caller re-tests its condition.
    virtual void Wake() = 0;

    // True once the application has been asked to end.
    virtual bool Terminating() const = 0;
};

} // namespace qirelo::upgrade
