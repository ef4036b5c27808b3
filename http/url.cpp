#include "http/url.h"

#include "http/errors.h"
#include "text/ascii.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace qirelo::http {

namespace {

[[noreturn]] void invalid_url() {
    throw EHttpError("Invalid URL");
}

bool is_lead_byte(unsigned char c) {
    return c >= 0x81 && c <= 0xFE;
}

// Backslashes become slashes; the trail byte of a double-byte character is
// kept as it is even when it happens to be 0x5C.
std::string with_forward_slashes(std::string_view url) {
    std::string result(url);
    for (std::size_t i = 0; i < result.size(); ++i) {
        const auto c = static_cast<unsigned char>(result[i]);
        if (is_lead_byte(c)) {
            ++i;
        } else if (c == '\\') {
            result[i] = '/';
        }
    }
    return result;
}

bool is_scheme_char(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '+' ||
           c == '-' || c == '.';
}

// The length of the scheme when the URL is absolute. A "://" inside a path or
// query ("/go?to=http://x") does not make the URL absolute.
std::optional<std::size_t> absolute_scheme_length(std::string_view url) {
    const std::size_t marker = url.find("://");
    if (marker == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view scheme = url.substr(0, marker);
    if (!std::all_of(scheme.begin(), scheme.end(), is_scheme_char)) {
        return std::nullopt;
    }
    return marker;
}

int default_port(const std::string& scheme) {
    if (scheme == "http") {
        return 80;
    }
    if (scheme == "https") {
        return 443;
    }
    throw EHttpUnknownProtocol();
}

int port_without_one_given(const std::string& scheme, int current_port) {
    if (current_port == 0 || current_port == 80 || current_port == 443) {
        return default_port(scheme);
    }
    return current_port;
}

int explicit_port(std::string_view text) {
    if (text.empty() || text.size() > 5 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        invalid_url();
    }
    const int port = std::stoi(std::string(text));
    if (port < 1 || port > 65535) {
        invalid_url();
    }
    return port;
}

struct SplitPath {
    std::string path; // before the query
    std::string query;
};

SplitPath split_query(std::string_view text) {
    std::size_t start = text.find('?');
    if (start == std::string_view::npos) {
        start = text.find('=');
    }
    if (start == std::string_view::npos) {
        return {std::string(text), {}};
    }
    return {std::string(text.substr(0, start)), std::string(text.substr(start))};
}

void set_path(Target& target, const std::string& path) {
    const std::size_t last_slash = path.rfind('/');
    const std::size_t document_start = last_slash == std::string::npos ? 0 : last_slash + 1;
    std::string directory = path.substr(0, document_start);
    if (!directory.starts_with('/')) {
        directory.insert(directory.begin(), '/');
    }
    target.directory = std::move(directory);
    target.document = path.substr(document_start);
}

// "." and ".." segments of a relative reference (RFC 3986, 5.2.4).
std::string without_dot_segments(const std::string& path) {
    std::vector<std::string> kept;
    std::size_t start = 1; // the path begins with "/"
    for (;;) {
        const std::size_t end = path.find('/', start);
        const std::string segment =
            path.substr(start, end == std::string::npos ? std::string::npos : end - start);
        const bool last = end == std::string::npos;
        if (segment == "..") {
            if (!kept.empty()) {
                kept.pop_back();
            }
            if (last) {
                kept.emplace_back(); // "/a/.." names the directory "/"
            }
        } else if (segment == ".") {
            if (last) {
                kept.emplace_back();
            }
        } else {
            kept.push_back(segment);
        }
        if (last) {
            break;
        }
        start = end + 1;
    }
    std::string result;
    for (const std::string& segment : kept) {
        result.append("/").append(segment);
    }
    return result.empty() ? "/" : result;
}

// Bytes 0x80 and above (GB2312 text in a path or query) travel as "%HH",
// which servers decode back to the same bytes. So does a backslash: by now
// every one left is the trail byte of a double-byte character (the others
// became slashes), and once its lead byte is "%HH" nothing would tell it
// from a slash when the URL is read again.
std::string with_high_bytes_encoded(const std::string& text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    encoded.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80 && c != '\\') {
            encoded += c;
        } else {
            encoded += '%';
            encoded += kHex[byte >> 4];
            encoded += kHex[byte & 0x0F];
        }
    }
    return encoded;
}

bool safe_on_the_wire(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte > 0x20 && byte < 0x7F;
    });
}

void resolve_absolute(Target& next, const Target& current, std::string_view url,
                      std::size_t scheme_length) {
    next.scheme = text::ascii_lower(url.substr(0, scheme_length));
    if (next.scheme.empty()) {
        next.scheme = "http";
    }
    const std::string_view rest = url.substr(scheme_length + 3);
    const std::size_t authority_end = std::min(rest.find_first_of("/?"), rest.size());
    std::string_view authority = rest.substr(0, authority_end);

    next.user.clear();
    next.password.clear();
    if (const std::size_t at = authority.rfind('@'); at != std::string_view::npos) {
        const std::string_view user_info = authority.substr(0, at);
        const std::size_t colon = user_info.find(':');
        next.user = std::string(user_info.substr(0, colon));
        if (colon != std::string_view::npos) {
            next.password = std::string(user_info.substr(colon + 1));
        }
        authority.remove_prefix(at + 1);
    }
    const std::size_t colon = authority.rfind(':');
    next.host = std::string(authority.substr(0, colon));
    const std::string_view port_text =
        colon == std::string_view::npos ? std::string_view() : authority.substr(colon + 1);
    next.port = port_text.empty() ? port_without_one_given(next.scheme, current.port)
                                  : explicit_port(port_text);

    const SplitPath split = split_query(rest.substr(authority_end));
    set_path(next, split.path);
    next.query = split.query;
}

void resolve_relative(Target& next, const Target& current, std::string_view url) {
    if (next.scheme.empty()) {
        next.scheme = "http";
    }
    next.port = port_without_one_given(next.scheme, current.port);
    const SplitPath split = split_query(url);
    std::string path = split.path.starts_with('/') ? split.path : current.directory + split.path;
    if (!path.starts_with('/')) {
        path.insert(path.begin(), '/');
    }
    set_path(next, without_dot_segments(path));
    next.query = split.query;
}

} // namespace

Target resolve_url(const Target& current, std::string_view url) {
    std::string text = with_forward_slashes(url);
    text = text.substr(0, text.find('#'));

    Target next = current;
    if (const auto scheme_length = absolute_scheme_length(text)) {
        resolve_absolute(next, current, text, *scheme_length);
    } else {
        resolve_relative(next, current, text);
    }
    for (std::string* part : {&next.directory, &next.document, &next.query}) {
        *part = with_high_bytes_encoded(*part);
    }
    if (next.host.empty() || !safe_on_the_wire(next.host) ||
        !safe_on_the_wire(next.request_target())) {
        invalid_url();
    }
    return next;
}

} // namespace qirelo::http
