#pragma once

// What tests read back through the control API: the reports of the play
// pages and the requests each server received. Each journal keeps only its
// latest entries, so a long run cannot fill the memory.

#include "devsite/http/http_request.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

namespace qirelo::devsite {

// One thing a play page's test player received: a key, a click, a double-click.
struct PlayEvent {
    std::uint64_t sequence = 0;
    std::string page;   // the page's path and query
    std::string kind;   // "key", "click", "dblclick", "fullscreen"
    std::string detail; // e.g. "Escape", "ArrowLeft", "x=10,y=20"
};

struct LoggedRequest {
    std::uint64_t sequence = 0;
    std::string server; // "site", "mobile", "relay", "timer", "control"
    std::string method;
    std::string target;
    Headers headers;
    std::uint64_t connection = 0; // equal for requests on one kept-alive connection
};

template <typename Entry> class Journal {
public:
    explicit Journal(std::size_t capacity = 2000) : capacity_(capacity) {}

    void add(Entry entry) {
        std::lock_guard lock(mutex_);
        entry.sequence = ++sequence_;
        entries_.push_back(std::move(entry));
        if (entries_.size() > capacity_)
            entries_.pop_front();
    }
    std::vector<Entry> list() const {
        std::lock_guard lock(mutex_);
        return {entries_.begin(), entries_.end()};
    }
    void clear() {
        std::lock_guard lock(mutex_);
        entries_.clear();
    }

private:
    mutable std::mutex mutex_;
    std::size_t capacity_;
    std::uint64_t sequence_ = 0;
    std::deque<Entry> entries_;
};

} // namespace qirelo::devsite
