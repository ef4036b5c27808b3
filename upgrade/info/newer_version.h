#pragma once

// Whether the info file announces a newer version than the program's own, by
// number ("#version=") or by date ("#date=").

#include <string>
#include <string_view>

#include "upgrade/info/version_date.h"

namespace qirelo::upgrade {

enum class TupVersionControl { byDate, byNumber };

struct OwnVersion {
    TupVersionControl control = TupVersionControl::byDate;
    std::string number; // VersionNumber, "2013.8.9.0"
    std::string date;   // VersionDate, "08/09/2013"
};

// `today` stands in for a date that cannot be read.
bool IsServerVersionNewer(std::string_view info_file_text, const OwnVersion& own,
                          CalendarDate today);

} // namespace qirelo::upgrade
