#pragma once

#include <memory>

#include "upgrade/thread_priority.h"
#include "upgrade/updater/updater_system.h"

namespace qirelo::upgrade::updater {

// The updater's machine on Win32: W calls on UTF-8 paths converted to UTF-16.
class Win32UpdaterSystem final : public UpdaterSystem {
public:
    Win32UpdaterSystem();

    std::string path_separators() const override { return "\\/"; }
    bool file_exists(const std::string& path) override;
    std::string listed_name(const std::string& path) override;
    std::vector<std::string> file_names(const std::string& folder) override;
    bool is_released(const std::string& path) override;
    void pause() override;
    std::chrono::steady_clock::time_point now() override;
    void set_waiting_priority(bool lowest) override;
    bool replace_file(const std::string& source, const std::string& target) override;
    void mark_file(const std::string& path, FileMark mark) override;
    bool delete_file(const std::string& path) override;
    bool start_program(const std::string& path, const std::string& params) override;

private:
    std::unique_ptr<ThreadPriorityControl> priority_;
};

} // namespace qirelo::upgrade::updater
