#pragma once

// The public key that downloaded updates must be signed with, built into the
// program from the PEM file the CMake cache variable QIRELO_UPDATE_PUBLIC_KEY
// names. A build without one refuses every downloaded file.

#include <string_view>

#include "platform/crypto/signature_check.h"

namespace qirelo::platform::crypto {

// The PEM text, empty when the build has no key.
std::string_view update_public_key_pem();

// The check of downloaded files against that key.
const SignatureCheck& update_signature_check();

} // namespace qirelo::platform::crypto
