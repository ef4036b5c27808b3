#include "devsite/update/delivered_answer.h"

#include "platform/net/socket.h"

#include <algorithm>
#include <cstdio>
#include <memory>

namespace qirelo::devsite {
namespace {

constexpr std::size_t kBlock = 64 * 1024;

std::string head_bytes(const Response& head, std::uint64_t size, BodyLength length, bool closes) {
    std::string out = "HTTP/1.1 " + std::to_string(head.status) + " ";
    out += reason_phrase(head.status);
    out += "\r\n";
    for (const auto& [name, value] : head.headers)
        out += name + ": " + value + "\r\n";
    if (length == BodyLength::announced)
        out += "Content-Length: " + std::to_string(size) + "\r\n";
    else if (length == BodyLength::chunked)
        out += "Transfer-Encoding: chunked\r\n";
    out += closes ? "Connection: close\r\n\r\n" : "Connection: keep-alive\r\n\r\n";
    return out;
}

void send_chunk(platform::net::Stream& stream, const std::string& data) {
    char size[24];
    std::snprintf(size, sizeof size, "%zx\r\n", data.size());
    stream.send_all(size + data + "\r\n");
}

} // namespace

Response delivered(Response head, std::uint64_t size, BodyBytes bytes, Delivery delivery) {
    head.body.clear();
    auto shared = std::make_shared<const Response>(head);
    head.send_raw = [shared, size, bytes = std::move(bytes),
                     delivery](platform::net::Stream& stream, bool keep_alive, bool head_only) {
        if (delivery.stall.count() > 0)
            stream.wait_readable(delivery.stall); // ends early only when the client goes
        const std::uint64_t end = std::min(size, delivery.cut.value_or(size));
        const bool closes = !keep_alive || delivery.length == BodyLength::none || end < size;
        stream.send_all(head_bytes(*shared, size, delivery.length, closes));
        if (head_only)
            return !closes;
        std::string block;
        for (std::uint64_t from = 0; from < end; from += block.size()) {
            block.clear();
            bytes(from, static_cast<std::size_t>(std::min<std::uint64_t>(kBlock, end - from)),
                  block);
            if (delivery.length == BodyLength::chunked)
                send_chunk(stream, block);
            else
                stream.send_all(block);
        }
        if (delivery.length == BodyLength::chunked && end == size)
            stream.send_all("0\r\n\r\n");
        return !closes;
    };
    return head;
}

Response delivered(Response response, Delivery delivery) {
    auto body = std::make_shared<const std::string>(std::move(response.body));
    const std::uint64_t size = body->size();
    return delivered(
        std::move(response), size,
        [body](std::uint64_t from, std::size_t count, std::string& out) {
            out.append(*body, static_cast<std::size_t>(from), count);
        },
        delivery);
}

} // namespace qirelo::devsite
