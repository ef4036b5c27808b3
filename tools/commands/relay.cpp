// qirelo-tool relay: the relay loop against the configured relay and timer
// hosts, with a stand-in that prints what the window would be made to do.

#include "app/relay/http_client_slot.h"
#include "app/relay/recording_actions.h"
#include "app/relay/recording_http.h"
#include "app/relay/relay_loop.h"
#include "tools/command.h"

#include <charconv>
#include <chrono>
#include <optional>
#include <thread>

namespace qirelo::tools {
namespace {

constexpr std::string_view kHelp =
    "usage: qirelo-tool relay --member ID [--cycles N] [--no-sleep] [--address TEXT]\n"
    "                         [--volume V]\n"
    "\n"
    "Runs the client's relay loop for member ID against the configured relay\n"
    "and timer hosts (QIRELO_RELAY_HOST, on port 12861 unless it names a port;\n"
    "QIRELO_TIMER_HOST; play pages on QIRELO_SITE_HOST), with a stand-in for\n"
    "the window and the keyboard. Nothing is carried out: every operation the\n"
    "loop invokes is printed as one line, in order:\n"
    "\n"
    "  GET <url> ok <bytes>       a request and the size of its response body\n"
    "  GET <url> error <Class>    a failed request and its error class\n"
    "  SendKeys <string>          a key string (\"SendKeys  \" is the space)\n"
    "  ShowTab tb1 | ShowTab tb3  the browser tab or the program tab\n"
    "  Navigate <url>             web1 loads a page\n"
    "  Action1 | Action2 | Action3  a pointer action\n"
    "  TrackBar1 <value>          the volume slider is set\n"
    "  ClickBitBtn1               the shutdown button is clicked\n"
    "  Sleep <ms>                 a pause: G's 1000 ms steps, the 3000 ms cycle\n"
    "\n"
    "  --cycles N       stop after N cycles (each ends with its \"Sleep 3000\"\n"
    "                   line); without it the loop runs until interrupted\n"
    "  --no-sleep       print the pauses without waiting\n"
    "  --address TEXT   the address-bar text a D command reads (default empty)\n"
    "  --volume V       the slider's starting value, 0..255 (default 128)\n"
    "\n"
    "The stand-in remembers only the slider's value and the address text. Exit\n"
    "status 0 after the cycles, 2 for a usage error.\n";

// Pauses for real; nothing stops this loop but the cycle count or an interrupt.
class ThreadSleep final : public app::relay::RelayPacer {
public:
    void Sleep(int milliseconds) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }
    void CheckStop() override {}
};

struct Options {
    std::string member;
    std::optional<long> cycles;
    bool sleep = true;
    std::string address;
    int volume = 128;
};

int usage_error(std::ostream& err, std::string_view what) {
    err << "qirelo-tool relay: " << what << " (qirelo-tool relay --help)\n";
    return kExitUsage;
}

std::optional<long> number(const std::string& text, long lowest, long highest) {
    long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < lowest ||
        value > highest) {
        return std::nullopt;
    }
    return value;
}

// nullopt after writing a usage error.
std::optional<Options> parse(std::span<const std::string> args, std::ostream& err) {
    Options options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const auto value = [&]() -> const std::string* {
            return i + 1 < args.size() ? &args[++i] : nullptr;
        };
        if (arg == "--no-sleep") {
            options.sleep = false;
        } else if (arg == "--member" || arg == "--address") {
            const std::string* text = value();
            if (!text) {
                usage_error(err, arg + " needs a value");
                return std::nullopt;
            }
            (arg == "--member" ? options.member : options.address) = *text;
        } else if (arg == "--cycles" || arg == "--volume") {
            const std::string* text = value();
            const bool cycles = arg == "--cycles";
            const auto parsed = text ? number(*text, 0, cycles ? 1000000000L : 255) : std::nullopt;
            if (!parsed) {
                usage_error(err, cycles ? "--cycles needs a count" : "--volume needs 0..255");
                return std::nullopt;
            }
            if (cycles) {
                options.cycles = *parsed;
            } else {
                options.volume = static_cast<int>(*parsed);
            }
        } else {
            usage_error(err, "unknown argument " + one_line(arg));
            return std::nullopt;
        }
    }
    if (options.member.empty()) {
        usage_error(err, "--member ID is required");
        return std::nullopt;
    }
    return options;
}

std::unique_ptr<http::THttpClient> relay_client() {
    auto client = std::make_unique<http::THttpClient>();
    client->HandleRedirects = true;
    client->ReadTimeout = 9000;
    return client;
}

int run(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
    const std::optional<Options> options = parse(args, err);
    if (!options) {
        return kExitUsage;
    }
    const app::relay::LineSink print = [&out](const std::string& line) {
        out << line << '\n' << std::flush;
    };
    std::unique_ptr<http::THttpClient> monitorClient = relay_client();
    std::unique_ptr<http::THttpClient> timerClient = relay_client();
    app::relay::HttpClientSlot monitorSlot(monitorClient, nullptr);
    app::relay::HttpClientSlot timerSlot(timerClient, nullptr);
    app::relay::RecordingHttp monitorHttp(print, monitorSlot);
    app::relay::RecordingHttp timerHttp(print, timerSlot);
    app::relay::RecordingActions window(print, options->volume, options->address);
    ThreadSleep sleep;
    app::relay::RecordingPacer pacer(print, options->sleep ? &sleep : nullptr);
    std::atomic<std::int64_t> lastCommandStamp{0};
    app::relay::RelayLoop loop(
        app::relay::RelayLoopParts{[&] { return options->member; }, lastCommandStamp, monitorHttp,
                                   timerHttp, window, pacer, app::relay::ConfiguredEndpoints()});
    for (long cycle = 0; !options->cycles || cycle < *options->cycles; ++cycle) {
        loop.RunCycle();
    }
    return kExitOk;
}

const Registration registration({"relay", "run the relay loop, printing each operation", kHelp,
                                 run});

} // namespace
} // namespace qirelo::tools
