#include "platform/net/socket_error_text.h"

namespace qirelo::platform::net {

std::string failure_text(Failure failure) {
    switch (failure) {
    case Failure::host_not_found:
        return "Host not found.";
    case Failure::connection_refused:
        return "Connection refused.";
    case Failure::connection_reset:
        return "Connection reset by peer.";
    case Failure::connection_aborted:
        return "Software caused connection abort.";
    case Failure::timed_out:
        return "Connection timed out.";
    case Failure::network_unreachable:
        return "Network is unreachable.";
    case Failure::network_down:
        return "Network is down.";
    case Failure::host_unreachable:
        return "No route to host.";
    case Failure::not_connected:
        return "Socket is not connected.";
    case Failure::broken_pipe:
        return "Broken pipe.";
    case Failure::address_in_use:
        return "Address already in use.";
    case Failure::address_not_available:
        return "Cannot assign requested address.";
    case Failure::permission_denied:
        return "Permission denied.";
    case Failure::too_many_sockets:
        return "Too many open sockets.";
    case Failure::no_buffer_space:
        return "No buffer space available.";
    case Failure::other:
        break;
    }
    return "Unknown socket error.";
}

} // namespace qirelo::platform::net
