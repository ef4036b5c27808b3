#pragma once

// The whole companion: the shared state and its five servers (site, mobile
// site, relay, timer host on the chosen address; the control API always on
// loopback). Port 0 lets the system pick a free port, which tests use so they
// never collide with a running companion.

#include "devsite/http/http_server.h"
#include "devsite/stores/site_state.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace qirelo::devsite {

struct CompanionOptions {
    std::string listen = "127.0.0.1";
    std::uint16_t site_port = 0, relay_port = 0, timer_port = 0, mobile_port = 0, control_port = 0;
    std::optional<std::filesystem::path> data_file;
    // The private key that signs the uploaded program files as they are served.
    std::optional<std::filesystem::path> update_key;
    TimerClock::Source clock; // empty: the system clock
    ServerLimits limits;
};

// The options with every port at 0.
CompanionOptions ephemeral_options();

class Companion {
public:
    // Binds every port and starts serving. platform::net::SocketError when a
    // port cannot be bound; DataFileError when the data file cannot be read;
    // tools::SigningError when the update key cannot sign.
    explicit Companion(CompanionOptions options);
    ~Companion();

    SiteState& state() { return *state_; }
    const Addresses& addresses() const { return state_->addresses; }
    // "http://host:port" of each server, as printed at start.
    std::string url(std::uint16_t port) const;

    void stop();

private:
    std::unique_ptr<SiteState> state_;
    std::vector<std::unique_ptr<HttpServer>> servers_;
};

} // namespace qirelo::devsite
