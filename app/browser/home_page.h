#pragma once

#include <string>
#include <string_view>

namespace qirelo::app::browser {

// The built-in "about:" start page of both browsers (GB2312 text): a short
// guide naming the site and the mobile site.
std::string BuildHomePage(std::string_view site_host, std::string_view mobile_host);

} // namespace qirelo::app::browser
