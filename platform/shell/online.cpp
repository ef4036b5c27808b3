#include "platform/shell/online.h"

namespace qirelo::platform::shell {

bool IsOnlineByRemoteAccess(std::optional<std::uint32_t> remote_connection,
                            const std::function<std::optional<std::string>()>& last_local_address) {
    if (remote_connection) {
        return *remote_connection == 1;
    }
    const std::optional<std::string> address = last_local_address();
    return address && !address->empty() && *address != "127.0.0.1";
}

} // namespace qirelo::platform::shell
