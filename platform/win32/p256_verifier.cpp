// The P-256 signature check through CNG (bcrypt.dll): the key imported as a
// BCRYPT_ECCPUBLIC_BLOB, SHA-256 by a hash object, BCryptVerifySignature over
// the digest with the signature as r || s.

#include <vector>

#include "platform/crypto/p256_verifier.h"
#include "platform/crypto/signature_check.h"
#include "platform/win32/cng.h"

namespace qirelo::platform::crypto {
namespace {

using cng::Algorithm;
using cng::Hash;
using cng::kSha256Bytes;

class CngVerification final : public P256Verification {
public:
    CngVerification(const Algorithm& sha256, BCRYPT_KEY_HANDLE key) : hash_(sha256), key_(key) {}

    void add(const char* data, std::size_t size) override { hash_.add(data, size); }

    bool finish(const P256Signature& signature) override {
        std::array<UCHAR, kSha256Bytes> digest = hash_.finish();
        std::array<UCHAR, 2 * kP256FieldBytes> raw = signature.raw;
        return BCRYPT_SUCCESS(BCryptVerifySignature(key_, nullptr, digest.data(), kSha256Bytes,
                                                    raw.data(), static_cast<ULONG>(raw.size()), 0));
    }

private:
    Hash hash_;
    BCRYPT_KEY_HANDLE key_;
};

class CngVerifier final : public P256Verifier {
public:
    explicit CngVerifier(const P256PublicKey& key)
        : ecdsa_(BCRYPT_ECDSA_P256_ALGORITHM), sha256_(BCRYPT_SHA256_ALGORITHM) {
        std::vector<UCHAR> blob = cng::p256_key_blob(BCRYPT_ECDSA_PUBLIC_P256_MAGIC, key.x, key.y);
        if (!BCRYPT_SUCCESS(BCryptImportKeyPair(ecdsa_.get(), nullptr, BCRYPT_ECCPUBLIC_BLOB, &key_,
                                                blob.data(), static_cast<ULONG>(blob.size()), 0))) {
            throw KeyError("the public key is not a point of P-256");
        }
    }
    ~CngVerifier() override { BCryptDestroyKey(key_); }

    std::unique_ptr<P256Verification> begin() const override {
        return std::make_unique<CngVerification>(sha256_, key_);
    }

private:
    Algorithm ecdsa_;
    Algorithm sha256_;
    BCRYPT_KEY_HANDLE key_ = nullptr;
};

} // namespace

std::unique_ptr<P256Verifier> import_p256_verifier(const P256PublicKey& key) {
    return std::make_unique<CngVerifier>(key);
}

} // namespace qirelo::platform::crypto
