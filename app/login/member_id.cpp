#include "app/login/member_id.h"

namespace qirelo::app::login {

std::optional<std::string> MemberIdFromCookie(std::string_view cookie) {
    static constexpr std::string_view kKey = "user%5Fid=";
    const auto key_at = cookie.find(kKey);
    if (key_at == std::string_view::npos)
        return std::nullopt;
    const std::string_view rest = cookie.substr(key_at + kKey.size());
    const auto end = rest.find(';');
    if (end == std::string_view::npos)
        return std::string();
    return std::string(rest.substr(0, end));
}

} // namespace qirelo::app::login
