// The play pages and their test player. The player shows every key, click and
// double-click it receives and reports each to "/player/report", where tests
// read them back through the control API. A double-click toggles full screen,
// as the site's real player does when the client double-clicks it.

#include "devsite/http/text_codec.h"
#include "devsite/site/page_layout.h"
#include "devsite/site/site.h"
#include "devsite/stores/catalogue.h"

#include <algorithm>

namespace qirelo::devsite {
namespace {

constexpr std::size_t kMaxReportField = 200;

// Written for old browser controls too: no let/const, attachEvent, ActiveX XHR.
constexpr std::string_view kPlayerScript = R"JS(
(function () {
  var log = document.getElementById('log');
  var state = document.getElementById('state');
  var full = false;
  var names = {27: 'Escape', 32: 'Space', 37: 'ArrowLeft', 38: 'ArrowUp', 39: 'ArrowRight', 40: 'ArrowDown'};
  // One report at a time, so the server receives them in the order they happened.
  var pending = [], sending = false;
  function sendNext() {
    if (sending || !pending.length) return;
    sending = true;
    var xhr = window.XMLHttpRequest ? new XMLHttpRequest() : new ActiveXObject('Microsoft.XMLHTTP');
    xhr.open('POST', '/player/report', true);
    xhr.setRequestHeader('Content-Type', 'application/x-www-form-urlencoded');
    xhr.onreadystatechange = function () {
      if (xhr.readyState == 4) { sending = false; sendNext(); }
    };
    xhr.send(pending.shift());
  }
  function report(kind, detail) {
    var item = document.createElement('li');
    item.appendChild(document.createTextNode(kind + ' ' + detail));
    log.insertBefore(item, log.firstChild);
    pending.push('page=' + encodeURIComponent(page) + '&kind=' + encodeURIComponent(kind) +
                 '&detail=' + encodeURIComponent(detail));
    sendNext();
  }
  function on(target, name, handler) {
    if (target.addEventListener) target.addEventListener(name, handler, false);
    else target.attachEvent('on' + name, handler);
  }
  function point(e) { return 'x=' + e.clientX + ',y=' + e.clientY; }
  function toggleFullScreen() {
    full = !full;
    document.body.className = full ? 'full' : '';
    state.innerHTML = full ? '\u5168\u5c4f' : '\u7a97\u53e3';
    var root = document.documentElement;
    try {
      var change = full ? (root.requestFullscreen || root.webkitRequestFullscreen || root.msRequestFullscreen)
                        : (document.exitFullscreen || document.webkitExitFullscreen || document.msExitFullscreen);
      var pending = change && (full || document.fullscreenElement || document.webkitFullscreenElement)
                    ? change.call(full ? root : document) : null;
      if (pending && pending.then) pending.then(null, function () {});
    } catch (ignored) {}
    report('fullscreen', full ? 'on' : 'off');
  }
  on(document, 'keydown', function (e) {
    e = e || window.event;
    var name = names[e.keyCode];
    report('key', name || ('Key' + e.keyCode));
    if (name) { if (e.preventDefault) e.preventDefault(); else e.returnValue = false; }
  });
  on(document, 'click', function (e) { report('click', point(e || window.event)); });
  on(document, 'dblclick', function (e) { report('dblclick', point(e || window.event)); toggleFullScreen(); });
})();
)JS";

constexpr std::string_view kPlayerStyle =
    "<style>#player{position:fixed;left:0;top:0;right:0;bottom:0;background:#222;color:#eee;"
    "padding:16px;overflow:hidden;cursor:pointer}body.full #player{background:#000}"
    "#screen{font-size:22px;margin:12px 0}#log{font-family:monospace;font-size:15px}</style>";

// A string for a script: JSON, with '<' escaped so no "</script>" can end it early.
std::string script_string(std::string_view text) {
    std::string out;
    for (char c : json_string(text))
        out += c == '<' ? std::string("\\u003c") : std::string(1, c);
    return out;
}

Response play_page(const std::string& page_address, const Video& video, int episode) {
    auto title = "《" + video.title + "》第" + std::to_string(episode) + "集 - Qirelo在线播放";
    std::string body = std::string(kPlayerStyle);
    body += "<div id=\"player\"><div id=\"screen\">▶ 《" + html_escape(video.title) + "》第" +
            std::to_string(episode) + "集 · <span id=\"state\">窗口</span></div>";
    body += "<p>测试播放器：按键（Esc、空格、方向键）、单击和双击都显示在下面；双击切换全屏。</p>";
    body += "<ol id=\"log\"></ol></div>";
    body += "<script>var page = " + script_string(page_address) + ";" + std::string(kPlayerScript) +
            "</script>";
    return html_response(page(title, body, Layout::desktop));
}

bool is_episode(std::string_view text) {
    return !text.empty() && text.size() <= 4 &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

Response report(SiteState& state, const Request& request) {
    auto fields = request_fields(request);
    PlayEvent event{0, fields["page"], fields["kind"], fields["detail"]};
    if (event.kind.empty() || event.page.size() > kMaxReportField ||
        event.kind.size() > kMaxReportField || event.detail.size() > kMaxReportField)
        return error_response(400, "a report is page, kind and detail, each at most 200 bytes");
    state.events.add(std::move(event));
    return text_response("", kTextType, 204);
}

} // namespace

std::optional<Response> handle_play(SiteState& state, const Request& request) {
    if (request.path == "/player/report")
        return request.method == "POST" ? report(state, request) : method_not_allowed("POST");
    std::optional<std::pair<std::string, std::string>> id_and_episode;
    if (auto play = parse_play_path(request.path))
        id_and_episode.emplace(play->video_id, std::to_string(play->episode));
    else if (request.path == "/m/play_web.asp") {
        auto fields = parse_form(request.query);
        id_and_episode.emplace(fields["id"], fields["play"]);
    } else
        return std::nullopt;
    const auto& [id, episode] = *id_and_episode;
    if (!is_video_id(id) || !is_episode(episode))
        return error_response(404, "no such play page");
    if (!is_get(request))
        return method_not_allowed("GET, HEAD");
    return play_page(request.target, find_video(id), std::stoi(episode));
}

} // namespace qirelo::devsite
