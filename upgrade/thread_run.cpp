#include "upgrade/thread_run.h"

#include "upgrade/thread_stopped.h"

#include <exception>

namespace qirelo::upgrade {
namespace {

thread_local ThreadRun* t_currentRun = nullptr;

} // namespace

ThreadRun::ThreadRun(TupCustomThread& owner, MainThread& mainThread,
                     std::shared_ptr<const ComponentLife> life)
    : owner_(owner), mainThread_(mainThread), life_(std::move(life)) {}

ThreadRun* ThreadRun::Current() {
    return t_currentRun;
}

void ThreadRun::Procedure(RunSettings settings, std::thread predecessor) {
    if (predecessor.joinable()) {
        predecessor.join();
    }
    t_currentRun = this;
    {
        std::lock_guard lock(mutex_);
        priorityControl_ = ThreadPriorityControl::ForCurrentThread();
        priorityControl_->Set(priority_);
    }
    handleExceptions_ = settings.HandleExceptions;
    if (terminated_ || Killed()) {
        MarkEnded();
        return;
    }
    executing_ = true;
    RunGuarded(settings.OnExecute, settings);
    RunOnTerminate(settings);
    executing_ = false;
    MarkEnded();
}

void ThreadRun::RunGuarded(const TNotifyEvent& handler, const RunSettings& settings) {
    if (!handler || life_->destroying) {
        return;
    }
    try {
        handler(owner_);
    } catch (const EThreadStopped&) {
        // Forced stop: the routine has unwound; nothing more of it runs.
    } catch (...) {
        if (!settings.HandleExceptions) {
            throw;
        }
        HandleFailure(settings);
    }
}

void ThreadRun::HandleFailure(const RunSettings& settings) {
    if (!settings.OnException || Killed() || life_->destroying) {
        return;
    }
    try {
        Synchronize([&] { settings.OnException(owner_); });
    } catch (const EThreadStopped&) {
    }
}

void ThreadRun::RunOnTerminate(const RunSettings& settings) {
    if (!settings.OnTerminate || Killed() || life_->destroying) {
        return;
    }
    try {
        Synchronize([&] {
            try {
                settings.OnTerminate(owner_);
            } catch (...) {
                if (!settings.HandleExceptions || !settings.OnException) {
                    throw;
                }
                // Already on the main thread: called directly.
                settings.OnException(owner_);
            }
        });
    } catch (const EThreadStopped&) {
    }
}

void ThreadRun::MarkEnded() {
    t_currentRun = nullptr;
    {
        std::lock_guard lock(mutex_);
        ended_ = true;
        changed_.notify_all();
    }
    // A starter waiting for this end on the main thread learns of it now, not
    // when its serving slice runs out. The main thread outlives the component,
    // whose end joins this thread.
    mainThread_.Wake();
}

bool ThreadRun::WaitEnded(std::chrono::milliseconds duration) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, duration, [this] { return ended_.load(); });
}

void ThreadRun::CheckStop() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !suspended_ || Killed(); });
    if (Killed()) {
        throw EThreadStopped{};
    }
}

void ThreadRun::Sleep(std::chrono::milliseconds duration) {
    CheckStop();
    stop_.WaitFor(duration);
    CheckStop();
}

void ThreadRun::Synchronize(const std::function<void()>& method) {
    CheckStop();
    if (life_->destroying) {
        return;
    }
    std::exception_ptr error;
    try {
        // The worker waits here until the main thread has served the call; a
        // call served after a forced stop, or while the owner is being
        // destroyed, is skipped, so nothing of the run happens after the stop.
        mainThread_.Synchronize([this, &method] {
            if (!Killed() && !life_->destroying) {
                method();
            }
        });
    } catch (...) {
        error = std::current_exception();
    }
    CheckStop();
    if (error && !handleExceptions_) {
        std::rethrow_exception(error);
    }
}

void ThreadRun::Kill() {
    terminated_ = true;
    stop_.Request();
    std::lock_guard lock(mutex_);
    changed_.notify_all();
}

void ThreadRun::SetSuspended(bool suspended) {
    std::lock_guard lock(mutex_);
    suspended_ = suspended;
    changed_.notify_all();
}

void ThreadRun::SetPriority(TThreadPriority priority) {
    std::lock_guard lock(mutex_);
    priority_ = priority;
    if (priorityControl_) {
        priorityControl_->Set(priority);
    }
}

TThreadPriority ThreadRun::Priority() const {
    std::lock_guard lock(mutex_);
    return priorityControl_ && !ended_ ? priorityControl_->Get() : priority_;
}

} // namespace qirelo::upgrade
