#include "platform/linux/shell.h"

#include <net/if.h>
#include <netinet/in.h>
#include <sys/socket.h>

namespace qirelo::platform::native {

namespace {

bool IsLinkLocal(const sockaddr* address) {
    if (address->sa_family == AF_INET) {
        const auto* ipv4 = reinterpret_cast<const sockaddr_in*>(address);
        const auto bytes = reinterpret_cast<const unsigned char*>(&ipv4->sin_addr.s_addr);
        return bytes[0] == 169 && bytes[1] == 254;
    }
    const auto* ipv6 = reinterpret_cast<const sockaddr_in6*>(address);
    return ipv6->sin6_addr.s6_addr[0] == 0xFE && (ipv6->sin6_addr.s6_addr[1] & 0xC0) == 0x80;
}

} // namespace

bool CountsAsOnline(const ifaddrs& entry) {
    if (entry.ifa_addr == nullptr || (entry.ifa_flags & IFF_LOOPBACK) != 0 ||
        (entry.ifa_flags & IFF_UP) == 0) {
        return false;
    }
    const int family = entry.ifa_addr->sa_family;
    return (family == AF_INET || family == AF_INET6) && !IsLinkLocal(entry.ifa_addr);
}

bool InterfaceOnlineCheck::is_online() {
    ifaddrs* interfaces = nullptr;
    if (::getifaddrs(&interfaces) != 0) {
        return false;
    }
    bool online = false;
    for (const ifaddrs* entry = interfaces; entry != nullptr && !online; entry = entry->ifa_next) {
        online = CountsAsOnline(*entry);
    }
    ::freeifaddrs(interfaces);
    return online;
}

} // namespace qirelo::platform::native
