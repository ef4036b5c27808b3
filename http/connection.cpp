#include "http/connection.h"

#include "http/errors.h"
#include "text/ascii.h"

namespace qirelo::http {

namespace net = platform::net;

namespace {

// Runs a socket step, raising the client's errors for the boundary's.
template <typename Step> auto socket_step(Step step) {
    try {
        return step();
    } catch (const net::Aborted&) {
        throw EHttpAborted();
    } catch (const net::SocketError& error) {
        throw EHttpSocketError(error.code(), error.what());
    }
}

} // namespace

HttpConnection::HttpConnection(const net::AbortSignal& abort) : abort_(abort) {}

bool HttpConnection::is_to(const std::string& host, int port) const {
    return is_open() && port == port_ && text::iequals(host, host_);
}

void HttpConnection::open(const std::string& host, int port, WaitLimit connect_timeout) {
    close();
    if (abort_.aborted()) {
        throw EHttpAborted();
    }
    // The lookup and the connect together set the connection up: one time-out
    // bounds both, so a resolver that never answers cannot hold the GET.
    const net::Deadline deadline(connect_timeout);
    const net::Address address = resolve(host, port, deadline);
    try {
        stream_ = net::Stream::connect(address, deadline.left(), &abort_);
    } catch (const net::ConnectTimeout&) {
        throw EHttpConnectTimeout();
    } catch (const net::Aborted&) {
        throw EHttpAborted();
    } catch (const net::SocketError& error) {
        if (connect_timeout) {
            throw EHttpConnectFailed(error.code(), error.what());
        }
        throw EHttpSocketError(error.code(), error.what());
    }
    host_ = host;
    port_ = port;
}

net::Address HttpConnection::resolve(const std::string& host, int port,
                                     const net::Deadline& deadline) const {
    try {
        return socket_step([&] {
            return net::resolve(host, static_cast<std::uint16_t>(port), deadline.left(), &abort_);
        });
    } catch (const net::LookupTimeout&) {
        throw EHttpConnectTimeout();
    }
}

void HttpConnection::close() noexcept {
    stream_.close();
    input_.reset();
    host_.clear();
    port_ = 0;
}

bool HttpConnection::is_stale() {
    if (input_.buffered() > 0 || input_.exhausted()) {
        return true;
    }
    // No waiting: a close that has already arrived is what this looks for.
    return socket_step([&] { return stream_.wait_readable(std::chrono::milliseconds(0)); });
}

void HttpConnection::send(std::string_view bytes) {
    socket_step([&] { stream_.send_all(bytes); });
}

std::size_t HttpConnection::read_some(char* buffer, std::size_t size, WaitLimit timeout) {
    return socket_step([&] {
        if (!stream_.wait_readable(timeout)) {
            throw EHttpReadTimeout();
        }
        return stream_.receive(buffer, size);
    });
}

} // namespace qirelo::http
