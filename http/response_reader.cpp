#include "http/response_reader.h"

#include "http/errors.h"
#include "text/ascii.h"

#include <algorithm>
#include <limits>

namespace qirelo::http {

namespace {

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

// A non-negative decimal number, or -1.
std::int64_t decimal(std::string_view text) {
    if (text.empty() || text.size() > 18 || !std::all_of(text.begin(), text.end(), is_digit)) {
        return -1;
    }
    std::int64_t value = 0;
    for (const char c : text) {
        value = value * 10 + (c - '0');
    }
    return value;
}

std::string read_line_or_throw(InputBuffer& input, std::size_t max_line_length) {
    std::optional<std::string> line = input.read_line(max_line_length);
    if (!line) {
        throw EHttpConnectionClosed();
    }
    return std::move(*line);
}

// One status line and its header block.
ResponseHead read_one_head(InputBuffer& input, std::size_t max_line_length) {
    ResponseHead head;
    head.status_line = read_line_or_throw(input, max_line_length);
    head.code = response_code(head.status_line);
    // A server that closes in the middle of the headers ends them there.
    while (std::optional<std::string> line = input.read_line(max_line_length)) {
        if (line->empty()) {
            head.complete = true;
            break;
        }
        const bool continuation = line->front() == ' ' || line->front() == '\t';
        if (continuation && !head.headers.empty()) {
            head.headers.back().append(" ").append(text::trim(*line, text::kWhitespace));
            continue;
        }
        if (head.headers.size() == kMaxHeaderLines) {
            throw EHttpLineTooLong();
        }
        head.headers.push_back(std::move(*line));
    }
    head.location = head.value("Location");
    head.connection = head.value("Connection");
    head.proxy_connection = head.value("Proxy-Connection");
    head.transfer_encoding = head.value("Transfer-Encoding");
    head.content_length = decimal(head.value("Content-Length"));
    return head;
}

void read_sized_body(InputBuffer& input, std::string& sink, std::uint64_t size,
                     std::uint64_t max_body_size) {
    if (size > max_body_size) {
        throw EHttpResponseTooLarge(max_body_size);
    }
    input.read_into(sink, size);
}

void read_chunked_body(InputBuffer& input, std::string& sink, std::size_t max_line_length,
                       std::uint64_t max_body_size) {
    std::uint64_t taken = 0;
    for (;;) {
        const std::uint64_t size = chunk_size(read_line_or_throw(input, max_line_length));
        if (size == 0) {
            break;
        }
        if (size > max_body_size - taken) {
            throw EHttpResponseTooLarge(max_body_size);
        }
        if (input.read_into(sink, size) < size) {
            throw EHttpConnectionClosed();
        }
        taken += size;
        read_line_or_throw(input, max_line_length); // the line end after the data
    }
    // Trailer lines up to the empty line, so the next response starts in step.
    // The body is whole already: a close here is no error.
    for (std::size_t count = 0;; ++count) {
        const std::optional<std::string> line = input.read_line(max_line_length);
        if (!line || line->empty()) {
            break;
        }
        if (count == kMaxHeaderLines) {
            throw EHttpLineTooLong();
        }
    }
}

// One byte past the limit tells a body that is too long from one that fits
// exactly, without holding more than that.
void read_body_until_close(InputBuffer& input, std::string& sink, std::uint64_t max_body_size) {
    if (max_body_size == kNoBodyLimit) {
        input.read_to_end(sink);
    } else if (input.read_into(sink, max_body_size + 1) > max_body_size) {
        throw EHttpResponseTooLarge(max_body_size);
    }
}

} // namespace

std::string ResponseHead::value(std::string_view name) const {
    for (const std::string& line : headers) {
        const std::size_t colon = line.find(':');
        if (colon != std::string::npos &&
            text::iequals(text::trim(std::string_view(line).substr(0, colon), text::kWhitespace),
                          name)) {
            return std::string(
                text::trim(std::string_view(line).substr(colon + 1), text::kWhitespace));
        }
    }
    return {};
}

int response_code(std::string_view status_line) {
    const std::size_t space = status_line.find(' ');
    if (space == std::string_view::npos) {
        return -1;
    }
    std::string_view text = text::trim(status_line.substr(space + 1), text::kWhitespace);
    text = text.substr(0, text.find(' '));
    if (text.size() > 9) {
        return -1;
    }
    return static_cast<int>(decimal(text));
}

bool carries_body(int code) {
    return !(code >= 100 && code <= 199) && code != 204 && code != 304;
}

std::uint64_t chunk_size(std::string_view line) {
    line = line.substr(0, line.find_first_of(" ;"));
    if (line.empty() || line.size() > 16) {
        return 0;
    }
    std::uint64_t size = 0;
    for (const char c : line) {
        const int digit = text::hex_digit(c);
        if (digit < 0) {
            return 0;
        }
        size = size * 16 + static_cast<std::uint64_t>(digit);
    }
    return size;
}

ResponseHead read_response_head(InputBuffer& input, std::size_t max_line_length) {
    ResponseHead head = read_one_head(input, max_line_length);
    for (int interim = 1; head.code == 100; ++interim) {
        if (interim == kMaxInterimResponses) {
            throw EHttpProtocolError(head.code, head.status_line,
                                     std::to_string(interim) + " interim responses in a row");
        }
        head = read_one_head(input, max_line_length);
    }
    return head;
}

void read_response_body(InputBuffer& input, const ResponseHead& head, std::string& sink,
                        std::size_t max_line_length, std::uint64_t max_body_size) {
    if (!carries_body(head.code)) {
        return;
    }
    if (head.content_length > 0) {
        read_sized_body(input, sink, static_cast<std::uint64_t>(head.content_length),
                        max_body_size);
    } else if (head.transfer_encoding.find("chunked") != std::string::npos) {
        // Exactly this lower-case word: "Chunked" is read until close.
        read_chunked_body(input, sink, max_line_length, max_body_size);
    } else if (head.content_length < 0) {
        read_body_until_close(input, sink, max_body_size);
    }
}

} // namespace qirelo::http
