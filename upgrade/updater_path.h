#pragma once

#include <string>

namespace qirelo::upgrade {

// Where the updater program is written for a restart (one per machine user):
// the temporary folder, or the program's own folder when there is none.
std::string DefaultUpdaterPath();

} // namespace qirelo::upgrade
