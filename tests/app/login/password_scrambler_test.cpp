#include "app/login/convert_error.h"
#include "app/login/password_scrambler.h"
#include "app/login/random_generator.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace qirelo::app::login {
namespace {

std::string all_bytes_1_to_254() {
    std::string bytes;
    for (int b = 1; b <= 254; ++b)
        bytes += static_cast<char>(b);
    return bytes;
}

// Keys of every shape: empty, one byte, shorter and longer than the password,
// GB2312 bytes of a Chinese computer name.
const std::vector<std::string> kKeys = {
    "", "K", "PC-01", "\xD6\xF7\xBB\xFA-7", std::string(300, 'z'), "Pale Harbor"};

TEST(ScramblePasswordWithSeed, FollowsTheRuleByteForByte) {
    // Worked by hand: t = (prev + byte) mod 255, c = t xor key byte, prev = c.
    EXPECT_EQ(ScramblePasswordWithSeed("A", "K", 0x10), "101A");
    EXPECT_EQ(ScramblePasswordWithSeed("AAA", "KL", 0x10), "101A1713"); // key wraps to its start
    EXPECT_EQ(ScramblePasswordWithSeed("\x01", "", 0xFF), "FF51");      // 256 mod 255, then 'P'
    EXPECT_EQ(ScramblePasswordWithSeed("\x20", "\x01", 0xF0), "F010");  // 0x110 mod 255
    EXPECT_EQ(ScramblePasswordWithSeed("", "K", 0x0A), "0A");           // seed alone, leading zero
}

TEST(ScramblePasswordWithSeed, EmptyKeyUsesOnlyTheFirstCharacterOfTheDefault) {
    const std::string password = "aaaaaaaaaaaaa";
    EXPECT_EQ(ScramblePasswordWithSeed(password, "", 0x33),
              ScramblePasswordWithSeed(password, "P", 0x33));
    EXPECT_NE(ScramblePasswordWithSeed(password, "", 0x33),
              ScramblePasswordWithSeed(password, kDefaultPasswordKey, 0x33));
}

TEST(ScramblePassword, GivesSeedPlusTwoUpperCaseDigitsPerByte) {
    const std::string password = "\xC3\xDC\xC2\xEBpass"; // two Chinese characters count 4 bytes
    const std::string text = ScramblePassword(password, "PC-01");
    ASSERT_EQ(text.size(), 2 + 2 * password.size());
    EXPECT_EQ(text.find_first_not_of("0123456789ABCDEF"), std::string::npos) << text;
}

TEST(ScramblePassword, TwoScramblesOfOnePasswordAsARuleDifferAndBothReadBack) {
    std::set<std::string> texts;
    for (int i = 0; i < 20; ++i) {
        const std::string text = ScramblePassword("secret", "PC-01");
        EXPECT_EQ(UnscramblePassword(text, "PC-01"), "secret");
        texts.insert(text);
    }
    EXPECT_GT(texts.size(), 1u) << "every scramble drew the same seed";
}

TEST(UnscramblePassword, RoundTripsEveryByteFrom1To254UnderEveryKeyAndSeed) {
    const std::string password = all_bytes_1_to_254();
    for (const std::string& key : kKeys)
        for (int seed = 0; seed <= 255; ++seed)
            ASSERT_EQ(
                UnscramblePassword(
                    ScramblePasswordWithSeed(password, key, static_cast<std::uint8_t>(seed)), key),
                password)
                << "key '" << key << "' seed " << seed;
}

TEST(UnscramblePassword, RoundTripsThroughTheRandomSeed) {
    for (const std::string& key : kKeys)
        EXPECT_EQ(UnscramblePassword(ScramblePassword("4u\xC3\xDC!", key), key), "4u\xC3\xDC!");
}

TEST(UnscramblePassword, EmptyPasswordIsTheSeedAloneAndComesBackEmpty) {
    const std::string text = ScramblePassword("", "PC-01");
    EXPECT_EQ(text.size(), 2u);
    EXPECT_EQ(UnscramblePassword(text, "PC-01"), "");
    EXPECT_EQ(UnscramblePassword("7f", "PC-01"), "");
    EXPECT_EQ(UnscramblePassword("A", "PC-01"), ""); // a one-digit seed, nothing after it
}

TEST(UnscramblePassword, AnotherKeyGivesOtherBytesWithoutError) {
    const std::string text = ScramblePasswordWithSeed("password", "HOME-PC", 0x42);
    const std::string decoded = UnscramblePassword(text, "OFFICE-PC");
    EXPECT_EQ(decoded.size(), 8u);
    EXPECT_NE(decoded, "password");
}

TEST(UnscramblePassword, OddLengthIgnoresTheLastDigitExceptRightAfterTheSeed) {
    EXPECT_EQ(UnscramblePassword("101A", "K"), "A");
    EXPECT_EQ(UnscramblePassword("101A1", "K"), "A");
    EXPECT_EQ(UnscramblePassword("101A17", "KL"), "AA");
    EXPECT_EQ(UnscramblePassword("101A17F", "KL"), "AA");
    // Length 3: "A" is read as the pair 0x0A; 0x0A xor 'K' = 0x41, minus the seed 0x10.
    EXPECT_EQ(UnscramblePassword("10A", "K"), "1");
}

TEST(UnscramblePassword, AcceptsLowerCaseDigits) {
    EXPECT_EQ(UnscramblePassword("101a1713", "KL"), "AAA");
}

TEST(UnscramblePassword, DamagedTextRaisesTheConversionErrorNamingThePair) {
    const auto message_of = [](const std::string& text) -> std::string {
        try {
            UnscramblePassword(text, "K");
        } catch (const EConvertError& error) {
            return error.what();
        }
        return "no error";
    };
    EXPECT_EQ(message_of("101AZZ"), "'$ZZ' is not a valid integer value");
    EXPECT_EQ(message_of("G01A"), "'$G0' is not a valid integer value");
    EXPECT_EQ(message_of("10 1"), "'$ 1' is not a valid integer value");
    EXPECT_EQ(message_of(""), "'$' is not a valid integer value");
}

TEST(HexToInt, ReadsHexOfEitherCaseAndRejectsEverythingElse) {
    EXPECT_EQ(HexToInt("FF"), 255);
    EXPECT_EQ(HexToInt("0a"), 10);
    EXPECT_EQ(HexToInt("7"), 7);
    EXPECT_THROW(HexToInt("-1"), EConvertError);
    EXPECT_THROW(HexToInt("$1"), EConvertError);
    EXPECT_THROW(HexToInt("FFFFFFFFF"), EConvertError); // beyond an int
}

TEST(RandomGenerator, SameSeedSameDrawsAndEveryValueOfTheRangeDrawnEvenly) {
    RandomGenerator a(12345), b(12345);
    std::vector<int> counts(256);
    for (int i = 0; i < 256 * 200; ++i) {
        const std::uint32_t value = a.Random(256);
        ASSERT_EQ(value, b.Random(256));
        ASSERT_LT(value, 256u);
        ++counts[value];
    }
    for (int count : counts) {
        EXPECT_GT(count, 120);
        EXPECT_LT(count, 280);
    }
}

} // namespace
} // namespace qirelo::app::login
