#include "upgrade/messages/language.h"

#include <array>

#include "upgrade/messages/message_table.h"

namespace qirelo::upgrade {
namespace {

// The primary language of each row k of the table, in order.
constexpr std::array<std::uint16_t, kLanguageCount> kPrimaryLanguages = {
    0x09, 0x19, 0x07, 0x0C, 0x0A, 0x16, 0x16, 0x10, 0x13, 0x06, 0x1D, 0x0B, 0x25, 0x22,
    0x15, 0x05, 0x0E, 0x18, 0x03, 0x2D, 0x36, 0x04, 0x04, 0x21, 0x3E, 0x0F, 0x1F, 0x14};

constexpr std::uint16_t kPortuguese = 0x16;
constexpr std::uint16_t kChinese = 0x04;
constexpr std::uint16_t kSubLanguageDefault = 1;
constexpr std::uint16_t kSubLanguageBrazilian = 1;
constexpr std::uint16_t kSubLanguagePortugal = 2;
constexpr std::uint16_t kSubLanguageChineseSimplified = 2; // the PRC
constexpr std::uint16_t kLangIdUsEnglish = 0x0409;

struct LocaleLanguage {
    std::string_view code; // ISO 639-1
    std::uint16_t primary;
};

constexpr std::array<LocaleLanguage, 28> kLocaleLanguages = {{
    {"en", 0x09}, {"ru", 0x19}, {"de", 0x07}, {"fr", 0x0C}, {"es", 0x0A}, {"pt", 0x16},
    {"it", 0x10}, {"nl", 0x13}, {"da", 0x06}, {"sv", 0x1D}, {"fi", 0x0B}, {"et", 0x25},
    {"uk", 0x22}, {"pl", 0x15}, {"cs", 0x05}, {"hu", 0x0E}, {"ro", 0x18}, {"ca", 0x03},
    {"eu", 0x2D}, {"af", 0x36}, {"zh", 0x04}, {"id", 0x21}, {"ms", 0x3E}, {"is", 0x0F},
    {"tr", 0x1F}, {"nb", 0x14}, {"nn", 0x14}, {"no", 0x14},
}};

struct ChineseTerritory {
    std::string_view code;
    std::uint16_t sub_language;
};

constexpr std::array<ChineseTerritory, 5> kChineseTerritories = {{
    {"TW", 1},
    {"CN", 2},
    {"HK", 3},
    {"SG", 4},
    {"MO", 5},
}};

constexpr std::uint16_t lang_id(std::uint16_t primary, std::uint16_t sub_language) {
    return static_cast<std::uint16_t>((sub_language << 10) | primary);
}

std::uint16_t chinese_sub_language(std::string_view territory) {
    for (const ChineseTerritory& known : kChineseTerritories) {
        if (known.code == territory) {
            return known.sub_language;
        }
    }
    return kSubLanguageChineseSimplified; // plain "zh" is mostly written simplified
}

} // namespace

int LanguageNumber(TWizardLanguage language) {
    if (language == TWizardLanguage::wlAuto) {
        throw MessageTableError("wlAuto names no row of the table");
    }
    return static_cast<int>(language);
}

int LanguageFromLangId(std::uint16_t lang_id) {
    const std::uint16_t primary = lang_id & 0x3FF;
    const std::uint16_t sub_language = lang_id >> 10;
    if (primary == kPortuguese) {
        return LanguageNumber(sub_language == kSubLanguageBrazilian
                                  ? TWizardLanguage::wlPortugueseBrazilian
                                  : TWizardLanguage::wlPortuguese);
    }
    if (primary == kChinese) {
        return LanguageNumber(sub_language == kSubLanguageChineseSimplified
                                  ? TWizardLanguage::wlChineseSimplified
                                  : TWizardLanguage::wlChineseTraditional);
    }
    for (int k = 1; k <= kLanguageCount; ++k) {
        if (kPrimaryLanguages[static_cast<std::size_t>(k - 1)] == primary) {
            return k;
        }
    }
    return LanguageNumber(TWizardLanguage::wlEnglish);
}

std::uint16_t LangIdFromLocale(std::string_view locale) {
    // language[_territory][.codeset][@modifier]; a hyphen is taken for the underscore.
    locale = locale.substr(0, locale.find_first_of(".@"));
    if (locale.empty() || locale == "C" || locale == "POSIX") {
        return kLangIdUsEnglish;
    }
    const auto separator = locale.find_first_of("_-");
    const std::string_view language = locale.substr(0, separator);
    const std::string_view territory =
        separator == std::string_view::npos ? std::string_view{} : locale.substr(separator + 1);
    for (const LocaleLanguage& known : kLocaleLanguages) {
        if (known.code != language) {
            continue;
        }
        if (known.primary == kPortuguese) {
            return lang_id(kPortuguese,
                           territory == "BR" ? kSubLanguageBrazilian : kSubLanguagePortugal);
        }
        if (known.primary == kChinese) {
            return lang_id(kChinese, chinese_sub_language(territory));
        }
        return lang_id(known.primary, kSubLanguageDefault);
    }
    return 0;
}

std::string_view MessagesLocale(std::string_view lc_all, std::string_view lc_messages,
                                std::string_view lang) {
    if (!lc_all.empty()) {
        return lc_all;
    }
    return lc_messages.empty() ? lang : lc_messages;
}

} // namespace qirelo::upgrade
