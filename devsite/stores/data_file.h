#pragma once

// The members and their latest records on disk, so a restart keeps them.
// Every save writes a temporary file beside the data file and renames it over
// the data file, so a kill at any moment leaves the old or the new file whole.

#include "devsite/stores/members.h"

#include <filesystem>
#include <map>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

namespace qirelo::devsite {

class DataFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct SiteData {
    std::vector<Member> members;
    std::map<std::string, std::string> records; // member id -> record
};

std::string serialize_data(const SiteData& data);
// Raises DataFileError naming the line that is wrong.
SiteData parse_data(const std::string& text);

class DataFile {
public:
    explicit DataFile(std::filesystem::path path) : path_(std::move(path)) {}

    const std::filesystem::path& path() const { return path_; }

    // Empty data when the file does not exist yet; DataFileError when it cannot
    // be read or is not a data file.
    SiteData load() const;
    // DataFileError when it cannot be written; the old file then stays as it was.
    void save(const SiteData& data);

private:
    std::filesystem::path path_;
    std::mutex mutex_; // one save at a time: they share the temporary file
};

} // namespace qirelo::devsite
