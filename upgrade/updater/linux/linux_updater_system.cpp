#include "upgrade/updater/linux/linux_updater_system.h"

#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>
#include <thread>

extern char** environ;

namespace qirelo::upgrade::updater {

namespace {

// Whether a running process's executable is this file: its /proc/N/exe
// link names the same file (readable for our own processes).
bool is_run_by_a_process(const std::string& path) {
    std::error_code error;
    const std::filesystem::path wanted = std::filesystem::canonical(path, error);
    if (error)
        return false;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
        const std::string pid = entry.path().filename();
        if (pid.find_first_not_of("0123456789") != std::string::npos)
            continue;
        std::error_code unreadable;
        const auto exe = std::filesystem::read_symlink(entry.path() / "exe", unreadable);
        if (!unreadable && exe == wanted)
            return true;
    }
    return false;
}

} // namespace

bool LinuxUpdaterSystem::file_exists(const std::string& path) {
    struct stat status;
    return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

std::string LinuxUpdaterSystem::listed_name(const std::string& path) {
    return path.substr(path.rfind('/') + 1);
}

std::vector<std::string> LinuxUpdaterSystem::file_names(const std::string& folder) {
    std::vector<std::string> names;
    DIR* directory = opendir(folder.c_str());
    if (!directory)
        return names;
    while (const dirent* entry = readdir(directory)) {
        const std::string name = entry->d_name;
        if (file_exists(folder + name))
            names.push_back(name);
    }
    closedir(directory);
    return names;
}

bool LinuxUpdaterSystem::is_released(const std::string& path) {
    // A file that a process runs cannot be opened for writing (ETXTBSY) on
    // the kernels that keep that rule; the process table answers on the rest.
    const int file = open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (file >= 0)
        close(file);
    else if (errno == ETXTBSY)
        return false;
    return !is_run_by_a_process(path);
}

// Longer than on Windows: on kernels without ETXTBSY each check reads the
// process table.
void LinuxUpdaterSystem::pause() {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

std::chrono::steady_clock::time_point LinuxUpdaterSystem::now() {
    return std::chrono::steady_clock::now();
}

bool LinuxUpdaterSystem::replace_file(const std::string& source, const std::string& target) {
    return std::rename(source.c_str(), target.c_str()) == 0;
}

bool LinuxUpdaterSystem::delete_file(const std::string& path) {
    return unlink(path.c_str()) == 0;
}

bool LinuxUpdaterSystem::start_program(const std::string& path, const std::string& params) {
    std::vector<char*> argv{const_cast<char*>(path.c_str())};
    if (!params.empty())
        argv.push_back(const_cast<char*>(params.c_str()));
    argv.push_back(nullptr);
    pid_t child = 0;
    return posix_spawn(&child, path.c_str(), nullptr, nullptr, argv.data(), environ) == 0;
}

} // namespace qirelo::upgrade::updater
