#include "devsite/http/http_response.h"

namespace qirelo::devsite {

Response html_response(std::string body, int status) {
    return text_response(std::move(body), kHtmlType, status);
}

Response text_response(std::string body, std::string_view content_type, int status) {
    Response response;
    response.status = status;
    response.body = std::move(body);
    response.with_header("Content-Type", std::string(content_type));
    // Pages and records change with every tap: no browser may answer from its cache.
    response.with_header("Cache-Control", "no-store");
    return response;
}

Response see_other(std::string location) {
    Response response = text_response("", kTextType, 303);
    response.with_header("Location", std::move(location));
    return response;
}

Response error_response(int status, std::string_view message) {
    return text_response(std::string(message) + "\n", kTextType, status);
}

std::string_view reason_phrase(int status) {
    switch (status) {
    case 100:
        return "Continue";
    case 200:
        return "OK";
    case 204:
        return "No Content";
    case 301:
        return "Moved Permanently";
    case 302:
        return "Found";
    case 303:
        return "See Other";
    case 307:
        return "Temporary Redirect";
    case 400:
        return "Bad Request";
    case 401:
        return "Unauthorized";
    case 403:
        return "Forbidden";
    case 404:
        return "Not Found";
    case 405:
        return "Method Not Allowed";
    case 408:
        return "Request Timeout";
    case 413:
        return "Content Too Large";
    case 431:
        return "Request Header Fields Too Large";
    case 500:
        return "Internal Server Error";
    case 501:
        return "Not Implemented";
    case 503:
        return "Service Unavailable";
    case 505:
        return "HTTP Version Not Supported";
    default:
        return "Unknown";
    }
}

std::string serialize(const Response& response, bool keep_alive, bool head_only) {
    std::string out = "HTTP/1.1 " + std::to_string(response.status) + " ";
    out += reason_phrase(response.status);
    out += "\r\n";
    for (const auto& [name, value] : response.headers)
        out += name + ": " + value + "\r\n";
    // RFC 9110 8.6: no Content-Length on a 204.
    if (response.status != 204)
        out += "Content-Length: " + std::to_string(response.body.size()) + "\r\n";
    out += keep_alive ? "Connection: keep-alive\r\n" : "Connection: close\r\n";
    out += "\r\n";
    if (!head_only)
        out += response.body;
    return out;
}

} // namespace qirelo::devsite
