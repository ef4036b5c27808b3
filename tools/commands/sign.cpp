// qirelo-tool sign: detached signatures of update files.

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "tools/command.h"
#include "tools/key_and_files.h"
#include "tools/p256_signing.h"

namespace qirelo::tools {
namespace {

constexpr std::string_view kHelp =
    "usage: qirelo-tool sign --key PRIVATE FILE...\n"
    "\n"
    "Writes FILE.sig beside each FILE (replacing an older one): the DER ECDSA\n"
    "signature over the SHA-256 of the file's bytes with the P-256 private key\n"
    "in PRIVATE (PEM, as `qirelo-tool keygen` or OpenSSL writes it). These are\n"
    "the bytes that\n"
    "  openssl dgst -sha256 -sign PRIVATE -out FILE.sig FILE\n"
    "writes, so either can sign. The client puts a downloaded file in place\n"
    "only when FILE.sig, fetched from the file's URL + \".sig\", checks out\n"
    "against the public key built into it.\n"
    "\n"
    "Prints one line per file signed. On the first failure one line goes to\n"
    "stderr and no further file is signed.\n"
    "\n"
    "libcrypto in the Linux build, CNG in the Windows build; PRIVATE may also\n"
    "be an \"EC PRIVATE KEY\" PEM, but must hold its public key, as OpenSSL\n"
    "writes it.\n"
    "Exit status 0, 1 when a file cannot be signed, 2 for a usage error.\n";

int run(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
    const std::optional<KeyAndFiles> read = read_key_and_files(args, "sign", "PRIVATE", err);
    if (!read) {
        return kExitUsage;
    }
    const auto& [key, files] = *read;
    for (const std::string& file : files) {
        const std::string signature = file + ".sig";
        sign_file(key, file, signature);
        out << "signed " << file << " -> " << signature << "\n";
    }
    return kExitOk;
}

const Registration registration{
    {"sign", "sign update files (FILE.sig) with a P-256 private key", kHelp, run}};

} // namespace
} // namespace qirelo::tools
