#pragma once

#include "upgrade/thread_run.h"

#include <memory>
#include <thread>

namespace qirelo::upgrade {

// The thread object of a worker-thread component: one OS thread, created
// suspended (not yet started) and started by Resume. Its state lives in a
// ThreadRun shared with the OS thread, so a stopped run that is still
// unwinding never depends on the object that started it.
class TupEventThread {
public:
    TupEventThread(TupCustomThread& owner, MainThread& mainThread,
                   std::shared_ptr<const ComponentLife> life, TThreadPriority priority);
    // Stops the run and never waits for it. A thread object that was handed
    // over holds no OS thread any more; the last one of a component is freed
    // only once its runs have ended (see LastRun), so the joins here are
    // immediate.
    ~TupEventThread();
    TupEventThread(const TupEventThread&) = delete;
    TupEventThread& operator=(const TupEventThread&) = delete;

    // Starts the OS thread on the first call; later calls lift a suspension.
    void Resume(RunSettings settings);

    // Forced stop without waiting: the run ends at once wherever it is, and
    // its OS thread is handed to `successor`, whose own routine waits for it
    // to finish unwinding before it begins, and which joins it then.
    void HandOver(TupEventThread& successor);

    ThreadRun& Run() { return *run_; }
    const ThreadRun& Run() const { return *run_; }
    // The run itself, for a wait that must outlast a replacement of this
    // object by a call served meanwhile.
    std::shared_ptr<const ThreadRun> SharedRun() const { return run_; }
    // The run whose end means that every OS thread this object holds has
    // ended (each run waits for its predecessor first); nullptr when it holds none.
    std::shared_ptr<const ThreadRun> LastRun() const;

private:
    std::shared_ptr<ThreadRun> run_;
    std::thread thread_;
    std::thread predecessor_;
    std::shared_ptr<ThreadRun> predecessorRun_;
    bool started_ = false;
};

} // namespace qirelo::upgrade
