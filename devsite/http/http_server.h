#pragma once

// One HTTP/1.1 server over a listening socket: a thread accepts, a thread per
// connection reads requests, asks the handler and writes the answers, keeping
// the connection alive until the client closes it, asks to close it, sends a
// request that cannot be served, or stays idle too long. stop() ends every
// thread at once through the abort signal and waits for them.

#include "devsite/http/http_request.h"
#include "devsite/http/http_response.h"
#include "platform/net/socket.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <thread>

namespace qirelo::devsite {

using Handler = std::function<Response(const Request&)>;

struct ServerLimits {
    RequestLimits request;
    std::chrono::milliseconds idle_timeout{30000}; // between requests, and within one
    std::size_t max_connections = 64;
};

class HttpServer {
public:
    HttpServer(platform::net::Listener listener, Handler handler, ServerLimits limits = {});
    ~HttpServer();
    HttpServer(const HttpServer&) = delete;
    HttpServer& operator=(const HttpServer&) = delete;

    std::uint16_t port() const { return port_; }
    void stop();

private:
    struct Connection {
        std::thread thread;
        std::atomic<bool> done{false};
    };

    void accept_loop();
    void serve(platform::net::Stream stream, std::uint64_t connection);
    void reap_finished();

    platform::net::AbortSignal abort_;
    platform::net::Listener listener_;
    Handler handler_;
    ServerLimits limits_;
    std::uint16_t port_;
    std::mutex connections_mutex_;
    std::list<Connection> connections_;
    std::uint64_t connection_count_ = 0;
    std::thread acceptor_;
};

// The answer a handler gives, with every escaping exception turned into a 500,
// so no request can take a connection thread down.
Response answer(const Handler& handler, const Request& request);

} // namespace qirelo::devsite
