#pragma once

#include "upgrade/updater/updater_system.h"

namespace qirelo::upgrade::updater {

// The updater's machine on Linux. A program holds its file while a process
// runs it; marks change nothing; replacement is rename(2).
class LinuxUpdaterSystem final : public UpdaterSystem {
public:
    std::string path_separators() const override { return "/"; }
    bool file_exists(const std::string& path) override;
    std::string listed_name(const std::string& path) override;
    std::vector<std::string> file_names(const std::string& folder) override;
    bool is_released(const std::string& path) override;
    void pause() override;
    std::chrono::steady_clock::time_point now() override;
    void set_waiting_priority(bool) override {}
    bool replace_file(const std::string& source, const std::string& target) override;
    void mark_file(const std::string&, FileMark) override {}
    bool delete_file(const std::string& path) override;
    bool start_program(const std::string& path, const std::string& params) override;
};

} // namespace qirelo::upgrade::updater
