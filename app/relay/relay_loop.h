#pragma once

#include "app/relay/relay_actions.h"
#include "app/relay/relay_http.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

namespace qirelo::app::relay {

struct RelayEndpoints {
    std::string relayHost; // the relay server; port 12861 unless it names one
    std::string timerHost;
    std::string siteHost; // the site's main host, for the play pages
};

// The hosts of the build's configuration (and the environment).
RelayEndpoints ConfiguredEndpoints();
std::string MonitorUrl(const RelayEndpoints& endpoints, const std::string& memberId);
std::string TimerUrl(const RelayEndpoints& endpoints);

// What the loop works with; everything but the endpoints outlives a run.
struct RelayLoopParts {
    // Read whole at the top of every cycle and when the monitor address is built.
    std::function<std::string()> memberId;
    // The stamp of the last command carried out, a Fixed4 scaled value.
    std::atomic<std::int64_t>& lastCommandStamp;
    RelayHttp& monitorHttp;
    RelayHttp& timerHttp;
    RelayActions& actions;
    RelayPacer& pacer;
    RelayEndpoints endpoints;
};

// The remote command relay loop: every cycle fetches the member's command
// record and the timer's number, carries out a command that is fresh and new,
// and pauses 3000 ms.
class RelayLoop {
public:
    static constexpr int kCyclePauseMs = 3000;

    explicit RelayLoop(RelayLoopParts parts) : parts_(std::move(parts)) {}

    // Runs cycles while MemberId is not empty; returns when it is found empty.
    // A forced stop of the worker unwinds it from any step.
    void Run();
    void RunCycle();

private:
    std::string Fetch(RelayHttp& http, const std::string& url);
    void Evaluate(const std::string& monitorText, const std::string& timerText);

    RelayLoopParts parts_;
};

} // namespace qirelo::app::relay
