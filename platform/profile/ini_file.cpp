#include "platform/profile/ini_file.h"

namespace qirelo::platform {

std::string IniFile::read_string(const std::string& section, const std::string& key,
                                 const std::string& default_value) const {
    return profile_.get_string(section, key, default_value, path_, kReadBuffer);
}

void IniFile::write_string(const std::string& section, const std::string& key,
                           const std::string& value) {
    if (!profile_.write_string(section, key, value, path_))
        throw IniWriteError("Unable to write to " + path_);
}

} // namespace qirelo::platform
