#pragma once

#include <string>

namespace qirelo::app::relay {

// One of the loop's two long-lived client objects, as the loop sees it.
class RelayHttp {
public:
    virtual ~RelayHttp() = default;
    // The response body; raises on any failure (and when the worker is stopped).
    virtual std::string Get(const std::string& url) = 0;
    // After a failure: destroy the client object and put a fresh one with the
    // same settings in its place, so the next GET starts on a new connection.
    virtual void Replace() = 0;
};

} // namespace qirelo::app::relay
