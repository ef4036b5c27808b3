#include <gtest/gtest.h>

#include "ui/action.h"
#include "ui/headless/virtual_timers.h"
#include "ui/timer.h"

namespace qirelo::ui {
namespace {

using namespace std::chrono_literals;

struct TimerFixture : ::testing::Test {
    headless::VirtualTimers clock;
    Timer timer{clock, "timer"};
    std::vector<std::chrono::milliseconds> fired;

    TimerFixture() {
        timer.set_enabled(false);
        timer.OnTimer = [this](Component&) { fired.push_back(clock.now()); };
    }
};

TEST_F(TimerFixture, NewTimerStartsEnabledAndRepeatsEveryInterval) {
    Timer fresh(clock, "fresh");
    int ticks = 0;
    fresh.OnTimer = [&](Component&) { ++ticks; };
    EXPECT_TRUE(fresh.enabled());
    clock.advance(3500ms);
    EXPECT_EQ(ticks, 3);
}

TEST_F(TimerFixture, DisabledTimerNeverFires) {
    clock.advance(10s);
    EXPECT_TRUE(fired.empty());
}

TEST_F(TimerFixture, HandlerThatDisablesMakesItOneShot) {
    timer.set_interval(12000ms);
    timer.OnTimer = [this](Component&) {
        fired.push_back(clock.now());
        timer.set_enabled(false);
    };
    timer.set_enabled(true);
    clock.advance(60s);
    EXPECT_EQ(fired, (std::vector<std::chrono::milliseconds>{12000ms}));
}

TEST_F(TimerFixture, EnablingAnEnabledTimerDoesNotRestartItsCount) {
    timer.set_interval(12000ms);
    timer.set_enabled(true);
    clock.advance(8000ms);
    timer.set_enabled(true);
    clock.advance(4000ms);
    EXPECT_EQ(fired, (std::vector<std::chrono::milliseconds>{12000ms}));
}

TEST_F(TimerFixture, DisablingAndEnablingAgainStartsAFreshCount) {
    timer.set_interval(1000ms);
    timer.set_enabled(true);
    clock.advance(700ms);
    timer.set_enabled(false);
    timer.set_enabled(true);
    clock.advance(700ms);
    EXPECT_TRUE(fired.empty());
    clock.advance(300ms);
    EXPECT_EQ(fired, (std::vector<std::chrono::milliseconds>{1700ms}));
}

TEST_F(TimerFixture, ChangingTheIntervalOfARunningTimerRestartsIt) {
    timer.set_interval(1000ms);
    timer.set_enabled(true);
    clock.advance(900ms);
    timer.set_interval(500ms);
    clock.advance(499ms);
    EXPECT_TRUE(fired.empty());
    clock.advance(1ms);
    EXPECT_EQ(fired, (std::vector<std::chrono::milliseconds>{1400ms}));
}

TEST_F(TimerFixture, TimersFireInTimeOrderAtTheirOwnMoments) {
    Timer fast(clock, "fast");
    fast.set_interval(300ms);
    std::vector<std::string> order;
    timer.set_interval(500ms);
    timer.OnTimer = [&](Component&) {
        order.push_back("slow@" + std::to_string(clock.now().count()));
    };
    fast.OnTimer = [&](Component&) {
        order.push_back("fast@" + std::to_string(clock.now().count()));
    };
    timer.set_enabled(true);
    clock.advance(1000ms);
    EXPECT_EQ(order, (std::vector<std::string>{"fast@300", "slow@500", "fast@600", "fast@900",
                                               "slow@1000"}));
}

TEST_F(TimerFixture, DestroyedTimerLeavesTheClock) {
    {
        Timer gone(clock, "gone");
        gone.OnTimer = [](Component&) { FAIL() << "a destroyed timer fired"; };
    }
    EXPECT_FALSE(clock.next_due().has_value());
    clock.advance(5s);
}

TEST(Action, ExecuteRunsTheHandlerUnlessDisabledOrMissing) {
    ActionList list("list");
    Action action(list, "act", "caption");
    EXPECT_FALSE(action.execute());
    int runs = 0;
    action.OnExecute = [&](Component& sender) {
        EXPECT_EQ(sender.name(), "act");
        ++runs;
    };
    EXPECT_TRUE(action.execute());
    action.set_enabled(false);
    EXPECT_FALSE(action.execute());
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(list.find("act"), &action);
    EXPECT_EQ(list.find("other"), nullptr);
}

} // namespace
} // namespace qirelo::ui
