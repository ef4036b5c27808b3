#pragma once

// The Linux internet boundary over libcurl. `idle_poll` is the longest wait
// for the socket when curl had nothing new to deliver (a close or new data
// ends it sooner); os_internet waits a second at most.

#include <chrono>
#include <memory>

#include "platform/inet/internet.h"

namespace qirelo::platform::inet {

std::unique_ptr<Internet> curl_internet(std::chrono::milliseconds idle_poll);

} // namespace qirelo::platform::inet
