#pragma once

// The client's one TCP connection with its input buffer, over the platform
// socket boundary. Socket failures become the client's error classes here.

#include "http/input_buffer.h"
#include "platform/net/socket.h"

#include <string>
#include <string_view>

namespace qirelo::http {

class HttpConnection final : public ByteSource {
public:
    explicit HttpConnection(const platform::net::AbortSignal& abort);

    bool is_open() const { return stream_.is_open(); }
    bool is_to(const std::string& host, int port) const;

    // Resolves `host` afresh and connects, the two together within
    // `connect_timeout`: EHttpConnectTimeout when it passes, EHttpConnectFailed
    // when refused; without a time-out a refusal is EHttpSocketError, and so
    // is an unknown host either way. EHttpAborted at once on an abort, also
    // in the middle of the lookup.
    void open(const std::string& host, int port, WaitLimit connect_timeout);
    void close() noexcept;

    // The server has closed, or sent bytes nobody asked for: either way the
    // connection cannot carry the next exchange in step.
    bool is_stale();

    // Something of the current response can still be read.
    bool has_response_left() const { return is_open() && !input_.exhausted(); }

    void send(std::string_view bytes);
    InputBuffer& input() { return input_; }

    std::size_t read_some(char* buffer, std::size_t size, WaitLimit timeout) override;

private:
    platform::net::Address resolve(const std::string& host, int port,
                                   const platform::net::Deadline& deadline) const;

    const platform::net::AbortSignal& abort_;
    platform::net::Stream stream_;
    std::string host_;
    int port_ = 0;
    InputBuffer input_{*this};
};

} // namespace qirelo::http
