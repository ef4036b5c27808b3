// Feeds arbitrary bytes to the companion's request reader, once in pieces of
// varying size as a connection delivers them and once whole. Both must give
// the same requests and end the same way: how bytes arrive changes nothing.
// Every refusal is an HttpRequestError with one of the reader's statuses; a
// request's body is exactly its Content-Length.

#include "devsite/http/http_request.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

using namespace qirelo::devsite;

namespace {

void Require(bool holds) {
    if (!holds) {
        __builtin_trap();
    }
}

struct Outcome {
    std::vector<Request> requests;
    int refusal = 0; // the status of the refusal, 0 when none
};

bool Same(const Request& a, const Request& b) {
    return a.method == b.method && a.target == b.target && a.path == b.path && a.query == b.query &&
           a.minor_version == b.minor_version && a.headers == b.headers && a.body == b.body;
}

void Check(const Request& request) {
    Require(!request.method.empty());
    Require(!request.target.empty() && request.target[0] == '/');
    Require(request.path.find('\0') == std::string::npos);
    const auto length = request.header("Content-Length");
    Require(request.body.size() == (length ? std::stoull(*length) : 0));
}

Outcome Read(std::string_view bytes, std::size_t piece, RequestLimits limits) {
    Outcome outcome;
    RequestReader reader(limits);
    try {
        for (std::size_t at = 0; at < bytes.size(); at += piece) {
            reader.append(bytes.substr(at, piece));
            while (auto request = reader.next()) {
                Check(*request);
                outcome.requests.push_back(std::move(*request));
            }
            (void)reader.take_continue_request();
        }
    } catch (const HttpRequestError& error) {
        const int status = error.status();
        Require(status == 400 || status == 413 || status == 431 || status == 501 || status == 505);
        outcome.refusal = status;
    }
    return outcome;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    const std::size_t piece = 1 + data[0] % 32;
    // Small limits, so both get reached.
    const RequestLimits limits{static_cast<std::size_t>(32 + data[1]), 200};
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 2, size - 2);

    const Outcome pieces = Read(bytes, piece, limits);
    const Outcome whole = Read(bytes, bytes.size() + 1, limits);
    Require(pieces.refusal == whole.refusal);
    Require(pieces.requests.size() == whole.requests.size());
    for (std::size_t i = 0; i < pieces.requests.size(); ++i) {
        Require(Same(pieces.requests[i], whole.requests[i]));
    }
    return 0;
}
