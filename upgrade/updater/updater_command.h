#pragma once

// The updater's command line as the restarting program writes it: the
// program's full path, " +", the restart parameters and, as their last
// character, the method digit ("0" self-upgrade, "1" external setup). On
// Windows best written `"UPDATER" "PROGRAM" +PARAMSDIGIT` and started with the
// updater as the explicit application; on Linux the arguments PROGRAM and
// "+PARAMSDIGIT". Older unquoted lines read the same.

#include <stdexcept>
#include <string>
#include <vector>

namespace qirelo::upgrade::updater {

class BadUpdaterCommand : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class UpgradeMethod { self_upgrade, external_setup };

struct UpdaterCommand {
    std::string program_path;
    std::string restart_params;
    UpgradeMethod method = UpgradeMethod::self_upgrade;
};

// Reads the arguments (the program's own name left out) the way they were
// always read: joined, each followed by one blank, split at the first "+"
// that follows a blank. Blanks inside the program path or the parameters
// survive whether or not the caller quoted the path. Raises BadUpdaterCommand
// when there are no arguments to act on or no program path before the "+".
UpdaterCommand parse_updater_command(const std::vector<std::string>& arguments);

} // namespace qirelo::upgrade::updater
