#include "upgrade/info/newer_version.h"

#include "upgrade/info/info_file.h"
#include "upgrade/info/version_compare.h"

namespace qirelo::upgrade {

bool IsServerVersionNewer(std::string_view info_file_text, const OwnVersion& own,
                          CalendarDate today) {
    if (own.control == TupVersionControl::byNumber) {
        return IsNewerVersionNumber(ReadInfoValue(info_file_text, kInfoVersion), own.number);
    }
    return IsNewerVersionDate(ReadInfoValue(info_file_text, kInfoDate), own.date, today);
}

} // namespace qirelo::upgrade
