#pragma once

// The timer component. While enabled with an interval it raises OnTimer once
// per interval, on the main thread; a new timer starts enabled. Enabling a timer that
// is already enabled changes nothing (its count goes on); changing the
// interval of a running timer starts its count afresh. A one-shot timer is
// one whose handler disables it.

#include <chrono>
#include <functional>

#include "ui/component.h"

namespace qirelo::ui {

class Timer;

// Where timers count: the native window system's timers, or a virtual clock
// in tests.
class TimerService {
public:
    virtual ~TimerService() = default;
    // Starts counting `timer`'s interval afresh (replacing a running count).
    virtual void start(Timer& timer) = 0;
    virtual void stop(Timer& timer) = 0;
};

class Timer : public Component {
public:
    Timer(TimerService& service, std::string name);
    ~Timer() override;

    bool enabled() const { return enabled_; }
    void set_enabled(bool enabled);
    std::chrono::milliseconds interval() const { return interval_; }
    void set_interval(std::chrono::milliseconds interval);

    NotifyEvent OnTimer;

    // The service calls this when an interval has passed.
    void elapsed();
    // Whether the service is counting for this timer.
    bool running() const { return running_; }

private:
    void restart();

    TimerService& service_;
    bool enabled_ = true;
    std::chrono::milliseconds interval_{1000};
    bool running_ = false;
};

} // namespace qirelo::ui
