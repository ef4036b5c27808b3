#include "platform/fake/profile.h"

#include "platform/profile/ini_text.h"

#include <stdexcept>

namespace qirelo::platform::fake {

std::string FakePrivateProfile::get_string(const std::string& section, const std::string& key,
                                           const std::string& default_value,
                                           const std::string& path, std::size_t buffer_size) {
    reads.push_back(path);
    if (read_error)
        throw std::runtime_error(*read_error);
    auto file = files.find(path);
    return ini_result(file == files.end() ? std::nullopt : ini_read(file->second, section, key),
                      default_value, buffer_size);
}

bool FakePrivateProfile::write_string(const std::string& section, const std::string& key,
                                      const std::string& value, const std::string& path) {
    if (read_only.contains(path))
        return false;
    files[path] = ini_write(files[path], section, key, value);
    return true;
}

} // namespace qirelo::platform::fake
