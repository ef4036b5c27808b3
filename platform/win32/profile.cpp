#include "platform/profile/os_profile.h"

#include <windows.h>

#include <vector>

namespace qirelo::platform {

std::string OsPrivateProfile::get_string(const std::string& section, const std::string& key,
                                         const std::string& default_value, const std::string& path,
                                         std::size_t buffer_size) {
    if (buffer_size == 0)
        return {};
    std::vector<char> buffer(buffer_size, '\0');
    const DWORD length =
        GetPrivateProfileStringA(section.c_str(), key.c_str(), default_value.c_str(), buffer.data(),
                                 static_cast<DWORD>(buffer_size), path.c_str());
    return std::string(buffer.data(), length);
}

bool OsPrivateProfile::write_string(const std::string& section, const std::string& key,
                                    const std::string& value, const std::string& path) {
    return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), path.c_str()) !=
           0;
}

std::string OsMachine::computer_name() {
    char buffer[255] = {};
    DWORD size = sizeof buffer;
    if (!GetComputerNameA(buffer, &size))
        return {};
    return std::string(buffer, size < sizeof buffer ? size : sizeof buffer - 1);
}

std::string OsMachine::executable_directory() {
    std::vector<char> path(MAX_PATH);
    for (;;) {
        const DWORD length =
            GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            std::string full(path.data(), length);
            const auto separator = full.find_last_of("\\/:");
            return separator == std::string::npos ? std::string() : full.substr(0, separator + 1);
        }
        path.resize(path.size() * 2);
    }
}

} // namespace qirelo::platform
