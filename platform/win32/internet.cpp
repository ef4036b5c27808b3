// The internet boundary on Windows: WinInet itself, one call for each.

#include "platform/inet/internet.h"

#include <windows.h>
#include <wininet.h>

#include <list>
#include <map>
#include <mutex>
#include <vector>

namespace qirelo::platform::inet {
namespace {

HINTERNET raw(HInternet handle) {
    return reinterpret_cast<HINTERNET>(handle);
}

HInternet ours(HINTERNET handle) {
    return reinterpret_cast<HInternet>(handle);
}

const char* or_null(const std::string& text) {
    return text.empty() ? nullptr : text.c_str();
}

DWORD access_of(AccessType access) {
    switch (access) {
    case AccessType::direct:
        return INTERNET_OPEN_TYPE_DIRECT;
    case AccessType::proxy:
        return INTERNET_OPEN_TYPE_PROXY;
    case AccessType::preconfig:
        break;
    }
    return INTERNET_OPEN_TYPE_PRECONFIG;
}

DWORD query_of(Query query) {
    switch (query) {
    case Query::status_code:
        return HTTP_QUERY_STATUS_CODE;
    case Query::raw_headers:
        return HTTP_QUERY_RAW_HEADERS_CRLF;
    case Query::content_type:
        return HTTP_QUERY_CONTENT_TYPE;
    case Query::content_length:
        return HTTP_QUERY_CONTENT_LENGTH;
    case Query::content_range:
        return HTTP_QUERY_CONTENT_RANGE;
    case Query::content_language:
        return HTTP_QUERY_CONTENT_LANGUAGE;
    case Query::content_encoding:
        return HTTP_QUERY_CONTENT_ENCODING;
    case Query::location:
        return HTTP_QUERY_LOCATION;
    case Query::etag:
        return HTTP_QUERY_ETAG;
    case Query::date:
        return HTTP_QUERY_DATE;
    case Query::last_modified:
        return HTTP_QUERY_LAST_MODIFIED;
    case Query::expires:
        return HTTP_QUERY_EXPIRES;
    case Query::www_authenticate:
        break;
    }
    return HTTP_QUERY_WWW_AUTHENTICATE;
}

// What a session's status callback reaches: the callback given for it. The
// library passes it back as the handles' context.
struct SessionContext {
    StatusCallback callback;
};

void CALLBACK on_status(HINTERNET, DWORD_PTR context, DWORD status, LPVOID information,
                        DWORD length) {
    auto* session = reinterpret_cast<SessionContext*>(context);
    if (!session || !session->callback) {
        return;
    }
    std::string text;
    if (status == INTERNET_STATUS_REDIRECT && information && length > 0) {
        text.assign(static_cast<const char*>(information), length);
        while (!text.empty() && text.back() == '\0') {
            text.pop_back();
        }
    }
    session->callback(status, text);
}

class WinInet final : public Internet {
public:
    HInternet Open(const SessionParams& params) override {
        HINTERNET session =
            InternetOpenA(params.agent.c_str(), access_of(params.access),
                          params.access == AccessType::proxy ? or_null(params.proxy) : nullptr,
                          params.access == AccessType::proxy ? or_null(params.bypass) : nullptr,
                          params.offline ? INTERNET_FLAG_OFFLINE : 0);
        if (session) {
            std::lock_guard lock(mutex_);
            contexts_[ours(session)] = &sessions_.emplace_back();
        }
        return ours(session);
    }

    void SetStatusCallback(HInternet session, StatusCallback callback) override {
        {
            std::lock_guard lock(mutex_);
            const auto found = contexts_.find(session);
            if (found == contexts_.end()) {
                return;
            }
            found->second->callback = std::move(callback);
        }
        InternetSetStatusCallback(raw(session), &on_status);
    }

    HInternet Connect(HInternet session, const std::string& host, std::uint16_t port,
                      const std::string& user, const std::string& password) override {
        SessionContext* context = context_of(session);
        HINTERNET connection =
            InternetConnectA(raw(session), host.c_str(), port, or_null(user), or_null(password),
                             INTERNET_SERVICE_HTTP, 0, reinterpret_cast<DWORD_PTR>(context));
        remember(connection, context);
        return ours(connection);
    }

    HInternet OpenRequest(HInternet connection, const std::string& method,
                          const std::string& object, const std::string& referer,
                          const std::string& accept_type, std::uint32_t flags) override {
        const char* accept[] = {accept_type.c_str(), nullptr};
        SessionContext* context = context_of(connection);
        // The request carries the session's context too, so its redirects
        // reach the status callback.
        HINTERNET request =
            HttpOpenRequestA(raw(connection), method.c_str(), object.c_str(), nullptr,
                             or_null(referer), accept, flags, reinterpret_cast<DWORD_PTR>(context));
        remember(request, context);
        return ours(request);
    }

    bool SetOption(HInternet request, NumberOption option, std::uint32_t value) override {
        DWORD number = value;
        const DWORD id = option == NumberOption::connect_timeout   ? INTERNET_OPTION_CONNECT_TIMEOUT
                         : option == NumberOption::receive_timeout ? INTERNET_OPTION_RECEIVE_TIMEOUT
                                                                   : INTERNET_OPTION_SEND_TIMEOUT;
        return InternetSetOptionA(raw(request), id, &number, sizeof number) != FALSE;
    }

    bool SetOption(HInternet request, TextOption option, const std::string& value) override {
        const DWORD id = option == TextOption::username         ? INTERNET_OPTION_USERNAME
                         : option == TextOption::password       ? INTERNET_OPTION_PASSWORD
                         : option == TextOption::proxy_username ? INTERNET_OPTION_PROXY_USERNAME
                                                                : INTERNET_OPTION_PROXY_PASSWORD;
        return InternetSetOptionA(raw(request), id, const_cast<char*>(value.c_str()),
                                  static_cast<DWORD>(value.size())) != FALSE;
    }

    bool AddRequestHeaders(HInternet request, const std::string& headers, bool replace) override {
        return HttpAddRequestHeadersA(
                   raw(request), headers.c_str(), static_cast<DWORD>(headers.size()),
                   replace ? HTTP_ADDREQ_FLAG_REPLACE : HTTP_ADDREQ_FLAG_ADD) != FALSE;
    }

    bool SendRequest(HInternet request, const std::string& headers,
                     const std::string& body) override {
        return HttpSendRequestA(raw(request), or_null(headers), static_cast<DWORD>(headers.size()),
                                body.empty() ? nullptr : const_cast<char*>(body.data()),
                                static_cast<DWORD>(body.size())) != FALSE;
    }

    std::optional<std::string> QueryInfo(HInternet request, Query query) override {
        std::vector<char> buffer(4096);
        for (;;) {
            DWORD length = static_cast<DWORD>(buffer.size());
            if (HttpQueryInfoA(raw(request), query_of(query), buffer.data(), &length, nullptr)) {
                return std::string(buffer.data(), length);
            }
            if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || length <= buffer.size()) {
                return std::nullopt;
            }
            buffer.resize(length + 1);
        }
    }

    bool ReadFile(HInternet request, char* buffer, std::size_t size, std::size_t& read) override {
        DWORD count = 0;
        const BOOL ok = InternetReadFile(raw(request), buffer, static_cast<DWORD>(size), &count);
        read = ok ? count : 0;
        return ok != FALSE;
    }

    void CloseHandle(HInternet handle) override {
        InternetCloseHandle(raw(handle));
        std::lock_guard lock(mutex_);
        contexts_.erase(handle);
    }

private:
    SessionContext* context_of(HInternet handle) {
        std::lock_guard lock(mutex_);
        const auto found = contexts_.find(handle);
        return found == contexts_.end() ? nullptr : found->second;
    }

    void remember(HINTERNET handle, SessionContext* context) {
        if (handle && context) {
            std::lock_guard lock(mutex_);
            contexts_[ours(handle)] = context;
        }
    }

    std::mutex mutex_;
    // Kept for the object's life: the library may still report on a closing
    // handle after its session has gone.
    std::list<SessionContext> sessions_;
    std::map<HInternet, SessionContext*> contexts_;
};

} // namespace

std::unique_ptr<Internet> os_internet() {
    return std::make_unique<WinInet>();
}

} // namespace qirelo::platform::inet
