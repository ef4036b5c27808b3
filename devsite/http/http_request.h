#pragma once

// One HTTP/1.x request as the companion's servers read it off a connection,
// and the reader that cuts requests out of the bytes received. next() refuses
// a head or a body past its limits, so a server that calls it after every
// append holds at most the limits and one read, however much a client sends.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "text/ascii.h"

namespace qirelo::devsite {

using Headers = std::vector<std::pair<std::string, std::string>>;

using text::iequals;

// Case-insensitive look-up of the first header of that name.
std::optional<std::string> find_header(const Headers& headers, std::string_view name);

struct Request {
    std::string method;
    std::string target;    // as sent: path and query
    std::string path;      // percent-decoded path, without the query
    std::string query;     // raw text after '?', empty when none
    int minor_version = 1; // HTTP/1.<minor>
    Headers headers;
    std::string body;
    std::uint64_t connection = 0; // which connection of its server it came on, from 1

    std::optional<std::string> header(std::string_view name) const {
        return find_header(headers, name);
    }
    // HTTP/1.1 keeps the connection unless told "close"; 1.0 only on "keep-alive".
    bool keep_alive() const;
};

// A request that cannot be served; `status` is the answer it gets (400, 413,
// 431, 501, 505) before the connection is closed.
class HttpRequestError : public std::runtime_error {
public:
    HttpRequestError(int status, const std::string& message)
        : std::runtime_error(message), status_(status) {}
    int status() const noexcept { return status_; }

private:
    int status_;
};

struct RequestLimits {
    std::size_t max_head = 16 * 1024; // request line and headers
    std::size_t max_body = 64 * 1024;
};

class RequestReader {
public:
    explicit RequestReader(RequestLimits limits = {}) : limits_(limits) {}

    // Adds received bytes; next() tells whether they make a request.
    void append(std::string_view bytes);

    // The next whole request, or nullopt while more bytes are needed. Raises
    // HttpRequestError for a malformed or oversized request.
    std::optional<Request> next();

    // True once a complete head asking "Expect: 100-continue" waits for its
    // body; the caller answers "100 Continue" once and the flag clears.
    bool take_continue_request();

    bool empty() const { return buffer_.empty() && !pending_; }

private:
    std::optional<Request> parse_head();

    RequestLimits limits_;
    std::string buffer_;
    std::optional<Request> pending_; // head read, body still arriving
    std::size_t body_length_ = 0;
    bool continue_wanted_ = false;
};

// Percent-decoding of a path or form value; '+' becomes a blank only in forms.
// Raises HttpRequestError(400) on a broken escape.
std::string percent_decode(std::string_view text, bool plus_is_space);

} // namespace qirelo::devsite
