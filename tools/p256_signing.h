#pragma once

// Key pairs and signatures for publishing updates: what `qirelo-tool keygen`
// and `qirelo-tool sign` do. OpenSSL's libcrypto on Linux; CNG in the Windows
// build, which signs with a key made elsewhere but makes no keys itself (it
// raises SigningUnavailable): a key pair is made once, on the Linux build or
// with openssl.

#include <filesystem>
#include <stdexcept>

namespace qirelo::tools {

class SigningError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class SigningUnavailable : public SigningError {
public:
    using SigningError::SigningError;
};

// A new P-256 key pair: the private key as unencrypted PKCS#8 PEM ("PRIVATE
// KEY", readable by its owner only), the public key as SubjectPublicKeyInfo
// PEM ("PUBLIC KEY"), as OpenSSL writes them. Neither file may exist yet: a
// key is never overwritten.
void generate_p256_key_pair(const std::filesystem::path& private_key,
                            const std::filesystem::path& public_key);

// Writes `signature` (replacing it): the DER ECDSA signature over the SHA-256
// of the file's bytes with the P-256 private key in `private_key` (PEM), the
// bytes `openssl dgst -sha256 -sign` writes.
void sign_file(const std::filesystem::path& private_key, const std::filesystem::path& file,
               const std::filesystem::path& signature);

} // namespace qirelo::tools
