#pragma once

#include "app/relay/fixed_point.h"

#include <stdexcept>
#include <string>
#include <string_view>

namespace qirelo::app::relay {

// A record from the relay or the timer host that cannot be read. The cycle
// that fetched it does nothing; the loop polls again.
class EBadRelayRecord : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The monitor body: stamp, "|", command (the command may itself hold "|").
struct MonitorRecord {
    Fixed4 stamp;
    std::string command;
};

MonitorRecord ParseMonitorRecord(std::string_view body);
Fixed4 ParseTimerRecord(std::string_view body);

// A command is carried out when its stamp is less than 11 units older than the
// timer's number (a stamp ahead of the timer counts as fresh) and differs from
// the stamp of the last command carried out.
bool IsFresh(Fixed4 timer, Fixed4 stamp);

} // namespace qirelo::app::relay
