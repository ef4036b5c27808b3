#pragma once

// Whether the machine is on line, asked before an automatic update check.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace qirelo::platform::shell {

class OnlineCheck {
public:
    virtual ~OnlineCheck() = default;
    virtual bool is_online() = 0;
};

// The Windows rule: a dial-up "Remote Connection" value of 1 means on line,
// any other value off line. Only when the value cannot be read does the
// machine's own address decide (`last_local_address`, the last address of
// the local host name): on line when there is one and it is not loopback.
bool IsOnlineByRemoteAccess(std::optional<std::uint32_t> remote_connection,
                            const std::function<std::optional<std::string>()>& last_local_address);

} // namespace qirelo::platform::shell
