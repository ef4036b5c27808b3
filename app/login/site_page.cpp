#include "app/login/site_page.h"

#include <algorithm>
#include <optional>
#include <string>

namespace qirelo::app::login {
namespace {

struct HostAndPort {
    std::string name;        // lower case
    std::optional<int> port; // none when not given
};

std::string lowered(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return lower;
}

std::optional<int> port_number(std::string_view text) {
    if (text.empty() || text.size() > 5 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    return std::stoi(std::string(text));
}

// Where ":port" begins in "name[:port]" or "[v6 address][:port]"; npos for none.
std::size_t port_colon(std::string_view text) {
    if (!text.starts_with('['))
        return text.rfind(':');
    const std::size_t close = text.find(']');
    return close == std::string_view::npos ? close : text.find(':', close);
}

// nullopt when the port is no number; "host:" names no port.
std::optional<HostAndPort> split_host(std::string_view text) {
    const std::size_t colon = port_colon(text);
    if (colon == std::string_view::npos)
        return HostAndPort{lowered(text), std::nullopt};
    const std::string_view port_text = text.substr(colon + 1);
    HostAndPort host{lowered(text.substr(0, colon)), std::nullopt};
    if (!port_text.empty()) {
        host.port = port_number(port_text);
        if (!host.port)
            return std::nullopt;
    }
    return host;
}

// The scheme's default port for the web's two schemes; nullopt for any other.
std::optional<int> web_default_port(std::string_view scheme) {
    const std::string lower = lowered(scheme);
    if (lower == "http")
        return 80;
    if (lower == "https")
        return 443;
    return std::nullopt;
}

bool is_same_or_below(const std::string& host, const std::string& site) {
    return host == site || host.ends_with("." + site);
}

} // namespace

bool IsSitePage(std::string_view url, std::string_view site_host) {
    const std::size_t scheme_end = url.find("://");
    if (scheme_end == std::string_view::npos)
        return false;
    const std::optional<int> default_port = web_default_port(url.substr(0, scheme_end));
    if (!default_port)
        return false;
    std::string_view authority = url.substr(scheme_end + 3);
    authority = authority.substr(0, authority.find_first_of("/?#\\"));
    if (const std::size_t at = authority.rfind('@'); at != std::string_view::npos)
        authority.remove_prefix(at + 1); // user and password are not the host

    const std::optional<HostAndPort> page = split_host(authority);
    const std::optional<HostAndPort> site = split_host(site_host);
    if (!page || !site || site->name.empty() || page->name.empty())
        return false;
    if (site->port && page->port.value_or(*default_port) != *site->port)
        return false;
    return is_same_or_below(page->name, site->name);
}

} // namespace qirelo::app::login
