#include "app/login/login_page.h"

#include "platform/profile/codepage.h"
#include "text/html.h"

namespace qirelo::app::login {
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

std::string BuildLoginPage(std::string_view site_host, std::string_view name,
                           std::string_view password) {
    std::string page;
    page += piece1();
    page += site_host;
    page += kPiece3;
    page += text::html_escape(name);
    page += kPiece5;
    page += text::html_escape(password);
    page += kPiece7;
    return page;
}

} // namespace qirelo::app::login
