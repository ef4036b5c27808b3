#pragma once

// The targets a transfer writes its body to: memory, or a file.

#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>

namespace qirelo::upgrade {

// A stream failure: the output file could not be created or written.
class EStreamError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TupStream {
public:
    virtual ~TupStream() = default;
    virtual void Write(const char* bytes, std::size_t count) = 0;
    virtual std::int64_t Size() const = 0;
    virtual std::int64_t Position() const = 0;
    virtual void Rewind() = 0;
};

class TupMemoryStream final : public TupStream {
public:
    void Write(const char* bytes, std::size_t count) override;
    std::int64_t Size() const override { return static_cast<std::int64_t>(bytes_.size()); }
    std::int64_t Position() const override { return position_; }
    void Rewind() override { position_ = 0; }

    // Room for `size` bytes ahead, so the body does not regrow it.
    void Reserve(std::size_t size) { bytes_.reserve(size); }
    const std::string& Bytes() const { return bytes_; }
    // Hands the bytes over without copying them; the stream is empty after.
    std::string TakeBytes();

    // Space for up to `count` bytes at the position, for a reader to fill in
    // place; Filled then says how many it wrote. The stream grows by at least
    // half of what it holds when it must, so a body of unknown length is
    // moved a few times, not once per block.
    char* SpaceFor(std::size_t count);
    void Filled(std::size_t count);

private:
    std::string bytes_;
    std::int64_t position_ = 0;
    // The size before SpaceFor, while a reader fills the space.
    std::size_t sizeBeforeSpace_ = 0;
};

// A file opened for reading and writing, shared, created new or emptied.
class TupFileStream final : public TupStream {
public:
    // Raises EStreamError when the file cannot be created.
    explicit TupFileStream(const std::string& path);
    ~TupFileStream() override { Close(); }
    TupFileStream(const TupFileStream&) = delete;
    TupFileStream& operator=(const TupFileStream&) = delete;

    void Write(const char* bytes, std::size_t count) override;
    std::int64_t Size() const override { return size_; }
    std::int64_t Position() const override { return position_; }
    void Rewind() override;
    void Close();
    const std::string& Path() const { return path_; }

private:
    std::string path_;
    std::FILE* file_ = nullptr;
    std::int64_t size_ = 0;
    std::int64_t position_ = 0;
};

} // namespace qirelo::upgrade
