#include "devsite/http/text_codec.h"

#include "support.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace qirelo::devsite {
namespace {

using test_support::parse_request;
using test_support::post_form;

TEST(ParseForm, DecodesPlusAndEscapesAndKeepsTheFirstOfARepeatedName) {
    auto fields = parse_form("a=x+y%21&b&a=second&c=%E4%BC%9A&&");
    EXPECT_EQ(fields["a"], "x y!");
    EXPECT_EQ(fields["b"], "");
    EXPECT_EQ(fields["c"], "\xE4\xBC\x9A");
    EXPECT_THROW(parse_form("a=%4"), HttpRequestError);
}

TEST(RequestFields, APostedFormWinsOverTheQueryButOtherBodiesAreNotFields) {
    auto form = request_fields(post_form("/x?a=query&b=only", "a=body"));
    EXPECT_EQ(form["a"], "body");
    EXPECT_EQ(form["b"], "only");
    auto text = request_fields(parse_request("POST /x?a=query HTTP/1.1\r\nHost: h\r\nContent-Type: "
                                             "text/plain\r\nContent-Length: 6\r\n\r\na=body"));
    EXPECT_EQ(text["a"], "query");
}

TEST(RequestCookies, ReadsEveryCookieHeader) {
    auto cookies = request_cookies(parse_request(
        "GET / HTTP/1.1\r\nHost: h\r\nCookie: user%5Fid=7; b=2\r\ncookie: c=3;d\r\n\r\n"));
    EXPECT_EQ(cookies["user%5Fid"], "7");
    EXPECT_EQ(cookies["b"], "2");
    EXPECT_EQ(cookies["c"], "3");
    EXPECT_EQ(cookies.count("d"), 0u);
}

TEST(PercentEncode, EncodesAllButLettersAndDigitsAsTheSiteDoes) {
    EXPECT_EQ(percent_encode("user_id"), "user%5Fid");
    EXPECT_EQ(percent_encode("a b;\xBB"), "a%20b%3B%BB");
}

TEST(Escaping, HtmlAndJsonSurviveHostileText) {
    EXPECT_EQ(html_escape("<a href=\"x\">&'"), "&lt;a href=&quot;x&quot;&gt;&amp;&#39;");
    EXPECT_EQ(json_string("q\"\\\n\x01"), "\"q\\\"\\\\\\n\\u0001\"");
    EXPECT_EQ(json_string("会"), "\"会\"");
    // A GB2312 byte pair is no UTF-8: each byte is written as an escape.
    EXPECT_EQ(json_string("\xBB\xE1"), "\"\\u00bb\\u00e1\"");
}

} // namespace
} // namespace qirelo::devsite
