#include "http/input_buffer.h"

#include "http/errors.h"

#include <algorithm>

namespace qirelo::http {

bool InputBuffer::fill() {
    if (ended_) {
        return false;
    }
    // Drop what has been taken before growing, so a long body never keeps
    // consumed bytes around.
    if (start_ > 0) {
        data_.erase(0, start_);
        start_ = 0;
    }
    const std::size_t old_size = data_.size();
    data_.resize(old_size + kReceiveSize);
    std::size_t got = 0;
    try {
        got = source_.read_some(data_.data() + old_size, kReceiveSize, timeout_);
    } catch (...) {
        data_.resize(old_size);
        throw;
    }
    data_.resize(old_size + got);
    if (got == 0) {
        ended_ = true;
    }
    return got > 0;
}

std::optional<std::string> InputBuffer::read_line(std::size_t max_length) {
    for (;;) {
        const std::size_t newline = data_.find('\n', start_ + scanned_);
        if (newline != std::string::npos) {
            std::size_t end = newline;
            if (end > start_ && data_[end - 1] == '\r') {
                --end;
            }
            if (end - start_ > max_length) {
                throw EHttpLineTooLong();
            }
            std::string line = data_.substr(start_, end - start_);
            start_ = newline + 1;
            scanned_ = 0;
            return line;
        }
        scanned_ = buffered();
        // One CR may still precede the LF that has not come yet.
        if (scanned_ > max_length + 1) {
            throw EHttpLineTooLong();
        }
        if (!fill()) {
            return std::nullopt;
        }
    }
}

std::uint64_t InputBuffer::read_into(std::string& sink, std::uint64_t count) {
    std::uint64_t taken = 0;
    while (taken < count) {
        if (buffered() == 0 && !fill()) {
            break;
        }
        const std::size_t part =
            static_cast<std::size_t>(std::min<std::uint64_t>(buffered(), count - taken));
        sink.append(data_, start_, part);
        start_ += part;
        taken += part;
    }
    scanned_ = 0;
    return taken;
}

void InputBuffer::read_to_end(std::string& sink) {
    do {
        sink.append(data_, start_, std::string::npos);
        start_ = data_.size();
    } while (fill());
    scanned_ = 0;
}

void InputBuffer::reset() {
    data_.clear();
    start_ = 0;
    scanned_ = 0;
    ended_ = false;
}

} // namespace qirelo::http
