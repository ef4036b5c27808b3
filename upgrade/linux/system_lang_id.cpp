// The locale of the environment stands in for Windows' system language.

#include <cstdlib>

#include "upgrade/messages/language.h"

namespace qirelo::upgrade {
namespace {

std::string_view environment(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string_view{} : std::string_view{value};
}

} // namespace

std::uint16_t SystemDefaultLangId() {
    return LangIdFromLocale(
        MessagesLocale(environment("LC_ALL"), environment("LC_MESSAGES"), environment("LANG")));
}

} // namespace qirelo::upgrade
