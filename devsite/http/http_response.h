#pragma once

// The answers the companion's servers give, and their bytes on the wire.

#include "devsite/http/http_request.h"

#include <functional>
#include <string>
#include <string_view>

namespace qirelo::platform::net {
class Stream;
}

namespace qirelo::devsite {

struct Response {
    int status = 200;
    Headers headers; // in the order sent; Set-Cookie may repeat
    std::string body;

    Response& with_header(std::string name, std::string value) {
        headers.emplace_back(std::move(name), std::move(value));
        return *this;
    }

    // Set for an answer that writes its own bytes (a stall, a cut-off body,
    // chunks): it sends all of it and returns false when the connection must
    // close. `keep_alive` is what the request asked; HEAD gets no body.
    std::function<bool(platform::net::Stream&, bool keep_alive, bool head_only)> send_raw;
};

inline constexpr std::string_view kHtmlType = "text/html; charset=utf-8";
inline constexpr std::string_view kTextType = "text/plain; charset=utf-8";
inline constexpr std::string_view kJsonType = "application/json; charset=utf-8";

Response html_response(std::string body, int status = 200);
Response text_response(std::string body, std::string_view content_type = kTextType,
                       int status = 200);
// 303: the browser fetches `location` with GET (after a form post).
Response see_other(std::string location);
// A short plain-text answer for an error status, e.g. 404 "not found".
Response error_response(int status, std::string_view message);

std::string_view reason_phrase(int status);

// Status line, the response's headers, Content-Length, Connection, then the
// body (left out for HEAD, whose Content-Length still tells the body's size).
std::string serialize(const Response& response, bool keep_alive, bool head_only);

} // namespace qirelo::devsite
