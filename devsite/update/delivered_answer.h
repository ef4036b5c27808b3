#pragma once

// Answers whose bytes the update server plays itself on the connection: a
// stall before the status line, a body announced whole but cut off, chunks,
// or no length at all (the close ends the body). The body is produced block
// by block, so a file of any size goes out without being held in memory.

#include "devsite/http/http_response.h"
#include "devsite/update/update_store.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace qirelo::devsite {

struct Delivery {
    BodyLength length = BodyLength::announced;
    std::optional<std::uint64_t> cut; // body bytes sent before the connection closes
    std::chrono::milliseconds stall{0};
};

// Appends `count` body bytes from offset `from` to `out`.
using BodyBytes = std::function<void(std::uint64_t from, std::size_t count, std::string& out)>;

// `head`'s status and headers, then `size` body bytes from `bytes`, as
// `delivery` says. The Response's own body stays empty.
Response delivered(Response head, std::uint64_t size, BodyBytes bytes, Delivery delivery);

// The same for a body already at hand.
Response delivered(Response response, Delivery delivery);

} // namespace qirelo::devsite
