// The P-256 signature check through CNG (bcrypt.dll): the key imported as a
// BCRYPT_ECCPUBLIC_BLOB, SHA-256 by a hash object, BCryptVerifySignature over
// the digest with the signature as r || s.

#include <windows.h>

#include <bcrypt.h>

#include <cstring>
#include <vector>

#include "platform/crypto/p256_verifier.h"
#include "platform/crypto/signature_check.h"

namespace qirelo::platform::crypto {
namespace {

constexpr ULONG kSha256Bytes = 32;

class Algorithm {
public:
    explicit Algorithm(LPCWSTR name) {
        if (!BCRYPT_SUCCESS(BCryptOpenAlgorithmProvider(&handle_, name, nullptr, 0))) {
            throw CryptoError("CNG cannot open its provider");
        }
    }
    ~Algorithm() { BCryptCloseAlgorithmProvider(handle_, 0); }
    Algorithm(const Algorithm&) = delete;
    Algorithm& operator=(const Algorithm&) = delete;

    BCRYPT_ALG_HANDLE get() const { return handle_; }

private:
    BCRYPT_ALG_HANDLE handle_ = nullptr;
};

class Hash {
public:
    explicit Hash(const Algorithm& sha256) {
        if (!BCRYPT_SUCCESS(BCryptCreateHash(sha256.get(), &handle_, nullptr, 0, nullptr, 0, 0))) {
            throw CryptoError("CNG cannot create a SHA-256 hash");
        }
    }
    ~Hash() { BCryptDestroyHash(handle_); }
    Hash(const Hash&) = delete;
    Hash& operator=(const Hash&) = delete;

    void add(const char* data, std::size_t size) {
        if (!BCRYPT_SUCCESS(BCryptHashData(handle_,
                                           reinterpret_cast<PUCHAR>(const_cast<char*>(data)),
                                           static_cast<ULONG>(size), 0))) {
            throw CryptoError("CNG cannot hash the file");
        }
    }

    std::array<UCHAR, kSha256Bytes> finish() {
        std::array<UCHAR, kSha256Bytes> digest{};
        if (!BCRYPT_SUCCESS(BCryptFinishHash(handle_, digest.data(), kSha256Bytes, 0))) {
            throw CryptoError("CNG cannot finish the hash");
        }
        return digest;
    }

private:
    BCRYPT_HASH_HANDLE handle_ = nullptr;
};

// BCRYPT_ECCKEY_BLOB { magic, key length } followed by x and y.
std::vector<UCHAR> public_blob(const P256PublicKey& key) {
    std::vector<UCHAR> blob(sizeof(BCRYPT_ECCKEY_BLOB) + 2 * kP256FieldBytes);
    const BCRYPT_ECCKEY_BLOB header{BCRYPT_ECDSA_PUBLIC_P256_MAGIC, kP256FieldBytes};
    std::memcpy(blob.data(), &header, sizeof header);
    std::memcpy(blob.data() + sizeof header, key.x.data(), kP256FieldBytes);
    std::memcpy(blob.data() + sizeof header + kP256FieldBytes, key.y.data(), kP256FieldBytes);
    return blob;
}

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
        std::vector<UCHAR> blob = public_blob(key);
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
