#pragma once

// The Linux browser opener (the desktop's default browser through xdg-open)
// and on-line check (the machine's network interfaces).

#include <ifaddrs.h>

#include "platform/shell/online.h"
#include "platform/shell/shell.h"

namespace qirelo::platform::native {

class XdgShell final : public shell::Shell {
public:
    // No registry: the desktop's own choice of browser stands.
    std::string html_open_command() override { return {}; }
    bool program_file_exists(const std::string& program) override;
    // "xdg-open FILE" when there are no parameters, else "FILE PARAMETERS"
    // (the parameters as one argument); started in the background, never
    // waited for, its output discarded.
    void shell_execute(const std::string& file, const std::string& parameters) override;
};

// On line when an interface other than loopback is up and has an address
// that is not link-local.
class InterfaceOnlineCheck final : public shell::OnlineCheck {
public:
    bool is_online() override;
};

// One entry of the interface list: up, not loopback, an IPv4 or IPv6 address
// outside 169.254.0.0/16 and fe80::/10 (which any interface that is up has,
// with or without a network behind it).
bool CountsAsOnline(const ifaddrs& entry);

} // namespace qirelo::platform::native
