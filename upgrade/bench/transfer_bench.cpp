// qirelo-transfer-bench: a 64 MiB program file fetched from a loopback server
// by the transfer engine (libcurl underneath), into memory and into a file,
// with OnTransferProgress assigned (one hand-over to the main thread per
// 4096-byte block) and without, against curl fetching the same URL from the
// same server in the same run. The runs take turns for --rounds rounds; each
// figure is the median round.
// Usage: qirelo-transfer-bench [--mib N] [--rounds R] [--only TEXT]
// (--only: the engine's runs whose names hold TEXT, e.g. "memory", beside
// both curl runs; for profiling one case.)

#include "platform/inet/internet.h"
#include "platform/inet/local_system.h"
#include "tests/http/support/script_server.h"
#include "upgrade/console_main_thread.h"
#include "upgrade/transfer.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using namespace qirelo;

struct Case {
    std::string name;
    std::function<bool()> run;
    std::vector<double> seconds;
};

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// One transfer of `url` into `output` (memory when empty); true when the
// whole body arrived.
bool engine_run(const std::string& url, const std::string& output, bool progress) {
    upgrade::ConsoleMainThread mainThread;
    const auto internet = platform::inet::os_internet();
    const auto local = platform::inet::os_local_system();
    upgrade::TupTransfer transfer(mainThread, *internet, *local);
    transfer.URL = url;
    transfer.OutputFileName = output;
    std::int64_t blocks = 0;
    if (progress) {
        transfer.OnTransferProgress = [&](upgrade::TupTransfer&, const std::string&, std::int64_t,
                                          std::int64_t, int, int, std::uint8_t, float,
                                          upgrade::TupStream*) { ++blocks; };
    }
    bool done = false;
    transfer.OnDone = [&](upgrade::TupTransfer&, const std::string&, std::int64_t,
                          upgrade::TupStream*) { done = true; };
    transfer.Start(0, 0, true);
    return done && (!progress || blocks > 0);
}

bool selected(const Case& c, const std::string& only) {
    return c.name.starts_with("curl") || c.name.find(only) != std::string::npos;
}

bool curl_run(const std::string& url, const std::string& output) {
    const std::string command = "curl -s -f -o '" + output + "' '" + url + "'";
    return std::system(command.c_str()) == 0;
}

} // namespace

int main(int argc, char** argv) {
    std::size_t mib = 64;
    int rounds = 5;
    std::string only;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--mib" && i + 1 < argc) {
            mib = static_cast<std::size_t>(std::max(1, std::atoi(argv[++i])));
        } else if (arg == "--rounds" && i + 1 < argc) {
            rounds = std::max(1, std::atoi(argv[++i]));
        } else if (arg == "--only" && i + 1 < argc) {
            only = argv[++i];
        } else {
            std::cerr << "usage: qirelo-transfer-bench [--mib N] [--rounds R] [--only TEXT]\n";
            return 2;
        }
    }
    if (std::system("curl --version > /dev/null 2>&1") != 0) {
        std::cerr << "curl is needed for the comparison\n";
        return 1;
    }

    std::string body(mib << 20, '\0');
    for (std::size_t i = 0; i < body.size(); i += 4096) {
        body[i] = static_cast<char>(i / 4096);
    }
    const std::string head = "HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\n"
                             "Content-Length: " +
                             std::to_string(body.size()) + "\r\n\r\n";
    http::testing::ScriptServer server([&](http::testing::Peer& peer) {
        while (peer.read_request()) {
            peer.send(head);
            peer.send(body);
        }
    });
    const std::string url = server.url("/setup/qirelo.exe");
    const auto folder = std::filesystem::temp_directory_path();
    const std::string engineFile = (folder / "qirelo_bench_engine.uTMP").string();
    const std::string curlFile = (folder / "qirelo_bench_curl.uTMP").string();

    std::vector<Case> cases{
        {"engine, memory, no progress", [&] { return engine_run(url, "", false); }, {}},
        {"engine, memory, progress", [&] { return engine_run(url, "", true); }, {}},
        {"curl, -o /dev/null", [&] { return curl_run(url, "/dev/null"); }, {}},
        {"engine, file, no progress", [&] { return engine_run(url, engineFile, false); }, {}},
        {"engine, file, progress", [&] { return engine_run(url, engineFile, true); }, {}},
        {"curl, -o file", [&] { return curl_run(url, curlFile); }, {}},
    };
    // For reference beside the memory runs: curl keeping the body in memory
    // too, in a file on tmpfs (the figures compare with /dev/null all the same).
    const std::string curlShm = "/dev/shm/qirelo_bench_curl.uTMP";
    if (std::filesystem::is_directory("/dev/shm")) {
        cases.push_back({"curl, -o /dev/shm file", [&] { return curl_run(url, curlShm); }, {}});
    }
    for (int round = 0; round < rounds; ++round) {
        for (Case& c : cases) {
            if (!selected(c, only)) {
                continue;
            }
            const auto start = Clock::now();
            if (!c.run()) {
                std::cerr << c.name << ": the transfer failed\n";
                return 1;
            }
            c.seconds.push_back(std::chrono::duration<double>(Clock::now() - start).count());
        }
    }
    std::filesystem::remove(engineFile);
    std::filesystem::remove(curlFile);
    std::filesystem::remove(curlShm);

    std::printf("%zu MiB from loopback, median of %d rounds\n", mib, rounds);
    const double curlMemory = median(cases[2].seconds);
    const double curlFileTime = median(cases[5].seconds);
    for (std::size_t i = 0; i < cases.size(); ++i) {
        if (!selected(cases[i], only)) {
            continue;
        }
        const double time = median(cases[i].seconds);
        const double against = i < 3 || i > 5 ? curlMemory : curlFileTime;
        std::printf("  %-30s %8.1f ms  %6.0f MiB/s  %5.2fx curl\n", cases[i].name.c_str(),
                    time * 1000, static_cast<double>(mib) / time, time / against);
    }
    return 0;
}
