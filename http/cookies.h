#pragma once

// The cookie store of one client object (CookieManager): cookies taken from
// Set-Cookie (Netscape, RFC 2109) and Set-Cookie2 (RFC 2965) response headers
// and sent back in the Cookie header of later requests.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qirelo::http {

struct THttpCookie {
    std::string name;
    std::string value;
    std::string domain; // lower case, without a leading dot
    std::string path;
    std::optional<std::int64_t> expires; // seconds since the epoch; none for a session cookie
    bool secure = false;
};

class THttpCookieStore {
public:
    // A server that sets ever new names cannot grow the store without end:
    // past this many cookies in one domain the oldest one goes.
    static constexpr std::size_t kMaxCookiesPerDomain = 50;

    // Takes every Set-Cookie and Set-Cookie2 line of a response from `host`
    // to a request in `directory`; `now` is seconds since the epoch.
    void take_from(const std::vector<std::string>& header_lines, const std::string& host,
                   const std::string& directory, std::int64_t now);

    // One cookie header value. Without Domain the cookie belongs to `host`;
    // a Domain that is neither `host` nor the domain `host` lies in directly
    // is refused. Without Path it gets `directory`. A cookie replaces the one
    // of the same name and domain.
    void add(std::string_view header_value, const std::string& host, const std::string& directory,
             std::int64_t now);

    void remove_expired(std::int64_t now);

    // "name=value; name=value" of every stored cookie for a request to `host`
    // in `directory`: domain-matching, path a prefix of the directory, not
    // secure (no connection here is), value not empty; longest path first.
    std::string cookie_header(const std::string& host, const std::string& directory) const;

    std::size_t size() const;
    const std::map<std::string, std::vector<THttpCookie>>& by_domain() const { return by_domain_; }

private:
    std::map<std::string, std::vector<THttpCookie>> by_domain_;
};

} // namespace qirelo::http
