#include "upgrade/event_thread.h"

namespace qirelo::upgrade {

TupEventThread::TupEventThread(TupCustomThread& owner, MainThread& mainThread,
                               std::shared_ptr<const ComponentLife> life, TThreadPriority priority)
    : run_(std::make_shared<ThreadRun>(owner, mainThread, std::move(life))) {
    run_->SetPriority(priority);
}

TupEventThread::~TupEventThread() {
    run_->Kill();
    MainThread& mainThread = run_->Main();
    const std::shared_ptr<ThreadRun> last = started_ ? run_ : predecessorRun_;
    if (last && mainThread.IsMainThread()) {
        while (!last->Ended()) {
            mainThread.ServeCalls(std::chrono::milliseconds(10));
        }
    }
    if (thread_.joinable()) {
        thread_.join();
    }
    if (predecessor_.joinable()) {
        predecessor_.join();
    }
}

void TupEventThread::Resume(RunSettings settings) {
    run_->SetSuspended(false);
    if (started_) {
        return;
    }
    started_ = true;
    thread_ = std::thread([run = run_, settings = std::move(settings),
                           predecessor = std::move(predecessor_)]() mutable {
        run->Procedure(std::move(settings), std::move(predecessor));
    });
}

void TupEventThread::HandOver(TupEventThread& successor) {
    run_->Kill();
    successor.predecessor_ = started_ ? std::move(thread_) : std::move(predecessor_);
    successor.predecessorRun_ = started_ ? run_ : predecessorRun_;
}

} // namespace qirelo::upgrade
