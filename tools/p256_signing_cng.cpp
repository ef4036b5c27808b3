// Signatures through CNG (bcrypt.dll), for the Windows build of the tool:
// the private key read from its PEM, imported as a BCRYPT_ECCPRIVATE_BLOB,
// the file hashed with SHA-256 and signed, r || s written as DER. New keys
// are made by the Linux build (see p256_signing.h).

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/win32/cng.h"
#include "tools/p256_private_key.h"
#include "tools/p256_signing.h"
#include "tools/signature_file.h"

namespace qirelo::tools {
namespace {

namespace fs = std::filesystem;
namespace crypto = platform::crypto;

std::string read_text(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw SigningError(path.string() + ": cannot be read");
    }
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class PrivateKey {
public:
    PrivateKey(const crypto::cng::Algorithm& ecdsa, const P256PrivateKey& key) {
        std::vector<UCHAR> blob =
            crypto::cng::p256_key_blob(BCRYPT_ECDSA_PRIVATE_P256_MAGIC, key.x, key.y, &key.d);
        const NTSTATUS status =
            BCryptImportKeyPair(ecdsa.get(), nullptr, BCRYPT_ECCPRIVATE_BLOB, &handle_, blob.data(),
                                static_cast<ULONG>(blob.size()), 0);
        SecureZeroMemory(blob.data(), blob.size());
        if (!BCRYPT_SUCCESS(status)) {
            throw SigningError("CNG refuses the private key");
        }
    }
    ~PrivateKey() { BCryptDestroyKey(handle_); }
    PrivateKey(const PrivateKey&) = delete;
    PrivateKey& operator=(const PrivateKey&) = delete;

    std::array<std::uint8_t, 2 * crypto::kP256FieldBytes>
    sign(std::array<UCHAR, crypto::cng::kSha256Bytes> digest) const {
        std::array<std::uint8_t, 2 * crypto::kP256FieldBytes> raw{};
        ULONG written = 0;
        if (!BCRYPT_SUCCESS(BCryptSignHash(handle_, nullptr, digest.data(),
                                           static_cast<ULONG>(digest.size()), raw.data(),
                                           static_cast<ULONG>(raw.size()), &written, 0)) ||
            written != raw.size()) {
            throw SigningError("CNG cannot sign");
        }
        return raw;
    }

private:
    BCRYPT_KEY_HANDLE handle_ = nullptr;
};

std::array<UCHAR, crypto::cng::kSha256Bytes> sha256_of(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw SigningError(path.string() + ": cannot be read");
    }
    const crypto::cng::Algorithm sha256(BCRYPT_SHA256_ALGORITHM);
    crypto::cng::Hash hash(sha256);
    std::vector<char> chunk(64 * 1024);
    while (in.read(chunk.data(), static_cast<std::streamsize>(chunk.size())) || in.gcount() > 0) {
        hash.add(chunk.data(), static_cast<std::size_t>(in.gcount()));
    }
    if (in.bad()) {
        throw SigningError(path.string() + ": cannot be read to its end");
    }
    return hash.finish();
}

} // namespace

void generate_p256_key_pair(const fs::path&, const fs::path&) {
    throw SigningUnavailable("keys are made by the Linux build of qirelo-tool (or by openssl)");
}

void sign_file(const fs::path& private_key, const fs::path& file, const fs::path& signature) {
    const P256PrivateKey key = p256_private_key_from_pem(read_text(private_key));
    const crypto::cng::Algorithm ecdsa(BCRYPT_ECDSA_P256_ALGORITHM);
    const PrivateKey cng_key(ecdsa, key);
    write_signature_file(signature,
                         crypto::p256_der_signature_from_raw(cng_key.sign(sha256_of(file))));
}

} // namespace qirelo::tools
