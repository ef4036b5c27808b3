#pragma once

// What the relay soak's servers serve, and what the relay loop must do with
// it. Every record and timer number comes from here, drawn at random from a
// fixed seed; the world knows the text the client object will read for each
// answer (nothing, for an answer it cannot take), so for every cycle it knows
// whether a fresh, new command arrives and which operations must follow.
// Those are queued, and the operations the loop really carries out are
// checked against the queue as they happen: each expected command exactly
// once, in order, and nothing else. Nothing grows with the number of cycles.

#include "app/relay/soak/fault_server.h"

#include <array>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <random>
#include <string>

namespace qirelo::app::relay::soak {

enum class RecordKind { newStamp, repeatedStamp, sameRecord, garbage, badCommand, empty };
inline constexpr int kRecordKinds = 6;
enum class TimerKind { fresh, stale, garbage };
inline constexpr int kTimerKinds = 3;

struct SoakFigures {
    long cycles = 0;
    std::array<long, kFaultKinds> relayFaults{}, timerFaults{};
    std::array<long, kRecordKinds> records{};
    std::array<long, kTimerKinds> timers{};
    long expectedCommands = 0; // fresh and new, as the client reads them
    long carriedOut = 0;       // every operation of the command seen, in order
    long unexpectedOperations = 0;
    std::string firstUnexpected; // empty when none
    long harnessErrors = 0;      // a request out of the monitor-timer order
};

class SoakWorld {
public:
    SoakWorld(std::uint64_t seed, std::string siteHost);

    // The relay server's answer to a monitor request, then the timer host's.
    Answer MonitorAnswer();
    Answer TimerAnswer();
    // One operation the loop carried out, as RecordingActions writes it.
    void Observe(const std::string& line);

    SoakFigures Figures() const;
    // Operations expected but not (yet) seen.
    std::size_t Outstanding() const;

    // The address bar's text: a play_web page, so D also clicks the middle.
    static constexpr const char* kAddressBar = "http://site.example/m/play_web.asp?id=1";

private:
    // The meaning of the monitor text the client reads in this cycle.
    struct Seen {
        std::int64_t stamp = 0;
        std::string command;
        bool carriesCommand = false; // a readable stamp and a command that parses
    };

    RecordKind PickRecord();
    TimerKind PickTimer();
    Answer Deliver(std::string body, bool monitor, std::optional<Seen>& seen);
    std::string NewCommand();
    std::string Printed(std::int64_t scaled);
    void Expect(const std::string& command);

    mutable std::mutex mutex_;
    std::mt19937_64 random_;
    const std::string siteHost_;
    bool monitorNext_ = true;
    std::int64_t lastServedStamp_ = 17'000'000'000'000;
    std::string lastServedBody_;
    std::optional<Seen> lastServed_;
    std::optional<Seen> cycleMonitor_;
    std::int64_t lastCarriedOut_ = 0; // as the loop's LastCommandStamp starts
    long nextId_ = 1000;
    struct Step {
        std::string line;
        bool endsCommand;
    };
    std::deque<Step> expected_;
    SoakFigures figures_;
};

// The operations a command text asks for, as RecordingActions writes them
// (slider at 128, the address bar at kAddressBar).
std::deque<std::string> OperationsOf(std::string command, const std::string& siteHost);

} // namespace qirelo::app::relay::soak
