#pragma once

// The Win32 private-profile functions, computer name and module path.

#include "platform/profile/machine.h"
#include "platform/profile/private_profile.h"

namespace qirelo::platform::win32 {

class Win32PrivateProfile final : public PrivateProfile {
public:
    std::string get_string(const std::string& section, const std::string& key,
                           const std::string& default_value, const std::string& path,
                           std::size_t buffer_size) override;
    bool write_string(const std::string& section, const std::string& key, const std::string& value,
                      const std::string& path) override;
};

class Win32Machine final : public Machine {
public:
    std::string computer_name() override;
    std::string executable_directory() override;
};

} // namespace qirelo::platform::win32
