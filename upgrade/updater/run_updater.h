#pragma once

#include <chrono>

#include "upgrade/updater/updater_command.h"
#include "upgrade/updater/updater_system.h"

namespace qirelo::upgrade::updater {

// How long the updater waits for the program to end before it gives up,
// replaces nothing and starts the program as it is.
inline constexpr std::chrono::milliseconds kProgramEndBound = std::chrono::minutes(2);
// How long it waits for an external setup program, which runs as long as its
// user needs, before it starts the program again anyway.
inline constexpr std::chrono::milliseconds kSetupEndBound = std::chrono::hours(24);

// The suffix of a downloaded file waiting in the program's folder.
inline constexpr std::string_view kDownloadSuffix = ".uTMP";

// The updater's work once the program has asked for a restart: wait for the
// program to end, put each downloaded file in place of its target, start the
// program (or, with the external-setup method, the setup program first and
// then the program) with the restart parameters.
void run_updater(const UpdaterCommand& command, UpdaterSystem& system);

} // namespace qirelo::upgrade::updater
