// qirelo-tool verify: the client's own check of a file against FILE.sig.

#include <fstream>
#include <iterator>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/crypto/signature_check.h"
#include "tools/command.h"
#include "tools/key_and_files.h"

namespace qirelo::tools {
namespace {

constexpr std::string_view kHelp =
    "usage: qirelo-tool verify --key PUBLIC FILE...\n"
    "\n"
    "Checks each FILE against FILE.sig with the P-256 public key in PUBLIC\n"
    "(PEM), exactly as the client checks a downloaded file against the key\n"
    "built into it: CNG in the Windows build, libcrypto in the Linux build.\n"
    "Prints \"good FILE\" or \"BAD FILE\" per file. A missing, malformed or\n"
    "wrong signature and an empty FILE are all BAD.\n"
    "\n"
    "Exit status 0 when every file is good, 1 when one is bad or the key cannot\n"
    "be used, 2 for a usage error.\n";

std::string read_text(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw platform::crypto::KeyError(path + ": cannot be read");
    }
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int run(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
    const std::optional<KeyAndFiles> read = read_key_and_files(args, "verify", "PUBLIC", err);
    if (!read) {
        return kExitUsage;
    }
    const auto& [key, files] = *read;
    const std::string pem = read_text(key);
    if (pem.empty()) {
        throw platform::crypto::KeyError(key + ": empty");
    }
    const platform::crypto::SignatureCheck check(pem);
    bool all_good = true;
    for (const std::string& file : files) {
        const bool good = check.verifies(file, std::filesystem::path(file + ".sig"));
        out << (good ? "good " : "BAD ") << file << "\n";
        all_good = all_good && good;
    }
    return all_good ? kExitOk : kExitFailed;
}

const Registration registration{
    {"verify", "check files against FILE.sig as the client does", kHelp, run}};

} // namespace
} // namespace qirelo::tools
