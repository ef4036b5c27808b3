#include "upgrade/header_date.h"

#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>

namespace qirelo::upgrade {
namespace {

constexpr double kSecondsPerDay = 86400;

// Days from 1970-01-01 of a civil date (proleptic Gregorian).
long long DaysFromCivil(int year, int month, int day) {
    year -= month <= 2;
    const long long era = (year >= 0 ? year : year - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(year - era * 400);
    const unsigned doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

constexpr long long kDaysFrom1899To1970 = 25569;

bool IsLeap(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    constexpr std::array<int, 12> kDays{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeap(year) ? 29 : kDays[month - 1];
}

std::string Upper3(std::string_view text) {
    std::string upper;
    for (char c : text.substr(0, 3)) {
        upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return upper;
}

bool IsWeekday(std::string_view text) {
    constexpr std::array<std::string_view, 7> kDays{"SUN", "MON", "TUE", "WED",
                                                    "THU", "FRI", "SAT"};
    const std::string first = Upper3(text);
    for (std::string_view day : kDays) {
        if (first == day) {
            return true;
        }
    }
    return false;
}

// 1 to 12 for a month abbreviation (the first three letters of the token).
std::optional<int> MonthOf(std::string_view token) {
    constexpr std::array<std::string_view, 12> kMonths{"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                                       "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
    if (token.size() < 3) {
        return std::nullopt;
    }
    const std::string first = Upper3(token);
    for (std::size_t i = 0; i < kMonths.size(); ++i) {
        if (first == kMonths[i]) {
            return static_cast<int>(i) + 1;
        }
    }
    return std::nullopt;
}

std::optional<int> NumberOf(std::string_view token) {
    int value = 0;
    const auto [end, error] = std::from_chars(token.data(), token.data() + token.size(), value);
    if (error != std::errc() || end != token.data() + token.size()) {
        return std::nullopt;
    }
    return value;
}

void DropLeadingBlanks(std::string_view& text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') {
        text.remove_suffix(1);
    }
    return text;
}

// The text up to `separator` (all of it when there is none), removed from
// `text` together with the separator and the blanks after it.
std::string_view TakeToken(std::string_view& text, char separator) {
    const std::size_t end = text.find(separator);
    const std::string_view token = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    DropLeadingBlanks(text);
    return token;
}

// "hh:mm:ss" in seconds; a missing or unreadable part counts 0.
int SecondsOf(std::string_view time) {
    constexpr std::array<int, 3> kLimits{24, 60, 60};
    constexpr std::array<int, 3> kUnits{3600, 60, 1};
    int seconds = 0;
    for (std::size_t part = 0; part < kUnits.size() && !time.empty(); ++part) {
        const std::optional<int> value = NumberOf(TakeToken(time, ':'));
        if (value && *value >= 0 && *value < kLimits[part]) {
            seconds += *value * kUnits[part];
        }
    }
    return seconds;
}

// A "+hhmm" or "-hhmm" zone offset in seconds (east positive); 0 for a zone
// name or anything unreadable.
int ZoneOffsetSeconds(std::string_view rest) {
    if (rest.size() <= 4 || (rest.front() != '+' && rest.front() != '-')) {
        return 0;
    }
    const std::string_view digits = rest.substr(1, 4);
    for (char c : digits) {
        if (!std::isdigit(static_cast<unsigned char>(c))) {
            return 0;
        }
    }
    const int hours = (digits[0] - '0') * 10 + (digits[1] - '0');
    const int minutes = (digits[2] - '0') * 10 + (digits[3] - '0');
    const int offset = hours * 3600 + minutes * 60;
    return rest.front() == '+' ? offset : -offset;
}

int FullYear(int year) {
    if (year < 80) {
        return 2000 + year;
    }
    if (year < 100) {
        return 1900 + year;
    }
    return year;
}

} // namespace

TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
        day > DaysInMonth(year, month)) {
        return 0;
    }
    const double days = static_cast<double>(DaysFromCivil(year, month, day) + kDaysFrom1899To1970);
    return days + (hour * 3600 + minute * 60 + second) / kSecondsPerDay;
}

TDateTime HeaderDateUtc(std::string_view text) {
    text = Trim(text);
    if (text.empty()) {
        return 0;
    }
    if (IsWeekday(text)) {
        const std::size_t blank = text.find(' ');
        text.remove_prefix(blank == std::string_view::npos ? text.size() : blank);
        DropLeadingBlanks(text);
    }
    const std::size_t dash = text.find('-');
    const std::size_t blank = text.find(' ');
    const char separator = dash != std::string_view::npos && dash >= 1 && dash < blank ? '-' : ' ';

    const std::string_view first = TakeToken(text, separator);
    const std::string_view second = TakeToken(text, separator);
    const bool monthFirst = MonthOf(first).has_value();
    const std::optional<int> month = MonthOf(monthFirst ? first : second);
    const std::optional<int> day = NumberOf(monthFirst ? second : first);

    std::string_view yearToken = TakeToken(text, ' ');
    std::optional<int> year = NumberOf(yearToken);
    std::string_view time;
    if (!year) {
        // Month, day, time, year: the token read is the time.
        time = yearToken;
        year = NumberOf(TakeToken(text, ' '));
    } else if (text.find(':') != std::string_view::npos) {
        time = TakeToken(text, ' ');
    }
    if (!month || !day || !year) {
        return 0;
    }
    const TDateTime date = EncodeDateTime(FullYear(*year), *month, *day, 0, 0, 0);
    if (date == 0) {
        return 0;
    }
    const int seconds = SecondsOf(time) - ZoneOffsetSeconds(text);
    return date + seconds / kSecondsPerDay;
}

TDateTime HeaderDateLocal(std::string_view text, int biasMinutes) {
    const TDateTime utc = HeaderDateUtc(text);
    return utc == 0 ? 0 : utc - biasMinutes * 60 / kSecondsPerDay;
}

std::string DateTimeText(TDateTime value) {
    const long long totalSeconds = std::llround(value * kSecondsPerDay);
    long long days = totalSeconds / 86400;
    long long seconds = totalSeconds % 86400;
    if (seconds < 0) {
        seconds += 86400;
        --days;
    }
    // Civil date from days since 1970-01-01.
    const long long z = days - kDaysFrom1899To1970 + 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned day = doy - (153 * mp + 2) / 5 + 1;
    const unsigned month = mp < 10 ? mp + 3 : mp - 9;
    const long long year = static_cast<long long>(yoe) + era * 400 + (month <= 2);
    char text[64];
    std::snprintf(text, sizeof text, "%04lld-%02u-%02u %02d:%02d:%02d", year, month, day,
                  static_cast<int>(seconds / 3600), static_cast<int>(seconds / 60 % 60),
                  static_cast<int>(seconds % 60));
    return text;
}

} // namespace qirelo::upgrade
