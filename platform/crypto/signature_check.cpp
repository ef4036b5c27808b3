#include "platform/crypto/signature_check.h"

#include <fstream>
#include <iterator>
#include <vector>

#include "platform/crypto/p256_verifier.h"

namespace qirelo::platform::crypto {
namespace {

// A signature file is some 70 bytes; anything far larger is not one.
constexpr std::uintmax_t kMaxSignatureFileBytes = 4096;

constexpr std::size_t kHashChunkBytes = 64 * 1024;

bool non_empty_file(const std::filesystem::path& file) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    return !error && size > 0;
}

} // namespace

SignatureCheck::SignatureCheck(std::string_view public_key_pem) {
    if (public_key_pem.empty()) {
        return;
    }
    try {
        verifier_ = import_p256_verifier(p256_public_key_from_pem(public_key_pem));
    } catch (const DerError& error) {
        throw KeyError(std::string("unusable public key: ") + error.what());
    }
}

SignatureCheck::~SignatureCheck() = default;

bool SignatureCheck::verifies(const std::filesystem::path& file, Bytes signature) const {
    if (!verifier_) {
        return false;
    }
    P256Signature decoded{signature, {}};
    try {
        decoded.raw = p256_raw_signature_from_der(signature);
    } catch (const DerError&) {
        return false; // a malformed signature is a refused one
    }
    // An empty download is never put in place, signed or not.
    if (!non_empty_file(file)) {
        return false;
    }
    std::ifstream message(file, std::ios::binary);
    if (!message) {
        return false;
    }
    const std::unique_ptr<P256Verification> check = verifier_->begin();
    std::vector<char> chunk(kHashChunkBytes);
    while (message.read(chunk.data(), static_cast<std::streamsize>(chunk.size())) ||
           message.gcount() > 0) {
        check->add(chunk.data(), static_cast<std::size_t>(message.gcount()));
    }
    if (message.bad()) {
        return false; // the file could not be read to its end
    }
    return check->finish(decoded);
}

bool SignatureCheck::verifies(const std::filesystem::path& file,
                              const std::filesystem::path& signature_file) const {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(signature_file, error);
    if (error || size > kMaxSignatureFileBytes) {
        return false;
    }
    std::ifstream in(signature_file, std::ios::binary);
    if (!in) {
        return false;
    }
    const std::vector<std::uint8_t> signature{std::istreambuf_iterator<char>(in),
                                              std::istreambuf_iterator<char>()};
    return verifies(file, signature);
}

} // namespace qirelo::platform::crypto
