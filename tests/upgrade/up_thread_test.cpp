#include "platform/fpu/fpu.h"
#include "tests/upgrade/support/watchdog.h"
#include "upgrade/fake/manual_main_thread.h"
#include "upgrade/thread_stopped.h"
#include "upgrade/up_thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace qirelo::upgrade {
namespace {

using namespace std::chrono_literals;

// A log the worker and the main thread both write to, in order.
class Journal {
public:
    void Add(const std::string& entry) {
        std::lock_guard lock(mutex_);
        entries_.push_back(entry);
    }
    std::vector<std::string> Entries() const {
        std::lock_guard lock(mutex_);
        return entries_;
    }
    bool Has(const std::string& entry) const {
        for (const auto& e : Entries()) {
            if (e == entry) {
                return true;
            }
        }
        return false;
    }

private:
    mutable std::mutex mutex_;
    std::vector<std::string> entries_;
};

class TupThreadTest : public ::testing::Test {
protected:
    bool ServeUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = 10s) {
        return mainThread.ServeUntil(done, limit);
    }
    // Lets a stopped worker's thread run on for a moment, so a step that
    // wrongly followed the stop would have had time to show.
    void Settle() {
        std::this_thread::sleep_for(100ms);
        mainThread.RunPending();
    }

    fake::ManualMainThread mainThread;
    Journal journal;
    const std::thread::id mainId = std::this_thread::get_id();
};

TEST_F(TupThreadTest,
       ExecuteReturnsAtOnceAndRunsTheRoutineOnItsOwnThreadThenOnTerminateOnTheMainThread) {
    TupThread thread(mainThread);
    std::atomic<bool> release{false};
    std::thread::id workerId, terminateId;
    thread.OnExecute = [&](TupCustomThread&) {
        workerId = std::this_thread::get_id();
        while (!release) {
            std::this_thread::sleep_for(1ms);
        }
    };
    thread.OnTerminate = [&](TupCustomThread&) {
        terminateId = std::this_thread::get_id();
        journal.Add("terminate");
    };

    EXPECT_TRUE(thread.Execute());
    EXPECT_TRUE(ServeUntil([&] { return thread.Executing(); }));
    release = true;
    ASSERT_TRUE(ServeUntil([&] { return journal.Has("terminate"); }));
    EXPECT_NE(workerId, mainId);
    EXPECT_EQ(terminateId, mainId);
    EXPECT_TRUE(ServeUntil([&] { return !thread.Executing(); }));
}

TEST_F(TupThreadTest, SynchronizeRunsOnTheMainThreadWhileTheWorkerWaits) {
    TupThread thread(mainThread);
    thread.OnExecute = [&](TupCustomThread& self) {
        journal.Add("before");
        self.Synchronize(
            [&] { journal.Add(std::this_thread::get_id() == mainId ? "on main" : "elsewhere"); });
        journal.Add("after");
    };
    thread.Execute();
    ASSERT_TRUE(ServeUntil([&] { return journal.Has("after"); }));
    EXPECT_EQ(journal.Entries(), (std::vector<std::string>{"before", "on main", "after"}));
}

TEST_F(TupThreadTest, AnExceptionInOnExecuteEndsTheRunQuietlyAndOnTerminateStillRuns) {
    TupThread thread(mainThread);
    thread.OnExecute = [&](TupCustomThread&) {
        journal.Add("execute");
        throw std::runtime_error("bad record");
    };
    thread.OnTerminate = [&](TupCustomThread&) { journal.Add("terminate"); };
    thread.Execute();
    ASSERT_TRUE(ServeUntil([&] { return journal.Has("terminate"); }));
    EXPECT_EQ(journal.Entries(), (std::vector<std::string>{"execute", "terminate"}));
}

TEST_F(TupThreadTest, AnAssignedOnExceptionRunsOnTheMainThreadBeforeOnTerminate) {
    TupThread thread(mainThread);
    thread.OnExecute = [&](TupCustomThread&) { throw std::runtime_error("bad record"); };
    thread.OnException = [&](TupCustomThread&) {
        journal.Add(std::this_thread::get_id() == mainId ? "exception on main" : "elsewhere");
    };
    thread.OnTerminate = [&](TupCustomThread&) { journal.Add("terminate"); };
    thread.Execute();
    ASSERT_TRUE(ServeUntil([&] { return journal.Has("terminate"); }));
    EXPECT_EQ(journal.Entries(), (std::vector<std::string>{"exception on main", "terminate"}));
}

TEST_F(TupThreadTest,
       AnExceptionInASynchronisedCallIsDroppedOrRaisedOnTheWorkerByHandleExceptions) {
    for (bool handle : {true, false}) {
        SCOPED_TRACE(handle);
        Journal log;
        TupThread thread(mainThread);
        thread.HandleExceptions = handle;
        thread.OnExecute = [&](TupCustomThread& self) {
            try {
                self.Synchronize([] { throw std::runtime_error("page load failed"); });
                log.Add("went on");
            } catch (const std::runtime_error& error) {
                log.Add(std::string("raised: ") + error.what());
            }
        };
        thread.OnTerminate = [&](TupCustomThread&) { log.Add("terminate"); };
        thread.Execute();
        ASSERT_TRUE(ServeUntil([&] { return log.Has("terminate"); }));
        EXPECT_EQ(log.Entries()[0], handle ? "went on" : "raised: page load failed");
    }
}

TEST_F(TupThreadTest, ForcedStopWakesASleepAtOnceAndNoFurtherStepOrOnTerminateFollows) {
    TupThread thread(mainThread);
    std::atomic<bool> asleep{false};
    thread.OnExecute = [&](TupCustomThread& self) {
        asleep = true;
        self.Sleep(60s);
        journal.Add("after sleep");
    };
    thread.OnTerminate = [&](TupCustomThread&) { journal.Add("terminate"); };
    thread.Execute();
    ASSERT_TRUE(ServeUntil([&] { return asleep.load(); }));

    const auto start = std::chrono::steady_clock::now();
    thread.Terminate(true);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s) << "the caller must not wait";
    EXPECT_FALSE(thread.Executing()) << "a fresh idle thread object takes the place";
    Settle();
    EXPECT_TRUE(journal.Entries().empty());
}

TEST_F(TupThreadTest, ForcedStopSkipsASynchronisedCallTheMainThreadHasNotBegun) {
    TupThread thread(mainThread);
    std::atomic<bool> calling{false};
    thread.OnExecute = [&](TupCustomThread& self) {
        calling = true;
        self.Synchronize([&] { journal.Add("window touched"); });
        journal.Add("after call");
    };
    thread.OnTerminate = [&](TupCustomThread&) { journal.Add("terminate"); };
    thread.Execute();
    while (!calling) {
        std::this_thread::sleep_for(1ms);
    }
    std::this_thread::sleep_for(20ms); // the call is now queued, not yet served
    thread.Terminate(true);
    Settle(); // the main thread now dispatches the queue
    EXPECT_TRUE(journal.Entries().empty());
}

TEST_F(TupThreadTest, StopCallbacksFireOnTheForcedStopToAbortBlockingCalls) {
    TupThread thread(mainThread);
    std::atomic<bool> blocked{false};
    thread.OnExecute = [&](TupCustomThread& self) {
        // Stands in for a blocking socket call that the stop aborts.
        std::mutex m;
        std::condition_variable cv;
        bool aborted = false;
        ASSERT_NE(self.RunStop(), nullptr);
        StopSignal::Callback abort(*self.RunStop(), [&] {
            std::lock_guard lock(m);
            aborted = true;
            cv.notify_all();
        });
        std::unique_lock lock(m);
        blocked = true;
        cv.wait(lock, [&] { return aborted; });
        lock.unlock();
        journal.Add("aborted");
        self.CheckStop();
        journal.Add("after check");
    };
    thread.Execute();
    ASSERT_TRUE(ServeUntil([&] { return blocked.load(); }));
    thread.Terminate(true);
    Settle();
    EXPECT_EQ(journal.Entries(), std::vector<std::string>{"aborted"});
}

TEST_F(TupThreadTest, ExecuteDuringARunEndsItAndStartsAfreshWithAtMostOneRoutineLive) {
    TupThread thread(mainThread);
    std::atomic<int> live{0}, mostLive{0}, starts{0};
    thread.OnExecute = [&](TupCustomThread& self) {
        const int now = ++live;
        mostLive = std::max(mostLive.load(), now);
        ++starts;
        struct Leave {
            std::atomic<int>& live;
            ~Leave() {
                std::this_thread::sleep_for(30ms); // slow unwinding
                --live;
            }
        } leave{live};
        self.Sleep(60s);
    };
    thread.OnTerminate = [&](TupCustomThread&) { journal.Add("terminate"); };
    thread.Execute();
    ASSERT_TRUE(ServeUntil([&] { return starts == 1; }));
    thread.Execute();
    ASSERT_TRUE(ServeUntil([&] { return starts == 2; }));
    EXPECT_TRUE(thread.Executing());
    EXPECT_EQ(mostLive, 1);
    thread.Terminate(true);
    Settle();
    EXPECT_FALSE(journal.Has("terminate"));
}

TEST_F(TupThreadTest, TerminateWithoutKillOnlyRaisesTheFlagTheRoutineTests) {
    TupThread thread(mainThread);
    thread.OnExecute = [&](TupCustomThread& self) {
        while (!self.Terminated()) {
            self.Sleep(1ms);
        }
        journal.Add("saw terminated");
    };
    thread.OnTerminate = [&](TupCustomThread&) { journal.Add("terminate"); };
    thread.Execute();
    ASSERT_TRUE(ServeUntil([&] { return thread.Executing(); }));
    EXPECT_FALSE(thread.Terminated());
    thread.Terminate();
    ASSERT_TRUE(ServeUntil([&] { return journal.Has("terminate"); }));
    EXPECT_EQ(journal.Entries(), (std::vector<std::string>{"saw terminated", "terminate"}));
}

TEST_F(TupThreadTest, KillOnAnIdleComponentFiresNothingAndTheNextExecuteRuns) {
    TupThread thread(mainThread);
    thread.OnExecute = [&](TupCustomThread&) { journal.Add("execute"); };
    thread.OnTerminate = [&](TupCustomThread&) { journal.Add("terminate"); };
    thread.Terminate(true);
    Settle();
    EXPECT_TRUE(journal.Entries().empty());
    EXPECT_TRUE(thread.Suspended()) << "the fresh thread object waits to be started";
    thread.Execute();
    EXPECT_FALSE(thread.Suspended());
    ASSERT_TRUE(ServeUntil([&] { return journal.Has("terminate"); }));
    EXPECT_EQ(journal.Entries(), (std::vector<std::string>{"execute", "terminate"}));
}

TEST_F(TupThreadTest, AStopFromTheWorkerItselfEndsItsRoutineWithoutOnTerminate) {
    TupThread thread(mainThread);
    thread.OnExecute = [&](TupCustomThread& self) {
        journal.Add("before");
        self.Terminate(true);
        journal.Add("after");
    };
    thread.OnTerminate = [&](TupCustomThread&) { journal.Add("terminate"); };
    thread.Execute();
    ASSERT_TRUE(ServeUntil([&] { return journal.Has("before"); }));
    Settle();
    EXPECT_EQ(journal.Entries(), std::vector<std::string>{"before"});
    thread.OnTerminate = nullptr;
    thread.Execute();
    ASSERT_TRUE(ServeUntil([&] { return journal.Entries().size() == 2; }));
}

TEST_F(TupThreadTest, DestroyingTheComponentEndsItsRunningThreadWithoutOnTerminate) {
    std::atomic<bool> asleep{false};
    {
        TupThread thread(mainThread);
        thread.OnExecute = [&](TupCustomThread& self) {
            asleep = true;
            self.Sleep(60s);
            journal.Add("after sleep");
        };
        thread.OnTerminate = [&](TupCustomThread&) { journal.Add("terminate"); };
        thread.Execute();
        ASSERT_TRUE(ServeUntil([&] { return asleep.load(); }));
    }
    Settle();
    EXPECT_TRUE(journal.Entries().empty());
}

TEST_F(TupThreadTest, DestroyingTheComponentWhileItsWorkerWaitsForTheMainThreadDoesNotDeadlock) {
    std::atomic<bool> calling{false};
    {
        TupThread thread(mainThread);
        thread.OnExecute = [&](TupCustomThread& self) {
            calling = true;
            self.Synchronize([&] { journal.Add("window touched"); });
            journal.Add("after call");
        };
        thread.Execute();
        while (!calling) {
            std::this_thread::sleep_for(1ms);
        }
        std::this_thread::sleep_for(20ms); // the call waits for the main thread
    }
    Settle();
    EXPECT_TRUE(journal.Entries().empty());
}

// A step of the routine that does not heed the stop (a name lookup on a bad
// network): it goes on until the test lets it, or until it goes itself (a
// failed assertion must not leave the worker blocked for ever).
class StubbornStep {
public:
    ~StubbornStep() { Release(); }
    void Run() {
        std::unique_lock lock(mutex_);
        entered_ = true;
        changed_.notify_all();
        changed_.wait(lock, [this] { return released_; });
    }
    bool Entered() {
        std::lock_guard lock(mutex_);
        return entered_;
    }
    void Release() {
        std::lock_guard lock(mutex_);
        released_ = true;
        changed_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool entered_ = false, released_ = false;
};

// Marks the routine's stack as unwound when it goes.
struct UnwoundMark {
    std::atomic<bool>& unwound;
    ~UnwoundMark() { unwound = true; }
};

TEST_F(TupThreadTest, AStopOrRestartFromInsideTheWorkersOwnHandedOverCallReturnsAndNothingFollows) {
    for (bool restart : {false, true}) {
        SCOPED_TRACE(restart ? "restart" : "stop");
        Journal log;
        std::atomic<int> runs{0};
        TupThread thread(mainThread);
        thread.OnExecute = [&](TupCustomThread& self) {
            if (++runs > 1) {
                log.Add("fresh run");
                return;
            }
            self.Synchronize([&] {
                // A page without the member cookie completes here, say.
                testing::Watchdog watchdog(5s, "a stop from inside a handed-over call");
                restart ? (void)thread.Execute() : thread.Terminate(true);
                log.Add("call finished");
            });
            self.Synchronize([&] { log.Add("window touched after the stop"); });
            log.Add("routine went on");
        };
        thread.OnTerminate = [&](TupCustomThread&) { log.Add("terminate"); };
        thread.Execute();
        ASSERT_TRUE(ServeUntil([&] { return log.Has("call finished"); }));
        if (restart) {
            ASSERT_TRUE(ServeUntil([&] { return log.Has("terminate"); }));
            EXPECT_EQ(log.Entries(),
                      (std::vector<std::string>{"call finished", "fresh run", "terminate"}));
        } else {
            Settle();
            EXPECT_EQ(log.Entries(), std::vector<std::string>{"call finished"});
            EXPECT_FALSE(thread.Executing());
        }
    }
}

TEST_F(TupThreadTest, AForcedStopNeverWaitsForAWorkerInAStepThatIgnoresTheStop) {
    TupThread thread(mainThread);
    StubbornStep lookup;
    std::atomic<bool> unwound{false};
    std::atomic<int> runs{0};
    std::atomic<bool> overlapped{false};
    thread.OnExecute = [&](TupCustomThread& self) {
        if (++runs > 1) {
            overlapped = !unwound;
            journal.Add("next run");
            return;
        }
        UnwoundMark mark{unwound};
        lookup.Run();
        self.Synchronize([&] { journal.Add("window touched after the stop"); });
        journal.Add("routine went on");
    };
    thread.Execute();
    ASSERT_TRUE(ServeUntil([&] { return lookup.Entered(); }));
    {
        testing::Watchdog watchdog(5s, "Terminate(true) while the worker ignores the stop");
        thread.Terminate(true);
        thread.Execute(); // its routine must wait for the stopped one to unwind
    }
    EXPECT_FALSE(unwound) << "the stopped run is still in its step";
    lookup.Release();
    ASSERT_TRUE(ServeUntil([&] { return journal.Has("next run"); }));
    EXPECT_TRUE(unwound);
    EXPECT_FALSE(overlapped) << "at most one routine is live";
    EXPECT_EQ(journal.Entries(), std::vector<std::string>{"next run"});
}

TEST_F(TupThreadTest, DestroyingTheComponentWaitsForAStoppedRunStillInAStepThatIgnoresTheStop) {
    StubbornStep lookup;
    std::atomic<bool> unwound{false};
    std::thread releaser;
    {
        TupThread thread(mainThread);
        thread.OnExecute = [&](TupCustomThread& self) {
            UnwoundMark mark{unwound};
            lookup.Run();
            // Still reaches into the component: it must be alive.
            self.CheckStop();
            journal.Add("routine went on");
        };
        thread.Execute();
        ASSERT_TRUE(ServeUntil([&] { return lookup.Entered(); }));
        {
            testing::Watchdog watchdog(5s, "Terminate(true) while the worker ignores the stop");
            thread.Terminate(true);
        }
        releaser = std::thread([&] {
            std::this_thread::sleep_for(50ms);
            lookup.Release();
        });
    }
    EXPECT_TRUE(unwound) << "the routine unwound before the component went";
    releaser.join();
    EXPECT_TRUE(journal.Entries().empty());
}

TEST_F(TupThreadTest, ACallServedWhileTheComponentIsDestroyedMayStillReEnterIt) {
    std::atomic<bool> calling{false};
    std::thread other;
    {
        TupThread thread(mainThread);
        thread.OnExecute = [&](TupCustomThread& self) {
            calling = true;
            self.Synchronize([&] { journal.Add("window touched"); });
        };
        thread.Execute();
        while (!calling) {
            std::this_thread::sleep_for(1ms);
        }
        // Another thread's call, waiting with the worker's, asks the component.
        other = std::thread([&] {
            mainThread.Synchronize([&] {
                journal.Add(thread.Executing() ? "executing" : "idle");
                thread.Terminate(true);
                journal.Add("stopped");
            });
        });
        std::this_thread::sleep_for(20ms); // both calls wait for the main thread
    }
    other.join();
    EXPECT_EQ(journal.Entries().size(), 2u);
    EXPECT_TRUE(journal.Has("stopped"));
    EXPECT_FALSE(journal.Has("window touched"));
}

TEST_F(TupThreadTest, AWorkerRunsWithTheProcesssFpuControlWord) {
    platform::X87Fpu fpu;
    const std::uint16_t saved = fpu.control_word();
    std::atomic<std::uint16_t> inside{0};
    TupThread thread(mainThread);
    thread.OnExecute = [&](TupCustomThread&) { inside = platform::X87Fpu().control_word(); };
    // Started from a thread that still has the default word: a new thread gets
    // the system's default on Windows and its creator's word on Linux, and
    // either way must run with the process's.
    std::mutex m;
    std::condition_variable cv;
    bool processWordSet = false;
    std::thread starter([&] {
        std::unique_lock lock(m);
        cv.wait(lock, [&] { return processWordSet; });
        thread.Execute();
    });
    fpu.set_control_word(platform::kFpuControlWordExtended);
    {
        std::lock_guard lock(m);
        processWordSet = true;
    }
    cv.notify_all();
    starter.join();
    const bool ran = ServeUntil([&] { return inside != 0; });
    fpu.set_control_word(saved);
    ASSERT_TRUE(ran);
    EXPECT_EQ(inside & 0x1F3F, platform::kFpuControlWordExtended & 0x1F3F);
}

TEST(StopSignal, RunsEachCallbackOnceAndAtOnceWhenAlreadyRequested) {
    StopSignal signal;
    int first = 0, late = 0;
    {
        StopSignal::Callback callback(signal, [&] { ++first; });
        EXPECT_FALSE(signal.WaitFor(1ms));
        signal.Request();
        signal.Request();
        EXPECT_TRUE(signal.Requested());
        StopSignal::Callback after(signal, [&] { ++late; });
    }
    EXPECT_EQ(first, 1);
    EXPECT_EQ(late, 1);
    EXPECT_TRUE(signal.WaitFor(60s)) << "returns at once once requested";
}

TEST(StopSignal, DeregisteringWaitsForACallbackRunningOnAnotherThread) {
    for (int round = 0; round < 200; ++round) {
        StopSignal signal;
        std::atomic<bool> finished{false};
        std::thread requester;
        {
            StopSignal::Callback callback(signal, [&] {
                std::this_thread::sleep_for(std::chrono::microseconds(round % 3 * 100));
                finished = true;
            });
            requester = std::thread([&] { signal.Request(); });
            std::this_thread::sleep_for(std::chrono::microseconds(round % 5 * 50));
        }
        const bool requested = signal.Requested();
        EXPECT_TRUE(!requested || finished) << "round " << round;
        requester.join();
    }
}

TEST_F(TupThreadTest, WaitThreadWaitsForTheRunWhileServingItsSynchronisedCalls) {
    TupThread thread(mainThread);
    thread.WaitThread = true;
    thread.OnExecute = [&](TupCustomThread& self) {
        self.Synchronize([&] { journal.Add("synchronised"); });
        journal.Add("done");
    };
    EXPECT_TRUE(thread.Execute());
    EXPECT_EQ(journal.Entries(), (std::vector<std::string>{"synchronised", "done"}));
}

// A main thread whose serving slice is an hour: a wait on it comes back only
// for a handed-over call or a wake, so a wait for a run's end that is not
// woken by that end shows as a hang.
class HourSliceMainThread final : public MainThread {
public:
    void Synchronize(const std::function<void()>& call) override { inner_.Synchronize(call); }
    bool IsMainThread() const override { return inner_.IsMainThread(); }
    void ServeCalls(std::chrono::milliseconds) override { inner_.ServeCalls(1h); }
    void ServeFor(std::chrono::milliseconds) override { inner_.ServeFor(1h); }
    void Wake() override { inner_.Wake(); }
    bool Terminating() const override { return inner_.Terminating(); }

private:
    fake::ManualMainThread inner_;
};

TEST_F(TupThreadTest, TheEndOfARunWakesTheMainThreadThatWaitsForIt) {
    HourSliceMainThread slowMain;
    {
        TupThread thread(slowMain);
        thread.WaitThread = true;
        thread.OnExecute = [&](TupCustomThread& self) {
            self.Synchronize([&] { journal.Add("synchronised"); });
            journal.Add("done");
        };
        testing::Watchdog watchdog(5s, "a waited Execute after its run has ended");
        EXPECT_TRUE(thread.Execute());
        EXPECT_EQ(journal.Entries(), (std::vector<std::string>{"synchronised", "done"}));
    }

    // Destroying the component waits for a stopped run still in a step that
    // ignores the stop; that run's end must wake the wait too.
    StubbornStep lookup;
    auto thread = std::make_unique<TupThread>(slowMain);
    thread->OnExecute = [&](TupCustomThread&) { lookup.Run(); };
    thread->Execute();
    while (!lookup.Entered()) {
        std::this_thread::sleep_for(1ms);
    }
    thread->Terminate(true);
    std::thread releaser([&] {
        std::this_thread::sleep_for(50ms);
        lookup.Release();
    });
    {
        testing::Watchdog watchdog(5s, "destroying the component after its stopped run has ended");
        thread.reset();
    }
    releaser.join();
}

TEST_F(TupThreadTest, WaitTimeoutFiresOnWaitTimeoutExpiredAndStopsTheRunUnlessTheHandlerSaysNo) {
    for (bool terminate : {true, false}) {
        SCOPED_TRACE(terminate);
        Journal log;
        std::atomic<bool> release{false};
        TupThread thread(mainThread);
        thread.WaitThread = true;
        thread.WaitTimeout = 50;
        thread.OnExecute = [&](TupCustomThread& self) {
            while (!release) {
                self.Sleep(1ms);
            }
            log.Add("finished");
        };
        thread.OnWaitTimeoutExpired = [&](TupCustomThread&, bool& terminateThread) {
            log.Add("expired");
            terminateThread = terminate;
        };
        EXPECT_EQ(thread.Execute(), !terminate);
        EXPECT_EQ(thread.Executing(), !terminate);
        release = true;
        Settle();
        EXPECT_EQ(log.Has("finished"), !terminate);
        EXPECT_TRUE(log.Has("expired"));
    }
}

TEST_F(TupThreadTest, SuspendedHoldsTheRoutineAtItsNextStopTest) {
    TupThread thread(mainThread);
    std::atomic<int> steps{0};
    thread.OnExecute = [&](TupCustomThread& self) {
        for (;;) {
            self.CheckStop();
            ++steps;
            std::this_thread::sleep_for(1ms);
        }
    };
    thread.Execute();
    ASSERT_TRUE(ServeUntil([&] { return steps > 0; }));
    thread.SetSuspended(true);
    std::this_thread::sleep_for(20ms);
    const int held = steps;
    std::this_thread::sleep_for(50ms);
    EXPECT_LE(steps - held, 1);
    thread.SetSuspended(false);
    EXPECT_TRUE(ServeUntil([&] { return steps > held + 5; }));
    thread.Terminate(true);
}

TEST_F(TupThreadTest, PriorityIsKeptAcrossRuns) {
    TupThread thread(mainThread);
    EXPECT_EQ(thread.Priority(), TThreadPriority::tpNormal);
    thread.SetPriority(TThreadPriority::tpLower);
    std::atomic<bool> seen{false};
    TThreadPriority inside = TThreadPriority::tpNormal;
    thread.OnExecute = [&](TupCustomThread& self) {
        inside = self.Priority();
        seen = true;
    };
    thread.Execute();
    ASSERT_TRUE(ServeUntil([&] { return seen.load(); }));
    EXPECT_EQ(inside, TThreadPriority::tpLower);
    thread.Terminate(true);
    EXPECT_EQ(thread.Priority(), TThreadPriority::tpLower);
}

} // namespace
} // namespace qirelo::upgrade
