#pragma once

// The native build's INI files (the Windows rules over real files), computer
// name (the host name) and executable path (/proc/self/exe).

#include "platform/profile/machine.h"
#include "platform/profile/private_profile.h"

namespace qirelo::platform::native {

class FilePrivateProfile final : public PrivateProfile {
public:
    std::string get_string(const std::string& section, const std::string& key,
                           const std::string& default_value, const std::string& path,
                           std::size_t buffer_size) override;
    bool write_string(const std::string& section, const std::string& key, const std::string& value,
                      const std::string& path) override;
};

class NativeMachine final : public Machine {
public:
    std::string computer_name() override;
    std::string executable_directory() override;
};

} // namespace qirelo::platform::native
