// qirelo-tool get: GETs over one THttpClient, as the relay loop makes them.

#include "http/errors.h"
#include "http/http_client.h"
#include "tools/command.h"

#include <charconv>

namespace qirelo::tools {
namespace {

constexpr std::string_view kHelp =
    "usage: qirelo-tool get [--no-redirects] [--read-timeout MS] URL...\n"
    "\n"
    "Fetches the URLs in order over one HTTP client object, so a kept-alive\n"
    "connection and the cookies carry over from one to the next, and writes\n"
    "each response body to stdout exactly as received, with nothing between.\n"
    "\n"
    "  --no-redirects     do not follow redirects (a redirect is then an error)\n"
    "  --read-timeout MS  bound every wait for data and each connect (default\n"
    "                     9000; 0 waits without limit)\n"
    "\n"
    "On the first failure one line goes to stderr, \"ClassName: message\" (for\n"
    "example \"EHttpProtocolError: HTTP/1.1 404 Not Found\", with CR and LF in\n"
    "the message written as \\r and \\n), no further URL is fetched and the\n"
    "exit status is 1. Exit status 0 when every GET succeeded, 2 for a usage\n"
    "error.\n";

int usage_error(std::ostream& err, std::string_view what) {
    err << "qirelo-tool get: " << what << " (qirelo-tool get --help)\n";
    return kExitUsage;
}

int run(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
    http::THttpClient client;
    client.HandleRedirects = true;
    client.ReadTimeout = 9000;
    std::vector<std::string> urls;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--no-redirects") {
            client.HandleRedirects = false;
        } else if (arg == "--read-timeout") {
            if (i + 1 == args.size()) {
                return usage_error(err, "--read-timeout needs a number of milliseconds");
            }
            const std::string& text = args[++i];
            int ms = -1;
            const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), ms);
            if (error != std::errc() || end != text.data() + text.size() || ms < 0) {
                return usage_error(err, "--read-timeout needs a number of milliseconds");
            }
            client.ReadTimeout = ms;
        } else if (arg.starts_with("--")) {
            return usage_error(err, "unknown option " + one_line(arg));
        } else {
            urls.push_back(arg);
        }
    }
    if (urls.empty()) {
        return usage_error(err, "no URL given");
    }
    for (const std::string& url : urls) {
        try {
            const std::string body = client.Get(url);
            out.write(body.data(), static_cast<std::streamsize>(body.size()));
        } catch (const http::EHttpError& error) {
            out.flush();
            err << error.class_name() << ": " << one_line(error.what()) << "\n";
            return kExitFailed;
        }
    }
    return kExitOk;
}

const Registration registration({"get", "GET URLs over one HTTP client object", kHelp, run});

} // namespace
} // namespace qirelo::tools
