// Reading P-256 public keys (PEM SubjectPublicKeyInfo) and DER signatures:
// the portable part that both providers rely on to refuse malformed input.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/crypto/p256.h"
#include "platform/crypto/pem.h"
#include "tests/platform/crypto/fixtures.h"

namespace qirelo::platform::crypto {
namespace {

using Raw = std::array<std::uint8_t, 64>;
using ByteVector = std::vector<std::uint8_t>;

ByteVector bytes_of(std::string_view text) {
    return {text.begin(), text.end()};
}

// resize and copy: GCC 12 warns falsely about vector::insert of small vectors.
void append(ByteVector& to, const ByteVector& more) {
    const std::size_t size = to.size();
    to.resize(size + more.size());
    std::copy(more.begin(), more.end(), to.begin() + static_cast<std::ptrdiff_t>(size));
}

ByteVector element(std::uint8_t tag, const ByteVector& contents) {
    ByteVector out{tag, static_cast<std::uint8_t>(contents.size())};
    append(out, contents);
    return out;
}

ByteVector integer(const ByteVector& contents) {
    return element(der_tag::kInteger, contents);
}

ByteVector sequence(std::initializer_list<ByteVector> parts) {
    ByteVector contents;
    for (const ByteVector& part : parts) {
        append(contents, part);
    }
    return element(der_tag::kSequence, contents);
}

ByteVector filled(std::size_t size, std::uint8_t value) {
    return ByteVector(size, value);
}

bool refused(const ByteVector& der) {
    try {
        p256_raw_signature_from_der(der);
        return false;
    } catch (const DerError&) {
        return true;
    }
}

TEST(P256Signature, OpenSslSignatureBecomesRAndSPaddedTo32Bytes) {
    // r is 31 bytes long here, s 33 with its sign byte.
    const Raw raw = p256_raw_signature_from_der(bytes_of(fixtures::kPayloadShortRSig));
    const ByteVector der = bytes_of(fixtures::kPayloadShortRSig);
    ASSERT_EQ(der[3], 31);
    EXPECT_EQ(raw[0], 0); // the padding
    EXPECT_TRUE(std::equal(raw.begin() + 1, raw.begin() + 32, der.begin() + 4));
    ASSERT_EQ(der[4 + 31 + 1], 33);
    EXPECT_EQ(der[4 + 31 + 2], 0); // the sign byte is dropped
    EXPECT_TRUE(std::equal(raw.begin() + 32, raw.end(), der.begin() + 4 + 31 + 3));
}

TEST(P256Signature, SmallValuesAreRightAligned) {
    const Raw raw = p256_raw_signature_from_der(sequence({integer({0x01}), integer({0x00, 0x80})}));
    Raw expected{};
    expected[31] = 0x01;
    expected[63] = 0x80;
    EXPECT_EQ(raw, expected);
}

TEST(P256Signature, RAndSWrittenBackAsCanonicalDer) {
    for (const std::string_view signature :
         {fixtures::kPayloadSig, fixtures::kPayloadShortRSig, fixtures::kPayloadOtherSig}) {
        const ByteVector der = bytes_of(signature);
        EXPECT_EQ(p256_der_signature_from_raw(p256_raw_signature_from_der(der)), der);
    }
    Raw raw{};
    raw[31] = 0x01;
    raw[63] = 0x80;
    EXPECT_EQ(p256_der_signature_from_raw(raw), sequence({integer({0x01}), integer({0x00, 0x80})}));
}

TEST(P256Signature, MalformedDerIsRefused) {
    const ByteVector r = integer(filled(32, 0x11));
    const ByteVector s = integer(filled(32, 0x22));
    ASSERT_FALSE(refused(sequence({r, s})));

    EXPECT_TRUE(refused({}));
    EXPECT_TRUE(refused(bytes_of("garbage that is no signature at all")));
    EXPECT_TRUE(refused(sequence({r})));                                  // s missing
    EXPECT_TRUE(refused(sequence({r, s, integer({0x01})})));              // a third value
    EXPECT_TRUE(refused(element(0x31, sequence({r, s}))));                // a SET, not a SEQUENCE
    EXPECT_TRUE(refused(sequence({r, element(0x04, filled(32, 0x22))}))); // not an INTEGER

    ByteVector trailing = sequence({r, s});
    trailing.push_back(0);
    EXPECT_TRUE(refused(trailing));

    ByteVector truncated = sequence({r, s});
    truncated.pop_back();
    EXPECT_TRUE(refused(truncated));

    // The same content with its length in the long form it does not need.
    const ByteVector short_form = sequence({r, s});
    ByteVector long_form{der_tag::kSequence, 0x81};
    append(long_form, ByteVector(short_form.begin() + 1, short_form.end()));
    EXPECT_TRUE(refused(long_form));
}

TEST(P256Signature, IntegersMustBeCanonicalPositiveAndBelowTheOrder) {
    const ByteVector s = integer(filled(32, 0x22));
    EXPECT_TRUE(refused(sequence({integer({}), s})));               // empty
    EXPECT_TRUE(refused(sequence({integer({0x00}), s})));           // zero
    EXPECT_TRUE(refused(sequence({integer({0x00, 0x00}), s})));     // zero, padded
    EXPECT_TRUE(refused(sequence({integer({0x00, 0x7F}), s})));     // needless sign byte
    EXPECT_TRUE(refused(sequence({integer({0x80, 0x01}), s})));     // negative
    EXPECT_TRUE(refused(sequence({integer(filled(33, 0x01)), s}))); // longer than 32 bytes

    const ByteVector order = {0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF,
                              0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xBC, 0xE6, 0xFA, 0xAD, 0xA7, 0x17,
                              0x9E, 0x84, 0xF3, 0xB9, 0xCA, 0xC2, 0xFC, 0x63, 0x25, 0x51};
    ByteVector at_order{0x00};
    append(at_order, order);
    ByteVector below_order = at_order;
    below_order.back() = 0x50;
    EXPECT_TRUE(refused(sequence({integer(at_order), s})));
    EXPECT_TRUE(refused(sequence({s, integer(at_order)})));
    EXPECT_FALSE(refused(sequence({integer(below_order), integer(below_order)})));
}

TEST(P256PublicKey, ReadsThePointOfAnOpenSslPublicKey) {
    const P256PublicKey key = p256_public_key_from_pem(fixtures::kTestPublicKey);
    // openssl pkey -pubin -text: 04:2a:60:8a ... 04:12:76 | 53:bf:90:a5 ... e3:31:d2
    EXPECT_EQ(key.x[0], 0x2A);
    EXPECT_EQ(key.x[31], 0x76);
    EXPECT_EQ(key.y[0], 0x53);
    EXPECT_EQ(key.y[31], 0xD2);
    EXPECT_EQ(key.subject_public_key_info.size(), 91u);
}

bool key_refused(const std::string& pem) {
    try {
        p256_public_key_from_pem(pem);
        return false;
    } catch (const DerError&) {
        return true;
    }
}

// The test key's PEM with its base64 body replaced.
std::string with_body(const std::string& body) {
    return "-----BEGIN PUBLIC KEY-----\n" + body + "\n-----END PUBLIC KEY-----\n";
}

TEST(P256PublicKey, OtherKeysAndBrokenArmourAreRefused) {
    const std::string good(fixtures::kTestPublicKey);
    ASSERT_FALSE(key_refused(good));

    std::string private_label = good;
    private_label.replace(private_label.find("PUBLIC"), 6, "PRIVATE");
    EXPECT_TRUE(key_refused(private_label));
    EXPECT_TRUE(key_refused(good.substr(0, good.find("-----END"))));
    EXPECT_TRUE(key_refused(""));

    // A P-384 key, an RSA key, and the test key's point in compressed form.
    EXPECT_TRUE(key_refused(
        with_body("MHYwEAYHKoZIzj0CAQYFK4EEACIDYgAExf/sJkZCDAj97zYw1TMPQab3IMDo+FMRsS2JaYVOcMr/"
                  "ahEEcGobYixsfPIo/iZkzy25bRylSsLPKtYjDe+xmALWIExWa9sltiHGbzYUZwjwbKoDQyRtA1jdXWo6"
                  "U4Hu")));
    EXPECT_TRUE(key_refused(with_body(
        "MFwwDQYJKoZIhvcNAQEBBQADSwAwSAJBAJdMOZefFza4Zn7aXiGidSc77Ve+xWhhxghl3322FnycphbdC5e1"
        "Lzd0Nrm3GwIa2TWFthOCyTK4XBLv948e1S0CAwEAAQ==")));
    EXPECT_TRUE(key_refused(with_body(
        "MDkwEwYHKoZIzj0CAQYIKoZIzj0DAQcDIgACKmCKSLeOBK0BYTebCzFek4Dcr3rWsiWEwCgdbvYEEnY=")));

    std::string bad_character = good;
    bad_character[bad_character.find("MFkw") + 2] = '*';
    EXPECT_TRUE(key_refused(bad_character));
    std::string cut_padding = good;
    cut_padding.erase(cut_padding.find("==\n"), 2);
    EXPECT_TRUE(key_refused(cut_padding));
}

TEST(Pem, DecodesAcrossLineBreaksAndChecksPadding) {
    EXPECT_EQ(der_from_pem("-----BEGIN X-----\nTW\r\nFu\n-----END X-----", "X"), bytes_of("Man"));
    EXPECT_EQ(der_from_pem("-----BEGIN X-----\nTWE=\n-----END X-----", "X"), bytes_of("Ma"));
    EXPECT_EQ(der_from_pem("-----BEGIN X-----\nTQ==\n-----END X-----", "X"), bytes_of("M"));
    EXPECT_THROW(der_from_pem("-----BEGIN X-----\nTQ=\n-----END X-----", "X"), DerError);
    EXPECT_THROW(der_from_pem("-----BEGIN X-----\nTR==\n-----END X-----", "X"), DerError);
    EXPECT_THROW(der_from_pem("-----BEGIN X-----\nTQ==TWFu\n-----END X-----", "X"), DerError);
    EXPECT_THROW(der_from_pem("-----BEGIN X-----\nT===\n-----END X-----", "X"), DerError);
    EXPECT_THROW(der_from_pem("-----BEGIN Y-----\nTWFu\n-----END Y-----", "X"), DerError);
}

} // namespace
} // namespace qirelo::platform::crypto
