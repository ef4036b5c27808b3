// The signature check of downloaded files through the platform's provider:
// libcrypto natively, CNG under Wine. Fixtures: payload.bin signed with the
// test key by `openssl dgst -sha256 -sign`, once more with a short r, and
// once with another key.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "platform/crypto/signature_check.h"
#include "platform/crypto/update_key.h"
#include "tests/platform/crypto/fixtures.h"

namespace qirelo::platform::crypto {
namespace {

namespace fs = std::filesystem;

using ByteVector = std::vector<std::uint8_t>;

ByteVector bytes_of(std::string_view text) {
    return {text.begin(), text.end()};
}

// A folder of its own for the files of one test, removed afterwards.
class SignatureCheckTest : public ::testing::Test {
protected:
    fs::path folder = fs::temp_directory_path() /
                      ("qirelo_signature_test_" + std::to_string(std::random_device{}()));
    SignatureCheck check{fixtures::kTestPublicKey};

    SignatureCheckTest() { fs::create_directories(folder); }
    ~SignatureCheckTest() override { fs::remove_all(folder); }

    fs::path write(const std::string& name, std::string_view bytes) const {
        const fs::path path = folder / name;
        std::ofstream(path, std::ios::binary)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return path;
    }

    fs::path payload() const { return write("payload.bin", fixtures::kPayload); }
};

TEST_F(SignatureCheckTest, OpenSslSignaturesOfTheFileAreAccepted) {
    EXPECT_TRUE(check.has_key());
    EXPECT_TRUE(check.verifies(payload(), bytes_of(fixtures::kPayloadSig)));
    EXPECT_TRUE(check.verifies(payload(), bytes_of(fixtures::kPayloadShortRSig)));
    EXPECT_TRUE(check.verifies(payload(), write("payload.bin.sig", fixtures::kPayloadSig)));
}

TEST_F(SignatureCheckTest, AnyFlippedBitOfTheFileIsRefused) {
    const ByteVector signature = bytes_of(fixtures::kPayloadSig);
    const std::string original(fixtures::kPayload);
    for (const std::size_t at : {std::size_t{0}, original.size() / 2, original.size() - 1}) {
        std::string changed = original;
        changed[at] ^= 0x01;
        EXPECT_FALSE(check.verifies(write("changed.bin", changed), signature)) << "byte " << at;
    }
    EXPECT_FALSE(check.verifies(write("longer.bin", original + '\0'), signature));
    EXPECT_FALSE(
        check.verifies(write("shorter.bin", original.substr(0, original.size() - 1)), signature));
}

TEST_F(SignatureCheckTest, AnyChangedByteOfTheSignatureIsRefused) {
    const fs::path file = payload();
    const ByteVector good = bytes_of(fixtures::kPayloadSig);
    for (std::size_t at = 0; at < good.size(); ++at) {
        ByteVector changed = good;
        changed[at] ^= 0x01;
        EXPECT_FALSE(check.verifies(file, changed)) << "byte " << at;
    }
}

TEST_F(SignatureCheckTest, AnotherKeysTruncatedOrGarbageSignaturesAreRefused) {
    const fs::path file = payload();
    const ByteVector good = bytes_of(fixtures::kPayloadSig);
    EXPECT_FALSE(check.verifies(file, bytes_of(fixtures::kPayloadOtherSig)));
    EXPECT_TRUE(SignatureCheck(fixtures::kOtherPublicKey)
                    .verifies(file, bytes_of(fixtures::kPayloadOtherSig)));

    EXPECT_FALSE(check.verifies(file, ByteVector(good.begin(), good.end() - 1)));
    EXPECT_FALSE(check.verifies(file, ByteVector(good.begin(), good.begin() + good.size() / 2)));
    EXPECT_FALSE(check.verifies(file, ByteVector{}));
    EXPECT_FALSE(check.verifies(file, bytes_of("-----BEGIN SIGNATURE-----\nnot one\n")));
    EXPECT_FALSE(check.verifies(file, ByteVector(70, 0xFF)));
    // r and s swapped: well formed, wrong.
    const ByteVector shortr = bytes_of(fixtures::kPayloadShortRSig);
    const auto s_start = shortr.begin() + 2 + 2 + shortr[3];
    ByteVector swapped{0x30, shortr[1]};
    std::copy(s_start, shortr.end(), std::back_inserter(swapped));
    std::copy(shortr.begin() + 2, s_start, std::back_inserter(swapped));
    EXPECT_FALSE(check.verifies(file, swapped));
}

TEST_F(SignatureCheckTest, EmptyMissingOrUnreadableFilesAreRefused) {
    const ByteVector signature = bytes_of(fixtures::kPayloadSig);
    EXPECT_FALSE(check.verifies(write("empty.bin", ""), signature));
    EXPECT_FALSE(check.verifies(folder / "missing.bin", signature));
    EXPECT_FALSE(check.verifies(folder, signature)); // a folder is no file
    EXPECT_FALSE(check.verifies(payload(), folder / "missing.bin.sig"));
    EXPECT_FALSE(check.verifies(payload(), write("empty.sig", "")));
    // A signature file far larger than any signature is not read.
    std::string huge(fixtures::kPayloadSig);
    huge.resize(64 * 1024, '\0');
    EXPECT_FALSE(check.verifies(payload(), write("huge.sig", huge)));
}

TEST_F(SignatureCheckTest, WithoutAKeyNothingIsAccepted) {
    const SignatureCheck keyless("");
    EXPECT_FALSE(keyless.has_key());
    EXPECT_FALSE(keyless.verifies(payload(), bytes_of(fixtures::kPayloadSig)));
    EXPECT_FALSE(keyless.verifies(payload(), write("payload.bin.sig", fixtures::kPayloadSig)));
}

TEST(SignatureCheckKey, UnusableKeysRaiseKeyError) {
    EXPECT_THROW(SignatureCheck("not a key"), KeyError);
    EXPECT_THROW(SignatureCheck("-----BEGIN PUBLIC KEY-----\nMFkw\n-----END PUBLIC KEY-----\n"),
                 KeyError);
}

TEST_F(SignatureCheckTest, AKeyOffTheCurveAcceptsNothing) {
    // Well formed, but (1, 1) is no point of P-256. Windows refuses it on
    // import; Wine's CNG takes it, and then no signature checks out.
    const std::string off_curve =
        "-----BEGIN PUBLIC KEY-----\n"
        "MFkwEwYHKoZIzj0CAQYIKoZIzj0DAQcDQgAEAAAAAAAAAAAAAAAAAAAAAAAAAAAA\n"
        "AAAAAAAAAAAAAAEAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAQ==\n"
        "-----END PUBLIC KEY-----\n";
    try {
        const SignatureCheck off_curve_check(off_curve);
        EXPECT_FALSE(off_curve_check.verifies(payload(), bytes_of(fixtures::kPayloadSig)));
    } catch (const KeyError&) {
        SUCCEED();
    }
}

TEST(UpdateKey, TheBuiltInKeyIsUsableOrAbsent) {
    // The build's own key: absent (every download refused) or a usable one.
    const SignatureCheck& check = update_signature_check();
    EXPECT_EQ(check.has_key(), !update_public_key_pem().empty());
}

} // namespace
} // namespace qirelo::platform::crypto
