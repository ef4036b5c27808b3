#pragma once

#include "app/relay/relay_http.h"
#include "http/http_client.h"
#include "upgrade/custom_thread.h"

#include <memory>

namespace qirelo::app::relay {

// One of the loop's client objects (MonitorHttp or TimerHttp) as the loop
// uses it. A forced stop of `worker` aborts a GET in progress at once; the
// aborted client object is replaced before the stop unwinds the loop, so the
// next run finds a usable one.
class HttpClientSlot final : public RelayHttp {
public:
    // `worker` may be null when no worker runs the loop (nothing to stop).
    HttpClientSlot(std::unique_ptr<http::THttpClient>& client, upgrade::TupCustomThread* worker)
        : client_(client), worker_(worker) {}

    std::string Get(const std::string& url) override;
    void Replace() override;

private:
    std::unique_ptr<http::THttpClient>& client_;
    upgrade::TupCustomThread* worker_;
};

} // namespace qirelo::app::relay
