#pragma once

// The command line of qirelo-devsite.

#include "devsite/companion.h"

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace qirelo::devsite {

class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct CommandLine {
    CompanionOptions companion;
    std::optional<std::filesystem::path> ports_file;
    bool help = false;
};

inline constexpr std::uint16_t kDefaultControlPort = 12864;

// Default ports follow the client's configured hosts (QIRELO_*_HOST), so a
// client built with other ports still finds its companion. UsageError on a
// bad option.
CommandLine parse_command_line(const std::vector<std::string>& arguments);

// The port of "host:port", or `fallback` when the host carries none.
std::uint16_t port_of(const std::string& host, std::uint16_t fallback);

std::string usage_text();

} // namespace qirelo::devsite
