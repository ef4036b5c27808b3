#include "app/relay/relay_http_client.h"

namespace qirelo::app::relay {

std::unique_ptr<http::THttpClient> NewRelayHttpClient() {
    auto client = std::make_unique<http::THttpClient>();
    client->HandleRedirects = true;
    client->ReadTimeout = kRelayReadTimeoutMs;
    client->MaxResponseSize = kRelayMaxResponseSize;
    return client;
}

} // namespace qirelo::app::relay
