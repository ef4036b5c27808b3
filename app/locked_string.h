#pragma once

// A string that one thread writes and another reads: every read sees a whole
// value, the old or the new one.

#include <mutex>
#include <string>

namespace qirelo::app {

class LockedString {
public:
    std::string get() const {
        std::lock_guard lock(mutex_);
        return value_;
    }
    void set(std::string value) {
        std::lock_guard lock(mutex_);
        value_ = std::move(value);
    }
    bool empty() const {
        std::lock_guard lock(mutex_);
        return value_.empty();
    }

private:
    mutable std::mutex mutex_;
    std::string value_;
};

} // namespace qirelo::app
