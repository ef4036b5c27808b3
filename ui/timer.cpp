#include "ui/timer.h"

namespace qirelo::ui {

Timer::Timer(TimerService& service, std::string name)
    : Component(std::move(name)), service_(service) {
    restart();
}

Timer::~Timer() {
    if (running_)
        service_.stop(*this);
}

void Timer::restart() {
    if (running_) {
        service_.stop(*this);
        running_ = false;
    }
    if (enabled_ && interval_.count() > 0) {
        running_ = true;
        service_.start(*this);
    }
}

void Timer::set_enabled(bool enabled) {
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    restart();
}

void Timer::set_interval(std::chrono::milliseconds interval) {
    if (interval == interval_)
        return;
    interval_ = interval;
    restart();
}

void Timer::elapsed() {
    if (running_)
        fire(OnTimer, *this);
}

} // namespace qirelo::ui
