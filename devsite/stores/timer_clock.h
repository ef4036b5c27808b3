#pragma once

// The timer host's number: seconds since 1970 with two decimals. Stamps of
// mobile taps are taken from the same clock, so a tap is fresh for the client
// for as long as the timer has not moved on by 11.

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

namespace qirelo::devsite {

class TimerClock {
public:
    using Source = std::function<std::int64_t()>; // hundredths of a second

    // Without a source, the system clock.
    explicit TimerClock(Source source = {});

    // The current number. It never goes back, even when the system clock does.
    std::string now();

    // A stamp for a new record: the current number, but always above every
    // stamp given before, so two taps in one hundredth still differ (the
    // client carries out a record only when its stamp is new).
    std::string next_stamp();

    static std::string format(std::int64_t hundredths); // 1234567 -> "12345.67"

private:
    std::int64_t read();

    Source source_;
    std::mutex mutex_;
    std::int64_t latest_ = 0;
    std::int64_t last_stamp_ = 0;
};

} // namespace qirelo::devsite
