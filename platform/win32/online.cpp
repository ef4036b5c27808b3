#include <winsock2.h>

#include <windows.h>

#include <cstring>

#include "platform/win32/shell.h"

namespace qirelo::platform::win32 {

Win32OnlineCheck::Win32OnlineCheck()
    : Win32OnlineCheck(Win32RegistryKeys(RegistryRoot::LocalMachine,
                                         "System\\CurrentControlSet\\Services\\RemoteAccess")) {}

Win32OnlineCheck::Win32OnlineCheck(Win32RegistryKeys remote_access)
    : remote_access_(std::move(remote_access)) {}

bool Win32OnlineCheck::is_online() {
    return shell::IsOnlineByRemoteAccess(remote_access_.four_byte_value("", "Remote Connection"),
                                         &Win32OnlineCheck::last_local_address);
}

std::optional<std::string> Win32OnlineCheck::last_local_address() {
    WSADATA data;
    if (::WSAStartup(MAKEWORD(1, 1), &data) != 0) {
        return std::nullopt;
    }
    std::optional<std::string> last;
    char name[256] = {};
    if (::gethostname(name, sizeof name) == 0) {
        if (const hostent* host = ::gethostbyname(name);
            host != nullptr && host->h_addrtype == AF_INET) {
            for (char** address = host->h_addr_list; *address != nullptr; ++address) {
                in_addr ipv4;
                std::memcpy(&ipv4, *address, sizeof ipv4);
                last = ::inet_ntoa(ipv4);
            }
        }
    }
    ::WSACleanup();
    return last;
}

} // namespace qirelo::platform::win32
