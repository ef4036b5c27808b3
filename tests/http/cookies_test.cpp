#include "http/cookie_date.h"
#include "http/cookies.h"

#include <gtest/gtest.h>

namespace qirelo::http {
namespace {

constexpr std::int64_t kNow = 1'700'000'000; // 2023-11-14

TEST(ParseCookieDate, ReadsTheFormsServersSend) {
    const std::int64_t expected = seconds_since_epoch(2030, 1, 9, 10, 20, 30);
    EXPECT_EQ(parse_cookie_date("Wed, 09-Jan-2030 10:20:30 GMT"), expected);
    EXPECT_EQ(parse_cookie_date("Wed, 09 Jan 2030 10:20:30 GMT"), expected);
    EXPECT_EQ(parse_cookie_date("Wednesday, 09-Jan-30 10:20:30 GMT"), expected);
    EXPECT_EQ(parse_cookie_date("Wed Jan  9 10:20:30 2030"), expected);
    EXPECT_EQ(parse_cookie_date("Thu, 01-Jan-1970 00:00:00 GMT"), 0);
    EXPECT_EQ(parse_cookie_date("Sat, 29 Feb 2020 23:59:59 GMT"),
              seconds_since_epoch(2020, 3, 1, 0, 0, 0) - 1);
}

TEST(ParseCookieDate, RefusesWhatIsNoDate) {
    EXPECT_FALSE(parse_cookie_date(""));
    EXPECT_FALSE(parse_cookie_date("tomorrow"));
    EXPECT_FALSE(parse_cookie_date("Wed, 09-Jan-2030 25:20:30 GMT"));
    EXPECT_FALSE(parse_cookie_date("Wed, 32-Jan-2030 10:20:30 GMT"));
    EXPECT_FALSE(parse_cookie_date("Wed, 09-Foo-2030 10:20:30 GMT"));
}

struct CookieStoreTest : ::testing::Test {
    THttpCookieStore store;
    void set(std::string_view header, const std::string& host = "www.site.com",
             const std::string& directory = "/") {
        store.add(header, host, directory, kNow);
    }
    std::string sent(const std::string& host = "www.site.com", const std::string& dir = "/") {
        store.remove_expired(kNow);
        return store.cookie_header(host, dir);
    }
};

TEST_F(CookieStoreTest, CookieWithoutDomainBelongsToTheRequestHostOnly) {
    set("user_id=77; path=/");
    EXPECT_EQ(sent(), "user_id=77");
    EXPECT_EQ(sent("WWW.SITE.COM"), "user_id=77");
    EXPECT_EQ(sent("other.com"), "");
    EXPECT_EQ(sent("site.com"), "");
}

TEST_F(CookieStoreTest, DomainMustBeTheHostOrTheDomainItLiesIn) {
    set("a=1; domain=.site.com; path=/");
    set("b=2; domain=site.com; path=/");
    set("c=3; domain=com; path=/");
    set("d=4; domain=other.com; path=/");
    set("e=5; domain=www.site.com; path=/");
    set("f=6; domain=deep.www.site.com; path=/");
    EXPECT_EQ(store.size(), 3u);
    EXPECT_EQ(sent("img.site.com"), "a=1; b=2");
    EXPECT_EQ(sent("www.site.com"), "a=1; b=2; e=5");
    // A domain match is a whole-label suffix, never a substring.
    EXPECT_EQ(sent("site.com.evil.net"), "");
    EXPECT_EQ(sent("notsite.com"), "");
}

TEST_F(CookieStoreTest, AddressesSetCookiesOnlyForThemselves) {
    set("a=1; path=/", "127.0.0.1");
    set("b=2; domain=0.0.1; path=/", "127.0.0.1");
    EXPECT_EQ(sent("127.0.0.1"), "a=1");
}

TEST_F(CookieStoreTest, SameNameAndDomainReplaces) {
    set("id=old; path=/");
    set("id=new; path=/x/");
    set("other=1; path=/");
    EXPECT_EQ(store.size(), 2u);
    EXPECT_EQ(sent("www.site.com", "/x/"), "id=new; other=1");
}

TEST_F(CookieStoreTest, PathIsAPrefixOfTheDirectoryAndLongestPathsComeFirst) {
    set("root=1; path=/");
    set("deep=2; path=/a/b/");
    set("mid=3; path=/a");
    EXPECT_EQ(sent("www.site.com", "/a/b/c/"), "deep=2; mid=3; root=1");
    EXPECT_EQ(sent("www.site.com", "/a/"), "mid=3; root=1");
    EXPECT_EQ(sent("www.site.com", "/"), "root=1");
}

TEST_F(CookieStoreTest, CookieWithoutPathGetsTheDirectoryOfItsRequest) {
    set("session=s1", "www.site.com", "/member/");
    EXPECT_EQ(sent("www.site.com", "/member/"), "session=s1");
    EXPECT_EQ(sent("www.site.com", "/member/deep/"), "session=s1");
    EXPECT_EQ(sent("www.site.com", "/"), "");
}

TEST_F(CookieStoreTest, ExpiredCookiesAreRemovedAndMaxAgeWinsOverExpires) {
    set("past=1; path=/; expires=Thu, 01-Jan-1970 00:00:10 GMT");
    set("future=2; path=/; expires=Wed, 09-Jan-2097 10:20:30 GMT");
    set("short=3; path=/; max-age=60; expires=Thu, 01-Jan-1970 00:00:10 GMT");
    set("gone=4; path=/; Max-Age=0");
    EXPECT_EQ(sent(), "future=2; short=3");
    store.remove_expired(kNow + 61);
    EXPECT_EQ(store.cookie_header("www.site.com", "/"), "future=2");
}

TEST_F(CookieStoreTest, AnExpiredCookieDeletesTheOneItReplaces) {
    set("id=7; path=/");
    set("id=; path=/; expires=Thu, 01-Jan-1970 00:00:10 GMT");
    EXPECT_EQ(sent(), "");
    EXPECT_EQ(store.size(), 0u);
}

TEST_F(CookieStoreTest, SecureAndEmptyValuedCookiesAreNotSent) {
    set("s=1; path=/; secure");
    set("empty=; path=/");
    set("kept=1; path=/");
    EXPECT_EQ(sent(), "kept=1");
}

TEST_F(CookieStoreTest, Rfc2965AttributesAndQuotedValuesAreUnderstood) {
    set("v=\"quoted\"; Version=\"1\"; Path=\"/\"; Domain=\".site.com\"; Port=\"80\"; Discard");
    EXPECT_EQ(sent("img.site.com"), "v=\"quoted\"");
}

TEST_F(CookieStoreTest, CookiesThatWouldInjectIntoOurRequestsAreRefused) {
    set("a=b\rX-Injected: 1; path=/");
    set("c\x01=d; path=/");
    set("=nameless; path=/");
    set("bare; path=/");
    EXPECT_EQ(sent(), "");
}

TEST_F(CookieStoreTest, ADomainHoldsABoundedNumberOfCookiesDroppingTheOldest) {
    for (std::size_t i = 0; i < THttpCookieStore::kMaxCookiesPerDomain + 10; ++i) {
        set("c" + std::to_string(i) + "=1; path=/");
    }
    EXPECT_EQ(store.size(), THttpCookieStore::kMaxCookiesPerDomain);
    const std::string header = sent();
    EXPECT_EQ(header.find("c9=1"), std::string::npos);
    EXPECT_NE(header.find("c10=1"), std::string::npos);
    EXPECT_NE(header.find("c59=1"), std::string::npos);
}

TEST_F(CookieStoreTest, TakeFromReadsBothHeaderNamesInAnyCase) {
    store.take_from({"Set-Cookie: a=1; path=/", "set-cookie2: b=2; path=/", "Content-Type: x",
                     "X-Set-Cookie: c=3; path=/", "garbage"},
                    "www.site.com", "/", kNow);
    EXPECT_EQ(sent(), "a=1; b=2");
}

} // namespace
} // namespace qirelo::http
