// CheckUpdate over the platform's own internet library (libcurl natively,
// WinInet under Wine) against scripted loopback update servers: every row of
// the failure table on the real path.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/fake/shell.h"
#include "platform/profile/codepage.h"
#include "tests/http/support/script_server.h"
#include "tests/upgrade/support/watchdog.h"
#include "ui/application.h"
#include "ui/headless/backend.h"
#include "upgrade/application_host.h"
#include "upgrade/auto_updater.h"
#include "upgrade/fake/manual_main_thread.h"
#include "upgrade/messages/messages.h"

namespace qirelo::upgrade::testing {
namespace {

using namespace std::chrono_literals;
using http::testing::response;
using http::testing::ScriptServer;
using http::testing::serve;
using http::testing::Then;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

class CheckUpdateOsTest : public ::testing::Test {
protected:
    CheckUpdateOsTest() {
        SetMessageLanguage(TWizardLanguage::wlChineseSimplified);
        updater.VersionControl = TupVersionControl::byNumber;
        updater.VersionNumber = "2013.8.9.0";
        updater.ShowMessages = {TupShowMessages::mConnLost, TupShowMessages::mLostFile,
                                TupShowMessages::mPasswordRequest};
    }

    bool Check(const std::string& url) {
        updater.InfoFileURL = url;
        Watchdog watchdog(20s, "CheckUpdate against " + url);
        return updater.CheckUpdate();
    }
    std::vector<std::string> Boxes() {
        std::vector<std::string> texts;
        for (const auto& box : backend.boxes().shown) {
            texts.push_back(box.text);
        }
        return texts;
    }

    std::unique_ptr<platform::inet::Internet> internet = platform::inet::os_internet();
    std::unique_ptr<platform::inet::LocalSystem> local = platform::inet::os_local_system();
    platform::fake::CallLog log;
    platform::fake::FakeShell shell{log};
    platform::fake::FakeOnlineCheck online{log};
    ui::headless::Backend backend;
    ui::Application application{backend};
    fake::ManualMainThread mainThread;
    ApplicationUpdaterHost host{application, mainThread};
    TupAutoUpdater updater{{mainThread, *internet, *local, shell, online, host, ""}};
};

std::string Info(const std::string& version) {
    return "#version=" + version + "\r\n#method=2\r\n#url=http://127.0.0.1:12860/setup/\r\n";
}

TEST_F(CheckUpdateOsTest, ANewerVersionOpensThePage) {
    ScriptServer server(
        serve({{response("HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\n", Info("2013.8.10"))}}));

    EXPECT_TRUE(Check(server.url("/setup/qirelo_play.inf")));

    EXPECT_THAT(log.effects(),
                ElementsAre("ShellExecuteA open \"http://127.0.0.1:12860/setup/\" \"\""));
    EXPECT_THAT(Boxes(), IsEmpty());
    ASSERT_EQ(server.requests().size(), 1u);
    EXPECT_THAT(server.requests()[0], ::testing::StartsWith("GET /setup/qirelo_play.inf HTTP/1.1"));
}

TEST_F(CheckUpdateOsTest, EveryFailureIsSilentButTheBrokenTransfer) {
    ScriptServer same(serve({{response("HTTP/1.1 200 OK\r\n", Info("2013.8.9.0"))}}));
    EXPECT_FALSE(Check(same.url("/setup/qirelo_play.inf")));

    ScriptServer missing(serve({{response("HTTP/1.1 404 Not Found\r\n", "gone")}}));
    EXPECT_FALSE(Check(missing.url("/setup/qirelo_play.inf")));

    std::string refused;
    {
        ScriptServer gone(serve({}));
        refused = gone.url("/setup/qirelo_play.inf");
    }
    EXPECT_FALSE(Check(refused));
    EXPECT_THAT(Boxes(), IsEmpty());

    ScriptServer broken(serve(
        {{"HTTP/1.1 200 OK\r\nContent-Length: 10000\r\n\r\n" + Info("2013.8.10"), Then::close}}));
    EXPECT_FALSE(Check(broken.url("/setup/qirelo_play.inf")));
    EXPECT_THAT(Boxes(), ElementsAre(Message(30)));
    EXPECT_EQ(Message(30),
              platform::gb("与远端服务器的连接中断，\r\r请重新连接后再进行升级操作。"));
    EXPECT_THAT(log.effects(), IsEmpty());
}

} // namespace
} // namespace qirelo::upgrade::testing
