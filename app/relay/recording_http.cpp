#include "app/relay/recording_http.h"

#include "http/errors.h"

namespace qirelo::app::relay {

std::string RecordingHttp::Get(const std::string& url) {
    try {
        std::string body = inner_.Get(url);
        sink_("GET " + url + " ok " + std::to_string(body.size()));
        return body;
    } catch (const std::exception& error) {
        sink_("GET " + url + " error " + ErrorClassName(error));
        throw;
    }
}

std::string ErrorClassName(const std::exception& error) {
    if (const auto* http = dynamic_cast<const http::EHttpError*>(&error)) {
        return http->class_name();
    }
    return "Exception";
}

} // namespace qirelo::app::relay
