#pragma once

// What each platform's crypto provider supplies to SignatureCheck: a P-256
// key imported once, and a check that hashes a message with SHA-256 piece by
// piece and then checks the signature over the digest.
// win32/p256_verifier.cpp (CNG) and linux/p256_verifier.cpp (libcrypto).

#include <array>
#include <cstddef>
#include <memory>

#include "platform/crypto/p256.h"

namespace qirelo::platform::crypto {

// A signature already read and checked for form: its DER bytes and the same
// values as r || s.
struct P256Signature {
    Bytes der;
    std::array<std::uint8_t, 2 * kP256FieldBytes> raw;
};

// One check in progress. Raises CryptoError when the provider fails.
class P256Verification {
public:
    virtual ~P256Verification() = default;
    virtual void add(const char* data, std::size_t size) = 0;
    // True when the signature is valid for everything added.
    virtual bool finish(const P256Signature& signature) = 0;
};

class P256Verifier {
public:
    virtual ~P256Verifier() = default;
    virtual std::unique_ptr<P256Verification> begin() const = 0;
};

// Raises KeyError when the provider refuses the key (a point not on the
// curve), CryptoError when the provider cannot be opened.
std::unique_ptr<P256Verifier> import_p256_verifier(const P256PublicKey& key);

} // namespace qirelo::platform::crypto
