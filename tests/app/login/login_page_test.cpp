#include "app/login/login_page.h"
#include "platform/profile/codepage.h"
#include "text/html.h"

#include <gtest/gtest.h>

namespace qirelo::app::login {
namespace {

using platform::gb;

const std::string kHead = gb("about:<head><title>自动登录</title></head><body>Qirelo在线登录中..");

TEST(BuildLoginPage, PlainNameAndPasswordGiveThePageByteForByte) {
    EXPECT_EQ(BuildLoginPage("127.0.0.1:12860", "member1", "pa55word"),
              kHead + "<form style=\"display:none\" name=\"form1\" "
                      "action=\"http://127.0.0.1:12860/jysc/checklogin.asp\" method=post> "
                      "<input type=\"input\" name=\"username\" value=\"member1\">"
                      "<input type=\"password\" name=\"password\" value=\"pa55word\"></form>"
                      "<script>form1.submit()</script></body>");
}

TEST(BuildLoginPage, ChineseNameGoesInUnchanged) {
    const std::string name = gb("张三");
    EXPECT_NE(BuildLoginPage("site", name, "x").find("value=\"" + name + "\">"), std::string::npos);
}

TEST(BuildLoginPage, MarkupInNameOrPasswordStaysInertInsideTheAttribute) {
    const std::string page = BuildLoginPage("site", "a\"><script>alert(1)</script>", "p'&<b>\"");
    EXPECT_EQ(page.find("<script>alert"), std::string::npos);
    EXPECT_NE(page.find("value=\"a&quot;&gt;&lt;script&gt;alert(1)&lt;/script&gt;\">"),
              std::string::npos);
    EXPECT_NE(page.find("value=\"p&#39;&amp;&lt;b&gt;&quot;\"></form>"), std::string::npos);
    // Only the page's own script and quotes remain.
    EXPECT_EQ(page.find("<script>"), page.rfind("<script>"));
}

TEST(LoginPageEscaping, KeepsGb2312BytesAndPlainTextAsTheyAre) {
    const std::string text = gb("张三") + " abc 123 %#;=";
    EXPECT_EQ(text::html_escape(text), text);
}

} // namespace
} // namespace qirelo::app::login
