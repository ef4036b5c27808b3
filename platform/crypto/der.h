#pragma once

// A strict reader of the DER encoding, enough for keys and signatures: one
// element at a time, definite lengths in their shortest form only. Anything
// else raises DerError, so a malformed input is never half understood.

#include <cstdint>
#include <span>
#include <stdexcept>

namespace qirelo::platform::crypto {

class DerError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

using Bytes = std::span<const std::uint8_t>;

namespace der_tag {
inline constexpr std::uint8_t kInteger = 0x02;
inline constexpr std::uint8_t kBitString = 0x03;
inline constexpr std::uint8_t kOctetString = 0x04;
inline constexpr std::uint8_t kObjectId = 0x06;
inline constexpr std::uint8_t kSequence = 0x30;
} // namespace der_tag

class DerReader {
public:
    explicit DerReader(Bytes input) : rest_(input) {}

    // The contents of the next element, which must carry `tag`.
    Bytes read(std::uint8_t tag);

    // The magnitude of the next INTEGER, which must be positive and minimally
    // encoded: no sign byte but the one a set top bit needs.
    Bytes read_positive_integer();

    bool at_end() const { return rest_.empty(); }

    // True when the next element carries `tag` (for optional elements).
    bool next_is(std::uint8_t tag) const { return !rest_.empty() && rest_[0] == tag; }

    // Raises DerError when anything follows what was read.
    void expect_end() const;

private:
    Bytes rest_;
};

} // namespace qirelo::platform::crypto
