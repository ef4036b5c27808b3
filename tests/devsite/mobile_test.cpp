#include "devsite/mobile/mobile.h"
#include "devsite/relay/relay.h"

#include "support.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace qirelo::devsite {
namespace {

using namespace test_support;
using ::testing::HasSubstr;

constexpr const char* kDemoCookie = "Cookie: user%5Fid=10001; user%5Fname=demo\r\n";

class MobileTest : public ::testing::Test {
protected:
    MobileTest() : state([this] { return now; }) {}

    Response mobile(const Request& request) { return handle_mobile(state, request); }
    Response tap(const std::string& fields) {
        return mobile(post_form("/send", fields, kDemoCookie));
    }

    std::int64_t now = 170000000000; // hundredths
    SiteState state;
};

TEST_F(MobileTest, WithoutAMemberTheMobileSiteAsksForALogin) {
    auto page = mobile(get("/"));
    EXPECT_THAT(page.body, HasSubstr("action=\"/login\""));
    EXPECT_THAT(page.body, HasSubstr("name=\"viewport\""));
    auto demo = mobile(post_form("/login", "demo=1"));
    EXPECT_EQ(demo.status, 303);
    EXPECT_EQ(client_member_id(document_cookie(demo)), "10001");
    auto wrong = mobile(post_form("/login", "username=demo&password=no"));
    EXPECT_THAT(wrong.body, HasSubstr("密码错误"));
    EXPECT_TRUE(set_cookies(wrong).empty());
    EXPECT_EQ(client_member_id(
                  document_cookie(mobile(post_form("/login", "username=demo&password=qirelo")))),
              "10001");
}

TEST_F(MobileTest, EachTapStoresTheRecordStampedWithTheTimerNumber) {
    auto response = tap("action=G&dir=-&count=3");
    EXPECT_EQ(response.status, 303);
    EXPECT_EQ(state.records.get("10001").value_or(""), "1700000000.00|G-3");
    EXPECT_EQ(find_header(response.headers, "Location").value_or(""),
              "/?sent=1700000000%2E00%7CG%2D3");
    now += 150;
    tap("action=play&video=321&episode=5");
    EXPECT_EQ(state.records.get("10001").value_or(""), "1700000001.50|A321.5");
    tap("action=play&video=678&episode=2");
    EXPECT_EQ(state.records.get("10001").value_or(""), "1700000001.51|B678.0-2"); // same hundredth
    EXPECT_EQ(handle_timer(state, get("/member/timer.asp")).body, "1700000001.51");
}

TEST_F(MobileTest, TheControlPageShowsWhatWasSentAndTheRelaysRecord) {
    tap("action=E&go=1");
    auto page = mobile(get("/?sent=1700000000.00%7CE", kDemoCookie));
    EXPECT_THAT(page.body, HasSubstr("已发送：关机/音量"));
    EXPECT_THAT(page.body, HasSubstr("中继记录：1700000000.00|E"));
    EXPECT_THAT(page.body, HasSubstr("value=\"G\""));
}

TEST_F(MobileTest, TapsThatMakeNoCommandOrHaveNoMemberStoreNothing) {
    EXPECT_EQ(tap("action=G&dir=x&count=3").status, 400);
    EXPECT_EQ(tap("action=D&dir=-&count=10").status, 400);
    EXPECT_EQ(tap("action=play&video=a.b&episode=1").status, 400);
    EXPECT_EQ(tap("action=Z").status, 400);
    EXPECT_EQ(mobile(post_form("/send", "action=F")).status, 303); // back to the login
    EXPECT_EQ(mobile(post_form("/send", "action=F", "Cookie: user%5Fid=99999\r\n")).status, 303);
    EXPECT_FALSE(state.records.get("10001"));
    EXPECT_FALSE(state.records.get("99999"));
}

TEST(CommandFromTap, GivesEveryCommandTheClientKnows) {
    auto command = [](std::map<std::string, std::string> fields) {
        return command_from_tap(fields).value_or("<none>");
    };
    EXPECT_EQ(command({{"action", "G"}, {"dir", "+"}, {"count", "9"}}), "G+9");
    EXPECT_EQ(command({{"action", "D"}, {"dir", "-"}, {"count", "0"}}), "D-0");
    EXPECT_EQ(command({{"action", "H"}, {"dir", "-"}}), "H-");
    EXPECT_EQ(command({{"action", "F"}}), "F");
    EXPECT_EQ(command({{"action", "E"}}), "E");
    EXPECT_EQ(command({{"action", "G"}, {"dir", "+"}}), "<none>");
    EXPECT_EQ(command({{"action", "H"}}), "<none>");
}

TEST(DescribeCommand, SaysWhatTheCommandDoes) {
    EXPECT_EQ(describe_command("G-3"), "快退 3 次");
    EXPECT_EQ(describe_command("D+2"), "上 2 次");
    EXPECT_EQ(describe_command("A321.5"), "点播《山海长歌》第5集");
    EXPECT_EQ(describe_command("B678.0-2"), "点播《江湖夜雨（网络版）》第2集");
    EXPECT_EQ(describe_command("H+"), "全屏前进一步");
}

TEST_F(MobileTest, LogoutRemovesTheCookies) {
    auto response = mobile(get("/logout", kDemoCookie));
    EXPECT_EQ(response.status, 303);
    EXPECT_EQ(set_cookies(response).size(), 2u);
    EXPECT_EQ(client_member_id(document_cookie(response)), "<none>");
}

TEST_F(MobileTest, RelayAnswersTheLatestRecordOrNothing) {
    EXPECT_EQ(handle_relay(state, get("/monitor/10001.jpg")).body, "");
    EXPECT_EQ(handle_relay(state, get("/monitor/10001.jpg")).status, 200);
    state.set_record("10001", "99|F");
    auto response = handle_relay(state, get("/monitor/10001.jpg"));
    EXPECT_EQ(response.body, "99|F");
    EXPECT_THAT(find_header(response.headers, "Content-Type").value_or(""),
                HasSubstr("text/plain"));
    EXPECT_EQ(handle_relay(state, get("/monitor/.jpg")).status, 404);
    EXPECT_EQ(handle_relay(state, get("/monitor/10001.png")).status, 404);
    EXPECT_EQ(handle_relay(state, post_form("/monitor/10001.jpg", "")).status, 405);
}

TEST_F(MobileTest, TimerAnswersItsNumberWithoutALineEnd) {
    EXPECT_EQ(handle_timer(state, get("/member/timer.asp")).body, "1700000000.00");
    now += 101;
    EXPECT_EQ(handle_timer(state, get("/member/timer.asp")).body, "1700000001.01");
    EXPECT_EQ(handle_timer(state, get("/member/timer.aspx")).status, 404);
}

} // namespace
} // namespace qirelo::devsite
