#pragma once

// Read-only access to one branch of the registry, as much as the look-up of
// the .html opener needs. Paths are relative to the branch, with backslashes
// (".html", "htmlfile\shell\open\command").

#include <optional>
#include <string>
#include <vector>

namespace qirelo::platform::shell {

class RegistryKeys {
public:
    virtual ~RegistryKeys() = default;

    // True when the key at `path` opens for reading.
    virtual bool key_exists(const std::string& path) = 0;

    // The key's default value when the key opens and the value is a string;
    // nullopt otherwise.
    virtual std::optional<std::string> default_value(const std::string& path) = 0;

    // The names of the key's sub-keys in the order the registry lists them;
    // empty when the key does not open.
    virtual std::vector<std::string> subkey_names(const std::string& path) = 0;
};

} // namespace qirelo::platform::shell
