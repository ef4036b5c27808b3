#include "upgrade/updater/plain_file_name.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string>

namespace qirelo::upgrade::updater {

namespace {

bool is_refused_character(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7f || c == '\\' || c == '/' || c == ':';
}

bool is_blank_or_dot(char c) {
    return c == ' ' || c == '.';
}

std::string upper_stem(std::string_view name) {
    std::string stem(name.substr(0, name.find('.')));
    while (!stem.empty() && stem.back() == ' ')
        stem.pop_back();
    std::transform(stem.begin(), stem.end(), stem.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return stem;
}

bool is_device_name(std::string_view name) {
    static const std::array<std::string_view, 4> plain_devices{"CON", "PRN", "AUX", "NUL"};
    const std::string stem = upper_stem(name);
    if (std::find(plain_devices.begin(), plain_devices.end(), stem) != plain_devices.end())
        return true;
    const bool numbered = stem.size() == 4 && (stem.starts_with("COM") || stem.starts_with("LPT"));
    return numbered && stem[3] >= '1' && stem[3] <= '9';
}

} // namespace

bool is_plain_file_name(std::string_view name) {
    if (name.empty() || is_blank_or_dot(name.front()) || is_blank_or_dot(name.back()))
        return false;
    if (std::any_of(name.begin(), name.end(), is_refused_character))
        return false;
    return !is_device_name(name);
}

} // namespace qirelo::upgrade::updater
