// Key pairs and signatures through OpenSSL's libcrypto.

#include <openssl/core_names.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/pem.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "tools/p256_signing.h"
#include "tools/signature_file.h"

namespace qirelo::tools {
namespace {

namespace fs = std::filesystem;

struct PkeyFree {
    void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};
struct MdCtxFree {
    void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
};
struct FileClose {
    void operator()(FILE* file) const { std::fclose(file); }
};
using Pkey = std::unique_ptr<EVP_PKEY, PkeyFree>;
using File = std::unique_ptr<FILE, FileClose>;

// libcrypto's reason for the last failure, cleared from its queue.
std::string libcrypto_reason() {
    const unsigned long code = ERR_get_error();
    ERR_clear_error();
    if (code == 0) {
        return "libcrypto failed";
    }
    char text[256];
    ERR_error_string_n(code, text, sizeof text);
    return text;
}

// Creates `path` for writing; it must not exist yet.
File create_new(const fs::path& path, mode_t mode) {
    const int descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, mode);
    if (descriptor < 0) {
        throw SigningError(
            path.string() + ": " +
            (errno == EEXIST ? "already exists; a key is never overwritten" : "cannot be created"));
    }
    return File(::fdopen(descriptor, "w"));
}

void finish(File file, const fs::path& path) {
    const bool written = std::fflush(file.get()) == 0 && !std::ferror(file.get());
    if (std::fclose(file.release()) != 0 || !written) {
        throw SigningError(path.string() + ": cannot be written");
    }
}

bool is_p256(EVP_PKEY* key) {
    char group[64] = {};
    return EVP_PKEY_is_a(key, "EC") &&
           EVP_PKEY_get_utf8_string_param(key, OSSL_PKEY_PARAM_GROUP_NAME, group, sizeof group,
                                          nullptr) == 1 &&
           std::string(group) == "prime256v1";
}

Pkey read_private_key(const fs::path& path) {
    const File file(std::fopen(path.c_str(), "r"));
    if (!file) {
        throw SigningError(path.string() + ": cannot be read");
    }
    Pkey key(PEM_read_PrivateKey(file.get(), nullptr, nullptr, nullptr));
    if (!key) {
        throw SigningError(path.string() + ": no PEM private key (" + libcrypto_reason() + ")");
    }
    if (!is_p256(key.get())) {
        throw SigningError(path.string() + ": not a P-256 key");
    }
    return key;
}

std::vector<std::uint8_t> signature_of(EVP_PKEY* key, const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw SigningError(path.string() + ": cannot be read");
    }
    const std::unique_ptr<EVP_MD_CTX, MdCtxFree> context(EVP_MD_CTX_new());
    if (!context || EVP_DigestSignInit(context.get(), nullptr, EVP_sha256(), nullptr, key) != 1) {
        throw SigningError(libcrypto_reason());
    }
    std::vector<char> chunk(64 * 1024);
    while (in.read(chunk.data(), static_cast<std::streamsize>(chunk.size())) || in.gcount() > 0) {
        if (EVP_DigestSignUpdate(context.get(), chunk.data(),
                                 static_cast<std::size_t>(in.gcount())) != 1) {
            throw SigningError(libcrypto_reason());
        }
    }
    if (in.bad()) {
        throw SigningError(path.string() + ": cannot be read to its end");
    }
    std::size_t size = 0;
    if (EVP_DigestSignFinal(context.get(), nullptr, &size) != 1) {
        throw SigningError(libcrypto_reason());
    }
    std::vector<std::uint8_t> signature(size);
    if (EVP_DigestSignFinal(context.get(), signature.data(), &size) != 1) {
        throw SigningError(libcrypto_reason());
    }
    signature.resize(size);
    return signature;
}

} // namespace

void generate_p256_key_pair(const fs::path& private_key, const fs::path& public_key) {
    for (const fs::path& path : {private_key, public_key}) {
        if (fs::exists(path)) {
            throw SigningError(path.string() + ": already exists; a key is never overwritten");
        }
    }
    const Pkey key(EVP_EC_gen("P-256"));
    if (!key) {
        throw SigningError(libcrypto_reason());
    }
    File private_file = create_new(private_key, 0600);
    if (PEM_write_PrivateKey(private_file.get(), key.get(), nullptr, nullptr, 0, nullptr,
                             nullptr) != 1) {
        throw SigningError(private_key.string() + ": " + libcrypto_reason());
    }
    finish(std::move(private_file), private_key);
    try {
        File public_file = create_new(public_key, 0644);
        if (PEM_write_PUBKEY(public_file.get(), key.get()) != 1) {
            throw SigningError(public_key.string() + ": " + libcrypto_reason());
        }
        finish(std::move(public_file), public_key);
    } catch (const SigningError&) {
        // Half a pair is of no use, and would block the next try.
        fs::remove(private_key);
        throw;
    }
}

void sign_file(const fs::path& private_key, const fs::path& file, const fs::path& signature) {
    const Pkey key = read_private_key(private_key);
    write_signature_file(signature, signature_of(key.get(), file));
}

} // namespace qirelo::tools
