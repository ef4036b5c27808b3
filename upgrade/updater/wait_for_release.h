#pragma once

#include <chrono>
#include <string>

#include "upgrade/updater/updater_system.h"

namespace qirelo::upgrade::updater {

// Waits, at the lowest priority, until no running program holds the file or
// the bound has passed; true when the file was released in time.
bool wait_for_release(UpdaterSystem& system, const std::string& path,
                      std::chrono::milliseconds bound);

} // namespace qirelo::upgrade::updater
