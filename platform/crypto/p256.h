#pragma once

// The pieces of ECDSA over P-256 that are plain data: the public key as its
// two coordinates, and the signature as the fixed-size r || s that CNG takes,
// read from the DER form that OpenSSL and the signing tool write.

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/crypto/der.h"

namespace qirelo::platform::crypto {

inline constexpr std::size_t kP256FieldBytes = 32;

struct P256PublicKey {
    std::array<std::uint8_t, kP256FieldBytes> x{};
    std::array<std::uint8_t, kP256FieldBytes> y{};
    std::vector<std::uint8_t> subject_public_key_info; // the DER the PEM held
};

// Reads a "PUBLIC KEY" PEM block (SubjectPublicKeyInfo) that holds an
// uncompressed P-256 point. Any other algorithm, curve or encoding raises
// DerError. Whether the point lies on the curve is the crypto provider's
// check, made when the key is imported.
P256PublicKey p256_public_key_from_pem(std::string_view pem);

// r || s, each left-padded to 32 bytes, from a DER ECDSA-Sig-Value
// (SEQUENCE { INTEGER r, INTEGER s }). Raises DerError for anything that is
// not exactly that in canonical DER, and for r or s outside 1 .. n - 1.
std::array<std::uint8_t, 2 * kP256FieldBytes> p256_raw_signature_from_der(Bytes der);

// The canonical DER of r || s, as CNG's signatures are written to FILE.sig:
// what p256_raw_signature_from_der reads back.
std::vector<std::uint8_t>
p256_der_signature_from_raw(const std::array<std::uint8_t, 2 * kP256FieldBytes>& raw);

} // namespace qirelo::platform::crypto
