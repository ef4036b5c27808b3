#include "app/relay/fixed_point.h"
#include "app/relay/relay_record.h"

#include <gtest/gtest.h>

#include <limits>

namespace qirelo::app::relay {
namespace {

std::int64_t Scaled(std::string_view text) {
    const auto value = ParseFixed4(text);
    EXPECT_TRUE(value.has_value()) << "'" << text << "'";
    return value ? value->scaled : -1;
}

TEST(ParseFixed4, ReadsSignFractionExponentAndSurroundingBlanks) {
    EXPECT_EQ(Scaled("120"), 1200000);
    EXPECT_EQ(Scaled("125.5"), 1255000);
    EXPECT_EQ(Scaled("-3.25"), -32500);
    EXPECT_EQ(Scaled("+7"), 70000);
    EXPECT_EQ(Scaled(".5"), 5000);
    EXPECT_EQ(Scaled("5."), 50000);
    EXPECT_EQ(Scaled("1.5E3"), 15000000);
    EXPECT_EQ(Scaled("25e-1"), 25000);
    EXPECT_EQ(Scaled("1E+2"), 1000000);
    EXPECT_EQ(Scaled("  42  "), 420000);
    EXPECT_EQ(Scaled("1376899200.1234\r\n"), 13768992001234);
    EXPECT_EQ(Scaled("\t-0\n"), 0);
    EXPECT_EQ(Scaled("000123.4000"), 1234000);
}

TEST(ParseFixed4, RejectsAnythingElse) {
    for (const char* text : {"", "   ", "-", ".", "1.2.3", "12a", "a12", "1 2", "1E", "1E+", "E5",
                             "1,5", "0x10", "--1", "+-1", "1e5.5", "\r\n"}) {
        EXPECT_FALSE(ParseFixed4(text).has_value()) << "'" << text << "'";
    }
}

TEST(ParseFixed4, RoundsToTheNearestTenThousandthWithTiesToEven) {
    EXPECT_EQ(Scaled("0.00004"), 0);
    EXPECT_EQ(Scaled("0.00006"), 1);
    EXPECT_EQ(Scaled("1.23456"), 12346);
    EXPECT_EQ(Scaled("1.23454999"), 12345);
    EXPECT_EQ(Scaled("0.00005"), 0);       // tie, 0 is even
    EXPECT_EQ(Scaled("0.00015"), 2);       // tie, up to the even 2
    EXPECT_EQ(Scaled("0.000150001"), 2);   // above the tie
    EXPECT_EQ(Scaled("0.00025"), 2);       // tie, down to the even 2
    EXPECT_EQ(Scaled("-1.23456"), -12346); // symmetric about zero
    EXPECT_EQ(Scaled("9.99995"), 100000);  // the carry runs through
    EXPECT_EQ(Scaled("1E-9"), 0);
    EXPECT_EQ(Scaled("5E-5"), 0);
    EXPECT_EQ(Scaled("6E-5"), 1);
}

TEST(ParseFixed4, KeepsTheWhole64BitRangeAndRejectsBeyondIt) {
    EXPECT_EQ(Scaled("922337203685477.5807"), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(Scaled("-922337203685477.5808"), std::numeric_limits<std::int64_t>::min());
    EXPECT_FALSE(ParseFixed4("922337203685477.5808").has_value());
    EXPECT_FALSE(ParseFixed4("1E15").has_value());
    EXPECT_FALSE(ParseFixed4("1E99999999999999999999").has_value());
    EXPECT_EQ(Scaled("0E99999999999999999999"), 0);
    EXPECT_EQ(Scaled("1E-99999999999999999999"), 0);
    // A long text whose exponent brings it back into range.
    EXPECT_EQ(Scaled("1" + std::string(200000, '0') + "e-199990"), 100000000000000);
    EXPECT_EQ(Scaled("0." + std::string(200000, '0') + "1e200001"), 10000);
}

TEST(IsFresh, StampsLessThanElevenUnitsOldAreFreshAndStampsAheadToo) {
    const auto at = [](const char* text) { return *ParseFixed4(text); };
    EXPECT_TRUE(IsFresh(at("125"), at("120")));
    EXPECT_TRUE(IsFresh(at("130.9999"), at("120")));
    EXPECT_FALSE(IsFresh(at("131"), at("120"))); // exactly 11 is stale
    EXPECT_FALSE(IsFresh(at("500"), at("120")));
    EXPECT_TRUE(IsFresh(at("100"), at("120"))); // clocks apart: negative difference
    // No overflow at the ends of the range.
    const Fixed4 top{std::numeric_limits<std::int64_t>::max()};
    const Fixed4 bottom{std::numeric_limits<std::int64_t>::min()};
    EXPECT_FALSE(IsFresh(top, bottom));
    EXPECT_TRUE(IsFresh(bottom, top));
    EXPECT_TRUE(IsFresh(top, top));
}

TEST(ParseMonitorRecord, SplitsAtTheFirstBarAndRejectsUnreadableStamps) {
    const MonitorRecord record = ParseMonitorRecord("120.5|A321.5|x");
    EXPECT_EQ(record.stamp.scaled, 1205000);
    EXPECT_EQ(record.command, "A321.5|x");
    EXPECT_EQ(ParseMonitorRecord(" 7 |").command, "");
    EXPECT_THROW(ParseMonitorRecord("120A321"), EBadRelayRecord);
    EXPECT_THROW(ParseMonitorRecord("|A321"), EBadRelayRecord);
    EXPECT_THROW(ParseMonitorRecord("12x|A321"), EBadRelayRecord);
    EXPECT_THROW(ParseTimerRecord("<html>busy</html>"), EBadRelayRecord);
}

} // namespace
} // namespace qirelo::app::relay
