#pragma once

// Detached signatures of downloaded files: ECDSA over P-256 of the SHA-256 of
// the file's bytes, DER-encoded (what `openssl dgst -sha256 -sign` and
// `qirelo-tool sign` write), checked against one public key. CNG on Windows,
// libcrypto on Linux; the reading of keys and signatures is our own and the
// same on both, so both refuse the same malformed input.

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string_view>

#include "platform/crypto/der.h"

namespace qirelo::platform::crypto {

// The public key cannot be used: not a P-256 SubjectPublicKeyInfo PEM, or the
// crypto provider refuses it.
class KeyError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The crypto provider itself failed (not a refused signature).
class CryptoError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class P256Verifier; // the provider's imported key

class SignatureCheck {
public:
    // An empty `public_key_pem` gives a check that refuses every file, as a
    // build without an update key must. Raises KeyError for a key it cannot use.
    explicit SignatureCheck(std::string_view public_key_pem);
    ~SignatureCheck();
    SignatureCheck(const SignatureCheck&) = delete;
    SignatureCheck& operator=(const SignatureCheck&) = delete;

    bool has_key() const { return verifier_ != nullptr; }

    // True only when `signature` is a valid signature of the file's bytes
    // under the key. False for everything else: no key, a malformed or wrong
    // signature, a file that is empty or cannot be read. Raises CryptoError
    // only when the provider fails.
    bool verifies(const std::filesystem::path& file, Bytes signature) const;

    // The same with the signature read from `signature_file` (FILE.sig); a
    // missing signature file is a refusal.
    bool verifies(const std::filesystem::path& file,
                  const std::filesystem::path& signature_file) const;

private:
    std::unique_ptr<P256Verifier> verifier_;
};

} // namespace qirelo::platform::crypto
