#pragma once

// The texts of socket failures, the same on every platform; each platform maps
// its own error numbers onto these.

#include <string>

namespace qirelo::platform::net {

enum class Failure {
    host_not_found,
    connection_refused,
    connection_reset,
    connection_aborted,
    timed_out,
    network_unreachable,
    network_down,
    host_unreachable,
    not_connected,
    broken_pipe,
    address_in_use,
    address_not_available,
    permission_denied,
    too_many_sockets,
    no_buffer_space,
    other,
};

// The resolver's "no such host" has no POSIX error number; both platforms
// report it with the Winsock number so callers see one value.
inline constexpr int kHostNotFoundCode = 11001;

std::string failure_text(Failure failure);

} // namespace qirelo::platform::net
