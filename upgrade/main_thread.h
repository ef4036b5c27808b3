#pragma once

#include <chrono>
#include <functional>

namespace qirelo::upgrade {

// How a worker reaches the main thread: the application's own handing-over of
// calls, which the main thread runs while it dispatches its messages. The
// worker-thread component takes it as a reference so it does not depend on
// the widget set.
class MainThread {
public:
    virtual ~MainThread() = default;

    // Worker: runs `call` on the main thread while the worker waits, and
    // raises the call's error again here.
    virtual void Synchronize(const std::function<void()>& call) = 0;

    virtual bool IsMainThread() const = 0;

    // Main thread: runs the handed-over calls alone (no window messages),
    // waiting up to `upTo` for one to come.
    virtual void ServeCalls(std::chrono::milliseconds upTo) = 0;

    // Main thread: dispatches what is pending (handed-over calls and the
    // window system's messages), waiting up to `upTo` for something to come.
    virtual void ServeFor(std::chrono::milliseconds upTo) = 0;

    // Any thread: ends the main thread's ServeCalls or ServeFor at once, or its
    // next one when it is not serving, so that a wait for a worker's end
    // learns of it without waiting out its slice.
    virtual void Wake() = 0;

    // True once the application has been asked to end.
    virtual bool Terminating() const = 0;
};

} // namespace qirelo::upgrade
