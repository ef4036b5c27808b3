#include "platform/crypto/der.h"

#include <cstddef>

namespace qirelo::platform::crypto {
namespace {

// Keys and signatures are short: four length bytes are more than enough.
constexpr std::size_t kMaxLengthBytes = 4;

} // namespace

Bytes DerReader::read(std::uint8_t tag) {
    if (rest_.size() < 2) {
        throw DerError("DER element cut short");
    }
    if (rest_[0] != tag) {
        throw DerError("unexpected DER tag");
    }
    std::size_t length = rest_[1];
    std::size_t header = 2;
    if (length & 0x80) {
        const std::size_t count = length & 0x7F;
        if (count == 0 || count > kMaxLengthBytes || rest_.size() < 2 + count) {
            throw DerError("bad DER length");
        }
        length = 0;
        for (std::size_t i = 0; i < count; ++i) {
            length = (length << 8) | rest_[2 + i];
        }
        if (rest_[2] == 0 || length < 0x80) {
            throw DerError("DER length not in its shortest form");
        }
        header += count;
    }
    if (rest_.size() - header < length) {
        throw DerError("DER element longer than its input");
    }
    const Bytes contents = rest_.subspan(header, length);
    rest_ = rest_.subspan(header + length);
    return contents;
}

Bytes DerReader::read_positive_integer() {
    Bytes value = read(der_tag::kInteger);
    if (value.empty()) {
        throw DerError("empty DER integer");
    }
    if (value[0] & 0x80) {
        throw DerError("negative DER integer");
    }
    if (value[0] == 0) {
        if (value.size() == 1) {
            throw DerError("zero DER integer");
        }
        if (!(value[1] & 0x80)) {
            throw DerError("DER integer not in its shortest form");
        }
        value = value.subspan(1);
    }
    return value;
}

void DerReader::expect_end() const {
    if (!at_end()) {
        throw DerError("data after the DER element");
    }
}

} // namespace qirelo::platform::crypto
