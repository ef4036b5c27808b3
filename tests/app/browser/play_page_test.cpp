#include "app/browser/play_page.h"

#include <gtest/gtest.h>

namespace qirelo::app::browser {
namespace {

constexpr const char* kHost = "127.0.0.1:12860";

TEST(IsPlayPage, SitePageUnderM0EndingInHtmlWithPlayIsOne) {
    EXPECT_TRUE(IsPlayPage("http://127.0.0.1:12860/m0/12/play_345.html", kHost));
    EXPECT_TRUE(IsPlayPage("http://127.0.0.1:12860/m0play.html", kHost));
}

TEST(IsPlayPage, QueryOrFragmentAfterHtmlIsNot) {
    EXPECT_FALSE(IsPlayPage("http://127.0.0.1:12860/m0/play_1.html?t=3", kHost));
    EXPECT_FALSE(IsPlayPage("http://127.0.0.1:12860/m0/play_1.html#top", kHost));
}

TEST(IsPlayPage, EachConditionIsNeeded) {
    EXPECT_FALSE(IsPlayPage("http://127.0.0.1:12860/m1/play_1.html", kHost)); // not /m0
    EXPECT_FALSE(IsPlayPage("http://other.host/m0/play_1.html", kHost));      // other host
    EXPECT_FALSE(IsPlayPage("https://127.0.0.1:12860/m0/play_1.html", kHost));
    EXPECT_FALSE(IsPlayPage("http://127.0.0.1:12860/m0/view_1.html", kHost)); // no "play"
    EXPECT_FALSE(IsPlayPage("http://127.0.0.1:12860/m0/Play_1.html", kHost)); // case-sensitive
    EXPECT_FALSE(IsPlayPage("http://127.0.0.1:12860/m0/play_1.HTML", kHost));
    EXPECT_FALSE(IsPlayPage("HTTP://127.0.0.1:12860/m0/play_1.html", kHost));
    EXPECT_FALSE(IsPlayPage("", kHost));
}

} // namespace
} // namespace qirelo::app::browser
