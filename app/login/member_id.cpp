#include "app/login/member_id.h"

namespace qirelo::app::login {
namespace {

constexpr std::string_view kKey = "user%5Fid=";

// A cookie's name begins the text or follows the "; " that joins cookies.
bool begins_a_cookie(std::string_view cookie, std::size_t at) {
    return at == 0 || cookie.substr(0, at).ends_with("; ");
}

std::size_t find_whole_cookie_key(std::string_view cookie) {
    std::size_t at = cookie.find(kKey);
    while (at != std::string_view::npos && !begins_a_cookie(cookie, at))
        at = cookie.find(kKey, at + 1);
    return at;
}

} // namespace

std::optional<std::string> MemberIdFromCookie(std::string_view cookie) {
    const auto key_at = find_whole_cookie_key(cookie);
    if (key_at == std::string_view::npos)
        return std::nullopt;
    const std::string_view rest = cookie.substr(key_at + kKey.size());
    const auto end = rest.find(';');
    if (end == std::string_view::npos)
        return std::string();
    return std::string(rest.substr(0, end));
}

} // namespace qirelo::app::login
