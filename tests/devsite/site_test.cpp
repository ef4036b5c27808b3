#include "devsite/http/text_codec.h"
#include "devsite/site/site.h"
#include "devsite/stores/catalogue.h"
#include "platform/profile/codepage.h"

#include "support.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace qirelo::devsite {
namespace {

using namespace test_support;
using ::testing::HasSubstr;
using ::testing::Not;

class SiteTest : public ::testing::Test {
protected:
    SiteTest() { state.addresses = {"127.0.0.1", 12860, 12861, 12862, 12863, 12864}; }

    Response site(const Request& request) { return handle_site(state, request); }

    SiteState state;
};

TEST_F(SiteTest, LoginSetsTheMemberCookieFirstSoTheClientReadsTheId) {
    auto response = site(post_form("/jysc/checklogin.asp", "username=demo&password=qirelo"));
    EXPECT_EQ(response.status, 200);
    auto cookies = set_cookies(response);
    ASSERT_GE(cookies.size(), 2u);
    EXPECT_EQ(cookies[0], "user%5Fid=10001; path=/");
    auto cookie = document_cookie(response);
    EXPECT_EQ(cookie.find("user%5Fid=10001;"), 0u) << cookie;
    EXPECT_EQ(client_member_id(cookie), "10001");
    EXPECT_THAT(response.body, HasSubstr("会员中心"));
}

TEST_F(SiteTest, LoginReadsTheClientsGb2312Form) {
    auto member = state.register_member("会员甲", "密码123");
    auto name = percent_encode(platform::strict_gb_from_utf8("会员甲"));
    auto password = percent_encode(platform::strict_gb_from_utf8("密码123"));
    auto response =
        site(post_form("/jysc/checklogin.asp", "username=" + name + "&password=" + password));
    EXPECT_EQ(client_member_id(document_cookie(response)), member.id);
}

TEST_F(SiteTest, FailedLoginShowsAnErrorAndSetsNoCookie) {
    for (std::string body :
         {"username=demo&password=wrong", "username=demo", "", "username=%FF%FF&password=qirelo"}) {
        auto response = site(post_form("/jysc/checklogin.asp", body));
        EXPECT_EQ(response.status, 200);
        EXPECT_THAT(response.body, HasSubstr("登录失败")) << body;
        EXPECT_TRUE(set_cookies(response).empty()) << body;
    }
}

TEST_F(SiteTest, RegistrationCreatesAMemberAndSignsItIn) {
    auto response = site(post_form("/jysc/reg2.asp", "username=newcomer&password=secret"));
    EXPECT_EQ(client_member_id(document_cookie(response)), "10002");
    EXPECT_TRUE(state.members.check_login("newcomer", "secret"));

    auto again = site(post_form("/jysc/reg2.asp", "username=newcomer&password=other"));
    EXPECT_THAT(again.body, HasSubstr("已被注册"));
    EXPECT_TRUE(set_cookies(again).empty());
    EXPECT_THAT(site(get("/jysc/reg2.asp")).body, HasSubstr("accept-charset=\"gb2312\""));
}

TEST_F(SiteTest, OneKeyLoginSignsTheDemoMemberInAfterOneClick) {
    auto page = site(get("/temp/redirect.asp"));
    EXPECT_TRUE(set_cookies(page).empty());
    EXPECT_THAT(page.body, HasSubstr("action=\"/temp/redirect.asp\""));
    auto click = site(post_form("/temp/redirect.asp", ""));
    EXPECT_EQ(client_member_id(document_cookie(click)), "10001");
}

TEST_F(SiteTest, LogoutExpiresBothCookies) {
    auto response = site(get("/jysc/logout.asp", "Cookie: user%5Fid=10001; user%5Fname=demo\r\n"));
    auto cookies = set_cookies(response);
    ASSERT_EQ(cookies.size(), 2u);
    for (const auto& cookie : cookies)
        EXPECT_THAT(cookie, HasSubstr("=; path=/; expires=Thu, 01 Jan 1970"));
    EXPECT_EQ(client_member_id(document_cookie(response)), "<none>");
}

TEST_F(SiteTest, HomePageGreetsASignedInMember) {
    EXPECT_THAT(site(get("/")).body, HasSubstr("/jysc/checklogin.asp"));
    EXPECT_THAT(site(get("/", "Cookie: user%5Fid=10001\r\n")).body, HasSubstr("欢迎，demo"));
    EXPECT_THAT(site(get("/", "Cookie: user%5Fid=99999\r\n")).body,
                HasSubstr("/jysc/checklogin.asp"));
}

TEST_F(SiteTest, PlayPagesOfBothFormsNameTheVideo) {
    auto a = site(get("/m0321/play5.html"));
    EXPECT_EQ(a.status, 200);
    EXPECT_THAT(a.body, HasSubstr("<title>《山海长歌》第5集"));
    EXPECT_THAT(find_header(a.headers, "Content-Type").value_or(""), HasSubstr("charset=utf-8"));
    auto b = site(get("/m/play_web.asp?id=678&play=2"));
    EXPECT_THAT(b.body, HasSubstr("<title>《江湖夜雨（网络版）》第2集"));
    EXPECT_THAT(site(get("/m077/play1.html")).body, HasSubstr("视频77"));
}

TEST_F(SiteTest, PlayPageAddressesAreWhatTheClientBuildsFromTheCommands) {
    // A: payload "<id>.<n>", first "." replaced by "/play"; B: first ".0-" by "&play=".
    EXPECT_EQ(play_command(find_video("321"), 5), "A321.5");
    EXPECT_EQ(play_page_address(find_video("321"), 5), "/m0321/play5.html");
    EXPECT_EQ(play_command(find_video("678"), 2), "B678.0-2");
    EXPECT_EQ(play_page_address(find_video("678"), 2), "/m/play_web.asp?id=678&play=2");
}

TEST_F(SiteTest, MalformedPlayPagesAreNotFound) {
    for (std::string target :
         {"/m0321/play.html", "/m0/play1.html", "/m0a.b/play1.html", "/m0321/play1.htm",
          "/m/play_web.asp?id=678", "/m/play_web.asp?id=<x>&play=1"})
        EXPECT_EQ(site(get(target)).status, 404) << target;
}

TEST_F(SiteTest, ThePlayerReportsToTheAddressAndFieldsTheServerReads) {
    auto page = site(get("/m0321/play1.html")).body;
    EXPECT_THAT(page, HasSubstr("'/player/report'"));
    EXPECT_THAT(page, HasSubstr("'page=' + encodeURIComponent(page) + '&kind='"));
    EXPECT_THAT(page, HasSubstr("var page = \"/m0321/play1.html\""));

    auto report =
        site(post_form("/player/report", "page=%2Fm0321%2Fplay1.html&kind=key&detail=Escape"));
    EXPECT_EQ(report.status, 204);
    site(post_form("/player/report", "page=p&kind=dblclick&detail=x%3D5%2Cy%3D6"));
    auto events = state.events.list();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].page, "/m0321/play1.html");
    EXPECT_EQ(events[0].detail, "Escape");
    EXPECT_EQ(events[1].detail, "x=5,y=6");

    EXPECT_EQ(site(post_form("/player/report", "page=p&detail=d")).status, 400);
    EXPECT_EQ(site(post_form("/player/report", "kind=k&detail=" + std::string(201, 'd'))).status,
              400);
    EXPECT_EQ(site(get("/player/report")).status, 405);
}

TEST_F(SiteTest, InfoFileAnnouncesTheClientsVersionWithTheRedirectMethod) {
    auto response = site(get("/setup/qirelo_play.inf"));
    EXPECT_EQ(response.status, 200);
    EXPECT_THAT(response.body, HasSubstr("#version=2013.8.9.0\r\n"));
    EXPECT_THAT(response.body, HasSubstr("#method=2\r\n"));
    EXPECT_THAT(response.body, HasSubstr("#url=http://127.0.0.1:12860/setup/\r\n"));
    EXPECT_THAT(response.body, HasSubstr(platform::strict_gb_from_utf8("下载安装最新版")));

    state.info.set("#version=2099.1.1.1\r\n#url=http://x/setup/");
    EXPECT_EQ(site(get("/setup/qirelo_play.inf")).body,
              "#version=2099.1.1.1\r\n#url=http://x/setup/");
    state.info.reset();
    EXPECT_THAT(site(get("/setup/qirelo_play.inf")).body, HasSubstr("#version=2013.8.9.0"));
}

TEST_F(SiteTest, SetupFolderAndUnknownPathsAndMethods) {
    auto redirect = site(get("/setup"));
    EXPECT_EQ(redirect.status, 303);
    EXPECT_EQ(find_header(redirect.headers, "Location").value_or(""), "/setup/");
    EXPECT_THAT(site(get("/setup/")).body, HasSubstr("2013.8.9.0"));
    EXPECT_EQ(site(get("/nothing")).status, 404);
    EXPECT_EQ(site(get("/setup/../etc/passwd")).status, 404);
    auto wrong = site(post_form("/", ""));
    EXPECT_EQ(wrong.status, 405);
    EXPECT_EQ(find_header(wrong.headers, "Allow").value_or(""), "GET, HEAD");
}

} // namespace
} // namespace qirelo::devsite
