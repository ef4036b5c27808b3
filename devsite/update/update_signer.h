#pragma once

// The publisher's side of signed updates, played by the companion: with a
// P-256 private key given on its command line it signs each uploaded program
// file it serves, so "/setup/NAME.sig" answers what `qirelo-tool sign` would
// have written for NAME.

#include <filesystem>
#include <string>
#include <string_view>

namespace qirelo::devsite {

class UpdateSigner {
public:
    // Reads the key by signing a probe: tools::SigningError when it is not a
    // usable P-256 private key (PEM).
    explicit UpdateSigner(std::filesystem::path private_key);

    // The DER ECDSA signature over the SHA-256 of `bytes`.
    std::string signature_of(std::string_view bytes) const;

private:
    std::filesystem::path private_key_;
};

} // namespace qirelo::devsite
