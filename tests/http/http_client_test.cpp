// THttpClient against scripted servers on loopback: the behaviour the relay
// loop depends on, byte for byte.

#include "http/errors.h"
#include "http/http_client.h"
#include "tests/http/support/script_server.h"
#include "tests/platform/net/blocked_lookup.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>

namespace qirelo::http {
namespace {

using namespace std::chrono_literals;
using testing::ok;
using testing::Peer;
using testing::Reply;
using testing::response;
using testing::ScriptServer;
using testing::serve;
using testing::Then;
using Clock = std::chrono::steady_clock;

const std::string kOk = response("HTTP/1.1 200 OK\r\n", "ok");

// A client set up as the relay loop sets its clients up.
struct Relay : THttpClient {
    Relay() {
        HandleRedirects = true;
        ReadTimeout = 9000;
    }
};

std::string redirect_to(std::string_view location, std::string_view status = "302 Found") {
    return response("HTTP/1.1 " + std::string(status) + "\r\nLocation: " + std::string(location) +
                        "\r\n",
                    "moved");
}

template <typename Error> Error raised_by(THttpClient& client, const std::string& url) {
    try {
        client.Get(url);
    } catch (const Error& error) {
        return error;
    }
    ADD_FAILURE() << "no " << typeid(Error).name() << " from " << url;
    throw std::logic_error("no error");
}

TEST(HttpGet, SendsTheRequestBytesExactly) {
    ScriptServer server(serve({{kOk}}));
    Relay client;
    EXPECT_EQ(client.Get(server.url("/monitor/42.jpg")), "ok");
    ASSERT_EQ(server.requests().size(), 1u);
    EXPECT_EQ(server.requests()[0], "GET /monitor/42.jpg HTTP/1.1\r\n"
                                    "Content-Type: text/html\r\n"
                                    "Host: 127.0.0.1:" +
                                        std::to_string(server.port()) +
                                        "\r\n"
                                        "Accept: text/html, */*\r\n"
                                        "User-Agent: Mozilla/3.0 (compatible; Qirelo HTTP)\r\n"
                                        "\r\n");
}

TEST(HttpGet, KeepsOneConnectionAliveAcrossGets) {
    ScriptServer server(serve({{kOk}, {kOk}, {kOk}}));
    Relay client;
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(client.Get(server.url("/member/timer.asp")), "ok");
    }
    EXPECT_EQ(server.connections(), 1);
}

TEST(HttpGet, ConnectionCloseMakesTheNextGetConnectAnew) {
    ScriptServer server(serve({{response("HTTP/1.1 200 OK\r\nConnection: close\r\n", "a")},
                               {response("HTTP/1.1 200 OK\r\nconnection:  CLOSE \r\n", "b")},
                               {kOk}}));
    Relay client;
    EXPECT_EQ(client.Get(server.url("/")), "a");
    EXPECT_EQ(client.Get(server.url("/")), "b");
    EXPECT_EQ(client.Get(server.url("/")), "ok");
    EXPECT_EQ(server.connections(), 3);
}

TEST(HttpGet, AServerThatClosedAnIdleConnectionIsNoticedBeforeSending) {
    // The server keeps no connection alive although it says nothing about it.
    ScriptServer server(serve({{kOk, Then::close}, {kOk, Then::close}}));
    Relay client;
    EXPECT_EQ(client.Get(server.url("/")), "ok");
    ASSERT_TRUE(server.wait_finished(1)); // the server's close is on its way
    EXPECT_EQ(client.Get(server.url("/")), "ok");
    EXPECT_EQ(server.connections(), 2);
}

TEST(HttpGet, StrayBytesAfterABodyMakeTheNextGetUseAFreshConnection) {
    ScriptServer server(serve({{kOk + "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nstale"},
                               {response("HTTP/1.1 200 OK\r\n", "fresh")}}));
    Relay client;
    EXPECT_EQ(client.Get(server.url("/")), "ok");
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(client.Get(server.url("/")), "fresh");
    EXPECT_EQ(server.connections(), 2);
}

TEST(HttpGet, Http10ClientKeepsTheConnectionOnlyWhenTheServerSaysKeepAlive) {
    ScriptServer server(serve({{response("HTTP/1.1 200 OK\r\nConnection: keep-alive\r\n", "1")},
                               {response("HTTP/1.1 200 OK\r\n", "2")},
                               {kOk}}));
    Relay client;
    client.ProtocolVersion = THttpProtocolVersion::pv1_0;
    EXPECT_EQ(client.Get(server.url("/")), "1");
    EXPECT_EQ(client.Get(server.url("/")), "2");
    EXPECT_EQ(client.Get(server.url("/")), "ok");
    EXPECT_EQ(server.connections(), 2);
    EXPECT_NE(server.requests()[0].find("GET / HTTP/1.0\r\n"), std::string::npos);
    EXPECT_NE(server.requests()[0].find("\r\nConnection: keep-alive\r\n"), std::string::npos);
}

TEST(HttpGet, FollowsARedirectChainToItsEnd) {
    ScriptServer server(serve({{redirect_to("/second/")},
                               {redirect_to("third.htm", "301 Moved Permanently")},
                               {redirect_to("../final.htm", "307 Temporary Redirect")},
                               {response("HTTP/1.1 200 OK\r\n", "arrived")}}));
    Relay client;
    EXPECT_EQ(client.Get(server.url("/first/start.htm")), "arrived");
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 4u);
    EXPECT_EQ(requests[1].substr(0, 17), "GET /second/ HTTP");
    EXPECT_EQ(requests[2].substr(0, 26), "GET /second/third.htm HTTP");
    EXPECT_EQ(requests[3].substr(0, 20), "GET /final.htm HTTP/");
    EXPECT_EQ(server.connections(), 1);
}

TEST(HttpGet, ALocationOnA200IsARedirectAndItsBodyIsDropped) {
    ScriptServer server(serve({{response("HTTP/1.1 200 OK\r\nLocation: /real\r\n", "not this")},
                               {response("HTTP/1.1 200 OK\r\n", "this")}}));
    Relay client;
    EXPECT_EQ(client.Get(server.url("/")), "this");
    EXPECT_EQ(server.requests().size(), 2u);
}

TEST(HttpGet, TheFifteenthRedirectInARowEndsWithAnEmptyBody) {
    std::vector<Reply> replies(30, Reply{redirect_to("/again")});
    ScriptServer server(serve(replies));
    Relay client;
    EXPECT_EQ(client.Get(server.url("/")), "");
    EXPECT_EQ(server.requests().size(), 15u);
    // The counter starts afresh: the next GET follows its own 14 redirects.
    EXPECT_EQ(client.Get(server.url("/")), "");
    EXPECT_EQ(server.requests().size(), 30u);
}

TEST(HttpGet, RedirectMaximumBoundsTheChain) {
    ScriptServer server(serve(std::vector<Reply>(10, Reply{redirect_to("/again")})));
    Relay client;
    client.RedirectMaximum = 3;
    EXPECT_EQ(client.Get(server.url("/")), "");
    EXPECT_EQ(server.requests().size(), 3u);
}

TEST(HttpGet, WithoutHandleRedirectsARedirectIsAProtocolError) {
    ScriptServer server(serve({{redirect_to("/next")}}));
    THttpClient client;
    const auto error = raised_by<EHttpProtocolError>(client, server.url("/"));
    EXPECT_EQ(error.code(), 302);
    EXPECT_STREQ(error.what(), "HTTP/1.1 302 Found");
    EXPECT_EQ(error.detail(), "moved");
}

TEST(HttpGet, ARedirectWithoutPortKeepsTheCurrentPortEvenForAnotherHost) {
    ScriptServer server(serve({{redirect_to("http://localhost/other")}, {kOk}}));
    Relay client;
    EXPECT_EQ(client.Get(server.url("/")), "ok");
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_NE(requests[1].find("Host: localhost:" + std::to_string(server.port()) + "\r\n"),
              std::string::npos);
    EXPECT_EQ(server.connections(), 2); // another host name: another connection
}

TEST(HttpGet, AnInvalidLocationIsNeverRequested) {
    ScriptServer server(serve({{redirect_to("/next\rX-Injected: 1")}, {kOk}}));
    Relay client;
    const auto error = raised_by<EHttpError>(client, server.url("/"));
    EXPECT_STREQ(error.what(), "Invalid URL");
    EXPECT_EQ(server.requests().size(), 1u);
}

TEST(HttpGet, BytesFrom0x80UpInAUrlOrLocationArePercentEncoded) {
    ScriptServer server(serve({{redirect_to("/\xB2\xE2/\xCA\xD4.asp?id=\xC4\xE3")}, {kOk}}));
    Relay client;
    EXPECT_EQ(client.Get(server.url("/monitor/\xD6\xD0\xCE\xC4.jpg")), "ok");
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].substr(0, 36), "GET /monitor/%D6%D0%CE%C4.jpg HTTP/1");
    EXPECT_EQ(requests[1].substr(0, 37), "GET /%B2%E2/%CA%D4.asp?id=%C4%E3 HTTP");
}

TEST(HttpGet, AnInvalidUrlNeverConnects) {
    ScriptServer server(serve({{kOk}}));
    Relay client;
    EXPECT_THROW(client.Get(server.url("/monitor/1\r\nHost: evil.jpg")), EHttpError);
    EXPECT_THROW(client.Get(server.url("/a b")), EHttpError);
    EXPECT_EQ(server.connections(), 0);
}

TEST(HttpGet, ChunkedBodyThenTheSameConnectionStaysInStep) {
    ScriptServer server(serve({{"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
                                "4;x=y\r\n20|A\r\n5\r\n12345\r\n0\r\nTrailer: t\r\n\r\n"},
                               {kOk}}));
    Relay client;
    EXPECT_EQ(client.Get(server.url("/")), "20|A12345");
    EXPECT_EQ(client.Get(server.url("/")), "ok");
    EXPECT_EQ(server.connections(), 1);
}

TEST(HttpGet, CapitalChunkedIsReadUntilTheServerCloses) {
    ScriptServer server(
        serve({{"HTTP/1.1 200 OK\r\nTransfer-Encoding: Chunked\r\n\r\n3\r\nabc\r\n0\r\n\r\n",
                Then::close},
               {kOk}}));
    Relay client;
    EXPECT_EQ(client.Get(server.url("/")), "3\r\nabc\r\n0\r\n\r\n");
    EXPECT_EQ(client.Get(server.url("/")), "ok");
    EXPECT_EQ(server.connections(), 2);
}

TEST(HttpGet, CloseDelimitedBodyThenANewConnection) {
    ScriptServer server(serve({{"HTTP/1.0 200 OK\r\n\r\nuntil the end", Then::close}, {kOk}}));
    Relay client;
    EXPECT_EQ(client.Get(server.url("/")), "until the end");
    EXPECT_EQ(client.Get(server.url("/")), "ok");
    EXPECT_EQ(server.connections(), 2);
}

TEST(HttpGet, WholeBodyBeforeTheCloseIsASuccess) {
    ScriptServer server(serve({{response("HTTP/1.1 200 OK\r\n", "complete"), Then::close}}));
    Relay client;
    EXPECT_EQ(client.Get(server.url("/")), "complete");
}

TEST(HttpGet, BodyCutShortOfItsLengthIsAFailureNotAnotherRecord) {
    ScriptServer server(
        serve({{"HTTP/1.1 200 OK\r\nContent-Length: 7\r\n\r\n123|G+", Then::close}, {kOk}}));
    Relay client;
    EXPECT_STREQ(raised_by<EHttpConnectionClosed>(client, server.url("/")).what(),
                 "Connection closed by peer.");
}

TEST(HttpGet, SuccessAfterTheServerClosedInTheHeadersIsUndefined) {
    ScriptServer server(serve({{"HTTP/1.1 200 OK\r\nContent-Length: 5\r\n", Then::close}}));
    Relay client;
    EXPECT_STREQ(raised_by<EHttpError>(client, server.url("/")).what(), "Undefined situation");
}

TEST(HttpGet, EmptyBodiesReturnWithoutWaitingForMore) {
    // The server stays silent after each response: any wait would last ReadTimeout.
    for (const char* head :
         {"HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n", "HTTP/1.1 204 No Content\r\n\r\n"}) {
        ScriptServer server(serve({{head, Then::stall}}));
        Relay client;
        client.ReadTimeout = 20000;
        const auto start = Clock::now();
        EXPECT_EQ(client.Get(server.url("/")), "");
        EXPECT_LT(Clock::now() - start, 10s) << head;
    }
}

TEST(HttpGet, Status100IsSkippedAnd101IsAProtocolErrorWithoutBody) {
    ScriptServer continued(serve({{"HTTP/1.1 100 Continue\r\n\r\n" + kOk}}));
    Relay client;
    EXPECT_EQ(client.Get(continued.url("/")), "ok");

    ScriptServer switching(serve({{"HTTP/1.1 101 Switching Protocols\r\n\r\n", Then::stall}}));
    Relay other;
    other.ReadTimeout = 20000;
    const auto start = Clock::now();
    EXPECT_EQ(raised_by<EHttpProtocolError>(other, switching.url("/")).code(), 101);
    EXPECT_LT(Clock::now() - start, 10s);
}

TEST(HttpGet, AnEndlessRunOf100ContinueEndsWithAProtocolError) {
    ScriptServer server([](Peer& peer) {
        peer.read_request();
        for (int i = 0; i < 100000; ++i) { // until the client gives up
            peer.send("HTTP/1.1 100 Continue\r\n\r\n");
        }
    });
    Relay client;
    const auto error = raised_by<EHttpProtocolError>(client, server.url("/"));
    EXPECT_EQ(error.code(), 100);
    EXPECT_STREQ(error.what(), "HTTP/1.1 100 Continue");
}

TEST(HttpGet, StatusLineWithoutReasonIsFineWithoutAnySpaceIsAnError) {
    ScriptServer server(serve({{"HTTP/1.1 200\r\nContent-Length: 1\r\n\r\nx"},
                               {"HTTP/1.1200\r\nContent-Length: 1\r\n\r\ny"}}));
    Relay client;
    EXPECT_EQ(client.Get(server.url("/")), "x");
    const auto error = raised_by<EHttpProtocolError>(client, server.url("/"));
    EXPECT_EQ(error.code(), -1);
    EXPECT_STREQ(error.what(), "HTTP/1.1200");
}

TEST(HttpGet, NotFoundIsAProtocolErrorWithTheStatusLineAndTheBody) {
    ScriptServer server(serve({{response("HTTP/1.1 404 Not Found\r\n", "no such page")}}));
    Relay client;
    const auto error = raised_by<EHttpProtocolError>(client, server.url("/missing"));
    EXPECT_EQ(error.code(), 404);
    EXPECT_STREQ(error.what(), "HTTP/1.1 404 Not Found");
    EXPECT_EQ(error.detail(), "no such page");
}

TEST(HttpGet, AnErrorBodyThatNeverComesFailsAfterTwoSeconds) {
    ScriptServer server(
        serve({{"HTTP/1.1 500 Oops\r\nContent-Length: 10\r\n\r\nabc", Then::stall}}));
    Relay client;
    EXPECT_THROW(client.Get(server.url("/")), EHttpReadTimeout);
}

TEST(HttpGet, BodiesLongerThanMaxResponseSizeAreRefused) {
    // Each server stalls after what it sent: a client that read on would time out.
    const std::string chunk = "8000\r\n" + std::string(0x8000, 'x') + "\r\n";
    ScriptServer until_close(
        serve({{"HTTP/1.1 200 OK\r\n\r\n" + std::string(100000, 'x'), Then::stall}}));
    ScriptServer chunked(
        serve({{"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n" + chunk + chunk + chunk,
                Then::stall}}));
    ScriptServer huge_length(
        serve({{"HTTP/1.1 200 OK\r\nContent-Length: 200000000\r\n\r\nxyz", Then::stall}}));
    for (ScriptServer* server : {&until_close, &chunked, &huge_length}) {
        Relay client;
        client.MaxResponseSize = 64 * 1024;
        const auto error = raised_by<EHttpResponseTooLarge>(client, server->url("/"));
        EXPECT_STREQ(error.what(), "Response too large: the body exceeds the limit of 65536 bytes");
    }
    // The default limit, 16 MiB, refuses a length over it before reading.
    ScriptServer over_default(serve(
        {{"HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(16 * 1024 * 1024 + 1) + "\r\n\r\n",
          Then::stall}}));
    Relay client;
    EXPECT_THROW(client.Get(over_default.url("/")), EHttpResponseTooLarge);
}

TEST(HttpGet, ABodyOfExactlyMaxResponseSizeIsWhole) {
    const std::string body(1000, 'b');
    ScriptServer server(serve({{ok(body)}, {"HTTP/1.1 200 OK\r\n\r\n" + body, Then::close}}));
    Relay client;
    client.MaxResponseSize = 1000;
    EXPECT_EQ(client.Get(server.url("/")), body);
    EXPECT_EQ(client.Get(server.url("/")), body);
    EXPECT_EQ(client.WithSameSettings()->MaxResponseSize, 1000u);
}

TEST(HttpGet, ASilentServerEndsWithReadTimeout) {
    ScriptServer server([](Peer& peer) {
        peer.read_request();
        peer.stall();
    });
    Relay client;
    client.ReadTimeout = 200;
    EXPECT_STREQ(raised_by<EHttpReadTimeout>(client, server.url("/")).what(), "Read Timeout");
}

TEST(HttpGet, ServerClosingBeforeTheStatusLineIsConnectionClosed) {
    ScriptServer server([](Peer& peer) {
        peer.read_request();
        peer.send("HTTP/1.1 2");
    });
    Relay client;
    EXPECT_STREQ(raised_by<EHttpConnectionClosed>(client, server.url("/")).what(),
                 "Connection closed by peer.");
}

TEST(HttpGet, OverlongStatusLineIsLineTooLong) {
    ScriptServer server([](Peer& peer) {
        peer.read_request();
        peer.send("HTTP/1.1 200 " + std::string(40000, 'x') + "\r\n\r\n");
        peer.stall();
    });
    Relay client;
    EXPECT_STREQ(raised_by<EHttpLineTooLong>(client, server.url("/")).what(),
                 "Max line length exceeded.");
}

std::uint16_t closed_port() {
    return ScriptServer([](Peer&) {}).port(); // the listener is gone with the server
}

TEST(HttpGet, RefusedConnectionIsASocketErrorOrWithATimeOutConnectFailed) {
    const std::uint16_t port = closed_port();
    const std::string url = "http://127.0.0.1:" + std::to_string(port) + "/";
    THttpClient unbounded;
    const auto socket_error = raised_by<EHttpSocketError>(unbounded, url);
    EXPECT_EQ(std::string(socket_error.what()),
              "Socket Error # " + std::to_string(socket_error.code()) + "\r\nConnection refused.");
    Relay bounded;
    const auto failed = raised_by<EHttpConnectFailed>(bounded, url);
    EXPECT_NE(std::string(failed.what()).find("\r\nConnection refused."), std::string::npos);
}

TEST(HttpGet, SchemesWithoutTransportFail) {
    Relay client;
    EXPECT_STREQ(raised_by<EHttpNoSecureTransport>(client, "https://127.0.0.1/").what(),
                 "No secure transport available");
    EXPECT_THROW(client.Get("gopher://127.0.0.1/"), EHttpUnknownProtocol);
}

TEST(HttpGet, CookiesGoBackOnlyFromTheObjectThatReceivedThem) {
    ScriptServer server(serve({{response("HTTP/1.1 200 OK\r\nSet-Cookie: user%5Fid=77; path=/\r\n"
                                         "Set-Cookie: empty=; path=/\r\n",
                                         "")},
                               {kOk},
                               {kOk}}));
    Relay monitor;
    Relay timer;
    EXPECT_EQ(monitor.CookieManager(), nullptr);
    monitor.Get(server.url("/login"));
    ASSERT_NE(monitor.CookieManager(), nullptr);
    monitor.Get(server.url("/monitor/"));
    timer.Get(server.url("/member/timer.asp"));
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].find("Cookie:"), std::string::npos);
    EXPECT_NE(requests[1].find("\r\nCookie: user%5Fid=77\r\n"), std::string::npos);
    EXPECT_EQ(requests[2].find("Cookie:"), std::string::npos);
}

TEST(HttpGet, WithoutAllowCookiesNothingIsStoredOrSent) {
    ScriptServer server(
        serve({{response("HTTP/1.1 200 OK\r\nSet-Cookie: a=1; path=/\r\n", "")}, {kOk}}));
    Relay client;
    client.AllowCookies = false;
    client.Get(server.url("/"));
    client.Get(server.url("/"));
    EXPECT_EQ(client.CookieManager(), nullptr);
    EXPECT_EQ(server.requests()[1].find("Cookie:"), std::string::npos);
}

TEST(HttpGet, ChangingHostOrPortClosesTheConnection) {
    ScriptServer first(serve({{kOk}, {kOk}}));
    ScriptServer second(serve({{kOk}}));
    Relay client;
    client.Get(first.url("/"));
    client.Get(second.url("/"));
    client.Get(first.url("/"));
    EXPECT_EQ(first.connections(), 2);
    EXPECT_EQ(second.connections(), 1);
}

TEST(HttpGet, AbortFromAnotherThreadEndsAWaitAtOnce) {
    ScriptServer server([](Peer& peer) {
        peer.read_request();
        peer.stall();
    });
    THttpClient client; // ReadTimeout 0: it would wait forever
    auto get = std::async(std::launch::async, [&] { client.Get(server.url("/")); });
    while (server.requests().empty()) {
        std::this_thread::sleep_for(5ms);
    }
    client.Abort();
    ASSERT_EQ(get.wait_for(5s), std::future_status::ready);
    EXPECT_THROW(get.get(), EHttpAborted);
    EXPECT_THROW(client.Get(server.url("/")), EHttpAborted);
}

TEST(HttpGet, AbortEndsAGetThatIsStillLookingUpTheHost) {
    platform::net::testing::BlockedLookup lookup;
    {
        THttpClient client; // ReadTimeout 0: nothing else would end the lookup
        auto get = std::async(std::launch::async, [&] { client.Get("http://relay.test/"); });
        ASSERT_TRUE(lookup.wait_started(1));
        client.Abort();
        ASSERT_TRUE(lookup.returns_while_blocked(get)) << "the abort waited for the lookup";
        EXPECT_THROW(get.get(), EHttpAborted);
    }
    // The client is gone; its lookup ends afterwards without it.
    lookup.release();
    EXPECT_TRUE(lookup.wait_ended(1));
}

TEST(HttpGet, ALookupThatGetsNoAnswerEndsWithTheConnectTimeOut) {
    platform::net::testing::BlockedLookup lookup;
    Relay client;
    client.ReadTimeout = 300;
    auto get = std::async(std::launch::async, [&] { client.Get("http://relay.test/"); });
    ASSERT_TRUE(lookup.returns_while_blocked(get)) << "the lookup was not bounded";
    try {
        get.get();
        ADD_FAILURE() << "no error";
    } catch (const EHttpConnectTimeout& error) {
        EXPECT_STREQ(error.what(), "Connect timed out.");
    }
}

TEST(HttpGet, ALookedUpHostIsConnectedTo) {
    ScriptServer server(serve({{kOk}}));
    const platform::net::ScopedNameLookup lookup([](const std::string& host) -> std::uint32_t {
        EXPECT_EQ(host, "relay.test");
        return 0x7F000001;
    });
    Relay client;
    EXPECT_EQ(client.Get("http://relay.test:" + std::to_string(server.port()) + "/"), "ok");
}

TEST(HttpGet, WithSameSettingsCopiesSettingsButNoCookies) {
    ScriptServer server(
        serve({{response("HTTP/1.1 200 OK\r\nSet-Cookie: a=1; path=/\r\n", "")}, {kOk}}));
    Relay client;
    client.RedirectMaximum = 4;
    client.Get(server.url("/"));
    const auto fresh = client.WithSameSettings();
    EXPECT_TRUE(fresh->HandleRedirects);
    EXPECT_EQ(fresh->ReadTimeout, 9000);
    EXPECT_EQ(fresh->RedirectMaximum, 4);
    EXPECT_EQ(fresh->CookieManager(), nullptr);
}

} // namespace
} // namespace qirelo::http
