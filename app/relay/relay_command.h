#pragma once

#include "app/relay/relay_actions.h"

#include <optional>
#include <string>

namespace qirelo::app::relay {

// Arrow key steps: back ("-") or forward, and for G and D a count 0..9.
struct ArrowSteps {
    bool back = false;
    int count = 0;
};

// What one command text asks for. The letters are tested in the fixed order
// A, B, E, F, G, H, D, one after another: A and B replace the command text by
// their payload, so the later letters look at the payload ("AB12" opens the
// A page for "B12" and then the B page for "12").
struct RelayCommand {
    std::optional<std::string> playPage;    // A: the page id, "321/play5"
    std::optional<std::string> playWebPage; // B: the query value, "321&play=5"
    bool shutdown = false;                  // E
    bool space = false;                     // F
    std::optional<ArrowSteps> seek;         // G: paced left or right steps
    std::optional<bool> fullScreenStepBack; // H: one step in full screen, back?
    std::optional<ArrowSteps> upDown;       // D: up or down steps
};

// Reads the whole command before any step runs, so a G or D count that is
// missing or not a digit rejects the record (EBadRelayRecord) instead of
// leaving a command half done.
RelayCommand ParseRelayCommand(std::string text);

// Carries the command out, each step finishing before the next starts, the
// pauses on the calling (worker) thread. `siteHost` is the site's main host.
void CarryOut(const RelayCommand& command, const std::string& siteHost, RelayActions& actions,
              RelayPacer& pacer);

} // namespace qirelo::app::relay
