#pragma once

#include "upgrade/thread_run.h"

#include <memory>
#include <thread>

namespace qirelo::upgrade {

// The thread object of a worker-thread component: one OS thread, created
// suspended (not yet started) and started by Resume. Its state lives in a
// ThreadRun shared with the OS thread.
class TupEventThread {
public:
    TupEventThread(TupCustomThread& owner, MainThread& mainThread,
                   std::shared_ptr<const ComponentLife> life, TThreadPriority priority);
    // Freeing: stops the run and waits for its OS thread (and any predecessor)
    // to end. Blocking steps all wake on the stop, so the wait is short; on
    // the main thread it keeps serving handed-over calls meanwhile (a stopped
    // run's own calls are skipped), so a worker waiting for one gets free.
    ~TupEventThread();
    TupEventThread(const TupEventThread&) = delete;
    TupEventThread& operator=(const TupEventThread&) = delete;

    // Starts the OS thread on the first call; later calls lift a suspension.
    void Resume(RunSettings settings);

    // Forced stop without waiting: the run ends at once wherever it is, and
    // its OS thread is handed to `successor`, whose own routine waits for it
    // to finish unwinding before it begins.
    void HandOver(TupEventThread& successor);

    ThreadRun& Run() { return *run_; }
    const ThreadRun& Run() const { return *run_; }
    bool Started() const { return started_; }

private:
    std::shared_ptr<ThreadRun> run_;
    std::thread thread_;
    std::thread predecessor_;
    std::shared_ptr<ThreadRun> predecessorRun_;
    bool started_ = false;
};

} // namespace qirelo::upgrade
