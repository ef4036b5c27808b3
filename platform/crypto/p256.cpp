#include "platform/crypto/p256.h"

#include <algorithm>

#include "platform/crypto/pem.h"

namespace qirelo::platform::crypto {
namespace {

// 1.2.840.10045.2.1 (id-ecPublicKey) and 1.2.840.10045.3.1.7 (prime256v1).
constexpr std::uint8_t kEcPublicKeyOid[] = {0x2A, 0x86, 0x48, 0xCE, 0x3D, 0x02, 0x01};
constexpr std::uint8_t kPrime256v1Oid[] = {0x2A, 0x86, 0x48, 0xCE, 0x3D, 0x03, 0x01, 0x07};

// The order n of the curve's base point, big-endian.
constexpr std::array<std::uint8_t, kP256FieldBytes> kOrder = {
    0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
    0xBC, 0xE6, 0xFA, 0xAD, 0xA7, 0x17, 0x9E, 0x84, 0xF3, 0xB9, 0xCA, 0xC2, 0xFC, 0x63, 0x25, 0x51};

constexpr std::uint8_t kUncompressedPoint = 0x04;

bool equal(Bytes a, Bytes b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end());
}

// Copies a DER integer's magnitude into a 32-byte big-endian slot.
void put_scalar(Bytes magnitude, std::uint8_t* slot) {
    if (magnitude.size() > kP256FieldBytes) {
        throw DerError("signature value longer than the curve's order");
    }
    std::array<std::uint8_t, kP256FieldBytes> padded{};
    std::copy(magnitude.begin(), magnitude.end(),
              padded.end() - static_cast<std::ptrdiff_t>(magnitude.size()));
    if (!std::lexicographical_compare(padded.begin(), padded.end(), kOrder.begin(), kOrder.end())) {
        throw DerError("signature value not below the curve's order");
    }
    std::copy(padded.begin(), padded.end(), slot);
}

// A 32-byte big-endian value as a DER INTEGER: leading zeros dropped, a sign
// byte put back when the top bit is set.
std::vector<std::uint8_t> der_integer(const std::uint8_t* value) {
    std::size_t start = 0;
    while (start + 1 < kP256FieldBytes && value[start] == 0) {
        ++start;
    }
    const std::size_t sign_bytes = (value[start] & 0x80) != 0 ? 1 : 0;
    const std::size_t length = kP256FieldBytes - start + sign_bytes;
    std::vector<std::uint8_t> out(2 + length, 0);
    out[0] = der_tag::kInteger;
    out[1] = static_cast<std::uint8_t>(length);
    std::copy(value + start, value + kP256FieldBytes, out.begin() + 2 + sign_bytes);
    return out;
}

} // namespace

P256PublicKey p256_public_key_from_pem(std::string_view pem) {
    P256PublicKey key;
    key.subject_public_key_info = der_from_pem(pem, "PUBLIC KEY");

    DerReader outer(key.subject_public_key_info);
    DerReader info(outer.read(der_tag::kSequence));
    outer.expect_end();

    DerReader algorithm(info.read(der_tag::kSequence));
    if (!equal(algorithm.read(der_tag::kObjectId), kEcPublicKeyOid)) {
        throw DerError("not an elliptic-curve public key");
    }
    if (!equal(algorithm.read(der_tag::kObjectId), kPrime256v1Oid)) {
        throw DerError("not a P-256 public key");
    }
    algorithm.expect_end();

    const Bytes bits = info.read(der_tag::kBitString);
    info.expect_end();
    // No unused bits, then the uncompressed point 04 || x || y.
    if (bits.size() != 2 + 2 * kP256FieldBytes || bits[0] != 0 || bits[1] != kUncompressedPoint) {
        throw DerError("not an uncompressed P-256 point");
    }
    const Bytes point = bits.subspan(2);
    std::copy_n(point.begin(), kP256FieldBytes, key.x.begin());
    std::copy_n(point.begin() + kP256FieldBytes, kP256FieldBytes, key.y.begin());
    return key;
}

std::array<std::uint8_t, 2 * kP256FieldBytes> p256_raw_signature_from_der(Bytes der) {
    DerReader outer(der);
    DerReader values(outer.read(der_tag::kSequence));
    outer.expect_end();
    std::array<std::uint8_t, 2 * kP256FieldBytes> raw{};
    put_scalar(values.read_positive_integer(), raw.data());
    put_scalar(values.read_positive_integer(), raw.data() + kP256FieldBytes);
    values.expect_end();
    return raw;
}

std::vector<std::uint8_t>
p256_der_signature_from_raw(const std::array<std::uint8_t, 2 * kP256FieldBytes>& raw) {
    const std::vector<std::uint8_t> r = der_integer(raw.data());
    const std::vector<std::uint8_t> s = der_integer(raw.data() + kP256FieldBytes);
    // At most 2 x 35 bytes: the short length form always fits.
    std::vector<std::uint8_t> der(2 + r.size() + s.size());
    der[0] = der_tag::kSequence;
    der[1] = static_cast<std::uint8_t>(r.size() + s.size());
    std::copy(s.begin(), s.end(), std::copy(r.begin(), r.end(), der.begin() + 2));
    return der;
}

} // namespace qirelo::platform::crypto
