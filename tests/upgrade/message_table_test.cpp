// The compiled-in table of the update texts: complete in every language,
// the same format arguments and accelerators as English, English and
// Simplified Chinese as the product has always shown them.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/profile/codepage.h"
#include "upgrade/messages/message_table.h"

namespace qirelo::upgrade {
namespace {

constexpr int kEnglish = 1;
constexpr int kChineseTraditional = 22;
constexpr int kChineseSimplified = 23;

// The printf conversions of a text, in order: "%d", "%.2d", "%.1f", "%s".
std::vector<std::string> conversions(std::string_view text) {
    std::vector<std::string> found;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            continue;
        }
        const std::size_t end = text.find_first_not_of("-+ #0123456789.", i + 1);
        found.emplace_back(text.substr(i, end == std::string_view::npos ? end : end - i + 1));
        i = end;
    }
    return found;
}

TEST(MessageTable, EveryLanguageHasAllMessagesWithEnglishsFormatArguments) {
    for (int k = 1; k <= kLanguageCount; ++k) {
        for (int n = 0; n < kMessageCount; ++n) {
            const std::string_view text = MessageTableText(k, n);
            EXPECT_FALSE(text.empty()) << "k " << k << " n " << n;
            EXPECT_EQ(conversions(text), conversions(MessageTableText(kEnglish, n)))
                << "k " << k << " n " << n << ": " << text;
        }
    }
}

TEST(MessageTable, ButtonCaptionsHaveExactlyOneAccelerator) {
    for (int k = 1; k <= kLanguageCount; ++k) {
        for (int n = 14; n <= 19; ++n) {
            const std::string_view text = MessageTableText(k, n);
            EXPECT_EQ(std::count(text.begin(), text.end(), '&'), 1) << "k " << k << ": " << text;
            EXPECT_FALSE(text.ends_with('&'));
        }
    }
}

TEST(MessageTable, TranslationsAreNotEnglishLeftOver) {
    // The long sentences differ from English in every other language.
    for (int k = 2; k <= kLanguageCount; ++k) {
        for (const int n : {10, 23, 24, 25, 26, 27, 28, 29, 30}) {
            EXPECT_NE(MessageTableText(k, n), MessageTableText(kEnglish, n)) << "k " << k;
        }
    }
}

TEST(MessageTable, EnglishAndSimplifiedChineseAsTheProductShowsThem) {
    EXPECT_EQ(MessageTableText(kEnglish, 0), "Application update wizard");
    EXPECT_EQ(MessageTableText(kEnglish, 10), "The update of %s has been successfully completed."
                                              "\r\rPress the OK button to restart program.");
    EXPECT_EQ(MessageTableText(kEnglish, 23),
              "A newer version of %s was released.\n%s\nDo you want to update your version "
              "with the latest one?");
    EXPECT_EQ(MessageTableText(kEnglish, 29),
              "Access to remote file \"%s\" is password protected.\n\nPlease enter your username "
              "and password (received after registration) to continue software upgrade.");
    EXPECT_EQ(MessageTableText(kChineseSimplified, 0), "软件升级精灵");
    EXPECT_EQ(MessageTableText(kChineseSimplified, 8), "估计剩余时间: %d:%.2d:%.2d");
    EXPECT_EQ(MessageTableText(kChineseSimplified, 10),
              "%s 已经升级完成，\r\r请按[确定]键重新启动程序");
    EXPECT_EQ(MessageTableText(kChineseSimplified, 18), "[&N]下一个>");
    EXPECT_EQ(MessageTableText(kChineseSimplified, 29),
              "远端的文档\"%s\"被密码保护，\n\n请输入您的帐号及密码[注册用户]来继续进行升级操作。");
}

TEST(MessageTable, BothChineseTablesAreWhollyGb2312) {
    // Traditional characters are outside GB2312: only the simplified table is
    // bound to it, and it must convert without one lost character.
    for (int n = 0; n < kMessageCount; ++n) {
        EXPECT_NO_THROW(platform::strict_gb_from_utf8(MessageTableText(kChineseSimplified, n)))
            << n;
    }
    EXPECT_EQ(platform::strict_gb_from_utf8(MessageTableText(kChineseSimplified, 0)),
              "\xC8\xED\xBC\xFE\xC9\xFD\xBC\xB6\xBE\xAB\xC1\xE9");
    EXPECT_NE(MessageTableText(kChineseTraditional, 0), MessageTableText(kChineseSimplified, 0));
}

TEST(MessageTable, ResourceNumbers) {
    EXPECT_EQ(MessageBase(1), 41000u);
    EXPECT_EQ(MessageBase(2), 41050u);                   // Russian
    EXPECT_EQ(MessageBase(kChineseTraditional), 42050u); // 42050 to 42080
    EXPECT_EQ(MessageResourceId(kChineseTraditional, 30), 42080u);
    EXPECT_EQ(MessageResourceId(28, 30), 42380u);

    for (int k = 1; k <= kLanguageCount; ++k) {
        for (int n = 0; n < kMessageCount; ++n) {
            EXPECT_EQ(StringTableText(MessageResourceId(k, n)), MessageTableText(k, n));
        }
        // The gap between two languages holds nothing.
        EXPECT_EQ(StringTableText(MessageResourceId(k, kMessageCount)), std::nullopt);
        EXPECT_EQ(StringTableText(MessageResourceId(k, 49)), std::nullopt);
    }
    EXPECT_EQ(StringTableText(kAppTitleResource), "<AppTitle>");
    EXPECT_FALSE(StringTableText(kDevelopmentToolResource).value_or("").empty());
    EXPECT_FALSE(StringTableText(kComponentNameResource).value_or("").empty());
    EXPECT_EQ(StringTableText(40996), std::nullopt);
    EXPECT_EQ(StringTableText(MessageBase(29)), std::nullopt);

    EXPECT_THROW(MessageTableText(0, 0), MessageTableError);
    EXPECT_THROW(MessageTableText(29, 0), MessageTableError);
    EXPECT_THROW(MessageTableText(1, 31), MessageTableError);
    EXPECT_THROW(MessageTableText(1, -1), MessageTableError);
}

} // namespace
} // namespace qirelo::upgrade
