#include "app/browser/home_page.h"
#include "platform/profile/codepage.h"

#include <gtest/gtest.h>

namespace qirelo::app::browser {
namespace {

using platform::gb;

TEST(BuildHomePage, PutsSiteHostTwiceAndMobileHostOnceInTheirPlaces) {
    const std::string page = BuildHomePage("site.example:81", "m.example");
    EXPECT_TRUE(page.starts_with(gb("about:<head><title>默认</title><style>body,td{")));
    // <Td>, an ideographic space (A1A1 in GB2312), then the link to the site.
    EXPECT_NE(page.find("<Td>\xA1\xA1" + gb("进入Qirelo在线") +
                        "<a href=http://site.example:81/>site.example:81</a>" +
                        gb("并登录会员后==<br>==手机访问网址") + "m.example" + gb("（手机点选")),
              std::string::npos);
    EXPECT_TRUE(page.ends_with(gb("当前版本：2013.8.9.0</cneter></body>")));
}

TEST(BuildHomePage, HasNoUtf8Left) {
    // Every Chinese character is two GB2312 bytes from 0xA1 up; UTF-8 would
    // bring continuation bytes below 0xC0.
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
} // namespace qirelo::app::browser
