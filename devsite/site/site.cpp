#include "devsite/site/site.h"

#include "devsite/http/text_codec.h"
#include "devsite/site/member_cookie.h"
#include "devsite/site/page_layout.h"
#include "devsite/stores/catalogue.h"
#include "platform/profile/codepage.h"

namespace qirelo::devsite {
namespace {

// The client posts its login form in code page 936, and the site's own forms
// ask the browser for the same, so every posted text is converted here.
std::optional<std::string> form_text(const std::map<std::string, std::string>& fields,
                                     const std::string& name) {
    auto found = fields.find(name);
    if (found == fields.end())
        return std::nullopt;
    try {
        return platform::strict_utf8_from_gb(found->second);
    } catch (const platform::CodePageError&) {
        return std::nullopt;
    }
}

std::string login_form() {
    return "<form method=\"post\" action=\"/jysc/checklogin.asp\" accept-charset=\"gb2312\">"
           "会员名 <input name=\"username\"> 密码 <input type=\"password\" name=\"password\"> "
           "<input type=\"submit\" value=\"登录\"></form>"
           "<p><a href=\"/jysc/reg2.asp\">注册</a> · <a href=\"/temp/redirect.asp\">QQ一键登录</a>"
           " · 演示会员：demo / qirelo</p>";
}

std::string video_list() {
    std::string html = "<h2>视频</h2><ul>";
    for (const auto& video : catalogue()) {
        html += "<li>" + html_escape(video.title) + "：";
        for (int n = 1; n <= video.episodes; ++n)
            html += " <a href=\"" + html_escape(play_page_address(video, n)) + "\">第" +
                    std::to_string(n) + "集</a>";
        html += "</li>";
    }
    return html + "</ul>";
}

std::string mobile_link(const SiteState& state, const Request& request) {
    auto address =
        "http://" + server_address(request, state.addresses, state.addresses.mobile) + "/";
    return "<p>手机访问 <a href=\"" + html_escape(address) + "\">" + html_escape(address) +
           "</a>（手机点选，电脑响应）</p>";
}

std::string greeting(const Member& member) {
    return "<p class=\"note\">欢迎，" + html_escape(member.name) + "（会员号 " +
           html_escape(member.id) + "）。<a href=\"/jysc/logout.asp\">退出登录</a></p>";
}

Response home_page(SiteState& state, const Request& request) {
    auto member = signed_in_member(request, state.members);
    std::string body = "<h1>Qirelo在线</h1><p>手机遥控电脑：点播 / 快进 / 音量 / 关机</p>";
    body += member ? greeting(*member) : login_form();
    body += mobile_link(state, request) + video_list();
    body += "<p><a href=\"/setup/\">下载Qirelo在线客户端</a></p>";
    return html_response(page("Qirelo在线", body, Layout::desktop));
}

Response member_page(SiteState& state, const Request& request, const Member& member) {
    std::string body = "<h1>会员中心</h1>" + greeting(member);
    body += "<p>登录成功。电脑上的Qirelo在线客户端现在接受手机遥控。</p>";
    body += mobile_link(state, request) + video_list();
    Response response = html_response(page("会员中心 - Qirelo在线", body, Layout::desktop));
    sign_in(response, member);
    return response;
}

Response message_page(std::string_view title, std::string_view message, std::string_view extra) {
    std::string body = "<h1>" + html_escape(title) + "</h1><p class=\"error\">" +
                       html_escape(message) + "</p>" + std::string(extra) +
                       "<p><a href=\"/\">返回首页</a></p>";
    return html_response(page(title, body, Layout::desktop));
}

// Like the site's ASP pages, the fields are taken from the form or the query.
Response check_login(SiteState& state, const Request& request) {
    auto fields = request_fields(request);
    if (request.method != "POST" && !fields.count("username"))
        return message_page("会员登录", "请输入会员名和密码。", login_form());
    auto name = form_text(fields, "username");
    auto password = form_text(fields, "password");
    auto member = name && password ? state.members.check_login(*name, *password) : std::nullopt;
    if (!member)
        return message_page("登录失败", "会员名或密码错误，请重新登录。", login_form());
    return member_page(state, request, *member);
}

std::string register_form(std::string_view error) {
    std::string html = "<h1>注册会员</h1>";
    if (!error.empty())
        html += "<p class=\"error\">" + html_escape(error) + "</p>";
    html += "<form method=\"post\" action=\"/jysc/reg2.asp\" accept-charset=\"gb2312\">"
            "<p>会员名 <input name=\"username\"></p><p>密码 <input type=\"password\" "
            "name=\"password\"></p><p>会员名和密码各4到20个字节（一个汉字算两个字节）。</p>"
            "<input type=\"submit\" value=\"注册\"></form><p><a href=\"/\">返回首页</a></p>";
    return html;
}

Response register_page(SiteState& state, const Request& request) {
    if (request.method != "POST")
        return html_response(page("注册会员", register_form(""), Layout::desktop));
    auto fields = request_fields(request);
    auto name = form_text(fields, "username");
    auto password = form_text(fields, "password");
    if (!name || !password)
        return html_response(
            page("注册会员", register_form("请填写会员名和密码。"), Layout::desktop));
    try {
        return member_page(state, request, state.register_member(*name, *password));
    } catch (const RegistrationError& error) {
        return html_response(page("注册会员", register_form(error.what()), Layout::desktop));
    }
}

// Stands in for the QQ login: one click signs the demo member in.
Response one_key_login(SiteState& state, const Request& request) {
    if (request.method == "POST")
        return member_page(state, request,
                           state.members.find_by_id(demo_member().id).value_or(demo_member()));
    std::string body = "<h1>QQ一键登录</h1><p>本地演示站以演示会员代替QQ登录。</p>"
                       "<form method=\"post\" action=\"/temp/redirect.asp\">"
                       "<input type=\"submit\" value=\"以演示会员登录\"></form>";
    return html_response(page("QQ一键登录", body, Layout::desktop));
}

Response logout_page() {
    std::string body = "<h1>已退出登录</h1><p>电脑上的客户端不再接受手机遥控。</p>"
                       "<p><a href=\"/\">返回首页</a></p>";
    Response response = html_response(page("已退出登录", body, Layout::desktop));
    sign_out(response);
    return response;
}

Response setup_page(SiteState& state, const Request& request) {
    auto host = server_address(request, state.addresses, state.addresses.site);
    std::string body = "<h1>下载Qirelo在线客户端</h1><p>当前版本：" + std::string(kClientVersion) +
                       "</p><p>本地演示站不提供安装包：请按说明从源代码构建 Qirelo.exe。</p>"
                       "<p>升级信息文件：<a href=\"/setup/qirelo_play.inf\">http://" +
                       html_escape(host) + "/setup/qirelo_play.inf</a></p>";
    return html_response(page("下载 - Qirelo在线", body, Layout::desktop));
}

Response info_file(SiteState& state, const Request& request) {
    auto host = server_address(request, state.addresses, state.addresses.site);
    return text_response(state.info.text(host), "text/plain; charset=gb2312");
}

} // namespace

bool is_get(const Request& request) {
    return request.method == "GET" || request.method == "HEAD";
}

Response method_not_allowed(std::string_view allowed) {
    return error_response(405, "method not allowed").with_header("Allow", std::string(allowed));
}

Response handle_site(SiteState& state, const Request& request) {
    const auto& path = request.path;
    bool get = is_get(request);
    bool post = request.method == "POST";
    if (path == "/jysc/checklogin.asp" || path == "/jysc/reg2.asp" ||
        path == "/temp/redirect.asp") {
        if (!get && !post)
            return method_not_allowed("GET, HEAD, POST");
        if (path == "/jysc/checklogin.asp")
            return check_login(state, request);
        return path == "/jysc/reg2.asp" ? register_page(state, request)
                                        : one_key_login(state, request);
    }
    if (auto play = handle_play(state, request))
        return *play;
    if (path != "/" && path != "/jysc/logout.asp" && path != "/setup" && path != "/setup/" &&
        path != "/setup/qirelo_play.inf")
        return error_response(404, "not found");
    if (!get)
        return method_not_allowed("GET, HEAD");
    if (path == "/")
        return home_page(state, request);
    if (path == "/jysc/logout.asp")
        return logout_page();
    if (path == "/setup")
        return see_other("/setup/");
    return path == "/setup/" ? setup_page(state, request) : info_file(state, request);
}

} // namespace qirelo::devsite
