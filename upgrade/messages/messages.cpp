#include "upgrade/messages/messages.h"

#include <atomic>
#include <string>

#include "platform/profile/codepage.h"
#include "upgrade/messages/message_table.h"
#include "upgrade/messages/string_resources.h"

namespace qirelo::upgrade {
namespace {

int detected_language() {
    return LanguageFromLangId(SystemDefaultLangId());
}

// Detected once, on first use, like the unit start of the original component.
std::atomic<int>& language_in_use() {
    static std::atomic<int> k{detected_language()};
    return k;
}

} // namespace

int MessageLanguage() {
    return language_in_use().load();
}

void SetMessageLanguage(TWizardLanguage language) {
    language_in_use().store(language == TWizardLanguage::wlAuto ? detected_language()
                                                                : LanguageNumber(language));
}

std::u16string MessageText(int n) {
    if (n < 0 || n >= kMessageCount) {
        throw MessageTableError("no message " + std::to_string(n));
    }
    return LoadStringResource(MessageResourceId(MessageLanguage(), n));
}

std::string Message(int n) {
    return platform::gb_from_utf16(MessageText(n));
}

std::string StringResource(unsigned id) {
    return platform::gb_from_utf16(LoadStringResource(id));
}

} // namespace qirelo::upgrade
