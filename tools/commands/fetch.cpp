// qirelo-tool fetch: one transfer of the updater's engine over the platform's
// own internet library, with a line for every notification.

#include "platform/inet/internet.h"
#include "platform/inet/local_system.h"
#include "tools/command.h"
#include "tools/commands/sha256.h"
#include "tools/url_arguments.h"
#include "upgrade/console_main_thread.h"
#include "upgrade/transfer.h"

#include <charconv>

namespace qirelo::tools {
namespace {

constexpr std::string_view kHelp =
    "usage: qirelo-tool fetch [--output FILE] [--user U] [--password P] [--buffer N] URL\n"
    "\n"
    "Runs one transfer of the updater's engine (WinInet on Windows, libcurl on\n"
    "Linux) and prints one line per notification, in the order they fire:\n"
    "\n"
    "  OnHeaderInfo status=<n> length=<n> type=<text> location=<text> last-modified=<date>\n"
    "      the date in local time as \"YYYY-MM-DD HH:MM:SS\", or 0 without one;\n"
    "      length is the Content-Length (0 without one)\n"
    "  OnTransferProgress done=<n> total=<n> percent=<n>     after each block\n"
    "  OnTransferPasswordRequest realm=<text>\n"
    "      answered the first time with --user/--password and a retry,\n"
    "      declined after that\n"
    "  OnDone type=<text> bytes=<n> [data-sha256=<hex>]     the digest for memory only\n"
    "  OnIncomplete length=<n> read=<n>                     the body was cut short\n"
    "  OnNoResponse                                         no HTTP answer at all\n"
    "  OnHTTPError status=<n>                               any status but 200 and 206\n"
    "  OnTransferEnd                                        after a failure\n"
    "  OnTransferDeclined\n"
    "\n"
    "  --output FILE  the body goes to FILE (archive, hidden and temporary while\n"
    "                 it is written, archive when complete), else into memory\n"
    "  --user U, --password P  credentials for a server that asks\n"
    "  --buffer N     bytes per read (default 4096)\n"
    "\n"
    "A URL without a scheme is taken as http. Exit status 0 whatever the\n"
    "transfer's outcome; 1 for a usage error or a transfer that cannot start.\n";

constexpr int kExitFetchUsage = 1;

int usage_error(std::ostream& err, std::string_view what) {
    err << "qirelo-tool fetch: " << what << " (qirelo-tool fetch --help)\n";
    return kExitFetchUsage;
}

struct Options {
    std::string url;
    std::string output;
    std::string user;
    std::string password;
    int buffer = 4096;
};

// nullopt after writing the usage error.
std::optional<Options> parse(std::span<const std::string> args, std::ostream& err) {
    Options options;
    const auto take = [&](std::string_view name, const std::string& value) -> std::string {
        if (name == "--output") {
            options.output = value;
        } else if (name == "--user") {
            options.user = value;
        } else if (name == "--password") {
            options.password = value;
        } else {
            const auto [end, error] =
                std::from_chars(value.data(), value.data() + value.size(), options.buffer);
            if (error != std::errc() || end != value.data() + value.size() || options.buffer < 1) {
                return "--buffer needs a number of bytes from 1 up";
            }
        }
        return {};
    };
    const auto url =
        read_url_arguments(args, {"--output", "--user", "--password", "--buffer"}, take,
                           [&](std::string_view what) { usage_error(err, what); });
    if (!url) {
        return std::nullopt;
    }
    options.url = *url;
    return options;
}

std::string date_text(upgrade::TDateTime value) {
    return value == 0 ? "0" : upgrade::DateTimeText(value);
}

void print_notifications(upgrade::TupTransfer& transfer, const Options& options,
                         std::ostream& out) {
    using namespace upgrade;
    transfer.OnHeaderInfo = [&out](TupTransfer&, int status, const std::string&,
                                   const std::string& type, const std::string&, const std::string&,
                                   std::int64_t length, const std::string& location, TDateTime,
                                   TDateTime lastModified, TDateTime, const std::string&, bool&) {
        out << "OnHeaderInfo status=" << status << " length=" << length
            << " type=" << one_line(type) << " location=" << one_line(location)
            << " last-modified=" << date_text(lastModified) << "\n";
    };
    transfer.OnTransferProgress = [&out](TupTransfer&, const std::string&, std::int64_t total,
                                         std::int64_t done, int, int, std::uint8_t percent, float,
                                         TupStream*) {
        out << "OnTransferProgress done=" << done << " total=" << total
            << " percent=" << static_cast<int>(percent) << "\n";
    };
    transfer.OnTransferPasswordRequest = [&out, &options, asked = false](TupTransfer& sender,
                                                                         const std::string& realm,
                                                                         bool& tryAgain) mutable {
        out << "OnTransferPasswordRequest realm=" << one_line(realm) << "\n";
        if (!asked) {
            asked = true;
            sender.HTTPUsername = options.user;
            sender.HTTPPassword = options.password;
            tryAgain = true;
        }
    };
    transfer.OnDone = [&out](TupTransfer&, const std::string& type, std::int64_t total,
                             TupStream* data) {
        out << "OnDone type=" << one_line(type) << " bytes=" << total;
        if (auto* memory = dynamic_cast<TupMemoryStream*>(data)) {
            out << " data-sha256=" << sha256_hex(memory->Bytes());
        }
        out << "\n";
    };
    transfer.OnIncomplete = [&out](TupTransfer&, const std::string&, std::int64_t length,
                                   std::int64_t read, TupStream*) {
        out << "OnIncomplete length=" << length << " read=" << read << "\n";
    };
    transfer.OnNoResponse = [&out](TupTransfer&) { out << "OnNoResponse\n"; };
    transfer.OnHTTPError = [&out](TupTransfer&, int status, TupStream*) {
        out << "OnHTTPError status=" << status << "\n";
    };
    transfer.OnTransferEnd = [&out](TupTransfer&) { out << "OnTransferEnd\n"; };
    transfer.OnTransferDeclined = [&out](TupTransfer&) { out << "OnTransferDeclined\n"; };
}

int run(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
    const std::optional<Options> options = parse(args, err);
    if (!options) {
        return kExitFetchUsage;
    }
    upgrade::ConsoleMainThread mainThread;
    const auto internet = platform::inet::os_internet();
    const auto local = platform::inet::os_local_system();
    upgrade::TupTransfer transfer(mainThread, *internet, *local);
    transfer.URL = options->url;
    transfer.OutputFileName = options->output;
    transfer.TransferBufferSize = options->buffer;
    transfer.OutputFileAttributes().Incomplete = {upgrade::TFileAttribute::atrArchive,
                                                  upgrade::TFileAttribute::atrHidden,
                                                  upgrade::TFileAttribute::atrTemporary};
    print_notifications(transfer, *options, out);
    if (!transfer.Start(0, 0, true)) {
        err << "qirelo-tool fetch: the transfer did not start\n";
        return kExitFailed;
    }
    return kExitOk;
}

const Registration registration({"fetch", "fetch one URL with the updater's transfer engine", kHelp,
                                 run});

} // namespace
} // namespace qirelo::tools
