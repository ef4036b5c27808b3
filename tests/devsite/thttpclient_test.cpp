// The companion as the client's own HTTP object sees it: THttpClient against
// an in-process companion on ephemeral ports (natively and under Wine).

#include "devsite/companion.h"
#include "http/errors.h"
#include "http/http_client.h"

#include "raw_client.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>

namespace qirelo::devsite {
namespace {

using http::THttpClient;
using test_support::RawClient;
using ::testing::HasSubstr;

class ThroughTHttpClient : public ::testing::Test {
protected:
    static CompanionOptions options(std::atomic<std::int64_t>& clock) {
        auto options = ephemeral_options();
        options.clock = [&clock] { return clock.load(); };
        return options;
    }

    // As the client makes its relay objects.
    static std::unique_ptr<THttpClient> client() {
        auto client = std::make_unique<THttpClient>();
        client->HandleRedirects = true;
        client->ReadTimeout = 9000;
        return client;
    }

    std::string url(std::uint16_t port, const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(port) + path;
    }

    // A tap on the mobile page, posted as the phone's browser does.
    void tap(const std::string& fields) {
        RawClient phone(ports.mobile);
        phone.send("POST /send HTTP/1.1\r\nHost: 127.0.0.1\r\nCookie: user%5Fid=10001\r\n"
                   "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: " +
                   std::to_string(fields.size()) + "\r\n\r\n" + fields);
        ASSERT_EQ(phone.read_response().value_or(test_support::RawResponse{}).status, 303);
    }

    std::atomic<std::int64_t> hundredths{175000000000};
    Companion companion{options(hundredths)};
    const Addresses& ports = companion.addresses();
};

TEST_F(ThroughTHttpClient, LoginKeepsTheMemberCookieWhichTheSiteThenRecognises) {
    auto browser = client();
    auto page = browser->Get(url(ports.site, "/jysc/checklogin.asp?username=demo&password=qirelo"));
    EXPECT_THAT(page, HasSubstr("会员中心"));
    ASSERT_NE(browser->CookieManager(), nullptr);
    EXPECT_EQ(browser->CookieManager()->cookie_header("127.0.0.1", "/"),
              "user%5Fid=10001; user%5Fname=demo");
    EXPECT_THAT(browser->Get(url(ports.site, "/")), HasSubstr("欢迎，demo"));
}

TEST_F(ThroughTHttpClient, FailedLoginLeavesNoMemberCookie) {
    auto browser = client();
    auto page = browser->Get(url(ports.site, "/jysc/checklogin.asp?username=demo&password=bad"));
    EXPECT_THAT(page, HasSubstr("登录失败"));
    auto cookies = browser->CookieManager()
                       ? browser->CookieManager()->cookie_header("127.0.0.1", "/")
                       : std::string();
    EXPECT_EQ(cookies.find("user%5Fid"), std::string::npos) << cookies;
}

TEST_F(ThroughTHttpClient, TheRelayRecordAfterATapIsFreshForTheTimer) {
    auto monitor = client();
    auto timer = client();
    EXPECT_EQ(monitor->Get(url(ports.relay, "/monitor/10001.jpg")), "");
    tap("action=play&video=321&episode=5");
    hundredths += 250;
    auto record = monitor->Get(url(ports.relay, "/monitor/10001.jpg"));
    EXPECT_EQ(record, "1750000000.00|A321.5");
    EXPECT_EQ(timer->Get(url(ports.timer, "/member/timer.asp")), "1750000002.50");
}

TEST_F(ThroughTHttpClient, TheRelayKeepsOneConnectionForItsPolls) {
    auto monitor = client();
    for (int poll = 0; poll < 3; ++poll)
        EXPECT_EQ(monitor->Get(url(ports.relay, "/monitor/10001.jpg")), "");
    auto requests = companion.state().requests.list();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].connection, requests[1].connection);
    EXPECT_EQ(requests[1].connection, requests[2].connection);
}

TEST_F(ThroughTHttpClient, TheTimerNumberAdvancesWithItsClock) {
    auto timer = client();
    EXPECT_EQ(timer->Get(url(ports.timer, "/member/timer.asp")), "1750000000.00");
    hundredths += 1;
    EXPECT_EQ(timer->Get(url(ports.timer, "/member/timer.asp")), "1750000000.01");
}

TEST_F(ThroughTHttpClient, TheInfoFileAndItsOverride) {
    auto updater = client();
    auto info = updater->Get(url(ports.site, "/setup/qirelo_play.inf"));
    EXPECT_THAT(info, HasSubstr("#version=2013.8.9.0\r\n#method=2\r\n"));
    EXPECT_THAT(info, HasSubstr("#url=http://127.0.0.1:" + std::to_string(ports.site) + "/setup/"));
    companion.state().info.set("#version=2013.8.10\r\n#method=2\r\n#url=http://h/setup/");
    EXPECT_EQ(updater->Get(url(ports.site, "/setup/qirelo_play.inf")),
              "#version=2013.8.10\r\n#method=2\r\n#url=http://h/setup/");
}

TEST_F(ThroughTHttpClient, ThePlayersReportsAreReadBackFromTheControlApi) {
    RawClient page(ports.site);
    std::string report = "page=%2Fm0321%2Fplay5.html&kind=key&detail=ArrowLeft";
    page.send("POST /player/report HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Type: "
              "application/x-www-form-urlencoded\r\nContent-Length: " +
              std::to_string(report.size()) + "\r\n\r\n" + report);
    ASSERT_EQ(page.read_response().value_or(test_support::RawResponse{}).status, 204);
    EXPECT_THAT(
        client()->Get(url(ports.control, "/events")),
        HasSubstr("\"page\":\"/m0321/play5.html\",\"kind\":\"key\",\"detail\":\"ArrowLeft\""));
}

TEST_F(ThroughTHttpClient, ErrorStatusesRaiseProtocolErrors) {
    auto browser = client();
    for (auto [path, status] : {std::pair{"/no/such/page", 404}, std::pair{"/player/report", 405},
                                std::pair{"/%zz", 400}}) {
        try {
            browser->Get(url(ports.site, path));
            ADD_FAILURE() << path << " was answered";
        } catch (const http::EHttpProtocolError& error) {
            EXPECT_EQ(error.code(), status) << path;
        }
    }
    EXPECT_THAT(browser->Get(url(ports.site, "/setup")), HasSubstr("2013.8.9.0")); // 303 followed
}

} // namespace
} // namespace qirelo::devsite
