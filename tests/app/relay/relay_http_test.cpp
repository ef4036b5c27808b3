#include "scripted_relay.h"

#include "app/relay/http_client_slot.h"
#include "app/relay/recording_http.h"
#include "app/relay/relay_loop.h"
#include "app/relay/synchronized_actions.h"
#include "app/relay/worker_pacer.h"
#include "tests/http/support/script_server.h"
#include "upgrade/fake/manual_main_thread.h"
#include "upgrade/up_thread.h"

#include <gtest/gtest.h>

#include <thread>

namespace qirelo::app::relay {
namespace {

using namespace std::chrono_literals;
using http::testing::Reply;
using http::testing::ScriptServer;
using http::testing::Then;
using testing::LineLog;
using Lines = std::vector<std::string>;

std::string Ok(std::string_view body) {
    return http::testing::response("HTTP/1.1 200 OK\r\n", body);
}

std::unique_ptr<http::THttpClient> Client() {
    auto client = std::make_unique<http::THttpClient>();
    client->HandleRedirects = true;
    client->ReadTimeout = 9000;
    return client;
}

// The loop with real client objects against scripted loopback relay and
// timer servers, on the worker-thread component as the product runs it.
class RelayHttpTest : public ::testing::Test {
protected:
    void Start(std::vector<Reply> relayReplies, std::vector<Reply> timerReplies) {
        relay.emplace(http::testing::serve(std::move(relayReplies)));
        timer.emplace(http::testing::serve(std::move(timerReplies)));
        endpoints = RelayEndpoints{"127.0.0.1:" + std::to_string(relay->port()),
                                   "127.0.0.1:" + std::to_string(timer->port()), "site.test"};
        upThread1.OnExecute = [this](upgrade::TupCustomThread&) { MakeLoop().Run(); };
    }
    RelayLoop MakeLoop() {
        return RelayLoop(RelayLoopParts{[] { return std::string("42"); }, lastStamp,
                                        recordedMonitor, recordedTimer, synchronized, pacer,
                                        endpoints});
    }
    bool ServeUntil(const std::function<bool()>& done) { return mainThread.ServeUntil(done, 20s); }
    std::string MonitorUrl() const { return relay::MonitorUrl(endpoints, "42"); }

    std::optional<ScriptServer> relay, timer;
    RelayEndpoints endpoints;
    upgrade::fake::ManualMainThread mainThread;
    upgrade::TupThread upThread1{mainThread};
    std::atomic<std::int64_t> lastStamp{0};
    std::unique_ptr<http::THttpClient> MonitorHttp = Client();
    std::unique_ptr<http::THttpClient> TimerHttp = Client();
    HttpClientSlot monitorSlot{MonitorHttp, &upThread1};
    HttpClientSlot timerSlot{TimerHttp, &upThread1};
    LineLog log;
    RecordingHttp recordedMonitor{log.Sink(), monitorSlot};
    RecordingHttp recordedTimer{log.Sink(), timerSlot};
    RecordingActions window{log.Sink(), 128, ""};
    SynchronizedActions synchronized{window, upThread1};
    WorkerPacer workerPacer{upThread1};
    RecordingPacer pacer{log.Sink(), &workerPacer};
};

TEST_F(RelayHttpTest, KeptAliveClientsReuseTheirConnectionsAcrossCycles) {
    Start({{Ok("120|F")}, {Ok("120|F")}}, {{Ok("125")}, {Ok("125")}});
    HttpClientSlot plainMonitor{MonitorHttp, nullptr}, plainTimer{TimerHttp, nullptr};
    RecordingPacer noPause{log.Sink(), nullptr};
    RelayLoop loop(RelayLoopParts{[] { return std::string("42"); }, lastStamp, plainMonitor,
                                  plainTimer, window, noPause, endpoints});
    loop.RunCycle();
    loop.RunCycle();
    EXPECT_EQ(relay->connections(), 1);
    EXPECT_EQ(timer->connections(), 1);
    EXPECT_EQ(log.Lines(), (Lines{"SendKeys  ", "Sleep 3000", "Sleep 3000"}));
}

TEST_F(RelayHttpTest, AFailedGetReplacesTheClientSoTheNextGetOpensANewConnection) {
    Start({{http::testing::response("HTTP/1.1 503 Busy\r\n", "")}, {Ok("120|F")}},
          {{Ok("125")}, {Ok("125")}});
    upThread1.Execute();
    ASSERT_TRUE(ServeUntil([&] { return log.Lines().size() >= 3; }));
    upThread1.Terminate(true);
    EXPECT_EQ(log.Lines()[0], "GET " + MonitorUrl() + " error EHttpProtocolError");
    EXPECT_EQ(log.Lines()[1], "GET " + TimerUrl(endpoints) + " ok 3");
    EXPECT_EQ(log.Lines()[2], "Sleep 3000");
    // The worker is stopped in its pause; the next run polls with the new client.
    upThread1.Execute();
    ASSERT_TRUE(ServeUntil([&] { return log.Lines().size() >= 7; }));
    upThread1.Terminate(true);
    EXPECT_EQ(log.Lines()[3], "GET " + MonitorUrl() + " ok 5");
    EXPECT_EQ(log.Lines()[5], "SendKeys  ");
    EXPECT_EQ(relay->connections(), 2) << "the failed client's kept-alive connection is gone";
    EXPECT_EQ(timer->connections(), 1);
}

TEST_F(RelayHttpTest, AForcedStopWhileAGetIsStalledRunsNoFurtherStepAndLeavesAUsableClient) {
    Start({{"", Then::stall}, {Ok("121|F")}}, {{Ok("125")}});
    const http::THttpClient* stalled = MonitorHttp.get();
    upThread1.Execute();
    ASSERT_TRUE(ServeUntil([&] { return relay->requests().size() == 1; }));
    upThread1.Terminate(true);
    // The next run begins only once the stopped one has unwound, well before
    // the stalled client's 9 s time-out.
    const auto restarted = std::chrono::steady_clock::now();
    upThread1.Execute();
    ASSERT_TRUE(ServeUntil([&] { return log.Lines().size() >= 3; }));
    EXPECT_LT(std::chrono::steady_clock::now() - restarted, 5s);
    upThread1.Terminate(true);
    EXPECT_NE(MonitorHttp.get(), stalled) << "the aborted client object was replaced";
    EXPECT_EQ(log.Lines()[0], "GET " + MonitorUrl() + " ok 5")
        << "the stopped run logged nothing and never asked the timer";
    EXPECT_EQ(log.Lines()[2], "SendKeys  ");
    EXPECT_EQ(relay->connections(), 2);
}

} // namespace
} // namespace qirelo::app::relay
