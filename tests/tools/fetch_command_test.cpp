// qirelo-tool fetch and header-date, in-process, against scripted loopback
// servers (libcurl natively, WinInet under Wine).

#include "tests/http/support/script_server.h"
#include "tests/tools/tool_run.h"
#include "upgrade/header_date.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace qirelo::tools {
namespace {

using http::testing::Peer;
using http::testing::response;
using http::testing::ScriptServer;
using http::testing::serve;
using http::testing::Then;
using testing::tool;
using testing::ToolRun;

TEST(ToolFetch, PrintsEveryNotificationInOrder) {
    const std::string body(5000, 'q');
    ScriptServer server(serve({{response("HTTP/1.1 200 OK\r\nContent-Type: application/x-qirelo\r\n"
                                         "Last-Modified: Sun, 06 Nov 1994 08:49:37 GMT\r\n",
                                         body)}}));
    const ToolRun run = tool({"fetch", server.url("/setup/f.bin")});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    // Last-Modified is printed in local time; the test's zone may be any.
    const std::string local = run.out.substr(run.out.find("last-modified=") + 14, 19);
    EXPECT_EQ(run.out,
              "OnHeaderInfo status=200 length=5000 type=application/x-qirelo location= "
              "last-modified=" +
                  local +
                  "\n"
                  "OnTransferProgress done=4096 total=5000 percent=82\n"
                  "OnTransferProgress done=5000 total=5000 percent=100\n"
                  "OnDone type=application/x-qirelo bytes=5000 "
                  "data-sha256=b816f164e03902a3f3fcb3242442143910cbcf15f411541ba28f27acad92bb76\n");
}

TEST(ToolFetch, ReportsFailuresAsTheirNotifications) {
    ScriptServer server(
        serve({{response("HTTP/1.1 404 Not Found\r\n", "")},
               {"HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nshort", Then::close}}));
    EXPECT_EQ(tool({"fetch", "--buffer", "100000", server.url("/a")}).out,
              "OnHeaderInfo status=404 length=0 type= location= last-modified=0\n"
              "OnHTTPError status=404\nOnTransferEnd\n");
    EXPECT_EQ(tool({"fetch", "--buffer", "100000", server.url("/b")}).out,
              "OnHeaderInfo status=200 length=100 type= location= last-modified=0\n"
              "OnTransferProgress done=5 total=100 percent=5\n"
              "OnIncomplete length=100 read=5\nOnTransferEnd\n");
    std::string refused;
    {
        ScriptServer gone(serve({}));
        refused = gone.url("/x");
    }
    const ToolRun run = tool({"fetch", refused});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "OnNoResponse\nOnTransferEnd\n");
}

// 401 until the Basic credentials u:p come.
void ask_for_u_p(Peer& peer) {
    while (const auto request = peer.read_request()) {
        const bool right = request->find("Authorization: Basic dTpw\r\n") != std::string::npos;
        peer.send(right ? response("HTTP/1.1 200 OK\r\n", "ok")
                        : response("HTTP/1.1 401 Unauthorized\r\nWWW-Authenticate: Basic "
                                   "realm=\"Qirelo\"\r\n",
                                   ""));
    }
}

TEST(ToolFetch, AnswersAPasswordRequestOnceWithTheGivenCredentials) {
    ScriptServer server(ask_for_u_p);
    const std::string out = tool({"fetch", "--user", "u", "--password", "p", server.url("/")}).out;
    EXPECT_EQ(out.substr(0, out.find('\n')), "OnTransferPasswordRequest realm=Qirelo");
    EXPECT_NE(out.find("OnDone type= bytes=2 data-sha256="), std::string::npos) << out;

    // A server of its own: WinInet remembers good credentials per server for
    // the rest of the process.
    ScriptServer other(ask_for_u_p);
    const std::string wrong = tool({"fetch", "--user", "u", "--password", "x", other.url("/")}).out;
    EXPECT_NE(wrong.find("OnTransferPasswordRequest realm=Qirelo\n"
                         "OnTransferPasswordRequest realm=Qirelo\n"
                         "OnHeaderInfo status=401"),
              std::string::npos)
        << "asked a second time, it declines: [" << wrong << "]";
    EXPECT_NE(wrong.find("OnHTTPError status=401\nOnTransferEnd\n"), std::string::npos);
}

TEST(ToolFetch, WritesTheBodyToTheOutputFile) {
    const std::string body(20000, 'z');
    ScriptServer server(serve({{response("HTTP/1.1 200 OK\r\n", body)}}));
    const auto path = std::filesystem::temp_directory_path() / "qirelo_tool_fetch_test.bin";
    const ToolRun run = tool({"fetch", "--output", path.string(), server.url("/")});
    EXPECT_NE(run.out.find("OnDone type= bytes=20000\n"), std::string::npos) << run.out;
    EXPECT_EQ(std::filesystem::file_size(path), body.size());
    std::filesystem::remove(path);
}

TEST(ToolFetch, UsageErrorsExitOne) {
    EXPECT_EQ(tool({"fetch"}).status, 1);
    EXPECT_EQ(tool({"fetch", "--buffer", "0", "http://h/"}).status, 1);
    EXPECT_EQ(tool({"fetch", "--bogus", "http://h/"}).status, 1);
    EXPECT_EQ(tool({"fetch", "http://a/", "http://b/"}).status, 1);
    EXPECT_NE(tool({"fetch", "--help"}).out.find("OnTransferPasswordRequest realm=<text>"),
              std::string::npos);
}

TEST(ToolHeaderDate, PrintsUtcOrZero) {
    EXPECT_EQ(tool({"header-date", "Sunday, 06-Nov-94 08:49:37 GMT"}).out, "1994-11-06 08:49:37\n");
    EXPECT_EQ(tool({"header-date", "Sun, 06 Nov 1994 08:49:37 +0200"}).out,
              "1994-11-06 06:49:37\n");
    const ToolRun unreadable = tool({"header-date", "06 Smarch 1994"});
    EXPECT_EQ(unreadable.status, 0);
    EXPECT_EQ(unreadable.out, "0\n");
    EXPECT_EQ(tool({"header-date"}).status, 2);
    EXPECT_EQ(tool({"header-date", "a", "b"}).status, 2);
}

} // namespace
} // namespace qirelo::tools
