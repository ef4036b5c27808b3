#include "devsite/http/http_server.h"

#include <system_error>

namespace qirelo::devsite {

namespace net = platform::net;

HttpServer::HttpServer(net::Listener listener, Handler handler, ServerLimits limits)
    : listener_(std::move(listener)), handler_(std::move(handler)), limits_(limits),
      port_(listener_.port()) {
    acceptor_ = std::thread([this] { accept_loop(); });
}

HttpServer::~HttpServer() {
    stop();
}

void HttpServer::stop() {
    abort_.abort();
    if (acceptor_.joinable())
        acceptor_.join();
    std::lock_guard lock(connections_mutex_);
    for (auto& connection : connections_)
        if (connection.thread.joinable())
            connection.thread.join();
    connections_.clear();
    listener_.close();
}

void HttpServer::accept_loop() {
    for (;;) {
        std::optional<net::Stream> stream;
        try {
            stream = listener_.accept(std::chrono::seconds(1), &abort_);
        } catch (const net::Aborted&) {
            return;
        } catch (const net::SocketError&) {
            continue; // a connection reset before it was accepted
        }
        reap_finished();
        if (!stream)
            continue;
        std::lock_guard lock(connections_mutex_);
        if (connections_.size() >= limits_.max_connections)
            continue; // closing it at once is the answer
        auto& connection = connections_.emplace_back();
        try {
            connection.thread = std::thread(
                [this, &connection, id = ++connection_count_, s = std::move(*stream)]() mutable {
                    serve(std::move(s), id);
                    connection.done = true;
                });
        } catch (const std::system_error&) {
            connections_.pop_back(); // no thread to be had: the connection closes unanswered
        }
    }
}

void HttpServer::reap_finished() {
    std::lock_guard lock(connections_mutex_);
    for (auto it = connections_.begin(); it != connections_.end();) {
        if (it->done) {
            it->thread.join();
            it = connections_.erase(it);
        } else {
            ++it;
        }
    }
}

namespace {

// Sends a refusal and closes. The rest of what the client sends is read and
// dropped for a moment first: closing with unread bytes would reset the
// connection and could destroy the answer before the client reads it.
void refuse_and_close(net::Stream& stream, const Response& response) {
    stream.send_all(serialize(response, false, false));
    stream.shutdown_send();
    char sink[4096];
    for (std::size_t drained = 0; drained < 256 * 1024;) {
        if (!stream.wait_readable(std::chrono::milliseconds(500)))
            return;
        auto got = stream.receive(sink, sizeof sink);
        if (got == 0)
            return;
        drained += got;
    }
}

} // namespace

Response answer(const Handler& handler, const Request& request) {
    try {
        return handler(request);
    } catch (const HttpRequestError& error) {
        return error_response(error.status(), error.what());
    } catch (const std::exception& error) {
        return error_response(500, error.what());
    }
}

void HttpServer::serve(net::Stream stream, std::uint64_t connection) {
    RequestReader reader(limits_.request);
    char buffer[16 * 1024];
    try {
        for (;;) {
            try {
                while (auto request = reader.next()) {
                    request->connection = connection;
                    bool keep_alive = request->keep_alive();
                    bool head_only = request->method == "HEAD";
                    Response response = answer(handler_, *request);
                    if (response.send_raw)
                        keep_alive = response.send_raw(stream, keep_alive, head_only);
                    else
                        stream.send_all(serialize(response, keep_alive, head_only));
                    if (!keep_alive)
                        return;
                }
                if (reader.take_continue_request())
                    stream.send_all("HTTP/1.1 100 Continue\r\n\r\n");
                if (!stream.wait_readable(limits_.idle_timeout)) {
                    if (!reader.empty())
                        refuse_and_close(stream, error_response(408, "request timed out"));
                    return;
                }
                auto got = stream.receive(buffer, sizeof buffer);
                if (got == 0)
                    return;
                reader.append(std::string_view(buffer, got));
            } catch (const HttpRequestError& error) {
                refuse_and_close(stream, error_response(error.status(), error.what()));
                return;
            }
        }
    } catch (const net::Aborted&) {
    } catch (const net::SocketError&) {
        // The client went away; nothing to answer.
    }
}

} // namespace qirelo::devsite
