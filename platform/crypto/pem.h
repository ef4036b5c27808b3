#pragma once

// PEM armour: "-----BEGIN LABEL-----", base64 lines, "-----END LABEL-----".

#include <cstdint>
#include <string_view>
#include <vector>

namespace qirelo::platform::crypto {

// The DER bytes inside the first block labelled `label`. Blanks and line
// breaks between base64 characters are allowed; anything else outside the
// base64 alphabet, wrong padding or a missing END line raises DerError.
std::vector<std::uint8_t> der_from_pem(std::string_view pem, std::string_view label);

} // namespace qirelo::platform::crypto
