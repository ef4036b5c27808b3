#pragma once

// The arguments of the signing commands: "--key KEY FILE...".

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qirelo::tools {

struct KeyAndFiles {
    std::string key;
    std::vector<std::string> files;
};

// The key and the files, or nullopt after one usage line on `err` for the
// command `command`; `key_name` is the key's placeholder in the messages
// ("PRIVATE", "PUBLIC").
std::optional<KeyAndFiles> read_key_and_files(std::span<const std::string> args,
                                              std::string_view command, std::string_view key_name,
                                              std::ostream& err);

} // namespace qirelo::tools
