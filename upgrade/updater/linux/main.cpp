// qirelo-updater: started by qirelo as it closes for an upgrade; puts the
// downloaded files in place and starts the program again.

#include <iostream>
#include <string>
#include <vector>

#include "upgrade/updater/linux/linux_updater_system.h"
#include "upgrade/updater/run_updater.h"

int main(int argc, char** argv) {
    using namespace qirelo::upgrade::updater;
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (arguments.empty()) {
        std::cout << "qirelo-updater puts a downloaded new version of qirelo in place and starts "
                     "qirelo again.\nqirelo starts it by itself after an upgrade:\n"
                     "  qirelo-updater PROGRAM +PARAMETERSDIGIT\n";
        return 0;
    }
    try {
        LinuxUpdaterSystem system;
        run_updater(parse_updater_command(arguments), system);
        return 0;
    } catch (const BadUpdaterCommand& error) {
        std::cerr << "qirelo-updater: nothing was changed: " << error.what() << '\n';
        return 2;
    }
}
