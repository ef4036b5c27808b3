// The fixed US layout that the native tests and the dry-run tool type through.

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "platform/fake/us_layout.h"

namespace qirelo::platform::fake {
namespace {

TEST(UsLayoutTest, EveryPrintableAsciiCharacterHasItsOwnKeyAndShiftState) {
    std::map<std::uint16_t, char> seen;
    for (int c = 0x20; c <= 0x7E; ++c) {
        const std::uint16_t result = us_char_scan(static_cast<unsigned char>(c));
        ASSERT_NE(result, 0xFFFF) << "char " << c;
        const auto [where, fresh] = seen.emplace(result, static_cast<char>(c));
        EXPECT_TRUE(fresh) << "'" << static_cast<char>(c) << "' and '" << where->second
                           << "' share " << std::hex << result;
        EXPECT_NE(us_scan_code(result & 0xFF), 0u) << "no scan code for the key of " << c;
        EXPECT_LE(result >> 8, 1) << "printable characters need at most Shift";
    }
}

TEST(UsLayoutTest, LettersDigitsAndShiftedCharactersAnswerAsTheUsLayout) {
    EXPECT_EQ(us_char_scan('a'), 0x0041);
    EXPECT_EQ(us_char_scan('Z'), 0x015A);
    EXPECT_EQ(us_char_scan('7'), 0x0037);
    EXPECT_EQ(us_char_scan('&'), 0x0137);
    EXPECT_EQ(us_char_scan('?'), 0x01BF);
    EXPECT_EQ(us_char_scan('\''), 0x00DE);
    EXPECT_EQ(us_char_scan('\r'), 0x000D);
    EXPECT_EQ(us_char_scan(0x01), 0x0241); // Ctrl+A
    EXPECT_EQ(us_scan_code('Q'), 0x10u);
    EXPECT_EQ(us_scan_code(0x1B), 0x01u);
    EXPECT_EQ(us_scan_code(0x7B), 0x58u); // F12
}

TEST(UsLayoutTest, BytesAboveAsciiHaveNoKey) {
    for (int c = 0x7F; c <= 0xFF; ++c) {
        EXPECT_EQ(us_char_scan(static_cast<unsigned char>(c)), 0xFFFF) << c;
    }
}

} // namespace
} // namespace qirelo::platform::fake
