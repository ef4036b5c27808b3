#include "app/relay/http_client_slot.h"

#include <optional>

namespace qirelo::app::relay {

std::string HttpClientSlot::Get(const std::string& url) {
    upgrade::StopSignal* stop = worker_ ? worker_->RunStop() : nullptr;
    if (!stop) {
        return client_->Get(url);
    }
    http::THttpClient& client = *client_;
    std::optional<upgrade::StopSignal::Callback> abort;
    abort.emplace(*stop, [&client] { client.Abort(); });
    // After a stop the client may have been aborted, finished or not: drop
    // it (once an abort running on another thread is over) and unwind.
    const auto unwindIfStopped = [&] {
        abort.reset();
        if (stop->Requested()) {
            Replace();
            worker_->CheckStop();
        }
    };
    std::string body;
    try {
        body = client.Get(url);
    } catch (...) {
        unwindIfStopped();
        throw;
    }
    unwindIfStopped();
    return body;
}

void HttpClientSlot::Replace() {
    client_ = client_->WithSameSettings();
}

} // namespace qirelo::app::relay
