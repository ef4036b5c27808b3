#pragma once

// The relay loop's HTTP client objects, as start-up creates them and as the
// loop replaces a failed one: redirects followed, 9000 ms read time-out.

#include <memory>

#include "http/http_client.h"

namespace qirelo::app::relay {

inline constexpr int kRelayReadTimeoutMs = 9000;

std::unique_ptr<http::THttpClient> NewRelayHttpClient();

} // namespace qirelo::app::relay
