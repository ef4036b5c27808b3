// The Windows build of qirelo-tool does not sign: see p256_signing.h.

#include "tools/p256_signing.h"

namespace qirelo::tools {
namespace {

[[noreturn]] void unavailable() {
    throw SigningUnavailable("keys and signatures are made by the Linux build of qirelo-tool");
}

} // namespace

void generate_p256_key_pair(const std::filesystem::path&, const std::filesystem::path&) {
    unavailable();
}

void sign_file(const std::filesystem::path&, const std::filesystem::path&,
               const std::filesystem::path&) {
    unavailable();
}

} // namespace qirelo::tools
