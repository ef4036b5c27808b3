#pragma once

#include <string_view>

namespace qirelo::app::browser {

// A video play page of the site: the address starts with "http://", the
// site's host and "/m0", ends with ".html" and contains "play" (all exact and
// case-sensitive). Such a page earns the automatic full screen once loaded.
bool IsPlayPage(std::string_view url, std::string_view site_host);

} // namespace qirelo::app::browser
