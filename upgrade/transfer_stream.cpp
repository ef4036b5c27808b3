#include "upgrade/transfer_stream.h"

namespace qirelo::upgrade {

void TupMemoryStream::Write(const char* bytes, std::size_t count) {
    if (position_ == Size()) {
        bytes_.append(bytes, count);
    } else {
        bytes_.replace(static_cast<std::size_t>(position_), count, bytes, count);
    }
    position_ += static_cast<std::int64_t>(count);
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
