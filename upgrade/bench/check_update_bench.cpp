// qirelo-check-update-bench: what the silent update check at start-up costs.
// One whole CheckUpdate (the component created, the info file fetched over
// libcurl, read and compared, the component freed), as the main window makes
// it before it runs on: against a loopback server that answers with the
// client's own version, and against a refused port. Each case runs --rounds
// times; the figures are the median and the slowest round.
// Usage: qirelo-check-update-bench [--rounds R]

#include "platform/fake/shell.h"
#include "platform/inet/internet.h"
#include "platform/inet/local_system.h"
#include "tests/http/support/script_server.h"
#include "ui/application.h"
#include "ui/headless/backend.h"
#include "upgrade/application_host.h"
#include "upgrade/auto_updater.h"
#include "upgrade/console_main_thread.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using namespace qirelo;

// Milliseconds of one check of `url`; `found` is what it returned.
double check_once(const std::string& url, bool& found) {
    const auto start = Clock::now();
    {
        ui::headless::Backend backend;
        ui::Application application(backend);
        upgrade::ConsoleMainThread mainThread;
        upgrade::ApplicationUpdaterHost host(application, mainThread);
        const auto internet = platform::inet::os_internet();
        const auto local = platform::inet::os_local_system();
        platform::fake::CallLog log;
        platform::fake::FakeShell shell(log);
        platform::fake::FakeOnlineCheck online(log);
        upgrade::TupAutoUpdater updater({mainThread, *internet, *local, shell, online, host, ""});
        updater.InfoFileURL = url;
        updater.VersionControl = upgrade::TupVersionControl::byNumber;
        updater.VersionNumber = "2013.8.9.0";
        updater.ShowMessages = {};
        found = updater.CheckUpdate();
    }
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void report(const char* name, const std::string& url, int rounds) {
    std::vector<double> ms;
    bool found = false;
    for (int round = 0; round < rounds; ++round) {
        ms.push_back(check_once(url, found));
    }
    std::sort(ms.begin(), ms.end());
    std::printf("%-28s median %7.2f ms  slowest %7.2f ms  (result %s)\n", name, ms[ms.size() / 2],
                ms.back(), found ? "true" : "false");
}

} // namespace

int main(int argc, char** argv) {
    int rounds = 50;
    if (argc == 3 && std::string(argv[1]) == "--rounds") {
        rounds = std::max(1, std::atoi(argv[2]));
    }
    const std::string info = "#version=2013.8.9.0\r\n#method=2\r\n#url=http://127.0.0.1/setup/\r\n";
    http::testing::ScriptServer server([&](http::testing::Peer& peer) {
        while (peer.read_request()) {
            peer.send(
                http::testing::response("HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\n", info));
        }
    });
    std::string refused;
    {
        http::testing::ScriptServer gone(http::testing::serve({}));
        refused = gone.url("/setup/qirelo_play.inf");
    }
    report("server answers (same)", server.url("/setup/qirelo_play.inf"), rounds);
    report("port refused", refused, rounds);
    return 0;
}
