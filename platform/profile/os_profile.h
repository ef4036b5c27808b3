#pragma once

// The operating system's own INI files, computer name and executable folder.
// One declaration; each platform folder defines it: win32/profile.cpp over the
// Win32 private-profile calls, linux/profile.cpp over real files with the same
// rules, the host name and /proc/self/exe.

#include "platform/profile/machine.h"
#include "platform/profile/private_profile.h"

namespace qirelo::platform {

class OsPrivateProfile final : public PrivateProfile {
public:
    std::string get_string(const std::string& section, const std::string& key,
                           const std::string& default_value, const std::string& path,
                           std::size_t buffer_size) override;
    bool write_string(const std::string& section, const std::string& key, const std::string& value,
                      const std::string& path) override;
};

class OsMachine final : public Machine {
public:
    std::string computer_name() override;
    std::string executable_directory() override;
};

} // namespace qirelo::platform
