#include "http/request_writer.h"

#include <algorithm>
#include <utility>

namespace qirelo::http {

std::string header_line(std::string_view name, std::string_view value) {
    std::string line = std::string(name) + ": " + std::string(value);
    std::string folded;
    const std::size_t value_start = name.size() + 2;
    std::size_t line_start = 0;
    while (line.size() - line_start > kFoldLength) {
        // The last blank that keeps this line within the limit, else the first
        // one after it; a value without blanks cannot be folded at all.
        std::size_t blank = line.rfind(' ', line_start + kFoldLength);
        if (blank == std::string::npos || blank <= std::max(line_start, value_start)) {
            blank = line.find(' ', line_start + kFoldLength);
        }
        if (blank == std::string::npos) {
            break;
        }
        folded.append(line, line_start, blank - line_start).append("\r\n");
        line_start = blank; // the continuation line begins with that blank
    }
    folded.append(line, line_start).append("\r\n");
    return folded;
}

std::string write_get_request(const THttpRequest& request, const Target& target,
                              THttpProtocolVersion version, const std::string& cookies) {
    std::string host = target.host;
    if (target.port != 80) {
        host.append(":").append(std::to_string(target.port));
    }
    const std::pair<std::string_view, const std::string&> headers[] = {
        {"Content-Type", request.ContentType}, {"Host", host},      {"Accept", request.Accept},
        {"User-Agent", request.UserAgent},     {"Cookie", cookies},
    };
    std::string bytes("GET ");
    bytes.append(target.request_target())
        .append(version == THttpProtocolVersion::pv1_0 ? " HTTP/1.0\r\n" : " HTTP/1.1\r\n");
    for (const auto& [name, value] : headers) {
        if (!value.empty()) {
            bytes += header_line(name, value);
        }
    }
    if (version == THttpProtocolVersion::pv1_0) {
        // An HTTP/1.0 server closes after each response unless asked not to.
        bytes += header_line("Connection", "keep-alive");
    }
    bytes += "\r\n";
    return bytes;
}

} // namespace qirelo::http
