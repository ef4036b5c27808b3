#include "platform/fake/internet.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstring>

namespace qirelo::platform::fake {

namespace {

std::string hex8(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", value);
    return text;
}

bool same_name(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

const char* name_of(inet::AccessType access) {
    switch (access) {
    case inet::AccessType::direct:
        return "direct";
    case inet::AccessType::proxy:
        return "proxy";
    case inet::AccessType::preconfig:
        break;
    }
    return "preconfig";
}

const char* name_of(inet::NumberOption option) {
    switch (option) {
    case inet::NumberOption::connect_timeout:
        return "connect_timeout";
    case inet::NumberOption::receive_timeout:
        return "receive_timeout";
    case inet::NumberOption::send_timeout:
        break;
    }
    return "send_timeout";
}

const char* name_of(inet::TextOption option) {
    switch (option) {
    case inet::TextOption::username:
        return "username";
    case inet::TextOption::password:
        return "password";
    case inet::TextOption::proxy_username:
        return "proxy_username";
    case inet::TextOption::proxy_password:
        break;
    }
    return "proxy_password";
}

const char* name_of(inet::Query query) {
    constexpr const char* kNames[] = {"status_code",
                                      "raw_headers",
                                      "content_type",
                                      "content_length",
                                      "content_range",
                                      "content_language",
                                      "content_encoding",
                                      "location",
                                      "etag",
                                      "date",
                                      "last_modified",
                                      "expires",
                                      "www_authenticate"};
    return kNames[static_cast<int>(query)];
}

} // namespace

// ---- local side ----

std::uint32_t FakeLocalSystem::TickCount() {
    std::lock_guard lock(mutex_);
    return tick_;
}

void FakeLocalSystem::Advance(std::uint32_t ms) {
    std::lock_guard lock(mutex_);
    tick_ += ms;
}

bool FakeLocalSystem::SetAttributes(const std::string& path, std::uint32_t attributes) {
    std::lock_guard lock(mutex_);
    attributes_[path] = attributes;
    calls_.push_back(path + "=" + hex8(attributes));
    return true;
}

std::uint32_t FakeLocalSystem::Attributes(const std::string& path) {
    std::lock_guard lock(mutex_);
    const auto found = attributes_.find(path);
    return found == attributes_.end() ? inet::attributes::kNormal : found->second;
}

bool FakeLocalSystem::SetFileTimes(const std::string& path, const inet::DosDateTime& time) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", (time.date >> 9) + 1980,
                  (time.date >> 5) & 0x0F, time.date & 0x1F, time.time >> 11,
                  (time.time >> 5) & 0x3F, (time.time & 0x1F) * 2);
    std::lock_guard lock(mutex_);
    time_calls_.push_back(path + "=" + text);
    return true;
}

std::vector<std::string> FakeLocalSystem::time_calls() const {
    std::lock_guard lock(mutex_);
    return time_calls_;
}

std::vector<std::string> FakeLocalSystem::attribute_calls() const {
    std::lock_guard lock(mutex_);
    return calls_;
}

void FakeLocalSystem::AdviseLargeBuffer(const void* start, std::size_t size) {
    std::lock_guard lock(mutex_);
    advice_.push_back(Advice{start, size});
}

std::vector<FakeLocalSystem::Advice> FakeLocalSystem::large_buffer_advice() const {
    std::lock_guard lock(mutex_);
    return advice_;
}

FakeAnswer fake_ok(std::string body) {
    FakeAnswer answer;
    answer.headers = {{"Content-Length", std::to_string(body.size())}};
    answer.body = std::move(body);
    return answer;
}

// ---- the library ----

void FakeInternet::script(std::vector<FakeAnswer> answers) {
    std::lock_guard lock(mutex_);
    answers_.assign(answers.begin(), answers.end());
}

void FakeInternet::pause_at(std::string prefix) {
    std::lock_guard lock(mutex_);
    pause_prefix_ = std::move(prefix);
    paused_ = false;
}

bool FakeInternet::wait_paused(int seconds) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::seconds(seconds), [this] { return paused_; });
}

bool FakeInternet::paused() const {
    std::lock_guard lock(mutex_);
    return paused_;
}

void FakeInternet::release() {
    std::lock_guard lock(mutex_);
    pause_prefix_.reset();
    changed_.notify_all();
}

void FakeInternet::record(std::string line) {
    std::unique_lock lock(mutex_);
    calls_.push_back(line);
    if (pause_prefix_ && line.starts_with(*pause_prefix_)) {
        paused_ = true;
        changed_.notify_all();
        changed_.wait(lock, [this] { return !pause_prefix_; });
    }
}

std::vector<std::string> FakeInternet::calls() const {
    std::lock_guard lock(mutex_);
    return calls_;
}

std::vector<std::string> FakeInternet::calls(const std::string& prefix) const {
    std::vector<std::string> matching;
    for (const std::string& line : calls()) {
        if (line.starts_with(prefix)) {
            matching.push_back(line);
        }
    }
    return matching;
}

int FakeInternet::open_handles() const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(open_.size());
}

inet::HInternet FakeInternet::make_handle(std::unique_lock<std::mutex>&) {
    const inet::HInternet handle = next_handle_++;
    open_.insert(handle);
    return handle;
}

inet::HInternet FakeInternet::Open(const inet::SessionParams& params) {
    record("Open agent=" + params.agent + " access=" + name_of(params.access) + " proxy=" +
           params.proxy + " bypass=" + params.bypass + " offline=" + (params.offline ? "1" : "0"));
    std::unique_lock lock(mutex_);
    return open_fails ? inet::kNoHandle : make_handle(lock);
}

void FakeInternet::SetStatusCallback(inet::HInternet session, inet::StatusCallback callback) {
    record("SetStatusCallback");
    std::lock_guard lock(mutex_);
    callbacks_[session] = std::move(callback);
}

inet::HInternet FakeInternet::Connect(inet::HInternet, const std::string& host, std::uint16_t port,
                                      const std::string& user, const std::string& password) {
    record("Connect " + host + ":" + std::to_string(port) + " user=" + user +
           " password=" + password);
    std::unique_lock lock(mutex_);
    return connect_fails ? inet::kNoHandle : make_handle(lock);
}

inet::HInternet FakeInternet::OpenRequest(inet::HInternet, const std::string& method,
                                          const std::string& object, const std::string& referer,
                                          const std::string& accept_type, std::uint32_t flags) {
    record("OpenRequest " + method + " " + object + " flags=" + hex8(flags) +
           " referer=" + referer + " accept=" + accept_type);
    std::unique_lock lock(mutex_);
    const inet::HInternet handle = make_handle(lock);
    requests_[handle] = Request{};
    return handle;
}

bool FakeInternet::SetOption(inet::HInternet, inet::NumberOption option, std::uint32_t value) {
    record(std::string("SetOption ") + name_of(option) + "=" + std::to_string(value));
    return true;
}

bool FakeInternet::SetOption(inet::HInternet, inet::TextOption option, const std::string& value) {
    record(std::string("SetOption ") + name_of(option) + "=" + value);
    return true;
}

bool FakeInternet::AddRequestHeaders(inet::HInternet, const std::string& headers, bool replace) {
    record(std::string("AddRequestHeaders ") + (replace ? "replace " : "add ") + headers);
    return true;
}

bool FakeInternet::SendRequest(inet::HInternet request, const std::string& headers,
                               const std::string& body) {
    record("SendRequest headers=" + headers + " body=" + body);
    inet::StatusCallback callback;
    std::vector<std::pair<std::uint32_t, std::string>> statuses;
    {
        std::lock_guard lock(mutex_);
        if (!callbacks_.empty()) {
            callback = callbacks_.begin()->second;
        }
        statuses = statuses_at_send;
    }
    for (const auto& [code, information] : statuses) {
        if (callback) {
            callback(code, information);
        }
    }
    std::lock_guard lock(mutex_);
    if (!open_.contains(request) || answers_.empty()) {
        return false;
    }
    FakeAnswer answer = answers_.front();
    if (answers_.size() > 1) {
        answers_.pop_front();
    }
    if (answer.send_fails) {
        return false;
    }
    requests_[request] = Request{std::move(answer), 0};
    return true;
}

std::optional<std::string> FakeInternet::header(const FakeAnswer& answer,
                                                std::string_view name) const {
    for (const auto& [key, value] : answer.headers) {
        if (same_name(key, name)) {
            return value;
        }
    }
    return std::nullopt;
}

std::optional<std::string> FakeInternet::QueryInfo(inet::HInternet request, inet::Query query) {
    record("QueryInfo " + std::string(name_of(query)));
    std::lock_guard lock(mutex_);
    const auto found = requests_.find(request);
    if (found == requests_.end() || !found->second.answer) {
        return std::nullopt;
    }
    const FakeAnswer& answer = *found->second.answer;
    switch (query) {
    case inet::Query::status_code:
        // The library's own figure: 0 when no status line came.
        return std::to_string(answer.status.value_or(0));
    case inet::Query::raw_headers: {
        std::string raw = "HTTP/1.1 " + std::to_string(answer.status.value_or(0)) + " \r\n";
        for (const auto& [key, value] : answer.headers) {
            raw += key + ": " + value + "\r\n";
        }
        return raw + "\r\n";
    }
    case inet::Query::content_type:
        return header(answer, "Content-Type");
    case inet::Query::content_length:
        return header(answer, "Content-Length");
    case inet::Query::content_range:
        return header(answer, "Content-Range");
    case inet::Query::content_language:
        return header(answer, "Content-Language");
    case inet::Query::content_encoding:
        return header(answer, "Content-Encoding");
    case inet::Query::location:
        return header(answer, "Location");
    case inet::Query::etag:
        return header(answer, "ETag");
    case inet::Query::date:
        return header(answer, "Date");
    case inet::Query::last_modified:
        return header(answer, "Last-Modified");
    case inet::Query::expires:
        return header(answer, "Expires");
    case inet::Query::www_authenticate:
        return header(answer, "WWW-Authenticate");
    }
    return std::nullopt;
}

bool FakeInternet::ReadFile(inet::HInternet request, char* buffer, std::size_t size,
                            std::size_t& read) {
    record("ReadFile");
    read = 0;
    std::unique_lock lock(mutex_);
    auto found = requests_.find(request);
    if (!open_.contains(request) || found == requests_.end() || !found->second.answer) {
        return false;
    }
    const FakeAnswer& answer = *found->second.answer;
    std::size_t& offset = found->second.offset;
    if (offset < answer.body.size()) {
        std::size_t count = std::min(size, answer.body.size() - offset);
        if (answer.block != 0) {
            count = std::min(count, answer.block);
        }
        std::memcpy(buffer, answer.body.data() + offset, count);
        offset += count;
        read = count;
        const std::uint32_t step = answer.ms_per_block;
        lock.unlock();
        if (clock_ && step != 0) {
            clock_->Advance(step);
        }
        return true;
    }
    if (answer.stall) {
        changed_.wait(lock, [&] { return !open_.contains(request); });
        return false;
    }
    return !answer.cut_off;
}

void FakeInternet::CloseHandle(inet::HInternet handle) {
    {
        std::lock_guard lock(mutex_);
        open_.erase(handle);
        changed_.notify_all();
    }
    record("CloseHandle " + std::to_string(handle));
}

} // namespace qirelo::platform::fake
