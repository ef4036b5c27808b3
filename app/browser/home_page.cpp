#include "app/browser/home_page.h"

namespace qirelo::browser {
namespace {

// GB2312 bytes; the readable text is in the comments. The character after
// <Td> is an ideographic space. "</cneter>" is how the page has always read.
// about:<head><title>默认</title><style>body,td{line-height:20pt;font-family:宋体;font-size:14px}
// </style></head><body bgcolor=#CCCCCC topmargin="50"><table cellpadding=10 cellspacing=1
// align=center bgcolor=#666666><tr bgcolor=#EEEEEE><td style="font-size:26px" align=center>
// <b>手机遥控</b>电脑点播/关机/音量<tr bgcolor=#FFFFFF><Td>　进入Qirelo在线<a href=http://
constexpr std::string_view kPiece1 =
    "about:<head><title>\xC4\xAC\xC8\xCF</title><style>body,td{line-height:20pt;font-family:"
    "\xCB\xCE\xCC\xE5;font-size:14px}</style></head><body bgcolor=#CCCCCC topmargin=\"50\">"
    "<table cellpadding=10 cellspacing=1 align=center bgcolor=#666666><tr bgcolor=#EEEEEE>"
    "<td style=\"font-size:26px\" align=center><b>\xCA\xD6\xBB\xFA\xD2\xA3\xBF\xD8</b>"
    "\xB5\xE7\xC4\xD4\xB5\xE3\xB2\xA5/\xB9\xD8\xBB\xFA/\xD2\xF4\xC1\xBF<tr bgcolor=#FFFFFF><Td>"
    "\xA1\xA1\xBD\xF8\xC8\xEBQirelo\xD4\xDA\xCF\xDF<a href=http://";
constexpr std::string_view kPiece3 = "/>";
// </a>并登录会员后==<br>==手机访问网址
constexpr std::string_view kPiece5 = "</a>\xB2\xA2\xB5\xC7\xC2\xBC\xBB\xE1\xD4\xB1\xBA\xF3==<br>=="
                                     "\xCA\xD6\xBB\xFA\xB7\xC3\xCE\xCA\xCD\xF8\xD6\xB7";
// （手机点选，电脑响应）<tr align=center><td bgcolor=#EEEEEE>高清/超清视频为主，无片头广告，
// 任意进度无缓冲</table><center>至轻至简！0秒启动！当前版本：2013.8.9.0</cneter></body>
constexpr std::string_view kPiece7 =
    "\xA3\xA8\xCA\xD6\xBB\xFA\xB5\xE3\xD1\xA1\xA3\xAC\xB5\xE7\xC4\xD4\xCF\xEC\xD3\xA6\xA3\xA9"
    "<tr align=center><td bgcolor=#EEEEEE>\xB8\xDF\xC7\xE5/\xB3\xAC\xC7\xE5\xCA\xD3\xC6\xB5\xCE"
    "\xAA\xD6\xF7\xA3\xAC\xCE\xDE\xC6\xAC\xCD\xB7\xB9\xE3\xB8\xE6\xA3\xAC\xC8\xCE\xD2\xE2\xBD\xF8"
    "\xB6\xC8\xCE\xDE\xBB\xBA\xB3\xE5</table><center>\xD6\xC1\xC7\xE1\xD6\xC1\xBC\xF2\xA3\xA1"
    "0\xC3\xEB\xC6\xF4\xB6\xAF\xA3\xA1\xB5\xB1\xC7\xB0\xB0\xE6\xB1\xBE\xA3\xBA"
    "2013.8.9.0</cneter></body>";

} // namespace

std::string BuildHomePage(std::string_view site_host, std::string_view mobile_host) {
    std::string page;
    page += kPiece1;
    page += site_host;
    page += kPiece3;
    page += site_host;
    page += kPiece5;
    page += mobile_host;
    page += kPiece7;
    return page;
}

} // namespace qirelo::browser
