# qirelo_platform_crypto: detached ECDSA P-256 signatures of downloaded files.
# Reading keys and signatures is portable; the check itself is CNG (bcrypt)
# on Windows and OpenSSL's libcrypto elsewhere.
add_library(qirelo_platform_crypto STATIC
    crypto/der.cpp
    crypto/pem.cpp
    crypto/p256.cpp
    crypto/signature_check.cpp
)
target_include_directories(qirelo_platform_crypto PUBLIC ${PROJECT_SOURCE_DIR})
if(WIN32)
    target_sources(qirelo_platform_crypto PRIVATE win32/p256_verifier.cpp)
    target_link_libraries(qirelo_platform_crypto PRIVATE bcrypt)
else()
    find_package(OpenSSL REQUIRED COMPONENTS Crypto)
    target_sources(qirelo_platform_crypto PRIVATE linux/p256_verifier.cpp)
    target_link_libraries(qirelo_platform_crypto PRIVATE OpenSSL::Crypto)
endif()

# qirelo_update_key: the public key updates must be signed with, built into
# the program. No key: the program accepts no downloaded file at all.
set(QIRELO_UPDATE_PUBLIC_KEY "" CACHE FILEPATH
    "PEM file of the P-256 public key (SubjectPublicKeyInfo) that downloaded updates must be signed with; empty: no update is accepted")
set(QIRELO_TEST_UPDATE_PUBLIC_KEY ${PROJECT_SOURCE_DIR}/tests/keys/update_test_public.pem)
if(QIRELO_UPDATE_PUBLIC_KEY)
    file(READ ${QIRELO_UPDATE_PUBLIC_KEY} key_text)
    # A P-256 SubjectPublicKeyInfo is always 91 bytes, 124 base64 characters,
    # and begins with the same algorithm identifier and the 04 of an
    # uncompressed point: refuse anything else now rather than at run time.
    string(REGEX REPLACE "[ \t\r\n]" "" key_base64 "${key_text}")
    set(key_body "")
    if(key_base64 MATCHES "^-----BEGINPUBLICKEY-----(MFkwEwYHKoZIzj0CAQYIKoZIzj0DAQcDQgAE[A-Za-z0-9+/]+=*)-----ENDPUBLICKEY-----$")
        set(key_body ${CMAKE_MATCH_1})
    endif()
    string(LENGTH "${key_body}" key_body_length)
    if(NOT key_body_length EQUAL 124)
        message(FATAL_ERROR "QIRELO_UPDATE_PUBLIC_KEY: ${QIRELO_UPDATE_PUBLIC_KEY} is not a PEM "
            "P-256 public key (qirelo-tool keygen writes one)")
    endif()
    file(READ ${QIRELO_TEST_UPDATE_PUBLIC_KEY} test_key_text)
    if(key_text STREQUAL test_key_text)
        message(WARNING "QIRELO_UPDATE_PUBLIC_KEY is the test key, whose private half is in the "
            "repository: anyone can sign updates for this build. Never ship it.")
    endif()
    set(update_key_file ${QIRELO_UPDATE_PUBLIC_KEY})
else()
    set(update_key_file ${CMAKE_CURRENT_BINARY_DIR}/no_update_key.pem)
    file(CONFIGURE OUTPUT ${update_key_file} CONTENT "")
endif()
qirelo_embed_files(OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/generated/platform/crypto/update_key_pem.h
    NAMESPACE qirelo::platform::crypto::generated
    NAMES kUpdatePublicKeyPem FILES ${update_key_file})
add_library(qirelo_update_key STATIC crypto/update_key.cpp)
target_include_directories(qirelo_update_key PUBLIC ${PROJECT_SOURCE_DIR}
    PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/generated)
target_link_libraries(qirelo_update_key PUBLIC qirelo_platform_crypto)
