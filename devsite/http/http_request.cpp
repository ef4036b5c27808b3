#include "devsite/http/http_request.h"

#include <algorithm>
#include <cctype>

#include "text/ascii.h"

namespace qirelo::devsite {
namespace {

// RFC 9110 5.6.2: the characters of a token (method, header name).
bool is_token(std::string_view text) {
    static constexpr std::string_view kSpecials = "!#$%&'*+-.^_`|~";
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || kSpecials.find(c) != kSpecials.npos;
    });
}

bool is_visible(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) {
        auto byte = static_cast<unsigned char>(c);
        return byte > 0x20 && byte != 0x7F;
    });
}

// Header values may hold blanks and tabs but no other control character.
bool is_field_value(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) {
        auto byte = static_cast<unsigned char>(c);
        return byte == '\t' || (byte >= 0x20 && byte != 0x7F);
    });
}

[[noreturn]] void refuse(int status, const std::string& message) {
    throw HttpRequestError(status, message);
}

// Splits the head into lines; a bare LF ends a line as well as CRLF.
std::vector<std::string_view> head_lines(std::string_view head) {
    std::vector<std::string_view> lines;
    while (!head.empty()) {
        auto end = head.find('\n');
        auto line = head.substr(0, end);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back(line);
        if (end == head.npos)
            break;
        head.remove_prefix(end + 1);
    }
    return lines;
}

// Finds the blank line that ends the head: returns {end of head, start of body}.
std::optional<std::pair<std::size_t, std::size_t>> find_head_end(const std::string& buffer) {
    for (std::size_t at = buffer.find('\n'); at != buffer.npos; at = buffer.find('\n', at + 1)) {
        std::size_t next = at + 1;
        if (next < buffer.size() && buffer[next] == '\n')
            return std::pair{at, next + 1};
        if (next + 1 < buffer.size() && buffer[next] == '\r' && buffer[next + 1] == '\n')
            return std::pair{at, next + 2};
    }
    return std::nullopt;
}

int parse_version(std::string_view text) {
    if (text == "HTTP/1.1")
        return 1;
    if (text == "HTTP/1.0")
        return 0;
    if (text.size() == 8 && text.substr(0, 5) == "HTTP/" &&
        std::isdigit(static_cast<unsigned char>(text[5])) && text[6] == '.' &&
        std::isdigit(static_cast<unsigned char>(text[7])))
        refuse(505, "HTTP version not supported: " + std::string(text));
    refuse(400, "malformed request line");
}

void parse_request_line(std::string_view line, Request& request) {
    auto first = line.find(' ');
    auto second = first == line.npos ? line.npos : line.find(' ', first + 1);
    if (second == line.npos || line.find(' ', second + 1) != line.npos)
        refuse(400, "malformed request line");
    auto method = line.substr(0, first);
    auto target = line.substr(first + 1, second - first - 1);
    if (!is_token(method))
        refuse(400, "malformed method");
    if (target.empty() || target.front() != '/' || !is_visible(target))
        refuse(400, "malformed request target");
    request.minor_version = parse_version(line.substr(second + 1));
    request.method = std::string(method);
    request.target = std::string(target);
    auto question = target.find('?');
    request.path = percent_decode(target.substr(0, question), false);
    if (request.path.find('\0') != std::string::npos)
        refuse(400, "NUL in path");
    if (question != target.npos)
        request.query = std::string(target.substr(question + 1));
}

void parse_header_line(std::string_view line, Headers& headers) {
    if (line.front() == ' ' || line.front() == '\t')
        refuse(400, "folded header line");
    auto colon = line.find(':');
    if (colon == line.npos || !is_token(line.substr(0, colon)))
        refuse(400, "malformed header line");
    auto value = text::trim(line.substr(colon + 1));
    if (!is_field_value(value))
        refuse(400, "control character in header value");
    headers.emplace_back(std::string(line.substr(0, colon)), std::string(value));
}

// The body length: Content-Length, all copies agreeing; no transfer codings.
std::size_t body_length(const Headers& headers, std::size_t max_body) {
    std::optional<std::string> length;
    for (const auto& [name, value] : headers) {
        if (iequals(name, "Transfer-Encoding"))
            refuse(501, "transfer codings are not supported in requests");
        if (!iequals(name, "Content-Length"))
            continue;
        if (value.empty() || value.size() > 18 ||
            !std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; }))
            refuse(400, "malformed Content-Length");
        if (length && *length != value)
            refuse(400, "conflicting Content-Length headers");
        length = value;
    }
    std::size_t size = length ? std::stoull(*length) : 0;
    if (size > max_body)
        refuse(413, "request body too large");
    return size;
}

} // namespace

std::optional<std::string> find_header(const Headers& headers, std::string_view name) {
    for (const auto& [key, value] : headers)
        if (iequals(key, name))
            return value;
    return std::nullopt;
}

bool Request::keep_alive() const {
    auto connection = header("Connection").value_or("");
    const std::string lowered = text::ascii_lower(connection);
    if (lowered.find("close") != std::string::npos)
        return false;
    return minor_version >= 1 || lowered.find("keep-alive") != std::string::npos;
}

void RequestReader::append(std::string_view bytes) {
    buffer_.append(bytes);
}

std::optional<Request> RequestReader::next() {
    if (!pending_) {
        pending_ = parse_head();
        if (!pending_)
            return std::nullopt;
    }
    if (buffer_.size() < body_length_)
        return std::nullopt;
    Request request = std::move(*pending_);
    pending_.reset();
    continue_wanted_ = false;
    request.body = buffer_.substr(0, body_length_);
    buffer_.erase(0, body_length_);
    return request;
}

bool RequestReader::take_continue_request() {
    bool wanted = continue_wanted_ && buffer_.size() < body_length_;
    continue_wanted_ = false;
    return wanted;
}

std::optional<Request> RequestReader::parse_head() {
    // Clients may send stray line ends between requests (after a POST body).
    auto start = buffer_.find_first_not_of("\r\n");
    buffer_.erase(0, start == std::string::npos ? buffer_.size() : start);
    auto end = find_head_end(buffer_);
    if (!end) {
        // A head within its limit may already have the first two bytes of
        // its blank line ("\n\r") past it.
        if (buffer_.size() > limits_.max_head + 2)
            refuse(431, "request head too large");
        return std::nullopt;
    }
    if (end->first > limits_.max_head)
        refuse(431, "request head too large");

    Request request;
    auto lines = head_lines(std::string_view(buffer_).substr(0, end->first));
    parse_request_line(lines.front(), request);
    for (std::size_t i = 1; i < lines.size(); ++i)
        parse_header_line(lines[i], request.headers);
    if (request.minor_version >= 1 && !request.header("Host"))
        refuse(400, "HTTP/1.1 request without Host");
    body_length_ = body_length(request.headers, limits_.max_body);

    auto expect = request.header("Expect");
    continue_wanted_ = expect && iequals(*expect, "100-continue") && body_length_ > 0;
    buffer_.erase(0, end->second);
    return request;
}

std::string percent_decode(std::string_view text, bool plus_is_space) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '+' && plus_is_space) {
            out += ' ';
        } else if (c == '%') {
            int high = i + 2 < text.size() ? text::hex_digit(text[i + 1]) : -1;
            int low = high >= 0 ? text::hex_digit(text[i + 2]) : -1;
            if (low < 0)
                refuse(400, "broken percent escape");
            out += static_cast<char>(high * 16 + low);
            i += 2;
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace qirelo::devsite
