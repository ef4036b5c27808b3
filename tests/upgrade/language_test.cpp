// The choice of the messages' language: from Windows' LANGID for every row
// of the table, and from the Linux locale through the same rule.

#include <gtest/gtest.h>

#include <cstdint>

#include "upgrade/messages/language.h"

namespace qirelo::upgrade {
namespace {

constexpr std::uint16_t lang_id(std::uint16_t primary, std::uint16_t sub_language) {
    return static_cast<std::uint16_t>((sub_language << 10) | primary);
}

struct Row {
    int k;
    std::uint16_t primary;
};

// Every row whose primary language is its own.
constexpr Row kRows[] = {
    {1, 0x09},  {2, 0x19},  {3, 0x07},  {4, 0x0C},  {5, 0x0A},  {8, 0x10},  {9, 0x13},  {10, 0x06},
    {11, 0x1D}, {12, 0x0B}, {13, 0x25}, {14, 0x22}, {15, 0x15}, {16, 0x05}, {17, 0x0E}, {18, 0x18},
    {19, 0x03}, {20, 0x2D}, {21, 0x36}, {24, 0x21}, {25, 0x3E}, {26, 0x0F}, {27, 0x1F}, {28, 0x14},
};

TEST(LanguageFromLangId, EveryRowByItsPrimaryLanguageWhateverTheSubLanguage) {
    for (const Row& row : kRows) {
        for (const std::uint16_t sub_language : {0, 1, 2, 5}) {
            EXPECT_EQ(LanguageFromLangId(lang_id(row.primary, sub_language)), row.k)
                << std::hex << row.primary << " sub " << sub_language;
        }
    }
}

TEST(LanguageFromLangId, PortugueseAndChineseBySubLanguage) {
    EXPECT_EQ(LanguageFromLangId(0x0416), 7); // pt-BR
    EXPECT_EQ(LanguageFromLangId(0x0816), 6); // pt-PT
    EXPECT_EQ(LanguageFromLangId(0x0016), 6);
    EXPECT_EQ(LanguageFromLangId(0x0804), 23); // zh-CN
    EXPECT_EQ(LanguageFromLangId(0x0404), 22); // zh-TW
    EXPECT_EQ(LanguageFromLangId(0x0C04), 22); // zh-HK
    EXPECT_EQ(LanguageFromLangId(0x1004), 22); // zh-SG: sub-language 4, not 2
    EXPECT_EQ(LanguageFromLangId(0x1404), 22); // zh-MO
}

TEST(LanguageFromLangId, LanguagesWithoutARowAreEnglish) {
    for (const std::uint16_t id : {0x0000, 0x0411 /* ja */, 0x0412 /* ko */, 0x040D /* he */,
                                   0x0401 /* ar */, 0x041A /* hr */, 0x0408 /* el */}) {
        EXPECT_EQ(LanguageFromLangId(id), 1) << std::hex << id;
    }
}

TEST(LanguageNumber, EachValueIsItsRow) {
    EXPECT_EQ(LanguageNumber(TWizardLanguage::wlEnglish), 1);
    EXPECT_EQ(LanguageNumber(TWizardLanguage::wlPortugueseBrazilian), 7);
    EXPECT_EQ(LanguageNumber(TWizardLanguage::wlChineseTraditional), 22);
    EXPECT_EQ(LanguageNumber(TWizardLanguage::wlChineseSimplified), 23);
    EXPECT_EQ(LanguageNumber(TWizardLanguage::wlNorwegian), 28);
}

int from_locale(std::string_view locale) {
    return LanguageFromLangId(LangIdFromLocale(locale));
}

TEST(LangIdFromLocale, MapsToTheRowWindowsWouldChoose) {
    const std::pair<std::string_view, int> cases[] = {
        {"en_US.UTF-8", 1},
        {"en_GB", 1},
        {"ru_RU.UTF-8", 2},
        {"de_DE", 3},
        {"de_AT@euro", 3},
        {"fr_CA.UTF-8", 4},
        {"es_MX", 5},
        {"pt_PT.UTF-8", 6},
        {"pt", 6},
        {"pt_BR.UTF-8", 7},
        {"it_IT", 8},
        {"nl_BE", 9},
        {"da_DK", 10},
        {"sv_SE", 11},
        {"fi_FI", 12},
        {"et_EE", 13},
        {"uk_UA", 14},
        {"pl_PL", 15},
        {"cs_CZ", 16},
        {"hu_HU", 17},
        {"ro_RO", 18},
        {"ca_ES@valencia", 19},
        {"eu_ES", 20},
        {"af_ZA", 21},
        {"zh_TW.Big5", 22},
        {"zh_HK.UTF-8", 22},
        {"zh_SG", 22},
        {"zh_CN.GB2312", 23},
        {"zh_CN", 23},
        {"zh", 23},
        {"zh-CN", 23},
        {"id_ID", 24},
        {"ms_MY", 25},
        {"is_IS", 26},
        {"tr_TR.UTF-8", 27},
        {"nb_NO.UTF-8", 28},
        {"nn_NO", 28},
        {"no_NO", 28},
        {"ja_JP.UTF-8", 1},
        {"C", 1},
        {"C.UTF-8", 1},
        {"POSIX", 1},
        {"", 1},
        {"sr_RS@latin", 1},
    };
    for (const auto& [locale, k] : cases) {
        EXPECT_EQ(from_locale(locale), k) << locale;
    }
    EXPECT_EQ(LangIdFromLocale("zh_CN.UTF-8"), 0x0804);
    EXPECT_EQ(LangIdFromLocale("pt_BR"), 0x0416);
    EXPECT_EQ(LangIdFromLocale("C"), 0x0409);
    EXPECT_EQ(LangIdFromLocale("ja_JP"), 0);
}

TEST(MessagesLocale, LcAllThenLcMessagesThenLang) {
    EXPECT_EQ(MessagesLocale("de_DE", "fr_FR", "zh_CN"), "de_DE");
    EXPECT_EQ(MessagesLocale("", "fr_FR", "zh_CN"), "fr_FR");
    EXPECT_EQ(MessagesLocale("", "", "zh_CN"), "zh_CN");
    EXPECT_EQ(MessagesLocale("", "", ""), "");
}

} // namespace
} // namespace qirelo::upgrade
