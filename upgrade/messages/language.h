#pragma once

// Which language of the message table the update texts are shown in. On
// Windows the system's default language (GetSystemDefaultLangID) decides; on
// Linux the locale (LC_ALL, LC_MESSAGES, LANG) stands in for it, mapped to a
// Windows language id so that both choose by the same rule.

#include <cstdint>
#include <string_view>

namespace qirelo::upgrade {

// The update wizard's Language setting: wlAuto follows the system, every
// other value selects its row of the table (wlEnglish k = 1 ... wlNorwegian
// k = 28).
enum class TWizardLanguage {
    wlAuto,
    wlEnglish,
    wlRussian,
    wlGerman,
    wlFrench,
    wlSpanish,
    wlPortuguese,
    wlPortugueseBrazilian,
    wlItalian,
    wlDutch,
    wlDanish,
    wlSwedish,
    wlFinnish,
    wlEstonian,
    wlUkrainian,
    wlPolish,
    wlCzech,
    wlHungarian,
    wlRomanian,
    wlCatalan,
    wlBasque,
    wlAfrikaans,
    wlChineseTraditional,
    wlChineseSimplified,
    wlIndonesian,
    wlMalay,
    wlIcelandic,
    wlTurkish,
    wlNorwegian,
};

// k of a language other than wlAuto.
int LanguageNumber(TWizardLanguage language);

// k for a Windows language id (LANGID: primary language in the low 10 bits,
// sub-language above): Portuguese is Brazilian (7) for sub-language 1, else
// 6; Chinese is Simplified (23) for sub-language 2, else Traditional (22);
// any other primary language takes the first row that has it, and English (1)
// when none has.
int LanguageFromLangId(std::uint16_t lang_id);

// The Windows language id of a POSIX locale name ("zh_CN.UTF-8", "pt_BR",
// "de_AT@euro", "C"): its language and, for Chinese and Portuguese, its
// territory. 0 (no language) for a language the table does not have; "C",
// "POSIX" and an empty name are US English.
std::uint16_t LangIdFromLocale(std::string_view locale);

// The locale that names the language of messages: LC_ALL when set and not
// empty, else LC_MESSAGES, else LANG.
std::string_view MessagesLocale(std::string_view lc_all, std::string_view lc_messages,
                                std::string_view lang);

// The system's default language id: GetSystemDefaultLangID on Windows, the
// locale of the environment elsewhere.
std::uint16_t SystemDefaultLangId();

} // namespace qirelo::upgrade
