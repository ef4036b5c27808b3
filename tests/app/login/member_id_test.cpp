#include "app/login/member_id.h"

#include <gtest/gtest.h>

namespace qirelo::app::login {
namespace {

TEST(MemberIdFromCookie, TakesTheValueUpToTheSemicolon) {
    EXPECT_EQ(MemberIdFromCookie("ASPSESSION=xyz; user%5Fid=123; nick=a"), "123");
    EXPECT_EQ(MemberIdFromCookie("user%5Fid=77;"), "77");
}

TEST(MemberIdFromCookie, ValueLastWithoutSemicolonIsEmpty) {
    EXPECT_EQ(MemberIdFromCookie("nick=a; user%5Fid=123"), "");
}

TEST(MemberIdFromCookie, NoKeyIsNoMemberId) {
    EXPECT_EQ(MemberIdFromCookie(""), std::nullopt);
    EXPECT_EQ(MemberIdFromCookie("user_id=123; a=b"), std::nullopt);
    EXPECT_EQ(MemberIdFromCookie("USER%5FID=123;"), std::nullopt); // case-sensitive
    EXPECT_EQ(MemberIdFromCookie("user%5fid=123;"), std::nullopt);
}

TEST(MemberIdFromCookie, OnlyAWholeCookieOfThatNameCounts) {
    EXPECT_EQ(MemberIdFromCookie("nick=user%5Fid=9; user%5Fid=5; a=b"), "5");
    EXPECT_EQ(MemberIdFromCookie("xuser%5Fid=9; user%5Fid=5;"), "5");
    EXPECT_EQ(MemberIdFromCookie("nick=user%5Fid=9;"), std::nullopt);
    EXPECT_EQ(MemberIdFromCookie("my_user%5Fid=9;"), std::nullopt);
    EXPECT_EQ(MemberIdFromCookie("a=1;user%5Fid=9;"), std::nullopt);
    EXPECT_EQ(MemberIdFromCookie("a=x user%5Fid=9;"), std::nullopt);
}

TEST(MemberIdFromCookie, FirstOccurrenceWins) {
    EXPECT_EQ(MemberIdFromCookie("user%5Fid=1; user%5Fid=2;"), "1");
}

} // namespace
} // namespace qirelo::app::login
