#pragma once

#include "upgrade/event_thread.h"
#include "upgrade/main_thread.h"
#include "upgrade/thread_run.h"

#include <chrono>
#include <functional>
#include <memory>

namespace qirelo::upgrade {

// Runs one routine, OnExecute, on a thread of its own and carries calls from
// that thread to the main thread.
//
// The forced stop (Terminate(true), a new Execute, destruction) is
// cooperative but immediate in effect: the routine's blocking steps are
// Sleep, Synchronize and whatever it ties to RunStop(); each of them wakes
// at once on the stop and raises EThreadStopped, which unwinds the routine.
// No further step runs, no OnTerminate follows, the caller never waits (not
// even for a step that does not heed the stop, nor when it stops the run from
// inside a call that run handed over), and the component is at once ready for
// the next Execute, whose routine begins only when the stopped one has
// finished unwinding. A stopped run finishes on its own and its OS thread is
// joined by the next run's; only destroying the component waits for it,
// since the routine may reach into the component and its owner's state. No
// thread is ever terminated outright: that could leave locks it held taken
// for good.
class TupCustomThread {
public:
    explicit TupCustomThread(MainThread& mainThread);
    virtual ~TupCustomThread();
    TupCustomThread(const TupCustomThread&) = delete;
    TupCustomThread& operator=(const TupCustomThread&) = delete;

    // Ends any run still going and starts OnExecute afresh. Returns true at
    // once unless WaitThread is set (see WaitForRun).
    bool Execute();

    // Without Kill: sets Terminated for the routine to test. With Kill: the
    // forced stop; from the worker itself it ends the calling routine.
    void Terminate(bool Kill = false);

    // On the worker: runs `method` on the main thread and returns when it
    // has run. Elsewhere: runs it directly.
    void Synchronize(const std::function<void()>& method);

    // On the worker: a pause that the forced stop cuts short. Elsewhere: a
    // plain pause.
    void Sleep(std::chrono::milliseconds duration);

    // On the worker: raises EThreadStopped once its run has been stopped by force.
    void CheckStop();

    // On the worker: its run's stop, for blocking calls to tie their abort to
    // (StopSignal::Callback). Elsewhere: nullptr.
    StopSignal* RunStop() const;

    bool Executing() const;
    bool Terminated() const;
    TThreadPriority Priority() const;
    void SetPriority(TThreadPriority priority);
    bool Suspended() const;
    void SetSuspended(bool suspended);

protected:
    TNotifyEvent OnExecute;
    TNotifyEvent OnTerminate;
    TNotifyEvent OnException;
    TWaitTimeoutEvent OnWaitTimeoutExpired;
    bool HandleExceptions = true;
    bool WaitThread = false;
    unsigned WaitTimeout = 0; // milliseconds; 0 waits without limit

private:
    // The run of the calling thread if it is one of this component's
    // workers, stopped ones included; otherwise nullptr.
    ThreadRun* CallingRun() const;
    // The run the property readers report: the caller's own, else the current one.
    const ThreadRun& ReportedRun() const;
    RunSettings Settings() const;
    void ReplaceThreadObject();
    bool WaitForRun();
    void WaitForRunsToEnd();

    MainThread& mainThread_;
    std::shared_ptr<ComponentLife> life_;
    TThreadPriority priority_ = TThreadPriority::tpNormal;
    std::unique_ptr<TupEventThread> thread_;
};

} // namespace qirelo::upgrade
