// qirelo-tool check-update, in-process, against scripted loopback update
// servers (libcurl natively, WinInet under Wine).

#include "tests/http/support/script_server.h"
#include "tests/tools/tool_run.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace qirelo::tools {
namespace {

using http::testing::response;
using http::testing::ScriptServer;
using http::testing::serve;
using http::testing::Then;
using ::testing::AllOf;
using ::testing::ElementsAre;
using ::testing::EndsWith;
using ::testing::StartsWith;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t from = 0;
    for (std::size_t end = text.find('\n'); end != std::string::npos;
         from = end + 1, end = text.find('\n', from)) {
        lines.push_back(text.substr(from, end - from));
    }
    return lines;
}
using testing::tool;
using testing::ToolRun;

const std::string kNewer = "#version=2013.8.10\r\n#method=2\r\n#message={get it\r\nnow}\r\n"
                           "#url=http://127.0.0.1:12860/setup/\r\n";

TEST(ToolCheckUpdate, ANewerVersionPrintsTheEventTheOpeningAndTrue) {
    ScriptServer server(serve({{response("HTTP/1.1 200 OK\r\n", kNewer)}}));
    const ToolRun run = tool({"check-update", server.url("/setup/qirelo_play.inf")});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    // The browser is the machine's own, so only its line's shape is known.
    EXPECT_THAT(Lines(run.out),
                ElementsAre(R"(event OnBeginUpgrade 2 1 get it\r\nnow)",
                            AllOf(StartsWith("open "), EndsWith(" http://127.0.0.1:12860/setup/")),
                            "result=true"));
}

// Without the program's windows nobody answers the question: put off.
TEST(ToolCheckUpdate, AQuestionPutsTheUpgradeOff) {
    ScriptServer server(serve({{response("HTTP/1.1 200 OK\r\n", kNewer)}}));
    const ToolRun run =
        tool({"check-update", "--show", "mAskUpgrade", server.url("/setup/qirelo_play.inf")});
    EXPECT_THAT(Lines(run.out), ElementsAre(StartsWith("event OnBeginUpgrade"),
                                            "event OnLaterUpgrade", "result=true"));
}

TEST(ToolCheckUpdate, FailuresPrintTheirEventAndTheBoxesAskedFor) {
    ScriptServer same(
        serve({{response("HTTP/1.1 200 OK\r\n", "#version=2013.8.9.0\r\n#url=x\r\n")}}));
    EXPECT_EQ(tool({"check-update", "--version", "2013.8.9", same.url("/i.inf")}).out,
              "event OnNoUpdateAvailable\nresult=false\n");

    ScriptServer broken(
        serve({{"HTTP/1.1 200 OK\r\nContent-Length: 900\r\n\r\n" + kNewer, Then::close}}));
    EXPECT_EQ(tool({"check-update", broken.url("/i.inf")}).out,
              "event OnConnLost\nbox 30 error\nresult=false\n");

    ScriptServer missing(serve({{response("HTTP/1.1 404 Not Found\r\n", "gone")}}));
    EXPECT_EQ(tool({"check-update", "--show", "mNoInfoFile", missing.url("/i.inf")}).out,
              "event OnNoInfoFile\nbox 25 error\nresult=false\n");

    std::string refused;
    {
        ScriptServer gone(serve({}));
        refused = gone.url("/i.inf");
    }
    EXPECT_EQ(tool({"check-update", "--show", "", refused}).out,
              "event OnHostUnreachable " + refused + " 127.0.0.1\nresult=false\n");
    EXPECT_EQ(tool({"check-update", "--show", "mHostUnreachable", refused}).out,
              "event OnHostUnreachable " + refused + " 127.0.0.1\nbox 26 error\nresult=false\n");
}

TEST(ToolCheckUpdate, UsageErrors) {
    EXPECT_EQ(tool({"check-update"}).status, 2);
    EXPECT_EQ(tool({"check-update", "--show", "mConnLost,mBogus", "http://x/"}).status, 2);
    EXPECT_EQ(tool({"check-update", "--version"}).status, 2);
    EXPECT_EQ(tool({"check-update", "http://a/", "http://b/"}).status, 2);
    EXPECT_EQ(tool({"check-update", "--quiet", "http://a/"}).status, 2);
}

} // namespace
} // namespace qirelo::tools
