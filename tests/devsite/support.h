#pragma once

// Helpers shared by the companion's tests: requests parsed from their wire
// text, and the cookie text a browser would show for a response's cookies.

#include "devsite/http/http_request.h"
#include "devsite/http/http_response.h"

#include <string>
#include <vector>

namespace qirelo::devsite::test_support {

// One whole request from its bytes, as the servers read it.
inline Request parse_request(const std::string& wire) {
    RequestReader reader;
    reader.append(wire);
    auto request = reader.next();
    if (!request)
        throw std::runtime_error("incomplete request in test");
    return *request;
}

inline Request get(const std::string& target, const std::string& extra_headers = "") {
    return parse_request("GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1:12860\r\n" +
                         extra_headers + "\r\n");
}

inline Request post_form(const std::string& target, const std::string& body,
                         const std::string& extra_headers = "") {
    return parse_request("POST " + target +
                         " HTTP/1.1\r\nHost: 127.0.0.1:12860\r\nContent-Type: "
                         "application/x-www-form-urlencoded\r\nContent-Length: " +
                         std::to_string(body.size()) + "\r\n" + extra_headers + "\r\n" + body);
}

inline Request put(const std::string& target, const std::string& body) {
    return parse_request("PUT " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Length: " +
                         std::to_string(body.size()) + "\r\n\r\n" + body);
}

inline std::vector<std::string> set_cookies(const Response& response) {
    std::vector<std::string> cookies;
    for (const auto& [name, value] : response.headers)
        if (name == "Set-Cookie")
            cookies.push_back(value);
    return cookies;
}

// document.cookie after a fresh browser took the response's cookies (one
// path, so in the order they were set), without the removed ones.
inline std::string document_cookie(const Response& response) {
    std::string text;
    for (const auto& cookie : set_cookies(response)) {
        auto pair = cookie.substr(0, cookie.find(';'));
        if (cookie.find("expires=Thu, 01 Jan 1970") != std::string::npos)
            continue;
        text += (text.empty() ? "" : "; ") + pair;
    }
    return text;
}

// The client's member-id pick-up: the text between "user%5Fid=" and the next ";".
inline std::string client_member_id(const std::string& cookie) {
    auto at = cookie.find("user%5Fid=");
    if (at == std::string::npos)
        return "<none>";
    auto rest = cookie.substr(at + 10);
    auto semicolon = rest.find(';');
    return semicolon == std::string::npos ? "" : rest.substr(0, semicolon);
}

} // namespace qirelo::devsite::test_support
