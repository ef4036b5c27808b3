#include "upgrade/updater/run_updater.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <string>

#include "upgrade/local_file_name.h"
#include "upgrade/updater/wait_for_release.h"

namespace qirelo::upgrade::updater {

namespace {

bool ends_with_download_suffix(const std::string& name) {
    if (name.size() < kDownloadSuffix.size())
        return false;
    return std::equal(
        kDownloadSuffix.begin(), kDownloadSuffix.end(),
        name.end() - static_cast<std::ptrdiff_t>(kDownloadSuffix.size()),
        [](unsigned char a, unsigned char b) { return std::tolower(a) == std::tolower(b); });
}

// The file a download replaces; none for a name that is not a download or
// whose target would not be a plain file of the folder.
std::optional<std::string> target_of_download(const std::string& name) {
    if (!ends_with_download_suffix(name))
        return std::nullopt;
    std::string target = name.substr(0, name.size() - kDownloadSuffix.size());
    if (!IsPlainFileName(target))
        return std::nullopt;
    return target;
}

class Updater {
public:
    Updater(const UpdaterCommand& command, UpdaterSystem& system)
        : command_(command), system_(system), program_path_(command.program_path) {
        const std::size_t last = program_path_.find_last_of(system_.path_separators());
        if (last == std::string::npos)
            throw BadUpdaterCommand("the program path names no folder: " + program_path_);
        folder_ = program_path_.substr(0, last + 1);
        program_name_ = program_path_.substr(last + 1);
    }

    void run() {
        if (!wait_for_program_end()) {
            start(program_path_);
            return;
        }
        replace_downloads();
        if (!setup_path_) {
            start(program_path_);
            return;
        }
        if (start(*setup_path_) && wait_for_release(system_, *setup_path_, kSetupEndBound))
            system_.delete_file(*setup_path_);
        start(program_path_);
    }

private:
    bool wait_for_program_end() {
        if (!system_.file_exists(program_path_))
            return true;
        program_name_ = system_.listed_name(program_path_);
        return wait_for_release(system_, program_path_, kProgramEndBound);
    }

    void replace_downloads() {
        // The first downloaded program stands for the program itself unless
        // the program's own new version is among the downloads.
        bool program_download_found =
            system_.file_exists(program_path_ + std::string(kDownloadSuffix));
        for (const std::string& name : system_.file_names(folder_)) {
            std::optional<std::string> target = target_of_download(name);
            if (!target)
                continue;
            bool is_setup = false;
            if (!program_download_found && target->ends_with("exe")) {
                program_download_found = true;
                if (command_.method == UpgradeMethod::self_upgrade)
                    target = program_name_;
                else
                    is_setup = true;
            }
            if (!replace(name, *target, is_setup ? FileMark::hidden_archive : FileMark::archive))
                continue;
            if (is_setup)
                setup_path_ = folder_ + *target;
        }
    }

    // A failed replacement leaves the old file and the download as they were.
    bool replace(const std::string& download, const std::string& target, FileMark mark) {
        const std::string target_path = folder_ + target;
        if (system_.file_exists(target_path))
            system_.mark_file(target_path, FileMark::normal);
        if (!system_.replace_file(folder_ + download, target_path))
            return false;
        system_.mark_file(target_path, mark);
        return true;
    }

    bool start(const std::string& path) {
        return system_.start_program(path, command_.restart_params);
    }

    const UpdaterCommand& command_;
    UpdaterSystem& system_;
    std::string program_path_;
    std::string folder_;
    std::string program_name_;
    std::optional<std::string> setup_path_;
};

} // namespace

void run_updater(const UpdaterCommand& command, UpdaterSystem& system) {
    Updater(command, system).run();
}

} // namespace qirelo::upgrade::updater
