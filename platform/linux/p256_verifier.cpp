// The P-256 signature check through OpenSSL's libcrypto.

#include <openssl/evp.h>
#include <openssl/x509.h>

#include "platform/crypto/p256_verifier.h"
#include "platform/crypto/signature_check.h"

namespace qirelo::platform::crypto {
namespace {

struct PkeyFree {
    void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};
struct MdCtxFree {
    void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
};

class LibcryptoVerification final : public P256Verification {
public:
    explicit LibcryptoVerification(EVP_PKEY* key) : context_(EVP_MD_CTX_new()) {
        if (!context_ ||
            EVP_DigestVerifyInit(context_.get(), nullptr, EVP_sha256(), nullptr, key) != 1) {
            throw CryptoError("libcrypto cannot start a signature check");
        }
    }

    void add(const char* data, std::size_t size) override {
        if (EVP_DigestVerifyUpdate(context_.get(), data, size) != 1) {
            throw CryptoError("libcrypto cannot hash the file");
        }
    }

    // 1 is a valid signature, 0 a wrong one, anything else libcrypto's own
    // refusal of a signature that our reading let through.
    bool finish(const P256Signature& signature) override {
        return EVP_DigestVerifyFinal(context_.get(), signature.der.data(), signature.der.size()) ==
               1;
    }

private:
    std::unique_ptr<EVP_MD_CTX, MdCtxFree> context_;
};

class LibcryptoVerifier final : public P256Verifier {
public:
    explicit LibcryptoVerifier(const P256PublicKey& key) {
        const unsigned char* der = key.subject_public_key_info.data();
        key_.reset(
            d2i_PUBKEY(nullptr, &der, static_cast<long>(key.subject_public_key_info.size())));
        if (!key_) {
            throw KeyError("the public key is not a point of P-256");
        }
    }

    std::unique_ptr<P256Verification> begin() const override {
        return std::make_unique<LibcryptoVerification>(key_.get());
    }

private:
    std::unique_ptr<EVP_PKEY, PkeyFree> key_;
};

} // namespace

std::unique_ptr<P256Verifier> import_p256_verifier(const P256PublicKey& key) {
    return std::make_unique<LibcryptoVerifier>(key);
}

} // namespace qirelo::platform::crypto
