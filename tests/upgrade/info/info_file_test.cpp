// Reading the update server's info file: the keys, where values end, the
// file list and the method.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "upgrade/info/info_file.h"

namespace qirelo::upgrade {
namespace {

using Files = std::vector<std::string>;

TEST(ReadInfoValue, KeysMatchInAnyCaseAndValuesKeepTheirCase) {
    const std::string file = "#VERSION=2013.9.1.0B\r\n#Url=HTTP://Host/Setup/\r\n";
    EXPECT_EQ(ReadInfoValue(file, kInfoVersion), "2013.9.1.0B");
    EXPECT_EQ(ReadInfoValue(file, kInfoUrl), "HTTP://Host/Setup/");
}

TEST(ReadInfoValue, OneLineValueEndsAtAnyControlCharacterOrTheEndOfTheFile) {
    EXPECT_EQ(ReadInfoValue("#version=1.2\r\n", kInfoVersion), "1.2");
    EXPECT_EQ(ReadInfoValue("#version=1.2\n#date=x", kInfoVersion), "1.2");
    EXPECT_EQ(ReadInfoValue("#version=1.2\t# a comment", kInfoVersion), "1.2");
    EXPECT_EQ(ReadInfoValue(std::string("#version=1.2\0tail", 17), kInfoVersion), "1.2");
    EXPECT_EQ(ReadInfoValue("#date=08/09/2013", kInfoDate), "08/09/2013");
    // Blanks are part of the value: nothing is trimmed.
    EXPECT_EQ(ReadInfoValue("#version= 1.2 \r\n", kInfoVersion), " 1.2 ");
}

TEST(ReadInfoValue, Gb2312BytesDoNotEndAValue) {
    const std::string gb_page = "http://host/\xCF\xC2\xD4\xD8/"; // 下载, bytes above 127
    EXPECT_EQ(ReadInfoValue("#url=" + gb_page + "\r\n", kInfoUrl), gb_page);
}

TEST(ReadInfoValue, MissingKeyAndEmptyValueAreBothEmpty) {
    EXPECT_EQ(ReadInfoValue("#date=08/09/2013\r\n", kInfoVersion), "");
    EXPECT_EQ(ReadInfoValue("#version=\r\n#date=1", kInfoVersion), "");
    EXPECT_EQ(ReadInfoValue("", kInfoVersion), "");
}

TEST(ReadInfoValue, TheFirstOccurrenceCounts) {
    EXPECT_EQ(ReadInfoValue("#method=2\r\n#method=1\r\n", kInfoMethod), "2");
    // "#url1=" is not found inside "#url10=": the "=" is part of the key.
    EXPECT_EQ(ReadInfoValue("#url10=ten\r\n#url1=one\r\n", "url1"), "one");
}

TEST(ReadInfoValue, MessageRunsOverLinesToTheClosingBrace) {
    const std::string file = "#message={\xD0\xC2\xB0\xE6 first line\r\nsecond line}\r\n#method=2";
    EXPECT_EQ(ReadInfoValue(file, kInfoMessage, InfoValueForm::MultiLine),
              "\xD0\xC2\xB0\xE6 first line\r\nsecond line");
    EXPECT_EQ(
        ReadInfoValue("#message={no brace\r\nto the end", kInfoMessage, InfoValueForm::MultiLine),
        "no brace\r\nto the end");
    // The one-line form of the same key stops at the line break, brace and all.
    EXPECT_EQ(ReadInfoValue(file, kInfoMessage), "{\xD0\xC2\xB0\xE6 first line");
    EXPECT_EQ(ReadInfoValue("#message=plain\r\n", kInfoMessage, InfoValueForm::MultiLine), "");
}

TEST(ReadUpgradeFiles, NumberingContinuesAfterTheEntriesFoundSoFar) {
    EXPECT_EQ(ReadUpgradeFiles("#url0=a\r\n#url1=b\r\n"), Files{"a"}); // looks for #url2=
    EXPECT_EQ(ReadUpgradeFiles("#url1=a\r\n#url2=b\r\n"), (Files{"a", "b"}));
    EXPECT_EQ(ReadUpgradeFiles("#url=a\r\n#url0=b\r\n#url3=c\r\n#url4=d\r\n"),
              (Files{"a", "b", "c", "d"}));
    EXPECT_EQ(ReadUpgradeFiles("#url=a\r\n#url2=b\r\n#url3=c"), (Files{"a", "b", "c"}));
    EXPECT_EQ(ReadUpgradeFiles("#URL=only\r\n"), Files{"only"});
}

TEST(ReadUpgradeFiles, StopsAtTheFirstGapAndSkipsEmptyUnnumberedEntries) {
    EXPECT_EQ(ReadUpgradeFiles("#url1=a\r\n#url3=c\r\n"), Files{"a"});
    EXPECT_EQ(ReadUpgradeFiles("#url1=a\r\n#url2=\r\n#url3=c\r\n"), Files{"a"});
    EXPECT_EQ(ReadUpgradeFiles("#url=\r\n#url0=\r\n#url1=a\r\n"), Files{"a"});
    EXPECT_EQ(ReadUpgradeFiles("#version=2013.9.1.0\r\n"), Files{});
}

TEST(ReadUpgradeMethod, OnlyTheFirstCharacterCounts) {
    EXPECT_EQ(ReadUpgradeMethod("#method=2\r\n"), TupUpgradeMethod::umRedirectToURL);
    EXPECT_EQ(ReadUpgradeMethod("#METHOD=1\r\n"), TupUpgradeMethod::umUseExternalSetup);
    EXPECT_EQ(ReadUpgradeMethod("#method=21"), TupUpgradeMethod::umRedirectToURL);
    EXPECT_EQ(ReadUpgradeMethod("#method= 2"), TupUpgradeMethod::umSelfUpgrade);
    EXPECT_EQ(ReadUpgradeMethod("#method=0"), TupUpgradeMethod::umSelfUpgrade);
    EXPECT_EQ(ReadUpgradeMethod("#method=3"), TupUpgradeMethod::umSelfUpgrade);
    EXPECT_EQ(ReadUpgradeMethod("#method=\r\n"), TupUpgradeMethod::umSelfUpgrade);
    EXPECT_EQ(ReadUpgradeMethod("#url=x"), TupUpgradeMethod::umSelfUpgrade);
}

} // namespace
} // namespace qirelo::upgrade
