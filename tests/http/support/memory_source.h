#pragma once

// A byte source over scripted pieces of memory: each read returns at most one
// piece, a "stall" piece makes that read time out, and the end of the pieces
// is the peer's close.

#include "http/errors.h"
#include "http/input_buffer.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <string>

namespace qirelo::http::testing {

class MemorySource final : public ByteSource {
public:
    struct Stall {};

    MemorySource() = default;
    explicit MemorySource(std::string bytes) { add(std::move(bytes)); }

    MemorySource& add(std::string bytes) {
        pieces_.push_back({std::move(bytes), false});
        return *this;
    }
    MemorySource& add(Stall) {
        pieces_.push_back({{}, true});
        return *this;
    }

    std::size_t read_some(char* buffer, std::size_t size, WaitLimit) override {
        ++reads_;
        if (pieces_.empty()) {
            return 0;
        }
        Piece& piece = pieces_.front();
        if (piece.stall) {
            pieces_.pop_front();
            throw EHttpReadTimeout();
        }
        const std::size_t count = std::min(size, piece.bytes.size());
        std::memcpy(buffer, piece.bytes.data(), count);
        piece.bytes.erase(0, count);
        if (piece.bytes.empty()) {
            pieces_.pop_front();
        }
        return count;
    }

    int reads() const { return reads_; }

private:
    struct Piece {
        std::string bytes;
        bool stall;
    };
    std::deque<Piece> pieces_;
    int reads_ = 0;
};

} // namespace qirelo::http::testing
