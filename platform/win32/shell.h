#pragma once

// The Win32 browser opener (registry, shell32) and on-line check (registry,
// Winsock).

#include <cstdint>
#include <optional>
#include <string>

#include "platform/shell/online.h"
#include "platform/shell/registry_keys.h"
#include "platform/shell/shell.h"

namespace qirelo::platform::win32 {

enum class RegistryRoot { ClassesRoot, CurrentUser, LocalMachine };

// The keys under `base` in `root` ("" for the root itself). Tests point it at
// a scratch key of their own under the current user.
class Win32RegistryKeys final : public shell::RegistryKeys {
public:
    explicit Win32RegistryKeys(RegistryRoot root, std::string base = {});

    bool key_exists(const std::string& path) override;
    // REG_SZ as stored, REG_EXPAND_SZ with its environment variables expanded.
    std::optional<std::string> default_value(const std::string& path) override;
    std::vector<std::string> subkey_names(const std::string& path) override;

    // A value of exactly four bytes, as a little-endian number; nullopt when
    // the key or the value cannot be read or the value has another size.
    std::optional<std::uint32_t> four_byte_value(const std::string& path, const std::string& name);

private:
    std::string full_path(const std::string& path) const;

    RegistryRoot root_;
    std::string base_;
};

class Win32Shell final : public shell::Shell {
public:
    // FindHtmlOpener over HKEY_CLASSES_ROOT.
    std::string html_open_command() override;
    bool program_file_exists(const std::string& program) override;
    // ShellExecuteA(GetDesktopWindow(), "open", file, parameters, nullptr, SW_SHOWNORMAL).
    void shell_execute(const std::string& file, const std::string& parameters) override;
};

class Win32OnlineCheck final : public shell::OnlineCheck {
public:
    // The "Remote Connection" value of the RemoteAccess service's key
    // decides when it can be read; otherwise the local host's last address.
    Win32OnlineCheck();
    // The same over another key: tests point it at a scratch key of their own.
    explicit Win32OnlineCheck(Win32RegistryKeys remote_access);
    bool is_online() override;

    // Winsock 1.1: the last address of the local host name, dotted.
    static std::optional<std::string> last_local_address();

private:
    Win32RegistryKeys remote_access_;
};

} // namespace qirelo::platform::win32
