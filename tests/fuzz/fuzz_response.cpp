// Feeds arbitrary bytes to the response reader as a kept-alive connection
// would: responses one after another, arriving in pieces of varying size.
// Every failure must be an EHttpError; memory must stay bounded by what
// arrives.

#include "http/cookie_date.h"
#include "http/cookies.h"
#include "http/errors.h"
#include "http/response_reader.h"
#include "http/url.h"
#include "tests/http/support/memory_source.h"

#include <cstddef>
#include <cstdint>
#include <string>

using namespace qirelo::http;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    // The first bytes pick the piece size and a small line limit, so short
    // reads and overlong lines both get explored.
    const std::size_t piece = 1 + data[0] % 64;
    const std::size_t max_line = 16 + data[1] * 4;
    const std::string bytes(reinterpret_cast<const char*>(data) + 2, size - 2);

    testing::MemorySource source;
    for (std::size_t at = 0; at < bytes.size(); at += piece) {
        source.add(bytes.substr(at, piece));
    }
    InputBuffer input(source);
    THttpCookieStore cookies;
    const Target base = resolve_url(Target{}, "http://relay.example.com:12861/monitor/7.jpg");
    try {
        for (int response = 0; response < 8 && !input.exhausted(); ++response) {
            const ResponseHead head = read_response_head(input, max_line);
            std::string body;
            read_response_body(input, head, body, max_line);
            if (body.size() > bytes.size()) {
                __builtin_trap(); // a body can only hold bytes that arrived
            }
            cookies.take_from(head.headers, base.host, base.directory, 1'700'000'000);
            cookies.remove_expired(1'700'000'000);
            (void)cookies.cookie_header(base.host, base.directory);
            (void)parse_cookie_date(head.value("Expires"));
            try {
                (void)resolve_url(base, head.location);
            } catch (const EHttpError&) {
            }
        }
    } catch (const EHttpError&) {
    }
    return 0;
}
