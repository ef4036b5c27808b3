#pragma once

// Reading a response: the status line and header block (skipping interim
// 100 responses) and the body by Content-Length, chunked coding or close.

#include "http/input_buffer.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qirelo::http {

// The response record of the last response.
struct ResponseHead {
    std::string status_line;
    int code = -1;                    // -1 when the status line carries no number
    std::vector<std::string> headers; // raw lines, continuation lines joined
    bool complete = false;            // the header block ended with its empty line

    std::string location;
    std::string connection;
    std::string proxy_connection;
    std::string transfer_encoding;
    std::int64_t content_length = -1; // -1 when absent or not a number

    // The trimmed value of the first header called `name` (any case), or "".
    std::string value(std::string_view name) const;
};

// Limits the header block as a whole, so endless header lines end too.
inline constexpr std::size_t kMaxHeaderLines = 1000;

// Interim "100 Continue" answers are skipped, but not endlessly: this many in
// a row end the response.
inline constexpr int kMaxInterimResponses = 16;

// A body of any size.
inline constexpr std::uint64_t kNoBodyLimit = ~std::uint64_t{0};

// The text after the first space, trimmed, up to the next space, as a decimal
// number; -1 for anything else ("HTTP/1.1 200 OK" gives 200).
int response_code(std::string_view status_line);

// 1xx, 204 and 304 responses never carry a body.
bool carries_body(int code);

// The chunk-size line's number: hexadecimal up to the first blank or ";"
// (a chunk extension); anything not hexadecimal counts as 0.
std::uint64_t chunk_size(std::string_view line);

// EHttpConnectionClosed when the stream ends before a status line;
// EHttpLineTooLong for a line over `max_line_length` or an endless block;
// EHttpProtocolError (code 100) after kMaxInterimResponses interim answers.
ResponseHead read_response_head(InputBuffer& input, std::size_t max_line_length);

// Appends the body of `head` to `sink`. A Content-Length body cut short by
// the server is kept as it is (THttpClient refuses it for a success); a
// chunked one raises EHttpConnectionClosed.
// EHttpResponseTooLarge for a body over `max_body_size` bytes: a
// Content-Length or chunk size over it is refused before its bytes are read,
// a body read until the close once one byte too many has come.
void read_response_body(InputBuffer& input, const ResponseHead& head, std::string& sink,
                        std::size_t max_line_length, std::uint64_t max_body_size = kNoBodyLimit);

} // namespace qirelo::http
