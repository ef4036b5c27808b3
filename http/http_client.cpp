#include "http/http_client.h"

#include "http/errors.h"
#include "text/ascii.h"

#include <chrono>

namespace qirelo::http {

namespace {

using std::chrono::milliseconds;

// A redirect's body is only thrown away: a slow one must not hold the GET up long.
constexpr milliseconds kRedirectBodyTimeout{4000};
// An error page's body is only a detail of the error.
constexpr milliseconds kErrorBodyTimeout{2000};

std::int64_t unix_now() {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

bool is_success(int code) {
    return code >= 200 && code <= 299;
}

} // namespace

THttpClient::THttpClient() = default;
THttpClient::~THttpClient() = default;

std::unique_ptr<THttpClient> THttpClient::WithSameSettings() const {
    auto fresh = std::make_unique<THttpClient>();
    fresh->HandleRedirects = HandleRedirects;
    fresh->RedirectMaximum = RedirectMaximum;
    fresh->ReadTimeout = ReadTimeout;
    fresh->ProtocolVersion = ProtocolVersion;
    fresh->AllowCookies = AllowCookies;
    fresh->MaxLineLength = MaxLineLength;
    fresh->MaxResponseSize = MaxResponseSize;
    fresh->Request = Request;
    return fresh;
}

WaitLimit THttpClient::read_timeout() const {
    if (ReadTimeout <= 0) {
        return std::nullopt;
    }
    return milliseconds(ReadTimeout);
}

std::string THttpClient::Get(const std::string& url) {
    if (abort_.aborted()) {
        throw EHttpAborted();
    }
    std::string body;
    // A failed GET leaves neither a half-read connection nor a redirect count
    // behind, should the object be used again.
    redirect_count_ = 0;
    try {
        run_exchange(url, body);
    } catch (...) {
        connection_.close();
        redirect_count_ = 0;
        throw;
    }
    return body;
}

void THttpClient::run_exchange(std::string url, std::string& body) {
    for (;;) {
        ++redirect_count_;
        current_ = resolve_url(current_, url);
        if (current_.scheme == "https") {
            throw EHttpNoSecureTransport();
        }
        prepare_connection();
        send_request();
        connection_.input().set_timeout(read_timeout());
        response_ = read_response_head(connection_.input(), MaxLineLength);
        if (!connection_.has_response_left()) {
            connection_.close(); // the server closed while the headers were read
        }
        take_cookies();

        if (is_redirect()) {
            if (!HandleRedirects) {
                raise_protocol_error();
            }
            discard_body();
            body.clear();
            if (redirect_count_ >= RedirectMaximum) {
                break; // the limit: the GET ends with an empty body
            }
            end_response();
            url = response_.location;
            continue;
        }
        if (!is_success(response_.code)) {
            raise_protocol_error();
        }
        // Closed with nothing of the response left: no body can follow.
        if (!connection_.has_response_left() && carries_body(response_.code)) {
            throw EHttpError("Undefined situation");
        }
        read_body(body, read_timeout());
        // A body shorter than announced is not the resource: a relay record
        // cut inside its command would read as another command.
        if (response_.content_length > 0 &&
            body.size() < static_cast<std::uint64_t>(response_.content_length)) {
            throw EHttpConnectionClosed();
        }
        break;
    }
    redirect_count_ = 0;
    end_response();
}

void THttpClient::prepare_connection() {
    if (connection_.is_open() && !connection_.is_to(current_.host, current_.port)) {
        connection_.close();
    }
    if (connection_.is_open() && connection_.is_stale()) {
        connection_.close();
    }
    if (!connection_.is_open()) {
        connection_.open(current_.host, current_.port, read_timeout());
    }
}

void THttpClient::send_request() {
    std::string cookie_header;
    if (cookies_) {
        cookies_->remove_expired(unix_now());
        cookie_header = cookies_->cookie_header(current_.host, current_.directory);
    }
    connection_.send(write_get_request(Request, current_, ProtocolVersion, cookie_header));
}

void THttpClient::take_cookies() {
    if (!AllowCookies) {
        return;
    }
    if (!cookies_) {
        cookies_ = std::make_unique<THttpCookieStore>();
    }
    cookies_->take_from(response_.headers, current_.host, current_.directory, unix_now());
}

bool THttpClient::is_redirect() const {
    const int code = response_.code;
    return (code >= 300 && code <= 399 && code != 304) || !response_.location.empty();
}

// The client's own protocol version decides, not the server's status line.
bool THttpClient::keeps_alive() const {
    if (!connection_.has_response_left() && !connection_.is_open()) {
        return false;
    }
    const auto either_says = [&](std::string_view word) {
        return text::iequals(text::trim(response_.connection, text::kWhitespace), word) ||
               text::iequals(text::trim(response_.proxy_connection, text::kWhitespace), word);
    };
    if (ProtocolVersion == THttpProtocolVersion::pv1_1) {
        return !either_says("close");
    }
    return either_says("keep-alive");
}

void THttpClient::end_response() {
    if (connection_.input().exhausted() || !keeps_alive()) {
        connection_.close();
    }
}

void THttpClient::read_body(std::string& sink, WaitLimit timeout) {
    if (!connection_.has_response_left()) {
        return;
    }
    connection_.input().set_timeout(timeout);
    const std::uint64_t limit = MaxResponseSize == 0 ? kNoBodyLimit : MaxResponseSize;
    read_response_body(connection_.input(), response_, sink, MaxLineLength, limit);
}

void THttpClient::discard_body() {
    std::string scratch;
    try {
        read_body(scratch, kRedirectBodyTimeout);
    } catch (const EHttpAborted&) {
        throw;
    } catch (const EHttpError&) {
        // The redirect goes ahead; only the connection is out of step now.
        connection_.close();
    }
}

void THttpClient::raise_protocol_error() {
    std::string detail;
    read_body(detail, kErrorBodyTimeout);
    throw EHttpProtocolError(response_.code, response_.status_line, detail);
}

} // namespace qirelo::http
