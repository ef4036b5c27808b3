#pragma once

// The texts of the system-control group, as the client's GB2312 text.

#include <string>

#include "platform/profile/codepage.h"

namespace qirelo::app::system {

// The shutdown button at rest.
inline std::string ShutdownIdleCaption() {
    return platform::gb("立即关机(15秒后)");
}
// The caption's beginning that tells the button is at rest.
inline std::string ShutdownIdlePrefix() {
    return platform::gb("立即关机");
}
// Follows the seconds left while counting down.
inline std::string ShutdownCountdownSuffix() {
    return platform::gb("秒后关机(点击取消)");
}

} // namespace qirelo::app::system
