// The relay worker of the headless main window against scripted loopback
// relay and timer servers: the loop drives the real handlers (tabs, web1,
// slider, shutdown button) and the recording keyboard and volume.

#include "app/login/login_panel.h"
#include "app/relay/relay_worker.h"
#include "app/system/captions.h"
#include "tests/http/support/environment.h"
#include "tests/http/support/script_server.h"
#include "tests/upgrade/support/watchdog.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <thread>

#include "../form1_fixture.h"

namespace qirelo::app {
namespace {

using http::testing::ok;
using http::testing::ScriptServer;
using http::testing::set_environment;
using ::testing::Contains;

struct Form1RelayTest : ::testing::Test, testing::Form1Harness {
    Form1RelayTest() {
        set_environment("QIRELO_RELAY_HOST", "127.0.0.1:" + std::to_string(relay.port()));
        set_environment("QIRELO_TIMER_HOST", "127.0.0.1:" + std::to_string(timer.port()));
        set_environment("QIRELO_SITE_HOST", "site.test");
    }
    ~Form1RelayTest() override { f.relay_worker->Stop(); }

    void start(const std::string& member) {
        f.MemberId.set(member);
        f.relay_worker->Start();
    }
    std::vector<std::string> calls() { return platform.calls.lines(); }

    // Each request gets the next record; the timer always says 125.
    std::vector<std::string> records;
    std::size_t next = 0;
    std::mutex mutex;
    ScriptServer relay{[this](http::testing::Peer& peer) {
        while (peer.read_request()) {
            std::lock_guard lock(mutex);
            peer.send(ok(records.at(std::min(next++, records.size() - 1))));
        }
    }};
    ScriptServer timer{[](http::testing::Peer& peer) {
        while (peer.read_request()) {
            peer.send(ok("125\r\n"));
        }
    }};
    TForm1& f = create();
};

TEST_F(Form1RelayTest, ACommandOpensThePlayPageInWeb1OnTheBrowserTab) {
    records = {"120|A321.5"};
    f.pag1.set_active_page(&f.tb3);
    start("42");
    ASSERT_TRUE(pump_until([&] { return !engine1->navigations.empty(); }));
    EXPECT_EQ(engine1->navigations.back(), u"http://site.test/m0321/play5.html");
    EXPECT_EQ(f.pag1.active_page(), &f.tb1);
    EXPECT_EQ(relay.requests().size(), 1u);
    EXPECT_NE(relay.requests()[0].find("GET /monitor/42.jpg HTTP/1.1"), std::string::npos);
    EXPECT_EQ(f.LastCommandStamp, 1200000);
}

TEST_F(Form1RelayTest, EWhileMutedRestoresTheSlidersLevelKeepsMuteAndASecondECancels) {
    records = {"120|E", "121|E"};
    f.pag1.set_active_page(&f.tb3);
    f.TrackBar1.set_position(100);
    f.cb1.set_checked(true); // mute
    platform.calls.clear();
    start("42");
    ASSERT_TRUE(pump_until([&] { return f.BitBtn1.caption() != system::ShutdownIdleCaption(); }));
    // The worker now rests in its 3000 ms pause: nothing more touches the fakes.
    EXPECT_EQ(f.BitBtn1.caption(), "14" + system::ShutdownCountdownSuffix());
    EXPECT_TRUE(f.cb1.checked());
    EXPECT_EQ(f.TrackBar1.position(), 100);
    const auto effects = platform.calls.effects();
    std::vector<std::string> volume;
    for (const auto& line : effects) {
        if (line.starts_with("waveOutSetVolume")) {
            volume.push_back(line);
        }
    }
    EXPECT_THAT(volume, ::testing::ElementsAre("waveOutSetVolume 0 0xFF00FF00",
                                               "waveOutSetVolume 0 0x64006400"));

    f.relay_worker->Start(); // a restart polls at once and finds the second E
    ASSERT_TRUE(pump_until([&] { return f.BitBtn1.caption() == system::ShutdownIdleCaption(); }));
    EXPECT_EQ(f.pb1.position(), 0);
    EXPECT_EQ(platform.power.power_offs, 0);
}

TEST_F(Form1RelayTest, APageWithoutTheMemberIdCompletingInsideAHandedOverStepStopsTheWorker) {
    using namespace std::chrono_literals;
    records = {"120|H+"}; // Esc, click at the bottom, a key, then Action1
    web.add_page(u"http://site.test/news.html", u"<title>news</title>"); // no member cookie
    f.web1.Navigate(u"http://site.test/news.html");
    // The click the worker hands over lets that load finish, as a step that
    // pumps events does: the member-id pick-up then stops the worker from
    // inside the very call the worker waits for.
    const auto click = f.Action2.OnExecute;
    f.Action2.OnExecute = [&](ui::Component& sender) {
        click(sender);
        upgrade::testing::Watchdog watchdog(5s, "the pick-up stopping the worker inside its step");
        engine1->complete();
    };
    const auto fullScreen = f.Action1.OnExecute;
    bool fullScreenRan = false;
    f.Action1.OnExecute = [&](ui::Component& sender) {
        fullScreenRan = true;
        fullScreen(sender);
    };
    start("42");
    ASSERT_TRUE(pump_until([&] { return f.MemberId.empty(); }));
    EXPECT_TRUE(pump_until([&] { return !f.relay_worker->upThread1.Executing(); }));
    std::this_thread::sleep_for(100ms);
    application.process_messages();
    EXPECT_FALSE(fullScreenRan) << "Action1, a step after the stop, never ran";
}

TEST_F(Form1RelayTest, ThePickUpStartsAndStopsTheWorker) {
    records = {"120|F"};
    f.MemberId.set("");
    f.login_panel->StartRelayWorker();
    EXPECT_TRUE(pump_until([&] { return !f.relay_worker->upThread1.Executing(); }))
        << "an empty MemberId ends the loop before its first cycle";
    EXPECT_TRUE(relay.requests().empty());
    start("42");
    ASSERT_TRUE(pump_until([&] { return relay.requests().size() == 1; }));
    f.login_panel->StopRelayWorker();
    EXPECT_FALSE(f.relay_worker->upThread1.Executing());
}

} // namespace
} // namespace qirelo::app
