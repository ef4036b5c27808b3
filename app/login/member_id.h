#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qirelo::app::login {

// The member id the site leaves in its cookie: the text after the first
// "user%5Fid=" up to the next ";". nullopt when the cookie has no such key;
// empty when no ";" follows the key (the last cookie of the text).
std::optional<std::string> MemberIdFromCookie(std::string_view cookie);

} // namespace qirelo::app::login
