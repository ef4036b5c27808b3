// Feeds arbitrary bytes to the relay's readers: the timer record, the monitor
// record and its command text. A number that reads is printed again, plainly
// and with an exponent, and must read back as the same value; blanks around
// it change nothing. Every refusal must be an EBadRelayRecord.

#include "app/relay/fixed_point.h"
#include "app/relay/relay_command.h"
#include "app/relay/relay_record.h"

#include <cstddef>
#include <cstdint>
#include <string>

using namespace qirelo::app::relay;

namespace {

// "[-]digits.dddd", exactly the value held.
std::string Printed(Fixed4 number) {
    const bool negative = number.scaled < 0;
    const std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(number.scaled)
                                             : static_cast<std::uint64_t>(number.scaled);
    std::string fraction = std::to_string(magnitude % 10000);
    fraction.insert(0, 4 - fraction.size(), '0');
    return (negative ? "-" : "") + std::to_string(magnitude / 10000) + "." + fraction;
}

// "[-]digitsE-4": the scaled integer with an exponent.
std::string PrintedWithExponent(Fixed4 number) {
    const bool negative = number.scaled < 0;
    const std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(number.scaled)
                                             : static_cast<std::uint64_t>(number.scaled);
    return (negative ? "-" : "") + std::to_string(magnitude) + "E-4";
}

void Require(bool holds) {
    if (!holds) {
        __builtin_trap();
    }
}

void CheckNumber(const std::string& text) {
    const std::optional<Fixed4> number = ParseFixed4(text);
    Require(ParseFixed4(" \t" + text + " \r\n") == number);
    if (!number) {
        return;
    }
    Require(ParseFixed4(Printed(*number)) == number);
    Require(ParseFixed4(PrintedWithExponent(*number)) == number);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    CheckNumber(bytes);
    try {
        const Fixed4 timer = ParseTimerRecord(bytes);
        Require(ParseFixed4(bytes) == timer);
        (void)IsFresh(timer, Fixed4{INT64_MIN});
        (void)IsFresh(Fixed4{INT64_MIN}, timer);
        (void)IsFresh(timer, Fixed4{INT64_MAX});
    } catch (const EBadRelayRecord&) {
    }
    try {
        const MonitorRecord record = ParseMonitorRecord(bytes);
        // The stamp is everything before the first "|", the command all after it.
        const std::size_t bar = bytes.find('|');
        Require(bar != std::string::npos && record.command == bytes.substr(bar + 1));
        const MonitorRecord again =
            ParseMonitorRecord(Printed(record.stamp) + "|" + record.command);
        Require(again.stamp == record.stamp && again.command == record.command);
        // A stamp is fresh against itself and against any timer up to 11 units on.
        Require(IsFresh(record.stamp, record.stamp));
        const RelayCommand command = ParseRelayCommand(record.command);
        for (const auto& steps : {command.seek, command.upDown}) {
            Require(!steps || (steps->count >= 0 && steps->count <= 9));
        }
    } catch (const EBadRelayRecord&) {
    }
    return 0;
}
