#include "ui/headless/virtual_timers.h"

#include <algorithm>

namespace qirelo::ui::headless {

void VirtualTimers::start(Timer& timer) {
    stop(timer);
    entries_.push_back(Entry{&timer, now_ + timer.interval(), next_order_++});
}

void VirtualTimers::stop(Timer& timer) {
    std::erase_if(entries_, [&](const Entry& entry) { return entry.timer == &timer; });
}

std::optional<std::chrono::milliseconds> VirtualTimers::next_due() const {
    auto first = std::min_element(entries_.begin(), entries_.end(),
                                  [](const Entry& a, const Entry& b) { return a.due < b.due; });
    if (first == entries_.end())
        return std::nullopt;
    return first->due;
}

void VirtualTimers::advance(std::chrono::milliseconds by) {
    const auto until = now_ + by;
    for (;;) {
        auto due =
            std::min_element(entries_.begin(), entries_.end(), [](const Entry& a, const Entry& b) {
                return a.due != b.due ? a.due < b.due : a.order < b.order;
            });
        if (due == entries_.end() || due->due > until)
            break;
        now_ = due->due;
        Timer* timer = due->timer;
        // The next tick is counted before the handler runs: the handler may
        // stop the timer or start it afresh.
        due->due += timer->interval();
        due->order = next_order_++;
        timer->elapsed();
    }
    now_ = until;
}

} // namespace qirelo::ui::headless
