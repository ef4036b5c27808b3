// The socket primitives over POSIX: non-blocking sockets, poll(), and a pipe
// per AbortSignal whose read end becomes readable when the signal fires.

#include "platform/net/socket_os.h"
#include "platform/net/socket_error_text.h"

#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>

namespace qirelo::platform::net {

struct AbortSignal::Impl {
    int read_end = -1;
    int write_end = -1;
    std::atomic<bool> fired{false};
};

AbortSignal::AbortSignal() : impl_(std::make_unique<Impl>()) {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) {
        os::raise(errno);
    }
    impl_->read_end = ends[0];
    impl_->write_end = ends[1];
}

AbortSignal::~AbortSignal() {
    ::close(impl_->read_end);
    ::close(impl_->write_end);
}

void AbortSignal::abort() noexcept {
    if (!impl_->fired.exchange(true)) {
        // Never read back: the read end stays readable, so every later wait ends too.
        const char byte = 1;
        [[maybe_unused]] const auto written = ::write(impl_->write_end, &byte, 1);
    }
}

bool AbortSignal::aborted() const noexcept {
    return impl_->fired.load();
}

namespace os {

Failure failure_of(int code) {
    switch (code) {
    case ECONNREFUSED:
        return Failure::connection_refused;
    case ECONNRESET:
        return Failure::connection_reset;
    case ECONNABORTED:
        return Failure::connection_aborted;
    case ETIMEDOUT:
        return Failure::timed_out;
    case ENETUNREACH:
        return Failure::network_unreachable;
    case ENETDOWN:
        return Failure::network_down;
    case EHOSTUNREACH:
        return Failure::host_unreachable;
    case ENOTCONN:
        return Failure::not_connected;
    case EPIPE:
        return Failure::broken_pipe;
    case EADDRINUSE:
        return Failure::address_in_use;
    case EADDRNOTAVAIL:
        return Failure::address_not_available;
    case EACCES:
    case EPERM:
        return Failure::permission_denied;
    case EMFILE:
    case ENFILE:
        return Failure::too_many_sockets;
    case ENOBUFS:
    case ENOMEM:
        return Failure::no_buffer_space;
    case kHostNotFoundCode:
        return Failure::host_not_found;
    default:
        return Failure::other;
    }
}

namespace {

int fd(SocketId socket) {
    return static_cast<int>(socket);
}

sockaddr_in socket_address(const Address& address) {
    sockaddr_in result{};
    result.sin_family = AF_INET;
    result.sin_port = htons(address.port);
    result.sin_addr.s_addr = htonl(address.ipv4);
    return result;
}

bool would_block(int code) {
    return code == EAGAIN || code == EWOULDBLOCK;
}

} // namespace

int last_error() noexcept {
    return errno;
}

SocketId open_stream_socket() {
    const int socket = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (socket < 0) {
        raise(errno);
    }
    return static_cast<SocketId>(socket);
}

void close_socket(SocketId socket) noexcept {
    if (socket != kNoSocket) {
        ::close(fd(socket));
    }
}

bool start_connect(SocketId socket, const Address& to) {
    const sockaddr_in address = socket_address(to);
    if (::connect(fd(socket), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
        return true;
    }
    if (errno == EINPROGRESS || errno == EINTR) {
        return false;
    }
    raise(errno);
}

int pending_error(SocketId socket) noexcept {
    int error = 0;
    socklen_t size = sizeof error;
    if (::getsockopt(fd(socket), SOL_SOCKET, SO_ERROR, &error, &size) != 0) {
        return errno;
    }
    return error;
}

void bind_and_listen(SocketId socket, const Address& where, int backlog) {
    // A restarted server may bind its port again while old connections linger.
    const int on = 1;
    ::setsockopt(fd(socket), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    const sockaddr_in address = socket_address(where);
    if (::bind(fd(socket), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(fd(socket), backlog) != 0) {
        raise(errno);
    }
}

std::uint16_t local_port(SocketId socket) {
    sockaddr_in address{};
    socklen_t size = sizeof address;
    if (::getsockname(fd(socket), reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        raise(errno);
    }
    return ntohs(address.sin_port);
}

SocketId accept_waiting(SocketId listener) {
    const int accepted = ::accept4(fd(listener), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (accepted >= 0) {
        return static_cast<SocketId>(accepted);
    }
    // A connection that was reset before we took it is not the listener's failure.
    if (would_block(errno) || errno == EINTR || errno == ECONNABORTED) {
        return kNoSocket;
    }
    raise(errno);
}

std::optional<std::size_t> receive_some(SocketId socket, char* buffer, std::size_t size) {
    for (;;) {
        const ssize_t got = ::recv(fd(socket), buffer, size, 0);
        if (got >= 0) {
            return static_cast<std::size_t>(got);
        }
        if (errno == EINTR) {
            continue;
        }
        if (would_block(errno)) {
            return std::nullopt;
        }
        raise(errno);
    }
}

std::optional<std::size_t> send_some(SocketId socket, const char* bytes, std::size_t size) {
    for (;;) {
        // MSG_NOSIGNAL: a peer that has gone is an error to report, not a SIGPIPE.
        const ssize_t sent = ::send(fd(socket), bytes, size, MSG_NOSIGNAL);
        if (sent >= 0) {
            return static_cast<std::size_t>(sent);
        }
        if (errno == EINTR) {
            continue;
        }
        if (would_block(errno)) {
            return std::nullopt;
        }
        raise(errno);
    }
}

void shutdown_send(SocketId socket) noexcept {
    ::shutdown(fd(socket), SHUT_WR);
}

Woke wait_once(SocketId socket, Want want, int wait_ms, const AbortSignal* abort) {
    pollfd watched[2] = {
        {fd(socket), static_cast<short>(want == Want::read ? POLLIN : POLLOUT), 0},
        {abort ? abort->impl().read_end : -1, POLLIN, 0},
    };
    const nfds_t count = abort ? 2 : 1;
    const int ready = ::poll(watched, count, wait_ms);
    if (ready < 0) {
        if (errno == EINTR) {
            return Woke::interrupted;
        }
        raise(errno);
    }
    if (count == 2 && watched[1].revents != 0) {
        return Woke::aborted;
    }
    if (watched[0].revents != 0) {
        return Woke::ready;
    }
    return ready == 0 ? Woke::nothing : Woke::interrupted;
}

SocketId wake_handle(const AbortSignal& signal) {
    return static_cast<SocketId>(signal.impl().read_end);
}

std::optional<std::uint32_t> numeric_ipv4(const std::string& host) {
    in_addr numeric{};
    if (::inet_pton(AF_INET, host.c_str(), &numeric) != 1) {
        return std::nullopt;
    }
    return ntohl(numeric.s_addr);
}

std::uint32_t lookup_ipv4(const std::string& host) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const int status = ::getaddrinfo(host.c_str(), nullptr, &hints, &found);
    if (status != 0 || found == nullptr) {
        if (status == EAI_SYSTEM) {
            raise(errno);
        }
        raise(kHostNotFoundCode);
    }
    const auto* address = reinterpret_cast<const sockaddr_in*>(found->ai_addr);
    const std::uint32_t ipv4 = ntohl(address->sin_addr.s_addr);
    ::freeaddrinfo(found);
    return ipv4;
}

} // namespace os
} // namespace qirelo::platform::net
