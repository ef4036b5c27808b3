#include "devsite/companion.h"

#include "raw_client.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <thread>

namespace qirelo::devsite {
namespace {

using test_support::RawClient;
using ::testing::HasSubstr;

std::string get(const std::string& target, const std::string& extra = "") {
    return "GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\n" + extra + "\r\n";
}

class ServerTest : public ::testing::Test {
protected:
    static CompanionOptions options() {
        auto options = ephemeral_options();
        options.limits.idle_timeout = std::chrono::milliseconds(300);
        options.limits.request.max_head = 2048;
        options.limits.request.max_body = 4096;
        return options;
    }

    Companion companion{options()};
    const Addresses& ports = companion.addresses();
};

TEST_F(ServerTest, ListensOnLoopbackAndOnPortsOfItsOwn) {
    EXPECT_EQ(ports.host, "127.0.0.1");
    for (auto port : {ports.site, ports.relay, ports.timer, ports.mobile, ports.control})
        EXPECT_NE(port, 0);
    EXPECT_NE(ports.site, 12860);
    EXPECT_NE(ports.relay, 12861);
}

TEST_F(ServerTest, TheRelayKeepsTheConnectionAcrossPolls) {
    RawClient relay(ports.relay);
    relay.send(get("/monitor/10001.jpg"));
    auto first = relay.read_response();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->body, "");
    EXPECT_THAT(first->head, HasSubstr("Connection: keep-alive"));
    companion.state().set_record("10001", "5|F");
    relay.send(get("/monitor/10001.jpg"));
    auto second = relay.read_response();
    ASSERT_TRUE(second);
    EXPECT_EQ(second->body, "5|F");
}

TEST_F(ServerTest, ConnectionCloseIsHonoured) {
    RawClient timer(ports.timer);
    timer.send(get("/member/timer.asp", "Connection: close\r\n"));
    auto response = timer.read_response();
    ASSERT_TRUE(response);
    EXPECT_THAT(response->head, HasSubstr("Connection: close"));
    EXPECT_TRUE(timer.closed_by_server());
}

TEST_F(ServerTest, PipelinedRequestsAreAnsweredInOrder) {
    RawClient site(ports.site);
    site.send(get("/nothing") + get("/setup") + get("/m0321/play1.html"));
    EXPECT_EQ(site.read_response().value_or(test_support::RawResponse{}).status, 404);
    EXPECT_EQ(site.read_response().value_or(test_support::RawResponse{}).status, 303);
    EXPECT_EQ(site.read_response().value_or(test_support::RawResponse{}).status, 200);
}

TEST_F(ServerTest, BadRequestsAreAnsweredAndTheConnectionClosed) {
    struct Case {
        std::string wire;
        int status;
    };
    for (const auto& [wire, status] : {
             Case{"NONSENSE\r\n\r\n", 400},
             Case{"GET / HTTP/1.1\r\n\r\n", 400},
             Case{"GET / HTTP/1.1\r\nHost: h\r\nX: " + std::string(3000, 'a') + "\r\n\r\n", 431},
             Case{"POST / HTTP/1.1\r\nHost: h\r\nContent-Length: 5000\r\n\r\n", 413},
             Case{"POST / HTTP/1.1\r\nHost: h\r\nTransfer-Encoding: chunked\r\n\r\n0\r\n\r\n", 501},
         }) {
        RawClient client(ports.site);
        client.send(wire);
        auto response = client.read_response();
        ASSERT_TRUE(response) << wire.substr(0, 40);
        EXPECT_EQ(response->status, status) << wire.substr(0, 40);
        EXPECT_TRUE(client.closed_by_server());
    }
    // The server still serves afterwards.
    RawClient client(ports.site);
    client.send(get("/"));
    EXPECT_EQ(client.read_response().value_or(test_support::RawResponse{}).status, 200);
}

TEST_F(ServerTest, ARequestLeftUnfinishedTimesOut) {
    RawClient client(ports.site);
    client.send("GET / HTTP/1.1\r\nHost: h\r\n");
    auto response = client.read_response();
    ASSERT_TRUE(response);
    EXPECT_EQ(response->status, 408);
    EXPECT_TRUE(client.closed_by_server());
}

TEST_F(ServerTest, AnIdleConnectionIsClosedQuietly) {
    RawClient client(ports.relay);
    EXPECT_FALSE(client.read_response());
    EXPECT_TRUE(client.closed_by_server());
}

TEST_F(ServerTest, ContinueIsSentBeforeTheBodyIsRead) {
    RawClient control(ports.control);
    control.send("PUT /records/10001 HTTP/1.1\r\nHost: h\r\nExpect: 100-continue\r\n"
                 "Content-Length: 4\r\n\r\n");
    auto interim = control.read_response();
    ASSERT_TRUE(interim);
    EXPECT_EQ(interim->status, 100);
    control.send("1|FF");
    auto final_response = control.read_response();
    ASSERT_TRUE(final_response);
    EXPECT_EQ(final_response->status, 200);
    EXPECT_EQ(companion.state().records.get("10001").value_or(""), "1|FF");
}

TEST_F(ServerTest, HeadAnswersWithoutABody) {
    RawClient site(ports.site);
    site.expect_head_only(true);
    site.send("HEAD / HTTP/1.1\r\nHost: h\r\n\r\n");
    auto response = site.read_response();
    ASSERT_TRUE(response);
    EXPECT_EQ(response->status, 200);
    site.expect_head_only(false);
    site.send(get("/member/timer.asp"));
    EXPECT_EQ(site.read_response().value_or(test_support::RawResponse{}).status, 404);
}

TEST_F(ServerTest, RequestsAreJournaledByServerButNotTheControlApi) {
    RawClient relay(ports.relay);
    relay.send(get("/monitor/10001.jpg", "X-Test: yes\r\n"));
    ASSERT_TRUE(relay.read_response());
    RawClient control(ports.control);
    control.send(get("/requests?server=relay"));
    auto response = control.read_response();
    ASSERT_TRUE(response);
    EXPECT_THAT(response->body, HasSubstr("\"target\":\"/monitor/10001.jpg\""));
    EXPECT_THAT(response->body, HasSubstr("[\"X-Test\",\"yes\"]"));
    for (const auto& entry : companion.state().requests.list())
        EXPECT_NE(entry.server, "control");
}

TEST_F(ServerTest, StopEndsOpenConnectionsAndFreesThePorts) {
    RawClient idle(ports.mobile);
    RawClient half(ports.site);
    half.send("GET / HTTP/1.1\r\n");
    auto site_port = ports.site;
    companion.stop();
    EXPECT_TRUE(idle.closed_by_server());
    EXPECT_THROW(RawClient{site_port}, platform::net::SocketError);
}

TEST(CompanionData, TheDataFileKeepsRecordsAcrossRestarts) {
    auto path = std::filesystem::temp_directory_path() /
                ("qirelo-devsite-server-" +
                 std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + ".dat");
    std::filesystem::remove(path);
    auto options = ephemeral_options();
    options.data_file = path;
    {
        Companion first(options);
        first.state().set_record("10001", "7|E");
    }
    Companion second(options);
    EXPECT_EQ(second.state().records.get("10001").value_or(""), "7|E");
    second.stop();
    std::filesystem::remove(path);
}

} // namespace
} // namespace qirelo::devsite
