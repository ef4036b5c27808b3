#pragma once

// The TCP boundary: IPv4 streams and listeners over POSIX sockets natively and
// Winsock 2 on Windows. Every blocking call can be bounded by a time-out and
// ended at once from another thread through an AbortSignal.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace qirelo::platform::net {

// A socket-level failure: the system's error number and its text, such as
// "Host not found.", "Connection refused." or "Connection reset by peer.".
class SocketError : public std::runtime_error {
public:
    SocketError(int code, const std::string& text);
    int code() const noexcept { return code_; }

private:
    int code_;
};

// A connect that did not complete within its time-out.
class ConnectTimeout : public std::runtime_error {
public:
    ConnectTimeout() : std::runtime_error("connect timed out") {}
};

// A name lookup that did not end within its time-out.
class LookupTimeout : public std::runtime_error {
public:
    LookupTimeout() : std::runtime_error("name lookup timed out") {}
};

// A blocking call ended by AbortSignal::abort().
class Aborted : public std::runtime_error {
public:
    Aborted() : std::runtime_error("aborted") {}
};

// nullopt waits without limit.
using Timeout = std::optional<std::chrono::milliseconds>;
inline constexpr Timeout kNoTimeout = std::nullopt;

// The moment a series of waits must be over by, given as a time-out from now;
// none for kNoTimeout.
class Deadline {
public:
    explicit Deadline(Timeout timeout);
    Timeout left() const; // never negative; kNoTimeout when there is no deadline
    bool passed() const;

private:
    std::optional<std::chrono::steady_clock::time_point> at_;
};

// Lets any thread end, at once, every blocking call made with this signal
// (resolve, connect, wait, accept): they raise Aborted. Once aborted it stays aborted.
// It must outlive the streams and listeners that use it.
class AbortSignal {
public:
    AbortSignal();
    ~AbortSignal();
    AbortSignal(const AbortSignal&) = delete;
    AbortSignal& operator=(const AbortSignal&) = delete;

    void abort() noexcept;
    bool aborted() const noexcept;

    struct Impl;
    Impl& impl() const { return *impl_; }

private:
    std::unique_ptr<Impl> impl_;
};

struct Address {
    std::uint32_t ipv4 = 0; // host byte order; 0x7F000001 is 127.0.0.1
    std::uint16_t port = 0;
};

// Resolves a host name or dotted address afresh (nothing is cached).
// Raises SocketError when the name is unknown. A dotted address is read at
// once. With a time-out or an abort signal, a name is looked up on a thread of
// its own while the caller waits for it, the time-out (LookupTimeout) or the
// signal (Aborted), whichever comes first: the system's lookup cannot be
// cancelled, so one given up on finishes later by itself and is forgotten.
Address resolve(const std::string& host, std::uint16_t port, Timeout timeout = kNoTimeout,
                const AbortSignal* abort = nullptr);
std::string to_string(const Address& address); // "127.0.0.1:80"

// A connected TCP stream. Move-only; closes on destruction.
class Stream {
public:
    Stream();
    Stream(Stream&& other) noexcept;
    Stream& operator=(Stream&& other) noexcept;
    ~Stream();

    // Connects to `to`. With a time-out the connect is non-blocking and waited
    // for: ConnectTimeout when it does not complete in time, SocketError when
    // refused or unreachable. Aborted when `abort` fires meanwhile.
    static Stream connect(const Address& to, Timeout timeout, const AbortSignal* abort = nullptr);

    bool is_open() const noexcept;
    void close() noexcept;

    // Waits until bytes or the peer's close can be read. False on time-out;
    // Aborted when the stream's abort signal fires.
    bool wait_readable(Timeout timeout);

    // Reads what is there, at most `size` bytes; 0 means the peer has closed.
    // SocketError on failure (for example a reset).
    std::size_t receive(char* buffer, std::size_t size);

    // Sends every byte in one go as far as the system allows. SocketError on failure.
    void send_all(std::string_view bytes);

    // Ends sending; the peer then reads end of stream.
    void shutdown_send() noexcept;

    struct Handle;

private:
    friend class Listener;
    explicit Stream(std::unique_ptr<Handle> handle);
    std::unique_ptr<Handle> handle_;
};

// A listening TCP socket.
class Listener {
public:
    Listener();
    Listener(Listener&& other) noexcept;
    Listener& operator=(Listener&& other) noexcept;
    ~Listener();

    // Listens on `where`; port 0 picks a free port (see port()). SocketError
    // when the address cannot be bound.
    static Listener listen(const Address& where, int backlog = 64);

    std::uint16_t port() const;

    // Waits for the next connection: nullopt on time-out, Aborted when
    // `abort` fires. The accepted stream waits on the same abort signal.
    std::optional<Stream> accept(Timeout timeout, const AbortSignal* abort = nullptr);

    void close() noexcept;

private:
    std::unique_ptr<Stream::Handle> handle_;
};

} // namespace qirelo::platform::net
