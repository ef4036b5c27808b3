#pragma once

// The relay loop's HTTP client objects, as start-up creates them and as the
// loop replaces a failed one: redirects followed, 9000 ms read time-out, and
// bodies of at most 64 KiB (a relay record or a timer number is a few bytes).

#include <cstddef>
#include <memory>

#include "http/http_client.h"

namespace qirelo::app::relay {

inline constexpr int kRelayReadTimeoutMs = 9000;
inline constexpr std::size_t kRelayMaxResponseSize = 64 * 1024;

std::unique_ptr<http::THttpClient> NewRelayHttpClient();

} // namespace qirelo::app::relay
