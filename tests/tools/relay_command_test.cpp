// qirelo-tool relay, run in-process against scripted loopback relay and timer
// servers.

#include "tests/http/support/environment.h"
#include "tests/http/support/script_server.h"
#include "tests/tools/tool_run.h"

#include <gtest/gtest.h>

namespace qirelo::tools {
namespace {

using http::testing::ok;
using http::testing::ScriptServer;
using http::testing::serve;
using http::testing::set_environment;

class ToolRelay : public ::testing::Test {
protected:
    void serve_records(std::vector<std::string> records, std::vector<std::string> times) {
        std::vector<http::testing::Reply> relayReplies, timerReplies;
        for (const auto& r : records) {
            relayReplies.push_back({ok(r)});
        }
        for (const auto& t : times) {
            timerReplies.push_back({ok(t)});
        }
        relay.emplace(serve(std::move(relayReplies)));
        timer.emplace(serve(std::move(timerReplies)));
        set_environment("QIRELO_RELAY_HOST", "127.0.0.1:" + std::to_string(relay->port()));
        set_environment("QIRELO_TIMER_HOST", "127.0.0.1:" + std::to_string(timer->port()));
        set_environment("QIRELO_SITE_HOST", "site.test");
    }
    std::string monitor_get(std::string_view result) const {
        return "GET " + relay->url("/monitor/42.jpg") + " " + std::string(result);
    }
    std::string timer_get(std::string_view result) const {
        return "GET " + timer->url("/member/timer.asp") + " " + std::string(result);
    }
    int tool(const std::vector<std::string>& args) {
        const testing::ToolRun run = testing::tool(args);
        out = run.out;
        err = run.err;
        return run.status;
    }

    std::optional<ScriptServer> relay, timer;
    std::string out, err;
};

TEST_F(ToolRelay, PrintsEachOperationOfEachCycleInOrder) {
    serve_records({"120|E", "120|E", "121|D+2"}, {"125", "126", "127"});
    EXPECT_EQ(tool({"relay", "--member", "42", "--cycles", "3", "--no-sleep", "--volume", "255",
                    "--address", "http://x/m/play_web.asp?id=1"}),
              0);
    EXPECT_EQ(out, monitor_get("ok 5") + "\n" + timer_get("ok 3") +
                       "\n"
                       "SendKeys  \n"
                       "SendKeys FK_ESC\n"
                       "ShowTab tb3\n"
                       "TrackBar1 255\n"
                       "TrackBar1 255\n"
                       "ClickBitBtn1\n"
                       "Sleep 3000\n" +
                       monitor_get("ok 5") + "\n" + timer_get("ok 3") + "\nSleep 3000\n" +
                       monitor_get("ok 7") + "\n" + timer_get("ok 3") +
                       "\n"
                       "Action3\n"
                       "SendKeys FK_UP\n"
                       "SendKeys FK_UP\n"
                       "Sleep 3000\n");
    EXPECT_EQ(err, "");
}

TEST_F(ToolRelay, PrintsAFailedGetWithItsErrorClassAndGoesOn) {
    serve_records({}, {"125", "125"});
    ASSERT_EQ(tool({"relay", "--member", "42", "--cycles", "1", "--no-sleep"}), 0);
    EXPECT_EQ(out, monitor_get("error EHttpProtocolError") + "\n" + timer_get("ok 3") +
                       "\nSleep 3000\n");
}

TEST_F(ToolRelay, RejectsAMissingMemberAndBadNumbers) {
    EXPECT_EQ(tool({"relay", "--cycles", "1"}), 2);
    EXPECT_NE(err.find("--member ID is required"), std::string::npos);
    EXPECT_EQ(tool({"relay", "--member", "42", "--volume", "256"}), 2);
    EXPECT_EQ(tool({"relay", "--member", "42", "--cycles", "x"}), 2);
    EXPECT_EQ(tool({"relay", "--member"}), 2);
    EXPECT_EQ(out, "");
}

} // namespace
} // namespace qirelo::tools
