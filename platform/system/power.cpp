#include "platform/system/power.h"

#include <cstdlib>
#include <string_view>

namespace qirelo::platform::system {

bool fake_power_requested() {
    const char* value = std::getenv("QIRELO_FAKE_POWER");
    return value != nullptr && std::string_view(value) == "1";
}

} // namespace qirelo::platform::system
