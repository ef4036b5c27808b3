#include "upgrade/info/version_date.h"

#include <cstdio>
#include <ctime>
#include <optional>

#include "upgrade/info/decimal_integer.h"

namespace qirelo::upgrade {

namespace {

std::optional<CalendarDate> ReadDate(std::string_view text) {
    const std::size_t first = text.find('/');
    const std::size_t second = first == std::string_view::npos ? first : text.find('/', first + 1);
    if (second == std::string_view::npos) {
        return std::nullopt;
    }
    const std::optional<int> month = ReadDecimalInteger(text.substr(0, first));
    const std::optional<int> day = ReadDecimalInteger(text.substr(first + 1, second - first - 1));
    const std::optional<int> year = ReadDecimalInteger(text.substr(second + 1));
    if (!month || !day || !year || *year < 1 || *year > 9999 || *month < 1 || *month > 12 ||
        *day < 1 || *day > 31) {
        return std::nullopt;
    }
    const CalendarDate date{std::chrono::year(*year),
                            std::chrono::month(static_cast<unsigned>(*month)),
                            std::chrono::day(static_cast<unsigned>(*day))};
    if (!date.ok()) {
        return std::nullopt;
    }
    return date;
}

} // namespace

CalendarDate Today() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    return CalendarDate{std::chrono::year(local.tm_year + 1900),
                        std::chrono::month(static_cast<unsigned>(local.tm_mon + 1)),
                        std::chrono::day(static_cast<unsigned>(local.tm_mday))};
}

CalendarDate ParseVersionDate(std::string_view text, CalendarDate today) {
    return ReadDate(text).value_or(today);
}

std::string FormatVersionDate(CalendarDate date) {
    char text[16];
    std::snprintf(text, sizeof text, "%02u/%02u/%04d", static_cast<unsigned>(date.month()),
                  static_cast<unsigned>(date.day()), static_cast<int>(date.year()));
    return text;
}

bool IsNewerVersionDate(std::string_view server_date, std::string_view own_date,
                        CalendarDate today) {
    return ParseVersionDate(own_date, today) < ParseVersionDate(server_date, today);
}

} // namespace qirelo::upgrade
