#pragma once

// In-memory INI files, a machine with a name and folder the test chooses, and
// an x87 unit that only remembers its control word.

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/fpu/fpu.h"
#include "platform/profile/machine.h"
#include "platform/profile/private_profile.h"

namespace qirelo::platform::fake {

class FakePrivateProfile final : public PrivateProfile {
public:
    std::string get_string(const std::string& section, const std::string& key,
                           const std::string& default_value, const std::string& path,
                           std::size_t buffer_size) override;
    bool write_string(const std::string& section, const std::string& key, const std::string& value,
                      const std::string& path) override;

    // The files' bytes by path; a missing path is a missing file.
    std::map<std::string, std::string> files;
    // Paths that cannot be written (a read-only folder).
    std::set<std::string> read_only;
    // Every path read, in order.
    std::vector<std::string> reads;
    // When set, a read raises this error (a step of start-up that fails).
    std::optional<std::string> read_error;
};

class FakeMachine final : public Machine {
public:
    std::string computer_name() override { return name; }
    std::string executable_directory() override { return directory; }

    std::string name = "QIRELO-PC";
    std::string directory = "C:\\Qirelo\\";
};

class FakeFpu final : public Fpu {
public:
    std::uint16_t control_word() override { return word; }
    void set_control_word(std::uint16_t value) override {
        word = value;
        history.push_back(value);
    }

    std::uint16_t word = 0x027F; // the usual default: 53-bit precision
    std::vector<std::uint16_t> history;
};

} // namespace qirelo::platform::fake
