#pragma once

// A recording, scripted stand-in for the internet library: every call is
// logged in order, each sent request takes the next scripted answer, and a
// test can hold the worker at any call to act while it waits there. Reads
// that stall wake when their handle is closed, from any thread. The local
// side keeps a virtual millisecond clock that the answers advance per block.

#include "platform/inet/internet.h"
#include "platform/inet/local_system.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace qirelo::platform::fake {

class FakeLocalSystem final : public inet::LocalSystem {
public:
    std::uint32_t TickCount() override;
    int TimeZoneBiasMinutes() override { return bias_minutes; }
    bool SetAttributes(const std::string& path, std::uint32_t attributes) override;
    std::uint32_t Attributes(const std::string& path) override;
    bool SetFileTimes(const std::string& path, const inet::DosDateTime& time) override;
    void AdviseLargeBuffer(const void* start, std::size_t size) override;

    void Advance(std::uint32_t ms);
    // Every SetFileAttributes, as "path=0x..." lines.
    std::vector<std::string> attribute_calls() const;
    // Every SetFileTimes, as "path=YYYY-MM-DD HH:MM:SS" lines.
    std::vector<std::string> time_calls() const;
    struct Advice {
        const void* start;
        std::size_t size;
    };
    std::vector<Advice> large_buffer_advice() const;

    int bias_minutes = 0;

private:
    mutable std::mutex mutex_;
    std::uint32_t tick_ = 1000;
    std::map<std::string, std::uint32_t> attributes_;
    std::vector<std::string> calls_;
    std::vector<std::string> time_calls_;
    std::vector<Advice> advice_;
};

struct FakeAnswer {
    std::optional<int> status = 200; // nullopt: the server sent no status line
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;
    std::size_t block = 0;          // at most this many bytes per read (0: any)
    std::uint32_t ms_per_block = 0; // the virtual clock moves on by this per read
    bool cut_off = false;           // after the body a read fails
    bool stall = false;             // after the body a read blocks until closed
    bool send_fails = false;        // no answer at all (name not resolved, refused)
};

// A 200 answer with a Content-Length header.
FakeAnswer fake_ok(std::string body);

class FakeInternet final : public inet::Internet {
public:
    explicit FakeInternet(FakeLocalSystem* clock = nullptr) : clock_(clock) {}

    // The answers to the requests sent, in order; the last one repeats.
    void script(std::vector<FakeAnswer> answers);
    bool open_fails = false;
    bool connect_fails = false;
    // Status callbacks the library reports at each send: code and information.
    std::vector<std::pair<std::uint32_t, std::string>> statuses_at_send;

    // Holds the calling thread at the next call whose log line starts with
    // `prefix`, until release().
    void pause_at(std::string prefix);
    bool wait_paused(int seconds = 10);
    bool paused() const;
    void release();

    std::vector<std::string> calls() const;
    // The calls whose lines start with `prefix`.
    std::vector<std::string> calls(const std::string& prefix) const;
    int open_handles() const;

    inet::HInternet Open(const inet::SessionParams& params) override;
    void SetStatusCallback(inet::HInternet session, inet::StatusCallback callback) override;
    inet::HInternet Connect(inet::HInternet session, const std::string& host, std::uint16_t port,
                            const std::string& user, const std::string& password) override;
    inet::HInternet OpenRequest(inet::HInternet connection, const std::string& method,
                                const std::string& object, const std::string& referer,
                                const std::string& accept_type, std::uint32_t flags) override;
    bool SetOption(inet::HInternet request, inet::NumberOption option,
                   std::uint32_t value) override;
    bool SetOption(inet::HInternet request, inet::TextOption option,
                   const std::string& value) override;
    bool AddRequestHeaders(inet::HInternet request, const std::string& headers,
                           bool replace) override;
    bool SendRequest(inet::HInternet request, const std::string& headers,
                     const std::string& body) override;
    std::optional<std::string> QueryInfo(inet::HInternet request, inet::Query query) override;
    bool ReadFile(inet::HInternet request, char* buffer, std::size_t size,
                  std::size_t& read) override;
    void CloseHandle(inet::HInternet handle) override;

private:
    struct Request {
        std::optional<FakeAnswer> answer;
        std::size_t offset = 0;
    };

    // Logs `line` and holds the caller when a pause is set for it.
    void record(std::string line);
    inet::HInternet make_handle(std::unique_lock<std::mutex>& lock);
    std::optional<std::string> header(const FakeAnswer& answer, std::string_view name) const;

    FakeLocalSystem* clock_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::string> calls_;
    std::deque<FakeAnswer> answers_;
    std::optional<std::string> pause_prefix_;
    bool paused_ = false;
    inet::HInternet next_handle_ = 1;
    std::set<inet::HInternet> open_;
    std::map<inet::HInternet, Request> requests_;
    std::map<inet::HInternet, inet::StatusCallback> callbacks_;
};

} // namespace qirelo::platform::fake
