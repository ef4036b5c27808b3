// Which version is newer: by number and by date.

#include <gtest/gtest.h>

#include <string>

#include "upgrade/info/newer_version.h"
#include "upgrade/info/version_compare.h"
#include "upgrade/info/version_date.h"

namespace qirelo::upgrade {
namespace {

using namespace std::chrono;

TEST(CompareVersions, PartsCompareAsNumbers) {
    EXPECT_EQ(CompareVersions("2013.8.9.0", "2013.8.9.0"), 0);
    EXPECT_EQ(CompareVersions("2013.8.10", "2013.8.9.0"), 1);
    EXPECT_EQ(CompareVersions("2013.10.1", "2013.9.30"), 1);
    EXPECT_EQ(CompareVersions("2013.8.9.0", "2013.8.10"), -1);
    EXPECT_EQ(CompareVersions("2014", "2013.99.99.99"), 1);
    EXPECT_EQ(CompareVersions("2013.08.09.1", "2013.8.9.0"), 1); // 08 reads as 8
    EXPECT_EQ(CompareVersions("2013.08.09.00", "2013.8.9.0"), 0);
}

TEST(CompareVersions, MissingPartsAreZeroAndTextAfterTheFourthIsIgnored) {
    EXPECT_EQ(CompareVersions("2013.8.9", "2013.8.9.0"), 0);
    EXPECT_EQ(CompareVersions("2013", "2013.0.0.0"), 0);
    EXPECT_EQ(CompareVersions("2013.8.9.0.5", "2013.8.9.0"), 0);
    EXPECT_EQ(CompareVersions("2013.8.9.0.beta", "2013.8.9.0"), 0);
    EXPECT_EQ(CompareVersions("2013.8.9.1.0", "2013.8.9.0"), 1);
}

TEST(CompareVersions, APartThatIsNotANumberComparesTheWholeTexts) {
    EXPECT_EQ(CompareVersions("2013.8.9.0b", "2013.8.9.0"), 1); // a longer text with the prefix
    EXPECT_EQ(CompareVersions("2013.8.9.0", "2013.8.9.0b"), -1);
    // By text "2013.8.10b" is smaller than "2013.8.9.0": '1' < '9'.
    EXPECT_EQ(CompareVersions("2013.8.10b", "2013.8.9.0"), -1);
    EXPECT_EQ(CompareVersions("2013.x.9", "2013.x.9"), 0);
    // An empty part is no number either.
    EXPECT_EQ(CompareVersions("2013..9", "2013.8.9"), -1); // '.' < '8'
    EXPECT_EQ(CompareVersions(" 2013.9", "2013.8"), -1);   // a blank is no digit
}

TEST(CompareVersions, OnlyThePositionsBeforeTheFirstDifferenceAreRead) {
    // The third parts differ as numbers, so the text of the fourth never counts.
    EXPECT_EQ(CompareVersions("2013.8.10.x", "2013.8.9.0"), 1);
    // The first part is no number: the whole texts decide, although the second
    // parts would say otherwise.
    EXPECT_EQ(CompareVersions("v2013.9", "v2013.10"), 1); // '9' > '1'
}

TEST(CompareVersions, MinusOneIsNotANumberButOtherNegativesAre) {
    EXPECT_EQ(CompareVersions("2013.-1", "2013.0"), -1); // text: '-' < '0'
    EXPECT_EQ(CompareVersions("2013.0", "2013.-1"), 1);
    EXPECT_EQ(CompareVersions("2013.-2", "2013.-3"), 1); // numbers: -2 > -3
    EXPECT_EQ(CompareVersions("2013.+5", "2013.4"), 1);
}

TEST(CompareVersions, PartsBeyondTheIntegerRangeAreText) {
    EXPECT_EQ(CompareVersions("2013.99999999999", "2013.2"), 1);  // '9' > '2'
    EXPECT_EQ(CompareVersions("2013.10000000000", "2013.2"), -1); // '1' < '2'
}

TEST(CompareVersions, AnEmptyServerVersionIsNeverNewer) {
    EXPECT_EQ(CompareVersions("", "2013.8.9.0"), -1);
    EXPECT_EQ(CompareVersions("", ""), 0);
    EXPECT_FALSE(IsNewerVersionNumber("", "2013.8.9.0"));
}

TEST(CompareVersions, BytesAboveAsciiSortAfterIt) {
    EXPECT_EQ(CompareVersions("2013.8.9.\xB0\xE6", "2013.8.9.z"), 1);
}

TEST(IsNewerVersionNumber, EqualIsNotNewer) {
    EXPECT_FALSE(IsNewerVersionNumber("2013.8.9.0", "2013.8.9"));
    EXPECT_TRUE(IsNewerVersionNumber("2013.8.9.1", "2013.8.9"));
    EXPECT_FALSE(IsNewerVersionNumber("2013.8.8.9", "2013.8.9"));
}

constexpr CalendarDate kToday = 2026y / December / 8d;

TEST(ParseVersionDate, MonthDayYear) {
    EXPECT_EQ(ParseVersionDate("08/09/2013", kToday), 2013y / August / 9d);
    EXPECT_EQ(ParseVersionDate("8/9/2013", kToday), 2013y / August / 9d);
    EXPECT_EQ(ParseVersionDate("02/29/2012", kToday), 2012y / February / 29d);
    EXPECT_EQ(ParseVersionDate("12/31/9999", kToday), 9999y / December / 31d);
}

TEST(ParseVersionDate, TextThatIsNoDateIsToday) {
    for (const char* text :
         {"13/01/2013", "00/10/2013", "02/30/2013", "02/29/2013", "01/32/2013", "01/00/2013",
          "08/09", "08-09-2013", "", "08/09/2013/1", "08/09/13a", "a8/09/2013", "08/ 9/2013",
          "08/09/0", "08/09/10000", "257/01/2013", "01/257/2013", "-1/01/2013"}) {
        EXPECT_EQ(ParseVersionDate(text, kToday), kToday) << text;
    }
}

TEST(FormatVersionDate, TwoDigitMonthAndDayFourDigitYear) {
    EXPECT_EQ(FormatVersionDate(2013y / August / 9d), "08/09/2013");
    EXPECT_EQ(FormatVersionDate(2026y / December / 31d), "12/31/2026");
    EXPECT_EQ(FormatVersionDate(999y / January / 1d), "01/01/0999");
    EXPECT_EQ(ParseVersionDate(FormatVersionDate(kToday), 2000y / January / 1d), kToday);
}

TEST(Today, IsAValidDateThatRoundTrips) {
    const CalendarDate today = Today();
    EXPECT_TRUE(today.ok());
    EXPECT_EQ(ParseVersionDate(FormatVersionDate(today), 1999y / January / 1d), today);
}

TEST(IsNewerVersionDate, LaterIsNewerEqualIsNot) {
    EXPECT_TRUE(IsNewerVersionDate("08/10/2013", "08/09/2013", kToday));
    EXPECT_FALSE(IsNewerVersionDate("08/09/2013", "08/09/2013", kToday));
    EXPECT_FALSE(IsNewerVersionDate("08/08/2013", "08/09/2013", kToday));
    // Compared as dates, not as text: "01/01/2014" < "12/31/2013" as text.
    EXPECT_TRUE(IsNewerVersionDate("01/01/2014", "12/31/2013", kToday));
}

TEST(IsNewerVersionDate, AnUnreadableServerDateIsTodayAndSoNewerThanAnyEarlierDate) {
    EXPECT_TRUE(IsNewerVersionDate("13/01/2013", "08/09/2013", kToday));
    EXPECT_FALSE(IsNewerVersionDate("13/01/2013", "12/08/2026", kToday)); // today itself
    EXPECT_FALSE(IsNewerVersionDate("", "08/09/2030", kToday));
    // An unreadable own date is today too.
    EXPECT_TRUE(IsNewerVersionDate("01/01/2027", "garbage", kToday));
}

TEST(IsServerVersionNewer, ReadsTheKeyOfTheVersionControl) {
    const std::string file = "#version=2013.8.9.0\r\n#date=01/01/2014\r\n";
    EXPECT_FALSE(
        IsServerVersionNewer(file, {TupVersionControl::byNumber, "2013.8.9.0", ""}, kToday));
    EXPECT_TRUE(
        IsServerVersionNewer(file, {TupVersionControl::byNumber, "2013.8.8.9", ""}, kToday));
    EXPECT_TRUE(IsServerVersionNewer(file, {TupVersionControl::byDate, "", "08/09/2013"}, kToday));
    EXPECT_FALSE(IsServerVersionNewer(file, {TupVersionControl::byDate, "", "01/01/2014"}, kToday));
    EXPECT_FALSE(
        IsServerVersionNewer("#url=x", {TupVersionControl::byNumber, "2013.8.9.0", ""}, kToday));
}

} // namespace
} // namespace qirelo::upgrade
