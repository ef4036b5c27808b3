// The internet boundary over libcurl: WinInet's pull model (send, then read
// the body block by block) on a curl multi handle that the calling thread
// pumps, so a read returns as soon as a block is there and a close from
// another thread wakes a blocked call at once.

#include "platform/inet/internet.h"
#include "platform/linux/curl_internet.h"
#include "text/ascii.h"

#include <curl/curl.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <map>
#include <mutex>
#include <variant>
#include <vector>

namespace qirelo::platform::inet {
namespace {

constexpr long kReceiveBuffer = 512 * 1024;
// Body bytes held for the reader before libcurl is paused: one call to curl
// receives for as long as the socket has data, and a fast sender would
// otherwise pile most of a large body up in fresh memory between two reads.
constexpr std::size_t kHeldBack = 4 << 20;

// A header line's name or value without the blanks around it (and the line
// end after it).
std::string trimmed(std::string_view text) {
    return std::string(text::trim(text, text::kWhitespace));
}

bool is_redirect(int status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// A Location header made absolute against the URL that answered with it.
std::string resolve(CURL* easy, const std::string& location) {
    char* current = nullptr;
    curl_easy_getinfo(easy, CURLINFO_EFFECTIVE_URL, &current);
    std::string result = location;
    CURLU* url = curl_url();
    if (current && curl_url_set(url, CURLUPART_URL, current, 0) == CURLUE_OK &&
        curl_url_set(url, CURLUPART_URL, location.c_str(), 0) == CURLUE_OK) {
        char* full = nullptr;
        if (curl_url_get(url, CURLUPART_URL, &full, 0) == CURLUE_OK) {
            result = full;
            curl_free(full);
        }
    }
    curl_url_cleanup(url);
    return result;
}

struct Session {
    SessionParams params;
    StatusCallback callback;
};

struct Connection {
    std::shared_ptr<Session> session;
    std::string host;
    std::uint16_t port = 0;
    std::string user;
    std::string password;
};

// One response's head as the header callback collects it.
struct Head {
    int status = 0;
    std::string status_line;
    std::vector<std::pair<std::string, std::string>> fields;
};

struct Request {
    Request() : multi(curl_multi_init()) {}
    ~Request() {
        release_easy();
        curl_multi_cleanup(multi);
    }

    void release_easy() {
        if (easy) {
            curl_multi_remove_handle(multi, easy);
            curl_easy_cleanup(easy);
            easy = nullptr;
        }
        if (header_list) {
            curl_slist_free_all(header_list);
            header_list = nullptr;
        }
    }

    std::shared_ptr<Connection> connection;
    std::string method;
    std::string object;
    std::string referer;
    std::string accept_type;
    std::uint32_t flags = 0;
    std::map<NumberOption, std::uint32_t> numbers;
    std::map<TextOption, std::string> texts;
    std::vector<std::string> extra_headers;

    CURLM* multi;
    CURL* easy = nullptr;
    curl_slist* header_list = nullptr;
    std::string post_body;
    Head head;       // the head being read
    Head final_head; // the answer's head, once complete
    bool head_done = false;
    bool finished = false;
    bool paused = false; // holding kHeldBack already: the rest waits in libcurl
    CURLcode result = CURLE_OK;
    std::string buffer; // body bytes received, not yet read
    std::size_t offset = 0;
    // Every body byte ever received. The buffer's size cannot tell whether a
    // call to libcurl brought anything: a drained buffer is emptied and may
    // be refilled to the very size it had.
    std::uint64_t received = 0;
    std::atomic<bool> closed{false};
};

using Object =
    std::variant<std::shared_ptr<Session>, std::shared_ptr<Connection>, std::shared_ptr<Request>>;

class CurlInternet final : public Internet {
public:
    explicit CurlInternet(std::chrono::milliseconds idle_poll) : idle_poll_(idle_poll) {
        curl_global_init(CURL_GLOBAL_DEFAULT);
    }

    HInternet Open(const SessionParams& params) override {
        auto session = std::make_shared<Session>();
        session->params = params;
        return keep(session);
    }

    void SetStatusCallback(HInternet handle, StatusCallback callback) override {
        if (auto session = find<Session>(handle)) {
            session->callback = std::move(callback);
        }
    }

    HInternet Connect(HInternet session_handle, const std::string& host, std::uint16_t port,
                      const std::string& user, const std::string& password) override {
        auto session = find<Session>(session_handle);
        if (!session) {
            return kNoHandle;
        }
        auto connection = std::make_shared<Connection>();
        *connection = Connection{session, host, port, user, password};
        return keep(connection);
    }

    HInternet OpenRequest(HInternet connection_handle, const std::string& method,
                          const std::string& object, const std::string& referer,
                          const std::string& accept_type, std::uint32_t flags) override {
        auto connection = find<Connection>(connection_handle);
        if (!connection) {
            return kNoHandle;
        }
        auto request = std::make_shared<Request>();
        request->connection = connection;
        request->method = method;
        request->object = object;
        request->referer = referer;
        request->accept_type = accept_type;
        request->flags = flags;
        return keep(request);
    }

    bool SetOption(HInternet handle, NumberOption option, std::uint32_t value) override {
        auto request = find<Request>(handle);
        return request && (request->numbers[option] = value, true);
    }

    bool SetOption(HInternet handle, TextOption option, const std::string& value) override {
        auto request = find<Request>(handle);
        return request && (request->texts[option] = value, true);
    }

    bool AddRequestHeaders(HInternet handle, const std::string& headers, bool replace) override {
        auto request = find<Request>(handle);
        if (!request) {
            return false;
        }
        std::size_t start = 0;
        while (start < headers.size()) {
            std::size_t end = headers.find("\r\n", start);
            if (end == std::string::npos) {
                end = headers.size();
            }
            const std::string line = headers.substr(start, end - start);
            if (!line.empty()) {
                add_header(*request, line, replace);
            }
            start = end + 2;
        }
        return true;
    }

    bool SendRequest(HInternet handle, const std::string& headers,
                     const std::string& body) override;
    std::optional<std::string> QueryInfo(HInternet handle, Query query) override;
    bool ReadFile(HInternet handle, char* buffer, std::size_t size, std::size_t& read) override;

    void CloseHandle(HInternet handle) override {
        Object object;
        {
            std::lock_guard lock(mutex_);
            const auto found = objects_.find(handle);
            if (found == objects_.end()) {
                return;
            }
            object = found->second;
            objects_.erase(found);
        }
        if (auto* request = std::get_if<std::shared_ptr<Request>>(&object)) {
            // A call blocked on this request wakes and fails; the curl
            // handles go with the last holder, on its own thread.
            (*request)->closed = true;
            curl_multi_wakeup((*request)->multi);
        }
    }

private:
    template <typename T> std::shared_ptr<T> find(HInternet handle) {
        std::lock_guard lock(mutex_);
        const auto found = objects_.find(handle);
        if (found == objects_.end()) {
            return nullptr;
        }
        auto* object = std::get_if<std::shared_ptr<T>>(&found->second);
        return object ? *object : nullptr;
    }

    HInternet keep(Object object) {
        std::lock_guard lock(mutex_);
        const HInternet handle = next_++;
        objects_.emplace(handle, std::move(object));
        return handle;
    }

    static void add_header(Request& request, const std::string& line, bool replace) {
        if (replace) {
            const std::string name = line.substr(0, line.find(':'));
            std::erase_if(request.extra_headers, [&](const std::string& existing) {
                return text::iequals(existing.substr(0, existing.find(':')), name);
            });
        }
        request.extra_headers.push_back(line);
    }

    static void report(Request& request, std::uint32_t code, std::string_view information = {}) {
        const StatusCallback& callback = request.connection->session->callback;
        if (callback) {
            callback(code, information);
        }
    }

    void configure(Request& request, const std::string& headers, const std::string& body);
    // One step of the transfer: lets curl work, then waits for the socket (or
    // a close) when it had nothing new. False once closed.
    bool pump(Request& request);
    static std::size_t on_header(char* data, std::size_t size, std::size_t count, void* user);
    static std::size_t on_body(char* data, std::size_t size, std::size_t count, void* user);

    std::mutex mutex_;
    std::map<HInternet, Object> objects_;
    HInternet next_ = 1;
    // The longest wait for the socket when curl had nothing new.
    std::chrono::milliseconds idle_poll_;
};

void CurlInternet::configure(Request& request, const std::string& headers,
                             const std::string& body) {
    request.release_easy();
    request.head = {};
    request.final_head = {};
    request.head_done = request.finished = request.paused = false;
    request.result = CURLE_OK;
    request.buffer.clear();
    request.offset = 0;

    CURL* easy = curl_easy_init();
    request.easy = easy;
    const Connection& connection = *request.connection;
    const SessionParams& session = connection.session->params;
    const bool secure = (request.flags & flags::kSecure) != 0;
    const std::string url = std::string(secure ? "https://" : "http://") + connection.host + ":" +
                            std::to_string(connection.port) + request.object;
    curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
    curl_easy_setopt(easy, CURLOPT_HTTP_VERSION, CURL_HTTP_VERSION_1_1);
    curl_easy_setopt(easy, CURLOPT_USERAGENT, session.agent.c_str());
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_BUFFERSIZE, kReceiveBuffer);
    curl_easy_setopt(easy, CURLOPT_PRIVATE, &request);
    curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &CurlInternet::on_header);
    curl_easy_setopt(easy, CURLOPT_HEADERDATA, &request);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &CurlInternet::on_body);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, &request);

    if (session.access == AccessType::direct) {
        curl_easy_setopt(easy, CURLOPT_PROXY, "");
    } else if (session.access == AccessType::proxy) {
        curl_easy_setopt(easy, CURLOPT_PROXY, session.proxy.c_str());
        std::string bypass = session.bypass;
        std::replace(bypass.begin(), bypass.end(), ';', ',');
        curl_easy_setopt(easy, CURLOPT_NOPROXY, bypass.c_str());
    }

    if ((request.flags & flags::kNoAutoRedirect) == 0) {
        curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
        curl_easy_setopt(easy, CURLOPT_MAXREDIRS, 20L);
        curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    }
    if (secure) {
        if (request.flags & flags::kIgnoreCertCnInvalid) {
            curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, 0L);
        }
        if (request.flags & flags::kIgnoreCertDateInvalid) {
            // libcurl cannot let only the dates pass: the whole chain check goes.
            curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 0L);
        }
    }
    if ((request.flags & flags::kKeepConnection) == 0) {
        curl_easy_setopt(easy, CURLOPT_FORBID_REUSE, 1L);
    }

    // Credentials go out once the server asks (after a 401 the engine sets
    // them and sends again), as Basic authentication.
    const auto text = [&](TextOption option, const std::string& fallback) {
        const auto found = request.texts.find(option);
        return found == request.texts.end() ? fallback : found->second;
    };
    const std::string user = text(TextOption::username, connection.user);
    if (!user.empty() && (request.flags & flags::kNoAuth) == 0) {
        curl_easy_setopt(easy, CURLOPT_HTTPAUTH, CURLAUTH_BASIC);
        curl_easy_setopt(easy, CURLOPT_USERNAME, user.c_str());
        curl_easy_setopt(easy, CURLOPT_PASSWORD,
                         text(TextOption::password, connection.password).c_str());
    }
    const std::string proxy_user = text(TextOption::proxy_username, "");
    if (!proxy_user.empty()) {
        curl_easy_setopt(easy, CURLOPT_PROXYUSERNAME, proxy_user.c_str());
        curl_easy_setopt(easy, CURLOPT_PROXYPASSWORD, text(TextOption::proxy_password, "").c_str());
    }

    for (const auto& [option, value] : request.numbers) {
        if (option == NumberOption::connect_timeout) {
            curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(value));
        } else if (option == NumberOption::receive_timeout) {
            // No per-receive limit in libcurl: "under one byte a second for
            // that long" comes closest.
            curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, 1L);
            curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME,
                             std::max(1L, static_cast<long>((value + 999) / 1000)));
        }
    }

    std::vector<std::string> lines{"Accept: " + request.accept_type};
    if (!request.referer.empty()) {
        lines.push_back("Referer: " + request.referer);
    }
    if (request.flags & flags::kPragmaNoCache) {
        lines.push_back("Pragma: no-cache");
        lines.push_back("Cache-Control: no-cache");
    }
    lines.insert(lines.end(), request.extra_headers.begin(), request.extra_headers.end());
    if (!headers.empty()) {
        lines.push_back(headers);
    }
    lines.push_back("Expect:");
    for (const std::string& line : lines) {
        request.header_list = curl_slist_append(request.header_list, line.c_str());
    }
    curl_easy_setopt(easy, CURLOPT_HTTPHEADER, request.header_list);

    if (request.method == "POST") {
        request.post_body = body;
        curl_easy_setopt(easy, CURLOPT_POST, 1L);
        curl_easy_setopt(easy, CURLOPT_POSTFIELDS, request.post_body.data());
        curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE, static_cast<long>(request.post_body.size()));
    } else if (request.method != "GET") {
        curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, request.method.c_str());
    }
    curl_multi_add_handle(request.multi, easy);
}

std::size_t CurlInternet::on_header(char* data, std::size_t size, std::size_t count, void* user) {
    Request& request = *static_cast<Request*>(user);
    const std::string_view line(data, size * count);
    if (line.starts_with("HTTP/")) {
        request.head = {};
        request.head.status_line = trimmed(line);
        const std::size_t blank = line.find(' ');
        if (blank != std::string_view::npos) {
            request.head.status = std::atoi(std::string(line.substr(blank + 1, 3)).c_str());
        }
        report(request, 40);
        return size * count;
    }
    if (trimmed(line).empty()) {
        const Head& head = request.head;
        if (head.status >= 100 && head.status < 200) {
            return size * count; // an interim answer
        }
        const auto location =
            std::find_if(head.fields.begin(), head.fields.end(),
                         [](const auto& f) { return text::iequals(f.first, "Location"); });
        if (is_redirect(head.status) && location != head.fields.end() &&
            (request.flags & flags::kNoAutoRedirect) == 0) {
            report(request, kStatusRedirect, resolve(request.easy, location->second));
            return size * count; // curl follows it
        }
        report(request, 41);
        request.final_head = head;
        request.head_done = true;
        return size * count;
    }
    const std::size_t colon = line.find(':');
    if (colon != std::string_view::npos) {
        request.head.fields.emplace_back(trimmed(line.substr(0, colon)),
                                         trimmed(line.substr(colon + 1)));
    }
    return size * count;
}

std::size_t CurlInternet::on_body(char* data, std::size_t size, std::size_t count, void* user) {
    Request& request = *static_cast<Request*>(user);
    if (request.offset == request.buffer.size()) {
        request.buffer.clear();
        request.offset = 0;
    }
    if (request.buffer.size() - request.offset >= kHeldBack) {
        request.paused = true;
        return CURL_WRITEFUNC_PAUSE; // libcurl delivers it again once unpaused
    }
    request.buffer.append(data, size * count);
    request.received += size * count;
    return size * count;
}

bool CurlInternet::pump(Request& request) {
    if (request.closed) {
        return false;
    }
    int running = 0;
    const std::uint64_t before = request.received;
    const bool head_before = request.head_done;
    curl_multi_perform(request.multi, &running);
    int left = 0;
    while (CURLMsg* message = curl_multi_info_read(request.multi, &left)) {
        if (message->msg == CURLMSG_DONE) {
            request.finished = true;
            request.result = message->data.result;
        }
    }
    if (running == 0) {
        request.finished = true;
    }
    if (!request.finished && request.received == before && request.head_done == head_before) {
        curl_multi_poll(request.multi, nullptr, 0, static_cast<int>(idle_poll_.count()), nullptr);
    }
    return !request.closed;
}

bool CurlInternet::SendRequest(HInternet handle, const std::string& headers,
                               const std::string& body) {
    auto request = find<Request>(handle);
    if (!request) {
        return false;
    }
    if (request->connection->session->params.offline) {
        return false; // no cache to answer from
    }
    configure(*request, headers, body);
    report(*request, 20);
    while (!request->head_done && !request->finished) {
        if (!pump(*request)) {
            return false;
        }
    }
    report(*request, 31);
    return request->head_done && !request->closed;
}

std::optional<std::string> CurlInternet::QueryInfo(HInternet handle, Query query) {
    auto request = find<Request>(handle);
    if (!request || !request->head_done) {
        return std::nullopt;
    }
    const Head& head = request->final_head;
    const auto field = [&](std::string_view name) -> std::optional<std::string> {
        for (const auto& [key, value] : head.fields) {
            if (text::iequals(key, name)) {
                return value;
            }
        }
        return std::nullopt;
    };
    switch (query) {
    case Query::status_code:
        return std::to_string(head.status);
    case Query::raw_headers: {
        std::string raw = head.status_line + "\r\n";
        for (const auto& [key, value] : head.fields) {
            raw += key + ": " + value + "\r\n";
        }
        return raw + "\r\n";
    }
    case Query::content_type:
        return field("Content-Type");
    case Query::content_length:
        return field("Content-Length");
    case Query::content_range:
        return field("Content-Range");
    case Query::content_language:
        return field("Content-Language");
    case Query::content_encoding:
        return field("Content-Encoding");
    case Query::location:
        return field("Location");
    case Query::etag:
        return field("ETag");
    case Query::date:
        return field("Date");
    case Query::last_modified:
        return field("Last-Modified");
    case Query::expires:
        return field("Expires");
    case Query::www_authenticate:
        return field("WWW-Authenticate");
    }
    return std::nullopt;
}

bool CurlInternet::ReadFile(HInternet handle, char* buffer, std::size_t size, std::size_t& read) {
    read = 0;
    auto request = find<Request>(handle);
    if (!request || !request->easy) {
        return false;
    }
    for (;;) {
        if (request->closed) {
            return false;
        }
        const std::size_t available = request->buffer.size() - request->offset;
        if (available > 0) {
            read = std::min(size, available);
            std::memcpy(buffer, request->buffer.data() + request->offset, read);
            request->offset += read;
            return true;
        }
        if (request->finished) {
            return request->result == CURLE_OK;
        }
        if (request->paused) {
            // Everything held has been read: take what libcurl kept back.
            request->paused = false;
            curl_easy_pause(request->easy, CURLPAUSE_CONT);
            continue;
        }
        if (!pump(*request)) {
            return false;
        }
    }
}

} // namespace

std::unique_ptr<Internet> curl_internet(std::chrono::milliseconds idle_poll) {
    return std::make_unique<CurlInternet>(idle_poll);
}

std::unique_ptr<Internet> os_internet() {
    return curl_internet(std::chrono::seconds(1));
}

} // namespace qirelo::platform::inet
