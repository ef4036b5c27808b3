#include "app/browser/home_page.h"

#include "app/version.h"
#include "platform/profile/codepage.h"

namespace qirelo::app::browser {
namespace {

// The character after <Td> is an ideographic space; "</cneter>" is how the
// page has always read.
std::string piece1() {
    return platform::gb(
        "about:<head><title>默认</title><style>body,td{line-height:20pt;font-family:宋体;"
        "font-size:14px}</style></head><body bgcolor=#CCCCCC topmargin=\"50\"><table "
        "cellpadding=10 cellspacing=1 align=center bgcolor=#666666><tr bgcolor=#EEEEEE><td "
        "style=\"font-size:26px\" align=center><b>手机遥控</b>电脑点播/关机/音量<tr "
        "bgcolor=#FFFFFF><Td>\u3000进入Qirelo在线<a href=http://");
}
constexpr std::string_view kPiece3 = "/>";
std::string piece5() {
    return platform::gb("</a>并登录会员后==<br>==手机访问网址");
}
std::string piece7() {
    return platform::gb(
               "（手机点选，电脑响应）<tr align=center><td bgcolor=#EEEEEE>高清/超清视频为主，"
               "无片头广告，任意进度无缓冲</table><center>至轻至简！0秒启动！当前版本：") +
           app::kVersion + "</cneter></body>";
}

} // namespace

std::string BuildHomePage(std::string_view site_host, std::string_view mobile_host) {
    std::string page;
    page += piece1();
    page += site_host;
    page += kPiece3;
    page += site_host;
    page += piece5();
    page += mobile_host;
    page += piece7();
    return page;
}

} // namespace qirelo::app::browser
