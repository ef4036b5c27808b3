#include "upgrade/transfer_stream.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace qirelo::upgrade {

void TupMemoryStream::Write(const char* bytes, std::size_t count) {
    std::memcpy(SpaceFor(count), bytes, count);
    Filled(count);
}

std::string TupMemoryStream::TakeBytes() {
    position_ = 0;
    return std::exchange(bytes_, {});
}

char* TupMemoryStream::SpaceFor(std::size_t count) {
    const auto position = static_cast<std::size_t>(position_);
    sizeBeforeSpace_ = bytes_.size();
    const std::size_t needed = std::max(bytes_.size(), position + count);
    if (needed > bytes_.capacity()) {
        bytes_.reserve(std::max(needed, bytes_.capacity() + bytes_.capacity() / 2));
    }
    bytes_.resize(needed);
    return bytes_.data() + position;
}

void TupMemoryStream::Filled(std::size_t count) {
    position_ += static_cast<std::int64_t>(count);
    bytes_.resize(std::max(sizeBeforeSpace_, static_cast<std::size_t>(position_)));
}

TupFileStream::TupFileStream(const std::string& path) : path_(path) {
    file_ = std::fopen(path.c_str(), "w+b");
    if (!file_) {
        throw EStreamError("Cannot create file \"" + path + "\"");
    }
    // Blocks come 4096 bytes at a time; written to the system in larger runs.
    std::setvbuf(file_, nullptr, _IOFBF, 64 * 1024);
}

void TupFileStream::Write(const char* bytes, std::size_t count) {
    if (!file_ || std::fwrite(bytes, 1, count, file_) != count) {
        throw EStreamError("Cannot write to file \"" + path_ + "\"");
    }
    position_ += static_cast<std::int64_t>(count);
    if (position_ > size_) {
        size_ = position_;
    }
}

void TupFileStream::Rewind() {
    if (file_) {
        std::fseek(file_, 0, SEEK_SET);
    }
    position_ = 0;
}

void TupFileStream::Close() {
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
    }
}

} // namespace qirelo::upgrade
