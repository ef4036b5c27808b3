#pragma once

// A scripted HTTP server on an ephemeral loopback port for the client's
// tests. A handler runs on its own thread for every accepted connection and
// plays the server's part byte for byte: answer, stall, close early. The
// server counts connections and records every request's bytes. Destruction
// ends every connection at once and joins the threads.

#include "platform/net/socket.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace qirelo::http::testing {

class ScriptServer;

// The server's side of one connection.
class Peer {
public:
    Peer(platform::net::Stream stream, ScriptServer& server, int index);

    // The 0-based number of this connection on its server.
    int index() const { return index_; }

    // The next request's head, up to and including its empty line; nullopt
    // when the client closes first.
    std::optional<std::string> read_request();
    void send(std::string_view bytes);
    void close();
    // Holds the connection open and silent until the client closes it or the
    // server stops.
    void stall();

private:
    platform::net::Stream stream_;
    ScriptServer& server_;
    int index_;
    std::string pending_;
};

class ScriptServer {
public:
    using Handler = std::function<void(Peer&)>;

    explicit ScriptServer(Handler handler);
    ~ScriptServer();
    ScriptServer(const ScriptServer&) = delete;
    ScriptServer& operator=(const ScriptServer&) = delete;

    std::uint16_t port() const { return port_; }
    // "http://127.0.0.1:<port>" followed by `path`.
    std::string url(std::string_view path = "/") const;

    int connections() const { return connections_.load(); }
    // Connections whose handler has returned (and so closed its side).
    int finished_connections() const { return finished_.load(); }
    // Waits, a few seconds at most, until `count` handlers have returned.
    bool wait_finished(int count) const;
    std::vector<std::string> requests() const;

private:
    friend class Peer;
    void accept_loop();
    void record(const std::string& request);

    Handler handler_;
    platform::net::AbortSignal stop_;
    platform::net::Listener listener_;
    std::uint16_t port_ = 0;
    std::atomic<int> connections_{0};
    std::atomic<int> finished_{0};
    mutable std::mutex mutex_;
    std::vector<std::string> requests_;
    std::vector<std::thread> peers_;
    std::thread acceptor_;
};

// What a scripted reply does after its bytes are sent.
enum class Then { keep_open, close, stall };

struct Reply {
    std::string bytes;
    Then then = Then::keep_open;
};

// Answers the requests, over all connections, with `replies` in turn; after
// the last one every further request gets a 500.
ScriptServer::Handler serve(std::vector<Reply> replies);

// A complete response with a Content-Length body.
std::string response(std::string_view status_and_headers, std::string_view body);
// The same with status 200 and no other header.
std::string ok(std::string_view body);

} // namespace qirelo::http::testing
