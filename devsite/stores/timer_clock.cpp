#include "devsite/stores/timer_clock.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace qirelo::devsite {

namespace {

std::int64_t system_hundredths() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count() / 10;
}

} // namespace

TimerClock::TimerClock(Source source)
    : source_(source ? std::move(source) : Source(system_hundredths)) {}

std::int64_t TimerClock::read() {
    latest_ = std::max(latest_, source_());
    return latest_;
}

std::string TimerClock::now() {
    std::lock_guard lock(mutex_);
    return format(read());
}

std::string TimerClock::next_stamp() {
    std::lock_guard lock(mutex_);
    last_stamp_ = std::max(read(), last_stamp_ + 1);
    latest_ = std::max(latest_, last_stamp_);
    return format(last_stamp_);
}

std::string TimerClock::format(std::int64_t hundredths) {
    char text[32];
    std::snprintf(text, sizeof text, "%lld.%02lld", static_cast<long long>(hundredths / 100),
                  static_cast<long long>(hundredths % 100));
    return text;
}

} // namespace qirelo::devsite
