#pragma once

#include "upgrade/main_thread.h"
#include "upgrade/stop_signal.h"
#include "upgrade/thread_priority.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace qirelo::upgrade {

class TupCustomThread;

using TNotifyEvent = std::function<void(TupCustomThread& Sender)>;
using TWaitTimeoutEvent = std::function<void(TupCustomThread& Sender, bool& TerminateThread)>;

// What a component's runs need to know of the component itself, shared so a
// stopped run that is still unwinding never reaches into a freed component.
struct ComponentLife {
    std::atomic<bool> destroying{false};
};

// The settings a run takes from its component when it starts.
struct RunSettings {
    TNotifyEvent OnExecute;
    TNotifyEvent OnTerminate;
    TNotifyEvent OnException;
    bool HandleExceptions = true;
    TThreadPriority Priority = TThreadPriority::tpNormal;
};

// The state of one thread object that both its OS thread and the main thread
// see. The routine reaches it through the component (Synchronize, Sleep,
// CheckStop), which finds the calling worker's own run: a run that has been
// stopped keeps talking to its own state and so only ever learns that it is
// stopped.
class ThreadRun {
public:
    ThreadRun(TupCustomThread& owner, MainThread& mainThread,
              std::shared_ptr<const ComponentLife> life);
    ThreadRun(const ThreadRun&) = delete;
    ThreadRun& operator=(const ThreadRun&) = delete;

    // The run of the calling worker thread; nullptr on any other thread.
    static ThreadRun* Current();

    // The thread procedure: waits for `predecessor` to finish unwinding (at
    // most one routine is ever live), then runs the routine and its events.
    void Procedure(RunSettings settings, std::thread predecessor);

    // Worker side. Each raises EThreadStopped once the run has been stopped
    // by force, so no further step of the routine runs.
    void CheckStop();
    void Sleep(std::chrono::milliseconds duration);
    void Synchronize(const std::function<void()>& method);
    StopSignal& Stop() { return stop_; }

    // Either side.
    const TupCustomThread& Owner() const { return owner_; }
    MainThread& Main() { return mainThread_; }
    void Kill();
    bool Killed() const { return stop_.Requested(); }
    void SetTerminated() { terminated_ = true; }
    bool Terminated() const { return terminated_; }
    bool Executing() const { return executing_; }
    bool Ended() const { return ended_; }
    // Waits up to `duration` for the run to end; true when it has.
    bool WaitEnded(std::chrono::milliseconds duration) const;
    bool Suspended() const { return suspended_; }
    // True holds the routine at its next stop test; false lets it go on.
    void SetSuspended(bool suspended);
    void SetPriority(TThreadPriority priority);
    TThreadPriority Priority() const;

private:
    void RunGuarded(const TNotifyEvent& handler, const RunSettings& settings);
    void HandleFailure(const RunSettings& settings);
    void RunOnTerminate(const RunSettings& settings);
    void MarkEnded();

    TupCustomThread& owner_;
    MainThread& mainThread_;
    std::shared_ptr<const ComponentLife> life_;
    StopSignal stop_;
    std::atomic<bool> terminated_{false};
    std::atomic<bool> executing_{false};
    std::atomic<bool> ended_{false};
    std::atomic<bool> suspended_{true};
    std::atomic<bool> handleExceptions_{true};

    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    TThreadPriority priority_ = TThreadPriority::tpNormal;
    std::unique_ptr<ThreadPriorityControl> priorityControl_;
};

} // namespace qirelo::upgrade
