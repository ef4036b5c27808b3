// The companion as a browser or script sees it: every request made by the
// curl program against an in-process companion on ephemeral ports.

#include "devsite/companion.h"
#include "platform/profile/codepage.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>
#include <thread>

namespace qirelo::devsite {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

struct Run {
    int exit_code = -1;
    std::string output; // stdout and stderr
};

// Runs curl with the arguments (written for the shell) and returns what it printed.
Run curl(const std::string& arguments) {
    Run run;
    std::string command = "curl --silent --show-error --max-time 10 " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return run;
    char chunk[4096];
    while (auto got = std::fread(chunk, 1, sizeof chunk, pipe))
        run.output.append(chunk, got);
    int status = pclose(pipe);
    run.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

double number(const std::string& text) {
    std::size_t used = 0;
    double value = std::stod(text, &used);
    EXPECT_EQ(used, text.size()) << "not only a number: [" << text << "]";
    return value;
}

class CurlTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (curl("--version").exit_code != 0)
            GTEST_SKIP() << "curl is not installed";
    }

    std::string url(std::uint16_t port, const std::string& path) {
        return "'http://127.0.0.1:" + std::to_string(port) + path + "'";
    }

    Companion companion{ephemeral_options()};
    const Addresses& ports = companion.addresses();
};

TEST_F(CurlTest, LoginSetsTheMemberCookieBeforeAnotherOne) {
    auto run = curl("--include --data 'username=demo&password=qirelo' " +
                    url(ports.site, "/jysc/checklogin.asp"));
    ASSERT_EQ(run.exit_code, 0) << run.output;
    auto member = run.output.find("Set-Cookie: user%5Fid=10001; path=/\r\n");
    auto other = run.output.find("Set-Cookie: ", member + 1);
    EXPECT_NE(member, std::string::npos) << run.output;
    EXPECT_NE(other, std::string::npos);
    EXPECT_LT(member, other);
}

TEST_F(CurlTest, LoginFailureSetsNoCookie) {
    auto run = curl("--include --data 'username=demo&password=nope' " +
                    url(ports.site, "/jysc/checklogin.asp"));
    EXPECT_THAT(run.output, StartsWith("HTTP/1.1 200 OK"));
    EXPECT_THAT(run.output, HasSubstr("登录失败"));
    EXPECT_EQ(run.output.find("Set-Cookie"), std::string::npos);
}

TEST_F(CurlTest, AMobileTapReachesTheRelayWithAFreshStamp) {
    auto tap = curl("--output /dev/null --write-out '%{http_code}' --cookie 'user%5Fid=10001' "
                    "--data 'action=G&dir=%2B&count=3' " +
                    url(ports.mobile, "/send"));
    EXPECT_EQ(tap.output, "303");
    auto record = curl(url(ports.relay, "/monitor/10001.jpg")).output;
    auto timer = curl(url(ports.timer, "/member/timer.asp")).output;
    auto bar = record.find('|');
    ASSERT_NE(bar, std::string::npos) << record;
    EXPECT_EQ(record.substr(bar + 1), "G+3");
    double age = number(timer) - number(record.substr(0, bar));
    EXPECT_GE(age, 0);
    EXPECT_LT(age, 11);
}

TEST_F(CurlTest, TheRelayAnswersAnEmptyRecordForAMemberWithoutOne) {
    auto run = curl("--include " + url(ports.relay, "/monitor/10001.jpg"));
    EXPECT_THAT(run.output, StartsWith("HTTP/1.1 200 OK"));
    EXPECT_THAT(run.output, HasSubstr("Content-Length: 0\r\n"));
}

TEST_F(CurlTest, TheRelayKeepsTheConnectionAlive) {
    auto address = url(ports.relay, "/monitor/10001.jpg");
    auto run = curl("--verbose " + address + " " + address);
    EXPECT_THAT(run.output, HasSubstr("Re-using existing connection"));
    EXPECT_EQ(companion.state().requests.list().size(), 2u);
}

TEST_F(CurlTest, TheTimerNumberAdvances) {
    auto first = number(curl(url(ports.timer, "/member/timer.asp")).output);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    auto second = number(curl(url(ports.timer, "/member/timer.asp")).output);
    EXPECT_GT(second, first);
}

TEST_F(CurlTest, TheInfoFileAndItsOverride) {
    auto info = url(ports.site, "/setup/qirelo_play.inf");
    auto original = curl(info).output;
    EXPECT_THAT(original, HasSubstr("#version=2013.8.9.0\r\n#method=2\r\n#url=http://127.0.0.1:" +
                                    std::to_string(ports.site) + "/setup/\r\n"));
    EXPECT_THAT(original, HasSubstr(platform::strict_gb_from_utf8("最新版")));
    curl("--request PUT --data-binary '#version=2014.1.1.0' " + url(ports.control, "/info"));
    EXPECT_EQ(curl(info).output, "#version=2014.1.1.0");
    curl("--request DELETE " + url(ports.control, "/info"));
    EXPECT_EQ(curl(info).output, original);
}

TEST_F(CurlTest, ThePlayPagesReportsAreReadBack) {
    auto page = curl(url(ports.site, "/m0321/play5.html")).output;
    EXPECT_THAT(page, HasSubstr("<title>《山海长歌》第5集"));
    // Posted as the page's script does it.
    curl("--data 'page=%2Fm0321%2Fplay5.html&kind=key&detail=Escape' " +
         url(ports.site, "/player/report"));
    curl("--data 'page=%2Fm0321%2Fplay5.html&kind=dblclick&detail=x%3D9%2Cy%3D9' " +
         url(ports.site, "/player/report"));
    auto events = curl(url(ports.control, "/events")).output;
    EXPECT_THAT(events, HasSubstr("\"kind\":\"key\",\"detail\":\"Escape\""));
    EXPECT_THAT(events, HasSubstr("\"kind\":\"dblclick\",\"detail\":\"x=9,y=9\""));
}

TEST_F(CurlTest, BadRequestsAreRefused) {
    auto code = [&](const std::string& arguments) {
        return curl("--output /dev/null --write-out '%{http_code}' " + arguments).output;
    };
    EXPECT_EQ(code(url(ports.site, "/no/such/page")), "404");
    EXPECT_EQ(code("--header 'X-Big: " + std::string(20000, 'a') + "' " + url(ports.site, "/")),
              "431");
    auto big = std::filesystem::temp_directory_path() / "qirelo-devsite-curl-big-body";
    std::ofstream(big) << std::string(100000, 'b');
    EXPECT_EQ(code("--data-binary @" + big.string() + " " + url(ports.site, "/")), "413");
    std::filesystem::remove(big);
    EXPECT_EQ(code("--header 'Transfer-Encoding: chunked' --data x " + url(ports.site, "/")),
              "501");
    EXPECT_EQ(code("--request PUT --data-binary '12|F\n' " + url(ports.control, "/records/10001")),
              "400");
    EXPECT_EQ(code("--request PUT --data-binary '12F' " + url(ports.control, "/records/10001")),
              "400");
    EXPECT_EQ(code(url(ports.site, "/%zz")), "400");
}

} // namespace
} // namespace qirelo::devsite
