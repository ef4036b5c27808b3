#pragma once

// The bytes of a GET request: request line, header lines in a fixed order,
// empty line; every line ends with CR LF and the whole goes out in one send.

#include "http/url.h"

#include <string>

namespace qirelo::http {

enum class THttpProtocolVersion { pv1_0, pv1_1 };

// The request record: the fields that produce request headers.
struct THttpRequest {
    std::string ContentType = "text/html";
    std::string Accept = "text/html, */*";
    std::string UserAgent = "Mozilla/3.0 (compatible; Qirelo HTTP)";
};

// Header lines longer than this are folded onto continuation lines.
inline constexpr std::size_t kFoldLength = 1024;

// "Name: value" CR LF, folded at blanks so that no line exceeds kFoldLength
// where a blank allows it (a fold replaces a blank, which keeps the value).
std::string header_line(std::string_view name, std::string_view value);

std::string write_get_request(const THttpRequest& request, const Target& target,
                              THttpProtocolVersion version, const std::string& cookies);

} // namespace qirelo::http
