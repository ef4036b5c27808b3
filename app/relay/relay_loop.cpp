#include "app/relay/relay_loop.h"

#include "app/relay/relay_command.h"
#include "app/relay/relay_record.h"
#include "config/hosts.h"

#include <exception>

namespace qirelo::app::relay {

RelayEndpoints ConfiguredEndpoints() {
    return RelayEndpoints{config::relay_host(), config::timer_host(), config::site_host()};
}

std::string MonitorUrl(const RelayEndpoints& endpoints, const std::string& memberId) {
    // The relay listens on its fixed port; a host that names a port of its own
    // (a test server, a diagnosis) keeps it.
    const bool hasPort = endpoints.relayHost.find(':') != std::string::npos;
    const std::string authority =
        hasPort ? endpoints.relayHost
                : endpoints.relayHost + ":" + std::to_string(config::kRelayPort);
    return "http://" + authority + "/monitor/" + memberId + ".jpg";
}

std::string TimerUrl(const RelayEndpoints& endpoints) {
    return "http://" + endpoints.timerHost + "/member/timer.asp";
}

void RelayLoop::Run() {
    while (!parts_.memberId().empty()) {
        RunCycle();
    }
}

void RelayLoop::RunCycle() {
    parts_.pacer.CheckStop();
    const std::string monitorText =
        Fetch(parts_.monitorHttp, MonitorUrl(parts_.endpoints, parts_.memberId()));
    const std::string timerText = Fetch(parts_.timerHttp, TimerUrl(parts_.endpoints));
    if (!monitorText.empty() && !timerText.empty()) {
        Evaluate(monitorText, timerText);
    }
    parts_.pacer.Sleep(kCyclePauseMs);
}

// A failed GET is swallowed: the text stays empty and the client object is
// replaced. A stop is not a failure: it goes on unwinding the loop.
std::string RelayLoop::Fetch(RelayHttp& http, const std::string& url) {
    std::string body;
    try {
        body = http.Get(url);
    } catch (const std::exception&) {
        parts_.pacer.CheckStop();
        http.Replace();
    }
    parts_.pacer.CheckStop();
    return body;
}

void RelayLoop::Evaluate(const std::string& monitorText, const std::string& timerText) {
    RelayCommand command;
    try {
        const Fixed4 timer = ParseTimerRecord(timerText);
        const MonitorRecord record = ParseMonitorRecord(monitorText);
        if (!IsFresh(timer, record.stamp) || record.stamp.scaled == parts_.lastCommandStamp) {
            return;
        }
        command = ParseRelayCommand(record.command);
        // Remembered before any step: a command that fails half way is not repeated.
        parts_.lastCommandStamp = record.stamp.scaled;
    } catch (const EBadRelayRecord&) {
        // An unreadable record does nothing and is not remembered; remote
        // control goes on with the next poll.
        return;
    }
    try {
        CarryOut(command, parts_.endpoints.siteHost, parts_.actions, parts_.pacer);
    } catch (const std::exception&) {
        // A step that fails (a page load, a pointer action) ends only this command.
    }
}

} // namespace qirelo::app::relay
