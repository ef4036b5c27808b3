#include "upgrade/header_date.h"

#include <gtest/gtest.h>

namespace qirelo::upgrade {
namespace {

std::string Utc(std::string_view text) {
    const TDateTime value = HeaderDateUtc(text);
    return value == 0 ? "0" : DateTimeText(value);
}

TEST(HeaderDate, ReadsTheThreeClassicForms) {
    EXPECT_EQ(Utc("Sun, 06 Nov 1994 08:49:37 GMT"), "1994-11-06 08:49:37");
    EXPECT_EQ(Utc("Sunday, 06-Nov-94 08:49:37 GMT"), "1994-11-06 08:49:37");
    EXPECT_EQ(Utc("Sun Nov  6 08:49:37 1994"), "1994-11-06 08:49:37");
}

TEST(HeaderDate, ReadsTheOddForms) {
    EXPECT_EQ(Utc("06 Nov 1994 08:49:37 GMT"), "1994-11-06 08:49:37") << "no weekday";
    EXPECT_EQ(Utc("  wed, 09 jun 2021 10:18:14 gmt  "), "2021-06-09 10:18:14") << "lower case";
    EXPECT_EQ(Utc("Thu, 01 Jan 05 00:00:01 GMT"), "2005-01-01 00:00:01")
        << "two-digit year below 80";
    EXPECT_EQ(Utc("Thu, 01-Jan-85 00:00:01 GMT"), "1985-01-01 00:00:01")
        << "two-digit year from 80";
    EXPECT_EQ(Utc("Nov-06-1994 08:49:37"), "1994-11-06 08:49:37") << "month first with dashes";
    EXPECT_EQ(Utc("Sun, 06 Nov 1994"), "1994-11-06 00:00:00") << "no time";
    EXPECT_EQ(Utc("Sun, 06 Nov 1994 08:49 GMT"), "1994-11-06 08:49:00") << "no seconds";
    EXPECT_EQ(Utc("Sat, 29 Feb 2020 23:59:59 GMT"), "2020-02-29 23:59:59") << "leap day";
}

TEST(HeaderDate, MovesAZoneOffsetToUtc) {
    EXPECT_EQ(Utc("Sun, 06 Nov 1994 08:49:37 +0200"), "1994-11-06 06:49:37");
    EXPECT_EQ(Utc("Sun, 06 Nov 1994 22:49:37 -0500"), "1994-11-07 03:49:37")
        << "a negative offset past midnight";
    EXPECT_EQ(Utc("Sun, 06 Nov 1994 08:49:37 +08"), "1994-11-06 08:49:37")
        << "too short to be an offset";
}

TEST(HeaderDate, GivesZeroForWhatItCannotRead) {
    EXPECT_EQ(Utc(""), "0");
    EXPECT_EQ(Utc("   "), "0");
    EXPECT_EQ(Utc("Sun, 06 Foo 1994 08:49:37 GMT"), "0") << "unreadable month";
    EXPECT_EQ(Utc("Sun, 31 Feb 1994 08:49:37 GMT"), "0") << "no such day";
    EXPECT_EQ(Utc("Sun, xx Nov 1994 08:49:37 GMT"), "0") << "unreadable day";
    EXPECT_EQ(Utc("Sun Nov  6 08:49:37"), "0") << "no year at all";
    EXPECT_EQ(Utc("garbage"), "0");
    EXPECT_EQ(Utc("Sunday"), "0") << "a weekday alone";
}

TEST(HeaderDate, LocalTimeTakesTheBiasOff) {
    // Beijing: local = UTC + 8 h, a bias of -480 minutes.
    EXPECT_EQ(DateTimeText(HeaderDateLocal("Sun, 06 Nov 1994 20:49:37 GMT", -480)),
              "1994-11-07 04:49:37");
    EXPECT_EQ(DateTimeText(HeaderDateLocal("Sun, 06 Nov 1994 08:49:37 GMT", 300)),
              "1994-11-06 03:49:37");
    EXPECT_EQ(HeaderDateLocal("not a date", -480), 0);
}

TEST(HeaderDate, DateTimesCountDaysFrom1899) {
    EXPECT_DOUBLE_EQ(EncodeDateTime(1899, 12, 30, 0, 0, 0), 0);
    EXPECT_DOUBLE_EQ(EncodeDateTime(1900, 1, 1, 12, 0, 0), 2.5);
    EXPECT_EQ(DateTimeText(EncodeDateTime(2013, 8, 9, 23, 59, 59)), "2013-08-09 23:59:59");
}

} // namespace
} // namespace qirelo::upgrade
