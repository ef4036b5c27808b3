#include "upgrade/event_thread.h"

#include "platform/fpu/fpu.h"

namespace qirelo::upgrade {

TupEventThread::TupEventThread(TupCustomThread& owner, MainThread& mainThread,
                               std::shared_ptr<const ComponentLife> life, TThreadPriority priority)
    : run_(std::make_shared<ThreadRun>(owner, mainThread, std::move(life))) {
    run_->SetPriority(priority);
}

TupEventThread::~TupEventThread() {
    run_->Kill();
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
        platform::adopt_process_fpu_control_word();
        run->Procedure(std::move(settings), std::move(predecessor));
    });
}

void TupEventThread::HandOver(TupEventThread& successor) {
    run_->Kill();
    successor.predecessor_ = started_ ? std::move(thread_) : std::move(predecessor_);
    successor.predecessorRun_ = started_ ? run_ : std::move(predecessorRun_);
}

std::shared_ptr<const ThreadRun> TupEventThread::LastRun() const {
    if (started_ && thread_.joinable()) {
        return run_;
    }
    return predecessor_.joinable() ? predecessorRun_ : nullptr;
}

} // namespace qirelo::upgrade
