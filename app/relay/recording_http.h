#pragma once

#include "app/relay/recording_actions.h"
#include "app/relay/relay_http.h"

#include <exception>
#include <string>

namespace qirelo::app::relay {

// Records each GET of a client object as "GET <url> ok <bytes>" or
// "GET <url> error <Class>".
class RecordingHttp final : public RelayHttp {
public:
    RecordingHttp(LineSink sink, RelayHttp& inner) : sink_(std::move(sink)), inner_(inner) {}
    std::string Get(const std::string& url) override;
    void Replace() override { inner_.Replace(); }

private:
    LineSink sink_;
    RelayHttp& inner_;
};

// The class name of an error for the GET lines: the HTTP client's own names
// ("EHttpReadTimeout"), else "Exception".
std::string ErrorClassName(const std::exception& error);

} // namespace qirelo::app::relay
