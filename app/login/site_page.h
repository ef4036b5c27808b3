#pragma once

#include <string_view>

namespace qirelo::app::login {

// Whether the page at `url` comes from the site: an http or https page whose
// host is `site_host` or a host below it (ending in "." and the site host),
// host names compared without regard to case. The port counts only when
// `site_host` names one ("127.0.0.1:12860"); a URL without a port then stands
// for its scheme's default (80, 443). Any other page, "about:" pages too, is
// not the site's, and neither is anything when `site_host` is empty.
bool IsSitePage(std::string_view url, std::string_view site_host);

} // namespace qirelo::app::login
