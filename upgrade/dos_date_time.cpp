#include "upgrade/dos_date_time.h"

#include <chrono>
#include <cmath>

namespace qirelo::upgrade {

std::optional<platform::inet::DosDateTime> ToDosDateTime(TDateTime value) {
    using namespace std::chrono;
    // Day 0 of TDateTime is 1899-12-30.
    constexpr sys_days kDayZero = sys_days{year{1899} / December / 30};
    const auto wholeSeconds = static_cast<long long>(std::floor(value * 86400.0 + 0.5));
    const sys_seconds stamp = sys_seconds{kDayZero} + seconds{wholeSeconds};
    const sys_days day = floor<days>(stamp);
    const year_month_day date{day};
    const hh_mm_ss time{stamp - day};
    const int yearsSince1980 = static_cast<int>(date.year()) - 1980;
    if (yearsSince1980 < 0 || yearsSince1980 > 127) {
        return std::nullopt;
    }
    platform::inet::DosDateTime dos;
    dos.date =
        static_cast<std::uint16_t>(yearsSince1980 << 9 | static_cast<unsigned>(date.month()) << 5 |
                                   static_cast<unsigned>(date.day()));
    dos.time = static_cast<std::uint16_t>(time.hours().count() << 11 | time.minutes().count() << 5 |
                                          time.seconds().count() / 2);
    return dos;
}

} // namespace qirelo::upgrade
