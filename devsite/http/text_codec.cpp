#include "devsite/http/text_codec.h"

#include <cctype>
#include <cstdio>

namespace qirelo::devsite {
namespace {

std::string hex_byte(unsigned char byte, const char* format) {
    char text[8];
    std::snprintf(text, sizeof text, format, byte);
    return text;
}

} // namespace

std::map<std::string, std::string> parse_form(std::string_view text) {
    std::map<std::string, std::string> fields;
    while (!text.empty()) {
        auto end = text.find('&');
        auto pair = text.substr(0, end);
        if (!pair.empty()) {
            auto equals = pair.find('=');
            auto name = percent_decode(pair.substr(0, equals), true);
            auto value =
                equals == pair.npos ? std::string() : percent_decode(pair.substr(equals + 1), true);
            fields.emplace(std::move(name), std::move(value));
        }
        if (end == text.npos)
            break;
        text.remove_prefix(end + 1);
    }
    return fields;
}

std::map<std::string, std::string> request_fields(const Request& request) {
    auto fields = parse_form(request.query);
    auto type = request.header("Content-Type").value_or("");
    if (request.method == "POST" && type.find("application/x-www-form-urlencoded") == 0)
        for (auto& [name, value] : parse_form(request.body))
            fields.insert_or_assign(name, value); // the posted form wins over the query
    return fields;
}

std::map<std::string, std::string> request_cookies(const Request& request) {
    std::map<std::string, std::string> cookies;
    for (const auto& [name, value] : request.headers) {
        if (!iequals(name, "Cookie"))
            continue;
        std::string_view rest = value;
        while (!rest.empty()) {
            auto end = rest.find(';');
            auto pair = rest.substr(0, end);
            while (!pair.empty() && pair.front() == ' ')
                pair.remove_prefix(1);
            auto equals = pair.find('=');
            if (equals != pair.npos)
                cookies.emplace(std::string(pair.substr(0, equals)),
                                std::string(pair.substr(equals + 1)));
            if (end == rest.npos)
                break;
            rest.remove_prefix(end + 1);
        }
    }
    return cookies;
}

std::string percent_encode(std::string_view text) {
    std::string out;
    for (char c : text) {
        auto byte = static_cast<unsigned char>(c);
        out += std::isalnum(byte) && byte < 0x80 ? std::string(1, c) : hex_byte(byte, "%%%02X");
    }
    return out;
}

std::string json_string(std::string_view text) {
    std::string out = "\"";
    for (std::size_t at = 0; at < text.size(); ++at) {
        char c = text[at];
        auto byte = static_cast<unsigned char>(c);
        auto length = byte < 0x80 ? 1 : utf8_sequence_length(text, at);
        if (length > 1) {
            out += text.substr(at, length);
            at += length - 1;
        } else if (length == 0) // a byte of another code page: shown as the Latin-1 character
            out += hex_byte(byte, "\\u%04x");
        else if (c == '"' || c == '\\')
            out += std::string("\\") + c;
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else if (c == '\t')
            out += "\\t";
        else if (byte < 0x20 || byte == 0x7F)
            out += hex_byte(byte, "\\u%04x");
        else
            out += c;
    }
    return out + "\"";
}

} // namespace qirelo::devsite
