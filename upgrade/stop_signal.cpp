#include "upgrade/stop_signal.h"

namespace qirelo::upgrade {

void StopSignal::Request() {
    std::unique_lock lock(mutex_);
    if (requested_) {
        return;
    }
    requested_ = true;
    changed_.notify_all();
    runner_ = std::this_thread::get_id();
    while (!callbacks_.empty()) {
        Callback* callback = callbacks_.front();
        callbacks_.pop_front();
        callback->registered_ = false;
        running_ = callback;
        lock.unlock();
        callback->action_();
        lock.lock();
        running_ = nullptr;
        changed_.notify_all();
    }
}

bool StopSignal::Requested() const {
    std::lock_guard lock(mutex_);
    return requested_;
}

bool StopSignal::WaitFor(std::chrono::milliseconds duration) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, duration, [this] { return requested_; });
}

StopSignal::Callback::Callback(StopSignal& signal, std::function<void()> action)
    : signal_(signal), action_(std::move(action)) {
    std::unique_lock lock(signal_.mutex_);
    if (!signal_.requested_) {
        signal_.callbacks_.push_back(this);
        registered_ = true;
        return;
    }
    lock.unlock();
    action_();
}

StopSignal::Callback::~Callback() {
    std::unique_lock lock(signal_.mutex_);
    if (registered_) {
        signal_.callbacks_.remove(this);
        return;
    }
    if (signal_.runner_ != std::this_thread::get_id()) {
        signal_.changed_.wait(lock, [this] { return signal_.running_ != this; });
    }
}

} // namespace qirelo::upgrade
