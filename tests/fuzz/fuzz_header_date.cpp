// Feeds arbitrary text to the response-header date reader. A text that reads
// as a date, printed again in the usual form, reads back as the same second,
// and the local-time reading is the UTC one moved by the bias.

#include "upgrade/header_date.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

using namespace qirelo::upgrade;

namespace {

void Require(bool holds) {
    if (!holds) {
        __builtin_trap();
    }
}

// "DD Mon YYYY HH:MM:SS GMT" from "YYYY-MM-DD HH:MM:SS".
std::string HttpDate(const std::string& printed) {
    static constexpr std::array<const char*, 12> kMonths = {
        "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    if (std::sscanf(printed.c_str(), "%4d-%2d-%2d %2d:%2d:%2d", &year, &month, &day, &hour, &minute,
                    &second) != 6 ||
        month < 1 || month > 12) {
        return {};
    }
    char text[64];
    std::snprintf(text, sizeof text, "%02d %s %04d %02d:%02d:%02d GMT", day, kMonths[month - 1],
                  year, hour, minute, second);
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const TDateTime utc = HeaderDateUtc(text);
    if (utc == 0) {
        return 0;
    }
    Require(std::isfinite(utc));
    const TDateTime local = HeaderDateLocal(text, -480);
    Require(std::fabs((local - utc) * 24 * 60 - 480) < 0.01);
    const std::string printed = DateTimeText(utc);
    const std::string again = HttpDate(printed);
    if (!again.empty() && printed.size() == 19 && printed[0] != '0') {
        Require(DateTimeText(HeaderDateUtc(again)) == printed);
    }
    return 0;
}
