#include "devsite/control/control.h"

#include "support.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace qirelo::devsite {
namespace {

using namespace test_support;
using ::testing::HasSubstr;

class ControlTest : public ::testing::Test {
protected:
    ControlTest() : state([] { return std::int64_t{4200}; }) {}

    Response control(const Request& request) { return handle_control(state, request); }

    SiteState state;
};

TEST_F(ControlTest, SetsAndReadsRecordsAndRefusesBadOnesWithAReason) {
    EXPECT_EQ(control(put("/records/10001", "12|A321.5")).status, 200);
    EXPECT_EQ(state.records.get("10001").value_or(""), "12|A321.5");
    EXPECT_EQ(control(get("/records/10001")).body, "12|A321.5");
    EXPECT_EQ(control(get("/records/777")).status, 404);

    auto line_break = control(put("/records/10001", "13|F\n"));
    EXPECT_EQ(line_break.status, 400);
    EXPECT_THAT(line_break.body, HasSubstr("line break"));
    auto no_bar = control(put("/records/10001", "13F"));
    EXPECT_EQ(no_bar.status, 400);
    EXPECT_THAT(no_bar.body, HasSubstr("\"|\""));
    EXPECT_EQ(state.records.get("10001").value_or(""), "12|A321.5");
}

TEST_F(ControlTest, CommandsAreStampedWithTheTimerNumber) {
    auto response = control(put("/commands/10001", "G+2"));
    EXPECT_EQ(response.body, "42.00|G+2");
    EXPECT_EQ(state.records.get("10001").value_or(""), "42.00|G+2");
    EXPECT_EQ(control(put("/commands/10001", "F\r\n")).status, 400);
}

TEST_F(ControlTest, ListsEventsAndRequestsAsJson) {
    state.events.add({0, "/m0321/play1.html", "key", "Escape"});
    EXPECT_EQ(control(get("/events")).body,
              "[\n{\"sequence\":1,\"page\":\"/m0321/"
              "play1.html\",\"kind\":\"key\",\"detail\":\"Escape\"}\n]\n");
    state.requests.add({0, "relay", "GET", "/monitor/1.jpg", {{"Host", "h"}}});
    state.requests.add({0, "timer", "GET", "/member/timer.asp", {}});
    auto relay = control(get("/requests?server=relay")).body;
    EXPECT_EQ(relay, "[\n{\"sequence\":1,\"server\":\"relay\",\"method\":\"GET\",\"target\":"
                     "\"/monitor/1.jpg\",\"connection\":0,\"headers\":[[\"Host\",\"h\"]]}\n]\n");
    EXPECT_THAT(control(get("/requests")).body, HasSubstr("timer.asp"));
}

TEST_F(ControlTest, SetsAndRestoresTheInfoFile) {
    EXPECT_EQ(control(put("/info", "#version=9.9.9.9")).status, 204);
    EXPECT_EQ(state.info.text("h"), "#version=9.9.9.9");
    EXPECT_EQ(control(parse_request("DELETE /info HTTP/1.1\r\nHost: h\r\n\r\n")).status, 204);
    EXPECT_THAT(state.info.text("h"), HasSubstr("#version=2013.8.9.0"));
}

TEST_F(ControlTest, AddsMembersAndResetsEverything) {
    EXPECT_THAT(control(post_form("/members", "username=tester&password=secret")).body,
                HasSubstr("\"id\":\"10002\""));
    EXPECT_EQ(control(post_form("/members", "username=tester&password=secret")).status, 400);
    EXPECT_THAT(control(get("/members")).body, HasSubstr("\"name\":\"tester\""));
    EXPECT_THAT(control(get("/members")).body, ::testing::Not(HasSubstr("secret")));

    state.set_record("10001", "1|F");
    state.info.set("x");
    state.events.add({});
    EXPECT_EQ(control(post_form("/reset", "")).status, 204);
    EXPECT_FALSE(state.records.get("10001"));
    EXPECT_FALSE(state.members.check_login("tester", "secret"));
    EXPECT_TRUE(state.events.list().empty());
    EXPECT_THAT(state.info.text("h"), HasSubstr("#version=2013.8.9.0"));
    EXPECT_EQ(control(get("/reset")).status, 405);
    EXPECT_EQ(control(get("/nothing")).status, 404);
}

} // namespace
} // namespace qirelo::devsite
