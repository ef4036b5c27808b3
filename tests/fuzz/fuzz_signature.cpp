// Feeds arbitrary bytes to the reading of signatures and public keys, which
// stands before the crypto provider for whatever an update server sends.
// Every failure must be a DerError; a signature that is accepted must be in
// canonical DER, that is, exactly the encoding of the r and s read from it.

#include "platform/crypto/p256.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

using namespace qirelo::platform::crypto;

namespace {

std::string base64(const std::uint8_t* data, std::size_t size) {
    static constexpr char kAlphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (std::size_t i = 0; i < size; i += 3) {
        const std::uint32_t group = (data[i] << 16) | (i + 1 < size ? data[i + 1] << 8 : 0) |
                                    (i + 2 < size ? data[i + 2] : 0);
        out += kAlphabet[(group >> 18) & 63];
        out += kAlphabet[(group >> 12) & 63];
        out += i + 1 < size ? kAlphabet[(group >> 6) & 63] : '=';
        out += i + 2 < size ? kAlphabet[group & 63] : '=';
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Bytes input(data, size);
    try {
        const auto raw = p256_raw_signature_from_der(input);
        const std::vector<std::uint8_t> again = p256_der_signature_from_raw(raw);
        if (again.size() != size || !std::equal(again.begin(), again.end(), data)) {
            std::abort(); // accepted a signature that is not canonical DER
        }
    } catch (const DerError&) {
    }
    // The same bytes as the DER of a public key, and as PEM text.
    const std::string pem =
        "-----BEGIN PUBLIC KEY-----\n" + base64(data, size) + "\n-----END PUBLIC KEY-----\n";
    for (const std::string& text : {pem, std::string(reinterpret_cast<const char*>(data), size)}) {
        try {
            p256_public_key_from_pem(text);
        } catch (const DerError&) {
        }
    }
    return 0;
}
