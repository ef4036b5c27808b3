#include "app/relay/relay_record.h"

namespace qirelo::app::relay {
namespace {

constexpr std::int64_t kFreshnessLimit = 11 * 10000;

Fixed4 ReadNumber(std::string_view text, const char* what) {
    const std::optional<Fixed4> number = ParseFixed4(text);
    if (!number) {
        throw EBadRelayRecord(std::string(what) + " is not a number: '" + std::string(text) + "'");
    }
    return *number;
}

} // namespace

MonitorRecord ParseMonitorRecord(std::string_view body) {
    const std::size_t bar = body.find('|');
    if (bar == std::string_view::npos) {
        throw EBadRelayRecord("monitor record without '|'");
    }
    return MonitorRecord{ReadNumber(body.substr(0, bar), "command stamp"),
                         std::string(body.substr(bar + 1))};
}

Fixed4 ParseTimerRecord(std::string_view body) {
    return ReadNumber(body, "timer number");
}

bool IsFresh(Fixed4 timer, Fixed4 stamp) {
    // timer - stamp < limit, without overflowing near the ends of the range.
    std::int64_t bound = 0;
    if (__builtin_add_overflow(stamp.scaled, kFreshnessLimit, &bound)) {
        return true;
    }
    return timer.scaled < bound;
}

} // namespace qirelo::app::relay
