#include "platform/profile/os_profile.h"

#include <unistd.h>

#include <climits>
#include <fstream>
#include <iterator>
#include <sstream>

#include "platform/profile/ini_text.h"

namespace qirelo::platform {
namespace {

std::optional<std::string> read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace

std::string OsPrivateProfile::get_string(const std::string& section, const std::string& key,
                                         const std::string& default_value, const std::string& path,
                                         std::size_t buffer_size) {
    const auto text = read_file(path);
    return ini_result(text ? ini_read(*text, section, key) : std::nullopt, default_value,
                      buffer_size);
}

bool OsPrivateProfile::write_string(const std::string& section, const std::string& key,
                                    const std::string& value, const std::string& path) {
    const std::string text = ini_write(read_file(path).value_or(""), section, key, value);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    return static_cast<bool>(out);
}

std::string OsMachine::computer_name() {
    char buffer[256] = {};
    if (gethostname(buffer, sizeof buffer - 1) != 0)
        return {};
    return buffer;
}

std::string OsMachine::executable_directory() {
    char buffer[PATH_MAX] = {};
    const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (length <= 0)
        return {};
    std::string full(buffer, static_cast<std::size_t>(length));
    return full.substr(0, full.find_last_of('/') + 1);
}

} // namespace qirelo::platform
