#include "app/login/site_page.h"

#include <gtest/gtest.h>

namespace qirelo::app::login {
namespace {

TEST(IsSitePage, TheSitesHostAndHostsBelowItInAnyCaseAndOnAnyPort) {
    for (const char* url :
         {"http://site.test/jysc/checklogin.asp", "HTTP://SITE.Test/", "https://site.test",
          "http://www.site.test/m0321/play5.html", "http://a.b.site.test:8080/x?y#z",
          "http://site.test?next=/", "http://member:pw@site.test/"}) {
        EXPECT_TRUE(IsSitePage(url, "site.test")) << url;
    }
    EXPECT_TRUE(IsSitePage("http://www.site.test/", "SITE.TEST"));
}

TEST(IsSitePage, OtherHostsAndPagesWithoutAHostAreNot) {
    for (const char* url :
         {"http://evilsite.test/", "http://site.test.evil.test/", "http://evil.test/site.test",
          "http://evil.test/?h=site.test", "http://site.test@evil.test/",
          "http://evil.test\\@site.test/", "http://.site.test.evil/",
          "about:<title>site.test</title>", "about:blank", "", "site.test", "//site.test/",
          "file://site.test/c/x.htm", "ftp://site.test/", "javascript:'http://site.test/'",
          "http://site.test:port/"}) {
        EXPECT_FALSE(IsSitePage(url, "site.test")) << url;
    }
    EXPECT_FALSE(IsSitePage("http://site.test/", ""));
    EXPECT_FALSE(IsSitePage("http:///x", "site.test"));
}

TEST(IsSitePage, APortInTheSiteHostMustMatchTheSchemesDefaultWhenTheUrlNamesNone) {
    EXPECT_TRUE(IsSitePage("http://127.0.0.1:12860/jysc/index.asp", "127.0.0.1:12860"));
    EXPECT_FALSE(IsSitePage("http://127.0.0.1/", "127.0.0.1:12860"));
    EXPECT_FALSE(IsSitePage("http://127.0.0.1:8080/", "127.0.0.1:12860"));
    EXPECT_FALSE(IsSitePage("http://localhost:12860/", "127.0.0.1:12860"));
    EXPECT_TRUE(IsSitePage("http://www.site.test:8080/", "site.test:8080"));

    EXPECT_TRUE(IsSitePage("http://site.test/", "site.test:80"));
    EXPECT_TRUE(IsSitePage("http://site.test:80/", "site.test:80"));
    EXPECT_FALSE(IsSitePage("https://site.test/", "site.test:80"));
    EXPECT_TRUE(IsSitePage("https://site.test/", "site.test:443"));
    EXPECT_TRUE(IsSitePage("http://[::1]:12860/", "[::1]:12860"));
    EXPECT_FALSE(IsSitePage("http://[::1]:1/", "[::1]:12860"));
}

} // namespace
} // namespace qirelo::app::login
