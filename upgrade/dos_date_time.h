#pragma once

// A remote file's time as the file system is given it: through the DOS date
// and time, so the seconds come out even, as the files of every upgrade
// always have.

#include <optional>

#include "platform/inet/local_system.h"
#include "upgrade/header_date.h"

namespace qirelo::upgrade {

// The DOS form of `value` (seconds rounded down to even); nullopt for a time
// the DOS form cannot hold (before 1980 or after 2107).
std::optional<platform::inet::DosDateTime> ToDosDateTime(TDateTime value);

} // namespace qirelo::upgrade
