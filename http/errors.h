#pragma once

// The errors a GET can end with. Every one is an EHttpError; class_name() gives
// the class's own name for messages such as qirelo-tool's "ClassName: message".

#include <cstdint>
#include <stdexcept>
#include <string>

namespace qirelo::http {

class EHttpError : public std::runtime_error {
public:
    explicit EHttpError(const std::string& message) : std::runtime_error(message) {}
    virtual const char* class_name() const noexcept { return "EHttpError"; }
};

// No data arrived within ReadTimeout while a line or body bytes were awaited.
class EHttpReadTimeout : public EHttpError {
public:
    EHttpReadTimeout() : EHttpError("Read Timeout") {}
    const char* class_name() const noexcept override { return "EHttpReadTimeout"; }
};

class EHttpConnectTimeout : public EHttpError {
public:
    EHttpConnectTimeout() : EHttpError("Connect timed out.") {}
    const char* class_name() const noexcept override { return "EHttpConnectTimeout"; }
};

// Message: "Socket Error # <code>\r\n<text>".
std::string socket_error_message(int code, const std::string& text);

// Name resolution, an unbounded connect, a send or a receive failed at socket level.
class EHttpSocketError : public EHttpError {
public:
    EHttpSocketError(int code, const std::string& text)
        : EHttpError(socket_error_message(code, text)), code_(code) {}
    const char* class_name() const noexcept override { return "EHttpSocketError"; }
    int code() const noexcept { return code_; }

private:
    int code_;
};

// A connect with a time-out in force was refused or found no route.
class EHttpConnectFailed : public EHttpError {
public:
    EHttpConnectFailed(int code, const std::string& text)
        : EHttpError(socket_error_message(code, text)), code_(code) {}
    const char* class_name() const noexcept override { return "EHttpConnectFailed"; }
    int code() const noexcept { return code_; }

private:
    int code_;
};

// The server closed while a status line, a chunk-size line or chunk data was awaited.
class EHttpConnectionClosed : public EHttpError {
public:
    EHttpConnectionClosed() : EHttpError("Connection closed by peer.") {}
    const char* class_name() const noexcept override { return "EHttpConnectionClosed"; }
};

class EHttpLineTooLong : public EHttpError {
public:
    EHttpLineTooLong() : EHttpError("Max line length exceeded.") {}
    const char* class_name() const noexcept override { return "EHttpLineTooLong"; }
};

// A status that is neither success nor a followed redirect. The message is the
// status line ("HTTP/1.1 404 Not Found"), the detail the response body.
class EHttpProtocolError : public EHttpError {
public:
    EHttpProtocolError(int code, const std::string& status_line, std::string detail)
        : EHttpError(status_line), code_(code), detail_(std::move(detail)) {}
    const char* class_name() const noexcept override { return "EHttpProtocolError"; }
    int code() const noexcept { return code_; }
    const std::string& detail() const noexcept { return detail_; }

private:
    int code_;
    std::string detail_;
};

// A response body longer than the client's MaxResponseSize.
class EHttpResponseTooLarge : public EHttpError {
public:
    explicit EHttpResponseTooLarge(std::uint64_t limit);
    const char* class_name() const noexcept override { return "EHttpResponseTooLarge"; }
};

class EHttpNoSecureTransport : public EHttpError {
public:
    EHttpNoSecureTransport() : EHttpError("No secure transport available") {}
    const char* class_name() const noexcept override { return "EHttpNoSecureTransport"; }
};

// A scheme other than http or https and no port to go with it.
class EHttpUnknownProtocol : public EHttpError {
public:
    EHttpUnknownProtocol() : EHttpError("") {}
    const char* class_name() const noexcept override { return "EHttpUnknownProtocol"; }
};

// THttpClient::Abort() ended the GET from another thread.
class EHttpAborted : public EHttpError {
public:
    EHttpAborted() : EHttpError("Aborted") {}
    const char* class_name() const noexcept override { return "EHttpAborted"; }
};

} // namespace qirelo::http
