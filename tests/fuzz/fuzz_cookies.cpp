// Feeds arbitrary Set-Cookie values to one client's cookie store and every
// attribute value to the cookie-date reader. The Cookie header the store
// writes never holds a byte that would break our own request, no domain
// grows past its limit, a cookie lands only in the host's domain or the one
// it lies in directly, and a date that reads, printed again in the usual
// form, reads back as the same second.

#include "http/cookie_date.h"
#include "http/cookies.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

using namespace qirelo::http;

namespace {

void Require(bool holds) {
    if (!holds) {
        __builtin_trap();
    }
}

// "Wdy, DD Mon YYYY HH:MM:SS GMT" of a second since the epoch (civil from
// days, the inverse of seconds_since_epoch).
std::string HttpDate(std::int64_t seconds) {
    static constexpr std::array<const char*, 12> kMonths = {
        "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    static constexpr std::array<const char*, 7> kWeekdays = {"Thu", "Fri", "Sat", "Sun",
                                                             "Mon", "Tue", "Wed"};
    std::int64_t days = seconds / 86400, rest = seconds % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    const std::int64_t weekday = ((days % 7) + 7) % 7;
    const std::int64_t z = days + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const std::int64_t day = doy - (153 * mp + 2) / 5 + 1;
    const std::int64_t month = mp < 10 ? mp + 3 : mp - 9;
    const std::int64_t year = yoe + era * 400 + (month <= 2 ? 1 : 0);
    char text[64];
    std::snprintf(text, sizeof text, "%s, %02d %s %04d %02d:%02d:%02d GMT", kWeekdays[weekday],
                  static_cast<int>(day), kMonths[month - 1], static_cast<int>(year),
                  static_cast<int>(rest / 3600), static_cast<int>(rest / 60 % 60),
                  static_cast<int>(rest % 60));
    return text;
}

void CheckDate(std::string_view text) {
    const std::optional<std::int64_t> date = parse_cookie_date(text);
    if (date) {
        Require(parse_cookie_date(HttpDate(*date)) == date);
    }
}

bool SafeInHeader(std::string_view text) {
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            return false;
        }
    }
    return true;
}

// The host itself or the domain it lies in directly.
bool MaySetFor(const std::string& domain, const std::string& host) {
    const std::size_t dot = host.find('.');
    return domain == host || (dot != std::string::npos && domain == host.substr(dot + 1));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) {
        return 0;
    }
    static const std::array<std::string, 4> kHosts = {"relay.example.com", "example.com",
                                                      "localhost", "a.b.example.com"};
    const std::string& host = kHosts[data[0] % kHosts.size()];
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    constexpr std::int64_t kNow = 1'700'000'000;

    THttpCookieStore store;
    // One Set-Cookie value per line; every part after a ";" as a date too.
    std::size_t start = 0;
    for (int line = 0; line < 64 && start <= bytes.size(); ++line) {
        const std::size_t end = std::min(bytes.find('\n', start), bytes.size());
        const std::string_view value = bytes.substr(start, end - start);
        for (std::size_t part = value.find(';'); part != std::string_view::npos;
             part = value.find(';', part + 1)) {
            CheckDate(value.substr(part + 1, value.find(';', part + 1) - part - 1));
        }
        store.add(value, host, "/monitor/", kNow);
        start = end + 1;
    }
    CheckDate(bytes);

    for (const auto& [domain, group] : store.by_domain()) {
        Require(group.size() <= THttpCookieStore::kMaxCookiesPerDomain);
        Require(MaySetFor(domain, host));
    }
    Require(SafeInHeader(store.cookie_header(host, "/monitor/")));
    const std::size_t before = store.size();
    store.remove_expired(kNow);
    Require(store.size() <= before);
    for (const auto& [domain, group] : store.by_domain()) {
        for (const THttpCookie& cookie : group) {
            Require(!cookie.expires || *cookie.expires > kNow);
        }
    }
    return 0;
}
