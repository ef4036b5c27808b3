// The Windows host under Wine: the check's MsgWaitForMultipleObjects wait
// keeps the window system's timers and the handed-over calls going, the
// hidden window runs the automatic check on its own timer and answers the
// log-off query.

#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/fake/internet.h"
#include "platform/fake/shell.h"
#include "tests/upgrade/support/watchdog.h"
#include "ui/application.h"
#include "ui/timer.h"
#include "ui/win32/backend.h"
#include "upgrade/application_main_thread.h"
#include "upgrade/auto_updater.h"
#include "upgrade/win32/native_host.h"

namespace qirelo::upgrade::testing {
namespace {

using namespace std::chrono_literals;
using platform::fake::fake_ok;

const std::string kNewer =
    "#version=2013.8.10\r\n#method=2\r\n#url=http://127.0.0.1:12860/setup/\r\n";

class NativeHostTest : public ::testing::Test {
protected:
    NativeHostTest() {
        updater.InfoFileURL = "http://127.0.0.1:12860/setup/qirelo_play.inf";
        updater.VersionControl = TupVersionControl::byNumber;
        updater.VersionNumber = "2013.8.9.0";
        updater.ShowMessages = {};
    }

    // Runs the application's messages until `done` or 10 s.
    bool PumpUntil(const std::function<bool()>& done) {
        const auto limit = std::chrono::steady_clock::now() + 10s;
        while (!done() && std::chrono::steady_clock::now() < limit) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
            application.process_messages();
        }
        return done();
    }

    platform::fake::FakeLocalSystem local;
    platform::fake::FakeInternet internet{&local};
    platform::fake::CallLog log;
    platform::fake::FakeShell shell{log};
    platform::fake::FakeOnlineCheck online{log};
    ui::win32::Backend backend;
    ui::Application application{backend};
    ApplicationMainThread mainThread{application};
    win32::NativeUpdaterHost host{application, mainThread};
    TupAutoUpdater updater{{mainThread, internet, local, shell, online, host, ""}};
};

TEST_F(NativeHostTest, TimersAndHandedOverCallsRunWhileTheCheckWaits) {
    internet.script({fake_ok(kNewer)});
    internet.pause_at("SendRequest");
    std::atomic<int> ticks{0};
    ui::Timer timer(application.timers(), "Timer2");
    timer.set_interval(20ms);
    timer.OnTimer = [&](ui::Component&) { ++ticks; };
    std::atomic<bool> handedOver{false};
    std::thread relay([&] {
        ASSERT_TRUE(internet.wait_paused());
        application.synchronize([&] { handedOver = updater.WaitingChecks() == 1; });
        while (ticks < 3) {
            std::this_thread::sleep_for(5ms);
        }
        internet.release();
    });

    bool found = false;
    {
        Watchdog watchdog(10s, "CheckUpdate in MsgWaitForMultipleObjects");
        found = updater.CheckUpdate();
    }
    relay.join();

    EXPECT_TRUE(found);
    EXPECT_TRUE(handedOver);
    EXPECT_GE(ticks.load(), 3);
    EXPECT_EQ(log.effects().size(), 1u);
}

TEST_F(NativeHostTest, ASecondCheckWhileTheFirstWaitsReleasesBoth) {
    internet.script({fake_ok(kNewer)});
    internet.pause_at("SendRequest");
    bool second = false;
    std::thread user([&] {
        ASSERT_TRUE(internet.wait_paused());
        application.synchronize([&] {
            internet.release();
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
}

TEST_F(NativeHostTest, TheHiddenWindowRunsTheAutomaticCheckAndAllowsLogOff) {
    internet.script({fake_ok(kNewer)});
    updater.AutoCheckDelay = 50;
    updater.SetAutoCheck(true);

    EXPECT_TRUE(PumpUntil([&] { return updater.UpdateFound(); }));
    EXPECT_EQ(internet.calls("OpenRequest").size(), 1u);

    HWND window = FindWindowA("TupAutoUpdaterWindow", nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_EQ(SendMessageA(window, WM_QUERYENDSESSION, 0, 0), 1);
}

BOOL CALLBACK CountUpdaterWindow(HWND window, LPARAM counter) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    if (std::string(name) == "TupAutoUpdaterWindow") {
        ++*reinterpret_cast<int*>(counter);
    }
    return TRUE;
}

int UpdaterWindows() {
    int count = 0;
    EnumWindows(&CountUpdaterWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

TEST_F(NativeHostTest, TheHiddenWindowGoesWithTheComponent) {
    EXPECT_EQ(UpdaterWindows(), 1);
    {
        TupAutoUpdater second{{mainThread, internet, local, shell, online, host, ""}};
        EXPECT_EQ(UpdaterWindows(), 2);
    }
    EXPECT_EQ(UpdaterWindows(), 1);
}

} // namespace
} // namespace qirelo::upgrade::testing
