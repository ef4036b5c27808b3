#include "http/cookie_date.h"

#include "text/ascii.h"

#include <algorithm>
#include <array>
#include <vector>

namespace qirelo::http {

namespace {

bool is_delimiter(unsigned char c) {
    return c == 0x09 || (c >= 0x20 && c <= 0x2F) || (c >= 0x3B && c <= 0x40) ||
           (c >= 0x5B && c <= 0x60) || (c >= 0x7B && c <= 0x7E);
}

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

std::vector<std::string_view> tokens_of(std::string_view text) {
    std::vector<std::string_view> tokens;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || is_delimiter(static_cast<unsigned char>(text[i]))) {
            if (i > start) {
                tokens.push_back(text.substr(start, i - start));
            }
            start = i + 1;
        }
    }
    return tokens;
}

// 1 to `max_digits` leading digits, then anything that is not a digit.
std::optional<int> leading_number(std::string_view token, std::size_t max_digits) {
    std::size_t digits = 0;
    while (digits < token.size() && is_digit(token[digits])) {
        ++digits;
    }
    if (digits == 0 || digits > max_digits) {
        return std::nullopt;
    }
    int value = 0;
    for (std::size_t i = 0; i < digits; ++i) {
        value = value * 10 + (token[i] - '0');
    }
    return value;
}

struct Time {
    int hour, minute, second;
};

std::optional<Time> time_of(std::string_view token) {
    int parts[3];
    std::size_t at = 0;
    for (int i = 0; i < 3; ++i) {
        const std::size_t end = i < 2 ? token.find(':', at) : token.size();
        if (end == std::string_view::npos) {
            return std::nullopt;
        }
        const std::string_view part = token.substr(at, end - at);
        const auto number = leading_number(part, 2);
        // Only the seconds may be followed by other characters.
        const bool whole = std::all_of(part.begin(), part.end(), is_digit);
        if (!number || (i < 2 && !whole)) {
            return std::nullopt;
        }
        parts[i] = *number;
        at = end + 1;
    }
    return Time{parts[0], parts[1], parts[2]};
}

std::optional<int> month_of(std::string_view token) {
    static constexpr std::array<std::string_view, 12> kMonths = {
        "jan", "feb", "mar", "apr", "may", "jun", "jul", "aug", "sep", "oct", "nov", "dec"};
    if (token.size() < 3) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < kMonths.size(); ++i) {
        if (text::iequals(token.substr(0, 3), kMonths[i])) {
            return static_cast<int>(i) + 1;
        }
    }
    return std::nullopt;
}

} // namespace

std::int64_t seconds_since_epoch(int year, int month, int day, int hour, int minute, int second) {
    // Days from civil (H. Hinnant's algorithm).
    const std::int64_t y = year - (month <= 2 ? 1 : 0);
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t year_of_era = y - era * 400;
    const std::int64_t day_of_year = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::int64_t day_of_era =
        year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
    const std::int64_t days = era * 146097 + day_of_era - 719468;
    return days * 86400 + hour * 3600 + minute * 60 + second;
}

std::optional<std::int64_t> parse_cookie_date(std::string_view text) {
    std::optional<Time> time;
    std::optional<int> day, month, year;
    for (const std::string_view token : tokens_of(text)) {
        if (!time && (time = time_of(token))) {
            continue;
        }
        if (!day && (day = leading_number(token, 2))) {
            continue;
        }
        if (!month && (month = month_of(token))) {
            continue;
        }
        if (!year) {
            year = leading_number(token, 4);
        }
    }
    if (!time || !day || !month || !year) {
        return std::nullopt;
    }
    if (*year >= 70 && *year <= 99) {
        *year += 1900;
    } else if (*year >= 0 && *year <= 69) {
        *year += 2000;
    }
    if (*day < 1 || *day > 31 || *year < 1601 || time->hour > 23 || time->minute > 59 ||
        time->second > 59) {
        return std::nullopt;
    }
    return seconds_since_epoch(*year, *month, *day, time->hour, time->minute, time->second);
}

} // namespace qirelo::http
