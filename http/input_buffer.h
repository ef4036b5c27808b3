#pragma once

// Buffered reading of a response from any byte source: a connection, or an
// in-memory stream in tests and the fuzz target.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace qirelo::http {

// nullopt waits without limit.
using WaitLimit = std::optional<std::chrono::milliseconds>;

class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Reads at most `size` bytes, waiting at most `timeout` for the first one.
    // Returns 0 at the end of the stream; raises EHttpReadTimeout when nothing
    // arrives in time.
    virtual std::size_t read_some(char* buffer, std::size_t size, WaitLimit timeout) = 0;
};

class InputBuffer {
public:
    static constexpr std::size_t kReceiveSize = 32768;

    explicit InputBuffer(ByteSource& source) : source_(source) {}

    // Bounds every single wait for incoming data.
    void set_timeout(WaitLimit timeout) { timeout_ = timeout; }
    WaitLimit timeout() const { return timeout_; }

    // The next line without its LF and one CR before it; nullopt when the
    // stream ends first (a partial line is dropped). EHttpLineTooLong when the
    // line exceeds `max_length` bytes, found before buffering more than that.
    std::optional<std::string> read_line(std::size_t max_length);

    // Appends up to `count` bytes to `sink`, fewer only when the stream ends;
    // returns how many were appended. Nothing is reserved ahead of arrival.
    std::uint64_t read_into(std::string& sink, std::uint64_t count);

    void read_to_end(std::string& sink);

    // The stream has ended and every byte of it has been taken.
    bool exhausted() const { return ended_ && buffered() == 0; }
    std::size_t buffered() const { return data_.size() - start_; }

    // Forgets everything: a new connection starts.
    void reset();

private:
    bool fill(); // one read from the source; false at the end of the stream

    ByteSource& source_;
    std::string data_;
    std::size_t start_ = 0;
    std::size_t scanned_ = 0; // bytes after start_ already known to hold no LF
    bool ended_ = false;
    WaitLimit timeout_;
};

} // namespace qirelo::http
