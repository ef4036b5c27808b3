#pragma once

// A loopback HTTP server for the relay soak that answers each request the way
// its owner decides, faults included: garbage, resets, cut-off bodies, wrong
// lengths, error statuses, stalls. One connection is served at a time, as the
// relay loop's client object makes them. POSIX sockets, so a reset can be
// sent for real (native only).

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>

namespace qirelo::app::relay::soak {

enum class Fault {
    none,         // 200 with Content-Length, kept alive
    stall,        // the same after a pause shorter than the read time-out
    stallMidBody, // half the body, a pause, the rest
    chunked,      // 200, chunked
    noLength,     // 200 without a length, ended by closing
    garbage,      // bytes that are no status line, then a close
    resetAtOnce,  // a reset instead of an answer
    resetMidBody, // the head and half the body, then a reset
    cutOffBody,   // announces the whole body, sends `cut` bytes of it, closes
    shortLength,  // announces `cut` bytes, sends the whole body, closes
    status500,    // 500 with a short body, kept alive
};
inline constexpr int kFaultKinds = 11;
const char* FaultName(Fault fault);

// What one answer is: the body and how it is delivered.
struct Answer {
    std::string body;
    Fault fault = Fault::none;
    std::size_t cut = 0; // cutOffBody, shortLength: bytes the client gets
    int stallMs = 0;     // stall, stallMidBody
    std::uint64_t garbageSeed = 0;
};

class FaultServer {
public:
    // `decide` runs on the server's thread for every request received.
    explicit FaultServer(std::function<Answer()> decide);
    ~FaultServer();
    FaultServer(const FaultServer&) = delete;
    FaultServer& operator=(const FaultServer&) = delete;

    std::uint16_t port() const { return port_; }

private:
    void AcceptLoop();
    void Serve(int connection);
    bool ReadRequestHead(int connection, std::string& pending);
    // False when the connection ends with this answer.
    bool Send(int connection, const Answer& answer);

    std::function<Answer()> decide_;
    int listener_ = -1;
    std::uint16_t port_ = 0;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

} // namespace qirelo::app::relay::soak
