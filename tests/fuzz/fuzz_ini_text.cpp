// Feeds arbitrary file texts to the INI rules and writes one value into them.
// A value written reads back as written; every other key of every section
// reads as before; a text written once is stable under a second write of the
// same value; a result never exceeds its buffer.

#include "platform/profile/ini_text.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

using namespace qirelo::platform;

namespace {

void Require(bool holds) {
    if (!holds) {
        __builtin_trap();
    }
}

// Names as users.ini holds them, with case variants that must match the same
// entry, and GB2312 bytes ("版本").
const std::array<std::string, 4> kSections = {"user", "USER", "memo", "\xb0\xe6\xb1\xbe"};
const std::array<std::string, 4> kKeys = {"name", "Name", "password", "\xb0\xe6\xb1\xbe"};

bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

// A value that reads back unchanged: one line, no blanks at its ends, not
// wrapped in a pair of quotes.
bool ReadsAsWritten(const std::string& value) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    if (value.find_first_of("\r\n") != std::string::npos) {
        return false;
    }
    if (!value.empty() && (blank(value.front()) || blank(value.back()))) {
        return false;
    }
    return !(value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
             value.back() == value.front());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    const std::string& section = kSections[data[0] % 4];
    const std::string& key = kKeys[(data[0] / 4) % 4];
    const std::size_t buffer = data[1];
    const std::string rest(reinterpret_cast<const char*>(data) + 2, size - 2);
    // The value is the input's first line; the file text is all of it.
    const std::string value = rest.substr(0, rest.find('\n'));
    const std::string& text = rest;

    const std::optional<std::string> before = ini_read(text, section, key);
    Require(ini_result(before, value, buffer).size() <= (buffer == 0 ? 0 : buffer - 1));

    const std::string written = ini_write(text, section, key, value);
    if (ReadsAsWritten(value)) {
        Require(ini_read(written, section, key) == value);
        Require(ini_write(written, section, key, value) == written);
    }
    if (value.find_first_of("\r\n") == std::string::npos) {
        for (const std::string& other_section : kSections) {
            for (const std::string& other_key : kKeys) {
                if (SameName(other_section, section) && SameName(other_key, key)) {
                    continue;
                }
                Require(ini_read(written, other_section, other_key) ==
                        ini_read(text, other_section, other_key));
            }
        }
    }
    return 0;
}
