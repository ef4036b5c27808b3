// The small text library: ASCII rules, UTF-8/UTF-16 and HTML escaping.

#include <gtest/gtest.h>

#include "text/ascii.h"
#include "text/html.h"
#include "text/utf.h"

namespace qirelo::text {
namespace {

TEST(Ascii, TrimTakesOffOnlyTheGivenBlanks) {
    EXPECT_EQ(trim(" \t a b \t"), "a b");
    EXPECT_EQ(trim(" a\r\n"), "a\r\n");
    EXPECT_EQ(trim(" a\r\n", kWhitespace), "a");
    EXPECT_EQ(trim(" \t "), "");
    EXPECT_EQ(trim(""), "");
}

TEST(Ascii, CaseFoldingLeavesBytesAbove0x7FAlone) {
    EXPECT_TRUE(iequals("Content-Length", "content-LENGTH"));
    EXPECT_FALSE(iequals("abc", "abcd"));
    // 0xC1 and 0xE1 differ by 0x20 like 'A' and 'a', but are GB2312 bytes.
    EXPECT_FALSE(iequals("\xC1", "\xE1"));
    EXPECT_EQ(ascii_lower("A\xC1Z"), "a\xC1z");
    EXPECT_TRUE(istarts_with("HTTP/1.1", "http/"));
    EXPECT_TRUE(iends_with("www.Example.COM", ".example.com"));
    EXPECT_FALSE(iends_with("com", ".com"));
}

TEST(Ascii, HexDigitsInEitherCase) {
    EXPECT_EQ(hex_digit('0'), 0);
    EXPECT_EQ(hex_digit('9'), 9);
    EXPECT_EQ(hex_digit('a'), 10);
    EXPECT_EQ(hex_digit('F'), 15);
    EXPECT_EQ(hex_digit('g'), -1);
    EXPECT_EQ(hex_digit(' '), -1);
}

TEST(Utf, ConvertsBothWaysIncludingSurrogatePairs) {
    const std::u16string wide = u"a\u00E9\u4E2D\U0001F600";
    EXPECT_EQ(utf16_from_utf8(utf8_from_utf16(wide)), wide);
    EXPECT_EQ(utf8_from_utf16(u"\xD800x"), "?x"); // an unpaired surrogate
}

TEST(Utf, OneStrictDecoderRefusesWhatIsNotACharacter) {
    EXPECT_TRUE(is_utf8("abc 会员"));
    EXPECT_FALSE(is_utf8("\xE4\xBC"));         // cut off
    EXPECT_FALSE(is_utf8("\xC0\x80"));         // overlong NUL
    EXPECT_FALSE(is_utf8("\xC0\xAF"));         // overlong '/'
    EXPECT_FALSE(is_utf8("\xE0\x80\xAF"));     // overlong, three bytes
    EXPECT_FALSE(is_utf8("\xED\xA0\x80"));     // a surrogate
    EXPECT_FALSE(is_utf8("\xF4\x90\x80\x80")); // past U+10FFFF
    // The decoder agrees with the test: each refused byte becomes '?'.
    EXPECT_EQ(utf16_from_utf8("\xC0\x80"), u"??");
    EXPECT_EQ(utf16_from_utf8("\xFF"
                              "a"),
              u"?a");
    EXPECT_EQ(utf16_from_utf8("\xE4\xB8"), u"??");
    EXPECT_EQ(utf16_from_utf8("\xED\xA0\x80"), u"???");
}

TEST(Html, EscapesTheFiveMarkupCharactersOnly) {
    EXPECT_EQ(html_escape("<a href=\"x\">&'"), "&lt;a href=&quot;x&quot;&gt;&amp;&#39;");
    EXPECT_EQ(html_escape("\xBB\xE1 会员"), "\xBB\xE1 会员");
}

} // namespace
} // namespace qirelo::text
