#include "app/relay/client_slot.h"

#include <optional>
#include <stop_token>

namespace qirelo::relay {

std::string HttpClientSlot::Get(const std::string& url) {
    if (!worker_) {
        return client_->Get(url);
    }
    const std::stop_token stop = worker_->StopToken();
    http::THttpClient& client = *client_;
    std::optional<std::stop_callback<std::function<void()>>> abort;
    abort.emplace(stop, [&client] { client.Abort(); });
    // After a stop the client may have been aborted, finished or not: drop
    // it (once an abort running on another thread is over) and unwind.
    const auto unwindIfStopped = [&] {
        abort.reset();
        if (stop.stop_requested()) {
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

} // namespace qirelo::relay
