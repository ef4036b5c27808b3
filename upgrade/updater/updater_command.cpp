#include "upgrade/updater/updater_command.h"

namespace qirelo::upgrade::updater {

namespace {

std::string joined_with_blanks(const std::vector<std::string>& arguments) {
    std::string text;
    for (const std::string& argument : arguments)
        text += argument + ' ';
    return text;
}

UpgradeMethod method_of(const std::vector<std::string>& arguments) {
    const std::string& last = arguments.back();
    return !last.empty() && last.back() == '1' ? UpgradeMethod::external_setup
                                               : UpgradeMethod::self_upgrade;
}

} // namespace

UpdaterCommand parse_updater_command(const std::vector<std::string>& arguments) {
    if (arguments.empty())
        throw BadUpdaterCommand("no program to restart was given");
    const std::string text = joined_with_blanks(arguments);
    // The writer always puts " +" after the path: a "+" inside a folder name
    // (say "Notepad++") must not end the path early.
    const std::size_t plus = text.find(" +");
    if (plus == std::string::npos || plus == 0)
        throw BadUpdaterCommand("the command line holds no \"PROGRAM +PARAMETERS\": " + text);

    UpdaterCommand command;
    command.program_path = text.substr(0, plus);
    // After the "+": the parameters, the method digit, the joining blank.
    const std::string tail = text.substr(plus + 2);
    command.restart_params = tail.size() >= 2 ? tail.substr(0, tail.size() - 2) : std::string();
    command.method = method_of(arguments);
    return command;
}

} // namespace qirelo::upgrade::updater
