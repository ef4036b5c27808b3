#include "upgrade/updater/fake/fake_updater_system.h"

#include <algorithm>
#include <cctype>

namespace qirelo::upgrade::updater {

namespace {

// Windows compares names without letter case.
bool same_path(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](unsigned char x, unsigned char y) {
        return std::tolower(x) == std::tolower(y);
    });
}

std::string folder_of(const std::string& path) {
    return path.substr(0, path.rfind('\\') + 1);
}

constexpr std::chrono::milliseconds kForever = std::chrono::hours(24 * 365);

} // namespace

void FakeUpdaterSystem::add_file(const std::string& path, const std::string& contents) {
    files_.push_back({path, contents});
}

void FakeUpdaterSystem::hold_until(const std::string& path, std::chrono::milliseconds when) {
    held_until_[path] = when;
}

void FakeUpdaterSystem::hold_forever(const std::string& path) {
    held_until_[path] = kForever;
}

void FakeUpdaterSystem::fail_replacing(const std::string& target) {
    failing_targets_.insert(target);
}

std::vector<FakeUpdaterSystem::File>::iterator FakeUpdaterSystem::locate(const std::string& path) {
    return std::find_if(files_.begin(), files_.end(),
                        [&](const File& file) { return same_path(file.path, path); });
}

const FakeUpdaterSystem::File* FakeUpdaterSystem::find(const std::string& path) const {
    auto found = std::find_if(files_.begin(), files_.end(),
                              [&](const File& file) { return same_path(file.path, path); });
    return found == files_.end() ? nullptr : &*found;
}

std::vector<std::string> FakeUpdaterSystem::paths() const {
    std::vector<std::string> all;
    for (const File& file : files_)
        all.push_back(file.path);
    return all;
}

bool FakeUpdaterSystem::file_exists(const std::string& path) {
    touched_.insert(path);
    return locate(path) != files_.end();
}

std::string FakeUpdaterSystem::listed_name(const std::string& path) {
    touched_.insert(path);
    auto found = locate(path);
    return found == files_.end() ? std::string() : found->path.substr(found->path.rfind('\\') + 1);
}

std::vector<std::string> FakeUpdaterSystem::file_names(const std::string& folder) {
    std::vector<std::string> names;
    for (const File& file : files_)
        if (same_path(folder_of(file.path), folder))
            names.push_back(file.path.substr(folder.size()));
    return names;
}

bool FakeUpdaterSystem::is_released(const std::string& path) {
    touched_.insert(path);
    auto held = held_until_.find(path);
    return held == held_until_.end() || elapsed_ >= held->second;
}

void FakeUpdaterSystem::pause() {
    elapsed_ += std::chrono::milliseconds(1);
}

std::chrono::steady_clock::time_point FakeUpdaterSystem::now() {
    return std::chrono::steady_clock::time_point(elapsed_);
}

void FakeUpdaterSystem::set_waiting_priority(bool lowest) {
    lowest_now_ = lowest;
    lowest_seen_ = lowest_seen_ || lowest;
}

bool FakeUpdaterSystem::replace_file(const std::string& source, const std::string& target) {
    touched_.insert(source);
    touched_.insert(target);
    auto from = locate(source);
    if (from == files_.end() || failing_targets_.count(target))
        return false;
    File moved{target, from->contents, from->mark};
    files_.erase(from);
    auto to = locate(target);
    if (to != files_.end())
        *to = moved;
    else
        files_.push_back(moved);
    return true;
}

void FakeUpdaterSystem::mark_file(const std::string& path, FileMark mark) {
    touched_.insert(path);
    auto found = locate(path);
    if (found != files_.end())
        found->mark = mark;
}

bool FakeUpdaterSystem::delete_file(const std::string& path) {
    touched_.insert(path);
    auto found = locate(path);
    if (found == files_.end())
        return false;
    files_.erase(found);
    return true;
}

bool FakeUpdaterSystem::start_program(const std::string& path, const std::string& params) {
    touched_.insert(path);
    auto found = locate(path);
    if (found == files_.end())
        return false;
    starts_.push_back({path, params, found->contents});
    return true;
}

} // namespace qirelo::upgrade::updater
