#pragma once

// A stand-in for the system's name lookup that blocks until the test lets it
// go, as a lookup does when the resolver never answers. The lookup's own
// state is shared with the thread it runs on, so it may end after the test
// has given up on it.

#include "platform/net/name_lookup.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <future>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace qirelo::platform::net::testing {

class BlockedLookup {
public:
    explicit BlockedLookup(std::uint32_t answer = 0x7F000001)
        : in_place_([gate = gate_, answer](const std::string&) {
              ++gate->started;
              std::unique_lock lock(gate->mutex);
              gate->opened.wait(lock, [&] { return gate->open; });
              ++gate->ended;
              return answer;
          }) {}
    ~BlockedLookup() { release(); }
    BlockedLookup(const BlockedLookup&) = delete;
    BlockedLookup& operator=(const BlockedLookup&) = delete;

    // Lets every blocked lookup, and every later one, end with the answer.
    void release() {
        const std::lock_guard lock(gate_->mutex);
        gate_->open = true;
        gate_->opened.notify_all();
    }

    int started() const { return gate_->started.load(); }
    int ended() const { return gate_->ended.load(); }

    // Whether `call` returns, within a few seconds, while its lookup is still
    // blocked. When it does not, the lookup is let go so that the test ends.
    template <typename T> bool returns_while_blocked(std::future<T>& call) {
        if (call.wait_for(std::chrono::seconds(5)) == std::future_status::ready) {
            return true;
        }
        release();
        return false;
    }

    // Waits, a few seconds at most, until `count` lookups have started.
    bool wait_started(int count) const {
        return wait_for([&] { return started() >= count; });
    }
    bool wait_ended(int count) const {
        return wait_for([&] { return ended() >= count; });
    }

private:
    struct Gate {
        std::mutex mutex;
        std::condition_variable opened;
        bool open = false;
        std::atomic<int> started{0};
        std::atomic<int> ended{0};
    };

    template <typename Condition> static bool wait_for(Condition condition) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!condition()) {
            if (std::chrono::steady_clock::now() > until) {
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return true;
    }

    std::shared_ptr<Gate> gate_ = std::make_shared<Gate>();
    ScopedNameLookup in_place_;
};

} // namespace qirelo::platform::net::testing
