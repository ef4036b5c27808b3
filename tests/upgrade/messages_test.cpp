// Message(n) in the language in use, read the way the program reads it: the
// program's own string table under Wine, the compiled-in table natively.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/profile/codepage.h"
#include "text/utf.h"
#include "upgrade/messages/message_table.h"
#include "upgrade/messages/messages.h"
#include "upgrade/messages/string_resources.h"

namespace qirelo::upgrade {
namespace {

// Puts the detected language back after a test that chose another.
class MessagesTest : public ::testing::Test {
protected:
    ~MessagesTest() override { SetMessageLanguage(TWizardLanguage::wlAuto); }
};

TEST_F(MessagesTest, EveryStringResourceHoldsTheTablesText) {
    for (int k = 1; k <= kLanguageCount; ++k) {
        for (int n = 0; n < kMessageCount; ++n) {
            EXPECT_EQ(LoadStringResource(MessageResourceId(k, n)),
                      text::utf16_from_utf8(MessageTableText(k, n)))
                << "k " << k << " n " << n;
        }
    }
    for (const unsigned id :
         {kAppTitleResource, kDevelopmentToolResource, kComponentNameResource}) {
        EXPECT_EQ(LoadStringResource(id), text::utf16_from_utf8(*StringTableText(id)));
    }
    EXPECT_THROW(LoadStringResource(MessageResourceId(1, kMessageCount)), MessageTableError);
    EXPECT_THROW(LoadStringResource(40996), MessageTableError);
}

TEST_F(MessagesTest, SimplifiedChineseMessagesAreGb2312Text) {
    SetMessageLanguage(TWizardLanguage::wlChineseSimplified);
    EXPECT_EQ(MessageLanguage(), 23);
    EXPECT_EQ(Message(0), "\xC8\xED\xBC\xFE\xC9\xFD\xBC\xB6\xBE\xAB\xC1\xE9"); // 软件升级精灵
    EXPECT_EQ(Message(21), "\xB4\xED\xCE\xF3");                                // 错误
    EXPECT_EQ(Message(28), platform::strict_gb_from_utf8(MessageTableText(23, 28)));
    EXPECT_NE(Message(28).find("\r\r"), std::string::npos);
    EXPECT_EQ(StringResource(kAppTitleResource), "<AppTitle>");
}

TEST_F(MessagesTest, ChosenLanguagesAndTheWholeTextInUtf16) {
    SetMessageLanguage(TWizardLanguage::wlGerman);
    EXPECT_EQ(MessageLanguage(), 3);
    EXPECT_EQ(Message(21), "Fehler");
    EXPECT_EQ(MessageText(6), u"Dateigröße: %.1f Kb");
    SetMessageLanguage(TWizardLanguage::wlEnglish);
    EXPECT_EQ(Message(16), "&OK");
    EXPECT_THROW(Message(31), MessageTableError);
    EXPECT_THROW(Message(-1), MessageTableError);
}

TEST_F(MessagesTest, AutoFollowsTheSystemsLanguage) {
    SetMessageLanguage(TWizardLanguage::wlChineseTraditional);
    SetMessageLanguage(TWizardLanguage::wlAuto);
    EXPECT_EQ(MessageLanguage(), LanguageFromLangId(SystemDefaultLangId()));
}

#ifndef _WIN32

TEST_F(MessagesTest, OnLinuxTheLocaleDecides) {
    const char* saved_all = std::getenv("LC_ALL");
    const std::string kept_all = saved_all ? saved_all : "";
    setenv("LC_ALL", "zh_CN.UTF-8", 1);
    SetMessageLanguage(TWizardLanguage::wlAuto);
    EXPECT_EQ(MessageLanguage(), 23);
    setenv("LC_ALL", "pt_BR.UTF-8", 1);
    SetMessageLanguage(TWizardLanguage::wlAuto);
    EXPECT_EQ(MessageLanguage(), 7);
    if (saved_all) {
        setenv("LC_ALL", kept_all.c_str(), 1);
    } else {
        unsetenv("LC_ALL");
    }
}

#endif

} // namespace
} // namespace qirelo::upgrade
