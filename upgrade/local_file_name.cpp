#include "upgrade/local_file_name.h"

#include <algorithm>
#include <array>

namespace qirelo::upgrade {
namespace {

constexpr std::string_view kForbidden = "\\/:*?\"<>|";

constexpr std::array<std::string_view, 6> kDevices = {"CON", "PRN",    "AUX",
                                                      "NUL", "CONIN$", "CONOUT$"};

bool is_control(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
}

bool is_blank_or_dot(char c) {
    return c == ' ' || c == '.';
}

char upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool same_letters(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return upper(x) == upper(y); });
}

// Windows reads a device name in the part before the first dot, trailing
// blanks ignored: "nul.txt" and "COM1 .log" are devices.
bool is_device_name(std::string_view name) {
    std::string_view base = name.substr(0, name.find('.'));
    while (!base.empty() && base.back() == ' ') {
        base.remove_suffix(1);
    }
    if (std::any_of(kDevices.begin(), kDevices.end(),
                    [&](std::string_view device) { return same_letters(base, device); })) {
        return true;
    }
    return base.size() == 4 &&
           (same_letters(base.substr(0, 3), "COM") || same_letters(base.substr(0, 3), "LPT")) &&
           base[3] >= '0' && base[3] <= '9';
}

} // namespace

std::string UrlFileName(std::string_view url) {
    const auto authority = url.find("://");
    if (authority != std::string_view::npos) {
        // The host ends at the path, the query or the fragment.
        const auto end = url.find_first_of("/\\?#", authority + 3);
        url = end == std::string_view::npos ? std::string_view{} : url.substr(end);
    }
    url = url.substr(0, url.find_first_of("?#"));
    const auto separator = url.find_last_of("/\\");
    return std::string(separator == std::string_view::npos ? url : url.substr(separator + 1));
}

bool IsPlainFileName(std::string_view name) {
    if (name.empty() || name.size() > kMaxPlainNameBytes) {
        return false;
    }
    if (std::any_of(name.begin(), name.end(), [](char c) {
            return is_control(c) || kForbidden.find(c) != std::string_view::npos;
        })) {
        return false;
    }
    if (is_blank_or_dot(name.front()) || is_blank_or_dot(name.back())) {
        return false;
    }
    return !is_device_name(name);
}

std::optional<std::string> LocalFileName(std::string_view url) {
    std::string name = UrlFileName(url);
    if (!IsPlainFileName(name)) {
        return std::nullopt;
    }
    return name;
}

} // namespace qirelo::upgrade
