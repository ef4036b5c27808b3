#pragma once

// The internet-transfer boundary: the few WinInet calls the transfer engine
// is built from (session, connection, request, options, headers, send,
// queries, read, close), each a call of its own so the engine reads like the
// steps it takes. platform/win32/internet.cpp is WinInet itself,
// platform/linux/internet.cpp maps the same calls onto libcurl, and
// platform/fake/internet.h records them and answers from a script.
//
// A handle of 0 is a failure. CloseHandle may be called from any thread: a
// call blocked on that handle (send, read) then returns at once with failure.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace qirelo::platform::inet {

using HInternet = std::uintptr_t;
inline constexpr HInternet kNoHandle = 0;

// InternetOpenA's access types.
enum class AccessType { preconfig, direct, proxy };

struct SessionParams {
    std::string agent;
    AccessType access = AccessType::preconfig;
    std::string proxy;  // "server:port", with AccessType::proxy only
    std::string bypass; // empty: no bypass list
    bool offline = false;
};

// HttpOpenRequestA's flags, WinInet's values bit for bit.
namespace flags {
inline constexpr std::uint32_t kReload = 0x80000000;
inline constexpr std::uint32_t kNoCacheWrite = 0x04000000;
inline constexpr std::uint32_t kSecure = 0x00800000;
inline constexpr std::uint32_t kKeepConnection = 0x00400000;
inline constexpr std::uint32_t kNoAutoRedirect = 0x00200000;
inline constexpr std::uint32_t kNoCookies = 0x00080000;
inline constexpr std::uint32_t kNoAuth = 0x00040000;
inline constexpr std::uint32_t kCacheIfNetFail = 0x00010000;
inline constexpr std::uint32_t kIgnoreRedirectToHttp = 0x00008000;
inline constexpr std::uint32_t kIgnoreRedirectToHttps = 0x00004000;
inline constexpr std::uint32_t kIgnoreCertDateInvalid = 0x00002000;
inline constexpr std::uint32_t kIgnoreCertCnInvalid = 0x00001000;
inline constexpr std::uint32_t kResynchronize = 0x00000800;
inline constexpr std::uint32_t kHyperlink = 0x00000400;
inline constexpr std::uint32_t kPragmaNoCache = 0x00000100;
inline constexpr std::uint32_t kNeedFile = 0x00000010;
} // namespace flags

// InternetSetOptionA's options the engine sets on a request.
enum class NumberOption { connect_timeout, receive_timeout, send_timeout };
enum class TextOption { username, password, proxy_username, proxy_password };

// HttpQueryInfoA's queries the engine makes. raw_headers is the CR LF form.
enum class Query {
    status_code,
    raw_headers,
    content_type,
    content_length,
    content_range,
    content_language,
    content_encoding,
    location,
    etag,
    date,
    last_modified,
    expires,
    www_authenticate,
};

// WinInet's status codes that carry something the engine reads.
inline constexpr std::uint32_t kStatusRedirect = 110;

// InternetSetStatusCallback's callback: the status code and the status
// information as text (the new URL for a redirect). Runs on the thread that
// made the call the status belongs to.
using StatusCallback = std::function<void(std::uint32_t code, std::string_view information)>;

class Internet {
public:
    virtual ~Internet() = default;

    virtual HInternet Open(const SessionParams& params) = 0;
    virtual void SetStatusCallback(HInternet session, StatusCallback callback) = 0;
    virtual HInternet Connect(HInternet session, const std::string& host, std::uint16_t port,
                              const std::string& user, const std::string& password) = 0;
    // `object` is the path and query as they go on the request line.
    virtual HInternet OpenRequest(HInternet connection, const std::string& method,
                                  const std::string& object, const std::string& referer,
                                  const std::string& accept_type, std::uint32_t flags) = 0;
    virtual bool SetOption(HInternet request, NumberOption option, std::uint32_t value) = 0;
    virtual bool SetOption(HInternet request, TextOption option, const std::string& value) = 0;
    // CR LF terminated lines; `replace` is HTTP_ADDREQ_FLAG_REPLACE, else _ADD.
    virtual bool AddRequestHeaders(HInternet request, const std::string& headers, bool replace) = 0;
    // Sends the request and reads the answer's head. False when no answer came.
    virtual bool SendRequest(HInternet request, const std::string& headers,
                             const std::string& body) = 0;
    // nullopt when the answer has no such header.
    virtual std::optional<std::string> QueryInfo(HInternet request, Query query) = 0;
    // Reads up to `size` body bytes; `read` 0 with true is the end of the body.
    virtual bool ReadFile(HInternet request, char* buffer, std::size_t size, std::size_t& read) = 0;
    virtual void CloseHandle(HInternet handle) = 0;
};

// The platform's own library (WinInet on Windows, libcurl on Linux).
std::unique_ptr<Internet> os_internet();

} // namespace qirelo::platform::inet
