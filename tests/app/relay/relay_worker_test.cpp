#include "scripted_relay.h"

#include "app/relay/relay_loop.h"
#include "app/relay/synchronized_actions.h"
#include "app/relay/worker_pacer.h"
#include "upgrade/fake/manual_main_thread.h"
#include "upgrade/up_thread.h"

#include <gtest/gtest.h>

#include <thread>

namespace qirelo::app::relay {
namespace {

using namespace std::chrono_literals;
using testing::LineLog;
using testing::ScriptedHttp;
using Lines = std::vector<std::string>;

// The relay loop on the worker-thread component, as the main window runs it:
// window operations carried to the (test's) main thread, keys and pauses on
// the worker.
class RelayWorkerTest : public ::testing::Test {
protected:
    RelayWorkerTest() {
        upThread1.OnExecute = [this](upgrade::TupCustomThread&) {
            RelayLoop(RelayLoopParts{[] { return std::string("42"); }, lastStamp, monitor, timer,
                                     synchronized, recordingPacer, testing::TestEndpoints()})
                .Run();
        };
        upThread1.OnTerminate = [this](upgrade::TupCustomThread&) { log.Add("OnTerminate"); };
    }
    ~RelayWorkerTest() override { upThread1.Terminate(true); }

    bool ServeUntilLine(const std::string& line) {
        return mainThread.ServeUntil([&] {
            for (const auto& l : log.Lines()) {
                if (l == line) {
                    return true;
                }
            }
            return false;
        });
    }
    void Settle() {
        std::this_thread::sleep_for(150ms);
        mainThread.RunPending();
    }

    upgrade::fake::ManualMainThread mainThread;
    upgrade::TupThread upThread1{mainThread};
    std::atomic<std::int64_t> lastStamp{0};
    ScriptedHttp monitor, timer;
    LineLog log;
    const std::thread::id mainId = std::this_thread::get_id();
    // Each line says which thread it came from.
    LineSink sink = [this](const std::string& line) {
        log.Add(line + (std::this_thread::get_id() == mainId ? " @main" : " @worker"));
    };
    RecordingActions window{sink, 128, ""};
    SynchronizedActions synchronized{window, upThread1};
    WorkerPacer workerPacer{upThread1};
    RecordingPacer recordingPacer{sink, &workerPacer};
};

TEST_F(RelayWorkerTest, WindowOperationsRunOnTheMainThreadAndKeysAndPausesOnTheWorkerInOrder) {
    monitor.Answer("120|AE");
    timer.Answer("125");
    upThread1.Execute();
    ASSERT_TRUE(ServeUntilLine("Sleep 3000 @worker"));
    EXPECT_EQ(log.Lines(),
              (Lines{"SendKeys FK_ESC @worker", "ShowTab tb1 @main",
                     "Navigate http://site.test/m0E.html @main", "SendKeys   @worker",
                     "SendKeys FK_ESC @worker", "ShowTab tb3 @main", "TrackBar1 255 @main",
                     "TrackBar1 128 @main", "ClickBitBtn1 @main", "Sleep 3000 @worker"}));
}

TEST_F(RelayWorkerTest, AForcedStopDuringGsPausesRunsNoFurtherStep) {
    monitor.Answer("120|G-3");
    timer.Answer("125");
    upThread1.Execute();
    ASSERT_TRUE(ServeUntilLine("Sleep 1000 @worker"));
    upThread1.Terminate(true);
    Settle();
    EXPECT_EQ(log.Lines(), (Lines{"SendKeys FK_LEFT @worker", "Sleep 1000 @worker"}));
    EXPECT_FALSE(upThread1.Executing());
}

TEST_F(RelayWorkerTest, ARestartRunsAFreshLoopThatKeepsTheOldStamp) {
    monitor.Answer("120|F");
    timer.Answer("125");
    upThread1.Execute();
    ASSERT_TRUE(ServeUntilLine("Sleep 3000 @worker"));
    upThread1.Execute(); // ends the sleeping run, starts afresh
    ASSERT_TRUE(mainThread.ServeUntil([&] { return monitor.Urls().size() == 2; }));
    Settle();
    EXPECT_EQ(log.Lines(),
              (Lines{"SendKeys   @worker", "Sleep 3000 @worker", "Sleep 3000 @worker"}))
        << "the second run found the stamp already carried out";
    monitor.Answer("121|F");
    upThread1.Execute();
    ASSERT_TRUE(mainThread.ServeUntil([&] { return log.Lines().size() == 5; }));
    EXPECT_EQ(log.Lines()[3], "SendKeys   @worker");
}

} // namespace
} // namespace qirelo::app::relay
