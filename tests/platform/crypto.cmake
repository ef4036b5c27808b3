# Signature checks: the portable reading of keys and signatures, and the
# provider's check (libcrypto natively, CNG under Wine) over committed
# fixtures, embedded so the Windows tests need no path into the source tree.
qirelo_embed_files(OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/generated/tests/platform/crypto/fixtures.h
    NAMESPACE qirelo::platform::crypto::fixtures
    NAMES kTestPublicKey kTestPrivateKey kOtherPublicKey kPayload kPayloadSig kPayloadShortRSig kPayloadOtherSig
    FILES ${PROJECT_SOURCE_DIR}/tests/keys/update_test_public.pem
          ${PROJECT_SOURCE_DIR}/tests/keys/update_test_private.pem
          ${CMAKE_CURRENT_SOURCE_DIR}/crypto/data/other_public.pem
          ${CMAKE_CURRENT_SOURCE_DIR}/crypto/data/payload.bin
          ${CMAKE_CURRENT_SOURCE_DIR}/crypto/data/payload.bin.sig
          ${CMAKE_CURRENT_SOURCE_DIR}/crypto/data/payload.bin.short_r.sig
          ${CMAKE_CURRENT_SOURCE_DIR}/crypto/data/payload.bin.other.sig)
qirelo_add_test(NAME platform_crypto_test
    SOURCES crypto/p256_test.cpp crypto/signature_check_test.cpp
    LIBS qirelo_platform_crypto qirelo_update_key)
target_include_directories(platform_crypto_test PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/generated)
