// qirelo-tool get, run in-process against scripted loopback servers.

#include "tests/http/support/script_server.h"
#include "tests/tools/tool_run.h"

#include <gtest/gtest.h>

namespace qirelo::tools {
namespace {

using http::testing::Peer;
using http::testing::response;
using http::testing::ScriptServer;
using http::testing::serve;
using testing::tool;
using testing::ToolRun;

TEST(ToolGet, WritesEveryBodyRawInOrderOverOneClient) {
    ScriptServer server(
        serve({{response("HTTP/1.1 200 OK\r\nSet-Cookie: s=1; path=/\r\n", "one\r\n")},
               {response("HTTP/1.1 200 OK\r\n", std::string("t\0wo", 4))}}));
    const ToolRun run = tool({"get", server.url("/a"), server.url("/b")});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, std::string("one\r\nt\0wo", 9));
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(server.connections(), 1);
    EXPECT_NE(server.requests()[1].find("\r\nCookie: s=1\r\n"), std::string::npos);
}

TEST(ToolGet, StopsAtTheFirstErrorWithOneLineOnStderr) {
    ScriptServer server(serve({{response("HTTP/1.1 200 OK\r\n", "first")},
                               {response("HTTP/1.1 404 Not Found\r\n", "gone")},
                               {response("HTTP/1.1 200 OK\r\n", "never")}}));
    const ToolRun run = tool({"get", server.url("/1"), server.url("/2"), server.url("/3")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "first");
    EXPECT_EQ(run.err, "EHttpProtocolError: HTTP/1.1 404 Not Found\n");
    EXPECT_EQ(server.requests().size(), 2u);
}

TEST(ToolGet, FollowsRedirectsUnlessToldNot) {
    const std::string moved = response("HTTP/1.1 302 Found\r\nLocation: /there\r\n", "");
    ScriptServer server(serve({{moved}, {response("HTTP/1.1 200 OK\r\n", "there")}, {moved}}));
    EXPECT_EQ(tool({"get", server.url("/")}).out, "there");
    const ToolRun run = tool({"get", "--no-redirects", server.url("/")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "EHttpProtocolError: HTTP/1.1 302 Found\n");
}

TEST(ToolGet, ReadTimeoutOptionBoundsTheWait) {
    ScriptServer server([](Peer& peer) {
        peer.read_request();
        peer.stall();
    });
    const ToolRun run = tool({"get", "--read-timeout", "100", server.url("/")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "EHttpReadTimeout: Read Timeout\n");
}

TEST(ToolGet, LineBreaksInMessagesAreWrittenAsEscapes) {
    const std::uint16_t port = ScriptServer([](Peer&) {}).port();
    const ToolRun run =
        tool({"get", "--read-timeout", "0", "http://127.0.0.1:" + std::to_string(port)});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.starts_with("EHttpSocketError: Socket Error # ")) << run.err;
    EXPECT_TRUE(run.err.ends_with("\\r\\nConnection refused.\n")) << run.err;
}

TEST(ToolGet, UsageErrorsExitWithTwo) {
    EXPECT_EQ(tool({"get"}).status, 2);
    EXPECT_EQ(tool({"get", "--read-timeout"}).status, 2);
    EXPECT_EQ(tool({"get", "--read-timeout", "soon", "http://127.0.0.1/"}).status, 2);
    EXPECT_EQ(tool({"get", "--bogus", "http://127.0.0.1/"}).status, 2);
    EXPECT_EQ(tool({"no-such-command"}).status, 2);
    EXPECT_EQ(tool({}).status, 2);
}

TEST(Tool, HelpListsTheCommandsAndEachCommandHasItsOwn) {
    const ToolRun overview = tool({"--help"});
    EXPECT_EQ(overview.status, 0);
    EXPECT_NE(overview.out.find("  get "), std::string::npos);
    const ToolRun get_help = tool({"get", "--help"});
    EXPECT_EQ(get_help.status, 0);
    EXPECT_TRUE(get_help.out.starts_with("usage: qirelo-tool get"));
    EXPECT_EQ(tool({"help", "get"}).out, get_help.out);
}

} // namespace
} // namespace qirelo::tools
