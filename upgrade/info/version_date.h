#pragma once

// Versions by date: "MM/DD/YYYY" texts, read leniently (a date that cannot be
// read is today) and written with two-digit month and day.

#include <chrono>
#include <string>
#include <string_view>

namespace qirelo::upgrade {

using CalendarDate = std::chrono::year_month_day;

// The local calendar date of the machine's clock.
CalendarDate Today();

// Month before the first "/", day between the first and the second, year
// after the second. Text that is not a date (a missing "/", a part that is
// not a number, month 13, 30 February, a year outside 1..9999) reads as
// `today`.
CalendarDate ParseVersionDate(std::string_view text, CalendarDate today);

// "08/09/2013": the form the component writes dates in (its default
// VersionDate is today's).
std::string FormatVersionDate(CalendarDate date);

// The server's version is newer when its date is later than the own one.
bool IsNewerVersionDate(std::string_view server_date, std::string_view own_date,
                        CalendarDate today);

} // namespace qirelo::upgrade
