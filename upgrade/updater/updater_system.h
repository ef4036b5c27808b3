#pragma once

// What the updater needs of the machine: the program's folder, the test
// whether a process still holds a file, one-step replacement, and starting a
// program. win32/ and linux/ implement it on the real machine, fake/ in memory.

#include <chrono>
#include <string>
#include <vector>

namespace qirelo::upgrade::updater {

// The marks a replaced file is left with: archive, or hidden and archive for
// a setup program that is deleted once it has run. On Linux they change nothing.
enum class FileMark { normal, archive, hidden_archive };

class UpdaterSystem {
public:
    virtual ~UpdaterSystem() = default;

    // Characters that end a folder in a path ("\\/" on Windows, "/" on Linux).
    virtual std::string path_separators() const = 0;

    virtual bool file_exists(const std::string& path) = 0;
    // The name under which the file's folder lists it (its stored letter case).
    virtual std::string listed_name(const std::string& path) = 0;
    // The names of the files (not folders) of a folder, in listing order.
    virtual std::vector<std::string> file_names(const std::string& folder) = 0;

    // True when no running program holds the file any longer.
    virtual bool is_released(const std::string& path) = 0;
    // Sleeps a moment while waiting, without leaving the system waiting on us.
    virtual void pause() = 0;
    virtual std::chrono::steady_clock::time_point now() = 0;
    virtual void set_waiting_priority(bool lowest) = 0;

    // Puts `source` in the place of `target` in one step; on false both are as
    // they were.
    virtual bool replace_file(const std::string& source, const std::string& target) = 0;
    virtual void mark_file(const std::string& path, FileMark mark) = 0;
    virtual bool delete_file(const std::string& path) = 0;
    // Starts the program at `path` (quoted, never searched for) with the
    // parameters; false when it could not be started.
    virtual bool start_program(const std::string& path, const std::string& params) = 0;
};

} // namespace qirelo::upgrade::updater
