#pragma once

#include "app/relay/recording_actions.h"
#include "app/relay/relay_http.h"
#include "app/relay/relay_loop.h"

#include <atomic>
#include <functional>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

namespace qirelo::app::relay::testing {

// A client object whose answers the test sets: a body, or a failure.
class ScriptedHttp final : public RelayHttp {
public:
    std::string Get(const std::string& url) override {
        std::lock_guard lock(mutex_);
        urls_.push_back(url);
        if (failing_) {
            throw std::runtime_error("connection refused");
        }
        return body_;
    }
    void Replace() override { ++replacements; }

    void Answer(std::string body) {
        std::lock_guard lock(mutex_);
        body_ = std::move(body);
        failing_ = false;
    }
    void Fail() {
        std::lock_guard lock(mutex_);
        failing_ = true;
    }
    std::vector<std::string> Urls() const {
        std::lock_guard lock(mutex_);
        return urls_;
    }

    std::atomic<int> replacements{0};

private:
    mutable std::mutex mutex_;
    std::string body_;
    bool failing_ = false;
    std::vector<std::string> urls_;
};

// Shared lines of several threads, in order.
class LineLog {
public:
    void Add(const std::string& line) {
        std::lock_guard lock(mutex_);
        lines_.push_back(line);
    }
    std::vector<std::string> Lines() const {
        std::lock_guard lock(mutex_);
        return lines_;
    }
    void Clear() {
        std::lock_guard lock(mutex_);
        lines_.clear();
    }
    LineSink Sink() {
        return [this](const std::string& line) { Add(line); };
    }

private:
    mutable std::mutex mutex_;
    std::vector<std::string> lines_;
};

inline RelayEndpoints TestEndpoints() {
    return RelayEndpoints{"relay.test", "timer.test", "site.test"};
}

} // namespace qirelo::app::relay::testing
