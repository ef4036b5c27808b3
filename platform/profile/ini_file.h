#pragma once

// One INI file, opened for the length of a handler: reads and writes go
// straight through the private-profile functions. A write the system refuses
// raises IniWriteError "Unable to write to <path>".

#include <stdexcept>
#include <string>

#include "platform/profile/private_profile.h"

namespace qirelo::platform {

class IniWriteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class IniFile {
public:
    // Values are read through a 2048-byte buffer: at most 2047 bytes come back.
    static constexpr std::size_t kReadBuffer = 2048;

    IniFile(PrivateProfile& profile, std::string path)
        : profile_(profile), path_(std::move(path)) {}

    const std::string& path() const { return path_; }
    std::string read_string(const std::string& section, const std::string& key,
                            const std::string& default_value = {}) const;
    void write_string(const std::string& section, const std::string& key, const std::string& value);

private:
    PrivateProfile& profile_;
    std::string path_;
};

} // namespace qirelo::platform
