#include "app/browser/home_page.h"

#include <gtest/gtest.h>

namespace qirelo::browser {
namespace {

TEST(BuildHomePage, PutsSiteHostTwiceAndMobileHostOnceInTheirPlaces) {
    const std::string page = BuildHomePage("site.example:81", "m.example");
    EXPECT_TRUE(page.starts_with("about:<head><title>\xC4\xAC\xC8\xCF</title>")); // 默认
    // <Td>, an ideographic space, 进入Qirelo在线, then the link to the site.
    EXPECT_NE(page.find("<Td>\xA1\xA1\xBD\xF8\xC8\xEBQirelo\xD4\xDA\xCF\xDF"
                        "<a href=http://site.example:81/>site.example:81</a>"),
              std::string::npos);
    // ==手机访问网址 followed by the mobile host and （手机点选.
    EXPECT_NE(page.find("==\xCA\xD6\xBB\xFA\xB7\xC3\xCE\xCA\xCD\xF8\xD6\xB7m.example"
                        "\xA3\xA8\xCA\xD6\xBB\xFA"),
              std::string::npos);
    EXPECT_TRUE(page.ends_with("\xA3\xBA"
                               "2013.8.9.0</cneter></body>"));
}

TEST(BuildHomePage, HasNoUtf8Left) {
    // Every Chinese character is two GB2312 bytes from 0xA1 up; UTF-8 would
    // bring lead bytes 0xE0..0xEF followed by continuation bytes below 0xC0.
    const std::string page = BuildHomePage("h", "m");
    for (std::size_t i = 0; i < page.size(); ++i) {
        const auto byte = static_cast<unsigned char>(page[i]);
        if (byte < 0x80)
            continue;
        ASSERT_LT(i + 1, page.size());
        EXPECT_GE(byte, 0xA1u) << "at " << i;
        EXPECT_GE(static_cast<unsigned char>(page[i + 1]), 0xA1u) << "at " << i;
        ++i;
    }
}

} // namespace
} // namespace qirelo::browser
