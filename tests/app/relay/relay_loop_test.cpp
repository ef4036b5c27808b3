#include "scripted_relay.h"

#include "app/relay/relay_loop.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace qirelo::app::relay {
namespace {

using testing::LineLog;
using testing::ScriptedHttp;
using Lines = std::vector<std::string>;

// Window operations that fail on demand, to see a failing step end only its command.
class FailingNavigate final : public RelayActions {
public:
    explicit FailingNavigate(RelayActions& inner) : inner_(inner) {}
    void SendKeys(const std::string& keys) override { inner_.SendKeys(keys); }
    void ShowTab(Tab tab) override { inner_.ShowTab(tab); }
    void Navigate(const std::string&) override { throw std::runtime_error("page load failed"); }
    void Action1() override { inner_.Action1(); }
    void Action2() override { inner_.Action2(); }
    void Action3() override { inner_.Action3(); }
    int TrackBar1Position() override { return inner_.TrackBar1Position(); }
    void SetTrackBar1Position(int position) override { inner_.SetTrackBar1Position(position); }
    void ClickBitBtn1() override { inner_.ClickBitBtn1(); }
    std::string EditUrlText() override { return inner_.EditUrlText(); }

private:
    RelayActions& inner_;
};

class RelayLoopTest : public ::testing::Test {
protected:
    RelayLoop MakeLoop(RelayActions& target) {
        return RelayLoop(RelayLoopParts{[this] { return memberId; }, lastStamp, monitor, timer,
                                        target, pacer, testing::TestEndpoints()});
    }
    // One cycle; returns its lines without the closing pause.
    Lines Cycle(RelayActions* target = nullptr) {
        log.Clear();
        MakeLoop(target ? *target : actions).RunCycle();
        Lines lines = log.Lines();
        EXPECT_FALSE(lines.empty());
        EXPECT_EQ(lines.back(), "Sleep 3000");
        lines.pop_back();
        return lines;
    }
    void Serve(const std::string& record, const std::string& now) {
        monitor.Answer(record);
        timer.Answer(now);
    }

    std::string memberId = "42";
    std::atomic<std::int64_t> lastStamp{0};
    ScriptedHttp monitor, timer;
    LineLog log;
    RecordingActions actions{log.Sink(), 128, ""};
    RecordingPacer pacer{log.Sink(), nullptr};
};

TEST_F(RelayLoopTest, FetchesTheMemberRecordThenTheTimerEveryCycle) {
    Cycle();
    EXPECT_EQ(monitor.Urls(), Lines{"http://relay.test:12861/monitor/42.jpg"});
    EXPECT_EQ(timer.Urls(), Lines{"http://timer.test/member/timer.asp"});
}

TEST_F(RelayLoopTest, TheSameRecordFetchedInSeveralCyclesRunsOnce) {
    Serve("120|F", "125");
    EXPECT_EQ(Cycle(), Lines{"SendKeys  "});
    EXPECT_EQ(lastStamp, 1200000);
    EXPECT_TRUE(Cycle().empty());
    EXPECT_TRUE(Cycle().empty());
}

TEST_F(RelayLoopTest, TwoCommandsWithTheSameStampRunOnce) {
    Serve("120|F", "125");
    Cycle();
    Serve("120|H-", "126");
    EXPECT_TRUE(Cycle().empty());
}

TEST_F(RelayLoopTest, AStaleStampIsIgnoredAndLeavesTheLastStampAlone) {
    lastStamp = 50000;
    Serve("120|F", "131"); // exactly 11 old: stale
    EXPECT_TRUE(Cycle().empty());
    Serve("120|F", "400");
    EXPECT_TRUE(Cycle().empty());
    EXPECT_EQ(lastStamp, 50000);
    Serve("120|F", "130.9999");
    EXPECT_EQ(Cycle(), Lines{"SendKeys  "});
}

TEST_F(RelayLoopTest, AStampAheadOfTheTimerIsFresh) {
    Serve("120|F", "90");
    EXPECT_EQ(Cycle(), Lines{"SendKeys  "});
}

TEST_F(RelayLoopTest, TheWorkedExampleOpensThePlayPage) {
    Serve("120|A321.5", "125");
    EXPECT_EQ(Cycle(), (Lines{"SendKeys FK_ESC", "ShowTab tb1",
                              "Navigate http://site.test/m0321/play5.html"}));
}

TEST_F(RelayLoopTest, AnEmptyTextOnEitherSideDoesNothingButPause) {
    Serve("", "125");
    EXPECT_TRUE(Cycle().empty());
    Serve("120|F", "");
    EXPECT_TRUE(Cycle().empty());
    EXPECT_EQ(lastStamp, 0);
}

TEST_F(RelayLoopTest, UnreadableRecordsDoNothingAreNotRememberedAndTheLoopGoesOn) {
    for (const auto& [record, now] : std::vector<std::pair<std::string, std::string>>{
             {"120F", "125"},     // no bar
             {"12x|F", "125"},    // stamp not a number
             {"120|F", "busy"},   // timer not a number
             {"120|G-", "125"},   // count missing
             {"120|AD+x", "125"}, // count of the payload not a digit: A is not run either
         }) {
        SCOPED_TRACE(record + " @ " + now);
        Serve(record, now);
        EXPECT_TRUE(Cycle().empty());
        EXPECT_EQ(lastStamp, 0);
    }
    Serve("120|F", "125\r\n"); // a timer page ending in CR LF is normal
    EXPECT_EQ(Cycle(), Lines{"SendKeys  "});
}

TEST_F(RelayLoopTest, AFailingStepEndsOnlyThatCommandWhichIsRememberedAnyway) {
    FailingNavigate failing(actions);
    Serve("120|AF", "125");
    EXPECT_EQ(Cycle(&failing), (Lines{"SendKeys FK_ESC", "ShowTab tb1"}));
    EXPECT_EQ(lastStamp, 1200000);
    Serve("121|F", "125");
    EXPECT_EQ(Cycle(&failing), Lines{"SendKeys  "});
}

TEST_F(RelayLoopTest, AFailedGetLeavesItsTextEmptyAndReplacesOnlyItsClient) {
    monitor.Fail();
    timer.Answer("125");
    EXPECT_TRUE(Cycle().empty());
    EXPECT_EQ(monitor.replacements, 1);
    EXPECT_EQ(timer.replacements, 0);
    EXPECT_EQ(timer.Urls().size(), 1u) << "the timer is still asked";
    monitor.Answer("120|F");
    timer.Fail();
    EXPECT_TRUE(Cycle().empty());
    EXPECT_EQ(timer.replacements, 1);
    EXPECT_EQ(lastStamp, 0);
}

TEST_F(RelayLoopTest, RunEndsWhenMemberIdIsFoundEmptyBeforeACycle) {
    Serve("120|F", "125");
    int cycles = 0;
    RecordingPacer countingPacer(
        [&](const std::string&) {
            if (++cycles == 3) {
                memberId.clear();
            }
        },
        nullptr);
    RelayLoop(RelayLoopParts{[this] { return memberId; }, lastStamp, monitor, timer, actions,
                             countingPacer, testing::TestEndpoints()})
        .Run();
    EXPECT_EQ(cycles, 3);
    EXPECT_EQ(monitor.Urls().size(), 3u);
    memberId.clear();
    RelayLoop(RelayLoopParts{[this] { return memberId; }, lastStamp, monitor, timer, actions,
                             countingPacer, testing::TestEndpoints()})
        .Run();
    EXPECT_EQ(monitor.Urls().size(), 3u) << "an empty MemberId runs no cycle at all";
}

TEST(MonitorUrl, UsesTheRelayPortUnlessTheHostNamesOne) {
    EXPECT_EQ(MonitorUrl({"10.0.0.1", "t", "s"}, "77"), "http://10.0.0.1:12861/monitor/77.jpg");
    EXPECT_EQ(MonitorUrl({"127.0.0.1:4000", "t", "s"}, "a b"),
              "http://127.0.0.1:4000/monitor/a b.jpg");
    EXPECT_EQ(TimerUrl({"r", "127.0.0.1:12862", "s"}), "http://127.0.0.1:12862/member/timer.asp");
}

} // namespace
} // namespace qirelo::app::relay
