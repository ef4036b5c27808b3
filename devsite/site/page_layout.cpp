#include "devsite/site/page_layout.h"

#include "devsite/http/text_codec.h"

#include <algorithm>
#include <cctype>

namespace qirelo::devsite {
namespace {

constexpr std::string_view kDesktopStyle =
    "body{font-family:'Microsoft YaHei',SimSun,sans-serif;font-size:14px;margin:24px;"
    "background:#eee}main{background:#fff;padding:16px 24px;max-width:760px;margin:auto}"
    "input{margin:4px 0}.error{color:#b00}.note{color:#060}";

constexpr std::string_view kPhoneStyle =
    "body{font-family:sans-serif;font-size:17px;margin:0;background:#f4f4f4}"
    "main{padding:10px}h1{font-size:20px;margin:8px 0}h2{font-size:17px;margin:14px 0 6px}"
    "button,input,select{font-size:17px}button{padding:10px 12px;margin:3px;border-radius:6px;"
    "border:1px solid #888;background:#fff}.row{display:flex;flex-wrap:wrap;align-items:center}"
    ".sent{background:#dfd;padding:8px;border-radius:6px}.error{background:#fdd;padding:8px}"
    "form{display:inline}";

// The host part of a Host header we can trust to put into a link.
std::string request_host(const Request& request, const std::string& fallback) {
    auto host = request.header("Host").value_or("");
    auto colon = host.rfind(':');
    if (colon != std::string::npos && host.find(']', colon) == std::string::npos)
        host.erase(colon);
    bool plain =
        !host.empty() && host.size() <= 253 && std::all_of(host.begin(), host.end(), [](char c) {
            return std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '-' ||
                   c == '[' || c == ']' || c == ':';
        });
    return plain ? host : fallback;
}

} // namespace

std::string page(std::string_view title, std::string_view body, Layout layout) {
    std::string html = "<!DOCTYPE html>\n<html lang=\"zh-CN\"><head><meta charset=\"utf-8\">";
    if (layout == Layout::phone)
        html += "<meta name=\"viewport\" content=\"width=device-width,initial-scale=1\">";
    html += "<title>" + html_escape(title) + "</title><style>";
    html += layout == Layout::phone ? kPhoneStyle : kDesktopStyle;
    html += "</style></head><body><main>\n";
    html += body;
    html += "\n</main></body></html>\n";
    return html;
}

std::string server_address(const Request& request, const Addresses& addresses, std::uint16_t port) {
    auto fallback = addresses.host == "0.0.0.0" ? std::string("127.0.0.1") : addresses.host;
    return request_host(request, fallback) + ":" + std::to_string(port);
}

} // namespace qirelo::devsite
