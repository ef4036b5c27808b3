#pragma once

// A P-256 private key as the signing tool reads it from PEM: the secret
// scalar and the public point stored with it.

#include <array>
#include <cstdint>
#include <string_view>

#include "platform/crypto/p256.h"

namespace qirelo::tools {

struct P256PrivateKey {
    std::array<std::uint8_t, platform::crypto::kP256FieldBytes> d{};
    std::array<std::uint8_t, platform::crypto::kP256FieldBytes> x{};
    std::array<std::uint8_t, platform::crypto::kP256FieldBytes> y{};
};

// Reads a "PRIVATE KEY" (PKCS#8) or "EC PRIVATE KEY" (SEC 1) PEM block that
// holds a P-256 key together with its public point, as OpenSSL and
// `qirelo-tool keygen` write them. Anything else raises SigningError.
P256PrivateKey p256_private_key_from_pem(std::string_view pem);

} // namespace qirelo::tools
