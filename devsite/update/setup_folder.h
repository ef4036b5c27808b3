#pragma once

// The site's main host as the update server: below "/setup/" the program
// files and the per-path behaviours the control API set; everything else,
// the info file included when no behaviour is set for it, as the site
// answers it.

#include "devsite/http/http_request.h"
#include "devsite/http/http_response.h"
#include "devsite/stores/site_state.h"

namespace qirelo::devsite {

inline constexpr std::string_view kSetupFolder = "/setup/";

Response handle_site_with_updates(SiteState& state, const Request& request);

// "Basic " and the base64 of "user:password", as a client sends it.
std::string basic_credentials(const std::string& user, const std::string& password);

} // namespace qirelo::devsite
