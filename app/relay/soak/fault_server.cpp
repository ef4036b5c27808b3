#include "app/relay/soak/fault_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <stdexcept>
#include <system_error>

namespace qirelo::app::relay::soak {
namespace {

using namespace std::chrono_literals;

constexpr int kPollSliceMs = 100;
// A request that does not arrive in this long means the soak itself is stuck.
constexpr int kRequestWaitMs = 30000;

[[noreturn]] void Fail(const char* what) {
    throw std::system_error(errno, std::generic_category(), what);
}

bool SendAll(int connection, const std::string& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n =
            ::send(connection, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) {
            return false; // the client went away; it finds out on its side
        }
        sent += static_cast<std::size_t>(n);
    }
    return true;
}

// Closing with a zero linger time sends a reset instead of the orderly end.
void Reset(int connection) {
    const linger abrupt{1, 0};
    ::setsockopt(connection, SOL_SOCKET, SO_LINGER, &abrupt, sizeof abrupt);
}

void Pause(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

std::string Head(const std::string& statusAndHeaders) {
    return "HTTP/1.1 " + statusAndHeaders + "\r\n";
}

std::string WithLength(std::size_t length) {
    return Head("200 OK\r\nContent-Type: text/plain\r\nContent-Length: " + std::to_string(length));
}

// Letters and line ends only: no status code can be read from it.
std::string Garbage(std::uint64_t seed) {
    std::mt19937_64 random(seed);
    std::string bytes;
    const std::size_t length = 1 + random() % 200;
    for (std::size_t i = 0; i < length; ++i) {
        bytes += random() % 8 == 0 ? '\n' : static_cast<char>('a' + random() % 26);
    }
    return bytes;
}

std::string Chunked(const std::string& body) {
    std::string bytes = Head("200 OK\r\nTransfer-Encoding: chunked") + "\r\n";
    const std::size_t half = body.size() / 2;
    for (const std::string& piece : {body.substr(0, half), body.substr(half)}) {
        if (!piece.empty()) {
            char size[32];
            std::snprintf(size, sizeof size, "%zx\r\n", piece.size());
            bytes += size + piece + "\r\n";
        }
    }
    return bytes + "0\r\n\r\n";
}

} // namespace

const char* FaultName(Fault fault) {
    static constexpr const char* kNames[kFaultKinds] = {
        "none",  "stall",          "stall mid-body", "chunked",      "no length", "garbage",
        "reset", "reset mid-body", "cut-off body",   "short length", "status 500"};
    return kNames[static_cast<int>(fault)];
}

FaultServer::FaultServer(std::function<Answer()> decide) : decide_(std::move(decide)) {
    listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    if (listener_ < 0) {
        Fail("socket");
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
        ::listen(listener_, 16) != 0 ||
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        ::close(listener_);
        Fail("listen");
    }
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { AcceptLoop(); });
}

FaultServer::~FaultServer() {
    stopping_ = true;
    thread_.join();
    ::close(listener_);
}

void FaultServer::AcceptLoop() {
    while (!stopping_) {
        pollfd waiting{listener_, POLLIN, 0};
        if (::poll(&waiting, 1, kPollSliceMs) <= 0) {
            continue;
        }
        const int connection = ::accept(listener_, nullptr, nullptr);
        if (connection < 0) {
            continue;
        }
        Serve(connection);
        ::close(connection);
    }
}

void FaultServer::Serve(int connection) {
    const int noDelay = 1;
    ::setsockopt(connection, IPPROTO_TCP, TCP_NODELAY, &noDelay, sizeof noDelay);
    std::string pending;
    while (ReadRequestHead(connection, pending)) {
        if (!Send(connection, decide_())) {
            return;
        }
    }
}

// The next request's head (a GET has no body); false when the client closes
// or the soak stops.
bool FaultServer::ReadRequestHead(int connection, std::string& pending) {
    for (int waited = 0; waited < kRequestWaitMs && !stopping_;) {
        const std::size_t end = pending.find("\r\n\r\n");
        if (end != std::string::npos) {
            pending.erase(0, end + 4);
            return true;
        }
        pollfd waiting{connection, POLLIN, 0};
        const int ready = ::poll(&waiting, 1, kPollSliceMs);
        if (ready == 0) {
            waited += kPollSliceMs;
            continue;
        }
        char buffer[4096];
        const ssize_t got = ::recv(connection, buffer, sizeof buffer, 0);
        if (got <= 0) {
            return false;
        }
        pending.append(buffer, static_cast<std::size_t>(got));
    }
    return false;
}

bool FaultServer::Send(int connection, const Answer& answer) {
    const std::string& body = answer.body;
    const std::size_t half = body.size() / 2;
    switch (answer.fault) {
    case Fault::none:
        return SendAll(connection, WithLength(body.size()) + "\r\n" + body);
    case Fault::stall:
        Pause(answer.stallMs);
        return SendAll(connection, WithLength(body.size()) + "\r\n" + body);
    case Fault::stallMidBody:
        if (!SendAll(connection, WithLength(body.size()) + "\r\n" + body.substr(0, half))) {
            return false;
        }
        Pause(answer.stallMs);
        return SendAll(connection, body.substr(half));
    case Fault::chunked:
        return SendAll(connection, Chunked(body));
    case Fault::noLength:
        SendAll(connection, Head("200 OK\r\nConnection: close") + "\r\n" + body);
        return false;
    case Fault::garbage:
        SendAll(connection, Garbage(answer.garbageSeed));
        return false;
    case Fault::resetAtOnce:
        Reset(connection);
        return false;
    case Fault::resetMidBody:
        SendAll(connection, WithLength(body.size()) + "\r\n" + body.substr(0, half));
        Pause(1); // let the bytes leave before the reset overtakes them
        Reset(connection);
        return false;
    case Fault::cutOffBody:
        SendAll(connection, WithLength(body.size() + 1) + "\r\n" + body.substr(0, answer.cut));
        return false;
    case Fault::shortLength:
        SendAll(connection, Head("200 OK\r\nConnection: close\r\nContent-Length: " +
                                 std::to_string(answer.cut)) +
                                "\r\n" + body);
        return false;
    case Fault::status500:
        return SendAll(connection,
                       Head("500 Internal Server Error\r\nContent-Length: 6") + "\r\nfailed");
    }
    return false;
}

} // namespace qirelo::app::relay::soak
