#include "tests/http/support/script_server.h"

#include <memory>

namespace qirelo::http::testing {

namespace net = platform::net;

Peer::Peer(net::Stream stream, ScriptServer& server, int index)
    : stream_(std::move(stream)), server_(server), index_(index) {}

std::optional<std::string> Peer::read_request() {
    for (;;) {
        const std::size_t end = pending_.find("\r\n\r\n");
        if (end != std::string::npos) {
            std::string request = pending_.substr(0, end + 4);
            pending_.erase(0, end + 4);
            server_.record(request);
            return request;
        }
        char buffer[4096];
        const std::size_t got = stream_.receive(buffer, sizeof buffer);
        if (got == 0) {
            return std::nullopt;
        }
        pending_.append(buffer, got);
    }
}

void Peer::send(std::string_view bytes) {
    stream_.send_all(bytes);
}

void Peer::close() {
    stream_.close();
}

void Peer::stall() {
    char buffer[4096];
    while (stream_.is_open() && stream_.receive(buffer, sizeof buffer) > 0) {
    }
}

ScriptServer::ScriptServer(Handler handler)
    : handler_(std::move(handler)), listener_(net::Listener::listen({0x7F000001, 0})),
      port_(listener_.port()), acceptor_([this] { accept_loop(); }) {}

ScriptServer::~ScriptServer() {
    stop_.abort();
    acceptor_.join();
    for (std::thread& peer : peers_) {
        peer.join();
    }
}

std::string ScriptServer::url(std::string_view path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + std::string(path);
}

std::vector<std::string> ScriptServer::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

bool ScriptServer::wait_finished(int count) const {
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (finished_.load() < count) {
        if (std::chrono::steady_clock::now() > give_up) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

void ScriptServer::record(const std::string& request) {
    std::lock_guard lock(mutex_);
    requests_.push_back(request);
}

void ScriptServer::accept_loop() {
    try {
        for (;;) {
            std::optional<net::Stream> stream = listener_.accept(net::kNoTimeout, &stop_);
            if (!stream) {
                continue;
            }
            const int index = connections_++;
            // Only this thread touches peers_ until the destructor joins it.
            peers_.emplace_back([this, index, stream = std::move(*stream)]() mutable {
                Peer peer(std::move(stream), *this, index);
                try {
                    handler_(peer);
                } catch (const std::exception&) {
                    // The client went away or the server is stopping.
                }
                peer.close();
                ++finished_;
            });
        }
    } catch (const net::Aborted&) {
    }
}

ScriptServer::Handler serve(std::vector<Reply> replies) {
    struct Queue {
        std::mutex mutex;
        std::vector<Reply> replies;
        std::size_t next = 0;
    };
    auto queue = std::make_shared<Queue>();
    queue->replies = std::move(replies);
    return [queue](Peer& peer) {
        while (peer.read_request()) {
            Reply reply{response("HTTP/1.1 500 Script Ended\r\n", ""), Then::close};
            {
                std::lock_guard lock(queue->mutex);
                if (queue->next < queue->replies.size()) {
                    reply = queue->replies[queue->next++];
                }
            }
            peer.send(reply.bytes);
            if (reply.then == Then::close) {
                peer.close();
                return;
            }
            if (reply.then == Then::stall) {
                peer.stall();
                return;
            }
        }
    };
}

std::string response(std::string_view status_and_headers, std::string_view body) {
    return std::string(status_and_headers) + "Content-Length: " + std::to_string(body.size()) +
           "\r\n\r\n" + std::string(body);
}

std::string ok(std::string_view body) {
    return response("HTTP/1.1 200 OK\r\n", body);
}

} // namespace qirelo::http::testing
