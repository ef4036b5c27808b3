#pragma once

// CNG (bcrypt.dll) handles that close themselves: an algorithm provider and
// a SHA-256 hash fed piece by piece; P-256 key blobs. Failures raise
// CryptoError.

#include <windows.h>

#include <bcrypt.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/crypto/p256.h"
#include "platform/crypto/signature_check.h"

namespace qirelo::platform::crypto::cng {

inline constexpr ULONG kSha256Bytes = 32;

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

using P256Value = std::array<std::uint8_t, kP256FieldBytes>;

// BCRYPT_ECCKEY_BLOB { magic, 32 } followed by x and y, and d for a private key.
inline std::vector<UCHAR> p256_key_blob(ULONG magic, const P256Value& x, const P256Value& y,
                                        const P256Value* d = nullptr) {
    const BCRYPT_ECCKEY_BLOB header{magic, kP256FieldBytes};
    std::vector<UCHAR> blob(sizeof header);
    std::memcpy(blob.data(), &header, sizeof header);
    for (const P256Value* part : {&x, &y, d}) {
        if (part != nullptr) {
            blob.insert(blob.end(), part->begin(), part->end());
        }
    }
    return blob;
}

} // namespace qirelo::platform::crypto::cng
