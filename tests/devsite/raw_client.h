#pragma once

// A byte-level HTTP client for the server tests: it sends exactly what a test
// writes, so malformed and pipelined requests reach the server as they are.

#include "platform/net/socket.h"

#include <chrono>
#include <optional>
#include <string>

namespace qirelo::devsite::test_support {

struct RawResponse {
    int status = 0;
    std::string head;
    std::string body;
};

class RawClient {
public:
    explicit RawClient(std::uint16_t port)
        : stream_(platform::net::Stream::connect({0x7F000001, port}, std::chrono::seconds(5))) {}

    void send(const std::string& bytes) { stream_.send_all(bytes); }

    // The next response; nullopt when the server closed first.
    std::optional<RawResponse> read_response() {
        std::size_t end;
        while ((end = buffer_.find("\r\n\r\n")) == std::string::npos)
            if (!fill())
                return std::nullopt;
        RawResponse response;
        response.head = buffer_.substr(0, end + 4);
        buffer_.erase(0, end + 4);
        response.status = std::stoi(response.head.substr(9, 3));
        auto length_at = response.head.find("Content-Length: ");
        std::size_t length =
            length_at == std::string::npos ? 0 : std::stoul(response.head.substr(length_at + 16));
        bool bodiless = response.status == 100 || head_only_;
        while (!bodiless && buffer_.size() < length)
            if (!fill())
                return std::nullopt;
        if (!bodiless) {
            response.body = buffer_.substr(0, length);
            buffer_.erase(0, length);
        }
        return response;
    }

    // True when the server closes the connection (within five seconds).
    // A reset counts: a connection the server had not yet accepted when it
    // stopped is reset rather than closed.
    bool closed_by_server() {
        try {
            while (fill()) {
            }
        } catch (const platform::net::SocketError&) {
            return true;
        }
        return closed_;
    }

    void expect_head_only(bool head_only) { head_only_ = head_only; }

private:
    bool fill() {
        if (closed_ || !stream_.wait_readable(std::chrono::seconds(5)))
            return false;
        char chunk[4096];
        auto got = stream_.receive(chunk, sizeof chunk);
        if (got == 0)
            closed_ = true;
        buffer_.append(chunk, got);
        return got > 0;
    }

    platform::net::Stream stream_;
    std::string buffer_;
    bool closed_ = false;
    bool head_only_ = false;
};

} // namespace qirelo::devsite::test_support
