#pragma once

// The platform's private-profile (INI file) functions, with their rules:
// 8-bit text, CRLF lines, "[section]" lines, "key=value" lines, sections and
// keys matched without regard to case, a missing file, section or key read as
// the default. Paths are 8-bit in the system code page.

#include <cstddef>
#include <string>

namespace qirelo::platform {

class PrivateProfile {
public:
    virtual ~PrivateProfile() = default;

    // GetPrivateProfileStringA: the value, or `default_value` when missing;
    // at most buffer_size - 1 bytes of it come back.
    virtual std::string get_string(const std::string& section, const std::string& key,
                                   const std::string& default_value, const std::string& path,
                                   std::size_t buffer_size) = 0;

    // WritePrivateProfileStringA: false when the file cannot be written. A
    // missing file or section is created; an existing key's value replaced.
    virtual bool write_string(const std::string& section, const std::string& key,
                              const std::string& value, const std::string& path) = 0;
};

} // namespace qirelo::platform
