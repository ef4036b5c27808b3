#include "upgrade/custom_thread.h"

#include "upgrade/thread_stopped.h"

#include <algorithm>
#include <thread>

namespace qirelo::upgrade {

namespace {
// How often a waiting starter looks again at the run when nothing wakes it.
constexpr std::chrono::milliseconds kWaitSlice{10};
} // namespace

TupCustomThread::TupCustomThread(MainThread& mainThread)
    : mainThread_(mainThread), life_(std::make_shared<ComponentLife>()),
      thread_(std::make_unique<TupEventThread>(*this, mainThread_, life_, priority_)) {}

TupCustomThread::~TupCustomThread() {
    life_->destroying = true;
    thread_->Run().Kill();
    WaitForRunsToEnd();
    thread_.reset();
}

// The one wait for a stopped run: the component goes, and a run still
// unwinding (out of a step that does not heed the stop) would reach into it
// and into its owner's state. On the main thread the handed-over calls are
// served meanwhile (a stopped run's own are skipped), and the thread object
// stays in place, so a call served here that re-enters the component finds one.
void TupCustomThread::WaitForRunsToEnd() {
    for (;;) {
        const std::shared_ptr<const ThreadRun> last = thread_->LastRun();
        if (!last || last->Ended()) {
            return;
        }
        if (mainThread_.IsMainThread()) {
            mainThread_.ServeCalls(kWaitSlice);
        } else {
            last->WaitEnded(kWaitSlice);
        }
    }
}

ThreadRun* TupCustomThread::CallingRun() const {
    ThreadRun* run = ThreadRun::Current();
    return run && &run->Owner() == this ? run : nullptr;
}

const ThreadRun& TupCustomThread::ReportedRun() const {
    const ThreadRun* run = CallingRun();
    return run ? *run : thread_->Run();
}

RunSettings TupCustomThread::Settings() const {
    return RunSettings{OnExecute, OnTerminate, OnException, HandleExceptions, priority_};
}

void TupCustomThread::ReplaceThreadObject() {
    auto fresh = std::make_unique<TupEventThread>(*this, mainThread_, life_, priority_);
    thread_->HandOver(*fresh);
    thread_ = std::move(fresh);
}

bool TupCustomThread::Execute() {
    ReplaceThreadObject();
    thread_->Resume(Settings());
    return WaitThread ? WaitForRun() : true;
}

// Waits for the run while serving the caller's queue, so that the run's
// synchronised calls get through and the window stays responsive.
bool TupCustomThread::WaitForRun() {
    // Held, not borrowed: a call served below may replace the thread object.
    const std::shared_ptr<const ThreadRun> run = thread_->SharedRun();
    const auto start = std::chrono::steady_clock::now();
    const auto limit = std::chrono::milliseconds(WaitTimeout);
    while (!run->Ended() && !life_->destroying && !mainThread_.Terminating()) {
        const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now() - start);
        if (WaitTimeout != 0 && waited >= limit) {
            bool terminateThread = true;
            if (OnWaitTimeoutExpired) {
                OnWaitTimeoutExpired(*this, terminateThread);
            }
            if (terminateThread) {
                Terminate(true);
            }
            return !terminateThread;
        }
        mainThread_.ServeFor(WaitTimeout == 0 ? kWaitSlice : std::min(kWaitSlice, limit - waited));
    }
    return true;
}

void TupCustomThread::Terminate(bool Kill) {
    if (!Kill) {
        ThreadRun* own = CallingRun();
        (own ? *own : thread_->Run()).SetTerminated();
        return;
    }
    if (ThreadRun* own = CallingRun()) {
        // The routine stops itself: nothing after this runs on its thread,
        // and the next Execute makes the fresh thread object.
        own->Kill();
        throw EThreadStopped{};
    }
    ReplaceThreadObject();
}

void TupCustomThread::Synchronize(const std::function<void()>& method) {
    if (ThreadRun* run = CallingRun()) {
        run->Synchronize(method);
    } else if (!life_->destroying) {
        method();
    }
}

void TupCustomThread::Sleep(std::chrono::milliseconds duration) {
    if (ThreadRun* run = CallingRun()) {
        run->Sleep(duration);
    } else {
        std::this_thread::sleep_for(duration);
    }
}

void TupCustomThread::CheckStop() {
    if (ThreadRun* run = CallingRun()) {
        run->CheckStop();
    }
}

StopSignal* TupCustomThread::RunStop() const {
    ThreadRun* run = CallingRun();
    return run ? &run->Stop() : nullptr;
}

bool TupCustomThread::Executing() const {
    return ReportedRun().Executing();
}
bool TupCustomThread::Terminated() const {
    return ReportedRun().Terminated();
}
TThreadPriority TupCustomThread::Priority() const {
    return ReportedRun().Priority();
}
bool TupCustomThread::Suspended() const {
    return ReportedRun().Suspended();
}

void TupCustomThread::SetPriority(TThreadPriority priority) {
    priority_ = priority;
    thread_->Run().SetPriority(priority);
}

void TupCustomThread::SetSuspended(bool suspended) {
    if (suspended) {
        thread_->Run().SetSuspended(true);
    } else {
        thread_->Resume(Settings());
    }
}

} // namespace qirelo::upgrade
