// The relay soak: the relay loop on its worker, over the real THttpClient
// client objects, exactly as the window runs it but without its pauses, for
// many cycles against loopback relay and timer servers that inject faults at
// random from a fixed seed. It checks that the loop survives every cycle,
// that every fresh, new command is carried out exactly once (and nothing
// else), and that the resident size stays flat. Prints its figures; exits 1
// when a check fails.
//
//   qirelo_relay_soak [--cycles N] [--seed S]      (defaults 10000, 2013)

#include "app/relay/http_client_slot.h"
#include "app/relay/recording_actions.h"
#include "app/relay/relay_http_client.h"
#include "app/relay/relay_loop.h"
#include "app/relay/soak/fault_server.h"
#include "app/relay/soak/soak_world.h"
#include "app/relay/synchronized_actions.h"
#include "app/relay/worker_pacer.h"
#include "upgrade/fake/manual_main_thread.h"
#include "upgrade/up_thread.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace qirelo::app::relay::soak {
namespace {

using Clock = std::chrono::steady_clock;

long ResidentKiB() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// The window's pacer without its pauses: the stop is still tested, and the
// end of each cycle is counted (and the resident size taken at one of them).
class CountingPacer final : public RelayPacer {
public:
    CountingPacer(upgrade::TupCustomThread& worker, long measureAt, long endAt)
        : worker_(worker), measureAt_(measureAt), endAt_(endAt) {}

    void Sleep(int milliseconds) override {
        worker_.CheckStop();
        if (milliseconds != RelayLoop::kCyclePauseMs) {
            return; // a G command's pause between keys
        }
        const long cycle = ++cycles_;
        if (cycle == measureAt_) {
            residentAtMeasure = ResidentKiB();
        }
        if (cycle == endAt_) {
            residentAtEnd = ResidentKiB();
        }
    }
    void CheckStop() override { worker_.CheckStop(); }
    long Cycles() const { return cycles_; }

    long residentAtMeasure = 0, residentAtEnd = 0;

private:
    upgrade::TupCustomThread& worker_;
    const long measureAt_, endAt_;
    std::atomic<long> cycles_{0};
};

struct Options {
    long cycles = 10000;
    std::uint64_t seed = 2013;
};

Options ParseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        if (name == "--cycles") {
            options.cycles = std::max(30L, std::atol(argv[i + 1]));
        } else if (name == "--seed") {
            options.seed = std::strtoull(argv[i + 1], nullptr, 10);
        } else {
            std::fprintf(stderr, "usage: qirelo_relay_soak [--cycles N] [--seed S]\n");
            std::exit(2);
        }
    }
    return options;
}

void PrintFigures(const SoakFigures& f) {
    std::printf("answers              relay  timer\n");
    for (int kind = 0; kind < kFaultKinds; ++kind) {
        std::printf("  %-16s %7ld %6ld\n", FaultName(static_cast<Fault>(kind)), f.relayFaults[kind],
                    f.timerFaults[kind]);
    }
    std::printf("records: new stamp %ld, repeated stamp %ld, same record again %ld, garbage %ld, "
                "bad command %ld, empty %ld\n",
                f.records[0], f.records[1], f.records[2], f.records[3], f.records[4], f.records[5]);
    std::printf("timer numbers: fresh %ld, stale %ld, garbage %ld\n", f.timers[0], f.timers[1],
                f.timers[2]);
}

int Run(const Options& options) {
    const std::string siteHost = "site.example";
    SoakWorld world(options.seed, siteHost);
    FaultServer relayServer([&] { return world.MonitorAnswer(); });
    FaultServer timerServer([&] { return world.TimerAnswer(); });

    upgrade::fake::ManualMainThread mainThread;
    upgrade::TupThread upThread1{mainThread};
    std::unique_ptr<http::THttpClient> monitorClient = NewRelayHttpClient();
    std::unique_ptr<http::THttpClient> timerClient = NewRelayHttpClient();
    HttpClientSlot monitorHttp(monitorClient, &upThread1), timerHttp(timerClient, &upThread1);
    RecordingActions window([&](const std::string& line) { world.Observe(line); }, 128,
                            SoakWorld::kAddressBar);
    SynchronizedActions actions(window, upThread1);
    const long measureAt = std::min(1000L, options.cycles / 3);
    CountingPacer pacer(upThread1, measureAt, options.cycles);
    std::atomic<std::int64_t> lastCommandStamp{0};
    const RelayEndpoints endpoints{"127.0.0.1:" + std::to_string(relayServer.port()),
                                   "127.0.0.1:" + std::to_string(timerServer.port()), siteHost};

    std::atomic<bool> finished{false}, ranToEnd{false};
    upThread1.OnExecute = [&](upgrade::TupCustomThread&) {
        struct Finished {
            std::atomic<bool>& flag;
            ~Finished() { flag = true; }
        } guard{finished};
        RelayLoop(RelayLoopParts{[&] {
                                     return pacer.Cycles() < options.cycles ? std::string("10001")
                                                                            : std::string();
                                 },
                                 lastCommandStamp, monitorHttp, timerHttp, actions, pacer,
                                 endpoints})
            .Run();
        ranToEnd = true;
    };
    const auto start = Clock::now();
    upThread1.Execute();
    mainThread.ServeUntil([&] { return finished.load(); }, std::chrono::hours(2));
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();

    const SoakFigures f = world.Figures();
    std::printf("relay soak: %ld cycles, seed %llu, %.1f s (%.2f ms per cycle)\n", pacer.Cycles(),
                static_cast<unsigned long long>(options.seed), seconds,
                1000.0 * seconds / std::max(1L, pacer.Cycles()));
    PrintFigures(f);
    const long growth = pacer.residentAtEnd - pacer.residentAtMeasure;
    std::printf("commands fresh and new: %ld; carried out whole, once each, in order: %ld; "
                "operations not due: %ld; operations still due: %zu\n",
                f.expectedCommands, f.carriedOut, f.unexpectedOperations, world.Outstanding());
    std::printf("resident size: %ld KiB at cycle %ld, %ld KiB at cycle %ld (%+ld KiB)\n",
                pacer.residentAtMeasure, measureAt, pacer.residentAtEnd, options.cycles, growth);

    // Allocator noise stays well under this; a leak of a few bytes a cycle does not.
    constexpr long kFlatKiB = 512;
    bool passed = true;
    const auto check = [&](bool holds, const std::string& failure) {
        if (!holds) {
            std::printf("FAILED: %s\n", failure.c_str());
            passed = false;
        }
    };
    check(ranToEnd && pacer.Cycles() == options.cycles,
          "the loop ended early, after " + std::to_string(pacer.Cycles()) + " cycles");
    check(f.harnessErrors == 0, "requests arrived out of the monitor-timer order");
    check(f.unexpectedOperations == 0, "an operation that was not due: " + f.firstUnexpected);
    check(world.Outstanding() == 0 && f.carriedOut == f.expectedCommands,
          "a fresh, new command was not carried out");
    check(f.expectedCommands > 0, "no command was fresh and new: the soak proved nothing");
    check(growth <= kFlatKiB, "the resident size grew by " + std::to_string(growth) + " KiB");
    std::printf("%s\n", passed ? "passed" : "FAILED");
    return passed ? 0 : 1;
}

} // namespace
} // namespace qirelo::app::relay::soak

int main(int argc, char** argv) {
    return qirelo::app::relay::soak::Run(qirelo::app::relay::soak::ParseOptions(argc, argv));
}
