#pragma once

// Cookie expiry dates, in any of the forms servers send ("Wdy, DD-Mon-YYYY
// HH:MM:SS GMT", "Wdy, DD Mon YYYY ...", two-digit years, asctime), read the
// tolerant way RFC 6265 (5.1.1) describes.

#include <cstdint>
#include <optional>
#include <string_view>

namespace qirelo::http {

// Seconds since 1970-01-01 00:00:00 UTC; nullopt when the text is no date.
std::optional<std::int64_t> parse_cookie_date(std::string_view text);

// Seconds since the epoch of a proleptic Gregorian UTC date and time.
std::int64_t seconds_since_epoch(int year, int month, int day, int hour, int minute, int second);

} // namespace qirelo::http
