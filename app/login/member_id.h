#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qirelo::app::login {

// The member id the site leaves in its cookie: the text after the first
// "user%5Fid=" that begins a cookie (at the start of the text or right after
// "; "), up to the next ";". nullopt when no cookie has that name (the text
// inside another cookie's name or value does not count); empty when no ";"
// follows the key (the last cookie of the text).
std::optional<std::string> MemberIdFromCookie(std::string_view cookie);

} // namespace qirelo::app::login
