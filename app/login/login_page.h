#pragma once

#include <string>
#include <string_view>

namespace qirelo::app::login {

// The self-submitting "about:" page that posts name and password to the
// site's login form at `site_host`. Name and password are 8-bit text as
// typed; they reach the site unchanged and cannot alter the page.
std::string BuildLoginPage(std::string_view site_host, std::string_view name,
                           std::string_view password);

} // namespace qirelo::app::login
