#include "http/cookies.h"

#include "http/cookie_date.h"
#include "text/ascii.h"

#include <algorithm>
#include <limits>

namespace qirelo::http {

namespace {

struct Pair {
    std::string_view name;
    std::string_view value;
};

Pair split_pair(std::string_view part) {
    const std::size_t equals = part.find('=');
    if (equals == std::string_view::npos) {
        return {text::trim(part, text::kWhitespace), {}};
    }
    return {text::trim(part.substr(0, equals), text::kWhitespace),
            text::trim(part.substr(equals + 1), text::kWhitespace)};
}

std::string_view unquoted(std::string_view value) {
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

bool has_control_byte(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7F;
    });
}

bool is_ipv4_literal(std::string_view host) {
    return !host.empty() && std::all_of(host.begin(), host.end(),
                                        [](char c) { return (c >= '0' && c <= '9') || c == '.'; });
}

// The host itself, or the domain it lies in directly ("example.com" for
// "www.example.com", never a bare top-level name or part of an address).
bool may_set_for(const std::string& domain, const std::string& host) {
    const std::string lower_host = text::ascii_lower(host);
    if (domain == lower_host) {
        return true;
    }
    const std::size_t dot = lower_host.find('.');
    if (dot == std::string::npos || is_ipv4_literal(lower_host)) {
        return false;
    }
    const std::string parent = lower_host.substr(dot + 1);
    return domain == parent && parent.find('.') != std::string::npos;
}

// The host is the domain or lies within it.
bool domain_matches(const std::string& domain, const std::string& host) {
    return text::iequals(host, domain) || text::iends_with(host, "." + domain);
}

std::optional<std::int64_t> expiry_after(std::string_view max_age, std::int64_t now) {
    if (max_age.empty()) {
        return std::nullopt;
    }
    const bool negative = max_age.front() == '-';
    const std::string_view digits = negative ? max_age.substr(1) : max_age;
    if (digits.empty() ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    if (negative) {
        return std::numeric_limits<std::int64_t>::min(); // gone at once
    }
    // Far enough for any cookie, short of overflowing.
    constexpr std::int64_t kCentury = 100LL * 366 * 86400;
    std::int64_t seconds = 0;
    for (const char c : digits) {
        seconds = std::min<std::int64_t>(seconds * 10 + (c - '0'), kCentury);
    }
    return now + seconds;
}

} // namespace

void THttpCookieStore::take_from(const std::vector<std::string>& header_lines,
                                 const std::string& host, const std::string& directory,
                                 std::int64_t now) {
    for (const std::string& line : header_lines) {
        const std::size_t colon = line.find(':');
        if (colon == std::string::npos) {
            continue;
        }
        const std::string_view name =
            text::trim(std::string_view(line).substr(0, colon), text::kWhitespace);
        if (text::iequals(name, "Set-Cookie") || text::iequals(name, "Set-Cookie2")) {
            add(std::string_view(line).substr(colon + 1), host, directory, now);
        }
    }
}

void THttpCookieStore::add(std::string_view header_value, const std::string& host,
                           const std::string& directory, std::int64_t now) {
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        const std::size_t end = header_value.find(';', start);
        parts.push_back(header_value.substr(start, end - start));
        if (end == std::string_view::npos) {
            break;
        }
        start = end + 1;
    }
    const Pair first = split_pair(parts.front());
    // A control byte (a lone CR, say) would be written into our own requests.
    if (first.name.empty() || has_control_byte(first.name) || has_control_byte(first.value)) {
        return;
    }
    THttpCookie cookie{std::string(first.name),
                       std::string(first.value),
                       text::ascii_lower(host),
                       directory,
                       std::nullopt,
                       false};
    std::optional<std::int64_t> expires_at;
    std::optional<std::int64_t> max_age_expiry;
    for (std::size_t i = 1; i < parts.size(); ++i) {
        const Pair attribute = split_pair(parts[i]);
        const std::string_view value = unquoted(attribute.value);
        if (text::iequals(attribute.name, "domain") && !value.empty()) {
            std::string domain = text::ascii_lower(value);
            domain.erase(0, domain.find_first_not_of('.'));
            cookie.domain = domain;
        } else if (text::iequals(attribute.name, "path") && !value.empty()) {
            cookie.path = std::string(value);
        } else if (text::iequals(attribute.name, "expires")) {
            expires_at = parse_cookie_date(value);
        } else if (text::iequals(attribute.name, "max-age")) {
            max_age_expiry = expiry_after(value, now);
        } else if (text::iequals(attribute.name, "secure")) {
            cookie.secure = true;
        }
    }
    // Max-Age, where given, wins over Expires (RFC 2965, RFC 6265).
    cookie.expires = max_age_expiry ? max_age_expiry : expires_at;
    if (cookie.domain.empty() || !may_set_for(cookie.domain, host)) {
        return;
    }
    std::vector<THttpCookie>& group = by_domain_[cookie.domain];
    const auto same_name = std::find_if(group.begin(), group.end(), [&](const THttpCookie& stored) {
        return stored.name == cookie.name;
    });
    if (same_name != group.end()) {
        *same_name = std::move(cookie);
    } else {
        if (group.size() == kMaxCookiesPerDomain) {
            group.erase(group.begin());
        }
        group.push_back(std::move(cookie));
    }
}

void THttpCookieStore::remove_expired(std::int64_t now) {
    for (auto group = by_domain_.begin(); group != by_domain_.end();) {
        std::erase_if(group->second, [now](const THttpCookie& cookie) {
            return cookie.expires && *cookie.expires <= now;
        });
        group = group->second.empty() ? by_domain_.erase(group) : std::next(group);
    }
}

std::string THttpCookieStore::cookie_header(const std::string& host,
                                            const std::string& directory) const {
    std::vector<const THttpCookie*> matching;
    for (const auto& [domain, group] : by_domain_) {
        if (!domain_matches(domain, host)) {
            continue;
        }
        for (const THttpCookie& cookie : group) {
            if (!cookie.secure && !cookie.value.empty() && !cookie.path.empty() &&
                directory.starts_with(cookie.path)) {
                matching.push_back(&cookie);
            }
        }
    }
    std::stable_sort(matching.begin(), matching.end(),
                     [](const THttpCookie* a, const THttpCookie* b) { return a->path > b->path; });
    std::string header;
    for (const THttpCookie* cookie : matching) {
        if (!header.empty()) {
            header += "; ";
        }
        header += cookie->name + "=" + cookie->value;
    }
    return header;
}

std::size_t THttpCookieStore::size() const {
    std::size_t count = 0;
    for (const auto& [domain, group] : by_domain_) {
        count += group.size();
    }
    return count;
}

} // namespace qirelo::http
