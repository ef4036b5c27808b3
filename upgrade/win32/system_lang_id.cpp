#include <windows.h>

#include "upgrade/messages/language.h"

namespace qirelo::upgrade {

std::uint16_t SystemDefaultLangId() {
    return GetSystemDefaultLangID();
}

} // namespace qirelo::upgrade
