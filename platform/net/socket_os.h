#pragma once

// The few operating-system calls the socket boundary is built from. Each
// platform implements them once (platform/linux/socket_os.cpp over POSIX,
// platform/win32/socket_os.cpp over Winsock 2); socket.cpp builds the blocking,
// time-limited and abortable behaviour of Stream and Listener on top, so that
// logic exists only once. Sockets are always non-blocking underneath.

#include "platform/net/socket.h"
#include "platform/net/socket_error_text.h"

#include <cstdint>
#include <optional>

namespace qirelo::platform::net::os {

using SocketId = std::uintptr_t;
inline constexpr SocketId kNoSocket = ~SocketId{0};

// The system's error number for a failed call made just now.
int last_error() noexcept;

// Which failure the system's error number `code` stands for.
Failure failure_of(int code);

// Raises SocketError for `code` with its text.
[[noreturn]] void raise(int code);

SocketId open_stream_socket();
void close_socket(SocketId socket) noexcept;

// Starts a connect: true when it completed at once, false when it is under way
// (wait for Want::write, then ask pending_error()).
bool start_connect(SocketId socket, const Address& to);
int pending_error(SocketId socket) noexcept;

void bind_and_listen(SocketId socket, const Address& where, int backlog);
std::uint16_t local_port(SocketId socket);

// The next waiting connection, non-blocking; kNoSocket when none is waiting.
SocketId accept_waiting(SocketId listener);

// nullopt when the call would block.
std::optional<std::size_t> receive_some(SocketId socket, char* buffer, std::size_t size);
std::optional<std::size_t> send_some(SocketId socket, const char* bytes, std::size_t size);
void shutdown_send(SocketId socket) noexcept;

enum class Want { read, write };
enum class Ready { yes, timed_out, aborted };

// Waits until `socket` is ready for `want` (write also reports a finished or
// failed connect), the time-out passes, or `abort` fires. Portable: a loop of
// wait_once calls.
Ready wait(SocketId socket, Want want, Timeout timeout, const AbortSignal* abort);

// What one call of the system's readiness wait found: `nothing` when its time
// ran out, `interrupted` when it returned early without news.
enum class Woke { ready, aborted, nothing, interrupted };

// One system wait of at most `wait_ms` milliseconds (-1: no limit) for `socket`
// to be ready for `want` or for `abort` (when given) to fire.
Woke wait_once(SocketId socket, Want want, int wait_ms, const AbortSignal* abort);

// The handle that becomes readable once `signal` fires, to wait on like a socket.
SocketId wake_handle(const AbortSignal& signal);

// The address of a dotted IPv4 text ("127.0.0.1"), host byte order; nullopt
// for anything else.
std::optional<std::uint32_t> numeric_ipv4(const std::string& host);

// The system's blocking lookup of a host name; SocketError when unknown.
std::uint32_t lookup_ipv4(const std::string& host);

} // namespace qirelo::platform::net::os
