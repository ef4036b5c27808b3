// Measures the relay loop against kept-alive loopback relay and timer
// servers: what a cycle's two GETs add to the 3000 ms period, whether the
// period drifts, how soon a forced stop returns to its caller and takes
// effect (also from inside a handed-over call and while the worker is blocked
// in a step that ignores the stop), and how much CPU the polling worker uses.
// Prints a table; the figures go to the README.
//
//   qirelo_relay_bench [--minute SECONDS]   (default 60: the CPU measurement)

#include "app/relay/http_client_slot.h"
#include "app/relay/recording_actions.h"
#include "app/relay/relay_loop.h"
#include "app/relay/synchronized_actions.h"
#include "app/relay/worker_pacer.h"
#include "tests/http/support/script_server.h"
#include "upgrade/fake/manual_main_thread.h"
#include "upgrade/up_thread.h"

#include <time.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <numeric>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace qirelo::app::relay {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using http::testing::Peer;
using http::testing::ScriptServer;

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

double ThreadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// Answers every request on a connection with the same body, kept alive.
ScriptServer::Handler Always(std::string body) {
    return [body](Peer& peer) {
        while (peer.read_request()) {
            peer.send(http::testing::response("HTTP/1.1 200 OK\r\n", body));
        }
    };
}

// Stalls every request: the GET waits for data that never comes.
ScriptServer::Handler Stalling() {
    return [](Peer& peer) {
        if (peer.read_request()) {
            peer.stall();
        }
    };
}

std::unique_ptr<http::THttpClient> Client() {
    auto client = std::make_unique<http::THttpClient>();
    client->HandleRedirects = true;
    client->ReadTimeout = 9000;
    return client;
}

RelayEndpoints Endpoints(const ScriptServer& relay, const ScriptServer& timer) {
    return RelayEndpoints{"127.0.0.1:" + std::to_string(relay.port()),
                          "127.0.0.1:" + std::to_string(timer.port()), "127.0.0.1"};
}

class NoPause final : public RelayPacer {
public:
    void Sleep(int) override {}
    void CheckStop() override {}
};

// A measurement whose set-up did not happen would measure something else.
void Require(bool reached) {
    if (!reached) {
        std::fprintf(stderr, "the worker never reached the state to measure\n");
        std::exit(1);
    }
}

struct Summary {
    double mean, p50, p99, max;
};

struct StopFigures {
    double returnMs;  // Terminate(true) called until it returned
    double unwoundMs; // Terminate(true) called until the routine had unwound
};

Summary Summarise(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const auto at = [&](double q) {
        return values[std::min(values.size() - 1, static_cast<std::size_t>(q * values.size()))];
    };
    return {std::accumulate(values.begin(), values.end(), 0.0) / values.size(), at(0.5), at(0.99),
            values.back()};
}

// 1. What the two GETs of a cycle (and the evaluation of an old record) cost.
void MeasureCycleCost() {
    ScriptServer relay(Always("120|F"));
    ScriptServer timer(Always("125"));
    auto monitorClient = Client(), timerClient = Client();
    HttpClientSlot monitor(monitorClient, nullptr), timerSlot(timerClient, nullptr);
    RecordingActions window([](const std::string&) {}, 128, "");
    NoPause pause;
    std::atomic<std::int64_t> stamp{0};
    RelayLoop loop(RelayLoopParts{[] { return std::string("42"); }, stamp, monitor, timerSlot,
                                  window, pause, Endpoints(relay, timer)});
    for (int i = 0; i < 50; ++i) { // warm-up
        loop.RunCycle();
    }
    constexpr int kCycles = 2000;
    std::vector<double> cycles;
    for (int i = 0; i < kCycles; ++i) {
        const auto start = Clock::now();
        loop.RunCycle();
        cycles.push_back(Ms(Clock::now() - start));
    }
    const Summary s = Summarise(cycles);
    std::printf("cycle's two GETs, kept alive (%d cycles): mean %.3f ms, p50 %.3f, p99 %.3f, "
                "max %.3f; connections relay %d, timer %d\n",
                kCycles, s.mean, s.p50, s.p99, s.max, relay.connections(), timer.connections());
    // 2. Drift over 100 cycles with the clock injected: each pause advances a
    // virtual clock by its length, the requests take real time.
    double virtualMs = 0;
    class VirtualPause final : public RelayPacer {
    public:
        explicit VirtualPause(double& clock) : clock_(clock) {}
        void Sleep(int ms) override { clock_ += ms; }
        void CheckStop() override {}

    private:
        double& clock_;
    } virtualPause(virtualMs);
    RelayLoop timed(RelayLoopParts{[] { return std::string("42"); }, stamp, monitor, timerSlot,
                                   window, virtualPause, Endpoints(relay, timer)});
    const auto start = Clock::now();
    for (int i = 0; i < 100; ++i) {
        timed.RunCycle();
    }
    const double total = Ms(Clock::now() - start) + virtualMs;
    std::printf("100 cycles, injected clock: %.3f ms, %.3f ms beyond 100 x 3000 ms "
                "(%.4f ms per cycle, no growth)\n",
                total, total - 300000.0, (total - 300000.0) / 100);
}

// A routine on the product's path: worker, synchronised window, real pauses.
struct Rig {
    explicit Rig(ScriptServer::Handler relayHandler, std::string timerBody = "125")
        : relay(std::move(relayHandler)), timer(Always(std::move(timerBody))),
          endpoints(Endpoints(relay, timer)) {}

    void Run(RelayActions& target) {
        struct Unwound {
            Rig& rig;
            double cpuStart = ThreadCpuMs();
            ~Unwound() {
                rig.cpuMs = ThreadCpuMs() - cpuStart;
                rig.unwoundAt = Clock::now();
                rig.unwound = true;
            }
        } guard{*this};
        SynchronizedActions synchronized(target, upThread1);
        RelayLoop(RelayLoopParts{[] { return std::string("42"); }, stamp, monitorSlot, timerSlot,
                                 synchronized, pacer, endpoints})
            .Run();
    }
    // Stops the run from the main thread: how long Terminate(true) took to
    // return, and how long after the request the routine had unwound.
    StopFigures Stop() {
        unwound = false;
        const auto asked = Clock::now();
        upThread1.Terminate(true);
        const auto returned = Clock::now();
        Require(mainThread.ServeUntil([&] { return unwound.load(); }, 20s));
        return {Ms(returned - asked), Ms(unwoundAt - asked)};
    }

    ScriptServer relay, timer;
    RelayEndpoints endpoints;
    upgrade::fake::ManualMainThread mainThread;
    upgrade::TupThread upThread1{mainThread};
    std::atomic<std::int64_t> stamp{0};
    std::unique_ptr<http::THttpClient> monitorClient = Client(), timerClient = Client();
    HttpClientSlot monitorSlot{monitorClient, &upThread1}, timerSlot{timerClient, &upThread1};
    WorkerPacer pacer{upThread1};
    std::atomic<bool> unwound{false};
    Clock::time_point unwoundAt;
    double cpuMs = 0;
};

// Keys that take a little while to synthesise, as the real sender does.
class SlowKeys final : public RelayActions {
public:
    std::atomic<int> keys{0};
    std::function<void()> onShowTab; // runs on the main thread, inside the handed-over call
    void SendKeys(const std::string&) override {
        ++keys;
        std::this_thread::sleep_for(5ms);
    }
    void ShowTab(Tab) override {
        if (onShowTab) {
            onShowTab();
        }
    }
    void Navigate(const std::string&) override {}
    void Action1() override {}
    void Action2() override {}
    void Action3() override {}
    int TrackBar1Position() override { return 128; }
    void SetTrackBar1Position(int) override {}
    void ClickBitBtn1() override {}
    std::string EditUrlText() override { return ""; }
};

// Stands in for a name lookup on a bad network: a step that does not heed the
// stop and blocks the worker for two seconds before the GET proper.
class BlockedLookup final : public RelayHttp {
public:
    explicit BlockedLookup(RelayHttp& inner) : inner_(inner) {}
    std::atomic<int> entered{0};
    std::string Get(const std::string& url) override {
        ++entered;
        std::this_thread::sleep_for(2s);
        return inner_.Get(url);
    }
    void Replace() override { inner_.Replace(); }

private:
    RelayHttp& inner_;
};

// Serves records whose stamps are always new and fresh against timer 1000.
ScriptServer::Handler FreshRecords(std::atomic<int>& next, std::string command) {
    return [&next, command](Peer& peer) {
        while (peer.read_request()) {
            peer.send(http::testing::response("HTTP/1.1 200 OK\r\n",
                                              std::to_string(next++) + "|" + command));
        }
    };
}

// 3. How soon a forced stop returns to its caller and takes effect.
void MeasureStops() {
    constexpr int kRounds = 20;
    const auto report = [](const char* where, const std::vector<StopFigures>& stops) {
        std::vector<double> returned, unwound;
        for (const StopFigures& stop : stops) {
            returned.push_back(stop.returnMs);
            unwound.push_back(stop.unwoundMs);
        }
        const Summary r = Summarise(returned), u = Summarise(unwound);
        std::printf("forced stop %-32s (%2d stops): returns mean %.3f ms, max %.3f ms; "
                    "unwound mean %.3f ms, max %.3f ms\n",
                    where, static_cast<int>(stops.size()), r.mean, r.max, u.mean, u.max);
    };
    // Starts the loop, lets it reach a new relay request, waits `settle` more
    // and stops it; kRounds times.
    const auto stops_after_a_request = [](Rig& rig, SlowKeys& keys,
                                          std::chrono::milliseconds settle) {
        rig.upThread1.OnExecute = [&rig, &keys](upgrade::TupCustomThread&) { rig.Run(keys); };
        std::vector<StopFigures> stops;
        for (int i = 0; i < kRounds; ++i) {
            const int before = static_cast<int>(rig.relay.requests().size());
            rig.upThread1.Execute();
            Require(rig.mainThread.ServeUntil(
                [&] { return static_cast<int>(rig.relay.requests().size()) > before; }, 20s));
            std::this_thread::sleep_for(settle);
            stops.push_back(rig.Stop());
        }
        return stops;
    };
    {
        Rig rig(Stalling());
        SlowKeys keys;
        report("while a GET is stalled", stops_after_a_request(rig, keys, 20ms));
    }
    {
        Rig rig(Always("120|F"));
        SlowKeys keys;
        report("while sleeping", stops_after_a_request(rig, keys, 50ms)); // in the 3000 ms pause
    }
    {
        std::atomic<int> next{1000};
        Rig rig(FreshRecords(next, "D+9"), "1000");
        SlowKeys keys;
        rig.upThread1.OnExecute = [&](upgrade::TupCustomThread&) { rig.Run(keys); };
        std::vector<StopFigures> stops;
        for (int i = 0; i < kRounds; ++i) {
            const int before = keys.keys;
            rig.upThread1.Execute();
            Require(rig.mainThread.ServeUntil([&] { return keys.keys >= before + 3; }, 20s));
            stops.push_back(rig.Stop());
        }
        report("between keys", stops);
    }
    {
        // The page that completes inside a window step the worker handed over
        // stops the worker from within that step (the member-id pick-up).
        std::atomic<int> next{1000};
        Rig rig(FreshRecords(next, "A1"), "1000");
        SlowKeys keys;
        Clock::time_point asked, returned;
        keys.onShowTab = [&] {
            asked = Clock::now();
            rig.upThread1.Terminate(true);
            returned = Clock::now();
        };
        rig.upThread1.OnExecute = [&](upgrade::TupCustomThread&) { rig.Run(keys); };
        std::vector<StopFigures> stops;
        for (int i = 0; i < kRounds; ++i) {
            rig.unwound = false;
            rig.upThread1.Execute();
            Require(rig.mainThread.ServeUntil([&] { return rig.unwound.load(); }, 20s));
            stops.push_back({Ms(returned - asked), Ms(rig.unwoundAt - asked)});
        }
        report("inside its own handed-over call", stops);
    }
    {
        // Each restart's routine waits for the blocked one to unwind, so a
        // round takes the two seconds of the lookup; ten rounds are enough.
        constexpr int kBlockedRounds = 10;
        Rig rig(Always("120|F"));
        SlowKeys keys;
        BlockedLookup lookup(rig.monitorSlot);
        rig.upThread1.OnExecute = [&](upgrade::TupCustomThread&) {
            struct Unwound {
                Rig& rig;
                ~Unwound() {
                    rig.unwoundAt = Clock::now();
                    rig.unwound = true;
                }
            } guard{rig};
            SynchronizedActions synchronized(keys, rig.upThread1);
            RelayLoop(RelayLoopParts{[] { return std::string("42"); }, rig.stamp, lookup,
                                     rig.timerSlot, synchronized, rig.pacer, rig.endpoints})
                .Run();
        };
        std::vector<StopFigures> stops;
        for (int i = 0; i < kBlockedRounds; ++i) {
            const int before = lookup.entered;
            rig.upThread1.Execute();
            Require(rig.mainThread.ServeUntil([&] { return lookup.entered > before; }, 20s));
            std::this_thread::sleep_for(20ms);
            stops.push_back(rig.Stop());
        }
        report("in a 2 s blocked name lookup", stops);
    }
}

// 4. The polling worker's CPU time and its real period over a minute.
void MeasureMinute(int seconds) {
    Rig rig(Always("120|F"));
    SlowKeys keys;
    std::vector<Clock::time_point> starts;
    std::mutex mutex;
    class MarkingHttp final : public RelayHttp {
    public:
        MarkingHttp(RelayHttp& inner, std::vector<Clock::time_point>& starts, std::mutex& mutex)
            : inner_(inner), starts_(starts), mutex_(mutex) {}
        std::string Get(const std::string& url) override {
            {
                std::lock_guard lock(mutex_);
                starts_.push_back(Clock::now());
            }
            return inner_.Get(url);
        }
        void Replace() override { inner_.Replace(); }

    private:
        RelayHttp& inner_;
        std::vector<Clock::time_point>& starts_;
        std::mutex& mutex_;
    } marking(rig.monitorSlot, starts, mutex);
    rig.upThread1.OnExecute = [&](upgrade::TupCustomThread&) {
        struct Unwound {
            Rig& rig;
            double cpuStart = ThreadCpuMs();
            ~Unwound() {
                rig.cpuMs = ThreadCpuMs() - cpuStart;
                rig.unwound = true;
            }
        } guard{rig};
        SynchronizedActions synchronized(keys, rig.upThread1);
        RelayLoop(RelayLoopParts{[] { return std::string("42"); }, rig.stamp, marking,
                                 rig.timerSlot, synchronized, rig.pacer, rig.endpoints})
            .Run();
    };
    rig.upThread1.Execute();
    const auto until = Clock::now() + std::chrono::seconds(seconds);
    while (Clock::now() < until) {
        rig.mainThread.ServeFor(100ms);
    }
    rig.upThread1.Terminate(true);
    rig.mainThread.ServeUntil([&] { return rig.unwound.load(); }, 20s);
    std::vector<double> periods;
    for (std::size_t i = 1; i < starts.size(); ++i) {
        periods.push_back(Ms(starts[i] - starts[i - 1]));
    }
    const Summary p = Summarise(periods);
    std::printf("worker over %d s: %zu cycles, CPU %.2f ms = %.4f %% of one core\n", seconds,
                starts.size(), rig.cpuMs, 100.0 * rig.cpuMs / (seconds * 1000.0));
    std::printf("real poll period: mean %.3f ms, max %.3f ms; first to last cycle %.3f ms "
                "beyond %zu x 3000 ms\n",
                p.mean, p.max, Ms(starts.back() - starts.front()) - 3000.0 * periods.size(),
                periods.size());
}

} // namespace
} // namespace qirelo::app::relay

int main(int argc, char** argv) {
    int seconds = 60;
    if (argc == 3 && std::string(argv[1]) == "--minute") {
        seconds = std::max(4, std::atoi(argv[2]));
    }
    qirelo::app::relay::MeasureCycleCost();
    qirelo::app::relay::MeasureStops();
    qirelo::app::relay::MeasureMinute(seconds);
}
