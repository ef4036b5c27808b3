#pragma once

// Reading the dates of response headers (Date, Last-Modified, Expires) in
// their three classic forms and the odd ones servers send:
//   "Sun, 06 Nov 1994 08:49:37 GMT", "Sunday, 06-Nov-94 08:49:37 GMT",
//   "Sun Nov  6 08:49:37 1994", "06 Nov 1994 08:49:37 +0200", ...

#include <string>
#include <string_view>

namespace qirelo::upgrade {

// Days since 1899-12-30 00:00, the fraction being the time of day; 0 stands
// for "no date".
using TDateTime = double;

// The date in UTC; 0 when the text cannot be read.
TDateTime HeaderDateUtc(std::string_view text);

// The same in local time: UTC less `biasMinutes` (local time = UTC - bias).
TDateTime HeaderDateLocal(std::string_view text, int biasMinutes);

// "YYYY-MM-DD HH:MM:SS", to the nearest second.
std::string DateTimeText(TDateTime value);

// The TDateTime of a calendar date and time; 0 when the date does not exist.
TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second);

} // namespace qirelo::upgrade
