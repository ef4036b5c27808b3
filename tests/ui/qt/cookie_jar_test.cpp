// document.cookie as the page would give it, from the profile's cookies.

#include <gtest/gtest.h>

#include "ui/qt/cookie_jar.h"

namespace qirelo::ui::qt {
namespace {

QNetworkCookie Cookie(const char* name, const char* value, const char* domain,
                      const char* path = "/") {
    QNetworkCookie cookie(name, value);
    cookie.setDomain(QString::fromLatin1(domain));
    cookie.setPath(QString::fromLatin1(path));
    return cookie;
}

const QUrl kLoginAnswer("http://127.0.0.1:12860/jysc/checklogin.asp");

TEST(CookieJarTest, TheSitesCookiesInTheOrderTheyWereSet) {
    CookieJar jar;
    jar.add(Cookie("user%5Fid", "10001", "127.0.0.1"));
    jar.add(Cookie("user%5Fname", "demo", "127.0.0.1"));
    jar.add(Cookie("other", "x", "example.com"));
    EXPECT_EQ(jar.document_cookie(kLoginAnswer), "user%5Fid=10001; user%5Fname=demo");
    EXPECT_EQ(jar.document_cookie(QUrl("http://example.com/")), "other=x");
}

TEST(CookieJarTest, LongerPathsComeFirstAndOnlyPathsThatCoverThePage) {
    CookieJar jar;
    jar.add(Cookie("a", "1", "127.0.0.1", "/"));
    jar.add(Cookie("b", "2", "127.0.0.1", "/jysc"));
    jar.add(Cookie("c", "3", "127.0.0.1", "/jy")); // not a whole segment of /jysc
    jar.add(Cookie("d", "4", "127.0.0.1", "/m"));
    EXPECT_EQ(jar.document_cookie(kLoginAnswer), "b=2; a=1");
}

TEST(CookieJarTest, DomainCookiesReachSubdomainsHostCookiesDoNot) {
    CookieJar jar;
    jar.add(Cookie("wide", "1", ".qirelo.test"));
    jar.add(Cookie("host", "2", "qirelo.test"));
    EXPECT_EQ(jar.document_cookie(QUrl("http://m.qirelo.test/")), "wide=1");
    EXPECT_EQ(jar.document_cookie(QUrl("http://qirelo.test/")), "wide=1; host=2");
    EXPECT_EQ(jar.document_cookie(QUrl("http://notqirelo.test/")), "");
}

TEST(CookieJarTest, HttpOnlyExpiredAndSecureOverHttpAreNotShown) {
    CookieJar jar;
    QNetworkCookie hidden = Cookie("hidden", "1", "127.0.0.1");
    hidden.setHttpOnly(true);
    QNetworkCookie old = Cookie("old", "2", "127.0.0.1");
    old.setExpirationDate(QDateTime::currentDateTimeUtc().addSecs(-60));
    QNetworkCookie secure = Cookie("secure", "3", "127.0.0.1");
    secure.setSecure(true);
    QNetworkCookie lasting = Cookie("lasting", "4", "127.0.0.1");
    lasting.setExpirationDate(QDateTime::currentDateTimeUtc().addDays(1));
    for (const auto& c : {hidden, old, secure, lasting})
        jar.add(c);
    EXPECT_EQ(jar.document_cookie(kLoginAnswer), "lasting=4");
    EXPECT_EQ(jar.document_cookie(QUrl("https://127.0.0.1/")), "secure=3; lasting=4");
}

TEST(CookieJarTest, AReplacedCookieKeepsItsPlaceARemovedOneGoes) {
    CookieJar jar;
    jar.add(Cookie("user%5Fid", "10001", "127.0.0.1"));
    jar.add(Cookie("user%5Fname", "demo", "127.0.0.1"));
    const auto before = jar.revision();
    jar.add(Cookie("user%5Fid", "10002", "127.0.0.1"));
    EXPECT_EQ(jar.document_cookie(kLoginAnswer), "user%5Fid=10002; user%5Fname=demo");
    EXPECT_NE(jar.revision(), before);
    const auto replaced = jar.revision();
    jar.remove(Cookie("user%5Fid", "", "127.0.0.1"));
    EXPECT_NE(jar.revision(), replaced);
    EXPECT_EQ(jar.document_cookie(kLoginAnswer), "user%5Fname=demo");
}

} // namespace
} // namespace qirelo::ui::qt
