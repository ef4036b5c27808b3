#include "app/login/login_page.h"

#include "platform/profile/codepage.h"

namespace qirelo::login {
namespace {

std::string piece1() {
    return platform::gb("about:<head><title>自动登录</title></head><body>Qirelo在线登录中..<form "
                        "style=\"display:none\" name=\"form1\" action=\"http://");
}
constexpr std::string_view kPiece3 =
    "/jysc/checklogin.asp\" method=post> <input type=\"input\" name=\"username\" value=\"";
constexpr std::string_view kPiece5 = "\"><input type=\"password\" name=\"password\" value=\"";
constexpr std::string_view kPiece7 = "\"></form><script>form1.submit()</script></body>";

} // namespace

std::string EscapeHtmlAttribute(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    // GB2312 trail bytes are all 0xA1 and above, so a byte-wise scan never
    // touches half of a Chinese character.
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '\'':
            out += "&#39;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string BuildLoginPage(std::string_view site_host, std::string_view name,
                           std::string_view password) {
    std::string page;
    page += piece1();
    page += site_host;
    page += kPiece3;
    page += EscapeHtmlAttribute(name);
    page += kPiece5;
    page += EscapeHtmlAttribute(password);
    page += kPiece7;
    return page;
}

} // namespace qirelo::login
