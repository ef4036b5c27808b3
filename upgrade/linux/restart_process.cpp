#include "upgrade/restart_process.h"

#include <spawn.h>
#include <unistd.h>

#include <climits>
#include <fstream>
#include <iterator>

extern char** environ;

namespace qirelo::upgrade {

std::string OwnProgramPath() {
    char buffer[PATH_MAX] = {};
    const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    return length <= 0 ? std::string() : std::string(buffer, static_cast<std::size_t>(length));
}

std::vector<std::string> ProgramArguments() {
    std::ifstream file("/proc/self/cmdline", std::ios::binary);
    const std::string all{std::istreambuf_iterator<char>(file), {}};
    std::vector<std::string> arguments;
    for (std::size_t start = 0; start < all.size();) {
        const std::size_t end = all.find('\0', start);
        arguments.push_back(all.substr(start, end - start));
        start = end == std::string::npos ? all.size() : end + 1;
    }
    if (!arguments.empty()) {
        arguments.erase(arguments.begin()); // the program itself
    }
    return arguments;
}

bool StartUpdaterProcess(const std::string& updaterPath, const std::string& programPath,
                         const std::string& params) {
    std::string program = programPath;
    std::string tail = "+" + params;
    std::string updater = updaterPath;
    char* argv[] = {updater.data(), program.data(), tail.data(), nullptr};
    pid_t child = 0;
    return posix_spawn(&child, updater.c_str(), nullptr, nullptr, argv, environ) == 0;
}

} // namespace qirelo::upgrade
