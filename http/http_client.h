#pragma once

// THttpClient: a blocking HTTP/1.1 GET client object. It keeps one connection
// alive between calls while the server allows, follows redirects when told to,
// keeps its own cookies and bounds every wait by ReadTimeout.
//
// One thread uses an object at a time; Abort() alone may be called from any
// other thread, and makes a blocked Get fail at once with EHttpAborted. An
// aborted object is only destroyed afterwards.

#include "http/connection.h"
#include "http/cookies.h"
#include "http/request_writer.h"
#include "http/response_reader.h"
#include "http/url.h"
#include "platform/net/socket.h"

#include <memory>
#include <string>

namespace qirelo::http {

class THttpClient {
public:
    THttpClient();
    ~THttpClient();
    THttpClient(const THttpClient&) = delete;
    THttpClient& operator=(const THttpClient&) = delete;

    // Settings, with their values at creation.
    bool HandleRedirects = false;
    int RedirectMaximum = 15; // the Nth redirecting response in a row ends the GET
    int ReadTimeout = 0;      // ms for every wait for data and for a connect; 0: no limit
    THttpProtocolVersion ProtocolVersion = THttpProtocolVersion::pv1_1;
    bool AllowCookies = true;
    std::size_t MaxLineLength = 16384;
    // The longest response body taken in, in bytes (also of a redirect or an
    // error page); a longer one raises EHttpResponseTooLarge, a Content-Length
    // over it before any of the body is read. 0: no limit.
    std::size_t MaxResponseSize = 16 * 1024 * 1024;
    THttpRequest Request;

    // A fresh object with this one's settings (and no connection or cookies).
    std::unique_ptr<THttpClient> WithSameSettings() const;

    // The body of the response to a GET of `url`, bytes as received; raises
    // an EHttpError on failure.
    std::string Get(const std::string& url);

    // Any thread: ends a blocked or later Get with EHttpAborted.
    void Abort() noexcept { abort_.abort(); }

    // Created by the first response when AllowCookies is set; null before.
    THttpCookieStore* CookieManager() const { return cookies_.get(); }
    const ResponseHead& Response() const { return response_; }

private:
    void run_exchange(std::string url, std::string& body);
    void prepare_connection();
    void send_request();
    void take_cookies();
    bool is_redirect() const;
    bool keeps_alive() const;
    void end_response();
    void read_body(std::string& sink, WaitLimit timeout);
    void discard_body();
    [[noreturn]] void raise_protocol_error();
    WaitLimit read_timeout() const;

    platform::net::AbortSignal abort_;
    HttpConnection connection_{abort_};
    Target current_;
    ResponseHead response_;
    int redirect_count_ = 0;
    std::unique_ptr<THttpCookieStore> cookies_;
};

} // namespace qirelo::http
