#pragma once

// Recording browser opener, registry branch and on-line check: nothing here
// starts a program or reads the machine's registry.
//
//   html open command -> "\"C:\Browser\browser.exe\" %1"
//   program file exists "C:\Browser\browser.exe" -> yes
//   ShellExecuteA open "C:\Browser\browser.exe" "http://host/setup/"
//   IsOnline -> yes

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/fake/call_log.h"
#include "platform/shell/online.h"
#include "platform/shell/registry_keys.h"
#include "platform/shell/shell.h"

namespace qirelo::platform::fake {

class FakeShell final : public shell::Shell {
public:
    explicit FakeShell(CallLog& log) : log_(log) {}

    std::string html_command;                // what the registry would give
    std::set<std::string> existing_programs; // program files that are there

    std::string html_open_command() override;
    bool program_file_exists(const std::string& program) override;
    void shell_execute(const std::string& file, const std::string& parameters) override;

private:
    CallLog& log_;
};

// Keys in listed order, each with an optional string default value.
class FakeRegistryKeys final : public shell::RegistryKeys {
public:
    // Adds the key (and the keys above it) with `value` as its default.
    void add(const std::string& path, std::optional<std::string> value = std::nullopt);

    bool key_exists(const std::string& path) override;
    std::optional<std::string> default_value(const std::string& path) override;
    std::vector<std::string> subkey_names(const std::string& path) override;

private:
    struct Key {
        std::optional<std::string> value;
        std::vector<std::string> subkeys; // in the order added
    };
    Key& key_at(const std::string& path);

    std::map<std::string, Key> keys_; // by lower-cased path: key names ignore case
};

class FakeOnlineCheck final : public shell::OnlineCheck {
public:
    explicit FakeOnlineCheck(CallLog& log) : log_(log) {}

    bool online = true;
    bool is_online() override;

private:
    CallLog& log_;
};

} // namespace qirelo::platform::fake
