#include "upgrade/transfer_url.h"

#include <cctype>
#include <charconv>

namespace qirelo::upgrade {
namespace {

std::string Lower(std::string_view text) {
    std::string lower;
    for (char c : text) {
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return lower;
}

std::uint16_t DefaultPort(std::string_view scheme) {
    if (scheme == "https") {
        return 443;
    }
    return scheme == "http" ? 80 : 0;
}

int HexValue(char c) {
    if (std::isdigit(static_cast<unsigned char>(c))) {
        return c - '0';
    }
    const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper >= 'A' && upper <= 'F' ? upper - 'A' + 10 : -1;
}

// "user:password@" off the front of the authority.
void SplitUserInfo(std::string_view& authority, TransferUrl& url) {
    const std::size_t at = authority.rfind('@');
    if (at == std::string_view::npos) {
        return;
    }
    const std::string_view info = authority.substr(0, at);
    const std::size_t colon = info.find(':');
    url.user = std::string(info.substr(0, colon));
    if (colon != std::string_view::npos) {
        url.password = std::string(info.substr(colon + 1));
    }
    authority.remove_prefix(at + 1);
}

bool SplitHostAndPort(std::string_view authority, TransferUrl& url) {
    const std::size_t colon = authority.rfind(':');
    url.host = std::string(authority.substr(0, colon));
    url.port = DefaultPort(url.scheme);
    if (colon == std::string_view::npos) {
        return true;
    }
    const std::string_view digits = authority.substr(colon + 1);
    if (digits.empty()) {
        return true;
    }
    unsigned port = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), port);
    if (error != std::errc() || end != digits.data() + digits.size() || port == 0 || port > 65535) {
        return false;
    }
    url.port = static_cast<std::uint16_t>(port);
    return true;
}

} // namespace

std::optional<TransferUrl> SplitTransferUrl(std::string_view text) {
    std::string full(text);
    if (full.find("://") == std::string::npos) {
        full = "http://" + full;
    }
    std::string_view rest = full;
    const std::size_t schemeEnd = rest.find("://");
    TransferUrl url;
    url.scheme = Lower(rest.substr(0, schemeEnd));
    rest.remove_prefix(schemeEnd + 3);

    const std::size_t extraStart = rest.find_first_of("?#");
    if (extraStart != std::string_view::npos) {
        url.extra = std::string(rest.substr(extraStart));
        rest = rest.substr(0, extraStart);
    }
    const std::size_t pathStart = rest.find('/');
    std::string_view authority = rest.substr(0, pathStart);
    url.path = pathStart == std::string_view::npos ? "/" : std::string(rest.substr(pathStart));

    SplitUserInfo(authority, url);
    if (!SplitHostAndPort(authority, url)) {
        return std::nullopt;
    }
    if (url.host.empty() && url.scheme != "file") {
        return std::nullopt;
    }
    return url;
}

std::string EncodeExtraInfo(std::string_view extra) {
    constexpr std::string_view kEscaped = " #%*+<>";
    constexpr char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    for (char c : extra) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 32 || byte >= 128 || kEscaped.find(c) != std::string_view::npos) {
            encoded += '%';
            encoded += kHex[byte >> 4];
            encoded += kHex[byte & 0x0F];
        } else {
            encoded += c;
        }
    }
    return encoded;
}

std::string LocalFilePath(std::string_view url) {
    const std::size_t start = url.find("://");
    std::string_view rest = start == std::string_view::npos ? url : url.substr(start + 3);
    if (rest.size() >= 3 && rest[0] == '/' && std::isalpha(static_cast<unsigned char>(rest[1])) &&
        rest[2] == ':') {
        rest.remove_prefix(1);
    }
    std::string path;
    for (std::size_t i = 0; i < rest.size(); ++i) {
        if (rest[i] == '%' && i + 2 < rest.size() && HexValue(rest[i + 1]) >= 0 &&
            HexValue(rest[i + 2]) >= 0) {
            path += static_cast<char>(HexValue(rest[i + 1]) * 16 + HexValue(rest[i + 2]));
            i += 2;
        } else {
            path += rest[i];
        }
    }
    return path;
}

} // namespace qirelo::upgrade
