#include "devsite/mobile/mobile.h"

#include "devsite/http/text_codec.h"
#include "devsite/site/member_cookie.h"
#include "devsite/site/page_layout.h"
#include "devsite/site/site.h"
#include "devsite/stores/catalogue.h"

namespace qirelo::devsite {
namespace {

std::string field(const std::map<std::string, std::string>& fields, const std::string& name) {
    auto found = fields.find(name);
    return found == fields.end() ? std::string() : found->second;
}

bool is_digit_text(const std::string& text, std::size_t max_length) {
    return !text.empty() && text.size() <= max_length &&
           text.find_first_not_of("0123456789") == std::string::npos;
}

std::string count_select() {
    std::string html = "<select name=\"count\">";
    for (int n = 1; n <= 9; ++n)
        html += "<option>" + std::to_string(n) + "</option>";
    return html + "</select>";
}

std::string tap_form(std::string_view action, std::string_view inside) {
    return "<form method=\"post\" action=\"/send\"><input type=\"hidden\" name=\"action\" "
           "value=\"" +
           std::string(action) + "\">" + std::string(inside) + "</form>";
}

std::string button(std::string_view name, std::string_view value, std::string_view label) {
    return "<button name=\"" + std::string(name) + "\" value=\"" + html_escape(value) + "\">" +
           std::string(label) + "</button>";
}

std::string video_section() {
    std::string html = "<h2>点播</h2>";
    for (const auto& video : catalogue()) {
        std::string buttons =
            "<input type=\"hidden\" name=\"video\" value=\"" + html_escape(video.id) + "\">";
        for (int n = 1; n <= video.episodes; ++n)
            buttons += button("episode", std::to_string(n), "第" + std::to_string(n) + "集");
        html += "<div>" + html_escape(video.title) + "<div class=\"row\">" +
                tap_form("play", buttons) + "</div></div>";
    }
    return html;
}

std::string control_section() {
    std::string html = "<h2>快进 / 快退</h2><div class=\"row\">";
    html += tap_form("G", count_select() + " 次 " + button("dir", "-", "◀ 快退") +
                              button("dir", "+", "快进 ▶"));
    html += "</div><h2>上 / 下</h2><div class=\"row\">";
    html += tap_form("D", count_select() + " 次 " + button("dir", "+", "▲ 上") +
                              button("dir", "-", "▼ 下"));
    html += "</div><h2>全屏单步</h2><div class=\"row\">";
    html += tap_form("H", button("dir", "-", "◀ 后退一步") + button("dir", "+", "前进一步 ▶"));
    html += "</div><h2>播放</h2><div class=\"row\">";
    html += tap_form("F", button("go", "1", "暂停/播放"));
    html += tap_form("E", button("go", "1", "关机/音量"));
    return html + "</div>";
}

Response login_page(std::string_view error) {
    std::string body = "<h1>Qirelo手机遥控</h1><p>登录后即可遥控电脑：点播、快进、音量、关机。</p>";
    if (!error.empty())
        body += "<p class=\"error\">" + html_escape(error) + "</p>";
    body += "<form method=\"post\" action=\"/login\"><p>会员名<br><input name=\"username\"></p>"
            "<p>密码<br><input type=\"password\" name=\"password\"></p>"
            "<button>登录</button></form>"
            "<p><form method=\"post\" action=\"/login\"><button name=\"demo\" value=\"1\">"
            "以演示会员登录</button></form></p>";
    return html_response(page("登录 - Qirelo手机遥控", body, Layout::phone));
}

Response control_page(SiteState& state, const Request& request, const Member& member) {
    auto fields = parse_form(request.query);
    std::string body = "<h1>Qirelo手机遥控</h1><p>" + html_escape(member.name) + "（会员号 " +
                       html_escape(member.id) + "）· <a href=\"/logout\">退出</a></p>";
    if (auto sent = field(fields, "sent"); !sent.empty()) {
        auto bar = sent.find('|');
        body += "<p class=\"sent\">已发送：" +
                html_escape(describe_command(bar == sent.npos ? sent : sent.substr(bar + 1))) +
                "<br>记录 " + html_escape(sent) + "</p>";
    }
    body += video_section() + control_section();
    body += "<p>中继记录：" + html_escape(state.records.get(member.id).value_or("（无）")) +
            "<br>计时器：" + state.clock.now() + "</p>";
    return html_response(page("Qirelo手机遥控", body, Layout::phone));
}

Response login(SiteState& state, const Request& request) {
    auto fields = request_fields(request);
    auto member =
        field(fields, "demo") == "1"
            ? state.members.find_by_id(demo_member().id)
            : state.members.check_login(field(fields, "username"), field(fields, "password"));
    if (!member)
        return login_page("会员名或密码错误。");
    Response response = see_other("/");
    sign_in(response, *member);
    return response;
}

Response send(SiteState& state, const Request& request) {
    auto member = signed_in_member(request, state.members);
    if (!member)
        return see_other("/");
    auto command = command_from_tap(request_fields(request));
    if (!command)
        return error_response(400, "not a command of the mobile page");
    auto record = state.send_command(member->id, *command);
    return see_other("/?sent=" + percent_encode(record));
}

} // namespace

std::optional<std::string> command_from_tap(const std::map<std::string, std::string>& fields) {
    auto action = field(fields, "action");
    auto dir = field(fields, "dir");
    auto count = field(fields, "count");
    bool direction = dir == "+" || dir == "-";
    if (action == "play") {
        auto id = field(fields, "video");
        auto episode = field(fields, "episode");
        if (!is_video_id(id) || !is_digit_text(episode, 4))
            return std::nullopt;
        return play_command(find_video(id), std::stoi(episode));
    }
    if ((action == "G" || action == "D") && direction && is_digit_text(count, 1))
        return action + dir + count;
    if (action == "H" && direction)
        return action + dir;
    if (action == "F" || action == "E")
        return action;
    return std::nullopt;
}

std::string describe_command(const std::string& command) {
    if (command.empty())
        return command;
    char letter = command[0];
    bool back = command.size() > 1 && command[1] == '-';
    std::string count = command.size() > 2 ? command.substr(2, 1) : "";
    switch (letter) {
    case 'A':
    case 'B': {
        auto payload = command.substr(1);
        auto dot = payload.find('.');
        auto video = find_video(payload.substr(0, dot));
        auto episode = dot == std::string::npos ? "" : payload.substr(dot + 1);
        if (letter == 'B' && episode.rfind("0-", 0) == 0)
            episode.erase(0, 2);
        return "点播《" + video.title + "》第" + episode + "集";
    }
    case 'G':
        return std::string(back ? "快退 " : "快进 ") + count + " 次";
    case 'D':
        return std::string(back ? "下 " : "上 ") + count + " 次";
    case 'H':
        return back ? "全屏后退一步" : "全屏前进一步";
    case 'F':
        return "暂停/播放";
    case 'E':
        return "关机/音量";
    default:
        return command;
    }
}

Response handle_mobile(SiteState& state, const Request& request) {
    const auto& path = request.path;
    if (path == "/login" || path == "/send") {
        if (request.method != "POST")
            return method_not_allowed("POST");
        return path == "/login" ? login(state, request) : send(state, request);
    }
    if (path != "/" && path != "/logout")
        return error_response(404, "not found");
    if (!is_get(request))
        return method_not_allowed("GET, HEAD");
    if (path == "/logout") {
        Response response = see_other("/");
        sign_out(response);
        return response;
    }
    auto member = signed_in_member(request, state.members);
    return member ? control_page(state, request, *member) : login_page("");
}

} // namespace qirelo::devsite
