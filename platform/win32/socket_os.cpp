// The socket primitives over Winsock 2: non-blocking sockets, select(), and a
// loopback socket pair per AbortSignal whose reading end becomes readable when
// the signal fires (select waits on sockets only).

#include "platform/net/socket_os.h"
#include "platform/net/socket_error_text.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <utility>

namespace qirelo::platform::net {

namespace os {
namespace {

// Winsock is started once, on first use, and left running until the process ends.
void ensure_started() {
    static const int started = [] {
        WSADATA data;
        return ::WSAStartup(MAKEWORD(2, 2), &data);
    }();
    if (started != 0) {
        raise(started);
    }
}

SOCKET sock(SocketId socket) {
    return static_cast<SOCKET>(socket);
}

sockaddr_in socket_address(const Address& address) {
    sockaddr_in result{};
    result.sin_family = AF_INET;
    result.sin_port = htons(address.port);
    result.sin_addr.s_addr = htonl(address.ipv4);
    return result;
}

// Closes a socket on scope exit unless released: a socket is handed to its
// owner only once every step of setting it up has succeeded.
class SocketGuard {
public:
    explicit SocketGuard(os::SocketId id) : id_(id) {}
    ~SocketGuard() { os::close_socket(id_); }
    SocketGuard(const SocketGuard&) = delete;
    SocketGuard& operator=(const SocketGuard&) = delete;
    os::SocketId get() const { return id_; }
    SOCKET native() const { return static_cast<SOCKET>(id_); }
    SOCKET release() { return static_cast<SOCKET>(std::exchange(id_, os::kNoSocket)); }

private:
    os::SocketId id_;
};

void make_non_blocking(SOCKET socket) {
    u_long on = 1;
    if (::ioctlsocket(socket, FIONBIO, &on) != 0) {
        raise(::WSAGetLastError());
    }
}

// The updater starts other programs; they must not inherit our connections.
void keep_from_children(SOCKET socket) {
    ::SetHandleInformation(reinterpret_cast<HANDLE>(socket), HANDLE_FLAG_INHERIT, 0);
}

} // namespace

Failure failure_of(int code) {
    switch (code) {
    case WSAHOST_NOT_FOUND:
    case WSANO_DATA:
    case WSATRY_AGAIN:
    case WSANO_RECOVERY:
        return Failure::host_not_found;
    case WSAECONNREFUSED:
        return Failure::connection_refused;
    case WSAECONNRESET:
        return Failure::connection_reset;
    case WSAECONNABORTED:
        return Failure::connection_aborted;
    case WSAETIMEDOUT:
        return Failure::timed_out;
    case WSAENETUNREACH:
        return Failure::network_unreachable;
    case WSAENETDOWN:
        return Failure::network_down;
    case WSAEHOSTUNREACH:
        return Failure::host_unreachable;
    case WSAENOTCONN:
        return Failure::not_connected;
    case WSAESHUTDOWN:
        return Failure::broken_pipe;
    case WSAEADDRINUSE:
        return Failure::address_in_use;
    case WSAEADDRNOTAVAIL:
        return Failure::address_not_available;
    case WSAEACCES:
        return Failure::permission_denied;
    case WSAEMFILE:
        return Failure::too_many_sockets;
    case WSAENOBUFS:
        return Failure::no_buffer_space;
    default:
        return Failure::other;
    }
}

} // namespace os

struct AbortSignal::Impl {
    SOCKET reader = INVALID_SOCKET;
    SOCKET writer = INVALID_SOCKET;
    std::atomic<bool> fired{false};
};

namespace {

constexpr std::uint32_t kLoopback = 0x7F000001;
constexpr std::chrono::seconds kPairingTime{10};

} // namespace

AbortSignal::AbortSignal() : impl_(std::make_unique<Impl>()) {
    // A connected loopback pair; the listener lives only long enough to pair them.
    os::SocketGuard listener(os::open_stream_socket());
    os::bind_and_listen(listener.get(), {kLoopback, 0}, 1);
    os::SocketGuard writer(os::open_stream_socket());
    const Address to{kLoopback, os::local_port(listener.get())};
    if (!os::start_connect(writer.get(), to)) {
        if (os::wait(writer.get(), os::Want::write, kPairingTime, nullptr) != os::Ready::yes) {
            os::raise(WSAETIMEDOUT);
        }
        if (const int error = os::pending_error(writer.get())) {
            os::raise(error);
        }
    }
    if (os::wait(listener.get(), os::Want::read, kPairingTime, nullptr) != os::Ready::yes) {
        os::raise(WSAETIMEDOUT);
    }
    os::SocketGuard reader(os::accept_waiting(listener.get()));
    if (reader.get() == os::kNoSocket) {
        os::raise(WSAETIMEDOUT);
    }
    impl_->reader = reader.release();
    impl_->writer = writer.release();
}

AbortSignal::~AbortSignal() {
    ::closesocket(impl_->reader);
    ::closesocket(impl_->writer);
}

void AbortSignal::abort() noexcept {
    if (!impl_->fired.exchange(true)) {
        // Never read back: the reader stays readable, so every later wait ends too.
        const char byte = 1;
        ::send(impl_->writer, &byte, 1, 0);
    }
}

bool AbortSignal::aborted() const noexcept {
    return impl_->fired.load();
}

namespace os {

int last_error() noexcept {
    return ::WSAGetLastError();
}

SocketId open_stream_socket() {
    ensure_started();
    SocketGuard socket(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    if (socket.get() == kNoSocket) {
        raise(::WSAGetLastError());
    }
    keep_from_children(socket.native());
    make_non_blocking(socket.native());
    return static_cast<SocketId>(socket.release());
}

void close_socket(SocketId socket) noexcept {
    if (socket != kNoSocket) {
        ::closesocket(sock(socket));
    }
}

bool start_connect(SocketId socket, const Address& to) {
    const sockaddr_in address = socket_address(to);
    if (::connect(sock(socket), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
        return true;
    }
    const int error = ::WSAGetLastError();
    if (error == WSAEWOULDBLOCK || error == WSAEINPROGRESS) {
        return false;
    }
    raise(error);
}

int pending_error(SocketId socket) noexcept {
    int error = 0;
    int size = sizeof error;
    if (::getsockopt(sock(socket), SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &size) !=
        0) {
        return ::WSAGetLastError();
    }
    return error;
}

void bind_and_listen(SocketId socket, const Address& where, int backlog) {
    const sockaddr_in address = socket_address(where);
    if (::bind(sock(socket), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(sock(socket), backlog) != 0) {
        raise(::WSAGetLastError());
    }
}

std::uint16_t local_port(SocketId socket) {
    sockaddr_in address{};
    int size = sizeof address;
    if (::getsockname(sock(socket), reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        raise(::WSAGetLastError());
    }
    return ntohs(address.sin_port);
}

SocketId accept_waiting(SocketId listener) {
    const SOCKET accepted = ::accept(sock(listener), nullptr, nullptr);
    if (accepted == INVALID_SOCKET) {
        const int error = ::WSAGetLastError();
        // A connection that was reset before we took it is not the listener's failure.
        if (error == WSAEWOULDBLOCK || error == WSAECONNRESET || error == WSAEINTR) {
            return kNoSocket;
        }
        raise(error);
    }
    SocketGuard owned(accepted);
    keep_from_children(owned.native());
    make_non_blocking(owned.native());
    return static_cast<SocketId>(owned.release());
}

std::optional<std::size_t> receive_some(SocketId socket, char* buffer, std::size_t size) {
    const int wanted = static_cast<int>(std::min<std::size_t>(size, 1 << 30));
    const int got = ::recv(sock(socket), buffer, wanted, 0);
    if (got >= 0) {
        return static_cast<std::size_t>(got);
    }
    const int error = ::WSAGetLastError();
    if (error == WSAEWOULDBLOCK) {
        return std::nullopt;
    }
    raise(error);
}

std::optional<std::size_t> send_some(SocketId socket, const char* bytes, std::size_t size) {
    const int wanted = static_cast<int>(std::min<std::size_t>(size, 1 << 30));
    const int sent = ::send(sock(socket), bytes, wanted, 0);
    if (sent >= 0) {
        return static_cast<std::size_t>(sent);
    }
    const int error = ::WSAGetLastError();
    if (error == WSAEWOULDBLOCK) {
        return std::nullopt;
    }
    raise(error);
}

void shutdown_send(SocketId socket) noexcept {
    ::shutdown(sock(socket), SD_SEND);
}

Woke wait_once(SocketId socket, Want want, int wait_ms, const AbortSignal* abort) {
    fd_set readable;
    fd_set writable;
    fd_set failed;
    FD_ZERO(&readable);
    FD_ZERO(&writable);
    FD_ZERO(&failed);
    if (want == Want::read) {
        FD_SET(sock(socket), &readable);
    } else {
        // A failed non-blocking connect shows in the exception set, not the write set.
        FD_SET(sock(socket), &writable);
        FD_SET(sock(socket), &failed);
    }
    if (abort) {
        FD_SET(abort->impl().reader, &readable);
    }
    timeval limit{};
    timeval* limit_pointer = nullptr;
    if (wait_ms >= 0) {
        limit.tv_sec = static_cast<long>(wait_ms / 1000);
        limit.tv_usec = static_cast<long>((wait_ms % 1000) * 1000);
        limit_pointer = &limit;
    }
    const int ready = ::select(0, &readable, &writable, &failed, limit_pointer);
    if (ready == SOCKET_ERROR) {
        raise(::WSAGetLastError());
    }
    if (abort && FD_ISSET(abort->impl().reader, &readable)) {
        return Woke::aborted;
    }
    if (FD_ISSET(sock(socket), &readable) || FD_ISSET(sock(socket), &writable) ||
        FD_ISSET(sock(socket), &failed)) {
        return Woke::ready;
    }
    return ready == 0 ? Woke::nothing : Woke::interrupted;
}

SocketId wake_handle(const AbortSignal& signal) {
    return static_cast<SocketId>(signal.impl().reader);
}

std::optional<std::uint32_t> numeric_ipv4(const std::string& host) {
    ensure_started();
    in_addr numeric{};
    if (::inet_pton(AF_INET, host.c_str(), &numeric) != 1) {
        return std::nullopt;
    }
    return ntohl(numeric.s_addr);
}

std::uint32_t lookup_ipv4(const std::string& host) {
    ensure_started();
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const int status = ::getaddrinfo(host.c_str(), nullptr, &hints, &found);
    if (status != 0 || found == nullptr) {
        raise(status == WSAHOST_NOT_FOUND || status == 0 ? WSAHOST_NOT_FOUND : status);
    }
    const auto* address = reinterpret_cast<const sockaddr_in*>(found->ai_addr);
    const std::uint32_t ipv4 = ntohl(address->sin_addr.s_addr);
    ::freeaddrinfo(found);
    return ipv4;
}

} // namespace os
} // namespace qirelo::platform::net
