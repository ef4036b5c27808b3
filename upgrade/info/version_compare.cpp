#include "upgrade/info/version_compare.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>

#include "upgrade/info/decimal_integer.h"

namespace qirelo::upgrade {

namespace {

using VersionParts = std::array<std::string, 4>;

VersionParts CutIntoFourParts(std::string_view version) {
    std::string rest = std::string(version) + ".";
    VersionParts parts;
    for (std::string& part : parts) {
        const std::size_t dot = rest.find('.');
        if (dot == std::string::npos) {
            part = "0";
            continue;
        }
        part = rest.substr(0, dot);
        rest.erase(0, dot + 1);
    }
    return parts;
}

// -1 stands for an unreadable part, so a part written as -1 is not a number
// either.
std::optional<int> PartNumber(const std::string& part) {
    const std::optional<int> number = ReadDecimalInteger(part);
    if (number == -1) {
        return std::nullopt;
    }
    return number;
}

// Byte by byte, bytes above 127 after the ASCII ones; a prefix is smaller.
int CompareAsText(std::string_view a, std::string_view b) {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const auto x = static_cast<unsigned char>(a[i]);
        const auto y = static_cast<unsigned char>(b[i]);
        if (x != y) {
            return x > y ? 1 : -1;
        }
    }
    if (a.size() == b.size()) {
        return 0;
    }
    return a.size() > b.size() ? 1 : -1;
}

} // namespace

int CompareVersions(std::string_view server, std::string_view own) {
    const VersionParts server_parts = CutIntoFourParts(server);
    const VersionParts own_parts = CutIntoFourParts(own);
    for (std::size_t position = 0; position < server_parts.size(); ++position) {
        const std::optional<int> server_number = PartNumber(server_parts[position]);
        const std::optional<int> own_number = PartNumber(own_parts[position]);
        if (!server_number || !own_number) {
            return CompareAsText(server, own);
        }
        if (*server_number != *own_number) {
            return *server_number > *own_number ? 1 : -1;
        }
    }
    return 0;
}

bool IsNewerVersionNumber(std::string_view server, std::string_view own) {
    return CompareVersions(server, own) > 0;
}

} // namespace qirelo::upgrade
