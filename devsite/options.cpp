#include "devsite/options.h"

#include "config/hosts.h"

#include <charconv>

namespace qirelo::devsite {
namespace {

std::optional<std::uint16_t> parse_port(const std::string& text) {
    unsigned value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty() || value > 65535)
        return std::nullopt;
    return static_cast<std::uint16_t>(value);
}

} // namespace

std::uint16_t port_of(const std::string& host, std::uint16_t fallback) {
    auto colon = host.rfind(':');
    if (colon == std::string::npos)
        return fallback;
    return parse_port(host.substr(colon + 1)).value_or(fallback);
}

std::string usage_text() {
    return R"(Usage: qirelo-devsite [options]

The Qirelo companion server: the site, the mobile pages, the relay server, the
timer host and the update server, on loopback unless told otherwise.

  --listen ADDR        address of the site, mobile, relay and timer servers
                       (default 127.0.0.1; 0.0.0.0 lets a phone on the LAN in)
  --site-port N        the site and update server (default: QIRELO_SITE_HOST's, 12860)
  --relay-port N       the relay server (default 12861, fixed by the client)
  --timer-port N       the timer host (default: QIRELO_TIMER_HOST's, 12862)
  --mobile-port N      the mobile pages (default: QIRELO_MOBILE_HOST's, 12863)
  --control-port N     the control API, always on 127.0.0.1 (default 12864)
  --ephemeral          let the system choose every port (for tests)
  --data FILE          keep members and records in FILE (written atomically)
  --update-key FILE    sign every uploaded update file with this P-256 private
                       key (PEM): /setup/NAME.sig then serves NAME's signature
                       unless a NAME.sig was uploaded (qirelo-tool keygen makes
                       keys; tests/keys/update_test_private.pem is the test key)
  --ports-file FILE    once serving, write "site=N" lines for every server to FILE
  --help               this text

Demo member: demo / qirelo (id 10001). Ctrl+C stops the server.

Control API (http://127.0.0.1:<control port>/):
  GET    /                   the list of these calls
  PUT    /records/<id>       body "stamp|command": the member's record as it is
  POST   /commands/<id>      body "command": stored as "<timer number>|command"
  GET    /records/<id>       the member's record (404 when none)
  GET    /events             what the play pages' test player received, JSON
  GET    /requests[?server=] requests received by site, mobile, relay, timer, JSON
  PUT    /info               body: the info file served from now on
  DELETE /info               back to the default info file
  GET    /members            id and name of every member, JSON
  POST   /members            form username, password: a new member
  POST   /reset              back to a fresh companion
)";
}

CommandLine parse_command_line(const std::vector<std::string>& arguments) {
    CommandLine line;
    auto& options = line.companion;
    options.site_port = port_of(config::site_host(), 12860);
    options.relay_port = static_cast<std::uint16_t>(config::kRelayPort);
    options.timer_port = port_of(config::timer_host(), 12862);
    options.mobile_port = port_of(config::mobile_host(), 12863);
    options.control_port = kDefaultControlPort;

    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const auto& option = arguments[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= arguments.size())
                throw UsageError(option + " needs a value");
            return arguments[++i];
        };
        auto port = [&]() {
            const auto& text = value();
            auto parsed = parse_port(text);
            if (!parsed)
                throw UsageError(option + ": not a port: " + text);
            return *parsed;
        };
        if (option == "--help" || option == "-h")
            line.help = true;
        else if (option == "--listen")
            options.listen = value();
        else if (option == "--site-port")
            options.site_port = port();
        else if (option == "--relay-port")
            options.relay_port = port();
        else if (option == "--timer-port")
            options.timer_port = port();
        else if (option == "--mobile-port")
            options.mobile_port = port();
        else if (option == "--control-port")
            options.control_port = port();
        else if (option == "--ephemeral")
            options.site_port = options.relay_port = options.timer_port = options.mobile_port =
                options.control_port = 0;
        else if (option == "--data")
            options.data_file = value();
        else if (option == "--update-key")
            options.update_key = value();
        else if (option == "--ports-file")
            line.ports_file = value();
        else
            throw UsageError("unknown option " + option);
    }
    return line;
}

} // namespace qirelo::devsite
