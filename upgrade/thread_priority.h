#pragma once

#include <memory>

namespace qirelo::upgrade {

// In SetThreadPriority terms: -15, -2, -1, 0, 1, 2, 15.
enum class TThreadPriority {
    tpIdle,
    tpLowest,
    tpLower,
    tpNormal,
    tpHigher,
    tpHighest,
    tpTimeCritical
};

// The OS priority of one thread. Made on that thread (ForCurrentThread) and
// then usable from any thread while the owner keeps it.
class ThreadPriorityControl {
public:
    virtual ~ThreadPriorityControl() = default;
    static std::unique_ptr<ThreadPriorityControl> ForCurrentThread();

    virtual void Set(TThreadPriority priority) = 0;
    // A level outside the seven reads as tpNormal.
    virtual TThreadPriority Get() const = 0;
};

} // namespace qirelo::upgrade
