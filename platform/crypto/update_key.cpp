#include "platform/crypto/update_key.h"

#include "platform/crypto/update_key_pem.h"

namespace qirelo::platform::crypto {

std::string_view update_public_key_pem() {
    return generated::kUpdatePublicKeyPem;
}

const SignatureCheck& update_signature_check() {
    static const SignatureCheck check(update_public_key_pem());
    return check;
}

} // namespace qirelo::platform::crypto
