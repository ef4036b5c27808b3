#pragma once

// Timers on a virtual clock: time moves only when the test advances it, and
// every tick that falls due meanwhile fires in time order, at its own moment.

#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

#include "ui/timer.h"

namespace qirelo::ui::headless {

class VirtualTimers final : public TimerService {
public:
    void start(Timer& timer) override;
    void stop(Timer& timer) override;

    std::chrono::milliseconds now() const { return now_; }
    void advance(std::chrono::milliseconds by);
    // When the next tick falls due, if any timer runs.
    std::optional<std::chrono::milliseconds> next_due() const;

private:
    struct Entry {
        Timer* timer;
        std::chrono::milliseconds due;
        std::uint64_t order;
    };
    std::vector<Entry> entries_;
    std::chrono::milliseconds now_{0};
    std::uint64_t next_order_ = 0;
};

} // namespace qirelo::ui::headless
