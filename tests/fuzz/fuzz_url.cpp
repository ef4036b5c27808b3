// Feeds arbitrary URLs to the URL rules, as a redirect chain would: each one
// resolved against the target before it. Every refusal must be an EHttpError.
// A resolved target is safe on the wire, and its parts joined again into an
// absolute URL resolve to the same request, whatever the base.

#include "http/errors.h"
#include "http/url.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using namespace qirelo::http;

namespace {

void Require(bool holds) {
    if (!holds) {
        __builtin_trap();
    }
}

std::string Joined(const Target& target) {
    return target.scheme + "://" + target.host + ":" + std::to_string(target.port) +
           target.request_target();
}

bool SafeOnTheWire(std::string_view text) {
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte >= 0x7F) {
            return false;
        }
    }
    return true;
}

void CheckTarget(const Target& target) {
    // Another scheme passes when a port came with it, or from the current target.
    Require(!target.scheme.empty() &&
            target.scheme.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789+-.") ==
                std::string::npos);
    Require(!target.host.empty() && SafeOnTheWire(target.host));
    Require(SafeOnTheWire(target.request_target()));
    Require(target.directory.starts_with('/') && target.directory.ends_with('/'));
    Require(target.document.find('/') == std::string::npos);
    Require(target.query.empty() || target.query[0] == '?' || target.query[0] == '=');
    Require(target.port >= 1 && target.port <= 65535);
    const Target other_base = resolve_url(Target{}, "https://elsewhere.example:8443/x/y?z");
    for (const Target& base : {Target{}, other_base, target}) {
        const Target again = resolve_url(base, Joined(target));
        // The same request on the wire. How it splits into directory, document
        // and query may differ: a directory kept from a target whose query began
        // with "?" may hold a "=", which starts the query of a URL without "?".
        Require(again.scheme == target.scheme && again.host == target.host &&
                again.port == target.port && again.request_target() == target.request_target());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Target current = resolve_url(Target{}, "http://relay.example.com:12861/monitor/7.jpg");
    // Up to four URLs, separated by line feeds, each resolved against the last.
    std::size_t start = 0;
    for (int hop = 0; hop < 4 && start <= bytes.size(); ++hop) {
        const std::size_t end = std::min(bytes.find('\n', start), bytes.size());
        try {
            current = resolve_url(current, bytes.substr(start, end - start));
        } catch (const EHttpError&) {
            start = end + 1;
            continue;
        }
        try {
            CheckTarget(current);
        } catch (const EHttpError&) {
            __builtin_trap(); // a target once resolved resolves again
        }
        start = end + 1;
    }
    return 0;
}
