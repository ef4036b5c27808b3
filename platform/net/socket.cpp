// Blocking, time-limited and abortable streams and listeners, built once over
// the non-blocking primitives of socket_os.h.

#include "platform/net/socket.h"

#include "platform/net/name_lookup.h"
#include "platform/net/socket_os.h"

#include <algorithm>
#include <chrono>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>

namespace qirelo::platform::net {

namespace {

using Clock = std::chrono::steady_clock;

void throw_if_aborted(const AbortSignal* abort) {
    if (abort != nullptr && abort->aborted()) {
        throw Aborted();
    }
}

} // namespace

SocketError::SocketError(int code, const std::string& text)
    : std::runtime_error(text), code_(code) {}

Deadline::Deadline(Timeout timeout) {
    if (timeout) {
        at_ = Clock::now() + *timeout;
    }
}

Timeout Deadline::left() const {
    if (!at_) {
        return kNoTimeout;
    }
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(*at_ - Clock::now());
    return std::max(left, std::chrono::milliseconds(0));
}

bool Deadline::passed() const {
    return at_ && Clock::now() >= *at_;
}

std::string to_string(const Address& address) {
    const std::uint32_t ip = address.ipv4;
    return std::to_string(ip >> 24) + "." + std::to_string((ip >> 16) & 0xFF) + "." +
           std::to_string((ip >> 8) & 0xFF) + "." + std::to_string(ip & 0xFF) + ":" +
           std::to_string(address.port);
}

namespace {

// One name lookup on a thread of its own. The thread and the caller share it,
// and whichever lets go last frees it: a caller that stopped waiting leaves
// behind everything the thread will still touch.
struct Lookup {
    Lookup(std::string host, std::shared_ptr<const NameLookup> look_up)
        : host(std::move(host)), look_up(std::move(look_up)) {}

    void run() noexcept {
        std::uint32_t found = 0;
        std::exception_ptr error;
        try {
            found = (*look_up)(host);
        } catch (...) {
            error = std::current_exception();
        }
        {
            const std::lock_guard lock(mutex);
            ipv4 = found;
            failure = error;
        }
        done.abort();
    }

    std::uint32_t result() {
        const std::lock_guard lock(mutex);
        if (failure) {
            std::rethrow_exception(failure);
        }
        return ipv4;
    }

    const std::string host;
    const std::shared_ptr<const NameLookup> look_up;
    AbortSignal done; // fires when the lookup has ended, found or not
    std::mutex mutex;
    std::uint32_t ipv4 = 0;
    std::exception_ptr failure;
};

void start_thread_for(const std::shared_ptr<Lookup>& lookup) {
    try {
        std::thread([lookup] { lookup->run(); }).detach();
    } catch (const std::system_error& error) {
        throw SocketError(error.code().value(), "Cannot start a name lookup.");
    }
}

} // namespace

Address resolve(const std::string& host, std::uint16_t port, Timeout timeout,
                const AbortSignal* abort) {
    if (const auto numeric = os::numeric_ipv4(host)) {
        return {*numeric, port};
    }
    throw_if_aborted(abort);
    if (!timeout && abort == nullptr) {
        return {(*current_name_lookup())(host), port}; // nothing to give up for
    }
    const auto lookup = std::make_shared<Lookup>(host, current_name_lookup());
    start_thread_for(lookup);
    switch (os::wait(os::wake_handle(lookup->done), os::Want::read, timeout, abort)) {
    case os::Ready::yes:
        return {lookup->result(), port};
    case os::Ready::timed_out:
        throw LookupTimeout();
    case os::Ready::aborted:
        break;
    }
    throw Aborted();
}

namespace os {

void raise(int code) {
    throw SocketError(code, failure_text(failure_of(code)));
}

Ready wait(SocketId socket, Want want, Timeout timeout, const AbortSignal* abort) {
    const Deadline deadline(timeout);
    for (;;) {
        if (abort && abort->aborted()) {
            return Ready::aborted;
        }
        int wait_ms = -1;
        if (const Timeout left = deadline.left()) {
            wait_ms = static_cast<int>(std::min<long long>(left->count(), 1 << 30));
        }
        switch (wait_once(socket, want, wait_ms, abort)) {
        case Woke::ready:
            return Ready::yes; // readiness, end of stream or an error the next call reports
        case Woke::aborted:
            return Ready::aborted;
        case Woke::nothing:
            if (deadline.passed()) {
                return Ready::timed_out;
            }
            break;
        case Woke::interrupted:
            break;
        }
    }
}

} // namespace os

struct Stream::Handle {
    Handle(os::SocketId id, const AbortSignal* abort) : id(id), abort(abort) {}
    ~Handle() { os::close_socket(id); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    // Waits for `want` with the handle's abort signal; Aborted when it fires.
    bool wait(os::Want want, Timeout timeout) const {
        switch (os::wait(id, want, timeout, abort)) {
        case os::Ready::yes:
            return true;
        case os::Ready::timed_out:
            return false;
        case os::Ready::aborted:
            break;
        }
        throw Aborted();
    }

    os::SocketId id;
    const AbortSignal* abort;
};

Stream::Stream(std::unique_ptr<Handle> handle) : handle_(std::move(handle)) {}
Stream::Stream() = default;
Stream::Stream(Stream&& other) noexcept = default;
Stream& Stream::operator=(Stream&& other) noexcept = default;
Stream::~Stream() = default;

Stream Stream::connect(const Address& to, Timeout timeout, const AbortSignal* abort) {
    throw_if_aborted(abort);
    auto handle = std::make_unique<Handle>(os::open_stream_socket(), abort);
    if (!os::start_connect(handle->id, to)) {
        if (!handle->wait(os::Want::write, timeout)) {
            throw ConnectTimeout();
        }
        if (const int error = os::pending_error(handle->id)) {
            os::raise(error);
        }
    }
    return Stream(std::move(handle));
}

bool Stream::is_open() const noexcept {
    return handle_ != nullptr;
}

void Stream::close() noexcept {
    handle_.reset();
}

bool Stream::wait_readable(Timeout timeout) {
    if (!handle_) {
        throw SocketError(0, "Socket is not connected.");
    }
    throw_if_aborted(handle_->abort);
    return handle_->wait(os::Want::read, timeout);
}

std::size_t Stream::receive(char* buffer, std::size_t size) {
    if (!handle_) {
        throw SocketError(0, "Socket is not connected.");
    }
    for (;;) {
        throw_if_aborted(handle_->abort);
        if (const auto got = os::receive_some(handle_->id, buffer, size)) {
            return *got;
        }
        handle_->wait(os::Want::read, kNoTimeout);
    }
}

void Stream::send_all(std::string_view bytes) {
    if (!handle_) {
        throw SocketError(0, "Socket is not connected.");
    }
    while (!bytes.empty()) {
        throw_if_aborted(handle_->abort);
        if (const auto sent = os::send_some(handle_->id, bytes.data(), bytes.size())) {
            bytes.remove_prefix(*sent);
        } else {
            handle_->wait(os::Want::write, kNoTimeout);
        }
    }
}

void Stream::shutdown_send() noexcept {
    if (handle_) {
        os::shutdown_send(handle_->id);
    }
}

Listener::Listener() = default;
Listener::Listener(Listener&& other) noexcept = default;
Listener& Listener::operator=(Listener&& other) noexcept = default;
Listener::~Listener() = default;

Listener Listener::listen(const Address& where, int backlog) {
    Listener listener;
    listener.handle_ = std::make_unique<Stream::Handle>(os::open_stream_socket(), nullptr);
    os::bind_and_listen(listener.handle_->id, where, backlog);
    return listener;
}

std::uint16_t Listener::port() const {
    if (!handle_) {
        throw SocketError(0, "Socket is not connected.");
    }
    return os::local_port(handle_->id);
}

std::optional<Stream> Listener::accept(Timeout timeout, const AbortSignal* abort) {
    if (!handle_) {
        throw SocketError(0, "Socket is not connected.");
    }
    const Deadline deadline(timeout);
    for (;;) {
        throw_if_aborted(abort);
        const os::SocketId accepted = os::accept_waiting(handle_->id);
        if (accepted != os::kNoSocket) {
            return Stream(std::make_unique<Stream::Handle>(accepted, abort));
        }
        switch (os::wait(handle_->id, os::Want::read, deadline.left(), abort)) {
        case os::Ready::yes:
            break; // a connection is waiting, unless another thread took it first
        case os::Ready::timed_out:
            return std::nullopt;
        case os::Ready::aborted:
            throw Aborted();
        }
    }
}

void Listener::close() noexcept {
    handle_.reset();
}

} // namespace qirelo::platform::net
