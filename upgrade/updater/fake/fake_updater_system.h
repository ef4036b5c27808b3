#pragma once

// An in-memory machine for the updater's rules: files with contents and
// marks in listing order, programs that hold their file until a moment of a
// virtual clock, replacements that can be made to fail, and a log of starts.

#include <chrono>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "upgrade/updater/updater_system.h"

namespace qirelo::upgrade::updater {

class FakeUpdaterSystem final : public UpdaterSystem {
public:
    struct File {
        std::string path;
        std::string contents;
        FileMark mark = FileMark::archive;
    };
    struct Start {
        std::string path;
        std::string params;
        std::string contents; // of the file started, at that moment
    };

    // Windows-style paths ("C:\folder\name").
    void add_file(const std::string& path, const std::string& contents);
    // A running program keeps `path` until this much virtual time has passed;
    // never, when `forever`.
    void hold_until(const std::string& path, std::chrono::milliseconds when);
    void hold_forever(const std::string& path);
    void fail_replacing(const std::string& target);

    const File* find(const std::string& path) const;
    std::vector<std::string> paths() const;
    const std::vector<Start>& starts() const { return starts_; }
    std::chrono::milliseconds elapsed() const { return elapsed_; }
    bool waited_at_lowest_priority() const { return lowest_seen_; }
    bool priority_restored() const { return !lowest_now_; }
    // Every path the updater asked about or changed, outside reads of a folder.
    const std::set<std::string>& touched() const { return touched_; }

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
    std::vector<File>::iterator locate(const std::string& path);

    std::vector<File> files_;
    std::map<std::string, std::chrono::milliseconds> held_until_;
    std::set<std::string> failing_targets_;
    std::vector<Start> starts_;
    std::set<std::string> touched_;
    std::chrono::milliseconds elapsed_{0};
    bool lowest_now_ = false;
    bool lowest_seen_ = false;
};

} // namespace qirelo::upgrade::updater
