#include "platform/linux/shell.h"
#include "platform/shell/os_shell.h"

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string_view>
#include <vector>

extern char** environ;

namespace qirelo::platform::native {

namespace {

bool IsProgramFile(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

bool FoundOnPath(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::string_view folders = path != nullptr ? path : "/usr/bin:/bin";
    while (!folders.empty()) {
        const std::size_t colon = folders.find(':');
        const std::string_view folder = folders.substr(0, colon);
        if (!folder.empty() && IsProgramFile(std::string(folder) + "/" + name)) {
            return true;
        }
        folders = colon == std::string_view::npos ? std::string_view() : folders.substr(colon + 1);
    }
    return false;
}

// The shell runs the program in the background and ends at once, so the
// program is nobody's child and nothing here waits for the browser.
void StartInBackground(const std::vector<std::string>& command) {
    std::vector<std::string> argv = {"sh", "-c", "\"$0\" \"$@\" </dev/null >/dev/null 2>&1 &"};
    argv.insert(argv.end(), command.begin(), command.end());
    std::vector<char*> pointers;
    for (std::string& argument : argv) {
        pointers.push_back(argument.data());
    }
    pointers.push_back(nullptr);
    pid_t shell = 0;
    if (::posix_spawn(&shell, "/bin/sh", nullptr, nullptr, pointers.data(), environ) == 0) {
        int status = 0;
        ::waitpid(shell, &status, 0);
    }
}

} // namespace

bool XdgShell::program_file_exists(const std::string& program) {
    if (program.empty()) {
        return false;
    }
    return program.find('/') != std::string::npos ? IsProgramFile(program) : FoundOnPath(program);
}

void XdgShell::shell_execute(const std::string& file, const std::string& parameters) {
    if (parameters.empty()) {
        StartInBackground({"xdg-open", file});
    } else {
        StartInBackground({file, parameters});
    }
}

} // namespace qirelo::platform::native

namespace qirelo::platform::shell {

std::unique_ptr<Shell> MakeOsShell() {
    return std::make_unique<native::XdgShell>();
}

std::unique_ptr<OnlineCheck> MakeOsOnlineCheck() {
    return std::make_unique<native::InterfaceOnlineCheck>();
}

} // namespace qirelo::platform::shell
