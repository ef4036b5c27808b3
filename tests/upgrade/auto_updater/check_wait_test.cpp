// While a check waits for the server: the main thread keeps serving handed-
// over calls and the window system's messages, a second CheckUpdate is
// released with the first, and no second transfer starts. And the automatic
// check on the hidden window's timer.

#include "tests/upgrade/auto_updater/auto_updater_fixture.h"
#include "tests/upgrade/support/watchdog.h"

#include <gmock/gmock.h>

#include <atomic>
#include <thread>

namespace qirelo::upgrade::testing {
namespace {

using namespace std::chrono_literals;
using platform::fake::fake_ok;
using platform::fake::FakeAnswer;
using ::testing::ElementsAre;
using ::testing::SizeIs;

TEST_F(AutoUpdaterTest, WhileTheCheckWaitsCallsAndMessagesOfTheMainThreadGoOn) {
    internet.script({fake_ok(RedirectInfo("2013.8.10"))});
    internet.pause_at("SendRequest");
    ui::Message typed{};
    typed.message = 0x0102; // a character the user typed
    std::vector<std::string> seen;
    std::atomic<bool> dispatched{false};
    backend.on_dispatch = [&](const ui::Message& message) {
        if (message.message == typed.message) {
            seen.push_back("message dispatched, checks waiting " +
                           std::to_string(updater.WaitingChecks()));
            dispatched = true;
        }
    };
    // Another worker (the relay's) hands calls over meanwhile, both ways the
    // program has; then the server answers.
    std::thread relay([&] {
        ASSERT_TRUE(internet.wait_paused());
        application.synchronize([&] {
            seen.push_back("application call, checks waiting " +
                           std::to_string(updater.WaitingChecks()));
        });
        mainThread.Synchronize([&] {
            seen.push_back("worker call, checks waiting " +
                           std::to_string(updater.WaitingChecks()));
        });
        backend.post(typed);
        while (!dispatched) {
            std::this_thread::sleep_for(1ms);
        }
        internet.release();
    });

    bool found = false;
    {
        Watchdog watchdog(10s, "CheckUpdate with another worker's calls");
        found = updater.CheckUpdate();
    }
    relay.join();

    EXPECT_TRUE(found);
    EXPECT_THAT(seen,
                ElementsAre("application call, checks waiting 1", "worker call, checks waiting 1",
                            "message dispatched, checks waiting 1"));
}

TEST_F(AutoUpdaterTest, ASecondCheckWhileTheFirstWaitsReleasesBoth) {
    internet.script({fake_ok(RedirectInfo("2013.8.10"))});
    internet.pause_at("SendRequest");
    bool second = false;
    std::size_t waitingInSecond = 0;
    // The user presses the button again while the silent check waits.
    std::thread user([&] {
        ASSERT_TRUE(internet.wait_paused());
        application.synchronize([&] {
            internet.release();
            updater.OnBeginUpgrade = [&](TupAutoUpdater&, const std::string&, TupUpgradeMethod,
                                         const std::vector<std::string>&,
                                         bool&) { waitingInSecond = updater.WaitingChecks(); };
            second = updater.CheckUpdate();
        });
    });

    bool first = false;
    {
        Watchdog watchdog(10s, "the first of two CheckUpdate calls");
        first = updater.CheckUpdate();
    }
    user.join();

    EXPECT_TRUE(first);
    EXPECT_TRUE(second);
    EXPECT_EQ(waitingInSecond, 2u);
    EXPECT_THAT(internet.calls("OpenRequest"), SizeIs(1)) << "one transfer for both";
    EXPECT_EQ(updater.WaitingChecks(), 0u);
}

TEST_F(AutoUpdaterTest, StartCheckWhileATransferRunsStartsNoSecondOne) {
    internet.script({fake_ok(RedirectInfo("2013.8.10"))});
    internet.pause_at("SendRequest");
    updater.StartCheck();
    ASSERT_TRUE(internet.wait_paused());

    updater.URL = "http://elsewhere.example/";
    updater.StartCheck();
    internet.release();
    ASSERT_TRUE(mainThread.ServeUntil([&] { return !updater.TransferRunning(); }));

    EXPECT_THAT(internet.calls("Connect"), ElementsAre(::testing::HasSubstr("127.0.0.1:12860")));
    EXPECT_TRUE(updater.UpdateFound());
    EXPECT_THAT(notes.back(), OpenedPage());
}

class AutoCheckTest : public AutoUpdaterTest {
protected:
    void Advance(std::chrono::milliseconds by) {
        backend.clock().advance(by);
        mainThread.ServeUntil([&] { return !updater.TransferRunning(); });
    }
    std::size_t Requests() const { return internet.calls("OpenRequest").size(); }
};

TEST_F(AutoCheckTest, TheCheckStartsOnceAfterTheDelayWhenOnline) {
    internet.script({fake_ok(RedirectInfo("2013.8.9.0"))});
    updater.ShowMessages.Include(TupShowMessages::mNoUpdateAvailable);
    updater.SetAutoCheck(true);

    Advance(9999ms);
    EXPECT_EQ(Requests(), 0u);
    Advance(1ms);
    EXPECT_EQ(Requests(), 1u);
    EXPECT_TRUE(updater.AutoCheckFired());
    EXPECT_TRUE(updater.AutoCheckRunning());
    // An automatic check says nothing about there being no newer version.
    EXPECT_THAT(notes, ElementsAre("OnNoUpdateAvailable"));
    Advance(60s);
    EXPECT_EQ(Requests(), 1u);
}

TEST_F(AutoCheckTest, OfflineItWaitsForTheNextTick) {
    internet.script({fake_ok(RedirectInfo("2013.8.9.0"))});
    online.online = false;
    updater.SetAutoCheck(true);
    Advance(10s);
    EXPECT_EQ(Requests(), 0u);

    online.online = true;
    Advance(10s);
    EXPECT_EQ(Requests(), 1u);
}

TEST_F(AutoCheckTest, AnUnreachableServerIsTriedAgainSilently) {
    FakeAnswer refused;
    refused.send_fails = true;
    internet.script({refused});
    updater.ShowMessages.Include(TupShowMessages::mHostUnreachable);
    updater.SetAutoCheck(true);

    Advance(10s);
    EXPECT_FALSE(updater.AutoCheckFired());
    EXPECT_EQ(Requests(), 1u);
    Advance(10s);
    EXPECT_EQ(Requests(), 2u);
    EXPECT_THAT(notes, SizeIs(2));
    EXPECT_TRUE(backend.boxes().shown.empty());
}

TEST_F(AutoCheckTest, SwitchedOffOrWithoutDelayItNeverStarts) {
    internet.script({fake_ok(RedirectInfo("2013.8.9.0"))});
    updater.SetAutoCheck(true);
    updater.SetAutoCheck(false);
    Advance(30s);
    updater.AutoCheckDelay = 0;
    updater.SetAutoCheck(true);
    Advance(30s);
    EXPECT_EQ(Requests(), 0u);
}

} // namespace
} // namespace qirelo::upgrade::testing
